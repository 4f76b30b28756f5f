#include "results/results_database.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cstdlib>
#include <regex>

#include "common/paths.h"
#include "common/version.h"
#include "pdf/file_writers.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/text.h"
#include "results/evidence.h"
#include "tests/support/temp_folder.h"

namespace velkor {
namespace {

using testing::ReadFileBytes;
using testing::TempFolder;
using testing::WriteFileBytes;

ResultsFileHeader DriveE() {
  ResultsFileHeader c;
  c.driveRoot = L"E:\\";
  c.fileSystem = L"FAT32";
  c.testSize = 8589934592;
  c.reserveFree = 33554432;
  c.testPoints = 3;
  return c;
}

ResultRecord TurboExample() {
  ResultRecord r;
  r.method = L"Turbo (aggressiv)";
  r.workers = 2;
  r.blockSize = 1048576;
  r.bytes = 268435456;
  r.mbPerSecond = 41.27;
  r.seconds = 12.41;
  r.verified = true;
  r.recommended = true;
  r.writtenBytes = r.bytes;
  r.verifiedBytes = r.bytes;
  return r;
}

// Everything a text field may hold that JSON escaping has to carry.
const std::wstring kAwkward = L"Zuverlässig (Volltest)\t\"zitiert\" C:\\pfad\\\r\nzweite Zeile {x} [y] \u2713 \U0001F600";

ResultRecord AwkwardRecord() {
  ResultRecord r;
  r.method = kAwkward;
  r.workers = 3;
  r.blockSize = 4194304;
  r.bytes = 1073741824;
  r.mbPerSecond = 20.5;
  r.seconds = 52.3;
  r.verified = true;
  r.errors = 0;
  r.cancelled = true;
  r.stopReason = StopReason::kDriveGone;
  r.writtenBytes = 123456789;
  r.verifiedBytes = 1048576;
  return r;
}

std::vector<std::wstring> Lines(const std::wstring& text) {
  std::vector<std::wstring> lines;
  size_t start = 0;
  for (size_t end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  EXPECT_EQ(start, text.size()) << "text does not end with a line feed";
  return lines;
}

void ExpectSameRecords(const std::vector<ResultRecord>& a, const std::vector<ResultRecord>& b) {
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(a[i].method, b[i].method);
    EXPECT_EQ(a[i].workers, b[i].workers);
    EXPECT_EQ(a[i].blockSize, b[i].blockSize);
    EXPECT_EQ(a[i].bytes, b[i].bytes);
    EXPECT_EQ(a[i].mbPerSecond, b[i].mbPerSecond);
    EXPECT_EQ(a[i].seconds, b[i].seconds);
    EXPECT_EQ(a[i].errors, b[i].errors);
    EXPECT_EQ(a[i].verified, b[i].verified);
    EXPECT_EQ(a[i].cancelled, b[i].cancelled);
    EXPECT_EQ(a[i].recommended, b[i].recommended);
    EXPECT_EQ(a[i].writtenBytes, b[i].writtenBytes);
    EXPECT_EQ(a[i].verifiedBytes, b[i].verifiedBytes);
    EXPECT_EQ(a[i].stopReason, b[i].stopReason);
  }
}

TEST(ResultsJson, ExactLineLayout) {
  ResultRecord failed;
  failed.method = L"Ausgeglichen (Volltest)";
  failed.workers = 4;
  failed.blockSize = 4096;
  failed.bytes = 1073741824;
  failed.seconds = 100.005;
  failed.errors = 17;
  failed.writtenBytes = 1073741824;
  failed.verifiedBytes = 536870912;
  failed.stopReason = StopReason::kErrorLimit;
  const std::wstring text = BuildResultsJson(DriveE(), {TurboExample(), failed}, true);
  const std::vector<std::wstring> lines = Lines(text);
  ASSERT_EQ(lines.size(), 22u);
  EXPECT_EQ(lines[0], L"{");
  EXPECT_EQ(lines[1], L"  \"schema\": \"velkor-results-v1\",");
  EXPECT_TRUE(std::regex_match(lines[2], std::wregex(LR"(  "writtenAt": "\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}",)")))
      << lines[2];
  EXPECT_EQ(lines[3], L"  \"final\": true,");
  EXPECT_EQ(lines[4], L"  \"drive\": \"E:\\\\\",");
  EXPECT_EQ(lines[5], L"  \"fileSystem\": \"FAT32\",");
  EXPECT_EQ(lines[6], L"  \"testSizeBytes\": 8589934592,");
  EXPECT_EQ(lines[7], L"  \"reserveFreeBytes\": 33554432,");
  EXPECT_EQ(lines[8], L"  \"testPoints\": 3,");
  EXPECT_EQ(lines[9], L"  \"summaryText\": \"Zusammenfassung: geschrieben 1.0 GB, zurück gelesen/geprüft 512.0 MB, "
                      L"Fehler 17, Zuverlässigkeit 0.00%, Prüfung unvollständig, \u00D8 15.36 MB/s\",");
  // Keys added later follow the first ones, so a reader of the older layout finds its lines in place.
  EXPECT_EQ(lines[10], L"  \"programVersion\": \"" VELKOR_VERSION_TEXT L"\",");
  // The run's evidence and how it ended; then the records, and the verdict last.
  EXPECT_EQ(lines[11], L"  \"label\": \"\",");
  EXPECT_EQ(lines[12], L"  \"capacityBytes\": 0,");
  EXPECT_EQ(lines[13], L"  \"freeBytes\": 0,");
  EXPECT_EQ(lines[14], L"  \"startedAt\": \"\",");
  EXPECT_EQ(lines[15], L"  \"stopReason\": \"none\",");
  EXPECT_EQ(lines[16], L"  \"results\": [");
  EXPECT_EQ(lines[17], L"    {\"method\":\"Turbo (aggressiv)\",\"workers\":2,\"blockKB\":1024,\"bytes\":268435456,"
                       L"\"mbPerSecond\":41.27,\"seconds\":12.41,\"verified\":true,\"errors\":0,"
                       L"\"cancelled\":false,\"recommended\":true,\"result\":\"Empfehlung\","
                       L"\"writtenBytes\":268435456,\"verifiedBytes\":268435456,\"stopReason\":\"none\"},");
  EXPECT_EQ(lines[18], L"    {\"method\":\"Ausgeglichen (Volltest)\",\"workers\":4,\"blockKB\":4,\"bytes\":1073741824,"
                       L"\"mbPerSecond\":0.00,\"seconds\":100.00,\"verified\":false,\"errors\":17,"
                       L"\"cancelled\":false,\"recommended\":false,\"result\":\"Fehler\","
                       L"\"writtenBytes\":1073741824,\"verifiedBytes\":536870912,\"stopReason\":\"errorLimit\"}");
  EXPECT_EQ(lines[19], L"  ],");
  EXPECT_EQ(lines[20], L"  \"verdict\": \"failed\"");
  EXPECT_EQ(lines[21], L"}");
  EXPECT_EQ(text.find(L'\r'), std::wstring::npos);
  EXPECT_EQ(text.find(L" \n"), std::wstring::npos);
}

TEST(ResultsJson, EmptyListAndNotFinal) {
  ResultsFileHeader c = DriveE();
  c.driveRoot = L"/mnt/stick";
  const std::vector<std::wstring> lines = Lines(BuildResultsJson(c, {}, false));
  ASSERT_EQ(lines.size(), 20u);
  EXPECT_EQ(lines[3], L"  \"final\": false,");
  EXPECT_EQ(lines[4], L"  \"drive\": \"/mnt/stick\",");
  EXPECT_EQ(lines[9], L"  \"summaryText\": \"Zusammenfassung: Noch keine Ergebnisse.\",");
  EXPECT_EQ(lines[16], L"  \"results\": [");
  EXPECT_EQ(lines[17], L"  ],");
  EXPECT_EQ(lines[18], L"  \"verdict\": \"unfinished\"");
  EXPECT_EQ(lines[19], L"}");
}

TEST(ResultsJson, NumbersThatCannotBePrintedAreWrittenAsZero) {
  ResultRecord r = TurboExample();
  r.mbPerSecond = std::numeric_limits<double>::infinity();
  r.seconds = std::numeric_limits<double>::quiet_NaN();
  const std::wstring text = BuildResultsJson(DriveE(), {r}, true);
  EXPECT_NE(text.find(L"\"mbPerSecond\":0.00,\"seconds\":0.00,"), std::wstring::npos);
}

TEST(ResultsFile, RoundTripKeepsEveryCharacter) {
  TempFolder folder;
  const std::wstring path = folder.File(L"20250203-090500-E__-velkor.json");
  ResultsFileHeader c = DriveE();
  c.fileSystem = kAwkward;
  const std::vector<ResultRecord> records = {TurboExample(), AwkwardRecord()};
  ASSERT_TRUE(SaveResultsFile(path, c, records, true));

  const std::string bytes = ReadFileBytes(path);
  EXPECT_NE(bytes.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_NE(bytes.find("Zuverl\xC3\xA4ssig"), std::string::npos);  // UTF-8, not \u escapes
  EXPECT_NE(bytes.find("\xF0\x9F\x98\x80"), std::string::npos);

  std::vector<ResultRecord> loaded = {ResultRecord{}};
  ASSERT_TRUE(LoadResultsFile(path, &loaded));
  ExpectSameRecords(loaded, records);
}

// python3's json module must accept the files; natively only (a Windows process has no python3).
TEST(ResultsFile, PythonJsonReadsIt) {
  if (std::system("python3 -c \"\" > /dev/null 2>&1") != 0) GTEST_SKIP() << "no python3 here";
  TempFolder folder;
  const std::wstring json = folder.File(L"results.json");
  const std::wstring script = folder.File(L"check.py");
  const std::wstring output = folder.File(L"output.txt");
  ASSERT_TRUE(SaveResultsFile(json, DriveE(), {TurboExample(), AwkwardRecord()}, true));
  WriteFileBytes(script, R"PY(
import json, re, sys
with open(sys.argv[1], encoding="utf-8") as f:
    d = json.load(f)
assert list(d) == ["schema", "writtenAt", "final", "drive", "fileSystem", "testSizeBytes",
                   "reserveFreeBytes", "testPoints", "summaryText", "programVersion", "label", "capacityBytes",
                   "freeBytes", "startedAt", "stopReason", "results", "verdict"], list(d)
assert d["verdict"] == "unfinished", d["verdict"]  # a drive that went away is not the medium's fault
assert d["schema"] == "velkor-results-v1"
assert re.fullmatch(r"\d+\.\d+\.\d+", d["programVersion"]), d["programVersion"]
assert d["final"] is True
assert d["drive"] == "E:\\"
assert d["testSizeBytes"] == 8589934592 and d["reserveFreeBytes"] == 33554432 and d["testPoints"] == 3
assert d["summaryText"].endswith("\r\nEmpfehlung: Turbo (aggressiv), Worker 2, Block 1024 KB"), d["summaryText"]
r = d["results"]
assert len(r) == 2
assert list(r[0]) == ["method", "workers", "blockKB", "bytes", "mbPerSecond", "seconds", "verified",
                      "errors", "cancelled", "recommended", "result", "writtenBytes", "verifiedBytes",
                      "stopReason"], list(r[0])
assert r[1]["stopReason"] == "driveGone" and r[1]["writtenBytes"] == 123456789
assert r[0]["mbPerSecond"] == 41.27 and r[0]["seconds"] == 12.41 and r[0]["recommended"] is True
assert r[0]["result"] == "Empfehlung"
assert r[1]["method"] == "Zuverl\u00e4ssig (Volltest)\t\"zitiert\" C:\\pfad\\\r\nzweite Zeile {x} [y] \u2713 \U0001F600", repr(r[1]["method"])
assert r[1]["blockKB"] == 4096 and r[1]["bytes"] == 1073741824 and r[1]["cancelled"] is True
assert r[1]["result"] == "abgebrochen"
print("ok")
)PY");
  const std::string command = "python3 \"" + platform::WideToUtf8(script) + "\" \"" + platform::WideToUtf8(json) +
                              "\" > \"" + platform::WideToUtf8(output) + "\" 2>&1";
  const int status = std::system(command.c_str());
  EXPECT_EQ(status, 0) << ReadFileBytes(output);
  EXPECT_EQ(ReadFileBytes(output), "ok\n");
}

TEST(ResultsFile, MalformedTextsLoadCleanly) {
  const struct {
    const char* what;
    const wchar_t* text;
    bool ok;
    std::vector<std::wstring> methods;
  } cases[] = {
      {"no results key", LR"({"schema": "velkor-results-v1"})", false, {}},
      {"results key without array", LR"({"results": 5})", true, {}},
      {"empty array", L"{\n  \"results\": [\n  ]\n}\n", true, {}},
      {"object without method", LR"("results": [{"workers":2},{"method":"B"}])", true, {L"B"}},
      {"empty method", LR"("results": [{"method":"","workers":2}])", true, {}},
      {"unterminated last object", LR"("results": [{"method":"A"},{"method":"B","workers":)", true, {L"A"}},
      {"unterminated string", LR"("results": [{"method":"A\"}, {"method":"B"}])", true, {}},
      {"brace inside a method", LR"("results": [{"method":"A}B","workers":3}])", true, {L"A}B"}},
      {"summary mentions results", L"\"summaryText\": \"\\\"results\\\" [{\\\"method\\\":\\\"X\\\"}]\",\n"
                                   L"\"results\": [{\"method\":\"Y\"}]", true, {L"Y"}},
      {"key order and spacing ignored", LR"(garbage "results"  :  [ {"workers":1,"method":"M"} ] trailing {)",
       true, {L"M"}},
      {"byte-order mark", L"\uFEFF{\"results\": [{\"method\":\"A\"}]}", true, {L"A"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<ResultRecord> records = {TurboExample()};
    EXPECT_EQ(ParseResultsText(c.text, &records), c.ok);
    if (!c.ok) {
      ASSERT_EQ(records.size(), 1u);  // untouched on failure
      EXPECT_EQ(records[0].method, L"Turbo (aggressiv)");
      continue;
    }
    std::vector<std::wstring> methods;
    for (const ResultRecord& r : records) methods.push_back(r.method);
    EXPECT_EQ(methods, c.methods);
  }
}

// A file written before the program version became a key loads as it did.
// The JSON export takes the run's settings from the file its rows came from.
TEST(ResultsFile, HeaderReadsBackWhatTheRunWrote) {
  ResultsFileHeader written;
  written.driveRoot = L"E:\\";
  written.fileSystem = L"exFAT \"neu\"";
  written.testSize = 67108864;
  written.reserveFree = 0;
  written.testPoints = 5;
  ResultsFileHeader read;
  read.testSize = 1;
  ASSERT_TRUE(ParseResultsHeader(BuildResultsJson(written, {}, true), &read));
  EXPECT_EQ(read.driveRoot, L"E:\\");
  EXPECT_EQ(read.fileSystem, L"exFAT \"neu\"");
  EXPECT_EQ(read.testSize, 67108864u);
  EXPECT_EQ(read.reserveFree, 0u);
  EXPECT_EQ(read.testPoints, 5u);
  // The evidence keeps what it holds, also where a value looks like the file's own words.
  for (const wchar_t* value : {L"results", L"/media/a\": b", L"x\":", L"\"results\": [", L"  \"label\": y"}) {
    written.label = written.startedAt = written.driveRoot = value;
    written.capacityBytes = 4000000000;
    written.freeBytes = 3000000000;
    written.stopReason = StopReason::kDriveGone;
    ASSERT_TRUE(ParseResultsHeader(BuildResultsJson(written, {}, true), &read));
    EXPECT_EQ(read.label, value);
    EXPECT_EQ(read.startedAt, value);
    EXPECT_EQ(read.driveRoot, value);
    EXPECT_EQ(read.capacityBytes, 4000000000u);
    EXPECT_EQ(read.freeBytes, 3000000000u);
    EXPECT_EQ(read.stopReason, StopReason::kDriveGone);
  }
  // A record's text cannot pose as the header, and a text without one leaves it untouched.
  ResultsFileHeader kept;
  kept.driveRoot = L"X";
  EXPECT_FALSE(ParseResultsHeader(L"{\"results\": [{\"drive\":\"F:\\\\\"}]}", &kept));
  EXPECT_FALSE(ParseResultsHeader(L"", &kept));
  EXPECT_EQ(kept.driveRoot, L"X");
}

// A saved run is named by its drive, name, start and verdict; a file that cannot say so by its name.
TEST(SavedRunTitle, DriveNameStartAndVerdict) {
  TempFolder folder;
  ResultRecord full;
  full.method = L"Quorvel-Modus (Volltest)";
  full.bytes = full.writtenBytes = full.verifiedBytes = 224ULL << 20;
  full.verified = true;
  ResultsFileHeader header;
  header.driveRoot = L"E:\\";
  header.label = L"STICK";
  header.freeBytes = 256ULL << 20;
  header.startedAt = L"2026-12-11 05:32:36.123";
  const std::wstring good = folder.File(L"20261211-053236-E__-velkor.json");
  ASSERT_TRUE(SaveResultsFile(good, header, {full}, true));
  EXPECT_EQ(SavedRunTitle(good, kLanguageGerman), L"E:\\ STICK \u2013 2026-12-11 05:32 \u2013 IN ORDNUNG");
  EXPECT_EQ(SavedRunTitle(good, kLanguageEnglish), L"E:\\ STICK \u2013 2026-12-11 05:32 \u2013 OK");

  ResultRecord fake = full;
  fake.errors = 92;
  header.label.clear();
  header.startedAt.clear();  // a file from before the start time was kept
  const std::wstring bad = folder.File(L"20250101-100000-F__-velkor.json");
  ASSERT_TRUE(SaveResultsFile(bad, header, {fake}, true));
  EXPECT_EQ(SavedRunTitle(bad, kLanguageGerman), L"E:\\ \u2013 FEHLER GEFUNDEN");

  const std::wstring foreign = folder.File(L"settings.json");
  WriteFileBytes(foreign, "{\"name\": 1}");
  EXPECT_EQ(SavedRunTitle(foreign, kLanguageGerman), L"settings.json");
  EXPECT_EQ(SavedRunTitle(folder.File(L"gone.json"), kLanguageGerman), L"gone.json");
}

TEST(ResultsFile, FileWithoutProgramVersionLoads) {
  const std::wstring older =
      L"{\n  \"schema\": \"velkor-results-v1\",\n  \"writtenAt\": \"2026-01-05 10:00:00.000\",\n"
      L"  \"final\": true,\n  \"drive\": \"E:\\\\\",\n  \"fileSystem\": \"FAT32\",\n"
      L"  \"testSizeBytes\": 8589934592,\n  \"reserveFreeBytes\": 33554432,\n  \"testPoints\": 3,\n"
      L"  \"summaryText\": \"x\",\n  \"results\": [\n"
      L"    {\"method\":\"Turbo (aggressiv)\",\"workers\":2,\"blockKB\":1024,\"bytes\":268435456,"
      L"\"mbPerSecond\":41.27,\"seconds\":12.41,\"verified\":true,\"errors\":0,"
      L"\"cancelled\":false,\"recommended\":true,\"result\":\"Empfehlung\"}\n  ]\n}\n";
  std::vector<ResultRecord> records;
  ASSERT_TRUE(ParseResultsText(older, &records));
  ExpectSameRecords(records, {TurboExample()});
}

TEST(ResultsFile, MissingKeysReadAsZeroNotAsDefaults) {
  std::vector<ResultRecord> records;
  ASSERT_TRUE(ParseResultsText(LR"("results": [{"method":"nur Methode","mbPerSecond":x}])", &records));
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].workers, 0u);
  EXPECT_EQ(records[0].blockSize, 0u);
  EXPECT_EQ(records[0].bytes, 0u);
  EXPECT_EQ(records[0].mbPerSecond, 0.0);
  EXPECT_FALSE(records[0].verified);
  // blockKB times 1024 is cut to 32 bits.
  ASSERT_TRUE(ParseResultsText(LR"("results": [{"method":"m","blockKB":4194305,"workers":4294967297}])", &records));
  EXPECT_EQ(records[0].blockSize, 1024u);
  EXPECT_EQ(records[0].workers, 1u);
}

// Files written before the amounts done and the stop reason were kept: a record that ran through
// did what it planned; a stopped one claimed its plan as written and verified, which cannot stand.
TEST(ResultsFile, OlderFilesLoadWithWhatTheyCanProve) {
  std::vector<ResultRecord> records;
  ASSERT_TRUE(ParseResultsText(
      LR"J("results": [
    {"method":"Zuverlässig (Volltest)","workers":4,"blockKB":1024,"bytes":2097152000,"mbPerSecond":0.00,"seconds":9.10,"verified":true,"errors":0,"cancelled":true,"recommended":false,"result":"abgebrochen"},
    {"method":"Zuverlässig (Volltest)","workers":4,"blockKB":1024,"bytes":1048576,"mbPerSecond":9.00,"seconds":1.00,"verified":true,"errors":0,"cancelled":false,"recommended":false,"result":"OK"},
    {"method":"Zuverlässig (nur prüfen)","workers":4,"blockKB":1024,"bytes":1048576,"mbPerSecond":0.00,"seconds":1.00,"verified":true,"errors":3,"cancelled":false,"recommended":false,"result":"Fehler"}
  ])J",
      &records));
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].stopReason, StopReason::kUser);
  EXPECT_FALSE(records[0].verified);
  EXPECT_EQ(records[0].writtenBytes, 0u);
  EXPECT_EQ(records[0].verifiedBytes, 0u);
  EXPECT_EQ(records[1].stopReason, StopReason::kNone);
  EXPECT_TRUE(records[1].verified);
  EXPECT_EQ(records[1].writtenBytes, 1048576u);
  EXPECT_EQ(records[1].verifiedBytes, 1048576u);
  EXPECT_EQ(records[2].writtenBytes, 0u);
  EXPECT_EQ(records[2].verifiedBytes, 1048576u);
  EXPECT_EQ(BuildResultSummary(records),
            L"Zusammenfassung: geschrieben 1.0 MB, zurück gelesen/geprüft 2.0 MB, Fehler 3, Zuverlässigkeit 0.00%, "
            L"Prüfung unvollständig, \u00D8 9.00 MB/s");
}

