#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>

#include "common/paths.h"

namespace velkor::testing {
namespace fs = std::filesystem;

TempFolder::TempFolder() {
  static std::atomic<unsigned> counter{0};
  std::random_device random;
  const fs::path base = fs::temp_directory_path();
  for (;;) {
    const fs::path candidate =
        base / ("velkor-test-" + std::to_string(random()) + "-" + std::to_string(counter++));
    std::error_code ec;
    if (fs::create_directory(candidate, ec)) {
      path_ = candidate.wstring();
      break;
    }
  }
}

TempFolder::~TempFolder() {
  std::error_code ec;
  fs::remove_all(fs::path(path_), ec);
}

std::wstring TempFolder::File(const std::wstring& name) const { return JoinPath(path_, name); }

std::string ReadFileBytes(const std::wstring& path) {
  std::ifstream in(fs::path(path), std::ios::binary);
  EXPECT_TRUE(in.good()) << "cannot open " << fs::path(path).string();
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream out(fs::path(path), std::ios::binary | std::ios::trunc);
  ASSERT_TRUE(out.good()) << "cannot create " << fs::path(path).string();
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace velkor::testing
