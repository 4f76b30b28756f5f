#include "results/exports.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <utility>
#include <string>
#include <vector>

#include "common/localization.h"
#include "platform/text.h"
#include "tests/support/pdf_tools.h"
#include "tests/support/temp_folder.h"

namespace velkor {
namespace {

using testing::ReadFileBytes;
using testing::TempFolder;
using testing::WriteFileBytes;

constexpr uint64_t kGiB = 1073741824;

ResultsFileHeader DriveHeader(const std::wstring& root) {
  ResultsFileHeader header;
  header.driveRoot = root;
  return header;
}

ResultRecord Record(const wchar_t* method, uint32_t workers, uint32_t blockSize, uint64_t bytes, double speed,
                    bool verified, uint64_t errors = 0, bool cancelled = false, bool recommended = false) {
  ResultRecord r;
  r.method = method;
  r.workers = workers;
  r.blockSize = blockSize;
  r.bytes = bytes;
  r.mbPerSecond = speed;
  r.seconds = 12.0;
  r.verified = verified;
  r.errors = errors;
  r.cancelled = cancelled;
  r.recommended = recommended;
  r.stopReason = cancelled ? StopReason::kUser : StopReason::kNone;
  // What a job that ran through did; a stopped one here did nothing.
  r.writtenBytes = cancelled || std::wstring(method).find(L"nur prüfen") != std::wstring::npos ? 0 : bytes;
  r.verifiedBytes = !cancelled && verified ? bytes : 0;
  return r;
}

// A verified, error-free full-test file of 1 GiB at 20 MB/s.
ResultRecord FullRow() { return Record(L"Zuverlässig (Volltest)", 2, 1048576, kGiB, 20.0, true); }

// A recommended and cancelled method-test variant of 999 KB whose method holds a semicolon.
ResultRecord AwkwardRow() { return Record(L"Turbo; schnell", 3, 65536, 1022976, 0.0, false, 0, true, true); }

const std::wstring kFullSummary =
    L"Zusammenfassung: geschrieben 1.0 GB, zurück gelesen/geprüft 1.0 GB, Fehler 0, Zuverlässigkeit 100.00%, "
    L"\u00D8 20.00 MB/s";

// Every test starts and ends in German, whatever a test switches to.
class Exports : public ::testing::Test {
 protected:
  void SetUp() override { CurrentLanguage = kLanguageGerman; }
  void TearDown() override { CurrentLanguage = kLanguageGerman; }
};

// "ja" and "nein" whatever the window shows, unless a language is asked for.
TEST_F(Exports, YesNoIsGermanUnlessALanguageIsAskedFor) {
  const struct {
    int language;
    const wchar_t* yes;
    const wchar_t* no;
  } cases[] = {{kLanguageGerman, L"ja", L"nein"},
               {kLanguageEnglish, L"yes", L"no"},
               {kLanguageFrench, L"oui", L"non"},
               {kLanguageSpanish, L"sí", L"no"}};
  for (const auto& c : cases) {
    CurrentLanguage = c.language;
    EXPECT_EQ(YesNoText(true), L"ja") << c.language;
    EXPECT_EQ(YesNoText(false), L"nein") << c.language;
    EXPECT_EQ(YesNoText(true, c.language), c.yes) << c.language;
    EXPECT_EQ(YesNoText(false, c.language), c.no) << c.language;
  }
}

TEST_F(Exports, DelimitedTables) {
  const std::wstring header = L"Art des Zugriffs;Worker;Block KB;Größe MB;MB/s;Geprüft;Fehler;Ergebnis\n";
  const struct {
    const char* what;
    int language;
    std::vector<ResultRecord> records;
    wchar_t separator;
    std::wstring expected;
  } cases[] = {
      {"CSV of one row", kLanguageGerman, {FullRow()}, L';',
       kFullSummary + L"\n\n" + header + L"Zuverlässig (Volltest);2;1024;1024;20.00;ja;0;OK\n"},
      {"semicolon in a method, below 1 MB, recommendation line with CR LF", kLanguageGerman, {AwkwardRow()}, L';',
       L"Zusammenfassung: geschrieben 0.0 B, zurück gelesen/geprüft 0.0 B, Fehler 0\r\n"
       L"Empfehlung: Turbo; schnell, Worker 3, Block 64 KB\n\n" +
           header + L"Turbo; schnell;3;64;0;0.00;nein;0;Empfehlung\n"},
      {"German byte for byte with an English window", kLanguageEnglish,
       {FullRow(), Record(L"Ausgeglichen", 1, 1048576, 5 * 1048576 + 1, 7.25, false, 4)}, L';',
       kFullSummary + L"\n\n" + header +
           L"Zuverlässig (Volltest);2;1024;1024;20.00;ja;0;OK\nAusgeglichen;1;1024;5;7.25;nein;4;Fehler\n"},
      {"Text pur: tab separator", kLanguageGerman, {FullRow()}, L'\t',
       kFullSummary +
           L"\n\nArt des Zugriffs\tWorker\tBlock KB\tGröße MB\tMB/s\tGeprüft\tFehler\tErgebnis\n"
           L"Zuverlässig (Volltest)\t2\t1024\t1024\t20.00\tja\t0\tOK\n"},
      {"empty list", kLanguageGerman, {}, L';', L"Zusammenfassung: Noch keine Ergebnisse.\n\n" + header},
  };
  for (const auto& c : cases) {
    CurrentLanguage = c.language;
    EXPECT_EQ(BuildDelimitedTable(c.records, c.separator), c.expected) << c.what;
  }
}

// The window's exports in its language: the yes/no word follows it, in its column's width; every
// other text stays German.
TEST_F(Exports, TablesInALanguageChangeOnlyTheYesNoWord) {
  const std::vector<ResultRecord> rows = {FullRow(), Record(L"Ausgeglichen", 1, 1048576, 5 * 1048576, 7.25, false, 4)};
  EXPECT_EQ(BuildDelimitedTable(rows, L';', kLanguageEnglish),
            kFullSummary +
                L"\n\nArt des Zugriffs;Worker;Block KB;Größe MB;MB/s;Geprüft;Fehler;Ergebnis\n"
                L"Zuverlässig (Volltest);2;1024;1024;20.00;yes;0;OK\nAusgeglichen;1;1024;5;7.25;no;4;Fehler\n");
  const struct {
    int language;
    const wchar_t* yes;
    const wchar_t* no;
  } cases[] = {{kLanguageEnglish, L"       yes", L"        no"},
               {kLanguageFrench, L"       oui", L"       non"},
               {kLanguageSpanish, L"        sí", L"        no"}};
  for (const auto& c : cases) {
    std::wstring expected = BuildFormattedTable(rows);
    expected.replace(expected.find(L"        ja       0  OK"), 10, c.yes);
    expected.replace(expected.find(L"      nein       4  Fehler"), 10, c.no);
    EXPECT_EQ(BuildFormattedTable(rows, c.language), expected) << c.language;
    EXPECT_NE(BuildXlsDocument(rows, c.language).find(std::wstring(c.yes) + L"       0  OK"), std::wstring::npos)
        << c.language;
  }
}

TEST_F(Exports, FormattedTableWidthsCountCharacters) {
  const std::vector<ResultRecord> records = {
      FullRow(),  // a method of exactly 22 characters, one of them an umlaut
      Record(L"Quorvel-Modus (nur prüfen) sehr lang", 16, 4194304, 1022976, 0.0, false, 1234567, true),
  };
  const std::wstring expected =
      L"Zusammenfassung: geschrieben 1.0 GB, zurück gelesen/geprüft 1.0 GB, Fehler 1234567, Zuverlässigkeit "
      L"0.00%, Prüfung unvollständig, \u00D8 20.00 MB/s\n\n"
      L"Art des Zugriffs        Worker     Block       Größe      MB/s   Geprüft  Fehler  Ergebnis\n" +
      std::wstring(96, L'-') +
      L"\n"
      L"Zuverlässig (Volltest)       2   1024 KB     1024 MB     20.00        ja       0  OK\n"
      L"Quorvel-Modus (nur prüfen) sehr lang      16   4096 KB        0 MB      0.00      nein 1234567  abgebrochen\n";
  EXPECT_EQ(BuildFormattedTable(records), expected);
}

TEST_F(Exports, XlsPageEscapesMarkupOfMethodTexts) {
  const std::vector<ResultRecord> records = {Record(L"<b>A&B</b> (Volltest)", 1, 1048576, kGiB, 20.0, true)};
  const std::wstring xls = BuildXlsDocument(records);
  const std::wstring head = L"<html><head><meta charset=\"utf-8\"></head><body><pre>";
  const std::wstring tail = L"</pre></body></html>";
  ASSERT_EQ(xls.rfind(head, 0), 0u);
  ASSERT_EQ(xls.substr(xls.size() - tail.size()), tail);
  const std::wstring body = xls.substr(head.size(), xls.size() - head.size() - tail.size());
  EXPECT_NE(body.find(L"&lt;b&gt;A&amp;B&lt;/b&gt; (Volltest)"), std::wstring::npos);
  EXPECT_EQ(body.find_first_of(L"<>"), std::wstring::npos);
  // Undoing the three escapes (the ampersand last) gives the formatted table back unchanged.
  std::wstring unescaped = body;
  for (const auto& [entity, plain] : {std::pair<std::wstring, std::wstring>{L"&lt;", L"<"}, {L"&gt;", L">"},
                                      {L"&amp;", L"&"}}) {
    for (size_t at = unescaped.find(entity); at != std::wstring::npos; at = unescaped.find(entity, at + 1)) {
      unescaped.replace(at, entity.size(), plain);
    }
  }
  EXPECT_EQ(unescaped, BuildFormattedTable(records));
}

TEST_F(Exports, FormatTableAndFileNames) {
  const char* names[] = {"CSV", "XLS", "Text pur", "Formatierter Text", "JSON", "PDF"};
  const char* extensions[] = {"csv", "xls", "txt", "txt", "json", "pdf"};
  for (uint32_t i = 0; i < kExportFormatCount; ++i) {
    EXPECT_EQ(platform::WideToUtf8(kExportFormats[i].name), names[i]);
    EXPECT_EQ(platform::WideToUtf8(kExportFormats[i].extension), extensions[i]);
  }
  platform::LocalTime t;
  t.year = 2025, t.month = 2, t.day = 3, t.hour = 9, t.minute = 5, t.second = 0, t.millisecond = 123;
  EXPECT_EQ(MakeExportFileName(kExportFormats[kExportCsv].extension, t), L"20250203-090500-velkor-export.csv");
  const std::wstring now = MakeExportFileName(L"pdf");
  EXPECT_EQ(now.size(), std::wstring(L"20250203-090500-velkor-export.pdf").size());
  EXPECT_EQ(now.substr(15), L"-velkor-export.pdf");

  const wchar_t textFilter[] = L"Textdatei (*.txt)\0*.txt\0Alle Dateien (*.*)\0*.*\0";
  EXPECT_EQ(ExportDialogFilter(kExportFormattedText), std::wstring(textFilter, std::size(textFilter)));
  const wchar_t csvFilter[] = L"CSV-Datei (*.csv)\0*.csv\0Alle Dateien (*.*)\0*.*\0";
  EXPECT_EQ(ExportDialogFilter(99), std::wstring(csvFilter, std::size(csvFilter)));
}

TEST_F(Exports, WriteExportWritesEachFormatAsUtf8WithoutBom) {
  TempFolder folder;
  const std::vector<ResultRecord> records = {FullRow(), AwkwardRow()};
  const struct {
    uint32_t format;
    std::wstring text;  // empty: checked below
  } cases[] = {
      {kExportCsv, BuildDelimitedTable(records, L';')},
      {kExportXls, BuildXlsDocument(records)},
      {kExportPlainText, BuildDelimitedTable(records, L'\t')},
      {kExportFormattedText, BuildFormattedTable(records)},
      {kExportJson, L""},
      {kExportPdf, L""},
  };
  for (const auto& c : cases) {
    const std::wstring path = folder.File(L"export." + std::wstring(kExportFormats[c.format].extension));
    WriteFileBytes(path, std::string(100000, 'x'));  // an older, longer file is replaced
    ASSERT_TRUE(WriteExport(c.format, path, records, DriveHeader(L"E:\\"))) << c.format;
    const std::string bytes = ReadFileBytes(path);
    if (!c.text.empty()) {
      EXPECT_EQ(bytes, platform::WideToUtf8(c.text)) << c.format;
    }
  }
  const std::string json = ReadFileBytes(folder.File(L"export.json"));
  EXPECT_NE(json.find("\n  \"final\": true,\n  \"drive\": \"E:\\\\\",\n  \"fileSystem\": \"\",\n"
                      "  \"testSizeBytes\": 1073741824,\n  \"reserveFreeBytes\": 1073741824,\n  \"testPoints\": 3,\n"),
            std::string::npos)
      << json;
  EXPECT_NE(json.find("{\"method\":\"Turbo; schnell\",\"workers\":3,\"blockKB\":64,"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(folder.File(L"export.pdf")).rfind("%PDF-1.4\n", 0), 0u);
  EXPECT_EQ(ReadFileBytes(folder.File(L"export.csv")).substr(0, 3), "Zus");  // no byte-order mark

  // The drive of the JSON document is empty when no drive is selected.
  ASSERT_TRUE(WriteExport(kExportJson, folder.File(L"nodrive.json"), records, DriveHeader(L"")));
  EXPECT_NE(ReadFileBytes(folder.File(L"nodrive.json")).find("\n  \"drive\": \"\",\n"), std::string::npos);
}

TEST_F(Exports, WriteExportFailures) {
  TempFolder folder;
  const std::wstring missing = folder.File(L"kein-ordner");
  for (uint32_t format = 0; format < kExportFormatCount; ++format) {
    EXPECT_FALSE(WriteExport(format, missing + L"/export.x", {FullRow()}, DriveHeader(L""))) << format;
  }
  const std::wstring path = folder.File(L"unknown.x");
  EXPECT_FALSE(WriteExport(kExportFormatCount, path, {FullRow()}, DriveHeader(L"")));
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(path)));
  EXPECT_FALSE(WriteResultsPdf(missing + L"/results.pdf", {FullRow()}));
}

// What the exports hand to other programs, read by real readers (natively; a Windows process
// has no python3 and no poppler).
bool HavePython() { return std::system("python3 -c \"\" > /dev/null 2>&1") == 0; }

TEST_F(Exports, PythonReadsCsvAndJson) {
  if (!HavePython()) GTEST_SKIP() << "no python3 here";
  TempFolder folder;
  const std::vector<ResultRecord> records = {FullRow(), AwkwardRow()};
  const std::wstring csv = folder.File(L"export.csv");
  const std::wstring json = folder.File(L"export.json");
  ASSERT_TRUE(WriteExport(kExportCsv, csv, records, DriveHeader(L"E:\\")));
  ASSERT_TRUE(WriteExport(kExportJson, json, records, DriveHeader(L"E:\\")));
  const std::wstring script = folder.File(L"check.py");
  const std::wstring output = folder.File(L"output.txt");
  WriteFileBytes(script, R"PY(
import csv, io, json, sys
with open(sys.argv[1], encoding="utf-8", newline="") as f:
    raw = f.read()
summary, rest = raw.split("\n\n", 1)
assert summary.endswith("\r\nEmpfehlung: Turbo; schnell, Worker 3, Block 64 KB"), repr(summary)
assert "\r" not in rest, repr(rest)
rows = list(csv.reader(io.StringIO(rest, newline=""), delimiter=";"))
assert rows[0] == ["Art des Zugriffs", "Worker", "Block KB", "Gr\u00f6\u00dfe MB", "MB/s", "Gepr\u00fcft",
                   "Fehler", "Ergebnis"], rows[0]
assert rows[1] == ["Zuverl\u00e4ssig (Volltest)", "2", "1024", "1024", "20.00", "ja", "0", "OK"], rows[1]
assert rows[2] == ["Turbo", " schnell", "3", "64", "0", "0.00", "nein", "0", "Empfehlung"], rows[2]
assert len(rows) == 3, rows
with open(sys.argv[2], encoding="utf-8") as f:
    d = json.load(f)
assert d["final"] is True and d["drive"] == "E:\\" and d["fileSystem"] == ""
assert d["testSizeBytes"] == 1073741824 and d["reserveFreeBytes"] == 1073741824 and d["testPoints"] == 3
assert [r["method"] for r in d["results"]] == ["Zuverl\u00e4ssig (Volltest)", "Turbo; schnell"]
assert d["results"][1]["result"] == "Empfehlung"
print("ok")
)PY");
  const std::string command = "python3 \"" + platform::WideToUtf8(script) + "\" \"" + platform::WideToUtf8(csv) +
                              "\" \"" + platform::WideToUtf8(json) + "\" > \"" + platform::WideToUtf8(output) +
                              "\" 2>&1";
  EXPECT_EQ(std::system(command.c_str()), 0) << ReadFileBytes(output);
  EXPECT_EQ(ReadFileBytes(output), "ok\n");
}

TEST_F(Exports, ResultsPdfShowsTheFirst37TableLines) {
  if (!testing::PdfToolsAvailable()) GTEST_SKIP() << "qpdf, pdfinfo or pdftotext not on this system";
  TempFolder folder;
  std::vector<ResultRecord> records;
  for (int i = 1; i <= 40; ++i) {
    const std::wstring number = (i < 10 ? L"0" : L"") + std::to_wstring(i);
    records.push_back(Record((L"Prüfung (Volltest) a\\b " + number).c_str(), 2, 1048576, kGiB, 20.0, true));
  }
  records[0].recommended = true;  // a two-line summary: its CR must not reach the page
  const std::wstring path = folder.File(L"results.pdf");
  ASSERT_TRUE(WriteExport(kExportPdf, path, records, DriveHeader(L"")));

  std::string output;
  EXPECT_TRUE(testing::QpdfCheck(path, &output)) << output;
  EXPECT_EQ(output.find("WARNING"), std::string::npos) << output;
  EXPECT_EQ(testing::PdfPageCount(path), 1);
  const std::string text = testing::PdfToText(path);
  // Title, summary (2 lines), empty line, header and rule leave 32 of the 37 lines for rows.
  for (const char* expected : {"Velkor Ergebnisse", "Zusammenfassung: geschrieben 40.0 GB",
                               "Empfehlung: Pr\xC3\xBC" "fung (Volltest) a\\b 01, Worker 2, Block 1024 KB",
                               "Gr\xC3\xB6\xC3\x9F" "e", "Pr\xC3\xBC" "fung (Volltest) a\\b 01",
                               "Pr\xC3\xBC" "fung (Volltest) a\\b 32"}) {
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
  }
  EXPECT_EQ(text.find("a\\b 33"), std::string::npos) << text;
  // In the page's monospaced font the columns line up: from the workers column to the speed
  // column a row spans as many characters as the header (the long method text only shifts both).
  const size_t headerStart = text.rfind('\n', text.find("Art des Zugriffs")) + 1;
  const size_t rowStart = text.rfind('\n', text.find("a\\b 01 ")) + 1;
  const std::string header = text.substr(headerStart, text.find('\n', headerStart) - headerStart);
  const std::string row = text.substr(rowStart, text.find('\n', rowStart) - rowStart);
  // Characters, not bytes: the umlauts take two bytes each in UTF-8.
  auto chars = [](const std::string& line, size_t bytes) {
    size_t n = 0;
    for (size_t i = 0; i < bytes && i < line.size(); ++i) n += (static_cast<unsigned char>(line[i]) & 0xC0) != 0x80;
    return n;
  };
  ASSERT_NE(header.find("MB/s"), std::string::npos) << header;
  ASSERT_NE(row.find("20.00"), std::string::npos) << row;
  EXPECT_EQ(chars(header, header.find("MB/s") + 4) - chars(header, header.find("Worker") + 6),
            chars(row, row.find("20.00") + 5) - chars(row, row.find(" 2 ") + 2)) << header << "\n" << row;
}

}  // namespace
}  // namespace velkor
