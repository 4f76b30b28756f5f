// velkor-cli in the four languages: the language chosen, each command's help and the argument
// errors in each, German as it always was.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/batch_progress.h"
#include "cli/batch_summary.h"
#include "cli/cli_args.h"
#include "cli/cli_batch.h"
#include "cli/cli_console.h"
#include "cli/target_start.h"
#include "common/localization.h"
#include "drives/drive_table.h"
#include "engine/medium_sync.h"
#include "engine/run_lock.h"
#include "engine/start_rules.h"
#include "platform/text.h"
#include "tests/support/untranslated.h"

namespace velkor {
namespace {

std::string Narrow(const std::wstring& text) { return platform::WideToUtf8(text); }

// A table's line with its columns two blanks apart, however wide they are.
std::wstring Columns(const std::wstring& line) {
  std::wstring out;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == L' ' && i + 1 < line.size() && line[i + 1] == L' ') {
      while (i + 1 < line.size() && line[i + 1] == L' ') ++i;
      out += L"  ";
    } else {
      out += line[i];
    }
  }
  return out;
}

class CliLanguage : public ::testing::Test {
 protected:
  void TearDown() override { CurrentLanguage = kLanguageGerman; }
};

TEST_F(CliLanguage, LangOptionBeforeOrAfterTheCommandOverridesThePlatform) {
  const struct {
    std::vector<std::wstring> args;
    int expected;
  } cases[] = {
      {{L"test", L"E:\\"}, kLanguageSpanish},                            // the platform's
      {{L"--lang", L"de", L"test", L"E:\\"}, kLanguageGerman},
      {{L"test", L"E:\\", L"--lang", L"FR"}, kLanguageFrench},
      {{L"--lang", L"fr", L"drives", L"--lang", L"en"}, kLanguageEnglish},  // the last one
      {{L"test", L"--lang", L"xx"}, kLanguageSpanish},                   // not a language
      {{L"test", L"--", L"--lang", L"de"}, kLanguageSpanish},            // a target's name
      {{L"test", L"--lang"}, kLanguageSpanish},
  };
  for (const auto& c : cases) EXPECT_EQ(velkor::CliLanguage(c.args, kLanguageSpanish), c.expected);

  CliOptions options;
  std::wstring error;
  ASSERT_TRUE(ParseCliArgs({L"--lang", L"es", L"verify", L"E:\\", L"--lang", L"fr"}, &options, &error));
  EXPECT_EQ(options.language, kLanguageFrench);
  EXPECT_EQ(options.targets, std::vector<std::wstring>{L"E:\\"});
  ASSERT_TRUE(ParseCliArgs({L"--lang", L"en", L"--help"}, &options, &error));
  EXPECT_TRUE(options.help);
  ASSERT_TRUE(ParseCliArgs({L"test", L"--", L"--lang"}, &options, &error));
  EXPECT_EQ(options.targets, std::vector<std::wstring>{L"--lang"});
  EXPECT_FALSE(options.language);
  EXPECT_FALSE(ParseCliArgs({L"--lang", L"it", L"drives"}, &options, &error));
  EXPECT_EQ(error, L"Unbekannte Sprache: it (de, en, fr oder es).");
  EXPECT_FALSE(ParseCliArgs({L"drives", L"--lang"}, &options, &error));
  EXPECT_EQ(error, L"Wert fehlt für --lang (SPRACHE). Hilfe: velkor-cli drives --help");
}

