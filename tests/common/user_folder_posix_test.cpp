#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "common/paths.h"
#include "platform/files.h"
#include "platform/text.h"
#include "tests/support/temp_folder.h"

namespace velkor {
namespace {

// Sets an environment variable for the length of a test.
class EnvAt {
 public:
  EnvAt(const char* name, const char* value) : name_(name) {
    const char* saved = std::getenv(name);
    had_ = saved != nullptr;
    if (had_) saved_ = saved;
    if (value) ::setenv(name, value, 1);
    else ::unsetenv(name);
  }
  ~EnvAt() {
    if (had_) ::setenv(name_, saved_.c_str(), 1);
    else ::unsetenv(name_);
  }

 private:
  const char* name_;
  bool had_ = false;
  std::string saved_;
};

bool IsFolder(const std::wstring& path) {
  platform::EntryInfo entry;
  return platform::InspectEntry(path, &entry) && entry.kind == platform::EntryKind::kFolder;
}

TEST(UserDataDirectory, TheXdgPlaceOrTheHomeFallbackMadeWithItsParents) {
  testing::TempFolder folder;
  const std::string base = platform::WideToUtf8(folder.path());
  {
    EnvAt data("XDG_DATA_HOME", (base + "/data").c_str());
    EXPECT_EQ(GetUserDataDirectory(), folder.path() + L"/data/velkor");
    EXPECT_TRUE(IsFolder(folder.path() + L"/data/velkor"));
  }
  {
    // A relative XDG_DATA_HOME does not count.
    EnvAt data("XDG_DATA_HOME", "relative/data");
    EnvAt home("HOME", (base + "/home").c_str());
    EXPECT_EQ(GetUserDataDirectory(), folder.path() + L"/home/.local/share/velkor");
    EXPECT_TRUE(IsFolder(folder.path() + L"/home/.local/share/velkor"));
  }
  {
    // Nowhere to make it: empty, nothing made.
    EnvAt data("XDG_DATA_HOME", nullptr);
    testing::WriteFileBytes(folder.File(L"file"), "x");
    EnvAt home("HOME", (base + "/file").c_str());
    EXPECT_EQ(GetUserDataDirectory(), L"");
  }
}

}  // namespace
}  // namespace velkor
