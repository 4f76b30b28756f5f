#include "cli/cli_args.h"

#include <cwctype>

namespace velkor {
namespace {

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

bool ParseProfile(const std::wstring& value, uint32_t* profile) {
  const std::wstring v = Lower(value);
  if (v == L"turbo" || v == L"0") *profile = 0;
  else if (v == L"ausgeglichen" || v == L"1") *profile = 1;
  else if (v == L"zuverlaessig" || v == L"zuverlässig" || v == L"2") *profile = 2;
  else if (v == L"quorvel" || v == L"3") *profile = 3;
  else return false;
  return true;
}

bool ParseFormat(const std::wstring& value, uint32_t* format) {
  static const wchar_t* const kNames[] = {L"csv", L"xls", L"text", L"formatted", L"json", L"pdf"};
  const std::wstring v = Lower(value);
  for (uint32_t i = 0; i < 6; ++i) {
    if (v == kNames[i]) {
      *format = i;
      return true;
    }
  }
  return false;
}

}  // namespace

bool ParseCliArgs(const std::vector<std::wstring>& args, CliOptions* options, std::wstring* error) {
  *options = CliOptions{};
  size_t i = 0;
  if (i < args.size() && (args[i] == L"--help" || args[i] == L"-h" || args[i] == L"help")) {
    options->help = true;
    return true;
  }
  if (i >= args.size()) {
    *error = L"Kein Befehl angegeben (test, verify, export oder drives). Hilfe: velkor-cli --help";
    return false;
  }
  const std::wstring& name = args[i++];
  if (name == L"test") options->command = CliCommand::kTest;
  else if (name == L"verify") options->command = CliCommand::kVerify;
  else if (name == L"export") options->command = CliCommand::kExport;
  else if (name == L"drives") options->command = CliCommand::kDrives;
  else {
    *error = L"Unbekannter Befehl: " + Shown(name) + L". Hilfe: velkor-cli --help";
    return false;
  }
  const bool sizing = options->command == CliCommand::kTest || options->command == CliCommand::kVerify;
  const bool writing = options->command == CliCommand::kTest;
  std::vector<std::wstring> positional;

  while (i < args.size()) {
    const std::wstring& arg = args[i++];
    if (arg == L"--help" || arg == L"-h") {
      options->help = true;
      return true;
    }
    if (arg.size() < 2 || arg.compare(0, 2, L"--") != 0 || arg == L"--") {
      positional.push_back(arg);
      continue;
    }
    // Options that take a value.
    auto value = [&](std::wstring* out) {
      if (i >= args.size()) {
        *error = L"Wert fehlt für " + Shown(arg) + L".";
        return false;
      }
      *out = args[i++];
      return true;
    };
    auto number = [&](std::optional<uint64_t>* out) {
      std::wstring text;
      if (!value(&text)) return false;
      if (!IsDigits(text)) {
        *error = L"Ungültige Zahl für " + Shown(arg) + L": " + Shown(text);
        return false;
      }
      *out = std::stoull(text);  // at most 18 digits: fits
      return true;
    };
    if (sizing && arg == L"--size") { if (!number(&options->sizeMb)) return false; }
    else if (sizing && arg == L"--block") { if (!number(&options->blockKb)) return false; }
    else if (sizing && arg == L"--workers") { if (!number(&options->workers)) return false; }
    else if (sizing && arg == L"--reserve") { if (!number(&options->reserveMb)) return false; }
    else if (sizing && arg == L"--test-points") { if (!number(&options->testPoints)) return false; }
    else if (sizing && arg == L"--profile") {
      std::wstring text;
      uint32_t profile = 0;
      if (!value(&text)) return false;
      if (!ParseProfile(text, &profile)) {
        *error = L"Unbekanntes Profil: " + Shown(text) + L" (turbo, ausgeglichen, zuverlaessig, quorvel oder 0 bis 3).";
        return false;
      }
      options->profile = profile;
    }
    else if (sizing && arg == L"--results-dir") { if (!value(&options->resultsDir)) return false; }
    else if (writing && arg == L"--method-test") options->methodTest = true;
    else if (writing && arg == L"--no-random-points") options->noRandomPoints = true;
    else if (writing && arg == L"--no-fastest") options->noFastest = true;
    else if (writing && arg == L"--delete") options->deleteAtEnd = true;
    else if (writing && arg == L"--yes") options->yes = true;
    else if (writing && arg == L"--system-drive") options->systemDrive = true;
    else if (options->command == CliCommand::kExport && arg == L"--format") {
      std::wstring text;
      uint32_t format = 0;
      if (!value(&text)) return false;
      if (!ParseFormat(text, &format)) {
        *error = L"Unbekanntes Format: " + Shown(text) + L" (csv, xls, text, formatted, json oder pdf).";
        return false;
      }
      options->exportFormat = format;
    }
    else if (options->command == CliCommand::kExport && arg == L"--output") { if (!value(&options->exportOutput)) return false; }
    else {
      *error = L"Unbekannte Option: " + Shown(arg) + L". Hilfe: velkor-cli " + name + L" --help";
      return false;
    }
  }

  switch (options->command) {
    case CliCommand::kTest:
    case CliCommand::kVerify:
      if (positional.size() != 1) {
        *error = positional.empty() ? L"Kein Ziel angegeben." : L"Mehr als ein Ziel angegeben: " + Shown(positional[1]);
        return false;
      }
      options->target = positional[0];
      break;
    case CliCommand::kExport:
      if (positional.size() != 1) {
        *error = positional.empty() ? L"Keine Ergebnisdatei angegeben." : L"Mehr als eine Ergebnisdatei angegeben: " + Shown(positional[1]);
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
        *error = L"Unerwartetes Argument: " + Shown(positional[0]);
        return false;
      }
      break;
    case CliCommand::kNone:
      break;
  }
  return true;
}

std::wstring CliHelpText(CliCommand command) {
  const std::wstring sizing =
      L"  --size MB            Testmenge in MB (ohne: freier Speicher minus 32 MB, Quorvel-Modus)\n"
      L"  --block KB           Blockgröße in KB (mindestens 4)\n"
      L"  --workers N          parallele Worker (höchstens Prozessoren minus 1)\n"
      L"  --profile P          turbo | ausgeglichen | zuverlaessig | quorvel (oder 0 bis 3)\n"
      L"  --reserve MB         Speicher, der nach dem Test frei bleiben muss\n"
      L"  --results-dir DIR    Ordner für die Ergebnisdateien (sonst \"results\" neben dem Programm)\n";
  switch (command) {
    case CliCommand::kTest:
      return L"velkor-cli test ZIEL [Optionen]\n"
             L"Füllt den freien Speicher von ZIEL mit Testdateien und prüft jeden Block.\n\n" + sizing +
             L"  --method-test        vor dem Volltest einen Methodentest ausführen\n"
             L"  --test-points N      Testpunkte des Methodentests (höchstens 16)\n"
             L"  --no-random-points   Testpunkte nicht zufällig verteilen\n"
             L"  --no-fastest         schnellste Variante nicht für den Volltest übernehmen\n"
             L"  --delete             Testdateien am Ende löschen (sonst bleiben sie für verify)\n"
             L"  --yes                auch ein nicht leeres Ziel ohne Rückfrage testen\n"
             L"  --system-drive       auch das Systemlaufwerk testen (es bleiben mindestens 2 GB\n"
             L"                       und 5 % frei)\n\n"
             L"Exit-Codes: 0 ohne Fehler, 1 Fehler gefunden oder abgebrochen, 2 ungültige Eingabe\n"
             L"oder Vorprüfung gescheitert, 130 mit Strg+C gestoppt.\n";
    case CliCommand::kVerify:
      return L"velkor-cli verify ZIEL [Optionen]\n"
             L"Prüft die Testdateien eines früheren Laufs, ohne zu schreiben (\"Nur prüfen\").\n\n" + sizing +
             L"\nExit-Codes wie bei test.\n";
    case CliCommand::kExport:
      return L"velkor-cli export ERGEBNISSE.json --format FORMAT --output DATEI\n"
             L"Schreibt eine Ergebnisdatei in einem der Formate csv, xls, text, formatted, json, pdf.\n";
    case CliCommand::kDrives:
      return L"velkor-cli drives\nZeigt die Laufwerke, die getestet werden können.\n";
    case CliCommand::kNone:
      break;
  }
  return L"velkor-cli BEFEHL [Optionen]\n"
         L"Prüft USB-Sticks, SD-Karten und andere Laufwerke auf echte Kapazität und Datenintegrität.\n\n"
         L"Befehle:\n"
         L"  test ZIEL      Testdateien schreiben und prüfen\n"
         L"  verify ZIEL    Testdateien eines früheren Laufs prüfen\n"
         L"  export DATEI   Ergebnisdatei exportieren\n"
         L"  drives         Laufwerke anzeigen\n\n"
         L"Hilfe zu einem Befehl: velkor-cli BEFEHL --help\n";
}

}  // namespace velkor
