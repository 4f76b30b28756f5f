// A fresh folder for one test, removed with everything in it when the test ends.
#pragma once

#include <string>

namespace velkor::testing {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::wstring& path() const { return path_; }
  // path() + separator + name.
  std::wstring File(const std::wstring& name) const;

 private:
  std::wstring path_;
};

// Whole-file helpers for tests; they fail the test on error.
std::string ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);

}  // namespace velkor::testing
