// Real runs started from the window under Wine, on the small removable drives that
// scripts/wine-window-drives maps: W: a 96 MiB volume, Y: a folder the test can make vanish.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "engine/progress_text.h"
#include "engine/run_lock.h"
#include "platform/console.h"
#include "platform/files.h"
#include "platform/system.h"
#include "platform/text.h"
#include "platform/volume_lock.h"
#include "results/result_record.h"
#include "results/result_report.h"
#include "tests/ui/window_driver.h"
#include "ui/diagnosis_window.h"
#include "ui/drive_watch.h"
#include "ui/run_control.h"
#include "ui/lists.h"
#include "view/control_numbers.h"

namespace velkor::testing {
namespace {

constexpr int kRunTimeoutMs = 180000;

class TestRuns : public WindowTest {
 protected:
  void SetUp() override {
    const wchar_t* drives = _wgetenv(L"VELKOR_WINDOW_DRIVES");
    if (drives == nullptr) GTEST_SKIP() << "the window drives are not mapped (scripts/wine-window-drives)";
    hostDrives_ = drives;
    WindowTest::SetUp();
    EmptyDrive(L"W:\\");
    EmptyDrive(L"Y:\\");
  }

  void TearDown() override {
    if (hostDrives_.empty()) return;
    // A run may still be on its way out after the window closed: let it finish before cleaning.
    PumpUntil([] { return !Ui().run || !Ui().run->running.load(); }, kRunTimeoutMs);
    WindowTest::TearDown();
    RestoreY();
    EmptyDrive(L"W:\\");
    EmptyDrive(L"Y:\\");
  }

