// The program's help as plain text lines and as the PDF beside the program.
#pragma once

#include <string>
#include <vector>

namespace velkor {

// The help in language as plain lines of at most 80 characters (pages of 42 lines): title,
// subtitle, then each section's heading, paragraphs, list items and table rows ("name: meaning").
// A heading never lands in the last two lines of a page.
std::vector<std::wstring> BuildHelpTextLines(int language);

// Writes BuildHelpTextLines(language) as portrait pages, replacing the file. False when the file
// cannot be written.
bool WriteHelpPdf(const std::wstring& path, int language);

}  // namespace velkor
