// The "Blockkarte und Geschwindigkeit" window under Wine: the menu command follows what the loaded
// results file holds, and the window follows the file loaded after it.
#include <gtest/gtest.h>

#include "common/localization.h"
#include "results/diagnosis_chart.h"
#include "results/results_database.h"
#include "tests/ui/window_driver.h"
#include "ui/diagnosis_window.h"
#include "ui/dpi.h"
#include "view/dpi_scale.h"
#include "view/control_numbers.h"

namespace velkor::testing {
namespace {

class DiagnosisWindowTest : public WindowTest {
 protected:
  void TearDown() override {
    if (DiagnosisWindow() != nullptr) DestroyWindow(DiagnosisWindow());
    WindowTest::TearDown();
  }

  bool Greyed(int id) {
    SendMessageW(main_, WM_INITMENUPOPUP, 0, 0);
    return (MenuState(id) & MF_GRAYED) != 0;
  }
};

ResultRecord FullRow() {
  ResultRecord r;
  r.method = L"Quorvel-Modus (Volltest)";
  r.bytes = r.writtenBytes = 992ull << 20;
  r.errors = 500;
  r.stopReason = StopReason::kErrorLimit;
  return r;
}

RunDiagnosis FakeStick() {
  RunDiagnosis run;
  Diagnosis& d = run.diagnosis;
  d.present = true;
  d.finding = DiagnosisFinding::kWraps;
  d.findingBytes = d.usableBytes = d.periodBytes = 256ull << 20;
  d.testBytes = 992ull << 20;
  d.blockSize = 1048576;
  for (size_t i = 0; i < 992; ++i) d.cells.push_back(i < 736 ? BlockClass::kOverwritten : BlockClass::kOk);
  run.speedCurve.write.assign(kSpeedCurvePoints, 20.0);
  return run;
}

TEST_F(DiagnosisWindowTest, TheMapCommandFollowsTheLoadedResults) {
  const std::wstring folder = GetResultsFolder();
  const std::wstring older = folder + L"\\20250101-100000-E__-velkor.json";  // from before the diagnosis
  const std::wstring curves = folder + L"\\20250102-100000-E__-velkor.json";  // a healthy run
  const std::wstring fake = folder + L"\\20250103-100000-E__-velkor.json";
  RunDiagnosis healthy;
  healthy.speedCurve.write.assign(kSpeedCurvePoints, 30.0);
  healthy.speedCurve.read.assign(kSpeedCurvePoints, 35.0);
  const RunDiagnosis stick = FakeStick();
  ASSERT_TRUE(SaveResultsFile(older, ResultsFileHeader{}, {FullRow()}, true));
  ASSERT_TRUE(SaveResultsFile(curves, ResultsFileHeader{}, {FullRow()}, true, &healthy));
  ResultsFileHeader fakeDrive;
  fakeDrive.driveRoot = L"E:\\";
  fakeDrive.label = L"FAKE";
  fakeDrive.startedAt = L"2025-01-03 10:00:00.250";
  ASSERT_TRUE(SaveResultsFile(fake, fakeDrive, {FullRow()}, true, &stick));
  ASSERT_NE(OpenWindow(), nullptr);
  EXPECT_EQ(MenuText(kIdDiagnosisView), TranslateIn(L"menu_diagnosis", kLanguageGerman));
  EXPECT_TRUE(Greyed(kIdDiagnosisView));  // nothing loaded
  Command(kIdDiagnosisView);
  EXPECT_EQ(DiagnosisWindow(), nullptr);

  Choose(kCtlSavedTestsBox, 0);
  ASSERT_EQ(Ui().currentResultsPath, older);
  EXPECT_TRUE(Greyed(kIdDiagnosisView));

  Choose(kCtlSavedTestsBox, 2);
  ASSERT_EQ(Ui().currentResultsPath, fake);
  EXPECT_TRUE(Ui().currentDiagnosis.diagnosis.present);
  EXPECT_FALSE(Greyed(kIdDiagnosisView));
  Command(kIdDiagnosisView);
  HWND view = DiagnosisWindow();
  ASSERT_NE(view, nullptr);
  Pump();
  EXPECT_TRUE(IsWindowVisible(view));
  EXPECT_EQ(GetWindow(view, GW_OWNER), main_);
  wchar_t className[64] = {};
  GetClassNameW(view, className, 64);
  EXPECT_EQ(std::wstring(className), kDiagnosisWindowClass);
  // The run by its drive, start and verdict; the file by its name in the tooltip.
  EXPECT_EQ(WindowText(view), L"Blockkarte und Geschwindigkeit - E:\\ FAKE \u2013 2025-01-03 10:00 \u2013 FEHLER GEFUNDEN");
  EXPECT_EQ(DiagnosisWindowTip(), L"20250103-100000-E__-velkor.json");
  SaveScreenshot(view, L"map-title.bmp");
  // Painting at any size, down to a sliver, does no harm.
  for (const SIZE size : {SIZE{1200, 800}, SIZE{300, 200}, SIZE{20, 20}}) {
    SetWindowPos(view, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    UpdateWindow(view);
    Pump();
  }
  EXPECT_TRUE(IsWindow(view));
  // It is not made smaller than map and curve need, at the window's DPI.
  RECT shrunk{};
  GetWindowRect(view, &shrunk);
  EXPECT_GE(shrunk.right - shrunk.left, ScaleToDpi(560, WindowDpi(view)));
  EXPECT_GE(shrunk.bottom - shrunk.top, ScaleToDpi(380, WindowDpi(view)));

  // Its caption follows the interface language.
  Choose(kCtlLanguageBox, kLanguageFrench);
  EXPECT_EQ(WindowText(view), L"Carte des blocs et vitesse - E:\\ FAKE \u2013 2025-01-03 10:00 \u2013 ERREURS TROUVÉES");
  Choose(kCtlLanguageBox, kLanguageGerman);
  EXPECT_EQ(DiagnosisWindow(), view);

  // Another file: the window shows it, or goes when there is nothing to draw.
  Choose(kCtlSavedTestsBox, 1);
  EXPECT_EQ(DiagnosisWindow(), view);
  // A file that names no drive is named by its file name.
  EXPECT_EQ(WindowText(view), L"Blockkarte und Geschwindigkeit - 20250102-100000-E__-velkor.json");
  EXPECT_EQ(DiagnosisWindowTip(), L"20250102-100000-E__-velkor.json");
  EXPECT_FALSE(Greyed(kIdDiagnosisView));
  Choose(kCtlSavedTestsBox, 0);
  EXPECT_EQ(DiagnosisWindow(), nullptr);
  EXPECT_FALSE(IsWindow(view));
  EXPECT_TRUE(Greyed(kIdDiagnosisView));
}

// A fake of 128 MiB under ext4, which put the test file's last quarter low on the medium and the
// rest past its real size, as a run read it back: in the file's order the part it really holds
// comes last; in the medium's order it comes first and the mark stands after it.
TEST_F(DiagnosisWindowTest, AFakesMapGoesInTheMediumsOrder) {
  auto cells = [](std::initializer_list<std::pair<BlockClass, size_t>> runs) {
    std::vector<BlockClass> all;
    for (const auto& [kind, count] : runs) all.insert(all.end(), count, kind);
    return all;
  };
  const BlockClass o = BlockClass::kOk, w = BlockClass::kOverwritten, d = BlockClass::kDamaged;
  RunDiagnosis fileOrder;
  Diagnosis& f = fileOrder.diagnosis;
  f.present = true;
  f.finding = DiagnosisFinding::kWraps;
  f.findingBytes = f.usableBytes = f.periodBytes = 126ull << 20;
  f.testBytes = 435ull << 20;
  f.blockSize = 1048576;
  f.cells = cells({{w, 120}, {d, 1}, {o, 7}, {w, 120}, {d, 1}, {w, 67}, {o, 119}});
  f.counts[static_cast<size_t>(o)] = 126;
  f.counts[static_cast<size_t>(w)] = 307;
  f.counts[static_cast<size_t>(d)] = 2;
  f.checked = 435;
  RunDiagnosis deviceOrder = fileOrder;
  Diagnosis& m = deviceOrder.diagnosis;
  m.findingBytes = m.usableBytes = m.periodBytes = 128ull << 20;
  m.cells = cells({{o, 67}, {w, 120}, {d, 1}, {w, 127}, {d, 1}, {w, 119}});
  m.deviceOrder = true;
  m.markCell = 67;
  const std::wstring folder = GetResultsFolder();
  const std::wstring before = folder + L"\\20250104-100000-E__-velkor.json";
  const std::wstring after = folder + L"\\20250105-100000-E__-velkor.json";
  ASSERT_TRUE(SaveResultsFile(before, ResultsFileHeader{}, {FullRow()}, true, &fileOrder));
  ASSERT_TRUE(SaveResultsFile(after, ResultsFileHeader{}, {FullRow()}, true, &deviceOrder));
  ASSERT_NE(OpenWindow(), nullptr);
  for (const auto& [path, name] : {std::pair<std::wstring, const wchar_t*>{before, L"diagnosis-file-order.bmp"},
                                   std::pair<std::wstring, const wchar_t*>{after, L"diagnosis-device-order.bmp"}}) {
    for (int i = 0; i < 20 && Ui().currentResultsPath != path; ++i) Choose(kCtlSavedTestsBox, i);
    ASSERT_EQ(Ui().currentResultsPath, path);
    ASSERT_EQ(Ui().currentDiagnosis.diagnosis.deviceOrder, path == after);
    Command(kIdDiagnosisView);
    HWND view = DiagnosisWindow();
    ASSERT_NE(view, nullptr);
    SetWindowPos(view, HWND_TOP, 0, 0, 1100, 700, SWP_NOZORDER);
    UpdateWindow(view);
    Pump();
    SaveScreenshot(view, name);
  }
}

// Pixels of the window's client area that have exactly the colour rgb (0xRRGGBB).
size_t PixelsOfColour(HWND window, uint32_t rgb) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  RECT client{};
  GetClientRect(window, &client);
  const int width = client.right, height = client.bottom;
  HDC source = GetDC(window);
  HDC memory = CreateCompatibleDC(source);
  HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = -height;
  info.biPlanes = 1;
  info.biBitCount = 32;
  info.biCompression = BI_RGB;
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, source);
  return static_cast<size_t>(std::count_if(pixels.begin(), pixels.end(), [rgb](uint32_t p) { return (p & 0xFFFFFF) == rgb; }));
}

bool SetHighContrast(bool on) {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof(contrast);
  contrast.dwFlags = on ? HCF_HIGHCONTRASTON : 0;
  if (!SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof(contrast), &contrast, SPIF_SENDCHANGE)) return false;
  HIGHCONTRASTW now{};
  now.cbSize = sizeof(now);
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(now), &now, 0) &&
         ((now.dwFlags & HCF_HIGHCONTRASTON) != 0) == on;
}

