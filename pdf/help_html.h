// The program's help as one German HTML page, written beside the program next to the PDF help.
#pragma once

#include <string>

namespace velkor {

// The whole page: "<!doctype html>", head with the style sheet, header and ten sections. Lines
// are separated by LF (no final line break); all text between the tags is HTML-escaped. The same
// text on every call, in every interface language.
std::wstring BuildHelpHtml();

}  // namespace velkor