// Every command's help in every language: the same options as the German help, each with its
// default under it, nothing German left in another language, no line wider than 80 columns.
TEST_F(CliLanguage, EveryCommandsHelpInEveryLanguage) {
  const struct {
    CliCommand command;
    const wchar_t* usage[kLanguageCount];
  } commands[] = {
      {CliCommand::kNone, {L"velkor-cli BEFEHL", L"velkor-cli COMMAND", L"velkor-cli COMMANDE", L"velkor-cli COMANDO"}},
      {CliCommand::kTest, {L"velkor-cli test ZIEL", L"velkor-cli test TARGET", L"velkor-cli test CIBLE", L"velkor-cli test DESTINO"}},
      {CliCommand::kVerify,
       {L"velkor-cli verify ZIEL", L"velkor-cli verify TARGET", L"velkor-cli verify CIBLE", L"velkor-cli verify DESTINO"}},
      {CliCommand::kExport,
       {L"velkor-cli export ERGEBNISSE", L"velkor-cli export RESULTS", L"velkor-cli export RESULTATS",
        L"velkor-cli export RESULTADOS"}},
      {CliCommand::kDrives, {L"velkor-cli drives", L"velkor-cli drives", L"velkor-cli drives", L"velkor-cli drives"}},
  };
  const wchar_t* defaults[kLanguageCount] = {L"Standard:", L"Default:", L"Par défaut :", L"Por defecto:"};
  for (const auto& c : commands) {
    std::vector<std::wstring> germanOptions;
    for (int language = 0; language < kLanguageCount; ++language) {
      CurrentLanguage = language;
      const std::wstring help = CliHelpText(c.command, 8, L"/data/results");
      SCOPED_TRACE(Narrow(c.usage[language]));
      EXPECT_EQ(help.compare(0, std::wstring(c.usage[language]).size(), c.usage[language]), 0) << Narrow(help);
      const std::vector<std::wstring> german = testing::GermanLeftIn(help, language);
      EXPECT_TRUE(german.empty()) << Narrow(testing::JoinFindings(german));

      std::vector<std::wstring> options;
      std::wistringstream lines(help);
      std::wstring line, next;
      std::getline(lines, line);
      while (std::getline(lines, next)) {
        EXPECT_LE(line.size(), 80u) << Narrow(line);
        if (line.compare(0, 4, L"  --") == 0) {
          options.push_back(line.substr(2, line.find(L' ', 2) - 2));
          // The option's text may go on over more lines; its default follows at column 23.
          while (next.compare(0, 23, std::wstring(23, L' ')) == 0 && next.compare(23, 1, defaults[language], 1) != 0 &&
                 std::getline(lines, next)) {
          }
          if (c.command != CliCommand::kNone) {
            EXPECT_EQ(next.compare(23, std::wcslen(defaults[language]), defaults[language]), 0) << Narrow(next);
          }
        }
        line = next;
      }
      EXPECT_NE(help.find(L"--help"), std::wstring::npos);
      EXPECT_NE(help.find(L"--lang"), std::wstring::npos);
      if (language == kLanguageGerman) germanOptions = options;
      EXPECT_EQ(options, germanOptions);
    }
  }
  // The machine's own defaults reach every language.
  for (int language = 0; language < kLanguageCount; ++language) {
    CurrentLanguage = language;
    std::wstring flat;
    for (wchar_t c : CliHelpText(CliCommand::kTest, 8, L"/data/results")) {
      if (c == L'\n' || c == L' ') {
        if (!flat.empty() && flat.back() != L' ') flat += L' ';
      } else {
        flat += c;
      }
    }
    EXPECT_NE(flat.find(L"turbo 7, ausgeglichen 3, zuverlaessig 3, quorvel 7"), std::wstring::npos) << language;
    EXPECT_NE(flat.find(L"/data/results"), std::wstring::npos) << language;
    EXPECT_NE(flat.find(L" 16 (2 "), std::wstring::npos) << language;
  }
}

