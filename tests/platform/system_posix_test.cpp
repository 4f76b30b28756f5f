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

}  // namespace
}  // namespace velkor::platform
