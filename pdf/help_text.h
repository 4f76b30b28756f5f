// The help's text in each interface language, written for someone who has never checked a drive.
// One source feeds both the HTML page and the PDF. A line is a heading ("# "), a list item ("- "),
// a step ("1. "), a table row ("| cell | cell", the first row of a table is its header) or a
// paragraph.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace velkor {

struct HelpText {
  const wchar_t* languageCode;  // the html element's lang
  const wchar_t* title;         // "Velkor Hilfe"
  const wchar_t* subtitle;
  const wchar_t* const* lines;
  size_t lineCount;
};

enum class HelpLine { kHeading, kItem, kStep, kRow, kParagraph };

// A line's kind by its opening: "# " heading, "- " list item, "1. " step, "| " table row.
HelpLine KindOfHelpLine(std::wstring_view line);
// A line's text without its opening ("# ", "- ", "12. "); a table row as it is.
std::wstring_view HelpLineText(std::wstring_view line);
// The cells of a table row, trimmed.
std::vector<std::wstring_view> HelpTableCells(std::wstring_view row);

// The help in language (0 German, 1 English, 2 French, 3 Spanish); German outside 0 to 3.
HelpText HelpTextIn(int language);

// One language each, in pdf/help_text_<code>.cpp.
HelpText GermanHelpText();
HelpText EnglishHelpText();
HelpText FrenchHelpText();
HelpText SpanishHelpText();

}  // namespace velkor