// The same mistakes in each language: one line, the argument named, the suggestion and the way to
// the help in that language.
TEST_F(CliLanguage, ArgumentErrorsInEveryLanguage) {
  const struct {
    std::vector<std::wstring> args;
    const wchar_t* expected[kLanguageCount];
  } cases[] = {
      {{L"tset"},
       {L"Unbekannter Befehl: tset. Meinten Sie test? Hilfe: velkor-cli --help",
        L"Unknown command: tset. Did you mean test? Help: velkor-cli --help",
        L"Commande inconnue : tset. Vouliez-vous dire test ? Aide : velkor-cli --help",
        L"Comando desconocido: tset. ¿Quería decir test? Ayuda: velkor-cli --help"}},
      {{L"test", L"E:\\", L"--block", L"2"},
       {L"Ungültiger Wert für --block: 2 (erlaubt: 4 bis 4194303 KB).",
        L"Invalid value for --block: 2 (allowed: 4 to 4194303 KB).",
        L"Valeur invalide pour --block : 2 (autorisé : 4 à 4194303 Ko).",
        L"Valor no válido para --block: 2 (permitido: 4 a 4194303 KB)."}},
      {{L"--size", L"3", L"test"},
       {L"Option vor dem Befehl: --size. Erst der Befehl, dann die Optionen (--size gibt es bei test und verify). "
        L"Hilfe: velkor-cli --help",
        L"Option before the command: --size. First the command, then the options (--size belongs to test and "
        L"verify). Help: velkor-cli --help",
        L"Option avant la commande : --size. D'abord la commande, puis les options (--size s'emploie avec test et "
        L"verify). Aide : velkor-cli --help",
        L"Opción antes del comando: --size. Primero el comando, luego las opciones (--size es de test y verify). "
        L"Ayuda: velkor-cli --help"}},
      {{L"export", L"r.json", L"--format", L"csv"},
       {L"Zieldatei fehlt: --output DATEI", L"Output file missing: --output FILE",
        L"Fichier de destination manquant : --output FICHIER", L"Falta el archivo de destino: --output ARCHIVO"}},
  };
  for (const auto& c : cases) {
    for (int language = 0; language < kLanguageCount; ++language) {
      CurrentLanguage = language;
      CliOptions options;
      std::wstring error;
      EXPECT_FALSE(ParseCliArgs(c.args, &options, &error));
      EXPECT_EQ(error, c.expected[language]) << language;
    }
  }
}

// The question before a run on a drive that is not empty, its prompt and what counts as yes.
TEST_F(CliLanguage, TheQuestionAndItsAnswersInEveryLanguage) {
  DriveInfo drive;
  drive.root = L"/media/stick";
  drive.freeBytes = 1 << 20;
  drive.totalBytes = 4 << 20;
  drive.freePercent = 25.0;
  const struct {
    int language;
    const wchar_t* prompt;
    std::vector<std::wstring> yes, no;
  } cases[] = {
      {kLanguageGerman, L" [j/N] ", {L"j", L"J", L"ja", L"y", L"yes"}, {L"", L"n", L"nein", L"o", L"s", L"jein"}},
      {kLanguageEnglish, L" [y/N] ", {L"y", L"Y", L"yes", L"YES", L"j"}, {L"", L"n", L"no", L"o", L"s", L"yess"}},
      {kLanguageFrench, L" [o/N] ", {L"o", L"O", L"oui", L"Oui", L"y", L"j"}, {L"", L"n", L"non", L"s", L"ou"}},
      {kLanguageSpanish, L" [s/N] ", {L"s", L"S", L"si", L"s\u00ed", L"S\u00ed", L"y"}, {L"", L"n", L"no", L"o"}},
  };
  for (const auto& c : cases) {
    CurrentLanguage = c.language;
    EXPECT_EQ(Translate(L"cli_yes_no"), c.prompt);
    const std::wstring question = NonEmptyTargetQuestion(drive, c.language);
    EXPECT_NE(question.find(L"/media/stick"), std::wstring::npos);
    EXPECT_TRUE(testing::GermanLeftIn(question, c.language).empty()) << Narrow(question);
    for (const std::wstring& answer : c.yes) EXPECT_TRUE(IsYesAnswer(answer, c.language)) << Narrow(answer);
    for (const std::wstring& answer : c.no) EXPECT_FALSE(IsYesAnswer(answer, c.language)) << Narrow(answer);
  }
}

