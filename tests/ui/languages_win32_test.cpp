// The window in each language: every control, list, menu item, tip and box walked for German left
// behind, the menus' mnemonics, and the report box saving what it showed.
#include <gtest/gtest.h>

#include <cwctype>
#include <memory>
#include <set>

#include "common/localization.h"
#include "pdf/help_files.h"
#include "results/result_report.h"
#include "tests/support/untranslated.h"
#include "tests/ui/window_driver.h"
#include "ui/commands.h"
#include "ui/lists.h"
#include "ui/report_window.h"
#include "ui/run_control.h"
#include "ui/tooltips.h"
#include "view/control_numbers.h"

namespace velkor {
namespace {

using namespace velkor::testing;

class Languages : public WindowTest {
 protected:
  // What the user reads, with where it was found.
  struct Shown {
    std::wstring where;
    std::wstring text;
  };

  void LoadRows() {
    std::vector<ResultRecord> rows(3);
    rows[0] = {L"Turbo (aggressiv)", 2, 1048576, 64 << 20, 80.5};
    rows[1] = {L"Zuverlässig (Volltest)", 1, 4194304, 256 << 20, 20.25};
    rows[1].verified = rows[1].recommended = true;
    rows[2] = {L"Ausgeglichen (nur prüfen)", 1, 262144, 16 << 20, 0.0};
    rows[2].cancelled = true;
    rows[2].stopReason = StopReason::kUser;
    Ui().currentResults = rows;
    Ui().currentVerdict = JudgeRun(rows, nullptr, RunFacts{});
    FillResultList();
    UpdateSummaryText();
  }

  static void AddList(std::vector<Shown>& out, const std::wstring& where, HWND list) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const int columns = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    for (int c = 0; c < columns; ++c) {
      out.push_back({where + L" column", ColumnTitle(list, c)});
      for (int row = 0; row < Rows(list); ++row) out.push_back({where + L" cell", Cell(list, row, c)});
    }
  }

  // Items of a menu, and of its drop-downs; each menu's mnemonics must differ.
  static void AddMenu(std::vector<Shown>& out, const std::wstring& where, HMENU menu) {
    std::set<wchar_t> letters;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      wchar_t text[256] = {};
      GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
      const std::wstring item = text;
      if (item.empty()) continue;  // a separator
      out.push_back({where, item});
      const size_t amp = item.find(L'&');
      EXPECT_NE(amp, std::wstring::npos) << Narrow(item) << " has no mnemonic";
      if (amp != std::wstring::npos) {
        EXPECT_TRUE(letters.insert(static_cast<wchar_t>(towlower(item[amp + 1]))).second)
            << Narrow(item) << " repeats a letter of its menu";
      }
      if (HMENU sub = GetSubMenu(menu, i)) AddMenu(out, where + L" > " + item, sub);
    }
  }

  // Everything the window shows now, but the log (its lines stay as the log file has them) and the
  // saved-tests box (file names).
  std::vector<Shown> WindowTexts() {
    std::vector<Shown> out;
    out.push_back({L"title", WindowText(main_)});
    for (int n = 1; n <= kControlCount; ++n) {
      if (n == kCtlLogView || n == kCtlSavedTestsBox) continue;
      HWND control = Control(n);
      out.push_back({L"control " + std::to_wstring(n), WindowText(control)});
      wchar_t className[32] = {};
      GetClassNameW(control, className, 32);
      if (_wcsicmp(className, L"ComboBox") == 0) {
        const int count = static_cast<int>(SendMessageW(control, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
          wchar_t item[256] = {};
          SendMessageW(control, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
          out.push_back({L"choice " + std::to_wstring(n), item});
        }
      }
    }
    AddList(out, L"drive list", Control(kCtlDriveList));
    AddList(out, L"result list", Control(kCtlResultList));
    AddMenu(out, L"menu", GetMenu(main_));
    // Every control's tip as the tooltip holds it, and the tips' title.
    HWND tips = Ui().tooltip;
    const int tools = static_cast<int>(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0));
    int hinted = 0;  // the idle window's controls that explain themselves
    for (int n = 1; n <= kControlCount; ++n) hinted += GetControlHint(Control(n)).empty() ? 0 : 1;
    EXPECT_GT(hinted, 20);
    EXPECT_EQ(tools, hinted);
    for (int i = 0; i < tools; ++i) {
      wchar_t text[1024] = {};
      TTTOOLINFOW tool{};
      tool.cbSize = sizeof(tool);
      tool.lpszText = text;
      SendMessageW(tips, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&tool));
      if (reinterpret_cast<HWND>(tool.uId) == Control(kCtlSavedTestsBox)) continue;
      out.push_back({L"tip", text});
    }
    wchar_t title[100] = {};
    TTGETTITLE got{sizeof(got), 0, 100, title};
    SendMessageW(tips, TTM_GETTITLE, 0, reinterpret_cast<LPARAM>(&got));
    out.push_back({L"tip title", title});
    return out;
  }

