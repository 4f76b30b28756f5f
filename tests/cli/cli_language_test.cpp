// velkor-cli in the four languages: the language chosen, each command's help and the argument
// errors in each, German as it always was.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_args.h"
#include "common/localization.h"
#include "platform/text.h"
#include "tests/support/untranslated.h"

namespace velkor {
namespace {

std::string Narrow(const std::wstring& text) { return platform::WideToUtf8(text); }

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

}  // namespace
}  // namespace velkor
