// Where the program keeps its files: everything lives beside the program file.
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

// folder + separator + name, without doubling a separator that folder already ends with
// (a drive root such as "E:\").
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);

// The text after the last backslash or slash; the whole text when there is none.
std::wstring FileNameOfPath(const std::wstring& path);

// Replaces each of : \ / * ? " < > | by an underscore.
std::wstring SanitizeFileName(const std::wstring& text);

}  // namespace velkor
