#include <gtest/gtest.h>

#include <string>

#include "common/localization.h"
#include "engine/start_rules.h"
#include "pdf/help_text.h"

namespace velkor {
namespace {

constexpr uint64_t kMiB = 1048576;

// The help's line holding sentence, or an empty view when no line does.
std::wstring_view HelpLineWith(int language, const std::wstring& sentence) {
  const HelpText help = HelpTextIn(language);
  for (size_t i = 0; i < help.lineCount; ++i) {
    const std::wstring_view line = help.lines[i];
    if (line.find(sentence) != std::wstring_view::npos) return line;
  }
  return {};
}

// What the help promises for each state of the settings area is what Start does in that state:
// a user who hid the settings again must not believe that the size entered there still holds.
// When the start rules change, this table shows which help sentences go with them.
TEST(HelpOnTheSettings, SaysWhatStartDoesInEachStateOfTheSettings) {
  const struct {
    const char* state;
    bool shown;
    bool everShown;
    bool enteredValues;  // else the whole free space in the given profile
    uint32_t profile;
    const wchar_t* sentences[kLanguageCount];
  } cases[] = {
      {"never shown", false, false, false, kProfileQuorvel,
       {L"Ohne geöffnete Einstellungen füllt Velkor den ganzen freien Speicher",
        L"With the settings hidden, Velkor fills all the free space",
        L"Quand les réglages sont masqués, Velkor remplit tout l'espace libre",
        L"Con los ajustes ocultos, Velkor llena todo el espacio libre"}},
      {"shown", true, true, true, kProfileTurbo,
       {L"Solange sie angezeigt werden, verwendet Testen genau die dort eingestellten Werte.",
        L"While they are shown, Start test uses exactly the values set there.",
        L"Tant qu'ils sont affichés, Lancer le test utilise exactement les valeurs qui y sont définies.",
        L"Mientras se muestran, Iniciar prueba usa exactamente los valores que hay en ellos."}},
      {"hidden again", false, true, false, kProfileReliable,
       {L"Werden sie wieder verborgen, prüft Testen den ganzen freien Speicher bis auf eine kleine Reserve, im "
        L"Profil Zuverlässig",
        L"Once they are hidden again, Start test checks all the free space except a small reserve, with the Reliable "
        L"profile",
        L"Une fois masqués à nouveau, Lancer le test vérifie tout l'espace libre, sauf une petite réserve, avec le "
        L"profil Fiable",
        L"Si se vuelven a ocultar, Iniciar prueba verifica todo el espacio libre salvo una pequeña reserva, con el "
        L"perfil Fiable"}},
  };
  DriveInfo drive;
  drive.root = L"E:\\";
  drive.fileSystem = L"exFAT";
  drive.freeBytes = drive.totalBytes = 8000 * kMiB;
  drive.freePercent = 100.0;
  for (const auto& c : cases) {
    StartRequest request;
    request.mode = StartModeOfWindow(c.shown, c.everShown);
    request.testSizeMb = 100;
    request.reserveMb = 10;
    request.blockKb = 1024;
    request.profile = kProfileTurbo;
    const StartPlan plan = PlanStart(request, &drive, 8);
    ASSERT_EQ(plan.refusal, StartRefusal::kNone) << c.state;
    EXPECT_EQ(plan.config.accessProfile, c.profile) << c.state;
    EXPECT_EQ(plan.config.testSize, c.enteredValues ? 100 * kMiB : 7968 * kMiB) << c.state;  // 32 MiB stay free
    EXPECT_EQ(plan.config.reserveFree, c.enteredValues ? 10 * kMiB : 0) << c.state;
    for (int language = 0; language < kLanguageCount; ++language) {
      EXPECT_FALSE(HelpLineWith(language, c.sentences[language]).empty()) << c.state << ", language " << language;
    }
  }
  // The two sentences on the settings area stand together in one paragraph.
  for (int language = 0; language < kLanguageCount; ++language) {
    EXPECT_NE(HelpLineWith(language, cases[1].sentences[language]).find(cases[2].sentences[language]),
              std::wstring_view::npos)
        << language;
  }
}

}  // namespace
}  // namespace velkor
