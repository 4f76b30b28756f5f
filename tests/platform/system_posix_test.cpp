#include "platform/system.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cwchar>
#include <optional>
#include <string>

namespace velkor::platform {
namespace {

TEST(SystemProgramFolder, OnlyThePackageManagersFolders) {
  const struct {
    const wchar_t* folder;
    bool system;
  } cases[] = {
      {L"/usr/bin", true}, {L"/usr/local/bin", true}, {L"/usr", true}, {L"/bin", true}, {L"/sbin", true},
      {L"/usrx/bin", false}, {L"/binaries", false}, {L"/opt/velkor", false}, {L"/home/ana/velkor", false},
      {L"/media/stick", false}, {L"", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsSystemProgramFolder(c.folder), c.system) << std::string(c.folder, c.folder + wcslen(c.folder));
  }
}

// Sets an environment variable for the scope, or unsets it (null), and restores it afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~ScopedEnv() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(UserDataFolder, XdgDataHomeThenHome) {
  const struct {
    const char* xdg;
    const char* home;
    const wchar_t* expected;
  } cases[] = {
      {"/data/ana", "/home/ana", L"/data/ana"},
      {nullptr, "/home/ana", L"/home/ana/.local/share"},
      {"", "/home/ana", L"/home/ana/.local/share"},
      {"relative/path", "/home/ana", L"/home/ana/.local/share"},  // not absolute: ignored
      {nullptr, nullptr, L""},
  };
  for (const auto& c : cases) {
    ScopedEnv xdg("XDG_DATA_HOME", c.xdg);
    ScopedEnv home("HOME", c.home);
    EXPECT_EQ(UserDataFolder(), c.expected);
  }
}

// The locale variables, most specific first; an empty one counts as unset. C and POSIX are
// English, like any language without its own texts.
TEST(UserInterfaceLanguage, LcAllThenLcMessagesThenLang) {
  const struct {
    const char* all;
    const char* messages;
    const char* lang;
    uint16_t expected;
  } cases[] = {
      {nullptr, nullptr, "de_DE.UTF-8", 0x07},
      {nullptr, "fr_FR.UTF-8", "de_DE.UTF-8", 0x0C},
      {"es_ES.UTF-8", "fr_FR.UTF-8", "de_DE.UTF-8", 0x0A},
      {"", "", "de_AT", 0x07},
      {"C", nullptr, "de_DE.UTF-8", 0x09},
      {nullptr, "POSIX", "fr_FR", 0x09},
      {"C.UTF-8", nullptr, nullptr, 0x09},
      {nullptr, nullptr, nullptr, 0x09},
  };
  for (const auto& c : cases) {
    ScopedEnv all("LC_ALL", c.all);
    ScopedEnv messages("LC_MESSAGES", c.messages);
    ScopedEnv lang("LANG", c.lang);
    EXPECT_EQ(UserInterfaceLanguage(), c.expected) << (c.all ? c.all : "-") << " " << (c.lang ? c.lang : "-");
  }
}

}  // namespace
}  // namespace velkor::platform