  // Everything but the volume label file.
  static std::vector<std::wstring> FilesOn(const std::wstring& root) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((root + L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      const std::wstring name = data.cFileName;
      if (name != L"." && name != L".." && name != L".windows-label") names.push_back(name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
  }

  static void EmptyDrive(const std::wstring& root) {
    for (const std::wstring& name : FilesOn(root)) DeleteFileW((root + name).c_str());
  }

  // The host folder behind Y: as a Windows path (Z: is the host's root).
  std::wstring HostPath(const std::wstring& name) const {
    std::wstring path = L"Z:" + hostDrives_ + L"/" + name;
    for (wchar_t& c : path) {
      if (c == L'/') c = L'\\';
    }
    return path;
  }

  // Pulls the stick: the folder behind Y: goes away, so Y: no longer answers.
  void RemoveY() { ASSERT_TRUE(MoveFileW(HostPath(L"y").c_str(), HostPath(L"y-gone").c_str())); }
  void RestoreY() {
    if (GetFileAttributesW(HostPath(L"y-gone").c_str()) != INVALID_FILE_ATTRIBUTES) {
      MoveFileW(HostPath(L"y-gone").c_str(), HostPath(L"y").c_str());
    }
  }

  // U: is there only where FUSE could mount the fake stick.
  bool FakeStickMapped() const {
    return GetFileAttributesW(HostPath(L"u").c_str()) != INVALID_FILE_ATTRIBUTES &&
           GetDriveTypeW(L"U:\\") != DRIVE_NO_ROOT_DIR;
  }

  // Callers ASSERT on it: a run on another drive than the test's own must never start.
  bool SelectDrive(const std::wstring& root) {
    // A Wine session that has just started may take a moment to offer newly mapped drives.
    PumpUntil([&] {
      RefreshDriveList();
      FillDriveList(root);
      return GetSelectedDriveRoot() == root;
    }, 30000);
    EXPECT_EQ(GetSelectedDriveRoot(), root) << "drive " << Narrow(root) << " is not mapped";
    return GetSelectedDriveRoot() == root;
  }

  const DriveInfo& Selected() { return *GetSelectedDrive(); }

  // Waits until the run's thread is done and the window has noticed the end and is idle again;
  // then takes in what the thread posted last.
  void WaitForIdle() {
    ASSERT_TRUE(PumpUntil([] {
      return Ui().run && Ui().run->phase.load() == kPhaseFinished && !Ui().controlsLocked && DeviceWorkSettled();
    }, kRunTimeoutMs));
    Pump();
  }

  std::wstring Log() { return Text(kCtlLogView); }
  bool Logged(const std::wstring& piece) { return Log().find(piece) != std::wstring::npos; }

  void ShowSettingsWithSize(const wchar_t* sizeMb, const wchar_t* blockKb) {
    Command(kIdSettingsToggle);
    SetText(kCtlTestSizeField, sizeMb);
    SetText(kCtlBlockField, blockKb);
  }

  std::wstring hostDrives_;
};

TEST_F(TestRuns, CompactRunFillsTheFreeSpaceAndDeletesExactlyItsFiles) {
  ASSERT_NE(OpenWindow(), nullptr);
  ASSERT_TRUE(SelectDrive(L"W:\\"));
  const uint64_t free = Selected().freeBytes;
  const uint64_t want = (free - 33554432) / 1048576 * 1048576;
  WriteFileBytes(L"W:\\velkor_keep.txt", "");  // a user's file next to ours (0 bytes: still 99 % free)
  ASSERT_TRUE(SelectDrive(L"W:\\"));
  Answerer().byTitle = {{L"Velkor Ergebnis", IDNO}, {L"Sicherheitsabfrage", IDYES}};

  Command(kIdStart);
  EXPECT_TRUE(Ui().controlsLocked);
  EXPECT_FALSE(IsWindowEnabled(Control(kCtlStartButton)));
  EXPECT_TRUE(IsWindowEnabled(Control(kCtlStopButton)));
  WaitForIdle();

  EXPECT_TRUE(Logged(L"Kompaktmodus: Quorvel-Modus ohne geöffnete Einstellungen gewählt."));
  EXPECT_TRUE(Logged(L"Quorvel-Modus: Testmenge auf freien Speicher des ausgewählten Laufwerks gesetzt: "));
  EXPECT_EQ(Text(kCtlTestSizeField), std::to_wstring(want / 1048576));
  ASSERT_EQ(Ui().currentResults.size(), 1u);
  const ResultRecord& r = Ui().currentResults[0];
  EXPECT_EQ(r.method, L"Quorvel-Modus (Volltest)");
  EXPECT_EQ(r.bytes, want);
  EXPECT_EQ(r.blockSize, 1048576u);
  EXPECT_EQ(r.errors, 0u);
  EXPECT_TRUE(r.verified);
  EXPECT_EQ(Rows(Control(kCtlResultList)), 1);
  EXPECT_EQ(Text(kCtlSummary), BuildResultSummary(Ui().currentResults, Ui().currentVerdict));
  // Sized to the free space: a whole test, judged good.
  EXPECT_EQ(Ui().currentVerdict.kind, VerdictKind::kOk);
  SaveScreenshot(main_, L"run-whole-W.bmp");

  // The report came once, then the deletion question for the one file it made.
  ASSERT_EQ(Seen(L"Velkor Ergebnis").size(), 1u);
  const std::wstring shown = Seen(L"Velkor Ergebnis")[0].text;
  EXPECT_EQ(shown.find(L"IN ORDNUNG\r\nDer ganze freie Speicher wurde geschrieben"),
            std::wstring(L"Velkor Ergebnis\r\n====================\r\n\r\n").size())
      << Narrow(shown);
  EXPECT_NE(shown.find(L"\r\nLaufwerk: W:\\ (Name: "), std::wstring::npos) << Narrow(shown);
  EXPECT_NE(shown.find(L"\r\nProgramm: Velkor "), std::wstring::npos) << Narrow(shown);
  ASSERT_EQ(Seen(L"Sicherheitsabfrage").size(), 1u);
  EXPECT_NE(Seen(L"Sicherheitsabfrage")[0].text.find(L"Datei(en): 1\r\n"), std::wstring::npos);
  EXPECT_TRUE(Logged(L"Testdatei gelöscht: W:\\velkor.bin"));
  EXPECT_EQ(FilesOn(L"W:\\"), std::vector<std::wstring>{L"velkor_keep.txt"});

  // The window is idle again: progress full, the end summary, the saved run selected.
  EXPECT_EQ(SendMessageW(Control(kCtlProgressBar), PBM_GETPOS, 0, 0), 10000);
  EXPECT_EQ(Text(kCtlStatusLine).rfind(L"Fertig: ", 0), 0u);
  EXPECT_FALSE(Ui().controlsLocked);
  EXPECT_TRUE(IsWindowEnabled(Control(kCtlStartButton)));
  EXPECT_FALSE(IsWindowEnabled(Control(kCtlStopButton)));
  HWND saved = Control(kCtlSavedTestsBox);
  ASSERT_EQ(SendMessageW(saved, CB_GETCOUNT, 0, 0), 1);
  EXPECT_EQ(Ui().savedResultFiles[0], Ui().currentResultsPath);
}

// The test files are deleted on a worker: while the drive takes its time the window answers,
// says what it does and lets nothing race the deletion; closing it then waits for the deletion.
TEST_F(TestRuns, TheTestFilesAreDeletedAsideAndClosingWaitsForThem) {
  ASSERT_NE(OpenWindow(), nullptr);
  ASSERT_TRUE(SelectDrive(L"W:\\"));
  ShowSettingsWithSize(L"16", L"1024");
  Answerer().byTitle = {{L"Velkor Ergebnis", IDNO}, {L"Sicherheitsabfrage", IDYES}};
  Command(kIdStart);
  ASSERT_TRUE(TestRunning());
  SlowDevice slow;
  ASSERT_TRUE(WindowAnswersWhileHeld([] { PumpUntil(DeletingTestFiles, kRunTimeoutMs); }));
  ASSERT_TRUE(DeletingTestFiles());
  EXPECT_EQ(Seen(L"Sicherheitsabfrage").size(), 1u);
  EXPECT_EQ(Text(kCtlStatusLine), L"Testdateien werden gelöscht …");
  EXPECT_TRUE(Ui().controlsLocked);
  EXPECT_FALSE(IsWindowEnabled(Control(kCtlStartButton)));
  EXPECT_FALSE(IsWindowEnabled(Control(kCtlStopButton)));
  EXPECT_EQ(FilesOn(L"W:\\"), std::vector<std::wstring>{L"velkor.bin"});
  SaveScreenshot(main_, L"deleting.bmp");
  const std::shared_ptr<TestState> run = Ui().run;
  Command(kIdStart);  // ignored meanwhile
  EXPECT_EQ(Ui().run, run);
  EXPECT_FALSE(StartPending());

  // The window waits for the deletion to close, answering meanwhile; then the drive answers.
  std::atomic<int> answered{-1};
  std::thread drive([&answered, window = main_] {
    DWORD_PTR result = 0;
    answered = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result) != 0 ? 1 : 0;
    HoldDeviceWork(false);
  });
  CloseWindow();
  drive.join();
  EXPECT_EQ(answered.load(), 1);
  EXPECT_TRUE(FilesOn(L"W:\\").empty());
}

TEST_F(TestRuns, MethodTestTakesTheFastestVariantAndVerifyOnlyChecksItsFiles) {
  ASSERT_NE(OpenWindow(), nullptr);
  ASSERT_TRUE(SelectDrive(L"W:\\"));
  ShowSettingsWithSize(L"16", L"1024");
  SetChecked(kCtlMethodCheck, true);
  // Before the start the expanded view says, on a line of its own, how much of the drive it covers.
  EXPECT_NE(Text(kCtlSelectedDrive).find(L"\r\nTest: 16.0 MB von "), std::wstring::npos) << Narrow(Text(kCtlSelectedDrive));
  Answerer().byTitle = {{L"Velkor Ergebnis", IDNO}, {L"Sicherheitsabfrage", IDNO}};
  Command(kIdStart);
  WaitForIdle();

  EXPECT_TRUE(Logged(L"Schnellste Variante wird für den Volltest benutzt: "));
  EXPECT_TRUE(Logged(L"Testdateien nicht gelöscht."));
  // 16 MB of the drive: a partial test, and the window says so.
  EXPECT_EQ(Ui().currentVerdict.kind, VerdictKind::kOkPartial);
  EXPECT_NE(Text(kCtlSummary).find(L"\r\nGeprüft wurden 16.0 MB von "), std::wstring::npos) << Narrow(Text(kCtlSummary));
  EXPECT_EQ(Text(kCtlStatusLine).rfind(L"Fertig, nur ein Teil geprüft: ", 0), 0u) << Narrow(Text(kCtlStatusLine));
  SaveScreenshot(main_, L"run-partial-W.bmp");
  size_t variants = 0, full = 0;
  for (const ResultRecord& r : Ui().currentResults) {
    EXPECT_EQ(r.errors, 0u) << std::string(r.method.begin(), r.method.end());
    (IsFullOrVerifyRecord(r) ? full : variants)++;
  }
  EXPECT_GT(variants, 1u);
  EXPECT_EQ(full, 1u);
  const std::vector<std::wstring> kept = FilesOn(L"W:\\");
  EXPECT_FALSE(kept.empty());

  // "Nur prüfen" reads those files back with the settings the full test really used (the
  // fastest variant's block size decides the block numbers): the user takes its row over first.
  for (size_t i = 0; i < Ui().currentResults.size(); ++i) {
    if (IsFullOrVerifyRecord(Ui().currentResults[i])) ApplyResultToSettings(static_cast<int>(i));
  }
  Command(kIdVerifyOnly);
  WaitForIdle();
  ASSERT_FALSE(Ui().currentResults.empty());
  for (const ResultRecord& r : Ui().currentResults) {
    EXPECT_NE(r.method.find(L"(nur prüfen)"), std::wstring::npos);
    EXPECT_EQ(r.errors, 0u);
  }
  EXPECT_TRUE(Logged(L"Bedienung: Nur prüfen gedrückt."));
  EXPECT_EQ(Seen(L"Sicherheitsabfrage").size(), 1u);  // only the first run asked
  EXPECT_EQ(FilesOn(L"W:\\"), kept);
}

// One bar for the whole run: method test, full test and check are one amount, the bar never runs
// back, the line names the part, and the target line keeps naming the drive under test.
TEST_F(TestRuns, OneBarForTheWholeRunWithAMethodTest) {
  ASSERT_NE(OpenWindow(), nullptr);
  ASSERT_TRUE(SelectDrive(L"W:\\"));
  ShowSettingsWithSize(L"16", L"1024");
  SetChecked(kCtlMethodCheck, true);
  Answerer().byTitle = {{L"Velkor Ergebnis", IDNO}, {L"Sicherheitsabfrage", IDYES}};
  const std::wstring target = Text(kCtlSelectedDrive);
  ASSERT_EQ(target.rfind(L"Ziel: W:\\", 0), 0u);
  Command(kIdStart);
  EXPECT_EQ(Text(kCtlSummary), Translate(L"status_delete_active"));
  std::vector<int> bars;
  std::vector<std::wstring> lines;
  std::vector<std::wstring> misnamed;  // lines shown while the run was in a part they do not name
  bool targetKept = true;
  // The window's own refresh, as often as the loop comes round: a short run has few timer ticks.
  // Which parts the loop catches depends on the machine's speed, so each line is held against the
  // part the run was in while it was made, not against a list of lines that must have come.
  ASSERT_TRUE(PumpUntil([&] {
    if (!Ui().run->running.load()) return true;
    const ProgressSnapshot before = TakeProgressSnapshot(*Ui().run);
    UpdateProgress();
    const ProgressSnapshot after = TakeProgressSnapshot(*Ui().run);
    const std::wstring line = Text(kCtlStatusLine);
    bars.push_back(static_cast<int>(SendMessageW(Control(kCtlProgressBar), PBM_GETPOS, 0, 0)));
    if (after.running && before.runPart == after.runPart && before.partNumber == after.partNumber) {
      const std::wstring head = before.runPart == kRunPartMethodTest
                                    ? L"Methodentest " + std::to_wstring(before.partNumber) + L"/"
                                    : before.runPart == kRunPartFullTest ? std::wstring(L"Volltest") : std::wstring();
      if (!head.empty() && line.rfind(head, 0) != 0) misnamed.push_back(head + L" | " + line);
    }
    if (lines.empty() || lines.back() != line) {
      lines.push_back(line);
      SaveScreenshot(main_, L"run-progress-" + std::to_wstring(lines.size()) + L".bmp");
    }
    targetKept = targetKept && Text(kCtlSelectedDrive) == target;
    return false;
  }, kRunTimeoutMs));
  WaitForIdle();
  EXPECT_TRUE(targetKept);
  EXPECT_TRUE(std::is_sorted(bars.begin(), bars.end())) << "the bar ran back";
  EXPECT_TRUE(misnamed.empty()) << "part | line shown: " << (misnamed.empty() ? std::string() : platform::WideToUtf8(misnamed.front()));
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::wstring& l) {
    return l.rfind(L"Methodentest ", 0) == 0 || l.rfind(L"Volltest", 0) == 0;
  }));
  // Its amount was every byte the run wrote and read back, and it went all the way.
  uint64_t moved = 0;
  for (const ResultRecord& r : Ui().currentResults) moved += r.writtenBytes + r.verifiedBytes;
  EXPECT_GT(Ui().currentResults.size(), 2u);
  EXPECT_EQ(Ui().run->runBytes, moved);
  EXPECT_EQ(Ui().run->runBytesDone, moved);
  EXPECT_EQ(SendMessageW(Control(kCtlProgressBar), PBM_GETPOS, 0, 0), 10000);
  EXPECT_EQ(Text(kCtlStatusLine).rfind(L"Fertig", 0), 0u);
  EXPECT_EQ(Text(kCtlSelectedDrive).rfind(L"Ziel: W:\\", 0), 0u);
}

