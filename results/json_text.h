// The escaping of the results files and the value readers of their loader. The readers are not a
// JSON parser: they search one record object's text for "key": and read what follows, relying on
// the writer's layout (no blanks around the colon). Any text is safe input: a missing key or an
// unreadable value gives 0, 0.0, false or empty text.
#pragma once

#include <cstdint>
#include <string>

namespace velkor {

// Tab, LF, CR, double quote and backslash get a backslash escape (\t \n \r \" \\); every other
// character is copied as it is.
std::wstring EscapeJsonText(const std::wstring& text);

// The string after "key":" up to the first unescaped double quote or the end of object, with the
// escapes undone (\n \r \t; a backslash before any other character yields that character).
std::wstring ReadJsonText(const std::wstring& object, const std::wstring& key);

// The unsigned decimal after "key": as wcstoull reads it in base 10: leading white space skipped,
// an optional sign (a minus negates modulo 2^64), digits up to the first non-digit, UINT64_MAX on
// overflow, 0 without digits.
uint64_t ReadJsonInteger(const std::wstring& object, const std::wstring& key);

// The number after "key": as wcstod reads a decimal number, with a point as decimal mark whatever
// the locale. Anything else (inf, nan, hexadecimal, out of range) reads as 0.0, so no value that
// the writer cannot print enters a record.
double ReadJsonNumber(const std::wstring& object, const std::wstring& key);

// True exactly when the four characters after "key": are "true".
bool ReadJsonBool(const std::wstring& object, const std::wstring& key);

// True when "key": occurs in object (files written before a key existed lack it).
bool HasJsonKey(const std::wstring& object, const std::wstring& key);

}  // namespace velkor