TEST(ResultsFile, AnyPrefixOrDamageOfAFileIsSafe) {
  const std::wstring text = BuildResultsJson(DriveE(), {TurboExample(), AwkwardRecord(), TurboExample()}, true);
  std::vector<ResultRecord> records;
  size_t complete = 0;
  for (size_t n = 0; n <= text.size(); ++n) {
    if (ParseResultsText(text.substr(0, n), &records)) complete = std::max(complete, records.size());
  }
  EXPECT_EQ(complete, 3u);
  // Damage: every position replaced by each of the characters the scanner cares about.
  for (size_t i = 0; i < text.size(); i += 3) {
    for (const wchar_t c : {L'"', L'\\', L'{', L'}', L'[', L':', L'\0'}) {
      std::wstring damaged = text;
      damaged[i] = c;
      ParseResultsText(damaged, &records);
      EXPECT_LE(records.size(), 4u);
    }
  }
}

TEST(ResultsFile, FilesThatCannotBeLoaded) {
  TempFolder folder;
  std::vector<ResultRecord> records = {TurboExample()};
  EXPECT_FALSE(LoadResultsFile(folder.File(L"missing.json"), &records));
  WriteFileBytes(folder.File(L"empty.json"), "");
  EXPECT_FALSE(LoadResultsFile(folder.File(L"empty.json"), &records));
  WriteFileBytes(folder.File(L"other.json"), "{\"name\": \"not ours\"}\n");
  EXPECT_FALSE(LoadResultsFile(folder.File(L"other.json"), &records));
  EXPECT_FALSE(LoadResultsFile(folder.path(), &records));  // a folder
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].method, L"Turbo (aggressiv)");

  // Malformed UTF-8 becomes U+FFFD and still loads.
  WriteFileBytes(folder.File(L"bad-utf8.json"), "{\"results\": [{\"method\":\"A\xFF\xC3\"}]}");
  ASSERT_TRUE(LoadResultsFile(folder.File(L"bad-utf8.json"), &records));
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].method, L"A\uFFFD\uFFFD");
}