LONG FontHeight(HFONT font) {
  LOGFONTW logical{};
  return font != nullptr && GetObjectW(font, sizeof logical, &logical) == sizeof logical ? logical.lfHeight : 0;
}

// For a user who does not see the map, or sees it in the theme's colours, or at another DPI: the
// window says in text what it shows, takes the theme's colours, makes its fonts at its own DPI,
// and Esc closes it.
TEST_F(DiagnosisWindowTest, TheMapSpeaksFollowsTheThemeAndTheDpiAndClosesOnEsc) {
  const std::wstring fake = GetResultsFolder() + L"\\20250103-100000-E__-velkor.json";
  const RunDiagnosis stick = FakeStick();
  ResultsFileHeader fakeDrive;
  fakeDrive.driveRoot = L"E:\\";
  fakeDrive.label = L"FAKE";
  fakeDrive.startedAt = L"2025-01-03 10:00:00.250";
  ASSERT_TRUE(SaveResultsFile(fake, fakeDrive, {FullRow()}, true, &stick));
  ASSERT_NE(OpenWindow(), nullptr);
  Choose(kCtlLanguageBox, kLanguageEnglish);
  Choose(kCtlSavedTestsBox, 0);
  Command(kIdDiagnosisView);
  HWND view = DiagnosisWindow();
  ASSERT_NE(view, nullptr);
  Pump();

  // The summary a screen reader reads: it has the focus when the window opens.
  const std::wstring summary = DiagnosisWindowSummary();
  const Diagnosis& d = stick.diagnosis;
  for (const std::wstring& part : {Translate(L"diagnosis_title"), DiagnosisFindingText(d, kLanguageEnglish),
                                   UsableCapacityText(d, kLanguageEnglish), DiagnosisCountsText(d, kLanguageEnglish)}) {
    EXPECT_NE(summary.find(part), std::wstring::npos) << Narrow(part) << " not in " << Narrow(summary);
  }
  SetForegroundWindow(view);
  SetFocus(view);
  EXPECT_TRUE(IsChild(view, GetFocus()));
  EXPECT_EQ(WindowText(view), L"Block map and speed - E:\\ FAKE \u2013 2025-01-03 10:00 \u2013 ERRORS FOUND");

  // Its fonts are made at its own DPI, and again when it moves to a screen of another one.
  EXPECT_EQ(FontHeight(DiagnosisWindowFont()), ScaleToDpi(-12, WindowDpi(view)));
  RECT place{};
  GetWindowRect(view, &place);
  SendMessageW(view, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&place));
  EXPECT_EQ(FontHeight(DiagnosisWindowFont()), ScaleToDpi(-12, 144));
  SendMessageW(view, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&place));

  // The map's own colours, and in high contrast none of them.
  const uint32_t overwritten = BlockClassColour(BlockClass::kOverwritten);
  EXPECT_GT(PixelsOfColour(view, overwritten), 0u);
  // Where the system's theme cannot be switched (Wine), the window is told to draw as in it.
  const bool switched = SetHighContrast(true);
  if (!switched) SetHighContrastOverride(1);
  Pump();
  SaveScreenshot(view, L"map-high-contrast.bmp");
  const size_t themed = PixelsOfColour(view, overwritten);
  const size_t writeCurve = PixelsOfColour(view, kWriteCurveColour);
  if (switched) SetHighContrast(false);
  SetHighContrastOverride(-1);
  EXPECT_EQ(themed, 0u);
  EXPECT_EQ(writeCurve, 0u);
  EXPECT_GT(PixelsOfColour(view, overwritten), 0u);  // and back
  Pump();

  // Esc closes it, from the text the focus is in.
  SetFocus(view);
  PressKeys({VK_ESCAPE});
  EXPECT_EQ(DiagnosisWindow(), nullptr);
  EXPECT_FALSE(IsWindow(view));
  EXPECT_TRUE(IsWindow(main_));
}

}  // namespace
}  // namespace velkor::testing
