// The console of a command-line program: text out, a line in, Ctrl-C.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velkor::platform {

bool IsStandardErrorTerminal();
bool IsStandardInputTerminal();

// Makes the terminal behind standard error follow escape sequences (cursor and erase); a Windows
// console needs them switched on. False where they stay plain text: a console without that mode
// (before Windows 10) or no terminal at all.
bool EnableTerminalSequences();

// Writes text as UTF-8 (or as wide text to a Windows console); "\n" ends lines.
void WriteStandardOutput(const std::wstring& text);
void WriteStandardError(const std::wstring& text);

// Reads one line from standard input without its line end; false at end of input.
bool ReadStandardInputLine(std::wstring* line);

// Where an interrupt came from: a key the user pressed (Ctrl-C, Ctrl-Break), or the system asking
// the process to end (SIGTERM, a hang-up), which often arrives twice at once: to the process and
// to its process group.
enum class InterruptSource { kKeyboard, kSystem };

// Calls handler on every Ctrl-C (Ctrl-Break on Windows; SIGTERM and a hang-up on Linux) instead of
// ending the process. The handler runs in a signal context or on a system thread: it may only
// store atomics or exit.
void InstallInterruptHandler(void (*handler)(InterruptSource));

// Calls handler when the session ends under the program: on Windows the console window closing,
// logoff or shutdown (console events, and the session messages to a hidden window of the program's,
// whose class is kSessionWindowClass). The handler runs on a thread of the system's or that
// window's and blocks as long as it must: the process may end as soon as it returns. Elsewhere
// nothing calls it.
inline constexpr wchar_t kSessionWindowClass[] = L"VelkorCliSession";
void InstallSessionEndHandler(void (*handler)());

// Ends the process at once with the code, without running destructors.
[[noreturn]] void ExitProcessNow(int code);

// The visible size of the terminal behind standard error, in characters. False without one.
bool StandardErrorTerminalSize(uint32_t* columns, uint32_t* rows);

}  // namespace velkor::platform

namespace velkor::platform {

// The program's arguments after its name, as wide text (Windows reads its own command line, so
// no character is lost to the ANSI code page).
std::vector<std::wstring> CommandLineArguments(int argc, char** argv);

// The same arguments as the bytes the system gave, where it gives bytes (POSIX), for a check that
// they are text at all; empty on Windows, whose arguments come as UTF-16.
std::vector<std::string> CommandLineBytes(int argc, char** argv);

}  // namespace velkor::platform
