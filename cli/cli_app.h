// velkor-cli's commands: a test or verify-only run on a folder, exporting a results file and the
// drive table. German messages, like the program.
#pragma once

#include <string>
#include <vector>

namespace velkor {

// Exit codes scripts rely on.
inline constexpr int kExitClean = 0;       // the run completed and found no error
inline constexpr int kExitFound = 1;       // errors or mismatches, or stopped by a failure
inline constexpr int kExitInvalid = 2;     // invalid input, or the run ended in its preflight
inline constexpr int kExitInterrupted = 130;  // stopped with Ctrl-C

// Runs the command line (the arguments after the program name) and returns the exit code. bytes,
// where given, are the same arguments as the system's bytes (platform::CommandLineBytes): one that
// is no valid UTF-8 would name another path once converted, so it is refused with a line that
// shows its bytes (kExitInvalid).
int RunCli(const std::vector<std::wstring>& args, const std::vector<std::string>& bytes = {});

}  // namespace velkor
