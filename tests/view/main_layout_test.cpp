#include "view/main_layout.h"

#include <gtest/gtest.h>

#include <string>

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
  // Start and Stop are the only command buttons shown: the menu carries the others.
  for (int n : {kCtlExplorerButton, kCtlExportButton, kCtlOpenResultsButton, kCtlSettingsToggle,
                kCtlVerifyOnlyButton, kCtlMethodToggle}) {
    EXPECT_TRUE(layout[n].visibilitySet && !layout[n].visible) << "control " << n;
  }
}

TEST(MainLayout, ClampsTheSplitterValuesToTheClientSize) {
  struct Case {
    int width, height, splitX, pane, wantSplitX, wantPane;
  } cases[] = {
      {700, 700, 640, 145, 450, 90},    // minSide 250 below 760; the wrapped settings leave the lists 90
      {1200, 700, 100, 145, 300, 145},  // at least minSide
      {1200, 700, 610, 50, 610, 100},
      {1200, 600, 610, 400, 610, 92},   // the log keeps its 90, the lists give up the rest
      {1200, 800, 610, 400, 610, 292},  // all the log can spare
      {1200, 700, 840, 145, 840, 145},  // a far drag stays (the layout allows up to 900)
  };
  for (const Case& c : cases) {
    const MainLayout layout = ComputeMainLayout(Input(c.width, c.height, true, false, c.splitX, c.pane));
    EXPECT_EQ(layout.splitX, c.wantSplitX) << c.width << " " << c.splitX;
    EXPECT_EQ(layout.topPaneHeight, c.wantPane) << c.height << " " << c.pane;
    EXPECT_LE(layout[kCtlStatusLine].y + layout[kCtlStatusLine].height, c.height) << c.height << " " << c.pane;
  }
}

// Until the bar is dragged (it stays at its default 610), the lists share a wide window equally,
// and the window keeps the default so that the split goes on following the width.
TEST(MainLayout, TheDefaultSplitFollowsTheWindowsWidth) {
  const MainLayout wide = ComputeMainLayout(Input(1374, 700, true));
  EXPECT_EQ(wide.splitX, 610);
  ExpectAt(wide, kCtlDriveList, {20, 82, 687 - 28, 145});
  EXPECT_EQ(wide[kCtlResultList].x, 687 + 8);
  EXPECT_EQ(ComputeMainLayout(Input(1200, 700, true))[kCtlDriveList].width, 582);  // never below the default
  EXPECT_EQ(ComputeMainLayout(Input(700, 700, true)).controls[kCtlDriveList].width, 450 - 28);
  const MainLayout dragged = ComputeMainLayout(Input(1374, 700, true, false, 600));
  EXPECT_EQ(dragged.splitX, 600);
  EXPECT_EQ(dragged[kCtlDriveList].width, 600 - 28);
}

TEST(MainLayout, CompactViewShowsOnlyTheDriveListOverTheFullWidth) {
  const MainLayout layout = ComputeMainLayout(Input(1200, 700, false));
  ExpectAt(layout, kCtlDriveList, {20, 42, 1160, 145});
  for (int n : {kCtlResultList, kCtlVerticalBar, kCtlLanguageBox, kCtlSavedTestsBox, kCtlExportBox, kCtlResultsLabel,
                kCtlTestSizeField, kCtlProfileBox, kCtlDeleteCheck, kCtlWorkerHint}) {
    EXPECT_FALSE(layout[n].visible) << "control " << n;
  }
  ExpectAt(layout, kCtlHorizontalBar, {20, 193, 1160, 5});
  ExpectAt(layout, kCtlSelectedDrive, {20, 205, 1160 - 236, 32});
  ExpectAt(layout, kCtlStartButton, {1180 - 228, 202, 110, 28});
  ExpectAt(layout, kCtlStopButton, {1180 - 110, 202, 110, 28});
  ExpectAt(layout, kCtlProgressBar, {20, 239, 1160, 18});
  ExpectAt(layout, kCtlSummary, {20, 265, 1160, 48});
  ExpectAt(layout, kCtlLogLabel, {20, 321, 150, 20});
  ExpectAt(layout, kCtlLogView, {20, 343, 1160, 700 - 343 - 38});
  ExpectAt(layout, kCtlStatusLine, {20, 343 + 319 + 6, 1160, 24});
}