// A run that cannot begin says why in a box, not only in the log, and leaves nothing among the
// saved tests. (A write-protected drive is refused by the start rules; Wine reports no write
// protection, and the start reads the drive again, so that refusal is tested natively.)
TEST_F(TestRuns, AStartThatFailsSaysWhyInABoxAndSavesNoResults) {
  ASSERT_NE(OpenWindow(), nullptr);
  ASSERT_TRUE(SelectDrive(L"W:\\"));
  Answerer().byTitle = {{kStartFailedTitle, IDOK}};
  Command(kIdVerifyOnly);
  ASSERT_TRUE(Ui().run);
  WaitForIdle();
  EXPECT_TRUE(Logged(L"Bedienung: Nur prüfen gedrückt."));
  ASSERT_EQ(Seen(kStartFailedTitle).size(), 1u);
  EXPECT_EQ(Seen(kStartFailedTitle)[0].text,
            L"Fehler: Testdatei zum Prüfen fehlt.\r\n\r\nFEHLER: Prüfen ohne Schreiben nicht möglich, Datei fehlt: "
            L"W:\\velkor.bin");
  EXPECT_TRUE(FilesOn(L"W:\\").empty());
  EXPECT_TRUE(ListSavedResultFiles().empty());
  EXPECT_EQ(SendMessageW(Control(kCtlSavedTestsBox), CB_GETCOUNT, 0, 0), 0);
  // The failure stays the last word of the status line, also through another timer tick, and
  // the box came once.
  SendMessageW(main_, WM_TIMER, kProgressTimer, 0);
  Pump();
  EXPECT_EQ(Text(kCtlStatusLine), L"Fehler: Testdatei zum Prüfen fehlt.");
  EXPECT_EQ(Seen(kStartFailedTitle).size(), 1u);

  // In another language the box says the same in that language, without German; the log line
  // stays German.
  Choose(kCtlLanguageBox, kLanguageEnglish);
  const std::wstring english = TranslateIn(L"box_start_failed_title", kLanguageEnglish);
  Answerer().byTitle = {{english, IDOK}};
  Command(kIdVerifyOnly);
  WaitForIdle();
  ASSERT_EQ(Seen(english).size(), 1u);
  EXPECT_EQ(Seen(english)[0].text, L"Error: the test file to verify is missing.\r\n\r\nFile: W:\\velkor.bin");
  EXPECT_TRUE(Logged(L"FEHLER: Prüfen ohne Schreiben nicht möglich, Datei fehlt: W:\\velkor.bin"));
}

// The drive table follows the drive: a row picked again, a Start, and the end of a run read it
// anew; a kept run's file counts as free for the next compact run.
TEST_F(TestRuns, TheDriveIsReadAgainAtStartAndAfterARun) {
  ASSERT_NE(OpenWindow(), nullptr);
  ASSERT_TRUE(SelectDrive(L"W:\\"));
  auto realFree = [] {
    ULARGE_INTEGER free{}, total{};
    GetDiskFreeSpaceExW(L"W:\\", &free, nullptr, &total);
    return free.QuadPart;
  };
  const uint64_t emptyFree = realFree();
  const uint64_t want = (emptyFree - 33554432) / 1048576 * 1048576;

  // A stale row (as before files were copied) is read again when the user picks the drive.
  size_t row = 0;
  while (row < DriveTable.size() && DriveTable[row].root != L"W:\\") ++row;
  ASSERT_LT(row, DriveTable.size());
  DriveTable[row].freeBytes = 1;
  FillDriveList(L"Y:\\");  // refilling the list restores a selection: no user's pick, no read
  FillDriveList(L"W:\\");
  EXPECT_EQ(Selected().freeBytes, 1u);
  FillDriveList(L"Y:\\");
  LVITEMW pick{};
  pick.stateMask = pick.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(Control(kCtlDriveList), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&pick));  // as a click does
  ASSERT_EQ(GetSelectedDriveRoot(), L"W:\\");
  ASSERT_TRUE(PumpUntil(DeviceWorkSettled));  // the drive is read on a worker
  EXPECT_EQ(Selected().freeBytes, emptyFree);

  // 40 MB copied onto the stick after the last look: Start reads the drive and asks.
  WriteFileBytes(L"W:\\user-data.bin", std::string(40 << 20, 'u'));
  Answerer().byTitle = {{L"Zielpartition nicht leer", IDNO}};
  Command(kIdStart);
  Pump();
  ASSERT_EQ(Seen(L"Zielpartition nicht leer").size(), 1u);
  EXPECT_FALSE(Ui().run);
  EXPECT_EQ(Selected().freeBytes, realFree());
  EXPECT_LT(Selected().freeBytes, emptyFree - (40 << 20) + 1048576);
  DeleteFileW(L"W:\\user-data.bin");

  // A run whose file is kept: afterwards the table shows the drive nearly full.
  Answerer().byTitle = {{L"Velkor Ergebnis", IDNO}, {L"Sicherheitsabfrage", IDNO}};
  Command(kIdStart);
  WaitForIdle();
  ASSERT_EQ(Ui().currentResults.size(), 1u);
  EXPECT_EQ(Ui().currentResults[0].bytes, want);
  EXPECT_EQ(Selected().freeBytes, realFree());
  EXPECT_LT(Selected().freeBytes, emptyFree - want + 1048576);

  // Testing again: the kept file is ours and is emptied, so the run is sized as on the empty
  // stick and its preflight passes.
  Answerer().byTitle = {{L"Zielpartition nicht leer", IDYES}, {L"Velkor Ergebnis", IDNO}, {L"Sicherheitsabfrage", IDYES}};
  Command(kIdStart);
  WaitForIdle();
  const std::wstring second = Log();  // a start empties the log view
  EXPECT_EQ(second.find(L"FEHLER"), std::wstring::npos) << Narrow(second);
  EXPECT_NE(second.find(L"dazu eigene Testdateien eines früheren Laufs="), std::wstring::npos) << Narrow(second);
  ASSERT_EQ(Ui().currentResults.size(), 1u);
  EXPECT_EQ(Ui().currentResults[0].bytes, want);
  EXPECT_EQ(Ui().currentResults[0].errors, 0u);
  EXPECT_TRUE(FilesOn(L"W:\\").empty());
  EXPECT_EQ(Selected().freeBytes, realFree());
}

