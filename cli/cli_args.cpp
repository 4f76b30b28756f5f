#include "cli/cli_args.h"

#include <cstdint>
#include <cwctype>

#include "cli/batch_schedule.h"
#include "cli/cli_suggest.h"
#include "common/version.h"
#include "engine/run_config.h"
#include "engine/start_rules.h"

namespace velkor {
namespace {

enum class Opt : uint8_t {
  kSize, kBlock, kWorkers, kProfile, kReserve, kTestPoints, kResultsDir,
  kParallel, kSummaryJson, kMethodTest, kNoRandomPoints, kNoFastest, kDelete, kYes, kSystemDrive,
  kFormat, kOutput,
};

// Which commands take an option.
enum : unsigned { kOnTest = 1, kOnVerify = 2, kOnExport = 4 };
constexpr unsigned kSizing = kOnTest | kOnVerify;

// One option: the parser and the help read the same table, so help lists every option there is.
struct OptionSpec {
  Opt id;
  const wchar_t* name;
  unsigned commands;
  const wchar_t* value;      // what the value is; null for a switch
  const wchar_t* text;
  const wchar_t* byDefault;  // what holds without the option; null: the profiles' workers
};

const OptionSpec kOptions[] = {
    {Opt::kSize, L"--size", kOnTest, L"MB", L"Testmenge in MB",
     L"der freie Speicher minus 32 MB (ohne --profile im Quorvel-Modus, Blöcke zu 1024 KB)"},
    {Opt::kSize, L"--size", kOnVerify, L"MB", L"zu prüfende Menge in MB",
     L"so viel, wie die Testdateien eines früheren Laufs halten"},
    {Opt::kBlock, L"--block", kSizing, L"KB", L"Blockgröße in KB (mindestens 4)",
     L"nach Profil: turbo 8192, ausgeglichen 4096, zuverlaessig 1024, quorvel 1024"},
    {Opt::kWorkers, L"--workers", kSizing, L"N", L"parallele Worker (höchstens Prozessoren minus 1)", nullptr},
    {Opt::kProfile, L"--profile", kSizing, L"P", L"turbo, ausgeglichen, zuverlaessig oder quorvel (0 bis 3)",
     L"zuverlaessig; ohne --size quorvel"},
    {Opt::kReserve, L"--reserve", kSizing, L"MB", L"Speicher, der nach dem Test frei bleiben muss",
     L"0 (im Quorvel-Modus immer 0)"},
    {Opt::kTestPoints, L"--test-points", kSizing, L"N", L"Testpunkte des Methodentests (höchstens 16)", L"3"},
    {Opt::kResultsDir, L"--results-dir", kSizing, L"DIR", L"Ordner für die Ergebnisdateien", nullptr},
    {Opt::kParallel, L"--parallel", kSizing, L"N", L"Ziele, die gleichzeitig laufen (bei mehreren Zielen)", nullptr},
    {Opt::kSummaryJson, L"--summary-json", kSizing, L"DATEI", L"die Übersicht aller Ziele als JSON-Datei",
     L"keine"},
    {Opt::kMethodTest, L"--method-test", kOnTest, nullptr, L"vor dem Volltest einen Methodentest ausführen",
     L"aus"},
    {Opt::kNoRandomPoints, L"--no-random-points", kOnTest, nullptr, L"Testpunkte nicht zufällig verteilen",
     L"ab 4 Testpunkten zufällig verteilt"},
    {Opt::kNoFastest, L"--no-fastest", kOnTest, nullptr, L"schnellste Variante nicht für den Volltest übernehmen",
     L"die schnellste Variante wird übernommen"},
    {Opt::kDelete, L"--delete", kOnTest, nullptr, L"Testdateien am Ende löschen",
     L"aus; die Testdateien bleiben für verify"},
    {Opt::kYes, L"--yes", kOnTest, nullptr, L"auch ein nicht leeres Ziel ohne Rückfrage testen",
     L"aus; am Terminal wird gefragt, ohne Terminal abgelehnt"},
    {Opt::kSystemDrive, L"--system-drive", kOnTest, nullptr,
     L"auch das Systemlaufwerk testen (2 GB, 5 % bleiben frei)", L"aus; das Systemlaufwerk wird abgelehnt"},
    {Opt::kFormat, L"--format", kOnExport, L"FORMAT", L"csv | xls | text | formatted | json | pdf",
     L"keiner, muss angegeben werden"},
    {Opt::kOutput, L"--output", kOnExport, L"DATEI", L"Zieldatei des Exports", L"keiner, muss angegeben werden"},
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
    {CliCommand::kDrives, L"drives", 0},
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
    text += (text.empty() ? L"" : L" und ") + std::wstring(c.name);
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
  return command != nullptr ? L" Hilfe: velkor-cli " + std::wstring(command) + L" --help"
                            : std::wstring(L" Hilfe: velkor-cli --help");
}

// The error for an argument before the command or in the command's place.
std::wstring UnknownCommand(const std::wstring& arg) {
  if (arg.size() > 1 && arg[0] == L'-') {
    const std::wstring takers = CommandsTaking(arg);
    if (!takers.empty()) {
      return L"Option vor dem Befehl: " + Shown(arg) + L". Erst der Befehl, dann die Optionen (" + Shown(arg) +
             L" gibt es bei " + takers + L")." + HelpHint(nullptr);
    }
    return L"Unbekannte Option: " + Shown(arg) + L"." + SuggestionText(arg, {L"--help", L"--version"}) +
           HelpHint(nullptr);
  }
  std::vector<std::wstring> names;
  for (const CommandSpec& c : kCommands) names.push_back(c.name);
  return L"Unbekannter Befehl: " + Shown(arg) + L"." + SuggestionText(arg, names) + HelpHint(nullptr);
}

// "  --name VALUE   text" and below it the default, wrapped at 80 columns under the text.
std::wstring HelpLine(const std::wstring& left, const std::wstring& text, const std::wstring& byDefault) {
  constexpr size_t kColumn = 23, kWidth = 80;
  std::wstring line = L"  " + left;
  line += line.size() < kColumn ? std::wstring(kColumn - line.size(), L' ') : L"\n" + std::wstring(kColumn, L' ');
  line += text + L"\n";
  if (byDefault.empty()) return line;
  std::wstring row = std::wstring(kColumn, L' ') + L"Standard:";
  size_t start = 0;
  while (start < byDefault.size()) {
    size_t end = byDefault.find(L' ', start);
    if (end == std::wstring::npos) end = byDefault.size();
    const std::wstring word = byDefault.substr(start, end - start);
    if (row.size() + 1 + word.size() > kWidth) {
      line += row + L"\n";
      row = std::wstring(kColumn + 2, L' ') + word;
    } else {
      row += L" " + word;
    }
    start = end + 1;
  }
  return line + row + L"\n";
}

std::wstring WorkersDefault(uint32_t cpuCount) {
  std::wstring text = L"nach Profil, auf diesem Rechner: ";
  for (uint32_t p = 0; p < kProfileNames.size(); ++p) {
    text += (p > 0 ? L", " : L"") + kProfileNames[p] + L" " + std::to_wstring(ProfileDefaultsFor(p, cpuCount).workers);
  }
  return text;
}

std::wstring ParallelDefault(uint32_t cpuCount) {
  return L"so viele Ziele wie Geräte, höchstens " + std::to_wstring(MaxParallelRuns(cpuCount)) +
         L" (2 je Prozessor); Ziele auf einem Gerät nacheinander";
}

std::wstring OptionsHelp(unsigned bit, uint32_t cpuCount, const std::wstring& resultsFolder) {
  std::wstring text = L"Optionen:\n";
  for (const OptionSpec& o : kOptions) {
    if ((o.commands & bit) == 0) continue;
    std::wstring byDefault;
    if (o.byDefault != nullptr) byDefault = o.byDefault;
    else if (o.id == Opt::kWorkers) byDefault = WorkersDefault(cpuCount);
    else if (o.id == Opt::kResultsDir) byDefault = resultsFolder;
    else if (o.id == Opt::kParallel) byDefault = ParallelDefault(cpuCount);
    text += HelpLine(std::wstring(o.name) + (o.value != nullptr ? L" " + std::wstring(o.value) : L""), o.text, byDefault);
  }
  return text + HelpLine(L"-h, --help", L"diese Hilfe", L"");
}

}  // namespace

bool ParseCliArgs(const std::vector<std::wstring>& args, CliOptions* options, std::wstring* error) {
  *options = CliOptions{};
  size_t i = 0;
  if (i < args.size() && (args[i] == L"--help" || args[i] == L"-h" || args[i] == L"help")) {
    options->help = true;
    return true;
  }
  if (i < args.size() && args[i] == L"--version") {
    options->version = true;
    return true;
  }
  if (i >= args.size()) {
    *error = L"Kein Befehl angegeben (test, verify, export oder drives)." + HelpHint(nullptr);
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
        *error = L"Unbekannte Option für " + std::wstring(command->name) + L": " + Shown(arg) + L" (nur bei " +
                 elsewhere + L")." + HelpHint(command->name);
      } else {
        *error = L"Unbekannte Option: " + Shown(arg) + L"." + SuggestionText(arg, OptionNames(command->bit)) +
                 HelpHint(command->name);
      }
      return false;
    }
    // The value; an option in its place means it was left out.
    std::wstring value;
    if (spec->value != nullptr) {
      if (i >= args.size() || args[i].compare(0, 2, L"--") == 0) {
        *error = L"Wert fehlt für " + Shown(arg) + L" (" + spec->value + L")." + HelpHint(command->name);
        return false;
      }
      value = args[i++];
    }
    auto number = [&](std::optional<uint64_t>* out) {
      if (!IsDigits(value)) {
        *error = L"Ungültige Zahl für " + Shown(arg) + L": " + Shown(value);
        return false;
      }
      *out = std::stoull(value);  // at most 18 digits: fits
      return true;
    };
    // A number the run could never take: the option and what it takes, before anything starts.
    auto ranged = [&](std::optional<uint64_t>* out, uint64_t low, uint64_t high, const wchar_t* allowed) {
      if (!number(out)) return false;
      if (**out >= low && **out <= high) return true;
      *error = L"Ungültiger Wert für " + Shown(arg) + L": " + value + L" (erlaubt: " + allowed + L").";
      return false;
    };
    switch (spec->id) {
      case Opt::kSize: if (!ranged(&options->sizeMb, 1, UINT64_MAX / 1048576, L"1 bis 17592186044415 MB")) return false; break;
      case Opt::kBlock: if (!ranged(&options->blockKb, 4, UINT32_MAX / 1024, L"4 bis 4194303 KB")) return false; break;
      case Opt::kWorkers: if (!ranged(&options->workers, 1, UINT32_MAX, L"ab 1")) return false; break;
      case Opt::kReserve: if (!number(&options->reserveMb)) return false; break;
      case Opt::kTestPoints: if (!ranged(&options->testPoints, 1, UINT32_MAX, L"ab 1")) return false; break;
      case Opt::kProfile: {
        uint32_t profile = 0;
        if (!ParseProfile(value, &profile)) {
          *error = L"Unbekanntes Profil: " + Shown(value) + L"." + SuggestionText(value, kProfileNames) +
                   L" (turbo, ausgeglichen, zuverlaessig, quorvel oder 0 bis 3)";
          return false;
        }
        options->profile = profile;
        break;
      }
      case Opt::kResultsDir: options->resultsDir = value; break;
      case Opt::kParallel:
        if (!number(&options->parallel)) return false;
        if (*options->parallel == 0) {
          *error = L"--parallel braucht mindestens 1.";
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
          *error = L"Unbekanntes Format: " + Shown(value) + L"." + SuggestionText(value, kFormatNames) +
                   L" (csv, xls, text, formatted, json oder pdf)";
          return false;
        }
        options->exportFormat = format;
        break;
      }
      case Opt::kOutput: options->exportOutput = value; break;
    }
  }

  switch (options->command) {
    case CliCommand::kTest:
    case CliCommand::kVerify:
      if (positional.empty()) {
        *error = L"Kein Ziel angegeben." + HelpHint(command->name);
        return false;
      }
      options->targets = positional;
      break;
    case CliCommand::kExport:
      if (positional.size() != 1) {
        *error = positional.empty() ? L"Keine Ergebnisdatei angegeben." + HelpHint(command->name)
                                    : L"Mehr als eine Ergebnisdatei angegeben: " + Shown(positional[1]);
        return false;
      }
      options->exportInput = positional[0];
      if (!options->exportFormat) {
        *error = L"Format fehlt: --format csv|xls|text|formatted|json|pdf";
        return false;
      }
      if (options->exportOutput.empty()) {
        *error = L"Zieldatei fehlt: --output DATEI";
        return false;
      }
      break;
    case CliCommand::kDrives:
      if (!positional.empty()) {
        *error = L"Unerwartetes Argument: " + Shown(positional[0]) + L"." + HelpHint(command->name);
        return false;
      }
      break;
    case CliCommand::kNone:
      break;
  }
  return true;
}