// A sparse file of the given size whose last bytes close a valid results text.
void WriteSparseResults(const std::wstring& path, uint64_t size) {
  const std::string tail = "\"results\": [{\"method\":\"Ende\"}]";
  WriteFileBytes(path, "");
  platform::FileHandle file = platform::OpenFileForWrite(path, false);
  ASSERT_TRUE(file.valid());
  uint32_t done = 0;
  ASSERT_TRUE(platform::WriteFileAt(file, size - tail.size(), tail.data(), static_cast<uint32_t>(tail.size()), &done));
  platform::CloseFile(file);
}

TEST(ResultsFile, SixtyFourMebibytesAtMost) {
  TempFolder folder;
  std::wstring text;
  WriteSparseResults(folder.File(L"too-large.json"), kMaxResultsFileBytes + 1);
  EXPECT_FALSE(ReadUtf8TextFile(folder.File(L"too-large.json"), &text));
  platform::DeleteFileAtPath(folder.File(L"too-large.json"));

  WriteSparseResults(folder.File(L"largest.json"), kMaxResultsFileBytes);
  std::vector<ResultRecord> records;
  ASSERT_TRUE(LoadResultsFile(folder.File(L"largest.json"), &records));
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].method, L"Ende");
}

TEST(ResultsFile, SaveNeedsAPathAndAFolder) {
  TempFolder folder;
  EXPECT_FALSE(SaveResultsFile(L"", DriveE(), {}, false));
  EXPECT_FALSE(SaveResultsFile(JoinPath(folder.File(L"fehlt"), L"x.json"), DriveE(), {}, false));
  EXPECT_EQ(platform::LastError(), platform::kErrorPathNotFound);  // the reason, for the caller's message
  // A later save replaces the whole file; a copy left by a save that crashed is no obstacle.
  const std::wstring path = folder.File(L"run.json");
  ASSERT_TRUE(WriteUtf8File(path + L".tmp", L"halb"));
  ASSERT_TRUE(SaveResultsFile(path, DriveE(), {TurboExample(), AwkwardRecord()}, false));
  ASSERT_TRUE(SaveResultsFile(path, DriveE(), {}, true));
  std::vector<ResultRecord> records = {TurboExample()};
  ASSERT_TRUE(LoadResultsFile(path, &records));
  EXPECT_TRUE(records.empty());
  EXPECT_NE(ReadFileBytes(path).find("\"final\": true,\n"), std::string::npos);
}

