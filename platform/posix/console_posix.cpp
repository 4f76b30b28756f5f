#include "platform/console.h"

#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "platform/text.h"

namespace velkor::platform {
namespace {

void (*gInterruptHandler)(InterruptSource) = nullptr;

void OnSignal(int signal) {
  if (gInterruptHandler) gInterruptHandler(signal == SIGINT ? InterruptSource::kKeyboard : InterruptSource::kSystem);
}

void WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

}  // namespace

bool IsStandardErrorTerminal() { return ::isatty(STDERR_FILENO) == 1; }

// A Unix terminal follows them as it is.
bool EnableTerminalSequences() { return IsStandardErrorTerminal(); }
bool IsStandardInputTerminal() { return ::isatty(STDIN_FILENO) == 1; }

void WriteStandardOutput(const std::wstring& text) { WriteAll(STDOUT_FILENO, WideToUtf8(text)); }
void WriteStandardError(const std::wstring& text) { WriteAll(STDERR_FILENO, WideToUtf8(text)); }

bool ReadStandardInputLine(std::wstring* line) {
  std::string bytes;
  if (!std::getline(std::cin, bytes)) return false;
  if (!bytes.empty() && bytes.back() == '\r') bytes.pop_back();
  *line = Utf8ToWide(bytes);
  return true;
}

// No session end reaches a command-line program here but through its terminal.
void InstallSessionEndHandler(void (*)()) {}

void InstallInterruptHandler(void (*handler)(InterruptSource)) {
  gInterruptHandler = handler;
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  // A closed terminal ends the run as cleanly as Ctrl-C; under nohup the hang-up stays ignored.
  struct sigaction hangUp {};
  if (sigaction(SIGHUP, nullptr, &hangUp) == 0 && hangUp.sa_handler != SIG_IGN) sigaction(SIGHUP, &action, nullptr);
}

void ExitProcessNow(int code) { ::_exit(code); }

bool StandardErrorTerminalSize(uint32_t* columns, uint32_t* rows) {
  winsize size{};
  if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_col == 0 || size.ws_row == 0) return false;
  *columns = size.ws_col;
  *rows = size.ws_row;
  return true;
}

}  // namespace velkor::platform

namespace velkor::platform {

std::vector<std::string> CommandLineBytes(int argc, char** argv) {
  return std::vector<std::string>(argv + std::min(argc, 1), argv + argc);
}

std::vector<std::wstring> CommandLineArguments(int argc, char** argv) {
  std::vector<std::wstring> args;
  for (int i = 1; i < argc; ++i) args.push_back(Utf8ToWide(argv[i]));
  return args;
}

}  // namespace velkor::platform
