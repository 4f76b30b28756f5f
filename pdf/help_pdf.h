// The program's help as the PDF beside the program.
#pragma once

#include <string>

namespace velkor {

// The help in language as a PDF document (LayOutHelp's pages).
std::string BuildHelpPdf(int language);

// Writes BuildHelpPdf(language), replacing the file. False when the file cannot be written.
bool WriteHelpPdf(const std::wstring& path, int language);

}  // namespace velkor
