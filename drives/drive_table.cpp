#include "drives/drive_table.h"

#include <algorithm>

#include "common/format.h"
#include "common/localization.h"
#include "drives/enumerate.h"

namespace velkor {

int driveSortColumn = 0;
bool driveSortAscending = true;

namespace {

template <typename T>
int CompareValues(const T& a, const T& b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

wchar_t FoldAscii(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

}  // namespace

const wchar_t* DriveColumnTitleKey(int column) {
  static constexpr const wchar_t* kKeys[kDriveColumnCount] = {
      L"col_drive", L"col_name", L"col_fs", L"col_total", L"col_free", L"col_free_pct", L"col_bus", L"col_status"};
  return column >= 0 && column < kDriveColumnCount ? kKeys[column] : L"";
}

std::vector<int> DriveColumnDefaultWidths() { return {70, 85, 90, 75, 75, 65, 90, 90}; }

bool IsDriveColumnRightAligned(int column) { return column >= 3 && column <= 5; }

std::wstring DriveCellText(const DriveInfo& drive, int column) {
  switch (column) {
    case 0: return drive.root;
    case 1: return drive.label == TranslateIn(L"no_name", kLanguageGerman) ? Translate(L"no_name") : drive.label;
    case 2: return Localize(drive.fileSystem);
    case 3: return FormatByteSizeIn(drive.totalBytes, CurrentLanguage);
    case 4: return FormatByteSizeIn(drive.freeBytes, CurrentLanguage);
    case 5: return FormatPercent(drive.freePercent);
    case 6: return Localize(drive.bus);
    case 7: return Localize(drive.status);
    default: return std::wstring();
  }
}

int CompareTextNoCase(std::wstring_view a, std::wstring_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<unsigned long>(FoldAscii(a[i]));
    const auto cb = static_cast<unsigned long>(FoldAscii(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return CompareValues(a.size(), b.size());
}

int CompareDrives(const DriveInfo& a, const DriveInfo& b, int column) {
  switch (column) {
    case 0: return CompareTextNoCase(a.root, b.root);
    case 1: return CompareTextNoCase(a.label, b.label);
    case 2: return CompareTextNoCase(a.fileSystem, b.fileSystem);
    case 3: return CompareValues(a.totalBytes, b.totalBytes);
    case 4: return CompareValues(a.freeBytes, b.freeBytes);
    case 5: return CompareValues(a.freePercent, b.freePercent);
    case 6: return CompareTextNoCase(a.bus, b.bus);
    case 7: return CompareTextNoCase(a.status, b.status);
    default: return 0;
  }
}

void SortDrives(std::vector<DriveInfo>& drives, int column, bool ascending) {
  std::sort(drives.begin(), drives.end(), [column, ascending](const DriveInfo& a, const DriveInfo& b) {
    const int order = CompareDrives(a, b, column);
    return ascending ? order < 0 : order > 0;
  });
}

size_t DefaultDriveRow(const std::vector<DriveInfo>& drives) {
  for (size_t i = 0; i < drives.size(); ++i) {
    if (!drives[i].systemVolume) return i;
  }
  return 0;
}

void SortDriveTable() { SortDrives(DriveTable, driveSortColumn, driveSortAscending); }

std::wstring FormatDriveTableText(const std::vector<DriveInfo>& drives) {
  std::vector<std::vector<std::wstring>> lines;
  std::vector<std::wstring> titles;
  for (int column = 0; column < kDriveColumnCount; ++column) titles.push_back(Translate(DriveColumnTitleKey(column)));
  lines.push_back(titles);
  for (const DriveInfo& drive : drives) {
    std::vector<std::wstring> cells;
    for (int column = 0; column < kDriveColumnCount; ++column) cells.push_back(DriveCellText(drive, column));
    lines.push_back(cells);
  }
  size_t widths[kDriveColumnCount] = {};
  for (const auto& cells : lines) {
    for (int column = 0; column < kDriveColumnCount; ++column) widths[column] = std::max(widths[column], cells[column].size());
  }
  std::wstring text;
  for (const auto& cells : lines) {
    std::wstring line;
    for (int column = 0; column < kDriveColumnCount; ++column) {
      if (column > 0) line += L"  ";
      const std::wstring padding(widths[column] - cells[column].size(), L' ');
      line += IsDriveColumnRightAligned(column) ? padding + cells[column] : cells[column] + padding;
    }
    while (!line.empty() && line.back() == L' ') line.pop_back();
    text += line + L"\n";
  }
  return text;
}

}  // namespace velkor
