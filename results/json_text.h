// The escaping of the results files and the value readers of their loader. The first readers are
// not a JSON parser: they search one object's text for "key": and read what follows, relying on
// the writer's layout (no blanks around the colon; CompactJson makes any text so). Any text is safe
// input: a missing key or an unreadable value gives 0, 0.0, false or empty text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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

// The structural side, for files another tool may have written again: any white space between
// tokens, values found by their structure, each value's type checked by its reader.

// text without the blanks, tabs, line ends and carriage returns between tokens; strings stay as
// they are. The readers above then read a file with any white space like the writer's own.
std::wstring CompactJson(std::wstring_view text);

// One past the value that begins at text[pos] in compact text: a string with its quotes, an
// object or array with all that nests in it, or a number or literal up to the next , } ] { [ " or :.
// npos when the text ends first (or pos is past it).
size_t JsonValueEnd(std::wstring_view text, size_t pos);

// A member of an object: its key (escapes undone) and where its value lies in the text.
struct JsonMember {
  std::wstring key;
  size_t begin = 0;
  size_t end = 0;  // one past the value
};

// The members of the object whose '{' is at text[open] in compact text, in order; *end one past
// its '}'. False when it is no object of the form {"key":value,...} or the text ends first.
bool ReadJsonMembers(std::wstring_view text, size_t open, std::vector<JsonMember>* members, size_t* end);

// Readers of one value's text that say whether it has their type: a string (all JSON escapes,
// \uXXXX and surrogate pairs included), a whole number from 0 to 2^64-1 in digits alone, a finite
// number, true or false.
bool JsonStringValue(std::wstring_view value, std::wstring* out);
bool JsonUnsignedValue(std::wstring_view value, uint64_t* out);
bool JsonNumberValue(std::wstring_view value, double* out);
bool JsonBoolValue(std::wstring_view value, bool* out);

}  // namespace velkor
