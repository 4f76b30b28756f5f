// A drive that takes long to answer never stops the window: its queries run on workers, the
// window keeps answering and says what it waits for, and fills in the answer once it comes.
#include <gtest/gtest.h>

#include "tests/ui/window_driver.h"
#include "ui/device_work.h"
#include "ui/lists.h"
#include "ui/run_control.h"
#include "view/control_numbers.h"

namespace velkor::testing {
namespace {

class DeviceWork : public WindowTest {
 protected:
  // Picks row as a click does (the selection changes, the list tells the window).
  void Pick(int row) {
    LVITEMW pick{};
    pick.stateMask = pick.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(Control(kCtlDriveList), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&pick));
  }
};

TEST_F(DeviceWork, TheWindowAnswersWhileTheDrivesAreSlowToAnswer) {
  // The first look at the drives: the window shows at once, with an empty list and a status text.
  DriveTable.clear();  // as in a program that has just started
  {
    SlowDevice slow;
    ASSERT_TRUE(WindowAnswersWhileHeld([&] { OpenWindow(false); }));
    ASSERT_NE(main_, nullptr);
    EXPECT_TRUE(IsWindowVisible(main_));
    EXPECT_EQ(Rows(Control(kCtlDriveList)), 0);
    EXPECT_EQ(Text(kCtlStatusLine), L"Laufwerke werden gelesen …");
    SaveScreenshot(main_, L"drives-pending.bmp");
    slow.Release();
    ASSERT_TRUE(PumpUntil(DeviceWorkSettled));
  }
  ASSERT_GT(Rows(Control(kCtlDriveList)), 0);
  EXPECT_EQ(Rows(Control(kCtlDriveList)), static_cast<int>(DriveTable.size()));
  EXPECT_EQ(Text(kCtlStatusLine), L"Bereit");

  // A row picked: its drive is read aside; the stale row stays until the answer comes.
  const std::wstring root = GetSelectedDriveRoot();
  ASSERT_FALSE(root.empty());
  const int row = static_cast<int>(GetSelectedDrive() - DriveTable.data());
  const uint64_t realFree = DriveTable[static_cast<size_t>(row)].freeBytes;
  DriveTable[static_cast<size_t>(row)].freeBytes = 1;
  {
    SlowDevice slow;
    LVITEMW none{};  // unpicked first, so that picking it again is a change
    none.stateMask = LVIS_SELECTED;
    SendMessageW(Control(kCtlDriveList), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&none));
    ASSERT_TRUE(WindowAnswersWhileHeld([&] { Pick(row); }));
    EXPECT_EQ(Text(kCtlStatusLine), L"Laufwerk " + root + L" wird gelesen …");
    EXPECT_EQ(GetSelectedDrive()->freeBytes, 1u);
    slow.Release();
    ASSERT_TRUE(PumpUntil(DeviceWorkSettled));
  }
  EXPECT_EQ(GetSelectedDrive()->freeBytes, realFree);

  // Start: nothing is asked or started before the drive has answered, Start cannot be pressed
  // twice, and the drive stays picked meanwhile.
  SetWindowTextW(Control(kCtlTestSizeField), L"abc");  // refused once the drive has been read
  Answerer().byTitle = {{Translate(L"box_invalid_title"), IDOK}};
  {
    SlowDevice slow;
    ASSERT_TRUE(WindowAnswersWhileHeld([&] {
      SendMessageW(main_, WM_COMMAND, MAKEWPARAM(kIdStart, BN_CLICKED), reinterpret_cast<LPARAM>(Control(kCtlStartButton)));
    }));
    EXPECT_TRUE(StartPending());
    EXPECT_FALSE(IsWindowEnabled(Control(kCtlStartButton)));
    EXPECT_FALSE(IsWindowEnabled(Control(kCtlVerifyOnlyButton)));
    EXPECT_FALSE(IsWindowEnabled(Control(kCtlDriveList)));
    EXPECT_EQ(Text(kCtlStatusLine), L"Laufwerk " + root + L" wird gelesen …");
    EXPECT_TRUE(Seen(Translate(L"box_invalid_title")).empty());
    SendMessageW(main_, WM_COMMAND, MAKEWPARAM(kIdStart, 1), 0);  // F5 meanwhile
    slow.Release();
    ASSERT_TRUE(PumpUntil(DeviceWorkSettled));
  }
  EXPECT_EQ(Seen(Translate(L"box_invalid_title")).size(), 1u);
  EXPECT_FALSE(Ui().run);
  EXPECT_TRUE(IsWindowEnabled(Control(kCtlStartButton)));
  EXPECT_TRUE(IsWindowEnabled(Control(kCtlDriveList)));
}

// A window closed while its first scan waits closes at once; the late answer is nobody's, and
// the next window fills its list from its own scan.
TEST_F(DeviceWork, AWindowClosedWhileItsDrivesAreReadClosesAtOnce) {
  DriveTable.clear();
  SlowDevice slow;
  ASSERT_TRUE(WindowAnswersWhileHeld([&] { OpenWindow(false); }));
  CloseWindow();
  EXPECT_EQ(WindowForPosts(), nullptr);
  ResetProgramValues();
  DriveTable.clear();
  ASSERT_NE(OpenWindow(false), nullptr);
  EXPECT_EQ(Rows(Control(kCtlDriveList)), 0);
  slow.Release();
  ASSERT_TRUE(PumpUntil(DeviceWorkSettled));
  ASSERT_TRUE(PumpUntil([] { return DeviceWorkersRunning.load() == 0; }));
  Pump();
  EXPECT_GT(Rows(Control(kCtlDriveList)), 0);
  EXPECT_EQ(Rows(Control(kCtlDriveList)), static_cast<int>(DriveTable.size()));
  EXPECT_EQ(Text(kCtlStatusLine), L"Bereit");
}

}  // namespace
}  // namespace velkor::testing