TEST(ResultsFilePath, TimeStampAndDrive) {
  platform::LocalTime t;
  t.year = 2025;
  t.month = 2;
  t.day = 3;
  t.hour = 9;
  t.minute = 5;
  t.second = 0;
  t.millisecond = 123;
  ResultsFileHeader c = DriveE();
  EXPECT_EQ(MakeResultsFilePath(c.driveRoot, L"C:\\Velkor\\results\\", t), L"C:\\Velkor\\results\\20250203-090500-E__-velkor.json");
  c.driveRoot = L"/mnt/stick";
  EXPECT_EQ(MakeResultsFilePath(c.driveRoot, L"/opt/velkor/results/", t), L"/opt/velkor/results/20250203-090500-_mnt_stick-velkor.json");
  // A file name holds 255 bytes: a long target keeps its last 200 bytes.
  c.driveRoot = L"/media/" + std::wstring(300, L'a') + L"/\u00e4" + std::wstring(100, L'z');
  const std::wstring name = FileNameOfPath(MakeResultsFilePath(c.driveRoot, L"/r/", t));
  EXPECT_EQ(name, L"20250203-090500-" + std::wstring(97, L'a') + L"_\u00e4" + std::wstring(100, L'z') + L"-velkor.json");
}

TEST(ResultsFilePath, FolderOverride) {
  TempFolder folder;
  const std::wstring override = folder.File(L"ergebnisse");
  SetResultsFolder(override);
  EXPECT_EQ(GetResultsFolder(), override);
  const std::wstring path = MakeResultsFilePath(DriveE().driveRoot);
  EXPECT_EQ(path.substr(0, override.size() + 1), override + platform::PathSeparator());
  EXPECT_TRUE(std::regex_match(FileNameOfPath(path), std::wregex(LR"(\d{8}-\d{6}-E__-velkor\.json)")));
  EXPECT_TRUE(SaveResultsFile(path, DriveE(), {}, false));  // the folder was created
  EXPECT_EQ(ListSavedResultFiles(), std::vector<std::wstring>{path});
  // Runs that start within the same second keep their own files.
  std::vector<std::wstring> paths = {path};
  for (int i = 0; i < 2; ++i) {
    paths.push_back(MakeResultsFilePath(DriveE().driveRoot));
    EXPECT_TRUE(SaveResultsFile(paths.back(), DriveE(), {}, false));
  }
  std::sort(paths.begin(), paths.end());
  EXPECT_EQ(std::unique(paths.begin(), paths.end()), paths.end());
  EXPECT_EQ(ListSavedResultFiles().size(), 3u);
  SetResultsFolder(L"");
  EXPECT_EQ(GetResultsFolder(), GetResultsDirectory());
}