// The German texts the terminal shows come from the engine and the CLI, which keep them for the log
// and --summary-json: each one the text table knows, so no language shows it in German.
TEST_F(CliLanguage, EveryRefusalAndNoteReachesTheTerminalInItsLanguage) {
  DriveInfo drive;
  drive.root = L"/media/stick";
  drive.freeBytes = 3 << 20;
  StartPlan plan;
  plan.config.driveRoot = L"/";
  plan.config.testSize = 1 << 30;
  std::vector<std::wstring> texts = {NoRoomRefusal(drive, plan)};
  plan.systemReserve = 2ull << 30;
  texts.push_back(NoRoomRefusal(drive, plan));
  texts.push_back(SystemVolumeRefusal(plan));
  texts.push_back(std::wstring(kNonEmptyDeclinedLog) + L" (--yes testet trotzdem)");
  texts.push_back(std::wstring(kProgramVolumeDeclinedLog) + L" (nur nach Ja am Terminal, nicht mit --yes)");
  texts.push_back(kDeviceCacheHint);
  texts.push_back(kHighWorkerWarning);
  texts.push_back(kWriteProtectedText);
  texts.push_back(SummaryFileProblem(L"/proc/velkor/summary.json"));
  // The CLI's own refusals, made as a run makes them.
  CliOptions options;
  options.sizeMb = 1;
  options.blockKb = 4096;
  options.yes = true;
  texts.push_back(PrepareTarget(options, L".", false, 4, L"").refusal);
  options.blockKb.reset();
  options.profile = kProfileTurbo;
  texts.push_back(PrepareTarget(options, L".", false, 4, L"").refusal);
  options = CliOptions{};
  texts.push_back(PrepareTarget(options, L"/proc/self", true, 4, L"").refusal);

  for (const std::wstring& german : texts) {
    ASSERT_FALSE(german.empty());
    EXPECT_EQ(LocalizeGermanText(german, kLanguageGerman), german);
    for (int language = kLanguageEnglish; language < kLanguageCount; ++language) {
      const std::wstring shown = LocalizeGermanText(german, language);
      std::vector<std::wstring> left = testing::GermanLeftIn(shown, language);
      // A system error text keeps its own words.
      left.erase(std::remove(left.begin(), left.end(), L"Fehler"), left.end());
      EXPECT_NE(shown, german) << Narrow(german);
      EXPECT_TRUE(left.empty()) << Narrow(shown) << ": " << Narrow(testing::JoinFindings(left));
    }
  }
}

// Several targets: the table's headings and verdicts, the running line and the reasons.
TEST_F(CliLanguage, TheBatchTableAndLinesInEveryLanguage) {
  BatchRow ok, refused, stopped;
  ok.target = L"/media/a";
  ok.verdict = BatchVerdict::kOk;
  refused.target = L"/media/b";
  refused.reason = ReasonOf(L"Fehler: Das Ziel ist kein Ordner: /media/b");
  stopped.target = L"/media/c";
  stopped.verdict = BatchVerdict::kStopped;
  stopped.reason = L"mit Strg+C gestoppt";
  ProgressSnapshot writing;
  writing.running = true;
  writing.phase = kPhaseWriting;
  writing.written = 40;
  writing.totalBlocks = 160;
  writing.blockSize = 1048576;
  writing.ticksPerSecond = 1000;
  writing.startTicks = 1000;
  writing.nowTicks = 5000;
  const struct {
    int language;
    const wchar_t* heading;
    const wchar_t* verdicts[3];
    const wchar_t* running;
    const wchar_t* reasons[2];
  } cases[] = {
      {kLanguageGerman, L"Ziel  Name  Größe  Geschrieben  Geprüft  Fehler  Nutzbar  Schreiben MB/s  Lesen MB/s  Ergebnis",
       {L"OK", L"abgelehnt", L"gestoppt"}, L"Schreiben 25.00% 10.00 MB/s, Fehler 0",
       {L"Das Ziel ist kein Ordner: /media/b", L"mit Strg+C gestoppt"}},
      {kLanguageEnglish, L"Target  Name  Size  Written  Verified  Errors  Usable  Write MB/s  Read MB/s  Result",
       {L"OK", L"refused", L"stopped"}, L"Writing 25.00% 10.00 MB/s, errors 0",
       {L"the target is not a folder: /media/b", L"stopped with Ctrl+C"}},
      {kLanguageFrench,
       L"Cible  Nom  Taille  Écrit  Vérifié  Erreurs  Utilisable  Écriture Mo/s  Lecture Mo/s  Résultat",
       {L"OK", L"refusé", L"arrêté"}, L"Écriture 25.00% 10.00 Mo/s, erreurs 0",
       {L"la cible n'est pas un dossier : /media/b", L"arrêté par Ctrl+C"}},
      {kLanguageSpanish,
       L"Destino  Nombre  Tamaño  Escrito  Verificado  Errores  Utilizable  Escritura MB/s  Lectura MB/s  Resultado",
       {L"OK", L"rechazado", L"detenido"}, L"Escritura 25.00% 10.00 MB/s, errores 0",
       {L"el destino no es una carpeta: /media/b", L"detenido con Ctrl+C"}},
  };
  for (const auto& c : cases) {
    CurrentLanguage = c.language;
    std::wistringstream lines(BatchTableText({ok, refused, stopped}, c.language));
    std::vector<std::wstring> rows;
    for (std::wstring line; std::getline(lines, line);) rows.push_back(line);
    ASSERT_EQ(rows.size(), 4u);
    const std::wstring heading = Columns(rows[0]);
    EXPECT_EQ(heading, c.heading);
    for (int v = 0; v < 3; ++v) {
      const std::wstring& row = rows[1 + v];
      EXPECT_EQ(row.substr(row.size() - std::wcslen(c.verdicts[v])), c.verdicts[v]) << Narrow(row);
    }
    EXPECT_EQ(RunningTargetText(writing, c.language), c.running);
    EXPECT_EQ(ShownReason(refused.reason), c.reasons[0]);
    EXPECT_EQ(ShownReason(stopped.reason), c.reasons[1]);
    EXPECT_EQ(ShownReason(L"etwas Unbekanntes"), L"etwas Unbekanntes");
    EXPECT_EQ(ErrorLine(kDriveBusyText), ErrorLine(L"") + LocalizeGermanText(kDriveBusyText, c.language));
    const wchar_t* leads[kLanguageCount] = {L"Fehler: ", L"Error: ", L"Erreur : ", L"Error: "};
    EXPECT_EQ(ErrorLine(L""), leads[c.language]);
  }
}