std::wstring CliHelpText(CliCommand command, uint32_t cpuCount, const std::wstring& resultsFolder) {
  switch (command) {
    case CliCommand::kTest:
      return L"velkor-cli test ZIEL... [Optionen]\n"
             L"Füllt den freien Speicher von ZIEL mit Testdateien und prüft jeden Block.\n"
             L"Mehrere Ziele laufen nebeneinander und enden mit einer Übersicht.\n\n" +
             OptionsHelp(kOnTest, cpuCount, resultsFolder) +
             L"\nExit-Codes: 0 ohne Fehler, 1 Fehler gefunden oder abgebrochen,\n"
             L"2 ungültige Eingabe oder Vorprüfung gescheitert, 130 mit Strg+C gestoppt.\n"
             L"Mehrere Ziele: 0 alle OK, 1 eines mit Fehlern oder abgebrochen, sonst 2 eines\n"
             L"abgelehnt; 130 mit Strg+C.\n";
    case CliCommand::kVerify:
      return L"velkor-cli verify ZIEL... [Optionen]\n"
             L"Prüft die Testdateien eines früheren Laufs, ohne zu schreiben (\"Nur prüfen\").\n\n" +
             OptionsHelp(kOnVerify, cpuCount, resultsFolder) + L"\nExit-Codes wie bei test.\n";
    case CliCommand::kExport:
      return L"velkor-cli export ERGEBNISSE.json --format FORMAT --output DATEI\n"
             L"Schreibt eine Ergebnisdatei in einem anderen Format.\n\n" +
             OptionsHelp(kOnExport, cpuCount, resultsFolder);
    case CliCommand::kDrives:
      return L"velkor-cli drives\nZeigt die Laufwerke, die getestet werden können.\n\n" +
             OptionsHelp(0, cpuCount, resultsFolder);
    case CliCommand::kNone:
      break;
  }
  return L"velkor-cli BEFEHL [Optionen]\n"
         L"Prüft USB-Sticks, SD-Karten und andere Laufwerke auf echte Kapazität und\n"
         L"Datenintegrität.\n\n"
         L"Befehle:\n"
         L"  test ZIEL...   Testdateien schreiben und prüfen\n"
         L"  verify ZIEL... Testdateien eines früheren Laufs prüfen\n"
         L"  export DATEI   Ergebnisdatei exportieren\n"
         L"  drives         Laufwerke anzeigen\n\n"
         L"Optionen:\n"
         L"  -h, --help     diese Hilfe\n"
         L"  --version      Version und Lizenz anzeigen\n\n"
         L"Hilfe zu einem Befehl: velkor-cli BEFEHL --help\n";
}

std::wstring CliVersionText() {
  return L"velkor-cli " VELKOR_VERSION_TEXT L"\n" VELKOR_COPYRIGHT L"\nLizenz: MIT\n";
}

}  // namespace velkor