// Settings that the profile decides are greyed before the run with the reason beside the box;
// a run greys every setting; afterwards the partial range follows its box again.
TEST_F(TestRuns, FieldsShowWhatTheyDoAndARunLocksThemAll) {
  ASSERT_NE(OpenWindow(), nullptr);
  ASSERT_TRUE(SelectDrive(L"W:\\"));
  ShowSettingsWithSize(L"16", L"1024");
  auto enabled = [](int n) { return IsWindowEnabled(Control(n)) != FALSE; };
  Choose(kCtlProfileBox, 3);
  for (int n : {kCtlTestSizeField, kCtlReserveField, kCtlMethodCheck, kCtlFastestCheck, kCtlPartialCheck, kCtlDeleteCheck}) {
    EXPECT_FALSE(enabled(n)) << n;
  }
  EXPECT_TRUE(enabled(kCtlBlockField) && enabled(kCtlWorkerField) && enabled(kCtlProfileBox));
  EXPECT_EQ(Text(kCtlWorkerHint), Translate(L"quorvel_takes_over"));
  Choose(kCtlProfileBox, 2);
  EXPECT_TRUE(enabled(kCtlTestSizeField) && enabled(kCtlMethodCheck) && enabled(kCtlPartialCheck));
  EXPECT_NE(Text(kCtlWorkerHint), Translate(L"quorvel_takes_over"));
  SetText(kCtlTestSizeField, L"16");

  Answerer().byTitle = {{L"Velkor Ergebnis", IDNO}, {L"Sicherheitsabfrage", IDYES}};
  Command(kIdStart);
  ASSERT_TRUE(TestRunning());
  for (int n : {kCtlTestSizeLabel, kCtlTestSizeField, kCtlBlockLabel, kCtlBlockField, kCtlWorkerLabel, kCtlWorkerField,
                kCtlReserveLabel, kCtlReserveField, kCtlMethodCheck, kCtlFastestCheck, kCtlProfileBox, kCtlPartialCheck,
                kCtlPartialStartField, kCtlPartialRangeField, kCtlDeleteCheck, kCtlStartButton}) {
    EXPECT_FALSE(enabled(n)) << "during the run, control " << n;
  }
  EXPECT_TRUE(enabled(kCtlStopButton));
  WaitForIdle();
  EXPECT_TRUE(enabled(kCtlTestSizeField) && enabled(kCtlBlockField) && enabled(kCtlPartialCheck));
  EXPECT_FALSE(enabled(kCtlPartialStartField) || enabled(kCtlPartialRangeField));  // "Teilbereich" is not ticked
  EXPECT_FALSE(enabled(kCtlStopButton));

  // Over the idle log the status line says what the log holds, and claims no locked field.
  SendMessageW(main_, WM_SETCURSOR, reinterpret_cast<WPARAM>(Control(kCtlLogView)), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(Text(kCtlStatusLine), Translate(L"hint_1012"));
  EXPECT_EQ(Text(kCtlStatusLine).find(Translate(L"tooltip_common")), std::wstring::npos);
}

// A results file that cannot be saved is no result to rely on: a box says so, with the file and
// the system's reason, before the report.
TEST_F(TestRuns, AResultsFileThatCannotBeSavedIsSaidInABox) {
  ASSERT_NE(OpenWindow(), nullptr);
  ASSERT_TRUE(SelectDrive(L"W:\\"));
  // A file where the results folder belongs: nothing can be saved there.
  const std::wstring results = folder_.File(L"results");
  ASSERT_TRUE(RemoveDirectoryW(results.c_str()));
  WriteFileBytes(results, "kein Ordner");
  ShowSettingsWithSize(L"8", L"1024");
  Answerer().byTitle = {{L"Velkor Ergebnis", IDNO}, {L"Sicherheitsabfrage", IDYES}, {L"Ergebnisdatei", IDOK}};
  Command(kIdStart);
  WaitForIdle();
  const std::vector<SeenDialog> boxes = Seen(L"Ergebnisdatei");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text.rfind(L"Die Ergebnisdatei konnte nicht gespeichert werden.", 0), 0u)
      << platform::WideToUtf8(boxes[0].text);
  EXPECT_NE(boxes[0].text.find(L"FEHLER: Ergebnisdatei konnte nicht gespeichert werden. Datei=" + results + L"\\"),
            std::wstring::npos)
      << platform::WideToUtf8(boxes[0].text);
  EXPECT_TRUE(Logged(L"FEHLER: Ergebnisdatei konnte nicht gespeichert werden. Datei=" + results + L"\\"));
  // Before the report.
  const auto& seen = Answerer().seen;
  const auto box = std::find_if(seen.begin(), seen.end(), [](const SeenDialog& d) { return d.title == L"Ergebnisdatei"; });
  const auto report = std::find_if(seen.begin(), seen.end(), [](const SeenDialog& d) { return d.title == L"Velkor Ergebnis"; });
  ASSERT_NE(report, seen.end());
  EXPECT_LT(box - seen.begin(), report - seen.begin());
  EXPECT_EQ(ReadFileBytes(results), "kein Ordner");
  EXPECT_TRUE(FilesOn(L"W:\\").empty());
}

TEST_F(TestRuns, NonEmptyTargetAnsweredNoStartsNothing) {
  WriteFileBytes(L"W:\\user-data.bin", std::string(4 << 20, 'u'));
  ASSERT_NE(OpenWindow(), nullptr);
  ASSERT_TRUE(SelectDrive(L"W:\\"));
  ASSERT_LT(Selected().freePercent, 99.0);
  Pump();
  const std::wstring before = Log();
  Answerer().byTitle = {{L"Zielpartition nicht leer", IDNO}};
  Command(kIdStart);
  Pump();
  ASSERT_EQ(Seen(L"Zielpartition nicht leer").size(), 1u);
  EXPECT_EQ(Seen(L"Zielpartition nicht leer")[0].text.rfind(L"Sicher, die Zielpartition ist nicht leer!\r\n\r\n", 0), 0u);
  EXPECT_FALSE(Ui().run);
  EXPECT_FALSE(Ui().controlsLocked);
  const std::wstring added = Log().substr(before.size());
  EXPECT_NE(added.find(L"Start abgebrochen: Zielpartition war nicht mindestens 99% frei.\r\n"), std::wstring::npos);
  EXPECT_EQ(std::count(added.begin(), added.end(), L'\n'), 1);
  EXPECT_EQ(FilesOn(L"W:\\"), std::vector<std::wstring>{L"user-data.bin"});
}

