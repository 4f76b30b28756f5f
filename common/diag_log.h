// The diagnostic log: German lines into "logs/velkor.log" beside the program (trimmed past
// 10 MiB) and, through the hand-over, into the front-end's log view. Callable from any thread.
#pragma once

#include <cstdint>
#include <string>

namespace velkor {

// Appends "[yyyy-mm-dd hh:mm:ss.mmm] message\r\n" to the log file and hands
// "[hh:mm:ss] message\r\n" to the log view; message begins with the thread's run context's
// prefix (common/handover.h) where it has one. File failures are silent.
void AppendDiagLog(const std::wstring& message);

// Hands text to the status line; it is not logged.
void PostStatusText(const std::wstring& text);

// PostStatusText, then AppendDiagLog.
void PostStatusAndLog(const std::wstring& text);

// The log file path, computed (and its folder created) on first use.
std::wstring GetLogFilePath();

// The last "FEHLER:" log line and the last "Fehler:" status text this thread gave since it last
// asked (empty when none) while a ThreadFailureScope of it lives; asking clears them. A run thread
// that ends on a failure hands them on.
struct ThreadFailure {
  std::wstring statusText;
  std::wstring logLine;
};
ThreadFailure TakeThreadFailure();

// Collects the calling thread's failures while it lives. They live here, on the thread's stack,
// not in a thread_local object with a destructor: MinGW's emulated thread-local storage may be
// freed before such destructors run at thread exit.
class ThreadFailureScope {
 public:
  ThreadFailureScope();
  ~ThreadFailureScope();
  ThreadFailureScope(const ThreadFailureScope&) = delete;
  ThreadFailureScope& operator=(const ThreadFailureScope&) = delete;

 private:
  ThreadFailure failure_;
  ThreadFailure* outer_;
};

// Directs the log to another file from now on (velkor-cli's tests and fault runs keep their logs
// apart). Its folder is created if missing.
void SetLogFilePath(const std::wstring& path);

// platform::SystemErrorName ("Windows-Fehler <code>" on Windows) + ": " + the system text without
// trailing full stops, blanks or line breaks; "Unbekannter Fehler" when the system has no text.
std::wstring FormatWindowsError(uint32_t code);

// The trim rule, exposed for tests: files above this many bytes lose their first kLogTrimCut.
inline constexpr uint64_t kLogTrimThreshold = 10485760;
inline constexpr uint64_t kLogTrimCut = 1048576;

}  // namespace velkor
