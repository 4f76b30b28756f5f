// The command line of velkor-cli. Scripts rely on it: keep it stable.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velkor {

enum class CliCommand { kNone, kTest, kVerify, kExport, kDrives };

struct CliOptions {
  CliCommand command = CliCommand::kNone;
  bool help = false;
  bool version = false;
  std::optional<int> language;  // --lang: kLanguageGerman to kLanguageSpanish

  // test / verify
  std::vector<std::wstring> targets;  // one or more, in the order given
  std::optional<uint64_t> sizeMb, blockKb, workers, reserveMb, testPoints;
  std::optional<uint32_t> profile;  // 0 to 3
  bool methodTest = false;
  bool noRandomPoints = false;
  bool noFastest = false;
  bool deleteAtEnd = false;
  bool yes = false;
  bool systemDrive = false;  // a test may write to the system drive
  std::wstring resultsDir;
  std::optional<uint64_t> parallel;  // runs at once over several targets; at least 1
  std::wstring summaryJson;          // where the end table goes as JSON; empty: nowhere

  // export
  std::wstring exportInput;
  std::optional<uint32_t> exportFormat;  // index of the export format, 0 to 5
  std::wstring exportOutput;
};

// Parses the arguments after the program name. On failure returns false with a one-line error
// text in CurrentLanguage that names the argument and, where one is close, what was probably meant.
bool ParseCliArgs(const std::vector<std::wstring>& args, CliOptions* options, std::wstring* error);

// The terminal's language: that of the last valid --lang before "--", else platformLanguage.
// Known before the arguments are parsed, so their errors speak it too.
int CliLanguage(const std::vector<std::wstring>& args, int platformLanguage);

// The help text of a command, in CurrentLanguage (kNone: the overview): every option it takes, each with its default;
// the profiles' worker defaults as they come out on a machine with cpuCount processors, and
// resultsFolder as --results-dir's.
std::wstring CliHelpText(CliCommand command, uint32_t cpuCount, const std::wstring& resultsFolder);

// "velkor-cli <version>" and the licence line.
std::wstring CliVersionText();

}  // namespace velkor
