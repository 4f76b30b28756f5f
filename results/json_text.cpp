#include "results/json_text.h"

#include <charconv>
#include <cmath>
#include <cwchar>

namespace velkor {
namespace {

// Position right after "key": in object, or npos.
size_t ValueStart(const std::wstring& object, const std::wstring& key) {
  const std::wstring pattern = L"\"" + key + L"\":";
  const size_t at = object.find(pattern);
  return at == std::wstring::npos ? at : at + pattern.size();
}

bool IsSpace(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }

size_t SkipSpace(const std::wstring& text, size_t pos) {
  while (pos < text.size() && IsSpace(text[pos])) ++pos;
  return pos;
}

bool IsJsonSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r'; }

// One past the closing quote of the string whose opening quote is at text[pos]; npos without one.
size_t StringEnd(std::wstring_view text, size_t pos) {
  for (size_t i = pos + 1; i < text.size(); ++i) {
    if (text[i] == L'\\') {
      ++i;
    } else if (text[i] == L'"') {
      return i + 1;
    }
  }
  return std::wstring_view::npos;
}

int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

// The code unit of the four hex digits at text[pos]; false when they are not.
bool ReadHex4(std::wstring_view text, size_t pos, uint32_t* unit) {
  if (pos + 4 > text.size()) return false;
  *unit = 0;
  for (size_t i = pos; i < pos + 4; ++i) {
    const int digit = HexDigit(text[i]);
    if (digit < 0) return false;
    *unit = *unit * 16 + static_cast<uint32_t>(digit);
  }
  return true;
}

void AppendCodePoint(std::wstring* out, uint32_t code) {
  if constexpr (sizeof(wchar_t) == 2) {
    if (code >= 0x10000) {
      code -= 0x10000;
      *out += static_cast<wchar_t>(0xD800 + (code >> 10));
      *out += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
      return;
    }
  }
  *out += static_cast<wchar_t>(code);
}

bool IsNumberChar(wchar_t c) {
  return (c >= L'0' && c <= L'9') || c == L'.' || c == L'+' || c == L'-' || c == L'e' || c == L'E';
}

}  // namespace

std::wstring EscapeJsonText(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size());
  for (const wchar_t c : text) {
    switch (c) {
      case L'\t': out += L"\\t"; break;
      case L'\n': out += L"\\n"; break;
      case L'\r': out += L"\\r"; break;
      case L'"': out += L"\\\""; break;
      case L'\\': out += L"\\\\"; break;
      default: out += c; break;
    }
  }
  return out;
}

std::wstring ReadJsonText(const std::wstring& object, const std::wstring& key) {
  size_t pos = ValueStart(object, key);
  if (pos == std::wstring::npos || pos >= object.size() || object[pos] != L'"') return std::wstring();
  std::wstring out;
  for (++pos; pos < object.size(); ++pos) {
    const wchar_t c = object[pos];
    if (c == L'"') break;
    if (c != L'\\') {
      out += c;
      continue;
    }
    if (++pos >= object.size()) break;  // a lone backslash at the very end
    switch (object[pos]) {
      case L'n': out += L'\n'; break;
      case L'r': out += L'\r'; break;
      case L't': out += L'\t'; break;
      default: out += object[pos]; break;
    }
  }
  return out;
}

uint64_t ReadJsonInteger(const std::wstring& object, const std::wstring& key) {
  size_t pos = ValueStart(object, key);
  if (pos == std::wstring::npos) return 0;
  pos = SkipSpace(object, pos);
  bool negative = false;
  if (pos < object.size() && (object[pos] == L'+' || object[pos] == L'-')) {
    negative = object[pos] == L'-';
    ++pos;
  }
  uint64_t value = 0;
  bool overflow = false;
  for (; pos < object.size() && object[pos] >= L'0' && object[pos] <= L'9'; ++pos) {
    const uint64_t digit = static_cast<uint64_t>(object[pos] - L'0');
    if (value > (UINT64_MAX - digit) / 10) overflow = true;
    value = value * 10 + digit;
  }
  if (overflow) return UINT64_MAX;
  return negative ? 0 - value : value;
}

double ReadJsonNumber(const std::wstring& object, const std::wstring& key) {
  size_t pos = ValueStart(object, key);
  if (pos == std::wstring::npos) return 0.0;
  pos = SkipSpace(object, pos);
  // The longest run that could belong to a number, narrowed to ASCII for from_chars, which reads
  // a point as decimal mark whatever the locale.
  std::string narrow;
  for (; pos < object.size() && IsNumberChar(object[pos]); ++pos) {
    narrow += static_cast<char>(object[pos]);
  }
  const char* first = narrow.data();
  const char* last = narrow.data() + narrow.size();
  bool negative = false;
  if (first < last && (*first == '+' || *first == '-')) {
    negative = *first == '-';
    ++first;
  }
  if (first < last && (*first == '+' || *first == '-')) return 0.0;  // "--1" is not a number
  double value = 0.0;
  const std::from_chars_result result = std::from_chars(first, last, value);
  if (result.ec != std::errc() || !std::isfinite(value)) return 0.0;
  return negative ? -value : value;
}

bool ReadJsonBool(const std::wstring& object, const std::wstring& key) {
  const size_t pos = ValueStart(object, key);
  return pos != std::wstring::npos && pos + 4 <= object.size() && object.compare(pos, 4, L"true") == 0;
}

bool HasJsonKey(const std::wstring& object, const std::wstring& key) {
  return ValueStart(object, key) != std::wstring::npos;
}

