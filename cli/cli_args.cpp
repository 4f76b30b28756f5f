#include "cli/cli_args.h"

#include <cstdint>
#include <cwctype>

#include "cli/batch_schedule.h"
#include "cli/cli_suggest.h"
#include "common/localization.h"
#include "common/version.h"
#include "engine/run_config.h"
#include "engine/start_rules.h"

namespace velkor {
namespace {

enum class Opt : uint8_t {
  kSize, kBlock, kWorkers, kProfile, kReserve, kTestPoints, kResultsDir,
  kParallel, kSummaryJson, kMethodTest, kNoRandomPoints, kNoFastest, kDelete, kYes, kSystemDrive,
  kFormat, kOutput, kLang,
};

// Which commands take an option.
enum : unsigned { kOnTest = 1, kOnVerify = 2, kOnExport = 4, kOnDrives = 8 };
constexpr unsigned kSizing = kOnTest | kOnVerify;
constexpr unsigned kOnAll = kOnTest | kOnVerify | kOnExport | kOnDrives;

// One option: the parser and the help read the same table, so help lists every option there is.
struct OptionSpec {
  Opt id;
  const wchar_t* name;
  unsigned commands;
  // The texts are keys of the text table; a text that is no key (a number, "MB") shows as it is.
  const wchar_t* value;      // what the value is; null for a switch
  const wchar_t* text;
  const wchar_t* byDefault;  // what holds without the option; null: computed (OptionsHelp)
};

const OptionSpec kOptions[] = {
    {Opt::kSize, L"--size", kOnTest, L"MB", L"cli_opt_size_test", L"cli_def_size_test"},
    {Opt::kSize, L"--size", kOnVerify, L"MB", L"cli_opt_size_verify", L"cli_def_size_verify"},
    {Opt::kBlock, L"--block", kSizing, L"KB", L"cli_opt_block", L"cli_def_block"},
    {Opt::kWorkers, L"--workers", kSizing, L"N", L"cli_opt_workers", nullptr},
    {Opt::kProfile, L"--profile", kSizing, L"P", L"cli_opt_profile", L"cli_def_profile"},
    {Opt::kReserve, L"--reserve", kSizing, L"MB", L"cli_opt_reserve", L"cli_def_reserve"},
    {Opt::kTestPoints, L"--test-points", kSizing, L"N", L"cli_opt_test_points", L"3"},
    {Opt::kResultsDir, L"--results-dir", kSizing, L"DIR", L"cli_opt_results_dir", nullptr},
    {Opt::kParallel, L"--parallel", kSizing, L"N", L"cli_opt_parallel", nullptr},
    {Opt::kSummaryJson, L"--summary-json", kSizing, L"cli_value_file", L"cli_opt_summary_json", L"cli_def_none"},
    {Opt::kMethodTest, L"--method-test", kOnTest, nullptr, L"cli_opt_method_test", L"cli_def_off"},
    {Opt::kNoRandomPoints, L"--no-random-points", kOnTest, nullptr, L"cli_opt_no_random_points",
     L"cli_def_no_random_points"},
    {Opt::kNoFastest, L"--no-fastest", kOnTest, nullptr, L"cli_opt_no_fastest", L"cli_def_no_fastest"},
    {Opt::kDelete, L"--delete", kOnTest, nullptr, L"cli_opt_delete", L"cli_def_delete"},
    {Opt::kYes, L"--yes", kOnTest, nullptr, L"cli_opt_yes", L"cli_def_yes"},
    {Opt::kSystemDrive, L"--system-drive", kOnTest, nullptr, L"cli_opt_system_drive", L"cli_def_system_drive"},
    {Opt::kFormat, L"--format", kOnExport, L"cli_value_format", L"csv | xls | text | formatted | json | pdf",
     L"cli_def_required"},
    {Opt::kOutput, L"--output", kOnExport, L"cli_value_file", L"cli_opt_output", L"cli_def_required"},
    {Opt::kLang, L"--lang", kOnAll, L"cli_value_language", L"cli_opt_lang", L"cli_def_lang"},
};

struct CommandSpec {
  CliCommand command;
  const wchar_t* name;
  unsigned bit;
};

const CommandSpec kCommands[] = {
    {CliCommand::kTest, L"test", kOnTest},
    {CliCommand::kVerify, L"verify", kOnVerify},
    {CliCommand::kExport, L"export", kOnExport},
    {CliCommand::kDrives, L"drives", kOnDrives},
};

bool IsDigits(const std::wstring& text) {
  if (text.empty() || text.size() > 18) return false;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return false;
  }
  return true;
}

// An argument as an error message shows it: control characters (a line break, an escape
// sequence) become '?', so the message stays one line and cannot steer the terminal.
std::wstring Shown(std::wstring text) {
  for (wchar_t& c : text) {
    if (c < 0x20 || (c >= 0x7f && c < 0xa0)) c = L'?';
  }
  return text;
}

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

const std::vector<std::wstring> kProfileNames = {L"turbo", L"ausgeglichen", L"zuverlaessig", L"quorvel"};
const std::vector<std::wstring> kFormatNames = {L"csv", L"xls", L"text", L"formatted", L"json", L"pdf"};

bool ParseProfile(const std::wstring& value, uint32_t* profile) {
  const std::wstring v = Lower(value);
  if (v == L"zuverlässig") {
    *profile = kProfileReliable;
    return true;
  }
  for (uint32_t i = 0; i < kProfileNames.size(); ++i) {
    if (v == kProfileNames[i] || v == std::to_wstring(i)) {
      *profile = i;
      return true;
    }
  }
  return false;
}

// "de", "en", "fr" or "es" in any case.
bool ParseLanguage(const std::wstring& value, int* language) {
  const std::wstring v = Lower(value);
  for (int l = 0; l < kLanguageCount; ++l) {
    if (v == LanguageCode(l)) {
      *language = l;
      return true;
    }
  }
  return false;
}

bool ParseFormat(const std::wstring& value, uint32_t* format) {
  const std::wstring v = Lower(value);
  for (uint32_t i = 0; i < kFormatNames.size(); ++i) {
    if (v == kFormatNames[i]) {
      *format = i;
      return true;
    }
  }
  return false;
}

const OptionSpec* FindOption(const std::wstring& name, unsigned bit) {
  for (const OptionSpec& o : kOptions) {
    if ((o.commands & bit) != 0 && name == o.name) return &o;
  }
  return nullptr;
}

std::wstring CommandsTaking(const std::wstring& name) {
  std::wstring text;
  for (const CommandSpec& c : kCommands) {
    if (FindOption(name, c.bit) == nullptr) continue;
    text += (text.empty() ? L"" : Translate(L"cli_and")) + std::wstring(c.name);
  }
  return text;
}

std::vector<std::wstring> OptionNames(unsigned bit) {
  std::vector<std::wstring> names;
  for (const OptionSpec& o : kOptions) {
    if ((o.commands & bit) != 0) names.push_back(o.name);
  }
  names.push_back(L"--help");
  return names;
}

std::wstring HelpHint(const wchar_t* command) {
  return command != nullptr ? FormatText(L"cli_help_hint_command", {command}) : Translate(L"cli_help_hint");
}

// The error for an argument before the command or in the command's place.
std::wstring UnknownCommand(const std::wstring& arg) {
  if (arg.size() > 1 && arg[0] == L'-') {
    const std::wstring takers = CommandsTaking(arg);
    if (!takers.empty()) {
      return FormatText(L"cli_option_before_command", {Shown(arg), Shown(arg), takers}) + HelpHint(nullptr);
    }
    return FormatText(L"cli_unknown_option", {Shown(arg)}) + SuggestionText(arg, {L"--help", L"--version"}) +
           HelpHint(nullptr);
  }
  std::vector<std::wstring> names;
  for (const CommandSpec& c : kCommands) names.push_back(c.name);
  return FormatText(L"cli_unknown_command", {Shown(arg)}) + SuggestionText(arg, names) + HelpHint(nullptr);
}

// words after row, wrapped at 80 columns; a continued line starts at indent.
std::wstring Wrapped(std::wstring row, const std::wstring& words, size_t indent) {
  constexpr size_t kWidth = 80;
  std::wstring lines;
  size_t start = 0;
  bool first = true;
  while (start < words.size()) {
    size_t end = words.find(L' ', start);
    if (end == std::wstring::npos) end = words.size();
    const std::wstring word = words.substr(start, end - start);
    const size_t column = row.size() - (row.rfind(L'\n') + 1);  // npos + 1 is 0
    if (!first && column + 1 + word.size() > kWidth) {
      lines += row + L"\n";
      row = std::wstring(indent, L' ') + word;
    } else {
      row += (first && (row.empty() || row.back() == L' ') ? L"" : L" ") + word;
    }
    first = false;
    start = end + 1;
  }
  return lines + row + L"\n";
}

// "  --name VALUE   text" and below it the default, both wrapped at 80 columns under the text.
std::wstring HelpLine(const std::wstring& left, const std::wstring& text, const std::wstring& byDefault) {
  constexpr size_t kColumn = 23;
  std::wstring line = L"  " + left;
  line += line.size() < kColumn ? std::wstring(kColumn - line.size(), L' ') : L"\n" + std::wstring(kColumn, L' ');
  line = Wrapped(line, text, kColumn);
  if (byDefault.empty()) return line;
  return line + Wrapped(std::wstring(kColumn, L' ') + Translate(L"cli_default"), byDefault, kColumn + 2);
}

std::wstring WorkersDefault(uint32_t cpuCount) {
  std::wstring counts;
  for (uint32_t p = 0; p < kProfileNames.size(); ++p) {
    counts += (p > 0 ? L", " : L"") + kProfileNames[p] + L" " + std::to_wstring(ProfileDefaultsFor(p, cpuCount).workers);
  }
  return FormatText(L"cli_def_workers", {counts});
}

std::wstring ParallelDefault(uint32_t cpuCount) {
  return FormatText(L"cli_def_parallel", {std::to_wstring(MaxParallelRuns(cpuCount))});
}

std::wstring OptionsHelp(unsigned bit, uint32_t cpuCount, const std::wstring& resultsFolder) {
  std::wstring text = Translate(L"cli_options") + L"\n";
  for (const OptionSpec& o : kOptions) {
    if ((o.commands & bit) == 0) continue;
    std::wstring byDefault;
    if (o.byDefault != nullptr) byDefault = Translate(o.byDefault);
    else if (o.id == Opt::kWorkers) byDefault = WorkersDefault(cpuCount);
    else if (o.id == Opt::kResultsDir) byDefault = resultsFolder;
    else if (o.id == Opt::kParallel) byDefault = ParallelDefault(cpuCount);
    text += HelpLine(std::wstring(o.name) + (o.value != nullptr ? L" " + Translate(o.value) : L""), Translate(o.text),
                     byDefault);
  }
  return text + HelpLine(L"-h, --help", Translate(L"cli_this_help"), L"");
}

}  // namespace

