// The one-line progress display on a terminal, rewritten in place once a second.
#pragma once

#include <cstddef>
#include <string>

namespace velkor {

// What to write so that the terminal's current line, which shows shownLength characters of an
// earlier progress line, shows text instead (text empty: nothing). With terminal sequences a
// carriage return and an erase to the end of the line; without them (a classic Windows console) a
// carriage return and blanks over what text leaves of the old line, and a carriage return again
// when text is empty, so that the next output starts at the line's beginning.
std::wstring ReplaceProgressLine(const std::wstring& text, size_t shownLength, bool sequences);

}  // namespace velkor
