// The real main window under Wine: what a user meets at start, the two views, the menus, the
// result list, saved results, settings across a restart and the language switch.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <thread>

#include "common/settings.h"
#include "engine/run_config.h"
#include "platform/profile.h"
#include "tests/ui/window_driver.h"
#include "ui/commands.h"
#include "ui/tooltips.h"
#include "view/hint_texts.h"
#include "view/dpi_scale.h"
#include "view/main_layout.h"
#include "view/result_columns.h"
#include "view/control_numbers.h"

namespace velkor::testing {
namespace {

class MainWindow : public WindowTest {};

struct ExpectedControl {
  int number;
  int id;
  const wchar_t* className;
  const wchar_t* text;  // German, as at start-up; null where the text is not fixed
  bool enabled;
};

// The whole control set as a German user meets it right after start-up.
const ExpectedControl kStartUp[] = {
    {kCtlDrivesLabel, 0, L"Static", L"Laufwerke:", true},
    {kCtlExplorerButton, 1015, L"Button", L"Explorer öffnen", true},
    {kCtlDriveList, 1001, L"SysListView32", L"", true},
    {kCtlLanguageLabel, 0, L"Static", L"Sprache:", true},
    {kCtlLanguageBox, 1022, L"ComboBox", L"Deutsch", true},
    {kCtlSavedTestsLabel, 0, L"Static", nullptr, true},
    {kCtlSavedTestsBox, 1023, L"ComboBox", L"", true},
    {kCtlExportLabel, 0, L"Static", nullptr, true},
    {kCtlExportBox, 1024, L"ComboBox", L"CSV", true},
    {kCtlExportButton, 1025, L"Button", nullptr, true},
    {kCtlOpenResultsButton, 1035, L"Button", nullptr, true},
    {kCtlResultsLabel, 0, L"Static", nullptr, true},
    {kCtlResultList, 1020, L"SysListView32", L"", true},
    {kCtlVerticalBar, 1026, L"VelkorSplitter", L"", true},
    {kCtlHorizontalBar, 1027, L"VelkorSplitter", L"", true},
    {kCtlSelectedDrive, 1014, L"Static", nullptr, true},
    {kCtlTestSizeLabel, 0, L"Static", nullptr, true},
    {kCtlTestSizeField, 1002, L"Edit", L"1024", true},
    {kCtlBlockLabel, 0, L"Static", nullptr, true},
    {kCtlBlockField, 1003, L"Edit", L"1024", true},  // the "Zuverlässig" defaults replace 4096
    {kCtlWorkerLabel, 1017, L"Static", nullptr, true},
    {kCtlWorkerField, 1004, L"Edit", nullptr, true},
    {kCtlReserveLabel, 0, L"Static", nullptr, true},
    {kCtlReserveField, 1019, L"Edit", L"0", true},
    {kCtlTestPointsLabel, 0, L"Static", nullptr, true},
    {kCtlTestPointsField, 1021, L"Edit", L"3", true},
    {kCtlMethodToggle, 1031, L"Button", nullptr, true},
    {kCtlMethodCheck, 1029, L"Button", nullptr, true},
    {kCtlFastestCheck, 1030, L"Button", nullptr, true},
    {kCtlRandomPointsCheck, 1028, L"Button", nullptr, true},
    {kCtlProfileLabel, 0, L"Static", nullptr, true},
    {kCtlProfileBox, 1005, L"ComboBox", L"Zuverlässig", true},
    {kCtlWorkerHint, 1018, L"Static", nullptr, true},
    {kCtlPartialCheck, 1006, L"Button", nullptr, true},
    {kCtlPartialStartLabel, 0, L"Static", nullptr, false},
    {kCtlPartialStartField, 1007, L"Edit", L"0", false},
    {kCtlPartialRangeLabel, 0, L"Static", nullptr, false},
    {kCtlPartialRangeField, 1008, L"Edit", L"1024", false},
    {kCtlDeleteCheck, 1016, L"Button", nullptr, true},
    {kCtlStartButton, 1010, L"Button", nullptr, true},
    {kCtlStopButton, 1011, L"Button", nullptr, false},
    {kCtlSettingsToggle, 1034, L"Button", nullptr, true},
    {kCtlVerifyOnlyButton, 1032, L"Button", nullptr, true},
    {kCtlProgressBar, 1036, L"msctls_progress32", L"", true},
    {kCtlSummary, 1033, L"Edit", L"Zusammenfassung: Noch keine Ergebnisse.", true},
    {kCtlLogLabel, 0, L"Static", nullptr, true},
    {kCtlLogView, 1012, L"Edit", nullptr, true},
    {kCtlStatusLine, 1013, L"Static", nullptr, true},
};

TEST_F(MainWindow, StartsWithEveryControlInPlace) {
  ASSERT_NE(OpenWindow(), nullptr);
  EXPECT_EQ(WindowText(main_), Translate(L"app_title"));
  // The program's icon, large for the taskbar and small for the title bar.
  for (auto [which, metric] : {std::pair{GCLP_HICON, SM_CXICON}, std::pair{GCLP_HICONSM, SM_CXSMICON}}) {
    HICON icon = reinterpret_cast<HICON>(GetClassLongPtrW(main_, which));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bitmap{};
    GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
    EXPECT_EQ(bitmap.bmWidth, GetSystemMetrics(metric));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
  }
  ASSERT_EQ(std::size(kStartUp), static_cast<size_t>(kControlCount));
  for (const ExpectedControl& c : kStartUp) {
    HWND control = Control(c.number);
    ASSERT_NE(control, nullptr) << c.number;
    EXPECT_EQ(GetParent(control), main_);
    EXPECT_EQ(GetDlgCtrlID(control), c.id) << c.number;
    wchar_t className[64] = {};
    GetClassNameW(control, className, 64);
    EXPECT_EQ(_wcsicmp(className, c.className), 0) << c.number << " is " << std::string(className, className + wcslen(className));
    if (c.text != nullptr) {
      EXPECT_EQ(WindowText(control), c.text) << c.number;
    }
    EXPECT_EQ(IsWindowEnabled(control) != FALSE, c.enabled) << c.number;
  }
  EXPECT_TRUE(IsChecked(kCtlFastestCheck));
  EXPECT_TRUE(IsChecked(kCtlRandomPointsCheck));
  EXPECT_TRUE(IsChecked(kCtlDeleteCheck));
  EXPECT_FALSE(IsChecked(kCtlMethodCheck));
  EXPECT_FALSE(IsChecked(kCtlPartialCheck));
  EXPECT_EQ(Text(kCtlStatusLine), L"Bereit");
  EXPECT_EQ(SendMessageW(Control(kCtlProgressBar), PBM_GETRANGE, FALSE, 0), 10000);
  // The drive list is filled and its first row that is not the system drive selected (C: holds
  // the Windows folder, under Wine too); the line below names it.
  ASSERT_GT(Rows(Control(kCtlDriveList)), 0);
  const DriveInfo& first = DriveTable[DefaultDriveRow(DriveTable)];
  EXPECT_EQ(Text(kCtlSelectedDrive).rfind(L"Ziel: " + first.root, 0), 0u);
  EXPECT_FALSE(first.systemVolume && DriveTable.size() > 1);
  for (int row = 0; row < Rows(Control(kCtlDriveList)); ++row) {
    if (Cell(Control(kCtlDriveList), row, 0) == L"C:\\") {
      EXPECT_EQ(Cell(Control(kCtlDriveList), row, 7), L"System");
    }
  }
  Pump();
  EXPECT_NE(Text(kCtlLogView).find(L"Bereit. Laufwerke können per Spaltenkopf sortiert werden"), std::wstring::npos);
  EXPECT_NE(Text(kCtlLogView).find(L"Logdatei: "), std::wstring::npos);
}

TEST_F(MainWindow, CompactAndExpandedViews) {
  ASSERT_NE(OpenWindow(), nullptr);
  RECT client{};
  GetClientRect(main_, &client);
  auto visible = [](int n) { return IsWindowVisible(Control(n)) != FALSE; };

  // Compact: the drive list over the full width, no settings, no result list.
  EXPECT_TRUE(visible(kCtlDriveList));
  EXPECT_EQ(ClientRect(kCtlDriveList).right - ClientRect(kCtlDriveList).left, client.right - 40);
  for (int n : {kCtlResultList, kCtlVerticalBar, kCtlLanguageBox, kCtlSavedTestsBox, kCtlExportBox,
                kCtlTestSizeField, kCtlProfileBox}) {
    EXPECT_FALSE(visible(n)) << n;
  }
  // Start and Stop in sight at the end of the selected-drive line, Stop greyed while idle.
  for (int n : {kCtlStartButton, kCtlStopButton}) {
    EXPECT_TRUE(visible(n)) << n;
    EXPECT_EQ(ClientRect(n).top, ClientRect(kCtlSelectedDrive).top - 3) << n;
    EXPECT_GE(ClientRect(n).left, ClientRect(kCtlSelectedDrive).right) << n;
  }
  EXPECT_TRUE(IsWindowEnabled(Control(kCtlStartButton)));
  EXPECT_FALSE(IsWindowEnabled(Control(kCtlStopButton)));
  EXPECT_GT(ClientRect(kCtlProgressBar).top, ClientRect(kCtlHorizontalBar).bottom);

  Command(kIdSettingsToggle);
  EXPECT_TRUE(Ui().settingsShown && Ui().settingsEverShown);
  for (int n : {kCtlResultList, kCtlVerticalBar, kCtlLanguageBox, kCtlSavedTestsBox, kCtlExportBox,
                kCtlTestSizeField, kCtlProfileBox, kCtlDeleteCheck, kCtlPartialCheck}) {
    EXPECT_TRUE(visible(n)) << n;
  }
  for (int n : {kCtlSettingsToggle, kCtlVerifyOnlyButton, kCtlTestPointsField}) {
    EXPECT_FALSE(visible(n)) << n;
  }
  EXPECT_TRUE(visible(kCtlStartButton) && visible(kCtlStopButton));
  const RECT drives = ClientRect(kCtlDriveList);
  const RECT results = ClientRect(kCtlResultList);
  EXPECT_EQ(drives.top, 82);
  // The bar at its default follows the window's width: half of it, never left of the default.
  EXPECT_GE(drives.right, SplitX - 8);
  EXPECT_EQ(results.left, drives.right + 16);
  EXPECT_EQ(Text(kCtlSettingsToggle), L"Einstellungen verbergen");
  EXPECT_EQ(MenuText(kIdSettingsToggle), L"&Einstellungen verbergen");
  // Nothing overlaps in the settings area: each field sits below the lists and above the bar.
  for (int n : {kCtlTestSizeField, kCtlProfileBox, kCtlDeleteCheck, kCtlPartialRangeField}) {
    EXPECT_GE(ClientRect(n).top, ClientRect(kCtlSelectedDrive).bottom) << n;
    EXPECT_LE(ClientRect(n).bottom, ClientRect(kCtlProgressBar).top) << n;
  }

  Command(kIdMethodToggle);
  EXPECT_TRUE(visible(kCtlTestPointsField));
  EXPECT_TRUE(visible(kCtlRandomPointsCheck));
  EXPECT_EQ(MenuText(kIdMethodToggle), L"&Methodentest verbergen");

  Command(kIdSettingsToggle);
  EXPECT_FALSE(visible(kCtlResultList));
  EXPECT_FALSE(visible(kCtlTestPointsField));
  EXPECT_TRUE(Ui().settingsEverShown);
  EXPECT_EQ(MenuText(kIdSettingsToggle), L"&Einstellungen anzeigen");
}

TEST_F(MainWindow, MenuGreyingWithAndWithoutResults) {
  ASSERT_NE(OpenWindow(), nullptr);
  SendMessageW(main_, WM_INITMENUPOPUP, 0, 0);
  auto greyed = [&](int id) { return (MenuState(id) & MF_GRAYED) != 0; };
  EXPECT_TRUE(greyed(kIdExport));
  EXPECT_TRUE(greyed(kIdStop));
  EXPECT_FALSE(greyed(kIdStart));
  EXPECT_FALSE(greyed(kIdVerifyOnly));
  EXPECT_FALSE(greyed(kIdSettingsToggle));

  Ui().currentResults.push_back(ResultRecord{L"Zuverlässig (Volltest)"});
  SendMessageW(main_, WM_INITMENUPOPUP, 0, 0);
  EXPECT_FALSE(greyed(kIdExport));

  // A run in progress: starting, exporting and the views are greyed, Stop is not; the controls
  // are locked until the run's end is noticed.
  Ui().run = std::make_shared<TestState>();
  Ui().run->running = true;
  SetControlsEnabled(false);
  for (int id : {kIdStart, kIdVerifyOnly, kIdExport, kIdOpenResults, kIdSettingsToggle, kIdMethodToggle}) {
    EXPECT_TRUE(greyed(id)) << id;
  }
  EXPECT_FALSE(greyed(kIdStop));
  EXPECT_FALSE(greyed(kIdExplorer));
  EXPECT_FALSE(greyed(kIdHelpHtml));
  EXPECT_FALSE(IsWindowEnabled(Control(kCtlWorkerField)));
  EXPECT_EQ(Text(kCtlStatusLine), L"Test läuft: Einstellungen sind bis zum Ende gesperrt.");
  Command(kIdSettingsToggle);  // ignored while locked
  EXPECT_FALSE(Ui().settingsShown);
  Ui().run->running = false;
  SetControlsEnabled(true);
  EXPECT_FALSE(greyed(kIdStart));
  EXPECT_TRUE(IsWindowEnabled(Control(kCtlWorkerField)));
  Ui().run.reset();
}

std::vector<ResultRecord> SampleRows() {
  std::vector<ResultRecord> rows(3);
  rows[0] = {L"Turbo (aggressiv)", 2, 1048576, 64 << 20, 80.5};
  rows[1] = {L"Ausgeglichen", 1, 65536, 64 << 20, 40.25};
  rows[2] = {L"Zuverlässig (Volltest)", 1, 4194304, 256 << 20, 20.0};
  rows[0].verified = rows[2].verified = true;
  rows[2].recommended = true;
  return rows;
}

TEST_F(MainWindow, SavedResultsLoadIntoTheListAndSortByColumn) {
  ResultsFileHeader config;
  config.driveRoot = L"E:\\";
  const std::wstring older = GetResultsFolder() + L"\\20250101-100000-E.json";
  const std::wstring newer = GetResultsFolder() + L"\\20250102-100000-E.json";
  ASSERT_TRUE(SaveResultsFile(older, config, SampleRows(), true));
  ASSERT_TRUE(SaveResultsFile(newer, config, {SampleRows()[0]}, true));
  ASSERT_NE(OpenWindow(), nullptr);

  HWND box = Control(kCtlSavedTestsBox);
  ASSERT_EQ(SendMessageW(box, CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageW(box, CB_GETCURSEL, 0, 0), 1);  // the newest is selected, not loaded
  EXPECT_TRUE(Ui().currentResults.empty());

  Choose(kCtlSavedTestsBox, 0);
  HWND list = Control(kCtlResultList);
  ASSERT_EQ(Rows(list), 3);
  EXPECT_EQ(Ui().currentResultsPath, older);
  EXPECT_EQ(Cell(list, 0, 0), L"Ausgeglichen");  // column 0 ascending
  EXPECT_EQ(Cell(list, 2, 2), L"4096");
  EXPECT_EQ(Cell(list, 2, 7), L"Empfehlung");
  EXPECT_EQ(Text(kCtlSummary), BuildResultSummary(Ui().currentResults, Ui().currentVerdict));
  EXPECT_NE(Text(kCtlSummary).find(L"Zusammenfassung: "), std::wstring::npos);

  // A click on the block column sorts by bytes ascending, a second one descending.
  auto click = [&](int column) {
    NMLISTVIEW note{};
    note.hdr.hwndFrom = list;
    note.hdr.idFrom = kIdResultList;
    note.hdr.code = LVN_COLUMNCLICK;
    note.iItem = -1;
    note.iSubItem = column;
    SendMessageW(main_, WM_NOTIFY, kIdResultList, reinterpret_cast<LPARAM>(&note));
  };
  click(2);
  EXPECT_EQ(Cell(list, 0, 2), L"64");
  EXPECT_EQ(Cell(list, 2, 2), L"4096");
  click(2);
  EXPECT_EQ(Cell(list, 0, 2), L"4096");
  EXPECT_EQ(Cell(list, 2, 2), L"64");

  // Delete removes the selected row from the view only.
  ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  NMLVKEYDOWN key{};
  key.hdr.hwndFrom = list;
  key.hdr.idFrom = kIdResultList;
  key.hdr.code = LVN_KEYDOWN;
  key.wVKey = VK_DELETE;
  SendMessageW(main_, WM_NOTIFY, kIdResultList, reinterpret_cast<LPARAM>(&key));
  EXPECT_EQ(Rows(list), 2);
  std::vector<ResultRecord> onDisk;
  ASSERT_TRUE(LoadResultsFile(older, &onDisk));
  EXPECT_EQ(onDisk.size(), 3u);

  // Double click takes a row's settings over.
  ListView_SetItemState(list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  NMITEMACTIVATE dbl{};
  dbl.hdr.hwndFrom = list;
  dbl.hdr.idFrom = kIdResultList;
  dbl.hdr.code = NM_DBLCLK;
  SendMessageW(main_, WM_NOTIFY, kIdResultList, reinterpret_cast<LPARAM>(&dbl));
  const ResultRecord& taken = Ui().currentResults[1];
  EXPECT_EQ(Text(kCtlBlockField), std::to_wstring(taken.blockSize / 1024));
  EXPECT_EQ(Text(kCtlWorkerField), std::to_wstring(taken.workers));
  EXPECT_EQ(SendMessageW(Control(kCtlProfileBox), CB_GETCURSEL, 0, 0), ProfileForMethodText(taken.method));
}

TEST_F(MainWindow, SettingsAreWrittenOnCloseAndAppliedAtTheNextStart) {
  ASSERT_NE(OpenWindow(), nullptr);
  Choose(kCtlLanguageBox, kLanguageFrench);
  EXPECT_EQ(Text(kCtlDrivesLabel), TranslateIn(L"drives", kLanguageFrench));
  MoveWindow(main_, 10, 10, 1100, 700, TRUE);
  Command(kIdSettingsToggle);
  // Drag the vertical bar to x = 500 of the client area.
  HWND bar = Control(kCtlVerticalBar);
  POINT p{500, 100};
  MapWindowPoints(main_, bar, &p, 1);
  SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(0, 0));
  SendMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<short>(p.x), static_cast<short>(p.y)));
  SendMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(static_cast<short>(p.x), static_cast<short>(p.y)));
  EXPECT_EQ(SplitX, 500);
  EXPECT_EQ(ClientRect(kCtlResultList).left, 508);
  HWND list = Control(kCtlDriveList);
  SendMessageW(list, LVM_SETCOLUMNWIDTH, 1, 150);
  int order[8] = {1, 0, 2, 3, 4, 5, 6, 7};
  SendMessageW(list, LVM_SETCOLUMNORDERARRAY, 8, reinterpret_cast<LPARAM>(order));
  CloseWindow();

