// Real PDF readers for the PDF tests: qpdf, pdfinfo and pdftotext from the Linux system. A
// Windows test process under Wine has none of them; tests skip then.
#pragma once

#include <string>

namespace velkor::testing {

// True when qpdf, pdfinfo and pdftotext can be run from this process.
bool PdfToolsAvailable();

// Runs "qpdf --check" on the file; true when it passes. output receives what qpdf printed.
bool QpdfCheck(const std::wstring& pdf, std::string* output);

// The page count pdfinfo reports; -1 when it reports none.
int PdfPageCount(const std::wstring& pdf);

// The text pdftotext (-layout, UTF-8) extracts; pages are separated by form feeds.
std::string PdfToText(const std::wstring& pdf);
// The same in the order the content streams draw it (-raw), as a reader's text selection follows it.
std::string PdfToRawText(const std::wstring& pdf);

}  // namespace velkor::testing
