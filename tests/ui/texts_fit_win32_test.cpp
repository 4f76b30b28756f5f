// Every caption and column title of the window fits its place, measured with the window's own
// font in each of the four languages (the DPI run measures them again at 144).
#include <gtest/gtest.h>

#include "tests/ui/window_driver.h"
#include "view/control_numbers.h"
#include "view/dpi_scale.h"

namespace velkor::testing {
namespace {

class TextsFit : public WindowTest {
 protected:
  // The width of text in the control's font, in pixels.
  static int TextWidth(HWND control, const std::wstring& text) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size.cx;
  }
  static int Width(HWND control) {
    RECT r{};
    GetClientRect(control, &r);
    return r.right - r.left;
  }
};

TEST_F(TextsFit, CaptionsAndColumnTitlesInEveryLanguage) {
  ASSERT_NE(OpenWindow(), nullptr);
  // The default size on a screen as wide as the issue's: 1390 pixels at 96 DPI, scaled.
  const int dpi = Ui().dpi;
  MoveWindow(main_, 0, 0, ScaleToDpi(1390, dpi), ScaleToDpi(745, dpi), TRUE);
  Command(kIdSettingsToggle);
  Command(kIdMethodToggle);
  SetChecked(kCtlPartialCheck, true);
  Command(kIdPartial);
  const int checkMark = GetSystemMetrics(SM_CXMENUCHECK) + ScaleToDpi(6, dpi);
  const int buttonPadding = ScaleToDpi(12, dpi);
  const int columnPadding = ScaleToDpi(14, dpi);
  for (int language = 0; language < kLanguageCount; ++language) {
    Choose(kCtlLanguageBox, language);
    Pump();
    for (int n : {kCtlDrivesLabel, kCtlLanguageLabel, kCtlSavedTestsLabel, kCtlExportLabel, kCtlResultsLabel,
                  kCtlTestSizeLabel, kCtlBlockLabel, kCtlWorkerLabel, kCtlReserveLabel, kCtlTestPointsLabel,
                  kCtlProfileLabel, kCtlPartialStartLabel, kCtlPartialRangeLabel, kCtlLogLabel}) {
      EXPECT_LE(TextWidth(Control(n), Text(n)), Width(Control(n)))
          << "label " << n << " \"" << Narrow(Text(n)) << "\" in language " << language << " at " << dpi << " DPI";
    }
    for (int n : {kCtlMethodCheck, kCtlFastestCheck, kCtlRandomPointsCheck, kCtlPartialCheck, kCtlDeleteCheck}) {
      EXPECT_LE(TextWidth(Control(n), Text(n)) + checkMark, Width(Control(n)))
          << "check box " << n << " \"" << Narrow(Text(n)) << "\" in language " << language << " at " << dpi << " DPI";
    }
    for (int n : {kCtlStartButton, kCtlStopButton}) {
      EXPECT_LE(TextWidth(Control(n), Text(n)) + buttonPadding, Width(Control(n)))
          << "button " << n << " \"" << Narrow(Text(n)) << "\" in language " << language;
    }
    for (int number : {kCtlDriveList, kCtlResultList}) {
      HWND list = Control(number);
      HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
      const int columns = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
      int total = 0;
      for (int c = 0; c < columns; ++c) {
        const std::wstring title = ColumnTitle(list, c);
        const int width = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, c, 0));
        total += width;
        EXPECT_LE(TextWidth(header, title) + columnPadding, width)
            << "column \"" << Narrow(title) << "\" of list " << number << " in language " << language << " at " << dpi
            << " DPI";
      }
      // Every column in sight without scrolling (where the screen gave the window its width).
      if (UnscaleFromDpi(Width(main_), dpi) < 1370) continue;
      EXPECT_LE(total, Width(list)) << "list " << number << " in language " << language << " at " << dpi << " DPI";
    }
  }
}

}  // namespace
}  // namespace velkor::testing
