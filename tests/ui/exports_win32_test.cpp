// Exports and the report through the window's real save dialog, and the help commands.
#include <gtest/gtest.h>

#include "common/version.h"
#include "pdf/help_files.h"
#include "platform/text.h"
#include "results/exports.h"
#include "results/result_report.h"
#include "tests/ui/window_driver.h"
#include "ui/commands.h"
#include "ui/report_window.h"
#include "view/control_numbers.h"

namespace velkor::testing {
namespace {

class Exports : public WindowTest {
 protected:
  void LoadRows() {
    std::vector<ResultRecord> rows(2);
    rows[0] = {L"Turbo (aggressiv)", 2, 1048576, 64 << 20, 80.5};
    rows[1] = {L"Zuverlässig (Volltest)", 1, 4194304, 256 << 20, 20.25};
    rows[1].verified = rows[1].recommended = true;
    Ui().currentResults = rows;
    Ui().currentVerdict = JudgeRun(rows, nullptr, RunFacts{});
  }
  static bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
};

// The table of a delimited export, from its heading row on.
std::string TablePart(const std::string& text) {
  const size_t at = text.find("\nArt des Zugriffs;");
  return at == std::string::npos ? text : text.substr(at);
}

TEST_F(Exports, EveryFormatThroughTheSaveDialog) {
  ASSERT_NE(OpenWindow(), nullptr);
  LoadRows();
  struct Case {
    int format;
    const char* starts;  // the file's first bytes
  } cases[] = {{0, "Zusammenfassung: "}, {1, "<html><head><meta charset=\"utf-8\"></head><body><pre>Zusammenfassung: "},
               {2, "Zusammenfassung: "}, {3, "Zusammenfassung: "}, {4, "{"}, {5, "%PDF-"}};
  for (const Case& c : cases) {
    const std::wstring path = folder_.File(L"export-" + std::to_wstring(c.format) + L"." + kExportFormats[c.format].extension);
    Choose(kCtlExportBox, c.format);
    Answerer().answers.push_back(SaveAs(path));
    Command(kIdExport);
    Pump();
    ASSERT_TRUE(Exists(path)) << c.format;
    const std::string bytes = ReadFileBytes(path);
    EXPECT_EQ(bytes.rfind(c.starts, 0), 0u) << c.format;
    if (c.format != 5) {
      ASSERT_TRUE(Exists(path));
      EXPECT_NE(bytes.find(platform::WideToUtf8(L"Zuverlässig (Volltest)")), std::string::npos) << c.format;
    }
    EXPECT_NE(Text(kCtlLogView).find(L"Export geschrieben: " + path), std::wstring::npos) << c.format;
  }
  const std::vector<SeenDialog> dialogs = Seen(L"Export speichern");
  EXPECT_EQ(dialogs.size(), 6u);
  // The CSV is the delimited table, after the verdict and the drive it names.
  const std::string csv = ReadFileBytes(folder_.File(L"export-0.csv"));
  EXPECT_NE(csv.find("\nErgebnis: "), std::string::npos) << csv;
  EXPECT_EQ(TablePart(csv), TablePart(platform::WideToUtf8(BuildDelimitedTable(Ui().currentResults, L';'))));
}

// Saving into a folder (of a stick, say) leaves the process's current folder where it was, so the
// process holds no folder of that drive open.
TEST_F(Exports, TheSaveDialogLeavesTheCurrentFolder) {
  ASSERT_NE(OpenWindow(), nullptr);
  LoadRows();
  const std::wstring elsewhere = folder_.File(L"stick");
  ASSERT_TRUE(CreateDirectoryW(elsewhere.c_str(), nullptr));
  wchar_t before[32768] = {};
  GetCurrentDirectoryW(32768, before);
  Answerer().answers.push_back(SaveAs(elsewhere + L"\\bericht.csv"));
  Command(kIdExport);
  Pump();
  ASSERT_TRUE(Exists(elsewhere + L"\\bericht.csv"));
  wchar_t after[32768] = {};
  GetCurrentDirectoryW(32768, after);
  EXPECT_EQ(std::wstring(after), std::wstring(before));
}

// An English window's CSV says "yes" and "no"; its headers and other words stay German.
TEST_F(Exports, TheWindowsLanguageGivesTheYesNoWord) {
  ASSERT_NE(OpenWindow(), nullptr);
  LoadRows();
  Choose(kCtlLanguageBox, kLanguageEnglish);
  const std::wstring path = folder_.File(L"english.csv");
  Choose(kCtlExportBox, kExportCsv);
  Answerer().answers.push_back(SaveAs(path));
  Command(kIdExport);
  Pump();
  const std::string csv = ReadFileBytes(path);
  const std::wstring header = L"\nArt des Zugriffs;Worker;Block KB;Größe MB;MB/s;Geprüft;Fehler;Ergebnis\n";
  EXPECT_NE(csv.find(platform::WideToUtf8(header)), std::string::npos) << csv;
  EXPECT_NE(csv.find(";64;80.50;no;0;"), std::string::npos) << csv;
  EXPECT_NE(csv.find(";256;20.25;yes;0;Empfehlung\n"), std::string::npos) << csv;
  EXPECT_EQ(TablePart(csv),
            TablePart(platform::WideToUtf8(BuildDelimitedTable(Ui().currentResults, L';', kLanguageEnglish))));
}

// The JSON export tells the run's settings, read from the results file the rows came from.
TEST_F(Exports, JsonExportCarriesTheSettingsOfTheLoadedRun) {
  ASSERT_NE(OpenWindow(), nullptr);
  ResultsFileHeader run;
  run.driveRoot = L"E:\\";
  run.fileSystem = L"exFAT";
  run.testSize = 67108864;
  run.reserveFree = 0;
  run.testPoints = 5;
  std::vector<ResultRecord> rows(1);
  rows[0] = {L"Quorvel-Modus (Volltest)", 4, 1048576, 64 << 20, 30.0};
  const std::wstring saved = folder_.File(L"results\\20250203-090500-E__-velkor.json");
  ASSERT_TRUE(SaveResultsFile(saved, run, rows, true));
  RefreshSavedTests(L"");
  Command(kIdSettingsToggle);
  Choose(kCtlSavedTestsBox, 0);
  ASSERT_EQ(Ui().currentResultsPath, saved);
  const std::wstring path = folder_.File(L"export.json");
  Choose(kCtlExportBox, 4);
  Answerer().answers.push_back(SaveAs(path));
  Command(kIdExport);
  Pump();
  const std::string json = ReadFileBytes(path);
  for (const char* line : {"  \"drive\": \"E:\\\\\",\n", "  \"fileSystem\": \"exFAT\",\n", "  \"testSizeBytes\": 67108864,\n",
                           "  \"reserveFreeBytes\": 0,\n", "  \"testPoints\": 5,\n", "  \"final\": true,\n"}) {
    EXPECT_NE(json.find(line), std::string::npos) << line << json;
  }
}

TEST_F(Exports, DialogAddsTheExtensionAndAsksBeforeOverwriting) {
  ASSERT_NE(OpenWindow(), nullptr);
  LoadRows();
  Choose(kCtlExportBox, kExportJson);
  Answerer().answers.push_back(SaveAs(folder_.File(L"bericht")));
  Command(kIdExport);
  ASSERT_TRUE(Exists(folder_.File(L"bericht.json")));

  WriteFileBytes(folder_.File(L"bericht.json"), "alt");
  Answerer().answers.push_back(SaveAs(folder_.File(L"bericht.json")));
  Answerer().answers.push_back(Press(IDNO));      // keep the old file
  Answerer().answers.push_back(Press(IDCANCEL));  // and leave the dialog
  Command(kIdExport);
  EXPECT_EQ(ReadFileBytes(folder_.File(L"bericht.json")), "alt");
  Answerer().answers.push_back(SaveAs(folder_.File(L"bericht.json")));
  Answerer().answers.push_back(Press(IDYES));
  Command(kIdExport);
  EXPECT_EQ(ReadFileBytes(folder_.File(L"bericht.json")).rfind("{", 0), 0u);
}

// The default view has no format box: the dialog's type decides, and a name that says another
// format gets that format, so a file never holds something other than its name says.
TEST_F(Exports, TheDialogsTypeAndTheNameDecideTheFormat) {
  ASSERT_NE(OpenWindow(), nullptr);
  ASSERT_FALSE(IsWindowVisible(Control(kCtlExportBox)));
  LoadRows();
  struct Case {
    const wchar_t* typed;
    int type;  // 1 CSV ... 6 PDF
    const wchar_t* written;
    const char* starts;
  } cases[] = {
      {L"typ", 6, L"typ.pdf", "%PDF-"},
      {L"myreport.pdf", 1, L"myreport.pdf", "%PDF-"},
      {L"tabelle.csv", 5, L"tabelle.csv", "Zusammenfassung: "},
      {L"bericht.daten", 5, L"bericht.daten.json", "{"},
  };
  for (const Case& c : cases) {
    int types = 0;
    Answerer().answers.push_back(SaveAsType(folder_.File(c.typed), c.type, &types));
    Command(kIdExport);
    Pump();
    EXPECT_EQ(types, 7) << Narrow(c.typed);  // six formats and "Alle Dateien"
    const std::wstring path = folder_.File(c.written);
    EXPECT_EQ(ReadFileBytes(path).rfind(c.starts, 0), 0u) << Narrow(c.typed);
    EXPECT_NE(Text(kCtlLogView).find(L"Export geschrieben: " + path), std::wstring::npos) << Narrow(c.typed);
  }
  // The format box remembers what was written last.
  EXPECT_EQ(ChoiceSelection(kCtlExportBox), static_cast<int>(kExportJson));

  // A corrected name that is taken is asked about before it is replaced.
  WriteFileBytes(folder_.File(L"bericht.daten.json"), "alt");
  Answerer().answers.push_back(SaveAsType(folder_.File(L"bericht.daten"), 5));
  Answerer().answers.push_back(Press(IDNO));
  Command(kIdExport);
  Pump();
  EXPECT_EQ(ReadFileBytes(folder_.File(L"bericht.daten.json")), "alt");
  EXPECT_EQ(Answerer().seen.back().text, folder_.File(L"bericht.daten.json") + L" gibt es schon. Ersetzen?");
}

TEST_F(Exports, EmptyListFailureAndCancelledDialog) {
  ASSERT_NE(OpenWindow(), nullptr);
  Command(kIdExport);
  ASSERT_EQ(Answerer().seen.size(), 1u);
  EXPECT_EQ(Answerer().seen[0].text, Translate(L"export_empty"));
  EXPECT_EQ(Answerer().seen[0].title, Translate(L"export_button"));

  LoadRows();
  Pump();
  const std::wstring logBefore = Text(kCtlLogView);
  Command(kIdExport);  // the dialog is cancelled: nothing written, nothing logged
  Pump();
  EXPECT_EQ(Text(kCtlLogView), logBefore);

  // A file another program holds open cannot be replaced: the warning box, no log line.
  const std::wstring busy = folder_.File(L"offen.csv");
  WriteFileBytes(busy, "alt");
  HANDLE held = CreateFileW(busy.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Answerer().answers.push_back(SaveAs(busy));
  Answerer().answers.push_back(Press(IDYES));  // replace it
  Answerer().answers.push_back(Press(IDOK));   // the warning
  Command(kIdExport);
  CloseHandle(held);
  Pump();
  bool warned = false;
  for (const SeenDialog& d : Answerer().seen) warned |= d.text == L"Export konnte nicht geschrieben werden.";
  EXPECT_TRUE(warned);
  EXPECT_EQ(Text(kCtlLogView).find(L"Export geschrieben"), std::wstring::npos);
}

TEST_F(Exports, ReportYesSavesTheShownReportWithoutItsQuestion) {
  ASSERT_NE(OpenWindow(), nullptr);
  LoadRows();
  const std::wstring path = folder_.File(L"bericht.txt");
  Answerer().answers.push_back(Press(IDYES));
  Answerer().answers.push_back(SaveAs(path));
  ShowResultReport(main_, Ui().currentResults);
  ASSERT_EQ(Seen(kResultReportCaption).size(), 1u);
  const std::wstring shown = Seen(kResultReportCaption)[0].text;
  const ResultReport report =
      BuildRunReport(Ui().currentResults, Ui().currentVerdict, nullptr, &Ui().currentHeader, kLanguageGerman);
  EXPECT_EQ(shown, ReportBoxText(report));
  // The file holds the report, not the box's question about saving it.
  EXPECT_EQ(ReadFileBytes(path), platform::WideToUtf8(report.body));
  EXPECT_EQ(ReadFileBytes(path).find("Ja = "), std::string::npos);
  Pump();
  EXPECT_NE(Text(kCtlLogView).find(L"Export geschrieben: " + path), std::wstring::npos);

  // No only closes; an empty list shows no report at all.
  Answerer().answers.push_back(Press(IDNO));
  ShowResultReport(main_, Ui().currentResults);
  ShowResultReport(main_, {});
  EXPECT_EQ(Seen(kResultReportCaption).size(), 2u);
}

TEST_F(Exports, HelpCommandWritesADeletedHelpFileAgain) {
  ASSERT_NE(OpenWindow(), nullptr);
  ASSERT_TRUE(Exists(HelpPdfPath()));
  ASSERT_TRUE(Exists(HelpHtmlPath()));
  DeleteFileW(HelpPdfPath().c_str());
  Command(kIdHelpPdf);
  EXPECT_TRUE(Exists(HelpPdfPath()));
  Pump();
  EXPECT_NE(Text(kCtlLogView).find(L"PDF-Hilfe geöffnet: " + HelpPdfPath()), std::wstring::npos);
}

TEST_F(Exports, AboutBoxShowsVersionBuildDateAndLicence) {
  ASSERT_NE(OpenWindow(), nullptr);
  wchar_t item[64] = {};
  GetMenuStringW(GetMenu(main_), kIdAbout, item, 64, MF_BYCOMMAND);
  EXPECT_EQ(std::wstring(item), TranslateIn(L"menu_about", kLanguageGerman));
  Answerer().answers.push_back(Press(IDOK));
  Command(kIdAbout);
  const std::vector<SeenDialog> boxes = Seen(L"Über Velkor");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].text.find(L"Velkor " VELKOR_VERSION_TEXT), std::wstring::npos);
  EXPECT_NE(boxes[0].text.find(L"Erstellt am "), std::wstring::npos);
  EXPECT_NE(boxes[0].text.find(L"Copyright (c) 2026 The Velkor authors"), std::wstring::npos);
}

}  // namespace
}  // namespace velkor::testing