bool ParseCliArgs(const std::vector<std::wstring>& args, CliOptions* options, std::wstring* error) {
  *options = CliOptions{};
  size_t i = 0;
  // The language may come before the command too.
  while (i < args.size() && args[i] == L"--lang") {
    int language = 0;
    if (i + 1 >= args.size() || args[i + 1].compare(0, 2, L"--") == 0) {
      *error = FormatText(L"cli_missing_value", {L"--lang", Translate(L"cli_value_language")}) + HelpHint(nullptr);
      return false;
    }
    if (!ParseLanguage(args[i + 1], &language)) {
      *error = FormatText(L"cli_unknown_language", {Shown(args[i + 1])});
      return false;
    }
    options->language = language;
    i += 2;
  }
  if (i < args.size() && (args[i] == L"--help" || args[i] == L"-h" || args[i] == L"help")) {
    options->help = true;
    return true;
  }
  if (i < args.size() && args[i] == L"--version") {
    options->version = true;
    return true;
  }
  if (i >= args.size()) {
    *error = Translate(L"cli_no_command") + HelpHint(nullptr);
    return false;
  }
  const std::wstring& name = args[i++];
  const CommandSpec* command = nullptr;
  for (const CommandSpec& c : kCommands) {
    if (name == c.name) command = &c;
  }
  if (command == nullptr) {
    *error = UnknownCommand(name);
    return false;
  }
  options->command = command->command;
  std::vector<std::wstring> positional;
  bool optionsEnded = false;

  while (i < args.size()) {
    const std::wstring& arg = args[i++];
    // A single dash alone is a name; any other argument starting with one is an option.
    if (optionsEnded || arg.size() < 2 || arg[0] != L'-') {
      positional.push_back(arg);
      continue;
    }
    if (arg == L"--") {  // what follows is a target or file, even when it starts with "-"
      optionsEnded = true;
      continue;
    }
    if (arg == L"--help" || arg == L"-h") {
      options->help = true;
      return true;
    }
    const OptionSpec* spec = FindOption(arg, command->bit);
    if (spec == nullptr) {
      const std::wstring elsewhere = CommandsTaking(arg);
      if (!elsewhere.empty()) {
        *error = FormatText(L"cli_option_elsewhere", {command->name, Shown(arg), elsewhere}) + HelpHint(command->name);
      } else {
        *error = FormatText(L"cli_unknown_option", {Shown(arg)}) + SuggestionText(arg, OptionNames(command->bit)) +
                 HelpHint(command->name);
      }
      return false;
    }
    // The value; an option in its place means it was left out.
    std::wstring value;
    if (spec->value != nullptr) {
      if (i >= args.size() || args[i].compare(0, 2, L"--") == 0) {
        *error = FormatText(L"cli_missing_value", {Shown(arg), Translate(spec->value)}) + HelpHint(command->name);
        return false;
      }
      value = args[i++];
    }
    auto number = [&](std::optional<uint64_t>* out) {
      if (!IsDigits(value)) {
        *error = FormatText(L"cli_bad_number", {Shown(arg), Shown(value)});
        return false;
      }
      *out = std::stoull(value);  // at most 18 digits: fits
      return true;
    };
    // A number the run could never take: the option and what it takes, before anything starts.
    auto ranged = [&](std::optional<uint64_t>* out, uint64_t low, uint64_t high, const wchar_t* allowed) {
      if (!number(out)) return false;
      if (**out >= low && **out <= high) return true;
      *error = FormatText(L"cli_bad_value", {Shown(arg), value, Translate(allowed)});
      return false;
    };
    switch (spec->id) {
      case Opt::kSize: if (!ranged(&options->sizeMb, 1, UINT64_MAX / 1048576, L"cli_allowed_size")) return false; break;
      case Opt::kBlock: if (!ranged(&options->blockKb, 4, UINT32_MAX / 1024, L"cli_allowed_block")) return false; break;
      case Opt::kWorkers: if (!ranged(&options->workers, 1, UINT32_MAX, L"cli_allowed_from_one")) return false; break;
      case Opt::kReserve: if (!number(&options->reserveMb)) return false; break;
      case Opt::kTestPoints: if (!ranged(&options->testPoints, 1, UINT32_MAX, L"cli_allowed_from_one")) return false; break;
      case Opt::kProfile: {
        uint32_t profile = 0;
        if (!ParseProfile(value, &profile)) {
          *error = FormatText(L"cli_unknown_profile", {Shown(value)}) + SuggestionText(value, kProfileNames) +
                   Translate(L"cli_profile_choices");
          return false;
        }
        options->profile = profile;
        break;
      }
      case Opt::kResultsDir: options->resultsDir = value; break;
      case Opt::kParallel:
        if (!number(&options->parallel)) return false;
        if (*options->parallel == 0) {
          *error = Translate(L"cli_parallel_at_least_one");
          return false;
        }
        break;
      case Opt::kSummaryJson: options->summaryJson = value; break;
      case Opt::kMethodTest: options->methodTest = true; break;
      case Opt::kNoRandomPoints: options->noRandomPoints = true; break;
      case Opt::kNoFastest: options->noFastest = true; break;
      case Opt::kDelete: options->deleteAtEnd = true; break;
      case Opt::kYes: options->yes = true; break;
      case Opt::kSystemDrive: options->systemDrive = true; break;
      case Opt::kFormat: {
        uint32_t format = 0;
        if (!ParseFormat(value, &format)) {
          *error = FormatText(L"cli_unknown_format", {Shown(value)}) + SuggestionText(value, kFormatNames) +
                   Translate(L"cli_format_choices");
          return false;
        }
        options->exportFormat = format;
        break;
      }
      case Opt::kOutput: options->exportOutput = value; break;
      case Opt::kLang: {
        int language = 0;
        if (!ParseLanguage(value, &language)) {
          *error = FormatText(L"cli_unknown_language", {Shown(value)});
          return false;
        }
        options->language = language;
        break;
      }
    }
  }

  switch (options->command) {
    case CliCommand::kTest:
    case CliCommand::kVerify:
      if (positional.empty()) {
        *error = Translate(L"cli_no_target") + HelpHint(command->name);
        return false;
      }
      options->targets = positional;
      break;
    case CliCommand::kExport:
      if (positional.size() != 1) {
        *error = positional.empty() ? Translate(L"cli_no_results_file") + HelpHint(command->name)
                                    : FormatText(L"cli_several_results_files", {Shown(positional[1])});
        return false;
      }
      options->exportInput = positional[0];
      if (!options->exportFormat) {
        *error = Translate(L"cli_format_missing");
        return false;
      }
      if (options->exportOutput.empty()) {
        *error = Translate(L"cli_output_missing");
        return false;
      }
      break;
    case CliCommand::kDrives:
      if (!positional.empty()) {
        *error = FormatText(L"cli_unexpected_argument", {Shown(positional[0])}) + HelpHint(command->name);
        return false;
      }
      break;
    case CliCommand::kNone:
      break;
  }
  return true;
}

