// Minimal PDF 1.4 documents without any library: Helvetica with WinAnsiEncoding, text placed line
// by line, a hand-built cross-reference table. Built in memory, written in one call.
#pragma once

#include <string>
#include <vector>

namespace velkor {

// Escapes "(", ")" and "\" and drops control bytes other than the tab (CR among them).
std::string EscapePdfText(const std::string& bytes);

// One landscape A4 page: the title "Velkor Ergebnisse" and the first 37 lines of table (a text of
// LF-separated lines; a final LF starts no line).
std::string BuildResultsPdf(const std::wstring& table);

// The same page and after it a second landscape A4 page drawn by secondPage, a content stream that
// may use the font /F1. An empty secondPage gives BuildResultsPdf(table) exactly.
std::string BuildResultsPdf(const std::wstring& table, const std::string& secondPage);

// Portrait A4 pages of 42 lines each, at least one page.
std::string BuildHelpPdf(const std::vector<std::wstring>& lines);

}  // namespace velkor
