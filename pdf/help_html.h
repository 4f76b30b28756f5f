// The program's help as one HTML page in an interface language, written beside the program next
// to the PDF help.
#pragma once

#include <string>

namespace velkor {

// The whole page in language (German outside 0 to 3): "<!doctype html>", head with the style
// sheet, header and the help's sections with their lists and tables. Lines are separated by LF
// (no final line break); all text between the tags is HTML-escaped.
std::wstring BuildHelpHtml(int language);

}  // namespace velkor
