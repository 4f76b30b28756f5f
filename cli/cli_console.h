// velkor-cli's console: the outputs, the Yes/No question on a terminal and Ctrl-C.
#pragma once

#include <string>

namespace velkor {

void Err(const std::wstring& text);  // standard error
void Out(const std::wstring& text);  // standard output

// A log-view line as the console shows it: LF instead of CR LF.
std::wstring ConsoleLine(std::wstring line);

// A name from outside (a target, a volume label) as the console shows it: control characters (a
// line break, an escape sequence) become '?', so it cannot break a line or steer the terminal.
std::wstring Printable(std::wstring text);

// Asks a Yes/No question on the terminal; anything but a yes is No.
bool AskToContinue(std::wstring question);

// Counts Ctrl-C from now on: the first one asks the runs to stop, a second ends the program at
// once with exit code 130.
void CountInterrupts();

// How many Ctrl-C came so far.
int Interrupts();

}  // namespace velkor
