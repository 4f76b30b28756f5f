// The window's rules that need no window: result list order and texts, menu greying, the
// selected-drive line, worker hints, control hints and the taskbar button.
#include <gtest/gtest.h>

#include "common/localization.h"
#include <algorithm>
#include <vector>

#include "view/control_numbers.h"
#include "view/field_states.h"
#include "view/hint_texts.h"
#include "view/result_columns.h"
#include "view/taskbar_state.h"
#include "view/window_texts.h"
#include "view/worker_texts.h"

namespace velkor {
namespace {

ResultRecord Row(const wchar_t* method, uint32_t blockKb, bool recommended = false, uint64_t errors = 0,
                 bool cancelled = false) {
  ResultRecord r;
  r.method = method;
  r.blockSize = blockKb * 1024;
  r.recommended = recommended;
  r.errors = errors;
  r.cancelled = cancelled;
  return r;
}

struct LanguageGuard {
  int saved = CurrentLanguage;
  explicit LanguageGuard(int language) { CurrentLanguage = language; }
  ~LanguageGuard() { CurrentLanguage = saved; }
};

TEST(ResultColumns, SortByBlockBytesAndRecommendationFirst) {
  std::vector<ResultRecord> rows = {Row(L"b", 1024), Row(L"a", 64, false, 3), Row(L"c", 4096, true),
                                    Row(L"d", 512, false, 0, true)};
  SortResultRecords(rows, 2, true);
  EXPECT_EQ(rows[0].method, L"a");  // 64 KB before 1024 KB, whatever the texts say
  EXPECT_EQ(rows[3].method, L"c");
  SortResultRecords(rows, kResultColumnResult, false);
  EXPECT_EQ(rows[0].method, L"c");  // errors and cancelled rows sort like any row without a recommendation
  SortResultRecords(rows, 0, false);
  EXPECT_EQ(rows[0].method, L"d");
  EXPECT_EQ(CompareResults(rows[0], rows[1], 9), 0);
  EXPECT_LT(CompareResults(Row(L"abc", 1), Row(L"ABD", 1), 0), 0);  // case-insensitive
}

TEST(ResultColumns, CellTextsFollowTheLanguage) {
  LanguageGuard english(kLanguageEnglish);
  ResultRecord r = Row(L"Zuverlässig (Volltest)", 1024, true);
  r.workers = 4;
  r.bytes = 3 * 1048576 + 5;
  r.mbPerSecond = 41.2749;
  r.verified = true;
  const wchar_t* want[] = {L"Reliable (full test)", L"4", L"1024", L"3 MB", L"41.27", L"yes", L"0",
                           L"Recommendation"};
  for (int c = 0; c < kResultColumnCount; ++c) EXPECT_EQ(ResultCellText(r, c), want[c]) << c;
  EXPECT_EQ(ResultRowText(Row(L"x", 1, true, 2)), L"Error");
  EXPECT_EQ(ResultRowText(Row(L"x", 1, true, 0, true)), L"cancelled");
  EXPECT_EQ(ResultRowText(Row(L"x", 1)), L"OK");
}

TEST(ResultColumns, TakingAResultOverPicksTheProfileByItsMethod) {
  struct Case {
    const wchar_t* method;
    int profile;
  } cases[] = {{L"Turbo (aggressiv)", 0}, {L"Quorvel-Modus (Volltest)", 3}, {L"Zuverlässig (nur prüfen)", 2},
               {L"Ausgeglichen", 1},      {L"Turbo Zuverlässig", 0},          {L"turbo", 1}};
  for (const Case& c : cases) EXPECT_EQ(ProfileForMethodText(c.method), c.profile) << c.method;
  ResultRecord r = Row(L"Ausgeglichen", 4096);
  r.workers = 3;
  EXPECT_EQ(TakeOverLogLine(r),
            L"Einstellungen aus Ergebnis übernommen: Art des Zugriffs Ausgeglichen, Worker 3, Blockgröße 4096 KB.");
}

TEST(MenuStates, GreyingFollowsRunAndResults) {
  const MenuStates idleEmpty = ComputeMenuStates(false, false, false, false);
  EXPECT_TRUE(idleEmpty.startEnabled);
  EXPECT_FALSE(idleEmpty.stopEnabled);
  EXPECT_FALSE(idleEmpty.exportEnabled);
  EXPECT_TRUE(ComputeMenuStates(false, true, false, false).exportEnabled);
  const MenuStates running = ComputeMenuStates(true, true, true, true);
  EXPECT_FALSE(running.startEnabled);
  EXPECT_TRUE(running.stopEnabled);
  EXPECT_FALSE(running.exportEnabled);
  EXPECT_FALSE(running.viewItemsEnabled);
  EXPECT_STREQ(running.settingsItemKey, L"menu_settings_hide");
  EXPECT_STREQ(running.methodItemKey, L"menu_method_hide");
  EXPECT_STREQ(idleEmpty.settingsItemKey, L"menu_settings_show");
  EXPECT_STREQ(idleEmpty.methodItemKey, L"menu_method_show");
}

// The expanded view's test size says which part of the drive it covers, as the verdict will count it.
TEST(WindowTexts, TestSizeCoverage) {
  LanguageGuard german(kLanguageGerman);
  constexpr uint64_t kMiB = 1048576;
  const struct {
    uint64_t test, free, reserve;
    const wchar_t* text;
  } cases[] = {
      {1024 * kMiB, 4096 * kMiB, 1024 * kMiB, L"Test: 1.0 GB von 3.0 GB freiem Speicher (33.68%), der Rest nicht"},
      {3040 * kMiB, 4096 * kMiB, 1024 * kMiB, L"Test: ganzer freier Speicher"},
      {3036 * kMiB, 4096 * kMiB, 1024 * kMiB, L"Test: ganzer freier Speicher"},  // rounded down to blocks
      {1024 * kMiB, 16 * kMiB, 0, L""},
  };
  for (const auto& c : cases) EXPECT_EQ(TestSizeCoverageText(c.test, c.free, c.reserve), c.text) << c.test;
}

TEST(WindowTexts, SelectedDriveLineAndDeletionQuestion) {
  LanguageGuard german(kLanguageGerman);
  DriveInfo d;
  d.root = L"E:\\";
  d.label = L"STICK";
  d.fileSystem = L"FAT32";
  d.bus = L"USB";
  d.totalBytes = 15891169280ULL;
  d.freeBytes = 15883173888ULL;
  d.freePercent = 99.95;
  EXPECT_EQ(SelectedDriveLine(&d), L"Ziel: E:\\ | STICK | FAT32 | frei 14.8 GB von 14.8 GB (99.95%) | Anschluss: USB");
  d.writeProtected = true;
  EXPECT_EQ(SelectedDriveLine(&d).substr(SelectedDriveLine(&d).size() - 3 - Translate(L"write_protect").size()),
            L" | " + Translate(L"write_protect"));
  d.writeProtected = false;
  d.systemVolume = true;
  EXPECT_EQ(SelectedDriveLine(&d), L"Ziel: E:\\ | STICK | FAT32 | frei 14.8 GB von 14.8 GB (99.95%) | Anschluss: USB | System");
  EXPECT_EQ(SelectedDriveLine(nullptr), L"Ausgewähltes Laufwerk: -");
  EXPECT_EQ(DeletionQuestion(1),
            L"Soll die erzeugte Testdatei wirklich gelöscht werden?\r\n\r\nDatei(en): 1\r\n\r\nEs werden nur die von "
            L"diesem Test erzeugten Dateien gelöscht.");
}

TEST(WorkerControl, LabelHintAndWarningByProcessorCount) {
  const std::wstring clamp = L"Ein Kern bleibt frei: Wert wird beim Start begrenzt.";
  const std::wstring busy = L"Warnung: mindestens 90% aller Kerne ausgewählt, System kann langsamer werden.";
  struct Case {
    uint32_t cpus;
    const wchar_t* field;
    std::wstring hint;
    bool warning;
  } cases[] = {
      {8, L"7", L"", false},  {8, L"8", clamp, true},  {16, L"14", L"", false}, {16, L"15", busy, true},
      {16, L"16", clamp, true}, {10, L"9", busy, true}, {1, L"1", busy, true},   {2, L"1", L"", false},
      {2, L"2", clamp, true},  {8, L"", L"", false},   {8, L"abc", L"", false}, {8, L"12x", clamp, true},
  };
  for (const Case& c : cases) {
    const WorkerControlView view = BuildWorkerControlView(c.field, c.cpus);
    EXPECT_EQ(view.hint, c.hint) << c.cpus << " " << c.field;
    EXPECT_EQ(view.warning, c.warning) << c.cpus << " " << c.field;
  }
  EXPECT_EQ(BuildWorkerControlView(L"1", 8).label, L"Worker (Kerne: 8, max. 7):");
  EXPECT_EQ(BuildWorkerControlView(L"", 1).label, L"Worker (Kerne: 1, max. 1):");
}

TEST(ControlHints, FixedTextsAndTheGenericHintOnlyWhileLocked) {
  LanguageGuard german(kLanguageGerman);
  const std::wstring locked = L"Hinweis anzeigen: Dieses Feld ist während eines Tests gesperrt.";
  for (bool running : {false, true}) {
    EXPECT_EQ(ControlHintText(1002, L"1024", running),
              L"Gesamte Testmenge in MB. Für FAT32/SD-Karten sind kleinere Werte oft aussagekräftiger und sicherer.");
    // What no run locks does not say it is locked; the log view says what it holds.
    EXPECT_EQ(ControlHintText(1012, L"[10:00:00] Bereit.", running).find(L"Diagnose-Log"), 0u);
    for (int id : {1013, 1036}) EXPECT_EQ(ControlHintText(id, L"[10:00:00] Bereit.", running), L"") << id;
    EXPECT_EQ(ControlHintText(1010, L"Testen", running), L"Test auf dem ausgewählten Laufwerk starten (F5).");
    EXPECT_EQ(ControlHintText(1011, L"Stop", running), L"Laufenden Test stoppen (Esc).");
  }
  // The generic text only over a control a run has locked, never in the idle window.
  for (int id : {0, 1007, 1008, 1014, 1026, 1027}) {
    EXPECT_EQ(ControlHintText(id, L"", false), L"") << id;
    EXPECT_EQ(ControlHintText(id, L"0", false), L"") << id;
    EXPECT_EQ(ControlHintText(id, L"", true), locked) << id;
  }
  EXPECT_EQ(ControlHintText(1007, L"0", true), L"0 - " + locked);
  EXPECT_EQ(ControlHintText(0, std::wstring(300, L'x'), true).find(L" - "), 255u);
  EXPECT_EQ(FixedHintForId(1013), L"");
  EXPECT_FALSE(HasFixedHint(1013));
}

TEST(ShellFolderTarget, NoBackslashBeforeTheShellsClosingQuote) {
  EXPECT_EQ(ShellFolderTarget(L"E:\\"), L"E:\\.");
  EXPECT_EQ(ShellFolderTarget(L"C:\\Velkor\\results"), L"C:\\Velkor\\results");
  EXPECT_EQ(ShellFolderTarget(L""), L"");
}

bool Has(const std::vector<int>& list, int number) {
  return std::find(list.begin(), list.end(), number) != list.end();
}

// Every setting is decided once; the profile "Quorvel-Modus" greys what it decides itself and
// says why, a run greys everything, and the partial range follows its box.
TEST(FieldStates, RunLockProfileTakeOverAndPartialRange) {
  LanguageGuard german(kLanguageGerman);
  struct Case {
    bool running;
    uint32_t profile;
    bool partial;
    std::vector<int> enabled;   // among the ones checked below
    std::vector<int> disabled;
    bool reason;
  } cases[] = {
      {false, 2, false, {kCtlTestSizeField, kCtlBlockField, kCtlWorkerField, kCtlReserveField, kCtlMethodCheck, kCtlPartialCheck, kCtlProfileBox, kCtlDeleteCheck},
       {kCtlPartialStartField, kCtlPartialRangeField, kCtlPartialStartLabel}, false},
      {false, 2, true, {kCtlPartialStartField, kCtlPartialRangeField, kCtlPartialRangeLabel}, {}, false},
      {false, 3, true, {kCtlBlockField, kCtlWorkerField, kCtlProfileBox},
       {kCtlTestSizeField, kCtlTestSizeLabel, kCtlReserveField, kCtlMethodCheck, kCtlFastestCheck, kCtlPartialCheck,
        kCtlPartialStartField, kCtlPartialRangeField, kCtlDeleteCheck, kCtlTestPointsField}, true},
      {true, 2, true, {},
       {kCtlTestSizeField, kCtlTestSizeLabel, kCtlBlockField, kCtlWorkerField, kCtlWorkerLabel, kCtlReserveField,
        kCtlTestPointsField, kCtlMethodCheck, kCtlFastestCheck, kCtlRandomPointsCheck, kCtlProfileBox, kCtlPartialCheck,
        kCtlPartialStartField, kCtlPartialRangeField, kCtlDeleteCheck}, false},
      {true, 3, false, {}, {kCtlBlockField, kCtlTestSizeField}, false},
  };
  for (const Case& c : cases) {
    const FieldStates states = DecideFieldStates({c.running, c.profile, c.partial});
    EXPECT_EQ(states.enabled.size() + states.disabled.size(), 21u);
    for (int n : states.enabled) EXPECT_FALSE(Has(states.disabled, n)) << n;
    for (int n : c.enabled) EXPECT_TRUE(Has(states.enabled, n)) << n << " run " << c.running << " profile " << c.profile;
    for (int n : c.disabled) EXPECT_TRUE(Has(states.disabled, n)) << n << " run " << c.running << " profile " << c.profile;
    EXPECT_EQ(!states.takeoverReason.empty(), c.reason);
  }
  EXPECT_EQ(DecideFieldStates({false, 3, false}).takeoverReason,
            L"Quorvel-Modus: füllt den freien Speicher; Testgröße, Rest, Teilbereich, Methodentest und Löschen sind "
            L"vorgegeben.");
}

}  // namespace
}  // namespace velkor

