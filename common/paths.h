// Where the program keeps its files: beside the program file, or in the user's own folder where
// the program's folder is no place for them.
#pragma once

#include <string>

namespace velkor {

// Folder that holds the running program file, without a trailing separator; "." when the
// system cannot tell.
std::wstring GetProgramDirectory();

// The directory part of a program file path as GetProgramDirectory takes it: everything before the
// last backslash or slash, or "." when there is none.
std::wstring ProgramDirectoryOf(const std::wstring& programFile);

// Program directory + "results" / "exports"; the folder is created if missing (on every call, so
// a folder deleted while the program runs comes back).
std::wstring GetResultsDirectory();
std::wstring GetExportsDirectory();

// The per-user folder of the program (Windows %LOCALAPPDATA%\Velkor, elsewhere
// $XDG_DATA_HOME/velkor or ~/.local/share/velkor), created with its parents if missing. Empty when
// the system names none or it cannot be created.
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
