#include "view/main_layout.h"

#include <gtest/gtest.h>

namespace velkor {
namespace {

struct Rect {
  int x, y, w, h;
};

void ExpectAt(const MainLayout& layout, int number, Rect r) {
  const ControlPlacement& p = layout[number];
  ASSERT_TRUE(p.moved) << "control " << number;
  EXPECT_EQ(p.x, r.x) << "control " << number;
  EXPECT_EQ(p.y, r.y) << "control " << number;
  EXPECT_EQ(p.width, r.w) << "control " << number;
  EXPECT_EQ(p.height, r.h) << "control " << number;
}

LayoutInput Input(int width, int height, bool settings, bool method = false, int splitX = 610, int pane = 145) {
  LayoutInput in;
  in.clientWidth = width;
  in.clientHeight = height;
  in.splitX = splitX;
  in.topPaneHeight = pane;
  in.settingsShown = settings;
  in.methodDetailsShown = method;
  return in;
}

TEST(MainLayout, ExpandedAt1200PutsBothListsBesideTheBar) {
  const MainLayout layout = ComputeMainLayout(Input(1200, 700, true));
  EXPECT_EQ(layout.splitX, 610);
  ExpectAt(layout, kCtlDriveList, {20, 82, 582, 145});
  ExpectAt(layout, kCtlVerticalBar, {608, 82, 4, 145});
  ExpectAt(layout, kCtlResultList, {618, 82, 562, 145});
  EXPECT_TRUE(layout[kCtlResultList].visible);
  EXPECT_TRUE(layout[kCtlLanguageBox].visible);
  // Every command button is hidden: the menu carries the commands.
  for (int n : {kCtlExplorerButton, kCtlExportButton, kCtlOpenResultsButton, kCtlStartButton, kCtlStopButton,
                kCtlSettingsToggle, kCtlVerifyOnlyButton, kCtlMethodToggle}) {
    EXPECT_TRUE(layout[n].visibilitySet && !layout[n].visible) << "control " << n;
  }
}

TEST(MainLayout, ClampsTheSplitterValuesToTheClientSize) {
  struct Case {
    int width, height, splitX, pane, wantSplitX, wantPane;
  } cases[] = {
      {700, 700, 610, 145, 450, 145},   // minSide 250 below 760
      {1200, 700, 100, 145, 300, 145},  // at least minSide
      {1200, 700, 610, 50, 610, 100},
      {1200, 600, 610, 400, 610, 165},  // 600 - 435
      {1200, 700, 840, 145, 840, 145},  // a far drag stays (the layout allows up to 900)
  };
  for (const Case& c : cases) {
    const MainLayout layout = ComputeMainLayout(Input(c.width, c.height, true, false, c.splitX, c.pane));
    EXPECT_EQ(layout.splitX, c.wantSplitX) << c.width << " " << c.splitX;
    EXPECT_EQ(layout.topPaneHeight, c.wantPane) << c.height << " " << c.pane;
  }
}

TEST(MainLayout, CompactViewShowsOnlyTheDriveListOverTheFullWidth) {
  const MainLayout layout = ComputeMainLayout(Input(1200, 700, false));
  ExpectAt(layout, kCtlDriveList, {20, 42, 1160, 145});
  for (int n : {kCtlResultList, kCtlVerticalBar, kCtlLanguageBox, kCtlSavedTestsBox, kCtlExportBox, kCtlResultsLabel,
                kCtlTestSizeField, kCtlProfileBox, kCtlDeleteCheck, kCtlWorkerHint}) {
    EXPECT_FALSE(layout[n].visible) << "control " << n;
  }
  ExpectAt(layout, kCtlHorizontalBar, {20, 193, 1160, 5});
  ExpectAt(layout, kCtlSelectedDrive, {20, 205, 1160, 24});
  ExpectAt(layout, kCtlProgressBar, {20, 239, 1160, 18});
  ExpectAt(layout, kCtlSummary, {20, 265, 1160, 48});
  ExpectAt(layout, kCtlLogLabel, {20, 321, 150, 20});
  ExpectAt(layout, kCtlLogView, {20, 343, 1160, 700 - 343 - 38});
  ExpectAt(layout, kCtlStatusLine, {20, 343 + 319 + 6, 1160, 24});
}

TEST(MainLayout, ExpandedAt1000WrapsTheMethodTestGroup) {
  const MainLayout layout = ComputeMainLayout(Input(1000, 745, true));
  const int row = 82 + 145 + 18 + 34;  // first settings row
  ExpectAt(layout, kCtlTestSizeField, {150, row, 80, 24});
  ExpectAt(layout, kCtlReserveLabel, {715, row + 4, 115, 22});
  ExpectAt(layout, kCtlMethodCheck, {20, row + 36, 165, 24});
  ExpectAt(layout, kCtlFastestCheck, {190, row + 36, 790, 24});
  ExpectAt(layout, kCtlProfileBox, {110, row + 72, 220, 400});
  // No method details: the partial row follows the profile row, the delete box stays on it.
  EXPECT_FALSE(layout[kCtlTestPointsField].visible);
  ExpectAt(layout, kCtlPartialCheck, {20, row + 108, 160, 24});
  ExpectAt(layout, kCtlDeleteCheck, {590, row + 108, 390, 24});
  // The progress bar starts below the partial row instead of overlapping it.
  EXPECT_GE(layout[kCtlProgressBar].y, row + 108 + 24);
}

TEST(MainLayout, MethodDetailsAddTheTestPointsRowAndNarrowWindowsWrapTheDeleteBox) {
  const MainLayout wide = ComputeMainLayout(Input(1400, 745, true, true));  // first row holds all six groups
  const int row = 82 + 145 + 18 + 34;
  ExpectAt(wide, kCtlTestPointsField, {115, row + 72, 55, 24});
  EXPECT_TRUE(wide[kCtlRandomPointsCheck].visible);
  ExpectAt(wide, kCtlPartialCheck, {20, row + 106, 160, 24});

  const MainLayout narrow = ComputeMainLayout(Input(900, 745, true));
  EXPECT_EQ(narrow[kCtlDeleteCheck].x, 20);
  EXPECT_EQ(narrow[kCtlDeleteCheck].y, narrow[kCtlPartialCheck].y + 34);
  EXPECT_EQ(narrow[kCtlDeleteCheck].width, 860);
}

TEST(MainLayout, SmallClientsAreLaidOutAtTheMinimumSize) {
  const MainLayout layout = ComputeMainLayout(Input(300, 200, false));
  EXPECT_EQ(layout[kCtlDriveList].width, 600);  // 640 - 2 * 20
  EXPECT_EQ(layout.topPaneHeight, 125);          // 560 - 435
  EXPECT_EQ(layout[kCtlLogView].height, 560 - (42 + 125 + 18 + 34 + 26 + 56 + 22) - 38);
  EXPECT_EQ(ComputeMainLayout(Input(640, 560, true, true))[kCtlLogView].height, 90);
}

TEST(SplitterDrag, KeepsRoomOnBothSides) {
  EXPECT_EQ(SplitXForDrag(100, 1200), 360);
  EXPECT_EQ(SplitXForDrag(5000, 1200), 840);
  EXPECT_EQ(SplitXForDrag(700, 1200), 700);
  EXPECT_EQ(SplitXForDrag(500, 600), 361);  // a narrow client still moves
  EXPECT_EQ(TopPaneHeightForDrag(300, 745), 192);
  EXPECT_EQ(TopPaneHeightForDrag(150, 745), 100);
  EXPECT_EQ(TopPaneHeightForDrag(900, 745), 310);
}

TEST(MainWindowPlacement, StaysInsideTheWorkAreaAndCentred) {
  struct Case {
    int savedW, savedH, workW, workH;
    WindowRect want;
  } cases[] = {
      {1235, 745, 1920, 1040, {342, 147, 1235, 745}},
      {500, 400, 1920, 1040, {580, 240, 760, 560}},
      {3000, 2000, 1920, 1040, {0, 0, 1920, 1040}},
      {1235, 745, 640, 480, {0, 0, 760, 560}},  // work area smaller than the minimum
  };
  for (const Case& c : cases) {
    const WindowRect r = PlaceMainWindow(c.savedW, c.savedH, 0, 0, c.workW, c.workH);
    EXPECT_EQ(r.x, c.want.x);
    EXPECT_EQ(r.y, c.want.y);
    EXPECT_EQ(r.width, c.want.width);
    EXPECT_EQ(r.height, c.want.height);
  }
  const WindowRect offset = PlaceMainWindow(1235, 745, 100, 30, 1920, 1040);
  EXPECT_EQ(offset.x, 442);
  EXPECT_EQ(offset.y, 177);
}

}  // namespace
}  // namespace velkor
