// Error codes of the platform layer. They are Windows error codes on every platform, so the
// engine's messages and decisions are one; the POSIX side maps errno onto the nearest code.
#pragma once

#include <cstdint>
#include <string>

namespace velkor::platform {

inline constexpr uint32_t kErrorFileNotFound = 2;
inline constexpr uint32_t kErrorPathNotFound = 3;
inline constexpr uint32_t kErrorAccessDenied = 5;
inline constexpr uint32_t kErrorInvalidHandle = 6;
inline constexpr uint32_t kErrorNotEnoughMemory = 8;
inline constexpr uint32_t kErrorWriteProtect = 19;
inline constexpr uint32_t kErrorNotReady = 21;
inline constexpr uint32_t kErrorWriteFault = 29;
inline constexpr uint32_t kErrorReadFault = 30;
inline constexpr uint32_t kErrorSharingViolation = 32;
inline constexpr uint32_t kErrorHandleEof = 38;
inline constexpr uint32_t kErrorNotSupported = 50;
inline constexpr uint32_t kErrorFileExists = 80;
inline constexpr uint32_t kErrorInvalidParameter = 87;
inline constexpr uint32_t kErrorDiskFull = 112;
inline constexpr uint32_t kErrorInvalidName = 123;
inline constexpr uint32_t kErrorAlreadyExists = 183;
inline constexpr uint32_t kErrorFilenameTooLong = 206;
inline constexpr uint32_t kErrorFileTooLarge = 223;
inline constexpr uint32_t kErrorNoSuchDevice = 433;
inline constexpr uint32_t kErrorFileSystemLimitation = 665;
inline constexpr uint32_t kErrorFileInvalid = 1006;  // the volume went away under an open file (POSIX: ENOTCONN)
inline constexpr uint32_t kErrorIoDevice = 1117;
inline constexpr uint32_t kErrorDeviceNotConnected = 1167;  // POSIX: ENXIO

// The calling thread's last error code (GetLastError semantics).
uint32_t LastError();

// Sets the calling thread's last error code (SetLastError semantics).
void SetLastError(uint32_t code);

// The system's text for a code, without any trailing line break. Returns false when the system
// has no text for it.
bool SystemErrorText(uint32_t code, std::wstring* text);

// How messages name a code, as the platform names its errors: "Windows-Fehler 5" on Windows; on
// Linux the error the code came from, "Linux-Fehler 13 (EACCES)", and "Fehler N" for a code no
// system error stands for. SystemErrorText speaks of the same error.
std::wstring SystemErrorName(uint32_t code);

// True when a failed open with this code may mean that another program holds the file for a
// moment (a virus scanner, an indexer): Windows sharing and access errors; on Linux only a busy
// answer, never access denied.
bool MayBeHeldByAnotherProgram(uint32_t code);

}  // namespace velkor::platform
