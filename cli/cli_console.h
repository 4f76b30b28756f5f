// velkor-cli's console: the outputs, the Yes/No question on a terminal and Ctrl-C.
#pragma once

#include <cstdint>
#include <string>

#include "results/result_record.h"

namespace velkor {

void Err(const std::wstring& text);  // standard error
void Out(const std::wstring& text);  // standard output

// A log-view line as the console shows it: LF instead of CR LF.
std::wstring ConsoleLine(std::wstring line);

// A name from outside (a target, a volume label) as the console shows it: control characters (a
// line break, an escape sequence) become '?', so it cannot break a line or steer the terminal.
std::wstring Printable(std::wstring text);

// Asks a Yes/No question on the terminal in CurrentLanguage; anything but a yes is No.
bool AskToContinue(std::wstring question);

// A yes, in any case: j, ja, y and yes in every language, o and oui in French, s, si and sí in
// Spanish.
bool IsYesAnswer(std::wstring answer, int language);

// Counts Ctrl-C from now on: the first one asks the runs to stop, a second ends the program at
// once with exit code 130. SIGTERM and a hang-up only ask, however often they come. The session's
// end (EndSessionAndWait) counts as a first one too.
void CountInterrupts();

// How long the end of the session waits for the runs to save their results.
inline constexpr uint32_t kSessionEndWaitMs = 20000;

// The session ends (Windows: console closed, logoff, shutdown): asks the runs to stop as
// StopReason::kSessionEnd and returns once no RunsInProgress is left, or after kSessionEndWaitMs.
void EndSessionAndWait();
bool SessionEnding();
// The reason a stop after an interrupt gives: the session's end or the user's Ctrl-C.
StopReason InterruptStopReason();

// Lives from a run's start until its results file is final; the end of the session waits for it.
class RunsInProgress {
 public:
  RunsInProgress();
  ~RunsInProgress();
  RunsInProgress(const RunsInProgress&) = delete;
  RunsInProgress& operator=(const RunsInProgress&) = delete;
};

// How many Ctrl-C came so far.
int Interrupts();

}  // namespace velkor
