#include "cli/cli_console.h"

#include <atomic>

#include "cli/cli_app.h"
#include "platform/console.h"

namespace velkor {
namespace {

std::atomic<int> gInterrupts{0};

void OnInterrupt() {
  if (gInterrupts.fetch_add(1) >= 1) platform::ExitProcessNow(kExitInterrupted);
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
  Err(question + L" [j/N] ");
  std::wstring answer;
  if (!platform::ReadStandardInputLine(&answer)) return false;
  return answer == L"j" || answer == L"J" || answer == L"y" || answer == L"Y" || answer == L"ja" || answer == L"yes";
}

void CountInterrupts() { platform::InstallInterruptHandler(OnInterrupt); }

int Interrupts() { return gInterrupts.load(); }

}  // namespace velkor
