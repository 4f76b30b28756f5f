#include "cli/cli_console.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cwctype>
#include <mutex>
#include <vector>

#include "cli/cli_app.h"
#include "common/localization.h"
#include "platform/console.h"

namespace velkor {
namespace {

std::atomic<int> gInterrupts{0};
std::atomic<bool> gSessionEnding{false};
std::mutex gRunsMutex;
std::condition_variable gRunsSettled;
int gActiveRuns = 0;  // guarded by gRunsMutex

std::atomic<int> gKeyboardInterrupts{0};

// Only a second key press forces the exit: the system's request to end comes again at once (to the
// process and to its group), and ending then would leave the test files and an unfinished results
// file behind.
void OnInterrupt(platform::InterruptSource source) {
  gInterrupts.fetch_add(1);
  if (source == platform::InterruptSource::kKeyboard && gKeyboardInterrupts.fetch_add(1) >= 1) {
    platform::ExitProcessNow(kExitInterrupted);
  }
}

}  // namespace

void Err(const std::wstring& text) { platform::WriteStandardError(text); }
void Out(const std::wstring& text) { platform::WriteStandardOutput(text); }

std::wstring ConsoleLine(std::wstring line) {
  if (line.size() >= 2 && line.compare(line.size() - 2, 2, L"\r\n") == 0) line.replace(line.size() - 2, 2, L"\n");
  return line;
}

std::wstring Printable(std::wstring text) {
  for (wchar_t& c : text) {
    if (c < 0x20 || (c >= 0x7f && c < 0xa0)) c = L'?';
  }
  return text;
}

bool AskToContinue(std::wstring question) {
  for (size_t at; (at = question.find(L"\r\n")) != std::wstring::npos;) question.replace(at, 2, L"\n");
  Err(question + Translate(L"cli_yes_no"));
  std::wstring answer;
  if (!platform::ReadStandardInputLine(&answer)) return false;
  return IsYesAnswer(answer, CurrentLanguage);
}

bool IsYesAnswer(std::wstring answer, int language) {
  for (wchar_t& c : answer) c = static_cast<wchar_t>(std::towlower(c));
  std::vector<std::wstring> yes = {L"j", L"ja", L"y", L"yes"};
  if (language == kLanguageFrench) yes.insert(yes.end(), {L"o", L"oui"});
  if (language == kLanguageSpanish) yes.insert(yes.end(), {L"s", L"si", L"s\u00ed"});
  return std::find(yes.begin(), yes.end(), answer) != yes.end();
}

void CountInterrupts() {
  platform::InstallInterruptHandler(OnInterrupt);
  platform::InstallSessionEndHandler(EndSessionAndWait);
}

void EndSessionAndWait() {
  // The runs see it as a first Ctrl-C whose reason is the session's end.
  if (!gSessionEnding.exchange(true)) gInterrupts.fetch_add(1);
  std::unique_lock<std::mutex> lock(gRunsMutex);
  gRunsSettled.wait_for(lock, std::chrono::milliseconds(kSessionEndWaitMs), [] { return gActiveRuns == 0; });
}

bool SessionEnding() { return gSessionEnding.load(); }

StopReason InterruptStopReason() { return SessionEnding() ? StopReason::kSessionEnd : StopReason::kUser; }

RunsInProgress::RunsInProgress() {
  std::lock_guard<std::mutex> lock(gRunsMutex);
  ++gActiveRuns;
}

RunsInProgress::~RunsInProgress() {
  std::lock_guard<std::mutex> lock(gRunsMutex);
  --gActiveRuns;
  gRunsSettled.notify_all();
}

int Interrupts() { return gInterrupts.load(); }

}  // namespace velkor