  const std::wstring ini = SettingsFilePath();
  EXPECT_EQ(platform::ReadIniString(ini, L"General", L"Language", L"", 16), L"fr");
  EXPECT_EQ(platform::ReadIniString(ini, L"Layout", L"SplitX", L"", 16), L"500");
  EXPECT_EQ(platform::ReadIniString(ini, L"DriveColumns", L"Order", L"", 64), L"1,0,2,3,4,5,6,7");

  ResetProgramValues();
  ASSERT_NE(OpenWindow(), nullptr);
  EXPECT_EQ(CurrentLanguage, kLanguageFrench);
  EXPECT_EQ(Text(kCtlDrivesLabel), TranslateIn(L"drives", kLanguageFrench));
  EXPECT_EQ(SendMessageW(Control(kCtlLanguageBox), CB_GETCURSEL, 0, 0), kLanguageFrench);
  RECT outer{};
  GetWindowRect(main_, &outer);
  EXPECT_EQ(outer.right - outer.left, 1100);
  EXPECT_EQ(outer.bottom - outer.top, 700);
  EXPECT_EQ(SplitX, 500);
  list = Control(kCtlDriveList);
  EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 1, 0), 150);
  int loaded[8] = {};
  SendMessageW(list, LVM_GETCOLUMNORDERARRAY, 8, reinterpret_cast<LPARAM>(loaded));
  EXPECT_EQ(loaded[0], 1);
  EXPECT_EQ(loaded[1], 0);
}

