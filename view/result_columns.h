// The result list's columns, cell texts and sort order, and the row actions that need no window:
// which profile a result's method names and the log line of taking a result over.
#pragma once

#include <string>
#include <vector>

#include "results/result_record.h"

namespace velkor {

inline constexpr int kResultColumnCount = 8;
inline constexpr int kResultColumnResult = 7;

// Text-table key of a column's title (col_access ... col_result); empty outside 0 to 7.
const wchar_t* ResultColumnTitleKey(int column);
// 135, 55, 70, 70, 70, 65, 55, 105.
std::vector<int> ResultColumnDefaultWidths();
// Columns 1 to 6 hold numbers and flags and are right-aligned.
bool IsResultColumnRightAligned(int column);
// The cell of a column in the current language; empty outside 0 to 7.
std::wstring ResultCellText(const ResultRecord& record, int column);
// "Fehler", "abgebrochen", "Empfehlung" or "OK" in the current language, first match.
std::wstring ResultRowText(const ResultRecord& record);
// Three-way comparison by a column's sort key: the method case-insensitively, numbers by value,
// flags false before true; column 7 by the recommendation alone. Other columns compare equal.
int CompareResults(const ResultRecord& a, const ResultRecord& b, int column);
void SortResultRecords(std::vector<ResultRecord>& records, int column, bool ascending);

// The access profile a method text names, first match: "Turbo" 0, "Quorvel" 3, "Zuverlässig" 2,
// otherwise 1 (case-sensitive).
int ProfileForMethodText(const std::wstring& method);
// "Einstellungen aus Ergebnis übernommen: ..." for a result taken over into the settings.
std::wstring TakeOverLogLine(const ResultRecord& record);

}  // namespace velkor
