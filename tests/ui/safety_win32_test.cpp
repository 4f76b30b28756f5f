// The questions before a run that could harm the system or the program itself: both default to
// No, and No starts nothing.
#include <gtest/gtest.h>

#include <memory>

#include "common/paths.h"
#include "common/settings.h"
#include "engine/own_files.h"
#include "engine/run_outcome.h"
#include "pdf/help_files.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "tests/ui/window_driver.h"
#include "ui/commands.h"
#include "ui/lists.h"
#include "view/control_numbers.h"
#include "view/dpi_scale.h"

namespace velkor::testing {
namespace {

class SafetyQuestions : public WindowTest {
 protected:
  // Selects the row of root; false when the drive is not listed here.
  bool Select(const std::wstring& root) {
    FillDriveList(root);
    return GetSelectedDriveRoot() == root;
  }

  // Starts a 1 MB test and answers the first box No, noting its default button.
  void StartAndDecline() {
    Command(kIdSettingsToggle);
    SetText(kCtlTestSizeField, L"1");
    SetText(kCtlBlockField, L"64");
    Answerer().answers.push_back([this](HWND dialog, const SeenDialog&) {
      // The button a user's Enter presses: the default push button.
      for (int id : {IDYES, IDNO}) {
        if (GetWindowLongW(GetDlgItem(dialog, id), GWL_STYLE) & BS_DEFPUSHBUTTON) defaultButton_ = id;
      }
      return IDNO;
    });
    Pump();
    logBefore_ = WindowText(Control(kCtlLogView));
    Command(kIdStart);
    Pump();
  }

  std::wstring AddedLog() { return WindowText(Control(kCtlLogView)).substr(logBefore_.size()); }

  int defaultButton_ = 0;
  std::wstring logBefore_;
};

TEST_F(SafetyQuestions, TheSystemDriveAsksAndNoStartsNothing) {
  ASSERT_NE(OpenWindow(), nullptr);
  if (!Select(L"C:\\")) GTEST_SKIP() << "no drive C: here";
  ASSERT_TRUE(GetSelectedDrive()->systemVolume);
  const bool hadTestFile = GetFileAttributesW(L"C:\\velkor.bin") != INVALID_FILE_ATTRIBUTES;
  StartAndDecline();
  ASSERT_EQ(Answerer().seen.size(), 1u);
  EXPECT_EQ(Answerer().seen[0].title, L"Systemlaufwerk");
  const std::wstring& text = Answerer().seen[0].text;
  EXPECT_EQ(text.rfind(L"Achtung: Das ausgewählte Laufwerk ist das Systemlaufwerk!\r\n\r\nLaufwerk: C:\\\r\n"
                       L"Der Test schreibt bis zu 1.0 MB Testdaten darauf. Mindestens ", 0), 0u)
      << Narrow(text);
  // Its buttons say what they do, in the window's language.
  EXPECT_EQ(Answerer().seen[0].buttons, (std::vector<std::wstring>{L"Trotzdem testen", L"Abbrechen"}));
  EXPECT_EQ(defaultButton_, IDNO);
  EXPECT_FALSE(Ui().run);
  EXPECT_FALSE(Ui().controlsLocked);
  EXPECT_NE(AddedLog().find(L"Start abgebrochen: Test auf dem Systemlaufwerk nicht bestätigt.\r\n"), std::wstring::npos);
  if (!hadTestFile) {
    EXPECT_EQ(GetFileAttributesW(L"C:\\velkor.bin"), INVALID_FILE_ATTRIBUTES);
  }
}

// The test program runs from Z: under Wine (the host's root): that drive stands for a stick the
// program was started from.
TEST_F(SafetyQuestions, TheProgramsOwnDriveAsksAndNoStartsNothing) {
  ASSERT_NE(OpenWindow(), nullptr);
  const std::wstring root = GetProgramDirectory().substr(0, 2) + L"\\";
  if (!Select(root)) GTEST_SKIP() << "the program's drive is not listed";
  ASSERT_TRUE(GetSelectedDrive()->programVolume);
  if (GetSelectedDrive()->systemVolume) GTEST_SKIP() << "the program runs from the system drive here";
  const bool hadTestFile = GetFileAttributesW((root + L"velkor.bin").c_str()) != INVALID_FILE_ATTRIBUTES;
  StartAndDecline();
  ASSERT_EQ(Answerer().seen.size(), 1u);
  EXPECT_EQ(Answerer().seen[0].title, L"Programm auf dem Testlaufwerk");
  EXPECT_EQ(Answerer().seen[0].text.rfind(L"Velkor wurde von dem Laufwerk gestartet, das getestet werden soll: " + root, 0),
            0u);
  EXPECT_EQ(defaultButton_, IDNO);
  EXPECT_FALSE(Ui().run);
  EXPECT_NE(AddedLog().find(L"Start abgebrochen: Velkor läuft von dem Laufwerk, das getestet werden sollte.\r\n"),
            std::wstring::npos);
  if (!hadTestFile) {
    EXPECT_EQ(GetFileAttributesW((root + L"velkor.bin").c_str()), INVALID_FILE_ATTRIBUTES);
  }
  // The log stays where it was: nothing was run.
  EXPECT_EQ(GetLogFilePath(), folder_.File(L"velkor.log"));
}

// While a run writes on the program's own drive, nothing of the program's lands beside it: a
// resized window's settings wait for the run's end, and a help command writes into the
// per-user folder.
TEST_F(SafetyQuestions, ARunOnTheProgramsDriveKeepsSettingsAndHelpOffIt) {
  ASSERT_NE(OpenWindow(), nullptr);
  const std::wstring ini = SettingsFilePath();
  Ui().run = std::make_shared<TestState>();
  Ui().run->running = true;
  Ui().run->phase = kPhaseWriting;
  Ui().runOnProgramVolume = true;
  MoveWindow(main_, 0, 0, ScaleToDpi(1000, Ui().dpi), ScaleToDpi(700, Ui().dpi), TRUE);
  SaveWindowSettings();
  Pump();
  EXPECT_EQ(platform::ReadIniInt(ini, L"Window", L"Width", 0), 0) << "written during the run";

  ASSERT_FALSE(MoveOwnFilesToUserFolder(false).empty());
  struct HelpFolderBack {
    ~HelpFolderBack() { SetHelpFolder(L""); }
  } helpFolderBack;
  const std::wstring userFolder = GetUserDataDirectory();
  ASSERT_FALSE(userFolder.empty());
  EXPECT_EQ(HelpHtmlPath(), JoinPath(userFolder, L"Velkor-Hilfe.html"));
  DeleteFileW(HelpHtmlPath().c_str());
  Command(kIdHelpHtml);
  EXPECT_NE(GetFileAttributesW(HelpHtmlPath().c_str()), INVALID_FILE_ATTRIBUTES);
  Pump();
  EXPECT_NE(Text(kCtlLogView).find(L"Hilfe geöffnet: " + HelpHtmlPath()), std::wstring::npos);

  // The run's end writes what waited.
  Ui().run->phase = kPhaseFinished;
  SendMessageW(main_, WM_APP_TESTDONE, 0, reinterpret_cast<LPARAM>(new RunOutcome{}));
  Pump();
  EXPECT_EQ(platform::ReadIniInt(ini, L"Window", L"Width", 0), 1000);
}

}  // namespace
}  // namespace velkor::testing
