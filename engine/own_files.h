// The program's own files while it tests the drive it was started from: its log and results go
// to the per-user folder, where a drive that wraps its writes around cannot overwrite them.
#pragma once

#include <string>

namespace velkor {

// Keeps the log and the results files from now on in the per-user folder (GetUserDataDirectory,
// subfolders "logs" and "results"), the help files in that folder itself; with moveResults false
// a results folder chosen by the user stays. Returns the "Hinweis:" line that says where they
// went (or, when no per-user folder can be made, that they stay beside the program), for the
// caller to log where the run's log begins.
std::wstring MoveOwnFilesToUserFolder(bool moveResults);

}  // namespace velkor
