#include "results/json_text.h"

#include <charconv>
#include <cmath>

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

}  // namespace velkor
