#include "common/localization.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace velkor {
namespace {

class LanguageGuard : public ::testing::Test {
 protected:
  void TearDown() override { CurrentLanguage = kLanguageGerman; }
};

TEST(TextTable, UniqueKeysInTheirOrder) {
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
      L"system_volume", L"diagnosis_title", L"quorvel_takes_over", L"hint_start", L"hint_stop"};
  ASSERT_EQ(TextTableRowCount(), 70u);
  ASSERT_EQ(sizeof(kKeys) / sizeof(kKeys[0]), 70u);
  std::set<std::wstring> seen;
  for (size_t i = 0; i < TextTableRowCount(); ++i) {
    const TextRow& row = TextTableRows()[i];
    EXPECT_EQ(std::wstring(row.key), kKeys[i]) << "row " << i + 1;
    EXPECT_TRUE(seen.insert(row.key).second) << "duplicate key in row " << i + 1;
    for (const wchar_t* text : row.texts) {
      ASSERT_NE(text, nullptr);
      EXPECT_NE(std::wstring(text), L"") << "row " << i + 1;
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