  // Opens the window's boxes one after another, each answered with its way out.
  void OpenEveryBox() {
    Command(kIdAbout);
    Pump();
    ShowResultReport(main_, Ui().currentResults);
    Pump();
    // The deletion question, the gone-target warning and the question on closing during a run.
    auto run = std::make_shared<TestState>();
    run->deletePending = true;
    run->targetGone = true;
    Ui().run = run;
    OfferTestFileDeletion(main_);
    TellTargetGone();
    run->running = true;
    SendMessageW(main_, WM_CLOSE, 0, 0);  // answered with Cancel: the window stays
    run->running = false;
    Ui().run.reset();
    Pump();
    // A field that is no number: the start refuses with a box.
    const std::wstring size = Text(kCtlTestSizeField);
    SetWindowTextW(Control(kCtlTestSizeField), L"abc");
    Command(kIdStart);
    SetWindowTextW(Control(kCtlTestSizeField), size.c_str());
    // Nothing to export.
    const std::vector<ResultRecord> rows = Ui().currentResults;
    Ui().currentResults.clear();
    Command(kIdExport);
    Ui().currentResults = rows;
    Pump();
  }
};

TEST_F(Languages, EveryControlMenuItemTipAndBoxSpeaksTheChosenLanguage) {
  ASSERT_NE(OpenWindow(), nullptr);
  LoadRows();
  Command(kIdSettingsToggle);
  Command(kIdMethodToggle);
  for (int language : {kLanguageEnglish, kLanguageFrench, kLanguageSpanish}) {
    Choose(kCtlLanguageBox, language);
    Pump();
    ASSERT_EQ(CurrentLanguage, language);
    std::vector<Shown> shown = WindowTexts();
    // A status text of the test thread, which writes German.
    PostStatusText(L"Erstelle Testdatei: E:\\velkor_01.bin");
    Pump();
    shown.push_back({L"status from the test thread", Text(kCtlStatusLine)});
    Answerer().seen.clear();
    OpenEveryBox();
    EXPECT_GE(Answerer().seen.size(), 7u) << "language " << language;
    for (const SeenDialog& box : Answerer().seen) {
      shown.push_back({L"box title", box.title});
      shown.push_back({L"box " + box.title, box.text});
    }
    for (const Shown& s : shown) {
      const std::vector<std::wstring> german = GermanLeftIn(s.text, language);
      EXPECT_TRUE(german.empty()) << "language " << language << ", " << Narrow(s.where) << ": " << Narrow(s.text)
                                  << "\n  German: " << Narrow(JoinFindings(german));
    }
  }
  // The log keeps German lines whatever the window shows.
  Choose(kCtlLanguageBox, kLanguageGerman);
  EXPECT_NE(Text(kCtlLogView).find(L"Logdatei: "), std::wstring::npos);
}