TEST(MainLayout, ExpandedAt1000WrapsTheMethodTestGroup) {
  const MainLayout layout = ComputeMainLayout(Input(1000, 745, true));
  const int row = 82 + 32 + 145 + 18 + 34;  // first settings row, below the saved-tests row
  ExpectAt(layout, kCtlTestSizeField, {150, row, 80, 24});
  ExpectAt(layout, kCtlReserveLabel, {740, row + 4, 135, 22});
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

// A 1000-pixel screen at 150 %: the window fills the work area, and the status line stays inside
// its client area in the expanded view, with the method test's row too; the lists and the log
// give up height for it.
TEST(MainLayout, TheStatusLineStaysInsideAShortClientAtAHighDpi) {
  for (const bool method : {false, true}) {
    for (const int clientHeight : {930, 900, method ? 900 : 860}) {
      LayoutInput in = Input(1374, clientHeight, true, method);
      in.dpi = 144;
      const MainLayout layout = ComputeMainLayout(in);
      EXPECT_LE(layout[kCtlStatusLine].y + layout[kCtlStatusLine].height, clientHeight) << clientHeight << " " << method;
      EXPECT_GE(layout[kCtlDriveList].height, 75) << clientHeight;  // the header and two rows
      EXPECT_GE(layout[kCtlLogView].height, 51) << clientHeight;    // two lines
      EXPECT_GT(layout[kCtlLogView].y, layout[kCtlSummary].y + layout[kCtlSummary].height);
    }
  }
}

TEST(MainLayout, SmallClientsAreLaidOutAtTheMinimumSize) {
  const MainLayout layout = ComputeMainLayout(Input(300, 200, false));
  EXPECT_EQ(layout[kCtlDriveList].width, 600);  // 640 - 2 * 20
  EXPECT_EQ(layout.topPaneHeight, 125);          // 560 - 435
  EXPECT_EQ(layout[kCtlLogView].height, 560 - (42 + 125 + 18 + 34 + 26 + 56 + 22) - 38);
  EXPECT_EQ(ComputeMainLayout(Input(640, 560, true, true))[kCtlLogView].height, 90);
}

// Start and Stop stay in sight in both views and at every size, and share their place with no
// other shown control (a drop-down box counts with its closed height).
TEST(MainLayout, StartAndStopAreShownAndOverlapNothing) {
  auto shown = [](const MainLayout& l, int n) { return l[n].moved && (!l[n].visibilitySet || l[n].visible); };
  auto height = [](int n, const ControlPlacement& c) {
    const bool dropDown = n == kCtlLanguageBox || n == kCtlSavedTestsBox || n == kCtlExportBox || n == kCtlProfileBox;
    return dropDown ? 24 : c.height;
  };
  for (int width : {640, 760, 1000, 1235, 1390, 1920}) {
    for (bool settings : {false, true}) {
      for (int dpi : {96, 144}) {
        LayoutInput in = Input(width * dpi / 96, 745 * dpi / 96, settings, settings);
        in.dpi = dpi;
        const MainLayout layout = ComputeMainLayout(in);
        for (int button : {kCtlStartButton, kCtlStopButton}) {
          ASSERT_TRUE(shown(layout, button)) << width << " " << settings;
          const ControlPlacement& b = layout[button];
          EXPECT_LE(b.x + b.width, in.clientWidth) << width;
          for (int n = 1; n <= kControlCount; ++n) {
            if (n == button || !shown(layout, n)) continue;
            const ControlPlacement& c = layout[n];
            const bool apart = c.x >= b.x + b.width || b.x >= c.x + c.width || c.y >= b.y + b.height ||
                               b.y >= c.y + height(n, c);
            EXPECT_TRUE(apart) << "control " << n << " overlaps " << button << " at " << width << " px, dpi " << dpi
                               << (settings ? ", settings shown" : ", compact");
          }
        }
      }
    }
  }
}

// No shown control reaches past the right edge, at any width from the smallest window (900 wide
// with its frame) up, with
// the bar where it follows the width or dragged far right; the saved-tests box, wherever it
// goes, shares its place with no other control of the top rows or the lists.
TEST(MainLayout, EveryControlStaysInsideTheWindowAndTheSavedTestsBoxFindsRoom) {
  auto shown = [](const MainLayout& l, int n) { return l[n].moved && (!l[n].visibilitySet || l[n].visible); };
  for (int width = 880; width <= 1600; width += 10) {
    for (int split : {610, 5000}) {
      for (int dpi : {96, 144}) {
        LayoutInput in = Input(width * dpi / 96, 745 * dpi / 96, true, false, split);
        in.dpi = dpi;
        const MainLayout l = ComputeMainLayout(in);
        const std::string where =
            std::to_string(width) + " px, bar " + std::to_string(split) + ", dpi " + std::to_string(dpi);
        for (int n = 1; n <= kControlCount; ++n) {
          if (shown(l, n)) {
            EXPECT_LE(l[n].x + l[n].width, in.clientWidth) << "control " << n << " at " << where;
          }
        }
        const ControlPlacement& box = l[kCtlSavedTestsBox];
        const ControlPlacement& label = l[kCtlSavedTestsLabel];
        const int boxBottom = box.y + ScaleToDpi(24, dpi);  // closed
        for (int n : {kCtlLanguageLabel, kCtlLanguageBox, kCtlExportLabel, kCtlExportBox, kCtlResultsLabel,
                      kCtlResultList, kCtlDriveList}) {
          const ControlPlacement& c = l[n];
          const int bottom = c.y + (n == kCtlLanguageBox || n == kCtlExportBox ? ScaleToDpi(24, dpi) : c.height);
          for (const ControlPlacement* mine : {&box, &label}) {
            const int mineBottom = mine == &box ? boxBottom : mine->y + mine->height;
            const bool apart = c.x >= mine->x + mine->width || mine->x >= c.x + c.width || c.y >= mineBottom ||
                               mine->y >= bottom;
            EXPECT_TRUE(apart) << "control " << n << " meets the saved tests at " << where;
          }
        }
      }
    }
  }
}

TEST(MainWindowPlacement, TheSavedSizeStaysInsideTheWorkArea) {
  struct Case {
    int w, h, workW, workH, dpi, wantW, wantH;
  } cases[] = {
      {1235, 912, 1440, 900, 96, 1235, 900},   // a frame taller than the screen
      {1935, 1100, 1920, 1040, 144, 1280, 693}, // at 150 %: pixels clamped, then 96-DPI units
      {1235, 745, 0, 0, 96, 1235, 745},        // work area unknown
  };
  for (const Case& c : cases) {
    const WindowSize s = WindowSizeToSave(c.w, c.h, c.workW, c.workH, c.dpi);
    EXPECT_EQ(s.width, c.wantW) << c.w;
    EXPECT_EQ(s.height, c.wantH) << c.h;
  }
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

TEST(DpiScale, RoundsHalfAwayFromZeroBothWays) {
  EXPECT_EQ(ScaleToDpi(145, 144), 218);  // 217.5
  EXPECT_EQ(ScaleToDpi(-12, 144), -18);  // a font height
  EXPECT_EQ(ScaleToDpi(24, 120), 30);
  EXPECT_EQ(ScaleToDpi(24, 0), 24);      // no DPI known: 96
  EXPECT_EQ(UnscaleFromDpi(1853, 144), 1235);
  EXPECT_EQ(UnscaleFromDpi(105, 144), 70);
  EXPECT_EQ(RescaleDpi(105, 144, 192), 140);
  // A width saved and loaded again at the same DPI keeps its pixels.
  for (int dpi : {96, 120, 144, 168, 192, 240}) {
    for (int width : {24, 70, 95, 110, 135}) {
      EXPECT_EQ(UnscaleFromDpi(ScaleToDpi(width, dpi), dpi), width) << dpi << " " << width;
    }
  }
}

// At 150 % every control is where the 96-DPI layout puts it, one and a half times as far and as
// large, for a client one and a half times the size; the splitter values stay in 96-DPI units.
TEST(MainLayout, At144DpiEveryRectangleIsOneAndAHalfTimesThe96DpiOne) {
  for (bool settings : {false, true}) {
    LayoutInput small = Input(1200, 700, settings, true);
    LayoutInput large = small;
    large.clientWidth = 1800;
    large.clientHeight = 1050;
    large.dpi = 144;
    const MainLayout at96 = ComputeMainLayout(small);
    const MainLayout at144 = ComputeMainLayout(large);
    EXPECT_EQ(at144.splitX, at96.splitX);
    EXPECT_EQ(at144.topPaneHeight, at96.topPaneHeight);
    for (int n = 1; n <= kControlCount; ++n) {
      const ControlPlacement& a = at96[n];
      const ControlPlacement& b = at144[n];
      ASSERT_EQ(a.moved, b.moved) << "control " << n;
      EXPECT_EQ(a.visibilitySet, b.visibilitySet) << "control " << n;
      EXPECT_EQ(a.visible, b.visible) << "control " << n;
      if (!a.moved) continue;
      EXPECT_NEAR(b.x, a.x * 1.5, 0.5) << "control " << n;
      EXPECT_NEAR(b.y, a.y * 1.5, 0.5) << "control " << n;
      EXPECT_NEAR(b.x + b.width, (a.x + a.width) * 1.5, 0.5) << "control " << n;
      EXPECT_NEAR(b.y + b.height, (a.y + a.height) * 1.5, 0.5) << "control " << n;
    }
  }
  // Neighbours stay flush: the bar between the lists keeps its gap on both sides.
  LayoutInput in = Input(1800, 1050, true);
  in.dpi = 144;
  const MainLayout layout = ComputeMainLayout(in);
  ExpectAt(layout, kCtlDriveList, {30, 123, 873, 218});
  ExpectAt(layout, kCtlVerticalBar, {912, 123, 6, 218});
  ExpectAt(layout, kCtlResultList, {927, 123, 843, 218});
}

TEST(SplitterDrag, CountsInDpiIndependentUnits) {
  EXPECT_EQ(SplitXForDrag(1050, 1800, 144), 700);
  EXPECT_EQ(SplitXForDrag(5000, 1800, 144), 840);
  EXPECT_EQ(TopPaneHeightForDrag(450, 1118, 144), 192);
}

TEST(MainWindowPlacement, ScalesTheSavedSizeToTheScreen) {
  // The default size at 150 %: one and a half times as large, centred.
  const WindowRect wide = PlaceMainWindow(1235, 745, 0, 0, 2560, 1400, 144);
  EXPECT_EQ(wide.width, 1853);
  EXPECT_EQ(wide.height, 1118);
  EXPECT_EQ(wide.x, (2560 - 1853) / 2);
  // Until the work area limits it; the minimum grows with the DPI too.
  const WindowRect limited = PlaceMainWindow(1235, 745, 0, 0, 1920, 1040, 144);
  EXPECT_EQ(limited.width, 1853);
  EXPECT_EQ(limited.height, 1040);
  const WindowRect minimum = PlaceMainWindow(500, 400, 0, 0, 2560, 1400, 144);
  EXPECT_EQ(minimum.width, 1140);
  EXPECT_EQ(minimum.height, 840);
}

}  // namespace
}  // namespace velkor
