#include "common/paths.h"

#include "platform/files.h"
#include "platform/system.h"

namespace velkor {
namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// The program's folder in the user's data folder.
constexpr wchar_t kUserFolderName[] = L"velkor";

std::wstring SubFolder(const wchar_t* name) {
  const std::wstring path = JoinPath(GetDataDirectory(), name);
  platform::CreateFolder(path);  // an existing folder is the normal case
  return path;
}

}  // namespace

std::wstring GetProgramDirectory() { return ProgramDirectoryOf(platform::ProgramFilePath()); }

std::wstring GetDataDirectory() {
  const std::wstring program = GetProgramDirectory();
  const std::wstring data = DataDirectoryFor(program, platform::IsSystemProgramFolder(program), platform::UserDataFolder());
  // ~/.local/share may not exist yet on a fresh account: every missing level is made.
  if (data != program) CreateFolderPath(data);
  return data;
}

std::wstring DataDirectoryFor(const std::wstring& programDirectory, bool systemFolder,
                              const std::wstring& userDataFolder) {
  if (!systemFolder || userDataFolder.empty()) return programDirectory;
  return JoinPath(userDataFolder, kUserFolderName);
}

std::wstring ProgramDirectoryOf(const std::wstring& file) {
  const size_t cut = file.find_last_of(L"\\/");
  if (cut == std::wstring::npos) return L".";
  return file.substr(0, cut);
}

std::wstring GetResultsDirectory() { return SubFolder(L"results"); }

std::wstring GetExportsDirectory() { return SubFolder(L"exports"); }

std::wstring GetUserDataDirectory() {
  const std::wstring base = platform::UserDataFolder();
  if (base.empty()) return std::wstring();
  const std::wstring folder = JoinPath(base, kUserFolderName);
  return CreateFolderPath(folder) ? folder : std::wstring();
}

bool CreateFolderPath(const std::wstring& folder) {
  for (size_t i = 1; i <= folder.size(); ++i) {
    // Each prefix up to a separator; a drive ("E:") or the root just fails to be made again.
    if (i == folder.size() || IsSeparator(folder[i])) platform::CreateFolder(folder.substr(0, i));
  }
  std::wstring probe = folder;
  while (probe.size() > 1 && IsSeparator(probe.back())) probe.pop_back();
  platform::FileIdentity identity;
  return platform::QueryPathIdentity(probe, &identity);
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
  if (!folder.empty() && IsSeparator(folder.back())) return folder + name;
  return folder + platform::PathSeparator() + name;
}

std::wstring FileNameOfPath(const std::wstring& path) {
  const size_t cut = path.find_last_of(L"\\/");
  return cut == std::wstring::npos ? path : path.substr(cut + 1);
}

std::wstring SanitizeFileName(const std::wstring& text) {
  std::wstring out = text;
  for (wchar_t& c : out) {
    switch (c) {
      case L':': case L'\\': case L'/': case L'*': case L'?':
      case L'"': case L'<': case L'>': case L'|':
        c = L'_';
        break;
      default:
        break;
    }
  }
  return out;
}

}  // namespace velkor
