#include "common/diag_log.h"

#include <mutex>
#include <string>

#include "common/format.h"
#include "common/handover.h"
#include "common/paths.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/text.h"

namespace velkor {
namespace {

std::mutex gLogMutex;
std::wstring gLogPath;  // guarded by gLogMutex
// Lines that could not be written yet (another program held the file): they go first next time.
std::string gUnwritten;  // guarded by gLogMutex
// Bounds what waits while the file stays held; the oldest waiting lines go first.
constexpr size_t kUnwrittenLimit = 1048576;

// REQUIRES: gLogMutex held.
const std::wstring& LogPathLocked() {
  if (gLogPath.empty()) {
    const std::wstring folder = JoinPath(GetDataDirectory(), L"logs");
    platform::CreateFolder(folder);
    gLogPath = JoinPath(folder, L"velkor.log");
  }
  return gLogPath;
}

// REQUIRES: gLogMutex held. Appends bytes after any lines still waiting; what cannot be written
// waits for the next call (the file is shared for writing, but a program may hold it without
// sharing it at all for a while).
void AppendToLogFile(const std::string& bytes) {
  gUnwritten += bytes;
  if (gUnwritten.size() > kUnwrittenLimit) {
    const size_t cut = gUnwritten.find('\n', gUnwritten.size() - kUnwrittenLimit);
    gUnwritten.erase(0, cut == std::string::npos ? gUnwritten.size() - kUnwrittenLimit : cut + 1);
  }
  if (gUnwritten.empty()) return;
  platform::FileHandle file = platform::OpenFileForAppend(LogPathLocked());
  if (!file.valid()) return;
  uint32_t done = 0;
  if (platform::WriteFileSequential(file, gUnwritten.data(), static_cast<uint32_t>(gUnwritten.size()), &done)) {
    gUnwritten.erase(0, done);
  }
  platform::CloseFile(file);
}

// Cuts the first kLogTrimCut bytes of a file larger than kLogTrimThreshold. The cut falls at a byte
// offset, not a line boundary; the notice that follows begins with CR LF for that reason.
bool TrimLogFileIfNeeded() {
  const std::wstring& path = LogPathLocked();
  uint64_t size = 0;
  if (!platform::GetFileSizeByPath(path, &size)) return false;
  if (size <= kLogTrimThreshold) return false;
  const uint64_t cut = size < kLogTrimCut ? size : kLogTrimCut;
  const uint64_t keep = size - cut;
  std::string kept(static_cast<size_t>(keep), '\0');

  platform::FileHandle in = platform::OpenFileForRead(path);
  if (!in.valid()) return false;
  uint64_t done = 0;
  while (done < keep) {
    const uint64_t left = keep - done;
    const uint32_t request = static_cast<uint32_t>(left < kLogTrimCut ? left : kLogTrimCut);
    uint32_t got = 0;
    if (!platform::ReadFileAt(in, cut + done, kept.data() + done, request, &got) || got == 0) break;
    done += got;
  }
  platform::CloseFile(in);
  kept.resize(static_cast<size_t>(done));

  platform::FileHandle out = platform::CreateFileTruncate(path);
  if (!out.valid()) return false;
  if (!kept.empty()) {
    uint32_t written = 0;
    platform::WriteFileSequential(out, kept.data(), static_cast<uint32_t>(kept.size()), &written);
  }
  platform::CloseFile(out);
  return true;
}

}  // namespace

std::wstring GetLogFilePath() {
  std::lock_guard<std::mutex> lock(gLogMutex);
  return LogPathLocked();
}

void SetLogFilePath(const std::wstring& path) {
  const size_t cut = path.find_last_of(L"\\/");
  if (cut != std::wstring::npos && cut > 0) platform::CreateFolder(path.substr(0, cut));
  std::lock_guard<std::mutex> lock(gLogMutex);
  gLogPath = path;
  gUnwritten.clear();
}

namespace {
// Trivially destructible: see ThreadFailureScope.
thread_local ThreadFailure* tFailure = nullptr;
}  // namespace

ThreadFailureScope::ThreadFailureScope() : outer_(tFailure) { tFailure = &failure_; }

ThreadFailureScope::~ThreadFailureScope() { tFailure = outer_; }

ThreadFailure TakeThreadFailure() {
  if (tFailure == nullptr) return {};
  ThreadFailure failure = std::move(*tFailure);
  *tFailure = ThreadFailure{};
  return failure;
}

void AppendDiagLog(const std::wstring& text) {
  if (tFailure != nullptr && text.rfind(L"FEHLER:", 0) == 0) tFailure->logLine = text;
  const auto& context = ThreadRunContext();
  const std::wstring message = context ? context->logPrefix + text : text;
  const std::wstring fileLine = L"[" + MakeLogTimestamp() + L"] " + message + L"\r\n";
  {
    std::lock_guard<std::mutex> lock(gLogMutex);
    if (TrimLogFileIfNeeded()) {
      AppendToLogFile(platform::WideToUtf8(
          L"\r\n[" + MakeLogTimestamp() + L"] LOG gekürzt: erste ca. 1 MB entfernt.\r\n"));
    }
    AppendToLogFile(platform::WideToUtf8(fileLine));
  }
  const auto receiver = CurrentUiReceiver();
  if (receiver && receiver->logLine) {
    receiver->logLine(L"[" + MakeClockTime() + L"] " + message + L"\r\n");
  }
}

void PostStatusText(const std::wstring& text) {
  if (tFailure != nullptr && text.rfind(L"Fehler:", 0) == 0) tFailure->statusText = text;
  const auto receiver = CurrentUiReceiver();
  if (receiver && receiver->statusText) receiver->statusText(text);
}

void PostStatusAndLog(const std::wstring& text) {
  PostStatusText(text);
  AppendDiagLog(text);
}

std::wstring FormatWindowsError(uint32_t code) {
  std::wstring text;
  if (!platform::SystemErrorText(code, &text) || text.empty()) text = L"Unbekannter Fehler";
  while (!text.empty()) {
    const wchar_t last = text.back();
    if (last != L'\r' && last != L'\n' && last != L'.' && last != L' ') break;
    text.pop_back();
  }
  return platform::SystemErrorName(code) + L": " + text;
}

}  // namespace velkor
