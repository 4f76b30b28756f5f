// The settings file "velkor.ini" beside the program: interface language, outer window size,
// splitter positions and the widths and order of the two lists' columns. Nothing of a test's
// configuration is stored. Read once at start-up, written after each finished change and on
// close; unreadable or odd entries fall back to defaults and bounds, and write failures are
// silent. User-interface thread only.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velkor {

inline constexpr int kDefaultWindowWidth = 1235;
inline constexpr int kDefaultWindowHeight = 745;
inline constexpr int kDefaultSplitX = 610;
inline constexpr int kDefaultTopPaneHeight = 145;
inline constexpr int kMinWindowWidth = 900;
inline constexpr int kMinWindowHeight = 600;
inline constexpr int kMinSplitX = 360;
inline constexpr int kMinTopPaneHeight = 100;
// Saved column widths below this are ignored (the column keeps its default).
inline constexpr int kMinSavedColumnWidth = 24;

// Program-wide values the settings file keeps (the language is CurrentLanguage, common/localization.h).
extern int WindowWidth;     // outer window size in pixels
extern int WindowHeight;
extern int SplitX;          // splitter positions of the window layout
extern int TopPaneHeight;
extern bool SettingsLoaded;  // false until LoadSettings ran; SaveSettings writes nothing before

// Program directory + "velkor.ini", computed on first use and kept.
std::wstring SettingsFilePath();

// Uses another file from now on (velkor-cli and tests keep theirs apart).
void SetSettingsFilePath(const std::wstring& path);

// Reads language, window size and splitter positions (the current values are the defaults),
// lifts them to their lower bounds and sets SettingsLoaded.
void LoadSettings();

// Widths (column index order) and display order of one list's columns.
struct ColumnLayout {
  std::vector<int> widths;
  std::vector<int> order;
};

// What the window contributes to a save.
struct WindowSnapshot {
  bool hasOuterSize = false;  // false while the window is missing or minimised: the last size stays
  int outerWidth = 0;
  int outerHeight = 0;
  const ColumnLayout* driveColumns = nullptr;   // null when the list does not exist
  const ColumnLayout* resultColumns = nullptr;
};

// Writes everything, in the order language, window size, splitters, drive columns, result
// columns; does nothing before LoadSettings. The window size is taken from window (at least
// 900 x 600) when it has one.
void SaveSettings(const WindowSnapshot& window);

// The numbers of a comma-separated list: cut at every comma, empty pieces dropped, each piece
// read as wcstol does in base 10 with a 32-bit long (letters read as 0, overflow is clamped).
std::vector<int> ParseIntegerList(std::wstring_view text);

// Numbers joined by single commas, no blanks: "70,110,85".
std::wstring JoinIntegerList(const std::vector<int>& numbers);

// defaults with the saved widths of text applied: entry i replaces column i when it is at least
// kMinSavedColumnWidth; extra entries are ignored, missing ones keep the default.
std::vector<int> ApplySavedColumnWidths(std::vector<int> defaults, std::wstring_view text);

// The saved display order, when text holds exactly count distinct column indexes 0 to count - 1.
bool ParseColumnOrder(std::wstring_view text, size_t count, std::vector<int>* order);

// The column layout stored in section ("DriveColumns", "ResultColumns") over the given default
// widths; the natural order 0, 1, ... where no valid order is stored.
ColumnLayout ReadListColumns(const std::wstring& section, const std::vector<int>& defaultWidths);

// Stores "Widths" and "Order" of section.
void WriteListColumns(const std::wstring& section, const ColumnLayout& layout);

}  // namespace velkor
