// Where the program keeps its files: beside the program file, or in the user's own folder for a
// program installed into the system's program folders or lying in a folder the user cannot write
// (Program Files, a write-protected medium).
#pragma once

#include <string>

namespace velkor {

// Folder that holds the running program file, without a trailing separator; "." when the
// system cannot tell.
std::wstring GetProgramDirectory();

// The directory part of a program file path as GetProgramDirectory takes it: everything before the
// last backslash or slash, or "." when there is none.
std::wstring ProgramDirectoryOf(const std::wstring& programFile);

// The folder of the program's own files (logs, results, exports, settings, help): the program's
// folder (a portable copy on a writable stick keeps everything beside itself), or for an installed
// program (platform::IsSystemProgramFolder) and for one whose folder cannot be written the
// per-user folder "velkor" in platform::UserDataFolder (Windows %LOCALAPPDATA%elkor), created if
// missing. Decided once per process. Never a folder the user cannot write only because the
// program lies there.
std::wstring GetDataDirectory();

// GetDataDirectory's choice: userDataFolder + "velkor" when awayFromProgram and userDataFolder is
// known, else programDirectory.
std::wstring DataDirectoryFor(const std::wstring& programDirectory, bool awayFromProgram,
                              const std::wstring& userDataFolder);

// The "Hinweis:" log line that says where the files went because the program's folder cannot be
// written; empty when they lie beside the program or the program is installed.
std::wstring DataDirectoryNote();

// A file can be made in folder (tried: a probe file is made and removed).
bool IsFolderWritable(const std::wstring& folder);

// GetDataDirectory() + "results" / "exports"; the folder is created if missing (on every call, so
// a folder deleted while the program runs comes back).
std::wstring GetResultsDirectory();
std::wstring GetExportsDirectory();

// The per-user folder of the program, "velkor" in platform::UserDataFolder (Windows
// %LOCALAPPDATA%\velkor, elsewhere $XDG_DATA_HOME/velkor or ~/.local/share/velkor), created with
// its parents if missing. Empty when the system names none or it cannot be made. For any rule
// that must keep the program's files away from its own folder.
std::wstring GetUserDataDirectory();

// Creates folder and every missing folder above it. True when the folder exists afterwards.
bool CreateFolderPath(const std::wstring& folder);

// folder + separator + name, without doubling a separator that folder already ends with
// (a drive root such as "E:\").
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);

// The text after the last backslash or slash; the whole text when there is none.
std::wstring FileNameOfPath(const std::wstring& path);

// Replaces each of : \ / * ? " < > | by an underscore.
std::wstring SanitizeFileName(const std::wstring& text);

}  // namespace velkor
