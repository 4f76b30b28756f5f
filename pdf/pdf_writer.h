// Minimal PDF 1.4 documents without any library: standard fonts with WinAnsiEncoding (Courier for
// the results table, whose columns are padded with blanks; Helvetica for the help), a hand-built
// cross-reference table. Built in memory, written in one call.
#pragma once

#include <string>
#include <vector>

namespace velkor {

// Escapes "(", ")" and "\" and drops control bytes other than the tab (CR among them).
std::string EscapePdfText(const std::string& bytes);

// One landscape A4 page in Courier: the title "Velkor Ergebnisse" and the first 37 lines of table (a text of
// LF-separated lines; a final LF starts no line).
std::string BuildResultsPdf(const std::wstring& table);

// The same page and after it a second landscape A4 page drawn by secondPage, a content stream that
// may use the font /F1. An empty secondPage gives BuildResultsPdf(table) exactly.
std::string BuildResultsPdf(const std::wstring& table, const std::string& secondPage);

// Portrait A4 pages, one content stream each (at least one page), whose fonts are /F1 Helvetica and
// /F2 Helvetica-Bold; title names the document in the readers' title bar.
std::string BuildPortraitPdf(const std::vector<std::string>& pages, const std::wstring& title);

}  // namespace velkor