// The switch relabels what is open at that moment: the menu bar, a tip on show, the status line.
TEST_F(Languages, ASwitchRelabelsTheMenuAndTheOpenHint) {
  ASSERT_NE(OpenWindow(), nullptr);
  EXPECT_EQ(MenuText(kIdExit), L"&Beenden");
  HWND field = Control(kCtlLanguageBox);
  SendMessageW(field, WM_SETFOCUS, 0, 0);  // its hint goes to the status line
  EXPECT_EQ(Text(kCtlStatusLine), TranslateIn(L"hint_1022", kLanguageGerman));
  Choose(kCtlLanguageBox, kLanguageFrench);
  EXPECT_EQ(MenuText(kIdExit), L"&Quitter");
  EXPECT_EQ(MenuText(kIdStop), L"&Arrêter\tÉchap");
  wchar_t bar[64] = {};
  GetMenuStringW(GetMenu(main_), 3, bar, 64, MF_BYPOSITION);
  EXPECT_STREQ(bar, L"A&ide");
  // The hint in the status line and the tip of the language box read French now.
  SendMessageW(field, WM_SETFOCUS, 0, 0);
  EXPECT_EQ(Text(kCtlStatusLine), TranslateIn(L"hint_1022", kLanguageFrench));
  wchar_t tip[512] = {};
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = main_;
  tool.uId = reinterpret_cast<UINT_PTR>(field);
  tool.lpszText = tip;
  SendMessageW(Ui().tooltip, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&tool));
  EXPECT_EQ(std::wstring(tip), TranslateIn(L"hint_1022", kLanguageFrench));
  // The help files of the new language are there for the help menu.
  EXPECT_NE(GetFileAttributesW(HelpHtmlPath(kLanguageFrench).c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(GetFileAttributesW(HelpPdfPath(kLanguageFrench).c_str()), INVALID_FILE_ATTRIBUTES);
  // The reason the profile greys fields, shown before the switch, is said again in the new language.
  Choose(kCtlProfileBox, kProfileQuorvel);
  EXPECT_EQ(Text(kCtlWorkerHint), TranslateIn(L"quorvel_takes_over", kLanguageFrench));
  Choose(kCtlLanguageBox, kLanguageSpanish);
  EXPECT_EQ(Text(kCtlWorkerHint), TranslateIn(L"quorvel_takes_over", kLanguageSpanish));
}

// The report box's buttons say what they do, in the window's language whatever the system's is, and
// no "Yes = ..." line explains them.
TEST_F(Languages, TheReportBoxButtonsNameTheirActionInEveryLanguage) {
  ASSERT_NE(OpenWindow(), nullptr);
  LoadRows();
  const wchar_t* names[] = {L"report-box-de.bmp", L"report-box-en.bmp", L"report-box-fr.bmp", L"report-box-es.bmp"};
  for (int language = 0; language < kLanguageCount; ++language) {
    Choose(kCtlLanguageBox, language);
    const std::wstring shot = names[language];
    Answerer().answers.push_back([shot](HWND dialog, const SeenDialog&) {
      SaveScreenshot(dialog, shot);
      return IDNO;
    });
    ShowResultReport(main_, Ui().currentResults);
    const std::vector<SeenDialog> boxes = Seen(TranslateIn(L"report_title", language));
    ASSERT_EQ(boxes.size(), 1u) << language;
    EXPECT_EQ(boxes[0].buttons, (std::vector<std::wstring>{TranslateIn(L"button_save_report", language),
                                                           TranslateIn(L"button_close", language)}));
    const std::wstring prompt = TranslateIn(L"report_prompt", language);
    EXPECT_EQ(boxes[0].text.find(prompt.substr(0, prompt.find(L'\r'))), std::wstring::npos) << language;
    EXPECT_FALSE(boxes[0].text.empty());
  }
  EXPECT_EQ(TranslateIn(L"button_save_report", kLanguageGerman), L"Bericht speichern …");
  EXPECT_EQ(TranslateIn(L"button_close", kLanguageGerman), L"Schließen");
}

// The report box shows the chosen language; Yes saves the report as files keep it, in German and
// without the box's question; the log stays German.
TEST_F(Languages, TheReportBoxShowsItsLanguageAndSavesTheGermanReport) {
  ASSERT_NE(OpenWindow(), nullptr);
  LoadRows();
  Choose(kCtlLanguageBox, kLanguageSpanish);
  const std::wstring path = folder_.File(L"informe.txt");
  Answerer().answers.push_back(Press(IDYES));
  Answerer().answers.push_back(SaveAs(path));
  ShowResultReport(main_, Ui().currentResults);
  const std::vector<SeenDialog> boxes = Seen(TranslateIn(L"report_title", kLanguageSpanish));
  ASSERT_EQ(boxes.size(), 1u);
  const Verdict& verdict = Ui().currentVerdict;
  const ResultReport report = BuildRunReport(Ui().currentResults, verdict, nullptr, &Ui().currentHeader, kLanguageSpanish);
  EXPECT_EQ(boxes[0].text, ReportBoxText(report));
  EXPECT_EQ(boxes[0].text.find(L"Sí = exportar"), std::wstring::npos);  // the buttons say it
  EXPECT_EQ(boxes[0].text.find(report.body.substr(0, report.body.size() - 2)), 0u);
  EXPECT_EQ(ReadFileBytes(path),
            platform::WideToUtf8(BuildRunReport(Ui().currentResults, verdict, nullptr, &Ui().currentHeader).body));
  Pump();
  EXPECT_NE(Text(kCtlLogView).find(L"Export geschrieben: " + path), std::wstring::npos);
  EXPECT_EQ(Text(kCtlStatusLine), L"Export escrito: " + path);
}

}  // namespace
}  // namespace velkor
