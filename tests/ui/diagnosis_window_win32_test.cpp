// The "Blockkarte und Geschwindigkeit" window under Wine: the menu command follows what the loaded
// results file holds, and the window follows the file loaded after it.
#include <gtest/gtest.h>

#include "common/localization.h"
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
  ASSERT_TRUE(SaveResultsFile(fake, ResultsFileHeader{}, {FullRow()}, true, &stick));
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
  EXPECT_EQ(WindowText(view), L"Blockkarte und Geschwindigkeit - 20250103-100000-E__-velkor.json");
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
  EXPECT_EQ(WindowText(view), L"Carte des blocs et vitesse - 20250103-100000-E__-velkor.json");
  Choose(kCtlLanguageBox, kLanguageGerman);
  EXPECT_EQ(DiagnosisWindow(), view);

  // Another file: the window shows it, or goes when there is nothing to draw.
  Choose(kCtlSavedTestsBox, 1);
  EXPECT_EQ(DiagnosisWindow(), view);
  EXPECT_EQ(WindowText(view), L"Blockkarte und Geschwindigkeit - 20250102-100000-E__-velkor.json");
  EXPECT_FALSE(Greyed(kIdDiagnosisView));
  Choose(kCtlSavedTestsBox, 0);
  EXPECT_EQ(DiagnosisWindow(), nullptr);
  EXPECT_FALSE(IsWindow(view));
  EXPECT_TRUE(Greyed(kIdDiagnosisView));
}

}  // namespace
}  // namespace velkor::testing