TEST_F(TestRuns, StopEndsTheRunAsStopped) {
  ASSERT_NE(OpenWindow(), nullptr);
  ASSERT_TRUE(SelectDrive(L"W:\\"));
  Answerer().byTitle = {{L"Velkor Ergebnis", IDNO}, {L"Sicherheitsabfrage", IDYES}};
  Command(kIdStart);
  Command(kIdStop);
  EXPECT_TRUE(Ui().run->stopRequested.load());
  WaitForIdle();
  EXPECT_TRUE(Logged(L"Stop-Anforderung gesendet."));
  EXPECT_TRUE(Logged(L"Test abgebrochen."));
  EXPECT_EQ(Text(kCtlStatusLine).rfind(L"Gestoppt: ", 0), 0u);
  EXPECT_TRUE(FilesOn(L"W:\\").empty());
  // A stop while nothing runs does nothing.
  const std::wstring before = Log();
  Command(kIdStop);
  Pump();
  EXPECT_EQ(Log(), before);
}

// F5 starts a test and Esc stops it, as the menu shows; while it runs the system stays awake
// and the taskbar button shows the progress; afterwards both are back as they were.
TEST_F(TestRuns, KeysStartAndStopAndTheRunKeepsTheSystemAwake) {
  ASSERT_NE(OpenWindow(), nullptr);
  ASSERT_TRUE(SelectDrive(L"Y:\\"));
  ShowSettingsWithSize(L"8192", L"1024");
  Answerer().byTitle = {{L"Zielpartition nicht leer", IDYES}, {L"Velkor Ergebnis", IDNO},
                        {L"Sicherheitsabfrage", IDYES}};
  EXPECT_EQ(MenuText(kIdStart), L"&Testen\tF5");
  EXPECT_EQ(MenuText(kIdStop), L"&Stop\tEsc");
  SetForegroundWindow(main_);
  SetFocus(Control(kCtlTestSizeField));
  PressKeys({VK_F5});
  WaitForStart();
  ASSERT_TRUE(TestRunning());
  EXPECT_TRUE(Ui().controlsLocked);
  // The focused field is locked now: the window holds the focus, so the keys still arrive.
  EXPECT_EQ(GetFocus(), main_);
  // Asked without a change of its own (no ES_CONTINUOUS): what the window's thread asked for.
  const EXECUTION_STATE awake = SetThreadExecutionState(0);
  EXPECT_TRUE((awake & ES_CONTINUOUS) && (awake & ES_SYSTEM_REQUIRED)) << std::hex << awake;
  ASSERT_TRUE(PumpUntil([] { return Ui().taskbar.mark == TaskbarMark::kProgress || !TestRunning(); }));
  ASSERT_TRUE(TestRunning()) << "the run must still go on for Esc to stop it";

  PressKeys({VK_ESCAPE});
  EXPECT_TRUE(Ui().run->stopRequested.load());
  WaitForIdle();
  EXPECT_TRUE(Logged(L"Stop-Anforderung gesendet."));
  EXPECT_EQ(Text(kCtlStatusLine).rfind(L"Gestoppt: ", 0), 0u) << Narrow(Text(kCtlStatusLine));
  EXPECT_EQ(SetThreadExecutionState(0) & ES_SYSTEM_REQUIRED, 0u);
  EXPECT_EQ(Ui().taskbar.mark, TaskbarMark::kNone);
  EXPECT_TRUE(FilesOn(L"Y:\\").empty());
}

// Runs a program to its end; its exit code, and what it wrote to standard output and error.
int RunProgram(const std::wstring& commandLine, std::string* output) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return -1;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = startup.hStdError = writeEnd;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process{};
  std::wstring line = commandLine;
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                      &process)) {
    CloseHandle(readEnd);
    CloseHandle(writeEnd);
    return -1;
  }
  CloseHandle(writeEnd);
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr) && got > 0) output->append(buffer, got);
  CloseHandle(readEnd);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return static_cast<int>(code);
}

std::wstring ProgramBeside(const wchar_t* name) {
  const std::wstring path = platform::ProgramFilePath();
  return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}

// The hidden session window of a process, or null.
HWND SessionWindowOf(DWORD processId) {
  for (HWND window = FindWindowExW(nullptr, nullptr, platform::kSessionWindowClass, nullptr); window != nullptr;
       window = FindWindowExW(nullptr, window, platform::kSessionWindowClass, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId) return window;
  }
  return nullptr;
}

// One run per drive, whoever starts it: while another program's run holds W:, neither the window
// nor velkor-cli starts a second one; the window's own run holds the drive until it ends.
TEST_F(TestRuns, ASecondRunOnTheSameDriveIsRefused) {
  ASSERT_NE(OpenWindow(), nullptr);
  ASSERT_TRUE(SelectDrive(L"W:\\"));
  {
    platform::VolumeLock other;  // a run of another program
    ASSERT_EQ(platform::TryLockVolume(L"W:\\", &other), platform::VolumeLockResult::kTaken);
    Answerer().byTitle = {{kDriveBusyTitle, IDOK}};
    Command(kIdStart);
    ASSERT_EQ(Seen(kDriveBusyTitle).size(), 1u);
    EXPECT_EQ(Seen(kDriveBusyTitle)[0].text, kDriveBusyText);
    EXPECT_FALSE(Ui().run);
    EXPECT_FALSE(Ui().controlsLocked);
    Pump();
    EXPECT_TRUE(Logged(L"Start abgelehnt: Auf diesem Laufwerk läuft bereits ein Test"));

    std::string output;
    const int code = RunProgram(L"\"" + ProgramBeside(L"velkor-cli.exe") + L"\" test W:\\ --size 1 --yes --results-dir \"" +
                                    folder_.File(L"cli-results") + L"\"",
                                &output);
    EXPECT_EQ(code, 2) << output;
    EXPECT_NE(output.find(platform::WideToUtf8(kDriveBusyText)), std::string::npos) << output;
    EXPECT_TRUE(FilesOn(L"W:\\").empty());
  }

  // Free again: the window's run takes the drive and keeps it until its end.
  ASSERT_TRUE(SelectDrive(L"Y:\\"));
  ShowSettingsWithSize(L"8192", L"1024");
  Answerer().byTitle = {{L"Zielpartition nicht leer", IDYES}, {L"Velkor Ergebnis", IDNO}, {L"Sicherheitsabfrage", IDYES}};
  Command(kIdStart);
  ASSERT_TRUE(TestRunning());
  platform::VolumeLock probe;
  EXPECT_EQ(platform::TryLockVolume(L"Y:\\", &probe), platform::VolumeLockResult::kBusy);
  ASSERT_TRUE(TestRunning()) << "the run must still go on while the lock is probed";
  Command(kIdStop);
  WaitForIdle();
  EXPECT_EQ(platform::TryLockVolume(L"Y:\\", &probe), platform::VolumeLockResult::kTaken);
}