TEST(SavedResultFiles, EveryJsonFileSortedByCodeUnits) {
  TempFolder folder;
  for (const char* name : {"20250203-090500-E__-velkor.json", "20250101-120000-F__-velkor.json", "B.json",
                           "a.json", "notes.txt", "results.json.bak"}) {
    WriteFileBytes(folder.File(platform::Utf8ToWide(name)), "{}");
  }
  ASSERT_TRUE(platform::CreateFolder(folder.File(L"folder.json")));
  const std::vector<std::wstring> paths = ListSavedResultFiles(folder.path());
  EXPECT_EQ(paths, (std::vector<std::wstring>{
                       folder.File(L"20250101-120000-F__-velkor.json"), folder.File(L"20250203-090500-E__-velkor.json"),
                       folder.File(L"B.json"), folder.File(L"a.json")}));
  EXPECT_TRUE(ListSavedResultFiles(folder.File(L"fehlt")).empty());

  EXPECT_EQ(SavedResultSelection(paths, folder.File(L"B.json")), 2);
  EXPECT_EQ(SavedResultSelection(paths, folder.File(L"b.JSON")), 2);  // ignoring case
  EXPECT_EQ(SavedResultSelection(paths, folder.File(L"unbekannt.json")), 3);  // the newest
  EXPECT_EQ(SavedResultSelection(paths, L""), 3);
  EXPECT_EQ(SavedResultSelection({}, L"x"), -1);
}

}  // namespace
}  // namespace velkor
