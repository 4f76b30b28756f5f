#include "common/localization.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/text.h"
#include "tests/support/untranslated.h"

namespace velkor {
namespace testing {
inline std::string Narrow(const std::wstring& text) { return platform::WideToUtf8(text); }
}  // namespace testing
namespace {

class LanguageGuard : public ::testing::Test {
 protected:
  void TearDown() override { CurrentLanguage = kLanguageGerman; }
};

TEST(TextTable, TheWindowsCaptionsOpenTheTableInTheirOrder) {
  const wchar_t* kKeys[] = {
      L"app_title", L"drives", L"results", L"open_explorer", L"language", L"saved_tests", L"export_format",
      L"export_button", L"selected_drive_none", L"target_prefix", L"test_size", L"block_size",
      L"reserve_free", L"test_points", L"profile", L"partial", L"start_mb", L"range_mb", L"delete_after",
      L"start", L"stop", L"diag_log", L"ready", L"col_drive", L"col_name", L"col_fs", L"col_total",
      L"col_free", L"col_free_pct", L"col_bus", L"col_status", L"col_access", L"col_worker", L"col_block",
      L"col_size", L"col_mbps", L"col_verified", L"col_errors", L"col_result", L"recommendation",
      L"cancelled", L"error", L"ok", L"yes", L"no", L"write_protect", L"writable", L"no_name", L"unknown",
      L"worker_warn", L"worker_clamp", L"locked_status", L"export_done", L"export_empty", L"entry_removed",
      L"tooltip_common", L"random_points", L"benchmark", L"use_fastest", L"show_benchmark",
      L"hide_benchmark", L"verify_only", L"settings_show", L"settings_hide", L"open_results",
      L"system_volume", L"diagnosis_title", L"quorvel_takes_over", L"hint_1010", L"hint_1011"};
  ASSERT_GT(TextTableRowCount(), sizeof(kKeys) / sizeof(kKeys[0]));
  for (size_t i = 0; i < sizeof(kKeys) / sizeof(kKeys[0]); ++i) {
    EXPECT_EQ(std::wstring(TextTableRows()[i].key), kKeys[i]) << "row " << i + 1;
  }
}

// Every key once, every row in all four languages, and a translation carries the same values as
// the German text: a dropped "{2}" would lose a number in one language only.
TEST(TextTable, EveryKeyHasAllFourLanguagesWithTheSameValues) {
  const auto placeholders = [](const std::wstring& text) {
    std::multiset<std::wstring> found;
    for (size_t i = 0; i + 2 < text.size(); ++i) {
      if (text[i] == L'{' && text[i + 2] == L'}' && text[i + 1] >= L'1' && text[i + 1] <= L'9') {
        found.insert(text.substr(i, 3));
      }
    }
    return found;
  };
  std::set<std::wstring> seen;
  for (size_t i = 0; i < TextTableRowCount(); ++i) {
    const TextRow& row = TextTableRows()[i];
    ASSERT_NE(row.key, nullptr) << "row " << i + 1;
    const std::string key = testing::Narrow(row.key);
    EXPECT_TRUE(seen.insert(row.key).second) << "duplicate key " << key;
    for (int language = 0; language < kLanguageCount; ++language) {
      ASSERT_NE(row.texts[language], nullptr) << key;
      const std::wstring text = row.texts[language];
      EXPECT_FALSE(text.empty()) << key << " in language " << language;
      EXPECT_EQ(placeholders(text), placeholders(row.texts[kLanguageGerman])) << key << " in language " << language;
      const std::vector<std::wstring> german = testing::GermanLeftIn(text, language);
      EXPECT_TRUE(german.empty()) << key << " in language " << language << ": " << testing::Narrow(testing::JoinFindings(german));
    }
  }
}

// Alt and a letter reach one item: no two items of a menu share their letter, in any language.
// The menu bar is a menu of its own; each view toggle keeps its letter when its text changes.
TEST(TextTable, EachMenusMnemonicsAreUnique) {
  const std::vector<std::vector<const wchar_t*>> menus = {
      {L"menu_file", L"menu_test", L"menu_view", L"menu_help"},
      {L"menu_explorer", L"menu_export", L"menu_open_results", L"menu_exit"},
      {L"menu_start", L"menu_stop", L"menu_verify_only"},
      {L"menu_settings_show", L"menu_method_show", L"menu_diagnosis"},
      {L"menu_settings_hide", L"menu_method_hide", L"menu_diagnosis"},
      {L"menu_help_html", L"menu_help_pdf", L"menu_about"},
      {L"menu_take_over"},
  };
  for (int language = 0; language < kLanguageCount; ++language) {
    for (const auto& menu : menus) {
      std::set<wchar_t> letters;
      for (const wchar_t* key : menu) {
        const std::wstring text = TranslateIn(key, language);
        const size_t amp = text.find(L'&');
        ASSERT_NE(amp, std::wstring::npos) << testing::Narrow(key) << " has no mnemonic in language " << language;
        ASSERT_LT(amp + 1, text.size());
        EXPECT_EQ(text.find(L'&', amp + 1), std::wstring::npos) << testing::Narrow(key) << " has two";
        EXPECT_TRUE(letters.insert(static_cast<wchar_t>(std::towlower(text[amp + 1]))).second)
            << testing::Narrow(text) << " repeats a letter of its menu";
      }
    }
    for (const auto& [show, hide] : {std::pair{L"menu_settings_show", L"menu_settings_hide"},
                                     std::pair{L"menu_method_show", L"menu_method_hide"}}) {
      const std::wstring a = TranslateIn(show, language), b = TranslateIn(hide, language);
      EXPECT_EQ(std::towlower(a[a.find(L'&') + 1]), std::towlower(b[b.find(L'&') + 1])) << testing::Narrow(a);
    }
  }
}

TEST(FormatText, FillsTheValuesInEachLanguagesOrder) {
  EXPECT_EQ(FormatTextIn(L"worker_label", kLanguageGerman, {L"8", L"7"}), L"Worker (Kerne: 8, max. 7):");
  EXPECT_EQ(FormatTextIn(L"worker_label", kLanguageFrench, {L"8", L"7"}), L"Tâches (cœurs : 8, max. 7) :");
  // Missing values leave their placeholder; braces that are no placeholder stay as they are.
  EXPECT_EQ(FormatTextIn(L"worker_label", kLanguageEnglish, {L"8"}), L"Workers (cores: 8, max. {2}):");
  EXPECT_EQ(FormatTextIn(L"not {1} a key {x}", kLanguageEnglish, {L"really"}), L"not really a key {x}");
}

// The test thread writes German status texts; the window shows them in its language by the
// table's rows, the fixed ones whole and the ones with values as patterns.
TEST(LocalizeGermanText, FindsFixedTextsAndPatternsAndLeavesTheRest) {
  EXPECT_EQ(LocalizeGermanText(L"Fehler: Testdatei konnte nicht erstellt werden.", kLanguageEnglish),
            L"Error: the test file could not be created.");
  EXPECT_EQ(LocalizeGermanText(L"Erstelle Testdatei: E:\\velkor_01.bin", kLanguageSpanish),
            L"Creando archivo de prueba: E:\\velkor_01.bin");
  // A value the table knows (a profile name) follows the language too.
  EXPECT_EQ(LocalizeGermanText(L"Variante 2/8: Art des Zugriffs Zuverlässig, Worker 2, Block 64 KB, Testpunkt 1, 16 MB",
                               kLanguageFrench),
            L"Variante 2/8 : type d'accès Fiable, tâches 2, bloc 64 Ko, point de test 1, 16 Mo");
  EXPECT_EQ(LocalizeGermanText(L"Volltest prüfen 1/2: E:\\velkor_02.bin", kLanguageEnglish),
            L"Full test, verifying 1/2: E:\\velkor_02.bin");
  EXPECT_EQ(LocalizeGermanText(L"Etwas ganz anderes", kLanguageEnglish), L"Etwas ganz anderes");
  EXPECT_EQ(LocalizeGermanText(L"Erstelle Testdatei: E:\\x.bin", kLanguageGerman), L"Erstelle Testdatei: E:\\x.bin");
  // Every pattern finds its way back from German, whatever values it carries.
  for (size_t i = 0; i < TextTableRowCount(); ++i) {
    const TextRow& row = TextTableRows()[i];
    const std::wstring german = row.texts[kLanguageGerman];
    if (german.find(L"{1}") == std::wstring::npos || german[0] == L'{') continue;
    const std::initializer_list<std::wstring_view> values = {L"E:\\", L"11", L"22", L"33", L"44", L"55", L"66", L"77", L"88"};
    for (int language = 1; language < kLanguageCount; ++language) {
      EXPECT_EQ(LocalizeGermanText(FormatTextIn(row.key, kLanguageGerman, values), language),
                FormatTextIn(row.key, language, values))
          << testing::Narrow(row.key);
    }
  }
}

TEST(TextTable, TextsInAllFourLanguages) {
  struct Case {
    const wchar_t* key;
    const wchar_t* texts[4];
  };
  const Case cases[] = {
      {L"app_title",
       {L"Velkor (USB/SD-Prüfer)", L"Velkor (USB/SD checker)", L"Velkor (vérificateur USB/SD)",
        L"Velkor (comprobador USB/SD)"}},
      {L"target_prefix", {L"Ziel: ", L"Target: ", L"Cible : ", L"Destino: "}},  // trailing blank kept
      {L"export_done", {L"Export geschrieben: ", L"Export written: ", L"Export écrit : ", L"Export escrito: "}},
      {L"col_free_pct", {L"Frei %", L"Free %", L"Libre %", L"Libre %"}},
      {L"yes", {L"ja", L"yes", L"oui", L"sí"}},
      {L"no_name", {L"ohne Namen", L"no name", L"sans nom", L"sin nombre"}},
      {L"system_volume", {L"System", L"System", L"Système", L"Sistema"}},
      {L"diagnosis_title",
       {L"Blockkarte und Geschwindigkeit", L"Block map and speed", L"Carte des blocs et vitesse",
        L"Mapa de bloques y velocidad"}},
      {L"worker_warn",
       {L"Warnung: mindestens 90% aller Kerne ausgewählt, System kann langsamer werden.",
        L"Warning: at least 90% of all cores selected, the system may slow down.",
        L"Attention : au moins 90% des cœurs sont sélectionnés, le système peut ralentir.",
        L"Aviso: al menos 90% de los núcleos seleccionados, el sistema puede ir más lento."}},
      {L"worker_clamp",
       {L"Ein Kern bleibt frei: Wert wird beim Start begrenzt.",
        L"One core stays free: value will be limited on start.",
        L"Un cœur reste libre : la valeur sera limitée au démarrage.",
        L"Un núcleo queda libre: el valor se limitará al iniciar."}},
      {L"entry_removed",
       {L"Ergebniseintrag aus der Ansicht entfernt. Die JSON-Datenbankdatei bleibt erhalten.",
        L"Result entry removed from the view. The JSON database file is kept.",
        L"Entrée retirée de la vue. Le fichier JSON est conservé.",
        L"Entrada quitada de la vista. El archivo JSON se conserva."}},
      {L"open_results",
       {L"Ergebnisordner öffnen", L"Open results folder", L"Ouvrir dossier résultats", L"Abrir resultados"}},
  };
  for (const Case& c : cases) {
    for (int language = 0; language < kLanguageCount; ++language) {
      EXPECT_EQ(TranslateIn(c.key, language), c.texts[language]);
    }
  }
}

TEST_F(LanguageGuard, TranslateUsesTheCurrentLanguage) {
  CurrentLanguage = kLanguageFrench;
  EXPECT_EQ(Translate(L"col_free_pct"), L"Libre %");
  CurrentLanguage = kLanguageSpanish;
  EXPECT_EQ(Translate(L"cancelled"), L"cancelado");
  CurrentLanguage = kLanguageEnglish;
  EXPECT_EQ(Translate(L"ready"), L"Ready");
  // Out of range reads German.
  for (int language : {-1, 4, 1000}) {
    CurrentLanguage = language;
    EXPECT_EQ(Translate(L"ready"), L"Bereit");
  }
}

TEST(Translate, UnknownAndWronglyCasedKeysComeBackUnchanged) {
  EXPECT_EQ(TranslateIn(L"no_such_key", kLanguageEnglish), L"no_such_key");
  EXPECT_EQ(TranslateIn(L"APP_TITLE", kLanguageEnglish), L"APP_TITLE");
  EXPECT_EQ(TranslateIn(L"app_title ", kLanguageEnglish), L"app_title ");
  EXPECT_EQ(TranslateIn(L"", kLanguageEnglish), L"");
}

TEST(Language, FromStoredCode) {
  const int platform = kLanguageFrench;  // stands for whatever the platform says
  struct Case {
    const wchar_t* code;
    int language;
  };
  const Case cases[] = {
      {L"de", kLanguageGerman},   {L"DE", kLanguageGerman},   {L"De", kLanguageGerman},
      {L"en", kLanguageEnglish},  {L"EN", kLanguageEnglish},  {L"eN", kLanguageEnglish},
      {L"english", kLanguageEnglish}, {L"xx", kLanguageEnglish}, {L"deutsch", kLanguageEnglish},
      {L"fr", kLanguageFrench},   {L"FR", kLanguageFrench},   {L"es", kLanguageSpanish},
      {L"Es", kLanguageSpanish},  {L"it", kLanguageEnglish},  {L"", platform},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LanguageFromCode(c.code, platform), c.language) << std::string(c.code, c.code + wcslen(c.code));
  }
}

TEST(Language, CodeAndNameOfEachLanguage) {
  EXPECT_STREQ(LanguageCode(kLanguageGerman), L"de");
  EXPECT_STREQ(LanguageCode(kLanguageEnglish), L"en");
  EXPECT_STREQ(LanguageCode(kLanguageFrench), L"fr");
  EXPECT_STREQ(LanguageCode(kLanguageSpanish), L"es");
  EXPECT_STREQ(LanguageCode(-1), L"en");
  EXPECT_STREQ(LanguageCode(4), L"en");
  EXPECT_STREQ(LanguageName(0), L"Deutsch");
  EXPECT_STREQ(LanguageName(1), L"English");
  EXPECT_STREQ(LanguageName(2), L"Français");
  EXPECT_STREQ(LanguageName(3), L"Español");
  EXPECT_STREQ(LanguageName(4), L"");
  // Every code reads back as its language.
  for (int language = 0; language < kLanguageCount; ++language) {
    EXPECT_EQ(LanguageFromCode(LanguageCode(language), -1), language);
  }
}

TEST(Language, FromThePlatformLanguage) {
  struct Case {
    uint16_t id;
    int language;
  };
  const Case cases[] = {
      {0x07, kLanguageGerman},  {0x09, kLanguageEnglish}, {0x0C, kLanguageFrench},
      {0x0A, kLanguageSpanish}, {0x10, kLanguageEnglish},  // Italian
      {0x11, kLanguageEnglish},                            // Japanese
      {0x0407, kLanguageGerman},                           // a full language id: German (Germany)
      {0x0C0A, kLanguageSpanish},                          // Spanish (Spain, modern sort)
      {0x040C, kLanguageFrench},  {0x0809, kLanguageEnglish}, {0x0410, kLanguageEnglish},
  };
  for (const Case& c : cases) EXPECT_EQ(LanguageOfPrimaryLanguageId(c.id), c.language) << c.id;
  const int platform = DefaultLanguage();
  EXPECT_GE(platform, 0);
  EXPECT_LT(platform, kLanguageCount);
}

}  // namespace
}  // namespace velkor