// velkor-cli at logoff or shutdown: its hidden window hears the session end, the run stops as
// "sessionEnd" and its results file is final before the message returns.
TEST_F(TestRuns, VelkorCliSavesItsRunWhenTheSessionEnds) {
  const std::wstring results = folder_.File(L"cli-results");
  const std::wstring output = folder_.File(L"cli-output.txt");
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE out = CreateFileW(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(out, INVALID_HANDLE_VALUE);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = startup.hStdError = out;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process{};
  std::wstring line = L"\"" + ProgramBeside(L"velkor-cli.exe") + L"\" test Y:\\ --size 8192 --yes --results-dir \"" +
                      results + L"\"";
  ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                             &startup, &process));
  CloseHandle(out);
  // Writing, with its session window up.
  HWND session = nullptr;
  const bool writing = PumpUntil([&] {
    session = SessionWindowOf(process.dwProcessId);
    uint64_t size = 0;
    return session != nullptr && platform::GetFileSizeByPath(L"Y:\\velkor.bin", &size) && size > 0;
  }, kRunTimeoutMs);
  if (!writing) TerminateProcess(process.hProcess, 1);
  ASSERT_TRUE(writing) << ReadFileBytes(output);

  EXPECT_EQ(SendMessageW(session, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
  SendMessageW(session, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  const std::vector<std::wstring> files = platform::ListFolder(results, L"*-velkor.json");
  ASSERT_EQ(files.size(), 1u);
  std::wstring saved;
  ASSERT_TRUE(ReadUtf8TextFile(results + L"\\" + files[0], &saved));
  EXPECT_NE(saved.find(L"\"final\": true"), std::wstring::npos) << Narrow(saved);
  EXPECT_NE(saved.find(L"\"stopReason\":\"sessionEnd\""), std::wstring::npos) << Narrow(saved);

  // Windows would end the process now; here it ends by itself, as after Ctrl-C.
  EXPECT_EQ(WaitForSingleObject(process.hProcess, kRunTimeoutMs), WAIT_OBJECT_0);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  EXPECT_EQ(code, 130u) << ReadFileBytes(output);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
}

TEST_F(TestRuns, ClosingDuringARunAsksFirst) {
  ASSERT_NE(OpenWindow(), nullptr);
  ASSERT_TRUE(SelectDrive(L"Y:\\"));
  ShowSettingsWithSize(L"8192", L"1024");  // long enough to still run when the window closes
  Answerer().byTitle = {{L"Zielpartition nicht leer", IDYES}};
  Command(kIdStart);
  ASSERT_TRUE(TestRunning());

  Answerer().byTitle[L"Beenden"] = IDCANCEL;
  SendMessageW(main_, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(main_));
  EXPECT_FALSE(Ui().run->stopRequested.load());

  // OK: the window stops the run and closes only once the test thread is done.
  Answerer().byTitle[L"Beenden"] = IDOK;
  Answerer().byTitle[L"Sicherheitsabfrage"] = IDYES;
  SendMessageW(main_, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(main_));
  EXPECT_TRUE(Ui().run->stopRequested.load());
  EXPECT_EQ(Ui().run->phase.load(), kPhaseFinished);
  EXPECT_FALSE(Ui().run->running.load());
  EXPECT_EQ(Seen(L"Beenden").size(), 2u);
  EXPECT_EQ(Seen(L"Beenden")[0].text, L"Test läuft noch. Soll ich stoppen und schließen?");
  // Its records arrived and its results file is final; no report, but the deletion question.
  ASSERT_FALSE(Ui().currentResultsPath.empty());
  std::wstring saved;
  ASSERT_TRUE(ReadUtf8TextFile(Ui().currentResultsPath, &saved));
  EXPECT_NE(saved.find(L"\"final\": true"), std::wstring::npos);
  EXPECT_TRUE(Seen(L"Velkor Ergebnis").empty());
  ASSERT_EQ(Seen(L"Sicherheitsabfrage").size(), 1u);
  EXPECT_TRUE(FilesOn(L"Y:\\").empty());
  const std::string log = ReadFileBytes(folder_.File(L"velkor.log"));
  EXPECT_NE(log.find("Fenster wird geschlossen: Test wird gestoppt"), std::string::npos);
  EXPECT_NE(log.find("Test abgebrochen."), std::string::npos);
  EXPECT_NE(log.find("Testdatei gelöscht: Y:\\velkor.bin"), std::string::npos);
}

// Shutdown or logoff during a run: Windows is told to wait and why; when the session ends anyway
// the run stops, its results file is saved as unfinished, and nobody is asked anything.
TEST_F(TestRuns, TheEndOfTheSessionStopsTheRunAndKeepsItsResults) {
  ASSERT_NE(OpenWindow(), nullptr);
  EXPECT_EQ(SendMessageW(main_, WM_QUERYENDSESSION, 0, 0), TRUE);  // idle: nothing to hold up
  Choose(kCtlLanguageBox, kLanguageEnglish);
  ASSERT_TRUE(SelectDrive(L"Y:\\"));
  ShowSettingsWithSize(L"8192", L"1024");  // long enough to still run when the session ends
  Answerer().byTitle = {{L"Target partition not empty", IDYES}};
  Command(kIdStart);
  ASSERT_TRUE(TestRunning());
  EXPECT_EQ(Ui().sessionBlockReason, Translate(L"session_block_reason"));
  EXPECT_NE(Ui().sessionBlockReason.find(L"Velkor is testing a drive."), std::wstring::npos);
  ASSERT_TRUE(PumpUntil([] { return Ui().run->blocksWritten.load() > 0 || !Ui().run->running.load(); }));
  ASSERT_TRUE(TestRunning());

  EXPECT_EQ(SendMessageW(main_, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), FALSE);
  SendMessageW(main_, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);  // the user cancelled: it runs on
  EXPECT_FALSE(Ui().run->stopRequested.load());

  const size_t boxesBefore = Answerer().seen.size();
  ASSERT_TRUE(DeleteFileW(SettingsFilePath().c_str()));  // written again at the end
  SendMessageW(main_, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  // Back from the message, the run is over and its file final: Windows may end the process now.
  EXPECT_EQ(Ui().run->phase.load(), kPhaseFinished);
  EXPECT_EQ(CurrentStopReason(*Ui().run), StopReason::kSessionEnd);
  EXPECT_TRUE(Ui().sessionBlockReason.empty());
  ASSERT_FALSE(Ui().currentResultsPath.empty());
  std::wstring saved;
  ASSERT_TRUE(ReadUtf8TextFile(Ui().currentResultsPath, &saved));
  EXPECT_NE(saved.find(L"\"final\": true"), std::wstring::npos);
  EXPECT_NE(saved.find(L"\"stopReason\":\"sessionEnd\""), std::wstring::npos) << Narrow(saved);
  EXPECT_NE(saved.find(L"\"cancelled\":true"), std::wstring::npos);
  EXPECT_EQ(Answerer().seen.size(), boxesBefore);  // no report, no deletion question
  const std::string log = ReadFileBytes(folder_.File(L"velkor.log"));
  EXPECT_NE(log.find("Windows beendet die Sitzung: Test wird gestoppt"), std::string::npos);
  EXPECT_NE(log.find("Testdateien nicht gelöscht (Windows beendet die Sitzung)."), std::string::npos);
  EXPECT_EQ(platform::ReadIniString(SettingsFilePath(), L"General", L"Language", L"", 16), L"en");
}

// A stick pulled during a run stops it as the drive gone: the outcome says so, nothing blames the
// medium, and nobody is asked to delete files on a drive that is not there.
TEST_F(TestRuns, PullingTheTargetDriveStopsTheRun) {
  ASSERT_NE(OpenWindow(), nullptr);
  ASSERT_TRUE(SelectDrive(L"Y:\\"));
  ShowSettingsWithSize(L"8192", L"1024");
  Answerer().byTitle = {{L"Zielpartition nicht leer", IDYES}, {L"Laufwerkswechsel", IDOK},
                        {L"Velkor Ergebnis", IDNO}, {L"Sicherheitsabfrage", IDNO}};
  Command(kIdStart);
  // Pulled while the test writes, after its preflight.
  ASSERT_TRUE(PumpUntil([] { return Ui().run->blocksWritten.load() > 0 || !Ui().run->running.load(); }));
  ASSERT_TRUE(TestRunning());
  RemoveY();
  // Windows tells the window once per change; Wine notices a vanished folder drive only at its
  // next look at its drives: the window is told again after each of its scans until Y: is gone
  // from its list. The run itself may notice first; the user hears of it either way.
  auto listed = [] {
    for (const DriveInfo& d : DriveTable) {
      if (d.root == L"Y:\\") return true;
    }
    return false;
  };
  ASSERT_TRUE(PumpUntil([&] {
    if (!DriveScanPending() && listed()) SendMessageW(main_, WM_DEVICECHANGE, 0x8004 /* a device was removed */, 0);
    return !listed() && !DriveScanPending();
  }, kRunTimeoutMs));
  EXPECT_TRUE(Ui().run->stopRequested.load());
  ASSERT_TRUE(PumpUntil([this] { return Logged(L"Warnung: Das Ziellaufwerk Y:\\"); }));
  ASSERT_GE(Seen(L"Laufwerkswechsel").size(), 1u);
  EXPECT_EQ(Seen(L"Laufwerkswechsel")[0].text,
            L"Das Ziellaufwerk wurde während des Tests entfernt oder geändert. Der Test wird gestoppt.");
  EXPECT_TRUE(Logged(L"Warnung: Das Ziellaufwerk Y:\\ wurde während des Tests entfernt oder geändert. Test wird gestoppt."));
  EXPECT_TRUE(Logged(L"Laufwerkswechsel erkannt. Liste wird aktualisiert."));
  for (const DriveInfo& d : DriveTable) EXPECT_NE(d.root, L"Y:\\");
  WaitForIdle();
  SaveScreenshot(main_, L"run-drive-gone-Y.bmp");
  EXPECT_EQ(Text(kCtlStatusLine).rfind(L"Fehler: Laufwerk während des Tests nicht mehr erreichbar (kein Befund über das Medium): ", 0), 0u)
      << Narrow(Text(kCtlStatusLine)) << Narrow(Log());
  EXPECT_EQ(CurrentStopReason(*Ui().run), StopReason::kDriveGone);
  EXPECT_EQ(Ui().currentVerdict.kind, VerdictKind::kUnfinished);
  EXPECT_EQ(Ui().currentVerdict.reason, StopReason::kDriveGone);
  EXPECT_EQ(VerdictHeadOf(Ui().currentVerdict).icon, VerdictIcon::kWarning);
  EXPECT_EQ(Ui().currentVerdict.errors, 0u);
  for (const ResultRecord& r : Ui().currentResults) EXPECT_EQ(r.errors, 0u);
  EXPECT_FALSE(Logged(L"FEHLER GEFUNDEN"));
  EXPECT_EQ(Text(kCtlSummary).find(L"Fehler gefunden"), std::wstring::npos) << Narrow(Text(kCtlSummary));
  ASSERT_EQ(Seen(L"Velkor Ergebnis").size(), 1u);
  const std::wstring report = Seen(L"Velkor Ergebnis")[0].text;
  EXPECT_EQ(report.find(L"ABGEBROCHEN\r\nDas Laufwerk war während des Tests nicht mehr erreichbar"),
            std::wstring(L"Velkor Ergebnis\r\n====================\r\n\r\n").size())
      << Narrow(report);
  EXPECT_EQ(report.find(L"Diesem Medium dürfen keine Daten anvertraut werden"), std::wstring::npos) << Narrow(report);
  EXPECT_TRUE(Seen(L"Sicherheitsabfrage").empty());
  // The results file: unfinished because the drive went, not failed.
  std::wstring saved;
  ASSERT_TRUE(ReadUtf8TextFile(Ui().currentResultsPath, &saved));
  EXPECT_NE(saved.find(L"\n  \"stopReason\": \"driveGone\",\n"), std::wstring::npos) << Narrow(saved);
  EXPECT_NE(saved.find(L"\n  \"verdict\": \"unfinished\"\n}"), std::wstring::npos) << Narrow(saved);
  EXPECT_EQ(saved.find(L"\"failed\""), std::wstring::npos);
}

// Y: is given to another folder while the run writes (a letter reassigned to another volume, or a
// mount point left as an empty folder): the set of drive letters stays the same, so only the run
// itself can notice. It writes nothing there, not even into a file of its test files' names.
TEST_F(TestRuns, ADriveLetterGivenToAnotherFolderGetsNothingWritten) {
  const std::wstring other = HostPath(L"y-other");
  ASSERT_TRUE(CreateDirectoryW(other.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  const std::string userBytes(3 << 20, 'u');
  for (const wchar_t* name : {L"velkor_p01.bin", L"velkor_p02.bin"}) WriteFileBytes(other + L"\\" + name, userBytes);
  WriteFileBytes(other + L"\\foto.jpg", "photo");
  struct AtEnd {
    std::function<void()> run;
    ~AtEnd() { run(); }
  } restore{[this, other] {
    // Y: back to its own folder; the other one goes.
    if (GetFileAttributesW(HostPath(L"y-first").c_str()) != INVALID_FILE_ATTRIBUTES) {
      MoveFileW(HostPath(L"y").c_str(), other.c_str());
      MoveFileW(HostPath(L"y-first").c_str(), HostPath(L"y").c_str());
    }
    for (const wchar_t* name : {L"velkor_p01.bin", L"velkor_p02.bin", L"foto.jpg"}) {
      DeleteFileW((other + L"\\" + name).c_str());
    }
    RemoveDirectoryW(other.c_str());
  }};

  ASSERT_NE(OpenWindow(), nullptr);
  ASSERT_TRUE(SelectDrive(L"Y:\\"));
  ShowSettingsWithSize(L"1024", L"1024");
  SetChecked(kCtlMethodCheck, true);
  SetChecked(kCtlRandomPointsCheck, false);
  SetText(kCtlTestPointsField, L"3");
  Answerer().byTitle = {{L"Zielpartition nicht leer", IDYES}, {L"Laufwerkswechsel", IDOK},
                        {L"Velkor Ergebnis", IDNO}, {L"Sicherheitsabfrage", IDNO}};
  Command(kIdStart);
  ASSERT_TRUE(PumpUntil([] { return Ui().run->blocksWritten.load() > 0 || !Ui().run->running.load(); }));
  ASSERT_TRUE(TestRunning());
  const DWORD mask = GetLogicalDrives();
  ASSERT_TRUE(MoveFileW(HostPath(L"y").c_str(), HostPath(L"y-first").c_str()));
  ASSERT_TRUE(MoveFileW(other.c_str(), HostPath(L"y").c_str()));
  WaitForIdle();
  EXPECT_EQ(GetLogicalDrives(), mask);
  EXPECT_TRUE(Logged(L"Warnung: Das Ziellaufwerk Y:\\ wurde während des Tests entfernt oder geändert. Test wird gestoppt."))
      << Narrow(Log());
  EXPECT_EQ(Seen(L"Laufwerkswechsel").size(), 1u);
  EXPECT_EQ(Text(kCtlStatusLine).rfind(L"Fehler: Laufwerk während des Tests nicht mehr erreichbar", 0), 0u)
      << Narrow(Text(kCtlStatusLine));
  std::vector<std::wstring> files = FilesOn(L"Y:\\");
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::wstring>{L"foto.jpg", L"velkor_p01.bin", L"velkor_p02.bin"}));
  EXPECT_TRUE(ReadFileBytes(L"Y:\\velkor_p01.bin") == userBytes);
  EXPECT_TRUE(ReadFileBytes(L"Y:\\velkor_p02.bin") == userBytes);
  EXPECT_EQ(ReadFileBytes(L"Y:\\foto.jpg"), "photo");
}

}  // namespace
}  // namespace velkor::testing

namespace velkor::testing {
namespace {

const std::wstring kReportTitle = L"Velkor Ergebnis\r\n====================\r\n\r\n";

// The fake stick: 1 GiB claimed, 256 MiB kept, every write past that lands on earlier storage.
TEST_F(TestRuns, CompactRunOnAFakeStickEndsWithErrorsNotOk) {
  ASSERT_NE(OpenWindow(), nullptr);
  if (!FakeStickMapped()) GTEST_SKIP() << "no fake drive U: (FUSE not usable here)";
  ASSERT_TRUE(SelectDrive(L"U:\\"));
  Answerer().byTitle = {{L"Velkor Ergebnis", IDNO}, {L"Sicherheitsabfrage", IDYES}};
  Command(kIdStart);
  WaitForIdle();
  // The taskbar button stays red for a user in another window until the window is activated.
  const bool inFront = GetForegroundWindow() == main_;
  EXPECT_EQ(Ui().taskbar.mark, inFront ? TaskbarMark::kNone : TaskbarMark::kError);
  SendMessageW(main_, WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(Ui().taskbar.mark, TaskbarMark::kNone);

  ASSERT_EQ(Ui().currentResults.size(), 1u);
  const ResultRecord& r = Ui().currentResults[0];
  EXPECT_GT(r.errors, 0u);
  EXPECT_EQ(ResultText(r), L"Fehler");  // the error limit ended it: no user's stop
  EXPECT_FALSE(r.cancelled);
  EXPECT_EQ(Cell(Control(kCtlResultList), 0, 7), L"Fehler");
  EXPECT_EQ(Text(kCtlStatusLine).rfind(L"Fehler: Test wegen Fehlern des Mediums beendet: ", 0), 0u)
      << Narrow(Text(kCtlStatusLine));
  ASSERT_EQ(Seen(L"Velkor Ergebnis").size(), 1u);
  const std::wstring report = Seen(L"Velkor Ergebnis")[0].text;
  EXPECT_EQ(Ui().currentVerdict.kind, VerdictKind::kFailed);
  SaveScreenshot(main_, L"run-fake-U.bmp");
  EXPECT_EQ(report.find(L"FEHLER GEFUNDEN\r\n"), kReportTitle.size());
  // A failed medium gets no recommendation, and the speed is what it did.
  EXPECT_EQ(report.find(L"Empfehlung"), std::wstring::npos) << Narrow(report);
  EXPECT_EQ(report.find(L"Geschwindigkeit: 0.00 MB/s"), std::wstring::npos) << Narrow(report);
  EXPECT_EQ(Text(kCtlSummary).find(L"100.00%"), std::wstring::npos) << Narrow(Text(kCtlSummary));
  EXPECT_TRUE(Logged(L"Datenabweichung bei Block "));
  EXPECT_TRUE(Logged(L"Testdatei gelöscht: U:\\velkor.bin"));

  // What the stick really is: it keeps 256 MiB and hands them out again and again.
  EXPECT_NE(report.find(L"\r\nDiagnose\r\n  Befund: Das Medium wiederholt sich nach 256.0 MB"), std::wstring::npos)
      << Narrow(report);
  EXPECT_NE(report.find(L"\r\n  Nutzbare Kapazität (geschätzt): 256.0 MB\r\n"), std::wstring::npos) << Narrow(report);
  EXPECT_TRUE(Logged(L"Art: überschrieben (Daten von Block "));
  const Diagnosis& d = Ui().currentDiagnosis.diagnosis;
  EXPECT_EQ(d.finding, DiagnosisFinding::kWraps);
  EXPECT_EQ(d.usableBytes, 256ull << 20);
  EXPECT_GT(CountOf(d, BlockClass::kOverwritten), 0u);

  // The map window of the run.
  SendMessageW(main_, WM_INITMENUPOPUP, 0, 0);
  EXPECT_EQ(MenuState(kIdDiagnosisView) & MF_GRAYED, 0u);
  Command(kIdDiagnosisView);
  HWND view = DiagnosisWindow();
  ASSERT_NE(view, nullptr);
  SetWindowPos(view, HWND_TOP, 10, 10, 1100, 700, 0);
  UpdateWindow(view);
  Pump();  // UpdateWindow painted it already; what else is queued goes before the picture
  SaveScreenshot(view, L"diagnosis-window-U.bmp");
  DestroyWindow(view);
}

// The same fake after a method test, with 8 MiB blocks: 92 of 124 blocks come back wrong, far
// below the error limit, so the run ends by itself. Its report still opens with the failure,
// recommends nothing, and every output gives one reliability and the speed the medium showed.
TEST_F(TestRuns, AFakeWithErrorsBelowTheLimitAfterAMethodTestFails) {
  ASSERT_NE(OpenWindow(), nullptr);
  if (!FakeStickMapped()) GTEST_SKIP() << "no fake drive U: (FUSE not usable here)";
  ASSERT_TRUE(SelectDrive(L"U:\\"));
  ShowSettingsWithSize(L"992", L"8192");
  SetText(kCtlReserveField, L"0");
  SetChecked(kCtlMethodCheck, true);
  SetChecked(kCtlFastestCheck, false);
  Answerer().byTitle = {{L"Velkor Ergebnis", IDNO}, {L"Sicherheitsabfrage", IDYES}};
  Command(kIdStart);
  WaitForIdle();
  SaveScreenshot(main_, L"run-fake-method-U.bmp");

  const Verdict& verdict = Ui().currentVerdict;
  EXPECT_EQ(verdict.kind, VerdictKind::kFailed);
  EXPECT_EQ(VerdictHeadOf(verdict).icon, VerdictIcon::kError);
  EXPECT_EQ(verdict.reason, StopReason::kNone);  // no error limit: the run went to its end
  EXPECT_GT(verdict.errors, 0u);
  EXPECT_GT(verdict.mbPerSecond, 0.0);
  const ResultRecord* full = nullptr;
  for (const ResultRecord& r : Ui().currentResults) {
    if (IsFullOrVerifyRecord(r)) full = &r;
  }
  ASSERT_NE(full, nullptr);
  EXPECT_EQ(full->blockSize, 8388608u);
  EXPECT_GT(full->errors, 0u);
  EXPECT_LT(full->errors, 124u);
  EXPECT_FALSE(full->cancelled);
  // The method test's fastest variant is no advice for this medium, in the table either.
  for (const ResultRecord& r : Ui().currentResults) EXPECT_FALSE(r.recommended) << Narrow(r.method);
  for (int row = 0; row < Rows(Control(kCtlResultList)); ++row) EXPECT_NE(Cell(Control(kCtlResultList), row, 7), L"Empfehlung");
  ASSERT_EQ(Seen(L"Velkor Ergebnis").size(), 1u);
  const std::wstring report = Seen(L"Velkor Ergebnis")[0].text;
  EXPECT_EQ(report.find(L"FEHLER GEFUNDEN\r\n"), kReportTitle.size()) << Narrow(report);
  for (const wchar_t* never : {L"Empfehlung", L"Schnellste Variante", L"Geschwindigkeit: 0.00 MB/s"}) {
    EXPECT_EQ(report.find(never), std::wstring::npos) << Narrow(never) << "\n" << Narrow(report);
    EXPECT_EQ(Text(kCtlSummary).find(never), std::wstring::npos) << Narrow(Text(kCtlSummary));
  }
  // One reliability figure: the box, the summary and the status line.
  EXPECT_NE(report.find(L"Zuverlässigkeit 0.00%"), std::wstring::npos) << Narrow(report);
  EXPECT_NE(Text(kCtlSummary).find(L"Zuverlässigkeit 0.00%"), std::wstring::npos) << Narrow(Text(kCtlSummary));
  EXPECT_EQ(Text(kCtlStatusLine).rfind(L"Fehler: Das Medium hat Fehler: ", 0), 0u) << Narrow(Text(kCtlStatusLine));
  EXPECT_NE(Text(kCtlStatusLine).find(L"Zuverlässigkeit 0.00%"), std::wstring::npos) << Narrow(Text(kCtlStatusLine));
  EXPECT_TRUE(Logged(L"Testdatei gelöscht: U:\\velkor.bin"));
}

}  // namespace
}  // namespace velkor::testing
