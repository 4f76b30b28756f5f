// The manifests the built programs carry, read from the programs beside this test as the loader
// reads them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/system.h"
#include "platform/text.h"

namespace velkor {
namespace {

// The program's manifest resource (RT_MANIFEST 1) as text; empty when the file or the resource is
// missing.
std::string ManifestOf(const std::wstring& program) {
  HMODULE module = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (module == nullptr) return {};
  std::string text;
  if (HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {
    if (HGLOBAL loaded = LoadResource(module, found)) {
      text.assign(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, found));
    }
  }
  FreeLibrary(module);
  return text;
}

std::wstring Beside(const std::wstring& name) {
  const std::wstring self = platform::ProgramFilePath();
  return self.substr(0, self.find_last_of(L"\\/") + 1) + name;
}

struct ManifestCase {
  const wchar_t* program;
  std::vector<std::string> required;
};

TEST(ProgramManifests, BothProgramsDeclareLongPathsAndTheirWindowsVersions) {
  const std::string windows10 = "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>";
  const std::string longPaths = ">true</longPathAware>";
  const std::string asInvoker = "level=\"asInvoker\"";
  const ManifestCase cases[] = {
      {L"velkor.exe", {windows10, longPaths, asInvoker, "Microsoft.Windows.Common-Controls", "PerMonitorV2"}},
      // Its pipe output is UTF-8; the narrow calls of the runtime speak the same.
      {L"velkor-cli.exe", {windows10, longPaths, asInvoker, ">UTF-8</activeCodePage>"}},
  };
  for (const ManifestCase& c : cases) {
    const std::string manifest = ManifestOf(Beside(c.program));
    ASSERT_FALSE(manifest.empty()) << "no manifest in " << platform::WideToUtf8(c.program);
    for (const std::string& part : c.required) {
      EXPECT_NE(manifest.find(part), std::string::npos) << platform::WideToUtf8(c.program) << " lacks " << part;
    }
  }
}

}  // namespace
}  // namespace velkor
