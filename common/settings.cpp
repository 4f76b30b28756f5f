#include "common/settings.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "common/localization.h"
#include "common/paths.h"
#include "platform/profile.h"

namespace velkor {

int WindowWidth = kDefaultWindowWidth;
int WindowHeight = kDefaultWindowHeight;
int SplitX = kDefaultSplitX;
int TopPaneHeight = kDefaultTopPaneHeight;
bool SettingsLoaded = false;

namespace {

std::wstring& StoredSettingsPath() {
  static std::wstring path;
  return path;
}

// Buffer sizes of the reads, in characters (one of them holds the terminator).
constexpr uint32_t kLanguageBufferChars = 16;
constexpr uint32_t kColumnsBufferChars = 512;

bool IsSpace(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }

// wcstol in base 10 where long has 32 bits, as on Windows.
int ParseLong32(std::wstring_view piece) {
  size_t i = 0;
  while (i < piece.size() && IsSpace(piece[i])) ++i;
  bool negative = false;
  if (i < piece.size() && (piece[i] == L'+' || piece[i] == L'-')) {
    negative = piece[i] == L'-';
    ++i;
  }
  int64_t value = 0;
  for (; i < piece.size() && piece[i] >= L'0' && piece[i] <= L'9'; ++i) {
    value = value * 10 + (piece[i] - L'0');
    if (value > static_cast<int64_t>(INT32_MAX) + 1) value = static_cast<int64_t>(INT32_MAX) + 1;
  }
  if (negative) value = -value;
  return static_cast<int>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

void WriteInt(const wchar_t* section, const wchar_t* key, int value) {
  platform::WriteIniString(SettingsFilePath(), section, key, std::to_wstring(value));
}

}  // namespace

std::wstring SettingsFilePath() {
  std::wstring& path = StoredSettingsPath();
  if (path.empty()) path = JoinPath(GetDataDirectory(), L"velkor.ini");
  return path;
}

void SetSettingsFilePath(const std::wstring& path) { StoredSettingsPath() = path; }

void LoadSettings() {
  const std::wstring file = SettingsFilePath();
  const std::wstring code = platform::ReadIniString(file, L"General", L"Language", L"", kLanguageBufferChars);
  CurrentLanguage = LanguageFromCode(code, DefaultLanguage());
  WindowWidth = std::max(kMinWindowWidth, platform::ReadIniInt(file, L"Window", L"Width", WindowWidth));
  WindowHeight = std::max(kMinWindowHeight, platform::ReadIniInt(file, L"Window", L"Height", WindowHeight));
  SplitX = std::max(kMinSplitX, platform::ReadIniInt(file, L"Layout", L"SplitX", SplitX));
  TopPaneHeight = std::max(kMinTopPaneHeight, platform::ReadIniInt(file, L"Layout", L"TopPaneHeight", TopPaneHeight));
  SettingsLoaded = true;
}

void SaveSettings(const WindowSnapshot& window) {
  if (!SettingsLoaded) return;
  if (window.hasOuterSize) {
    WindowWidth = std::max(kMinWindowWidth, window.outerWidth);
    WindowHeight = std::max(kMinWindowHeight, window.outerHeight);
  }
  platform::WriteIniString(SettingsFilePath(), L"General", L"Language", LanguageCode(CurrentLanguage));
  WriteInt(L"Window", L"Width", WindowWidth);
  WriteInt(L"Window", L"Height", WindowHeight);
  WriteInt(L"Layout", L"SplitX", SplitX);
  WriteInt(L"Layout", L"TopPaneHeight", TopPaneHeight);
  if (window.driveColumns) WriteListColumns(L"DriveColumns", *window.driveColumns);
  if (window.resultColumns) WriteListColumns(L"ResultColumns", *window.resultColumns);
}

std::vector<int> ParseIntegerList(std::wstring_view text) {
  std::vector<int> numbers;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(L',', start);
    if (end == std::wstring_view::npos) end = text.size();
    if (end > start) numbers.push_back(ParseLong32(text.substr(start, end - start)));
    start = end + 1;
  }
  return numbers;
}

std::wstring JoinIntegerList(const std::vector<int>& numbers) {
  std::wstring text;
  for (size_t i = 0; i < numbers.size(); ++i) {
    if (i > 0) text += L',';
    text += std::to_wstring(numbers[i]);
  }
  return text;
}

std::vector<int> ApplySavedColumnWidths(std::vector<int> defaults, std::wstring_view text) {
  const std::vector<int> saved = ParseIntegerList(text);
  for (size_t i = 0; i < defaults.size() && i < saved.size(); ++i) {
    if (saved[i] >= kMinSavedColumnWidth) defaults[i] = saved[i];
  }
  return defaults;
}

bool ParseColumnOrder(std::wstring_view text, size_t count, std::vector<int>* order) {
  const std::vector<int> saved = ParseIntegerList(text);
  if (saved.size() != count) return false;
  std::vector<bool> seen(count, false);
  for (int column : saved) {
    if (column < 0 || static_cast<size_t>(column) >= count || seen[static_cast<size_t>(column)]) return false;
    seen[static_cast<size_t>(column)] = true;
  }
  *order = saved;
  return true;
}

ColumnLayout ReadListColumns(const std::wstring& section, const std::vector<int>& defaultWidths) {
  const std::wstring file = SettingsFilePath();
  ColumnLayout layout;
  layout.widths = ApplySavedColumnWidths(
      defaultWidths, platform::ReadIniString(file, section, L"Widths", L"", kColumnsBufferChars));
  if (!ParseColumnOrder(platform::ReadIniString(file, section, L"Order", L"", kColumnsBufferChars),
                        defaultWidths.size(), &layout.order)) {
    layout.order.clear();
    for (size_t i = 0; i < defaultWidths.size(); ++i) layout.order.push_back(static_cast<int>(i));
  }
  return layout;
}

void WriteListColumns(const std::wstring& section, const ColumnLayout& layout) {
  const std::wstring file = SettingsFilePath();
  platform::WriteIniString(file, section, L"Widths", JoinIntegerList(layout.widths));
  platform::WriteIniString(file, section, L"Order", JoinIntegerList(layout.order));
}

}  // namespace velkor
