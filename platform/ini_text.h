// INI text as the Windows private-profile functions see it, as pure functions over the file's
// bytes (UTF-8, with or without byte-order mark). The POSIX profile functions are built on them;
// they accept any bytes, so a damaged or foreign file never stops the program.
//
// The model: lines end at "\n"; blanks around a line are ignored; "[name]" (up to the last "]")
// starts a section; any other non-empty line is an entry "key=value" or a bare "key" (comments
// are entries whose key starts with ";"). Section and key names are compared without regard to
// ASCII case; other bytes must match exactly.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velkor::platform {

// The value of key in the first section called section (blanks around both names ignored):
// the text after the first "=" without the blanks around it. False when the section or key is
// missing, or the key's first line has no "=" (a lookup never goes on to a second section of the
// same name).
bool FindIniValue(std::string_view text, std::string_view section, std::string_view key,
                  std::string* value);

// text with key of section set to value (its leading blanks dropped). An existing entry is
// rewritten in its line, keeping what stands before the value; a new key goes after the last
// entry of the section; a new section is appended at the end. Every other byte stays as it was.
// *changed is false when the stored value already equals value (the text is then returned as is).
std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value, bool* changed);

// What GetPrivateProfileStringW hands back for a stored (or default) value read into a buffer of
// bufferChars characters: cut at an embedded NUL, one pair of matching surrounding quotes (" or ')
// removed, then at most bufferChars - 1 characters.
std::wstring ProfileStringOfValue(std::wstring value, uint32_t bufferChars);

// The characters of a value GetPrivateProfileIntW looks at (its buffer holds 30).
inline constexpr uint32_t kProfileIntBufferChars = 30;

// GetPrivateProfileIntW's number for a non-empty value: leading blanks and control characters
// skipped, an optional sign, a "0x", "0o" or "0b" prefix for bases 16, 8 and 2, then digits up to
// the first other character. No digits give 0; the value wraps at 32 bits.
int32_t ProfileIntOfText(std::wstring_view text);

}  // namespace velkor::platform
