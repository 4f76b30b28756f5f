#include "platform/ini_text.h"

namespace velkor::platform {
namespace {

// Blanks as the private-profile functions trim them; CR and ^Z (old DOS end of file) included.
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\x1a';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

// One line of the text: [begin, end) without its terminator, next = start of the next line.
struct Line {
  size_t begin = 0, end = 0, next = 0;
  std::string_view content;  // trimmed
};

size_t BodyStart(std::string_view text) {
  return text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
}

bool NextLine(std::string_view text, size_t* position, Line* line) {
  if (*position >= text.size()) return false;
  line->begin = *position;
  const size_t newline = text.find('\n', *position);
  line->end = newline == std::string_view::npos ? text.size() : newline;
  line->next = newline == std::string_view::npos ? text.size() : newline + 1;
  line->content = Trim(text.substr(line->begin, line->end - line->begin));
  *position = line->next;
  return true;
}

// A section header's name, or false for any other line.
bool SectionName(std::string_view content, std::string_view* name) {
  if (content.empty() || content.front() != '[') return false;
  const size_t close = content.rfind(']');
  if (close == std::string_view::npos || close == 0) return false;
  *name = content.substr(1, close - 1);
  return true;
}

struct Entry {
  std::string_view key;
  bool hasValue = false;
  std::string_view value;
};

Entry ParseEntry(std::string_view content) {
  Entry entry;
  const size_t equals = content.find('=');
  if (equals == std::string_view::npos) {
    entry.key = content;
    return entry;
  }
  entry.key = Trim(content.substr(0, equals));
  entry.hasValue = true;
  entry.value = Trim(content.substr(equals + 1));
  return entry;
}

// Where a key of the first matching section stands, or where the section ends.
struct Location {
  bool sectionFound = false;
  bool keyFound = false;
  Line keyLine;
  size_t afterLastEntry = 0;  // end (terminator included) of the section's last non-empty line
  bool lastEntryHasTerminator = true;
};

Location Locate(std::string_view text, std::string_view section, std::string_view key) {
  section = Trim(section);
  key = Trim(key);
  Location where;
  bool inside = false;
  size_t position = BodyStart(text);
  Line line;
  while (NextLine(text, &position, &line)) {
    if (line.content.empty()) continue;
    std::string_view name;
    if (SectionName(line.content, &name)) {
      if (inside) break;  // only the first section of that name counts
      if (!name.empty() && SameName(name, section)) {
        inside = true;
        where.sectionFound = true;
        where.afterLastEntry = line.next;
        where.lastEntryHasTerminator = line.next > line.end;
      }
      continue;
    }
    if (!inside) continue;
    where.afterLastEntry = line.next;
    where.lastEntryHasTerminator = line.next > line.end;
    if (!key.empty() && SameName(ParseEntry(line.content).key, key)) {
      where.keyFound = true;
      where.keyLine = line;
      break;
    }
  }
  return where;
}

std::string_view LineBreakOf(std::string_view text) {
  return text.find("\r\n") != std::string_view::npos ? "\r\n" : "\n";
}

std::string_view LeftTrim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  return s;
}

}  // namespace

bool FindIniValue(std::string_view text, std::string_view section, std::string_view key,
                  std::string* value) {
  const Location where = Locate(text, section, key);
  if (!where.keyFound) return false;
  const Entry entry = ParseEntry(where.keyLine.content);
  if (!entry.hasValue) return false;
  *value = std::string(entry.value);
  return true;
}

std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value, bool* changed) {
  value = LeftTrim(value);
  const std::string_view lineBreak = LineBreakOf(text);
  const Location where = Locate(text, section, key);
  std::string out;
  *changed = true;
  if (where.keyFound) {
    const Line& line = where.keyLine;
    const Entry entry = ParseEntry(line.content);
    if (entry.hasValue && entry.value == value) {
      *changed = false;
      return std::string(text);
    }
    // Keep everything up to the old value ("Key = "), then the new value and the line's own end.
    const std::string_view raw = text.substr(line.begin, line.end - line.begin);
    std::string rewritten;
    if (entry.hasValue) {
      const size_t equals = raw.find('=');
      const std::string_view afterEquals = raw.substr(equals + 1);
      const size_t blanks = afterEquals.size() - LeftTrim(afterEquals).size();
      rewritten = std::string(raw.substr(0, equals + 1 + blanks)) + std::string(value);
    } else {
      const size_t contentEnd = static_cast<size_t>(line.content.data() - text.data()) + line.content.size();
      rewritten = std::string(text.substr(line.begin, contentEnd - line.begin)) + "=" + std::string(value);
    }
    const bool crlf = line.end > line.begin && text[line.end - 1] == '\r';
    out.append(text.substr(0, line.begin));
    out.append(rewritten);
    if (crlf) out.push_back('\r');
    out.append(text.substr(line.end));
    return out;
  }
  // New names are written as they are looked up: without the blanks around them.
  const std::string entryLine = std::string(Trim(key)) + "=" + std::string(value) + std::string(lineBreak);
  if (where.sectionFound) {
    out.append(text.substr(0, where.afterLastEntry));
    if (!where.lastEntryHasTerminator) out.append(lineBreak);
    out.append(entryLine);
    out.append(text.substr(where.afterLastEntry));
    return out;
  }
  out.assign(text);
  if (Trim(text.substr(BodyStart(text))).size() > 0) {
    if (out.back() != '\n') out.append(lineBreak);
    out.append(lineBreak);  // a blank line between sections
  }
  out.append("[").append(Trim(section)).append("]").append(lineBreak);
  out.append(entryLine);
  return out;
}

std::wstring ProfileStringOfValue(std::wstring value, uint32_t bufferChars) {
  if (bufferChars == 0) return std::wstring();
  const size_t nul = value.find(L'\0');
  if (nul != std::wstring::npos) value.resize(nul);
  if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  if (value.size() > bufferChars - 1) value.resize(bufferChars - 1);
  return value;
}

int32_t ProfileIntOfText(std::wstring_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] <= L' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
    negative = text[i] == L'-';
    ++i;
  }
  uint32_t base = 10;
  if (i + 1 < text.size() && text[i] == L'0') {
    if (text[i + 1] == L'x') base = 16;
    if (text[i + 1] == L'o') base = 8;
    if (text[i + 1] == L'b') base = 2;
    if (base != 10) i += 2;
  }
  uint32_t total = 0;
  for (; i < text.size(); ++i) {
    const wchar_t c = text[i];
    uint32_t digit;
    if (c >= L'0' && c <= L'9') {
      digit = static_cast<uint32_t>(c - L'0');
    } else if (c >= L'a' && c <= L'z') {
      digit = static_cast<uint32_t>(c - L'a') + 10;
    } else if (c >= L'A' && c <= L'Z') {
      digit = static_cast<uint32_t>(c - L'A') + 10;
    } else {
      break;
    }
    if (digit >= base) break;
    total = total * base + digit;  // wraps at 32 bits, as the system's conversion does
  }
  return static_cast<int32_t>(negative ? 0u - total : total);
}

}  // namespace velkor::platform
