// Helpers shared by the POSIX implementation files.
#pragma once

#include <cstdint>
#include <string>

#include "platform/text.h"

namespace velkor::platform {

// Windows code nearest to an errno value.
uint32_t WindowsCodeOfErrno(int e);

// Stores the code for errno e as the thread's last error.
void SetLastErrorFromErrno(int e);

// Stores code as the thread's last error, named in messages by errno e (ENOENT for a missing
// folder on the way, which Windows calls "path not found").
void SetLastErrorWithErrno(uint32_t code, int e);

inline std::string NativePath(const std::wstring& path) { return WideToUtf8(path); }

}  // namespace velkor::platform
