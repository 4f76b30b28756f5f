#include "common/paths.h"

#include "platform/errors.h"
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

// Where the program's files go, decided once per process: a run must not change its folders.
struct DataFolderChoice {
  std::wstring program;
  std::wstring data;
  bool programUnwritable = false;  // not installed, and its folder cannot be written
};

const DataFolderChoice& Choice() {
  static const DataFolderChoice choice = [] {
    DataFolderChoice c;
    c.program = GetProgramDirectory();
    const bool installed = platform::IsSystemProgramFolder(c.program);
    c.programUnwritable = !installed && !IsFolderWritable(c.program);
    c.data = DataDirectoryFor(c.program, installed || c.programUnwritable, platform::UserDataFolder());
    return c;
  }();
  return choice;
}

}  // namespace

std::wstring GetProgramDirectory() { return ProgramDirectoryOf(platform::ProgramFilePath()); }

std::wstring GetDataDirectory() {
  const DataFolderChoice& choice = Choice();
  // ~/.local/share may not exist yet on a fresh account: every missing level is made.
  if (choice.data != choice.program) CreateFolderPath(choice.data);
  return choice.data;
}

std::wstring DataDirectoryFor(const std::wstring& programDirectory, bool awayFromProgram,
                              const std::wstring& userDataFolder) {
  if (!awayFromProgram || userDataFolder.empty()) return programDirectory;
  return JoinPath(userDataFolder, kUserFolderName);
}

std::wstring DataDirectoryNote() {
  const DataFolderChoice& choice = Choice();
  if (!choice.programUnwritable || choice.data == choice.program) return L"";
  return L"Hinweis: Der Programmordner " + choice.program + L" ist nicht beschreibbar. Ergebnisse, Exporte, " +
         L"Logdatei und Einstellungen liegen deshalb in " + choice.data;
}

bool IsFolderWritable(const std::wstring& folder) {
  // A file made and removed again: only that tells (an attribute or a mode bit does not, for one
  // on a write-protected medium or under another user's folder rights).
  const std::wstring probe = JoinPath(folder, L"velkor-schreibprobe.tmp");
  platform::FileHandle file = platform::CreateFileNew(probe);
  if (!file.valid()) {
    // One left by a program that ended before it could remove it: writable when it can go now.
    return platform::LastError() == platform::kErrorFileExists && platform::DeleteFileAtPath(probe);
  }
  platform::CloseFile(file);
  platform::DeleteFileAtPath(probe);
  return true;
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