// A frame taller than the screen (912 pixels on a 900 one) is not kept: the next start would open
// past the screen's edge.
TEST_F(MainWindow, TheSavedSizeStaysInsideTheWorkArea) {
  ASSERT_NE(OpenWindow(), nullptr);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int workHeight = work.bottom - work.top;
  MoveWindow(main_, 0, 0, ScaleToDpi(900, Ui().dpi), workHeight + 12, TRUE);
  RECT outer{};
  GetWindowRect(main_, &outer);
  ASSERT_GT(outer.bottom - outer.top, workHeight) << "the system kept the window inside the screen";
  CloseWindow();
  const int saved = platform::ReadIniInt(SettingsFilePath(), L"Window", L"Height", 0);
  EXPECT_EQ(saved, UnscaleFromDpi(workHeight, Ui().dpi));
  EXPECT_EQ(platform::ReadIniInt(SettingsFilePath(), L"Window", L"Width", 0), 900);
}

// A short window lowers the lists only while it is short: the height the user gave them comes back.
TEST_F(MainWindow, TheListsGetTheirHeightBackWhenTheRoomReturns) {
  ASSERT_NE(OpenWindow(), nullptr);
  auto listHeight = [&] { return ClientRect(kCtlDriveList).bottom - ClientRect(kCtlDriveList).top; };
  RECT outer{};
  GetWindowRect(main_, &outer);
  const int tall = listHeight();
  EXPECT_EQ(tall, ScaleToDpi(kDefaultTopPaneHeight, Ui().dpi));
  Command(kIdSettingsToggle);
  MoveWindow(main_, 0, 0, ScaleToDpi(900, Ui().dpi), ScaleToDpi(600, Ui().dpi), TRUE);
  Pump();
  EXPECT_EQ(listHeight(), ScaleToDpi(100, Ui().dpi));
  MoveWindow(main_, 0, 0, outer.right - outer.left, outer.bottom - outer.top, TRUE);
  Command(kIdSettingsToggle);
  Pump();
  EXPECT_EQ(listHeight(), tall);
}