namespace velkor {
namespace {

TEST(TaskbarState, ProgressTurnsRedWithErrorsAndClearsAtTheEnd) {
  struct Case {
    bool running;
    int bar;
    bool errors;
    TaskbarMark mark;
    uint64_t completed;
  } cases[] = {
      {true, 0, false, TaskbarMark::kProgress, 0},
      {true, 4200, false, TaskbarMark::kProgress, 4200},
      {true, 4200, true, TaskbarMark::kError, 4200},
      {true, 12000, false, TaskbarMark::kProgress, 10000},  // never past full
      {false, 10000, false, TaskbarMark::kNone, 0},
      {false, 10000, true, TaskbarMark::kNone, 0},
  };
  for (const Case& c : cases) {
    const TaskbarProgress p = TaskbarProgressFor(c.running, c.bar, c.errors);
    EXPECT_EQ(p.mark, c.mark) << c.running << " " << c.bar << " " << c.errors;
    EXPECT_EQ(p.completed, c.completed);
    EXPECT_EQ(p.total, 10000u);
  }
}

TEST(TaskbarState, TheVerdictStaysOnTheButtonForAUserInAnotherWindow) {
  const TaskbarProgress red = TaskbarAtRunEnd(VerdictKind::kFailed, false);
  EXPECT_EQ(red.mark, TaskbarMark::kError);
  EXPECT_EQ(red.completed, red.total);
  // A part checked or a run cut short is no clean result: yellow, not the plain button.
  EXPECT_EQ(TaskbarAtRunEnd(VerdictKind::kOkPartial, false).mark, TaskbarMark::kWarning);
  EXPECT_EQ(TaskbarAtRunEnd(VerdictKind::kUnfinished, false).mark, TaskbarMark::kWarning);
  EXPECT_EQ(TaskbarAtRunEnd(VerdictKind::kOk, false).mark, TaskbarMark::kNone);
  EXPECT_EQ(TaskbarAtRunEnd(VerdictKind::kFailed, true).mark, TaskbarMark::kNone);
}

TEST(TaskbarState, OnlyALongRunInTheBackgroundFlashes) {
  EXPECT_TRUE(ShouldFlashAtRunEnd(kFlashAfterSeconds, false));
  EXPECT_TRUE(ShouldFlashAtRunEnd(3 * 3600, false));
  EXPECT_FALSE(ShouldFlashAtRunEnd(kFlashAfterSeconds - 1, false));
  EXPECT_FALSE(ShouldFlashAtRunEnd(3 * 3600, true));
}

}  // namespace
}  // namespace velkor