// The drives table: headings and the window's words in its cells.
TEST_F(CliLanguage, TheDrivesTableInEveryLanguage) {
  DriveInfo drive;
  drive.root = L"/media/stick";
  drive.label = L"ohne Namen";
  drive.fileSystem = L"vfat";
  drive.totalBytes = 1ull << 30;
  drive.freeBytes = 1ull << 29;
  drive.freePercent = 50.0;
  drive.status = L"Schreibbar";
  const struct {
    int language;
    const wchar_t* heading;
    const wchar_t* row;
  } cases[] = {
      {kLanguageGerman, L"Laufwerk  Name  Dateisystem  Gesamt  Frei  Frei %  Anschluss  Status",
       L"/media/stick  ohne Namen  vfat  1.0 GB  512.0 MB  50.00%"},
      {kLanguageEnglish, L"Drive  Name  File system  Total  Free  Free %  Connection  Status",
       L"/media/stick  no name  vfat  1.0 GB  512.0 MB  50.00%"},
      {kLanguageFrench, L"Lecteur  Nom  Système  Total  Libre  Libre %  Connexion  État",
       L"/media/stick  sans nom  vfat  1.0 Go  512.0 Mo  50.00%"},
      {kLanguageSpanish, L"Unidad  Nombre  Sistema  Total  Libre  Libre %  Conexión  Estado",
       L"/media/stick  sin nombre  vfat  1.0 GB  512.0 MB  50.00%"},
  };
  for (const auto& c : cases) {
    CurrentLanguage = c.language;
    std::wistringstream lines(FormatDriveTableText({drive}));
    std::wstring heading, row;
    std::getline(lines, heading);
    std::getline(lines, row);
    EXPECT_EQ(Columns(heading), c.heading);
    EXPECT_EQ(Columns(row).compare(0, std::wcslen(c.row), c.row), 0) << Narrow(row);
    EXPECT_NE(row.find(TranslateIn(L"writable", c.language)), std::wstring::npos) << Narrow(row);
  }
}

}  // namespace
}  // namespace velkor
