// Text conversions. wchar_t is UTF-16 on Windows and UTF-32 elsewhere; both widths are handled.
#pragma once

#include <string>
#include <string_view>

namespace velkor::platform {

// UTF-8 without byte-order mark. Unpaired surrogates become U+FFFD.
std::string WideToUtf8(std::wstring_view text);

// Invalid UTF-8 sequences become U+FFFD.
std::wstring Utf8ToWide(std::string_view bytes);

// Windows-1252 bytes; characters the code page cannot show become '?' (or a best-fit letter on
// Windows).
std::string WideToWindows1252(std::wstring_view text);

}  // namespace velkor::platform
