// libFuzzer target: the INI reader and writer of the settings file on any file content. Beyond not
// crashing: a value that was set reads back as set, and setting it again changes nothing.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/ini_text.h"
#include "platform/text.h"

namespace {

struct Name {
  const char* section;
  const char* key;
};

// Names as the settings file uses them, with the case and blanks a hand-edited file may add.
constexpr Name kNames[] = {
    {"General", "Language"}, {"Window", "Width"}, {" layout ", "TopPaneHeight"},
    {"DriveColumns", "Order"}, {"GENERAL", " language "}, {"ResultColumns", "Width3"},
};

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\x1a';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const Name& name = kNames[data[0] % (sizeof kNames / sizeof kNames[0])];
  // A value of up to 16 bytes from the input: one line, no blanks around it (the reader trims them).
  const size_t valueSize = data[1] % 17 < size - 2 ? data[1] % 17 : size - 2;
  std::string value(reinterpret_cast<const char*>(data + 2), valueSize);
  for (char& c : value) {
    if (c == '\n' || c == '\r') c = '_';
  }
  while (!value.empty() && IsBlank(value.back())) value.pop_back();
  while (!value.empty() && IsBlank(value.front())) value.erase(0, 1);
  const std::string_view text(reinterpret_cast<const char*>(data + 2 + valueSize), size - 2 - valueSize);

  std::string found;
  if (velkor::platform::FindIniValue(text, name.section, name.key, &found)) {
    const std::wstring wide = velkor::platform::Utf8ToWide(found);
    velkor::platform::ProfileStringOfValue(wide, 260);
    velkor::platform::ProfileIntOfText(wide.substr(0, velkor::platform::kProfileIntBufferChars));
  }

  bool changed = false;
  const std::string updated = velkor::platform::SetIniValue(text, name.section, name.key, value, &changed);
  if (!velkor::platform::FindIniValue(updated, name.section, name.key, &found) || found != value) abort();
  const std::string again = velkor::platform::SetIniValue(updated, name.section, name.key, value, &changed);
  if (changed || again != updated) abort();
  return 0;
}
