// The program's help as plain text lines and as the PDF beside the program.
#pragma once

#include <string>
#include <vector>

namespace velkor {

// The 69 German lines of the PDF help (at most 80 characters each, all of them printable in
// Windows-1252). Two pages of 42 lines: the first page ends with the empty line 42.
std::vector<std::wstring> BuildHelpTextLines();

// Writes BuildHelpTextLines as portrait pages, replacing the file. False when the file cannot be
// written; the help generation ignores that.
bool WriteHelpPdf(const std::wstring& path);

}  // namespace velkor
