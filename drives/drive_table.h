// The drive table's columns and sort order, shared by the window's drive list and the text
// form of the table.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "drives/drive_info.h"

namespace velkor {

inline constexpr int kDriveColumnCount = 8;

// Sort state of the drive table (user-interface thread, not saved): column 0 to 7, initially
// column 0 ascending, which keeps the drive letters in order.
extern int driveSortColumn;
extern bool driveSortAscending;

// Text-table key of a column's title: col_drive, col_name, col_fs, col_total, col_free,
// col_free_pct, col_bus, col_status; empty outside 0 to 7.
const wchar_t* DriveColumnTitleKey(int column);

// Default column widths in pixels: 70, 110, 85, 85, 85, 70, 95, 95.
std::vector<int> DriveColumnDefaultWidths();

// Sizes and the free share (columns 3 to 5) are right-aligned.
bool IsDriveColumnRightAligned(int column);

// The cell of a column: root, label, file system, FormatByteSize of total and free bytes,
// FormatPercent of the free share, connection, status; empty outside 0 to 7. The drive's German
// words (no name, unknown, connection, status) in the current language.
std::wstring DriveCellText(const DriveInfo& drive, int column);

// Case-insensitive comparison of texts as the platform's _wcsicmp does it: ASCII letters fold
// to lower case, then the character values compare.
int CompareTextNoCase(std::wstring_view a, std::wstring_view b);

// Negative when a sorts before b in ascending order by column, 0 when equal, positive otherwise:
// texts case-insensitively, sizes and the free share by value; any other column compares equal.
int CompareDrives(const DriveInfo& a, const DriveInfo& b, int column);

// Sorts drives by column (an ordinary unstable sort: equal keys keep no particular order).
void SortDrives(std::vector<DriveInfo>& drives, int column, bool ascending);

// The row to select when the previous selection is not in the table (at start-up, or after its
// drive left): the first that is not the system volume, else row 0. REQUIRES: drives not empty.
size_t DefaultDriveRow(const std::vector<DriveInfo>& drives);

// Sorts DriveTable by driveSortColumn and driveSortAscending.
void SortDriveTable();

// The table as text in its current order: a title line in the current language, then one line
// per drive with all eight cells, columns padded to line up.
std::wstring FormatDriveTableText(const std::vector<DriveInfo>& drives);

}  // namespace velkor
