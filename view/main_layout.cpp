#include "view/main_layout.h"

#include <algorithm>

namespace velkor {
namespace {

constexpr int kMargin = 20;
constexpr int kListGap = 8;
constexpr int kTop = 10;
constexpr int kRowWrap = 36;
constexpr int kCommandWidth = 110;  // Start and Stop
constexpr int kCommandGap = 8;
constexpr int kDefaultSplit = 610;  // LayoutInput's (and the settings') default splitX
constexpr int kMinPane = 100;         // the lists' smallest height while the window has room
constexpr int kLeastPane = 50;        // ... and when it has not (a short screen at a high DPI): two rows
constexpr int kMinLog = 90;           // the log's smallest height while the window has room
constexpr int kLeastLog = 34;         // ... and when it has not: two lines
constexpr int kBelowLog = 38;         // status line and bottom margin
constexpr int kMinClientHeight = 560;
constexpr int kSavedTestsBoxX = 360;       // from the bar, beside the language box
constexpr int kSavedTestsMinWidth = 120;
constexpr int kSavedTestsRowHeight = 32;

struct Placer {
  MainLayout& layout;
  void Move(int number, int x, int y, int width, int height) {
    ControlPlacement& c = layout.controls[number];
    c.moved = true;
    c.x = x;
    c.y = y;
    c.width = std::max(1, width);
    c.height = std::max(1, height);
  }
  // From 96-DPI units to pixels, edge by edge, so that neighbours stay flush after rounding.
  void ScaleAll(int dpi) {
    if (dpi == kBaseDpi) return;
    for (ControlPlacement& c : layout.controls) {
      if (!c.moved) continue;
      const int left = ScaleToDpi(c.x, dpi), top = ScaleToDpi(c.y, dpi);
      c.width = std::max(1, ScaleToDpi(c.x + c.width, dpi) - left);
      c.height = std::max(1, ScaleToDpi(c.y + c.height, dpi) - top);
      c.x = left;
      c.y = top;
    }
  }
  void Show(int number, bool visible) {
    ControlPlacement& c = layout.controls[number];
    c.visibilitySet = true;
    c.visible = visible;
  }
};

// The layout with the lists at most paneLimit high.
MainLayout Lay(const LayoutInput& in, int paneLimit) {
  MainLayout layout;
  Placer p{layout};
  const int W = std::max(640, UnscaleFromDpi(in.clientWidth, in.dpi));
  const int H = std::max(kMinClientHeight, UnscaleFromDpi(in.clientHeight, in.dpi));
  const int M = kMargin;
  const bool S = in.settingsShown;
  const int minSide = W >= 760 ? 300 : 250;

  // Until the user drags the bar (it stays at its default), the drive list grows with the
  // window, so a wide window shows all its columns.
  const bool splitFollowsWidth = in.splitX == kDefaultSplit;
  const int wanted = splitFollowsWidth ? std::max(kDefaultSplit, W / 2) : in.splitX;
  const int splitX = std::min(std::max(wanted, minSide), std::max(minSide + 10, W - minSide));
  // The saved-tests box sits beside the language box while the results side has room for it;
  // otherwise it takes a row of its own above the lists, and the lists give up that height.
  const bool savedTestsRow = S && splitX + kSavedTestsBoxX + kSavedTestsMinWidth > W - M;
  const int extraRow = savedTestsRow ? kSavedTestsRowHeight : 0;
  const int listTop = (S ? 82 : 42) + extraRow;
  const int pane = std::min({std::max(in.topPaneHeight, kMinPane), std::max(kMinPane, H - 435 - extraRow),
                             std::max(kLeastPane, paneLimit)});
  layout.splitX = splitFollowsWidth ? in.splitX : splitX;
  layout.topPaneHeight = pane;

  // Top rows.
  p.Move(kCtlDrivesLabel, M, kTop + 4, 90, 22);
  const int explorerX = S ? std::max(M + 115, splitX - 150) : std::max(M + 115, W - M - 145);
  p.Move(kCtlExplorerButton, explorerX, kTop, 140, 25);
  p.Show(kCtlExplorerButton, false);
  p.Move(kCtlLanguageLabel, splitX + 12, kTop + 4, 80, 22);
  p.Move(kCtlLanguageBox, splitX + 95, kTop, 110, 160);
  if (savedTestsRow) {
    const int rowY = kTop + 56;
    p.Move(kCtlSavedTestsLabel, splitX + 12, rowY + 4, 135, 22);
    p.Move(kCtlSavedTestsBox, splitX + 152, rowY, std::max(kSavedTestsMinWidth, W - M - (splitX + 152)), 180);
  } else {
    p.Move(kCtlSavedTestsLabel, splitX + 220, kTop + 4, 135, 22);
    p.Move(kCtlSavedTestsBox, splitX + kSavedTestsBoxX, kTop,
           std::max(kSavedTestsMinWidth, W - (splitX + 540)), 180);
  }
  p.Move(kCtlExportLabel, splitX + 12, kTop + 32, 65, 22);
  p.Move(kCtlExportBox, splitX + 95, kTop + 28, 135, 180);
  p.Move(kCtlExportButton, splitX + 240, kTop + 28, 115, 25);
  p.Move(kCtlOpenResultsButton, splitX + 365, kTop + 28, 155, 25);
  p.Move(kCtlResultsLabel, splitX + 12, listTop - 22, 100, 22);
  for (int n : {kCtlLanguageLabel, kCtlLanguageBox, kCtlSavedTestsLabel, kCtlSavedTestsBox, kCtlExportLabel,
                kCtlExportBox, kCtlResultsLabel}) {
    p.Show(n, S);
  }
  p.Show(kCtlExportButton, false);
  p.Show(kCtlOpenResultsButton, false);

  // Lists and bars.
  const int driveWidth = S ? std::max(180, splitX - M - kListGap) : W - 2 * M;
  p.Move(kCtlDriveList, M, listTop, driveWidth, pane);
  p.Move(kCtlVerticalBar, splitX - 2, listTop, 4, pane);
  p.Move(kCtlResultList, splitX + kListGap, listTop, std::max(180, W - (splitX + kListGap) - M), pane);
  p.Show(kCtlVerticalBar, S);
  p.Show(kCtlResultList, S);
  p.Move(kCtlHorizontalBar, M, listTop + pane + 6, W - 2 * M, 5);
  p.Show(kCtlHorizontalBar, true);
  int y = listTop + pane + 18;
  // Start and Stop at the right end of the selected-drive line, in both views: the line names
  // what Start will test.
  // Two lines high: the expanded view adds which part of the drive the test covers.
  p.Move(kCtlSelectedDrive, M, y, W - 2 * M - 2 * kCommandWidth - 2 * kCommandGap, 32);
  p.Move(kCtlStartButton, W - M - 2 * kCommandWidth - kCommandGap, y - 3, kCommandWidth, 28);
  p.Move(kCtlStopButton, W - M - kCommandWidth, y - 3, kCommandWidth, 28);
  p.Show(kCtlStartButton, true);
  p.Show(kCtlStopButton, true);
  y += 34;

  if (!S) {
    for (int n : {kCtlTestSizeLabel, kCtlTestSizeField, kCtlBlockLabel, kCtlBlockField, kCtlWorkerLabel,
                  kCtlWorkerField, kCtlReserveLabel, kCtlReserveField, kCtlTestPointsLabel, kCtlTestPointsField,
                  kCtlMethodToggle, kCtlMethodCheck, kCtlFastestCheck, kCtlRandomPointsCheck, kCtlProfileLabel,
                  kCtlProfileBox, kCtlWorkerHint, kCtlPartialCheck, kCtlPartialStartLabel, kCtlPartialStartField,
                  kCtlPartialRangeLabel, kCtlPartialRangeField, kCtlDeleteCheck, kCtlVerifyOnlyButton}) {
      p.Show(n, false);
    }
    p.Move(kCtlSettingsToggle, M + 270, y, 190, 30);
    p.Show(kCtlSettingsToggle, false);
  } else {
    for (int n : {kCtlTestSizeLabel, kCtlTestSizeField, kCtlBlockLabel, kCtlBlockField, kCtlWorkerLabel,
                  kCtlWorkerField, kCtlReserveLabel, kCtlReserveField, kCtlMethodToggle, kCtlMethodCheck,
                  kCtlFastestCheck, kCtlProfileLabel, kCtlProfileBox, kCtlWorkerHint, kCtlPartialCheck,
                  kCtlPartialStartLabel, kCtlPartialStartField, kCtlPartialRangeLabel, kCtlPartialRangeField,
                  kCtlDeleteCheck, kCtlVerifyOnlyButton}) {
      p.Show(n, true);
    }
    for (int n : {kCtlSettingsToggle, kCtlMethodToggle, kCtlVerifyOnlyButton}) p.Show(n, false);

    int x = M;
    auto group = [&](int width) {
      if (x != M && x + width > W - M) {
        x = M;
        y += kRowWrap;
      }
    };
    // A label and its field as one group: the label ends 5 before the field, the next group starts
    // step further on.
    auto labelledField = [&](int label, int field, int fieldX, int fieldWidth, int step) {
      group(fieldX + fieldWidth + 5);
      p.Move(label, x, y + 4, fieldX - 5, 22);
      p.Move(field, x + fieldX, y, fieldWidth, 24);
      x += step;
    };
    labelledField(kCtlTestSizeLabel, kCtlTestSizeField, 130, 80, 225);
    labelledField(kCtlBlockLabel, kCtlBlockField, 125, 80, 225);
    // The worker label names the core count and the maximum: room for it in French and Spanish.
    labelledField(kCtlWorkerLabel, kCtlWorkerField, 195, 55, 270);
    labelledField(kCtlReserveLabel, kCtlReserveField, 140, 80, 235);
    p.Show(kCtlMethodToggle, false);
    group(165);
    p.Move(kCtlMethodCheck, x, y, 165, 24);
    x += 170;
    group(190);
    p.Move(kCtlFastestCheck, x, y, std::max(190, W - x - M), 24);

    y += 36;
    p.Move(kCtlProfileLabel, M, y + 4, 80, 22);
    p.Move(kCtlProfileBox, M + 90, y, 220, 400);
    p.Move(kCtlWorkerHint, M + 330, y + 4, W - (M + 350), 22);
    y += 36;

    for (int n : {kCtlTestPointsLabel, kCtlTestPointsField, kCtlRandomPointsCheck}) {
      p.Show(n, in.methodDetailsShown);
    }
    if (in.methodDetailsShown) {
      p.Move(kCtlTestPointsLabel, M, y + 4, 90, 22);
      p.Move(kCtlTestPointsField, M + 95, y, 55, 24);
      p.Move(kCtlRandomPointsCheck, M + 170, y, 230, 24);
      y += 34;
    }

    p.Move(kCtlPartialCheck, M, y, 160, 24);
    p.Move(kCtlPartialStartLabel, M + 175, y + 4, 85, 22);
    p.Move(kCtlPartialStartField, M + 260, y, 75, 24);
    p.Move(kCtlPartialRangeLabel, M + 355, y + 4, 100, 22);
    p.Move(kCtlPartialRangeField, M + 460, y, 80, 24);
    if (W >= 980) {
      p.Move(kCtlDeleteCheck, M + 570, y, W - (M + 590), 24);
    } else {
      y += 34;
      p.Move(kCtlDeleteCheck, M, y, W - 2 * M, 24);
    }

    // The last settings row is 24 high: leave it a full row before the progress bar, so the
    // bar never covers the check boxes.
    y += 34;
    p.Move(kCtlVerifyOnlyButton, M + 270, y, 120, 30);
    p.Move(kCtlSettingsToggle, M + 405, y, 190, 30);
    for (int n : {kCtlVerifyOnlyButton, kCtlSettingsToggle}) p.Show(n, false);
  }

  // Bottom block.
  p.Move(kCtlProgressBar, M, y, W - 2 * M, 18);
  p.Show(kCtlProgressBar, true);
  y += 26;
  p.Move(kCtlSummary, M, y, W - 2 * M, 48);
  y += 56;
  p.Move(kCtlLogLabel, M, y, 150, 20);
  y += 22;
  // A client too short for the smallest lists (paneLimit below them): the log gives up height too.
  const int logHeight = std::max(paneLimit < kMinPane ? kLeastLog : kMinLog, H - y - kBelowLog);
  p.Move(kCtlLogView, M, y, W - 2 * M, logHeight);
  p.Move(kCtlStatusLine, M, y + logHeight + 6, W - 2 * M, 24);
  p.ScaleAll(in.dpi);
  return layout;
}

}  // namespace

MainLayout ComputeMainLayout(const LayoutInput& in) {
  // What lies below the lists depends on the width alone (settings rows wrap): a first pass with
  // the smallest lists finds where the log begins, and the lists get no more than leaves the log
  // its smallest height, so the status line stays inside the window wherever that is possible.
  LayoutInput probe = in;
  probe.dpi = kBaseDpi;
  probe.clientWidth = UnscaleFromDpi(in.clientWidth, in.dpi);
  probe.clientHeight = UnscaleFromDpi(in.clientHeight, in.dpi);
  const MainLayout smallest = Lay(probe, kMinPane);
  const int H = std::max(kMinClientHeight, probe.clientHeight);
  const int room = H - (smallest[kCtlLogView].y + kMinLog + kBelowLog);
  // Too short even for the smallest lists and log (a 1000-pixel screen at 150 %): the lists give up
  // height down to two rows, then the log (in Lay), so the status line stays in sight.
  const int shortBy = (smallest[kCtlLogView].y + kMinLog + kBelowLog) - probe.clientHeight;
  if (probe.clientHeight > kMinClientHeight && shortBy > 0) return Lay(in, kMinPane - shortBy);
  return Lay(in, kMinPane + std::max(0, room));
}

int SplitXForDrag(int mouseX, int clientWidth, int dpi) {
  const int x = UnscaleFromDpi(mouseX, dpi);
  return std::min(std::max(360, x), std::max(361, UnscaleFromDpi(clientWidth, dpi) - 360));
}

int TopPaneHeightForDrag(int mouseY, int clientHeight, int dpi) {
  const int y = UnscaleFromDpi(mouseY, dpi);
  return std::min(std::max(100, y - 108), std::max(101, UnscaleFromDpi(clientHeight, dpi) - 435));
}

WindowSize WindowSizeToSave(int outerWidth, int outerHeight, int workWidth, int workHeight, int dpi) {
  if (workWidth > 0) outerWidth = std::min(outerWidth, workWidth);
  if (workHeight > 0) outerHeight = std::min(outerHeight, workHeight);
  return {UnscaleFromDpi(outerWidth, dpi), UnscaleFromDpi(outerHeight, dpi)};
}

WindowRect PlaceMainWindow(int savedWidth, int savedHeight, int workLeft, int workTop, int workWidth,
                           int workHeight, int dpi) {
  WindowRect r;
  const int minW = ScaleToDpi(kMinTrackWidth, dpi), minH = ScaleToDpi(kMinTrackHeight, dpi);
  const int availW = std::max(minW, workWidth);
  const int availH = std::max(minH, workHeight);
  r.width = std::min(std::max(minW, ScaleToDpi(savedWidth, dpi)), availW);
  r.height = std::min(std::max(minH, ScaleToDpi(savedHeight, dpi)), availH);
  r.x = workLeft + std::max(0, (availW - r.width) / 2);
  r.y = workTop + std::max(0, (availH - r.height) / 2);
  return r;
}

}  // namespace velkor