TEST_F(MainWindow, SwitchingTheLanguageRelabelsTheControls) {
  ASSERT_NE(OpenWindow(), nullptr);
  for (int language : {kLanguageEnglish, kLanguageSpanish, kLanguageGerman}) {
    Choose(kCtlLanguageBox, language);
    EXPECT_EQ(WindowText(main_), TranslateIn(L"app_title", language));
    EXPECT_EQ(Text(kCtlTestSizeLabel), TranslateIn(L"test_size", language));
    EXPECT_EQ(Text(kCtlMethodCheck), TranslateIn(L"benchmark", language));
    EXPECT_EQ(Text(kCtlStatusLine), TranslateIn(L"ready", language));
    wchar_t title[64] = {};
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = title;
    column.cchTextMax = 64;
    SendMessageW(Control(kCtlDriveList), LVM_GETCOLUMNW, 5, reinterpret_cast<LPARAM>(&column));
    EXPECT_EQ(std::wstring(title), TranslateIn(L"col_free_pct", language));
  }
  // Menus stay German in every language.
  EXPECT_EQ(MenuText(kIdStart), L"&Testen\tF5");
}

// A switch must leave no control behind: every text is what a window made in that language shows.
TEST_F(MainWindow, SwitchingTheLanguageLabelsLikeAWindowMadeInIt) {
  platform::WriteIniString(SettingsFilePath(), L"General", L"Language", L"en");
  ASSERT_NE(OpenWindow(), nullptr);
  std::vector<std::wstring> made(kControlCount + 1);
  for (int n = 1; n <= kControlCount; ++n) made[n] = Text(n);
  CloseWindow();
  ResetProgramValues();
  platform::WriteIniString(SettingsFilePath(), L"General", L"Language", L"de");
  ASSERT_NE(OpenWindow(), nullptr);
  ASSERT_EQ(Text(kCtlTestSizeLabel), TranslateIn(L"test_size", kLanguageGerman));
  Choose(kCtlLanguageBox, kLanguageEnglish);
  // The log keeps its lines; the selected-drive line keeps the drive row's words from when the
  // row was made.
  for (int n = 1; n <= kControlCount; ++n) {
    if (n != kCtlLogView && n != kCtlSelectedDrive) {
      EXPECT_EQ(Narrow(Text(n)), Narrow(made[n])) << "control " << n;
    }
  }
}