int CliLanguage(const std::vector<std::wstring>& args, int platformLanguage) {
  int language = platformLanguage;
  for (size_t i = 0; i + 1 < args.size() && args[i] != L"--"; ++i) {
    if (args[i] == L"--lang" && ParseLanguage(args[i + 1], &language)) ++i;
  }
  return language;
}

std::wstring CliHelpText(CliCommand command, uint32_t cpuCount, const std::wstring& resultsFolder) {
  switch (command) {
    case CliCommand::kTest:
      return Translate(L"cli_help_test") + OptionsHelp(kOnTest, cpuCount, resultsFolder) +
             Translate(L"cli_help_test_exit");
    case CliCommand::kVerify:
      return Translate(L"cli_help_verify") + OptionsHelp(kOnVerify, cpuCount, resultsFolder) +
             Translate(L"cli_help_verify_exit");
    case CliCommand::kExport:
      return Translate(L"cli_help_export") + OptionsHelp(kOnExport, cpuCount, resultsFolder);
    case CliCommand::kDrives:
      return Translate(L"cli_help_drives") + OptionsHelp(kOnDrives, cpuCount, resultsFolder);
    case CliCommand::kNone:
      break;
  }
  return Translate(L"cli_help_overview");
}

std::wstring CliVersionText() {
  return L"velkor-cli " VELKOR_VERSION_TEXT L"\n" VELKOR_COPYRIGHT L"\n" + Translate(L"cli_licence") + L"\n";
}

}  // namespace velkor