std::wstring CompactJson(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c == L'"') {
      const size_t end = StringEnd(text, i);
      const size_t stop = end == std::wstring_view::npos ? text.size() : end;
      out.append(text.substr(i, stop - i));
      i = stop - 1;
    } else if (!IsJsonSpace(c)) {
      out += c;
    }
  }
  return out;
}

size_t JsonValueEnd(std::wstring_view text, size_t pos) {
  if (pos >= text.size()) return std::wstring_view::npos;
  const wchar_t first = text[pos];
  if (first == L'"') return StringEnd(text, pos);
  if (first != L'{' && first != L'[') {
    size_t i = pos;
    // A quote, bracket or colon ends it too: no number or literal holds one.
    while (i < text.size() && std::wstring_view(L",}]{[\":").find(text[i]) == std::wstring_view::npos) ++i;
    return i == pos ? std::wstring_view::npos : i;
  }
  // Brackets of either kind count alike: a mismatched pair is caught where the members are read.
  size_t depth = 0;
  for (size_t i = pos; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c == L'"') {
      i = StringEnd(text, i);
      if (i == std::wstring_view::npos) return i;
      --i;
    } else if (c == L'{' || c == L'[') {
      ++depth;
    } else if ((c == L'}' || c == L']') && --depth == 0) {
      return i + 1;
    }
  }
  return std::wstring_view::npos;
}

bool ReadJsonMembers(std::wstring_view text, size_t open, std::vector<JsonMember>* members, size_t* end) {
  members->clear();
  if (open >= text.size() || text[open] != L'{') return false;
  size_t pos = open + 1;
  if (pos < text.size() && text[pos] == L'}') {
    *end = pos + 1;
    return true;
  }
  while (pos < text.size()) {
    const size_t keyEnd = StringEnd(text, pos);
    JsonMember member;
    if (text[pos] != L'"' || keyEnd == std::wstring_view::npos ||
        !JsonStringValue(text.substr(pos, keyEnd - pos), &member.key) || keyEnd >= text.size() ||
        text[keyEnd] != L':') {
      return false;
    }
    member.begin = keyEnd + 1;
    member.end = JsonValueEnd(text, member.begin);
    if (member.end == std::wstring_view::npos || member.end >= text.size()) return false;
    members->push_back(std::move(member));
    pos = members->back().end;
    if (text[pos] == L'}') {
      *end = pos + 1;
      return true;
    }
    if (text[pos] != L',') return false;
    ++pos;
  }
  return false;
}

bool JsonStringValue(std::wstring_view value, std::wstring* out) {
  if (value.size() < 2 || value.front() != L'"' || StringEnd(value, 0) != value.size()) return false;
  std::wstring text;
  for (size_t i = 1; i + 1 < value.size(); ++i) {
    const wchar_t c = value[i];
    if (c != L'\\') {
      if (static_cast<uint32_t>(c) < 0x20) return false;  // a control character must be escaped
      text += c;
      continue;
    }
    const wchar_t e = value[++i];
    switch (e) {
      case L'"': case L'\\': case L'/': text += e; break;
      case L'b': text += L'\b'; break;
      case L'f': text += L'\f'; break;
      case L'n': text += L'\n'; break;
      case L'r': text += L'\r'; break;
      case L't': text += L'\t'; break;
      case L'u': {
        uint32_t unit = 0;
        if (!ReadHex4(value, i + 1, &unit)) return false;
        i += 4;
        uint32_t low = 0;
        if (unit >= 0xD800 && unit < 0xDC00 && i + 6 < value.size() && value[i + 1] == L'\\' &&
            value[i + 2] == L'u' && ReadHex4(value, i + 3, &low) && low >= 0xDC00 && low < 0xE000) {
          unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
          i += 6;
        }
        AppendCodePoint(&text, unit);
        break;
      }
      default: return false;
    }
  }
  *out = std::move(text);
  return true;
}

bool JsonUnsignedValue(std::wstring_view value, uint64_t* out) {
  if (value.empty() || (value[0] == L'0' && value.size() > 1)) return false;
  uint64_t number = 0;
  for (const wchar_t c : value) {
    if (c < L'0' || c > L'9') return false;
    const uint64_t digit = static_cast<uint64_t>(c - L'0');
    if (number > (UINT64_MAX - digit) / 10) return false;
    number = number * 10 + digit;
  }
  *out = number;
  return true;
}

bool JsonNumberValue(std::wstring_view value, double* out) {
  // JSON's grammar: -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
  size_t i = 0;
  auto digits = [&] {
    const size_t from = i;
    while (i < value.size() && value[i] >= L'0' && value[i] <= L'9') ++i;
    return i - from;
  };
  if (i < value.size() && value[i] == L'-') ++i;
  const size_t intStart = i;
  const size_t intDigits = digits();
  if (intDigits == 0 || (intDigits > 1 && value[intStart] == L'0')) return false;
  if (i < value.size() && value[i] == L'.') {
    ++i;
    if (digits() == 0) return false;
  }
  if (i < value.size() && (value[i] == L'e' || value[i] == L'E')) {
    ++i;
    if (i < value.size() && (value[i] == L'+' || value[i] == L'-')) ++i;
    if (digits() == 0) return false;
  }
  if (i != value.size()) return false;
  std::string narrow(value.begin(), value.end());
  const char* first = narrow.data() + (narrow[0] == '-' ? 1 : 0);
  double number = 0.0;
  const std::from_chars_result result = std::from_chars(first, narrow.data() + narrow.size(), number);
  if (result.ec != std::errc() || !std::isfinite(number)) return false;
  *out = narrow[0] == '-' ? -number : number;
  return true;
}

bool JsonBoolValue(std::wstring_view value, bool* out) {
  if (value != L"true" && value != L"false") return false;
  *out = value == L"true";
  return true;
}

}  // namespace velkor