TEST_F(MainWindow, HintsFollowThePointerAndLogLinesArriveFromOtherThreads) {
  ASSERT_NE(OpenWindow(), nullptr);
  Command(kIdSettingsToggle);
  SendMessageW(Control(kCtlTestSizeField), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(Text(kCtlStatusLine),
            L"Gesamte Testmenge in MB. Für FAT32/SD-Karten sind kleinere Werte oft aussagekräftiger und sicherer.");
  SendMessageW(Control(kCtlTestSizeField), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(Text(kCtlStatusLine), L"Bereit");
  SendMessageW(Control(kCtlWorkerField), WM_SETFOCUS, 0, 0);
  EXPECT_EQ(Text(kCtlStatusLine), L"Anzahl paralleler Worker. Es bleibt immer mindestens ein CPU-Kern frei.");

  std::thread([] {
    for (int i = 0; i < 50; ++i) AppendDiagLog(L"Zeile " + std::to_wstring(i));
    PostStatusText(L"Status vom Test-Thread");
  }).join();
  Pump();
  const std::wstring log = Text(kCtlLogView);
  EXPECT_NE(log.find(L"Zeile 0\r\n"), std::wstring::npos);
  EXPECT_NE(log.find(L"Zeile 49\r\n"), std::wstring::npos);
  EXPECT_LT(log.find(L"Zeile 9\r\n"), log.find(L"Zeile 10\r\n"));
  EXPECT_EQ(Text(kCtlStatusLine), L"Status vom Test-Thread");
}

// A hint belongs to its control and its state: the idle window claims no field is locked, the
// space between the controls shows none, and the locked text comes with a run that locks.
TEST_F(MainWindow, HintsOnlyOverTheirControlAndInTheirState) {
  ASSERT_NE(OpenWindow(), nullptr);
  const std::wstring locked = TranslateIn(L"tooltip_common", kLanguageGerman);
  const auto pointerOver = [&](HWND over) {
    SendMessageW(main_, WM_SETCURSOR, reinterpret_cast<WPARAM>(over), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  };
  const auto hasTool = [&](HWND control) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = main_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    return SendMessageW(Ui().tooltip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
  };
  for (bool settings : {false, true}) {
    if (settings) Command(kIdSettingsToggle);
    for (int n = 1; n <= kControlCount; ++n) {
      EXPECT_EQ(GetControlHint(Control(n)).find(locked), std::wstring::npos) << n << " settings " << settings;
    }
  }
  // The splitters and the partial range's fields explain nothing of their own: no balloon, no status text.
  for (int n : {kCtlHorizontalBar, kCtlVerticalBar, kCtlPartialStartField, kCtlPartialRangeField}) {
    EXPECT_FALSE(hasTool(Control(n))) << n;
    pointerOver(Control(n));
    EXPECT_EQ(Text(kCtlStatusLine), L"Bereit") << n;
  }
  EXPECT_TRUE(hasTool(Control(kCtlStartButton)));
  pointerOver(Control(kCtlStartButton));
  EXPECT_EQ(Text(kCtlStatusLine), L"Test auf dem ausgewählten Laufwerk starten (F5).");
  SaveScreenshot(main_, L"hint-start.bmp");
  // Off the control, the hint goes; a status text of another kind stays.
  pointerOver(main_);
  EXPECT_EQ(Text(kCtlStatusLine), L"Bereit");
  SetText(kCtlStatusLine, L"Fehler: Export nicht geschrieben");
  pointerOver(main_);
  EXPECT_EQ(Text(kCtlStatusLine), L"Fehler: Export nicht geschrieben");

  // While a run has locked a field, that field's hint says so; an unlocked one does not.
  Ui().run = std::make_shared<TestState>();
  Ui().run->running = true;
  SetControlsEnabled(false);
  EXPECT_EQ(GetControlHint(Control(kCtlPartialStartField)), Text(kCtlPartialStartField) + L" - " + locked);
  Ui().run->running = false;
  SetControlsEnabled(true);
  EXPECT_EQ(GetControlHint(Control(kCtlPartialStartField)), L"");
}

// The saved tests are named by drive, name, start and verdict; the chosen file's name is the box's tooltip.
TEST_F(MainWindow, SavedTestsAreNamedByTheirRun) {
  ResultsFileHeader stick;
  stick.driveRoot = L"E:\\";
  stick.label = L"STICK";
  stick.freeBytes = 256ULL << 20;
  stick.reserveFree = 0;
  stick.startedAt = L"2026-12-11 05:32:36.500";
  std::vector<ResultRecord> rows = {SampleRows()[2]};
  rows[0].bytes = rows[0].writtenBytes = rows[0].verifiedBytes = 224ULL << 20;
  const std::wstring named = GetResultsFolder() + L"\\20261211-053236-E__-velkor.json";
  const std::wstring bare = GetResultsFolder() + L"\\20250101-100000-E.json";
  ASSERT_TRUE(SaveResultsFile(named, stick, rows, true));
  ASSERT_TRUE(SaveResultsFile(bare, ResultsFileHeader{}, rows, true));
  ASSERT_NE(OpenWindow(), nullptr);
  HWND box = Control(kCtlSavedTestsBox);
  const auto entry = [&](int index) {
    wchar_t text[256] = {};
    SendMessageW(box, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    return std::wstring(text);
  };
  ASSERT_EQ(SendMessageW(box, CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(entry(0), L"20250101-100000-E.json");  // names no drive
  EXPECT_EQ(entry(1), L"E:\\ STICK \u2013 2026-12-11 05:32 \u2013 IN ORDNUNG");
  Choose(kCtlSavedTestsBox, 1);
  EXPECT_EQ(Ui().currentResultsPath, named);
  EXPECT_EQ(GetControlHint(box), FixedHintForId(kIdSavedTests) + L"\r\n20261211-053236-E__-velkor.json");
  // The summary names the safety buffer the test left out.
  EXPECT_NE(Text(kCtlSummary).find(L"nicht getestet: 32.0 MB Sicherheitspuffer"), std::wstring::npos)
      << Narrow(Text(kCtlSummary));
  Command(kIdSettingsToggle);
  RedrawWindow(main_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump();
  SaveScreenshot(main_, L"saved-tests-named.bmp");
  // The open list shows each entry whole.
  SendMessageW(box, CB_SHOWDROPDOWN, TRUE, 0);
  Pump();
  RECT boxRect{};
  GetWindowRect(box, &boxRect);
  EXPECT_GT(SendMessageW(box, CB_GETDROPPEDWIDTH, 0, 0), boxRect.right - boxRect.left);
  SaveScreenshot(main_, L"saved-tests-open.bmp");
  SendMessageW(box, CB_SHOWDROPDOWN, FALSE, 0);
  // In the window's language, the choice kept.
  Choose(kCtlLanguageBox, kLanguageSpanish);
  EXPECT_EQ(entry(1), L"E:\\ STICK \u2013 2026-12-11 05:32 \u2013 CORRECTO");
  EXPECT_EQ(SendMessageW(box, CB_GETCURSEL, 0, 0), 1);
}

// A log far past the edit control's default 30,000 characters: every line arrives and the last
// one is in view.
TEST_F(MainWindow, LongLogsKeepShowingTheirLastLine) {
  ASSERT_NE(OpenWindow(), nullptr);
  std::thread([] {
    for (int i = 0; i < 2000; ++i) {
      AppendDiagLog(L"Zeile " + std::to_wstring(i) + L": Variante 3/12, Worker 4, Block 1024 KB, 64 MB geschrieben");
    }
  }).join();
  Pump();
  HWND log = Control(kCtlLogView);
  const std::wstring text = Text(kCtlLogView);
  EXPECT_GT(text.size(), 120000u);
  EXPECT_NE(text.find(L"] Zeile 0: "), std::wstring::npos);
  const std::wstring last = L"] Zeile 1999: Variante 3/12, Worker 4, Block 1024 KB, 64 MB geschrieben\r\n";
  ASSERT_GE(text.size(), last.size());
  EXPECT_EQ(text.substr(text.size() - last.size()), last);
  // The last line's first character lies inside the view.
  const int lines = static_cast<int>(SendMessageW(log, EM_GETLINECOUNT, 0, 0));
  const int start = static_cast<int>(SendMessageW(log, EM_LINEINDEX, lines - 2, 0));
  const LRESULT at = SendMessageW(log, EM_POSFROMCHAR, start, 0);
  RECT client{};
  GetClientRect(log, &client);
  const int y = static_cast<short>(HIWORD(at));
  EXPECT_GE(y, 0);
  EXPECT_LT(y, client.bottom);
}

// Tab and Shift+Tab, pressed as a user presses them, walk the shown and enabled controls in the
// order they are read; the disabled partial fields are skipped.
TEST_F(MainWindow, TabWalksTheControlsInReadingOrder) {
  ASSERT_NE(OpenWindow(), nullptr);
  Command(kIdSettingsToggle);
  SetForegroundWindow(main_);
  SetFocus(Control(kCtlDriveList));
  Pump();
  ASSERT_EQ(GetFocus(), Control(kCtlDriveList));
  const int order[] = {kCtlStartButton,  kCtlLanguageBox,  kCtlSavedTestsBox, kCtlExportBox,   kCtlResultList,  kCtlTestSizeField,
                       kCtlBlockField,   kCtlWorkerField,   kCtlReserveField, kCtlMethodCheck, kCtlFastestCheck,
                       kCtlProfileBox,   kCtlPartialCheck,  kCtlDeleteCheck, kCtlSummary,     kCtlLogView,
                       kCtlDriveList};
  for (int n : order) {
    PressKeys({VK_TAB});
    EXPECT_EQ(GetFocus(), Control(n)) << "after Tab, control " << n << " should have the focus";
  }
  PressKeys({VK_SHIFT, VK_TAB});
  EXPECT_EQ(GetFocus(), Control(kCtlLogView));
  PressKeys({VK_SHIFT, VK_TAB});
  EXPECT_EQ(GetFocus(), Control(kCtlSummary));
  // Esc with nothing running stops nothing and closes nothing.
  PressKeys({VK_ESCAPE});
  EXPECT_TRUE(IsWindow(main_));
  EXPECT_FALSE(Ui().run);
}

// Moved to a screen of 150 %: the font, the columns, the tips, the smallest size and the controls
// follow; the settings keep 96-DPI units; back at 100 % all is as before.
TEST_F(MainWindow, FollowsAMoveToAScreenOfAnotherDpi) {
  ASSERT_NE(OpenWindow(), nullptr);
  Command(kIdSettingsToggle);
  ASSERT_EQ(Ui().dpi, 96) << "this test starts on a 96-DPI screen";
  HWND drives = Control(kCtlDriveList);
  // Small enough that one and a half times it fits xvfb-run's 1280x1024 screen, large enough for
  // the smallest size at 150 %.
  SetWindowPos(main_, nullptr, 0, 0, 800, 620, SWP_NOZORDER | SWP_NOACTIVATE);
  RECT outer{};
  GetWindowRect(main_, &outer);
  const int width = outer.right - outer.left, height = outer.bottom - outer.top;
  auto fontHeight = [&] {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Control(kCtlLogView), WM_GETFONT, 0, 0)), sizeof(font), &font);
    return font.lfHeight;
  };
  auto minimum = [&] {
    MINMAXINFO info{};
    SendMessageW(main_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    return info.ptMinTrackSize;
  };
  EXPECT_EQ(fontHeight(), -12);
  EXPECT_EQ(SendMessageW(drives, LVM_GETCOLUMNWIDTH, 1, 0), 85);

  RECT proposed{outer.left, outer.top, outer.left + width * 3 / 2, outer.top + height * 3 / 2};
  SendMessageW(main_, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&proposed));
  Pump();
  EXPECT_EQ(Ui().dpi, 144);
  EXPECT_EQ(fontHeight(), -18);
  EXPECT_EQ(SendMessageW(drives, LVM_GETCOLUMNWIDTH, 1, 0), 128);
  EXPECT_EQ(SendMessageW(Control(kCtlResultList), LVM_GETCOLUMNWIDTH, 0, 0), 195);  // 130 at 96
  EXPECT_EQ(SendMessageW(Ui().tooltip, TTM_GETMAXTIPWIDTH, 0, 0), 630);
  EXPECT_EQ(minimum().x, 1140);
  EXPECT_EQ(minimum().y, 840);
  RECT now{};
  GetWindowRect(main_, &now);
  EXPECT_EQ(now.right - now.left, width * 3 / 2);
  EXPECT_EQ(now.bottom - now.top, height * 3 / 2);
  EXPECT_EQ(ClientRect(kCtlDriveList).left, 30);
  EXPECT_EQ(ClientRect(kCtlDriveList).top, 171);  // (82 + 32) * 1.5: so narrow, the saved tests have a row
  EXPECT_EQ(ClientRect(kCtlTestSizeField).left, 225);
  EXPECT_EQ(ClientRect(kCtlTestSizeField).bottom - ClientRect(kCtlTestSizeField).top, 36);
  EXPECT_EQ(ClientRect(kCtlPartialRangeField).right - ClientRect(kCtlPartialRangeField).left, 120);
  // Saved in 96-DPI units: the same numbers as on the first screen (the width below the smallest
  // one a settings file keeps, the height above it).
  SaveWindowSettings();
  EXPECT_NEAR(platform::ReadIniInt(SettingsFilePath(), L"Window", L"Height", 0), height, 1);
  EXPECT_EQ(platform::ReadIniInt(SettingsFilePath(), L"Window", L"Width", 0), std::max(kMinWindowWidth, width));
  EXPECT_EQ(platform::ReadIniString(SettingsFilePath(), L"DriveColumns", L"Widths", L"", 512), L"70,85,90,75,75,65,90,90");

  SendMessageW(main_, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&outer));
  Pump();
  EXPECT_EQ(fontHeight(), -12);
  EXPECT_EQ(SendMessageW(drives, LVM_GETCOLUMNWIDTH, 1, 0), 85);
  EXPECT_EQ(ClientRect(kCtlDriveList).left, 20);
  EXPECT_EQ(ClientRect(kCtlDriveList).top, 114);
  EXPECT_EQ(minimum().x, 760);
}

// Started on a screen of another DPI (tests/ui/dpi_wine.sh sets Wine's LogPixels and names it in
// VELKOR_EXPECT_DPI): the window opens as many times larger as the screen's scale, within the work
// area, and every control with it.
TEST_F(MainWindow, OpensAtTheScreensDpi) {
  const wchar_t* expected = _wgetenv(L"VELKOR_EXPECT_DPI");
  if (expected == nullptr) GTEST_SKIP() << "runs under tests/ui/dpi_wine.sh";
  const int dpi = _wtoi(expected);
  ASSERT_NE(OpenWindow(), nullptr);
  EXPECT_EQ(Ui().dpi, dpi);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const WindowRect place =
      PlaceMainWindow(kDefaultWindowWidth, kDefaultWindowHeight, work.left, work.top, work.right - work.left,
                      work.bottom - work.top, dpi);
  RECT outer{};
  GetWindowRect(main_, &outer);
  EXPECT_EQ(outer.right - outer.left, place.width);
  EXPECT_EQ(outer.bottom - outer.top, place.height);
  EXPECT_EQ(place.width, std::min<int>(ScaleToDpi(kDefaultWindowWidth, dpi), work.right - work.left));
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Control(kCtlLogView), WM_GETFONT, 0, 0)), sizeof(font), &font);
  EXPECT_EQ(font.lfHeight, ScaleToDpi(-12, dpi));
  EXPECT_EQ(ClientRect(kCtlDriveList).left, ScaleToDpi(20, dpi));
  EXPECT_EQ(ClientRect(kCtlDriveList).top, ScaleToDpi(42, dpi));
  EXPECT_EQ(ClientRect(kCtlSelectedDrive).bottom - ClientRect(kCtlSelectedDrive).top, ScaleToDpi(32, dpi));
  EXPECT_EQ(SendMessageW(Control(kCtlDriveList), LVM_GETCOLUMNWIDTH, 1, 0), ScaleToDpi(85, dpi));
  Command(kIdSettingsToggle);
  EXPECT_EQ(ClientRect(kCtlTestSizeField).left, ScaleToDpi(150, dpi));
  EXPECT_EQ(ClientRect(kCtlTestSizeField).right - ClientRect(kCtlTestSizeField).left, ScaleToDpi(80, dpi));
  // The window stays inside the work area and its status line inside the window, in every
  // language (the settings rows wrap differently), with the method test's row too.
  EXPECT_LE(outer.bottom - outer.top, work.bottom - work.top);
  RECT client{};
  GetClientRect(main_, &client);
  for (int language = 0; language < kLanguageCount; ++language) {
    Choose(kCtlLanguageBox, language);
    EXPECT_LE(ClientRect(kCtlStatusLine).bottom, client.bottom) << "language " << language;
    RedrawWindow(main_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
    SaveScreenshot(main_, L"dpi" + std::to_wstring(dpi) + L"-language-" + std::to_wstring(language) + L".bmp");
  }
  Command(kIdMethodToggle);
  EXPECT_LE(ClientRect(kCtlStatusLine).bottom, client.bottom) << "with the method test's row";
}

}  // namespace
}  // namespace velkor::testing
