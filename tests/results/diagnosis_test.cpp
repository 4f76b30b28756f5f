#include "results/diagnosis.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/text.h"
#include "results/diagnosis_chart.h"
#include "results/exports.h"
#include "results/result_report.h"
#include "results/results_database.h"
#include "tests/support/pdf_tools.h"
#include "tests/support/temp_folder.h"

namespace velkor {
namespace {

using testing::ReadFileBytes;
using testing::TempFolder;

constexpr uint64_t kMiB = 1048576;

// The fake stick: 992 MiB tested, 256 MiB kept.
Diagnosis FakeStick() {
  Diagnosis d;
  d.present = true;
  d.finding = DiagnosisFinding::kWraps;
  d.findingBytes = d.usableBytes = d.periodBytes = 256 * kMiB;
  d.testBytes = 992 * kMiB;
  d.blockSize = 1048576;
  d.counts[static_cast<size_t>(BlockClass::kOk)] = 256;
  d.counts[static_cast<size_t>(BlockClass::kOverwritten)] = 736;
  d.checked = 992;
  d.sampled = 482;
  for (size_t i = 0; i < 992; ++i) d.cells.push_back(i < 736 ? BlockClass::kOverwritten : BlockClass::kOk);
  d.cells[5] = BlockClass::kUnchecked;
  return d;
}

RunDiagnosis FakeRun() {
  RunDiagnosis run;
  run.diagnosis = FakeStick();
  for (size_t i = 0; i < kSpeedCurvePoints; ++i) run.speedCurve.write.push_back(10.0 + static_cast<double>(i));
  run.speedCurve.read.assign(kSpeedCurvePoints, 0.0);
  run.speedCurve.read[0] = 33.25;
  return run;
}

ResultRecord FullRecord(uint64_t errors) {
  ResultRecord r;
  r.method = L"Quorvel-Modus (Volltest)";
  r.bytes = r.writtenBytes = 992 * kMiB;
  r.verifiedBytes = 499 * kMiB;
  r.errors = errors;
  r.stopReason = errors ? StopReason::kErrorLimit : StopReason::kNone;
  r.verified = errors == 0;
  return r;
}

TEST(Diagnosis, TheReportBlockOfAFakeStick) {
  EXPECT_EQ(DiagnosisReportBlock(FakeStick()),
            L"Diagnose\r\n"
            L"  Befund: Das Medium wiederholt sich nach 256.0 MB: spätere Daten überschreiben frühere.\r\n"
            L"  Nutzbare Kapazität (geschätzt): 256.0 MB\r\n"
            L"  Grundlage: Reihenfolge in den Testdateien; wo ihre Blöcke auf dem Medium liegen, ist nicht bekannt. "
            L"Die Kapazität zählt die intakten Blöcke.\r\n"
            L"  Blöcke: 256 OK, 736 überschrieben, 0 leer, 0 beschädigt, 0 unlesbar (992 geprüft, davon 482 "
            L"Stichprobe)\r\n");
  Diagnosis placed = FakeStick();
  placed.deviceOrder = true;
  EXPECT_NE(DiagnosisReportBlock(placed).find(
                L"\r\n  Grundlage: Lage der Testdateien auf dem Medium; Positionen und Kapazität sind Offsets auf dem "
                L"Medium.\r\n"),
            std::wstring::npos);
  EXPECT_EQ(DiagnosisReportBlock(Diagnosis{}), L"");
  EXPECT_TRUE(DiagnosisLogLines(Diagnosis{}).empty());
}

TEST(Diagnosis, TheReportCarriesItBetweenTheFiguresAndTheSummaryOnly) {
  const Diagnosis d = FakeStick();
  const std::wstring withIt = BuildResultReport({FullRecord(500)}, StopReason::kErrorLimit, &d).body;
  const std::wstring without = BuildResultReport({FullRecord(500)}, StopReason::kErrorLimit).body;
  const size_t at = withIt.find(L"Diagnose\r\n");
  ASSERT_NE(at, std::wstring::npos);
  // The rest of the report is as it was: the block and its empty line come on top.
  EXPECT_EQ(withIt.substr(0, at) + withIt.substr(at + DiagnosisReportBlock(d).size() + 2), without);
  EXPECT_EQ(withIt.substr(at - 4, 4), L"\r\n\r\n");
  EXPECT_EQ(withIt.find(L"Zusammenfassung: "), at + DiagnosisReportBlock(d).size() + 2);
  // A diagnosis that found nothing changes nothing.
  const Diagnosis none;
  EXPECT_EQ(BuildResultReport({FullRecord(0)}, StopReason::kNone, &none).body,
            BuildResultReport({FullRecord(0)}, StopReason::kNone).body);
}

TEST(Diagnosis, TheResultsFileCarriesItAfterTheRecordsAndGivesItBack) {
  RunDiagnosis run = FakeRun();
  run.diagnosis.deviceOrder = true;
  run.diagnosis.markCell = 256;
  const std::vector<ResultRecord> records = {FullRecord(500)};
  const std::wstring text = BuildResultsJson(ResultsFileHeader{}, records, true, &run);
  const size_t results = text.find(L"  \"results\": [\n");
  const size_t diagnosis = text.find(L"  ],\n  \"diagnosis\": {\"usableBytes\":268435456,");
  const size_t speed = text.find(L",\n  \"speedCurve\": {\"write\":[10.00,11.00,");
  ASSERT_NE(results, std::wstring::npos);
  ASSERT_NE(diagnosis, std::wstring::npos) << platform::WideToUtf8(text);
  ASSERT_NE(speed, std::wstring::npos) << platform::WideToUtf8(text);
  EXPECT_LT(results, diagnosis);
  EXPECT_LT(diagnosis, speed);
  EXPECT_NE(text.find(L"]},\n  \"verdict\": \"failed\"\n}\n"), std::wstring::npos) << platform::WideToUtf8(text);

  std::vector<ResultRecord> loaded;
  ASSERT_TRUE(ParseResultsText(text, &loaded));
  ASSERT_EQ(loaded.size(), 1u);  // the diagnosis object is no record
  const RunDiagnosis back = ParseRunDiagnosis(text);
  const Diagnosis& d = back.diagnosis;
  const Diagnosis& e = run.diagnosis;
  EXPECT_TRUE(d.present);
  EXPECT_EQ(d.finding, e.finding);
  EXPECT_EQ(d.findingBytes, e.findingBytes);
  EXPECT_EQ(d.usableBytes, e.usableBytes);
  EXPECT_EQ(d.periodBytes, e.periodBytes);
  EXPECT_EQ(d.testBytes, e.testBytes);
  EXPECT_EQ(d.blockSize, e.blockSize);
  for (size_t k = 0; k < kBlockClassCount; ++k) EXPECT_EQ(d.counts[k], e.counts[k]);
  EXPECT_EQ(d.checked, e.checked);
  EXPECT_EQ(d.sampled, e.sampled);
  EXPECT_EQ(d.cells, e.cells);
  EXPECT_TRUE(d.deviceOrder);
  EXPECT_EQ(d.markCell, 256u);
  // A file from before the medium's order was known follows the files' order.
  const RunDiagnosis fileOrder = FakeRun();
  EXPECT_FALSE(ParseRunDiagnosis(BuildResultsJson(ResultsFileHeader{}, records, true, &fileOrder)).diagnosis.deviceOrder);
  EXPECT_EQ(back.speedCurve.write, run.speedCurve.write);
  EXPECT_EQ(back.speedCurve.read, run.speedCurve.read);
}

TEST(Diagnosis, FilesWithoutItOrWithDamagedValuesLoadWithoutHarm) {
  const std::vector<ResultRecord> records = {FullRecord(0)};
  const std::wstring old = BuildResultsJson(ResultsFileHeader{}, records, true);
  EXPECT_EQ(old.find(L"diagnosis"), std::wstring::npos);
  EXPECT_NE(old.find(L"  ],\n  \"verdict\": \"ok\"\n}\n"), std::wstring::npos);
  const RunDiagnosis none = ParseRunDiagnosis(old);
  EXPECT_FALSE(none.diagnosis.present);
  EXPECT_FALSE(HasDiagnosisPictures(none));

  const struct {
    const char* what;
    std::wstring text;
  } odd[] = {
      {"no object", L"{\"results\": [],\n  \"diagnosis\": 5,\n  \"speedCurve\": \"x\"\n}"},
      {"cut off", L"  \"diagnosis\": {\"usableBytes\":12,\"cells\":\"owwz"},
      {"junk values", L"  \"diagnosis\": {\"usableBytes\":-3,\"finding\":\"?\",\"cells\":\"o?\"},\n"
                      L"  \"speedCurve\": {\"write\":[a,,-4,1e999,2.5],\"read\":[}"},
  };
  for (const auto& c : odd) {
    SCOPED_TRACE(c.what);
    const RunDiagnosis run = ParseRunDiagnosis(c.text);
    for (double v : run.speedCurve.write) EXPECT_GE(v, 0.0);
    EXPECT_LE(run.diagnosis.cells.size(), kMaxMapCells);
  }
  const RunDiagnosis junk = ParseRunDiagnosis(odd[2].text);
  EXPECT_EQ(junk.speedCurve.write, (std::vector<double>{0.0, 0.0, 0.0, 0.0, 2.5}));
  EXPECT_EQ(junk.diagnosis.cells, (std::vector<BlockClass>{BlockClass::kOk, BlockClass::kUnchecked}));
  std::wstring many = L"  \"speedCurve\": {\"write\":[";
  for (int i = 0; i < 300; ++i) many += L"1.00,";
  EXPECT_EQ(ParseRunDiagnosis(many + L"1.00]}").speedCurve.write.size(), kSpeedCurvePoints);
}

// On the medium the capacity is an offset, not a share of the test: the mark stands where the
// engine put it, whatever the capacity's size.
TEST(DiagnosisChart, InTheMediumsOrderTheMarkStandsBeforeItsCell) {
  RunDiagnosis run;
  run.diagnosis = FakeStick();
  run.diagnosis.cells.resize(100);
  run.diagnosis.testBytes = 100 * kMiB;
  run.diagnosis.usableBytes = 900 * kMiB;  // the test file lay far into the medium
  run.diagnosis.deviceOrder = true;
  run.diagnosis.markCell = 37;
  const DiagnosisChart chart = LayoutDiagnosisChart(run, 1000, 600, 10, 20);
  ASSERT_EQ(chart.usableMark.size(), 1u);
  EXPECT_DOUBLE_EQ(chart.usableMark[0][1].x, chart.cells[37].x);
  EXPECT_NE(chart.cellNote.find(L"nach Lage auf dem Medium"), std::wstring::npos);
  run.diagnosis.markCell = 0;  // nothing usable known to mark
  EXPECT_TRUE(LayoutDiagnosisChart(run, 1000, 600, 10, 20).usableMark.empty());
}

TEST(DiagnosisChart, TheMarkPartsUsableCellsFromTheRest) {
  RunDiagnosis run;
  run.diagnosis = FakeStick();
  run.diagnosis.finding = DiagnosisFinding::kEmptyFrom;
  run.diagnosis.cells.resize(100);  // a 10 x 10 grid
  for (size_t i = 0; i < 100; ++i) run.diagnosis.cells[i] = i < 37 ? BlockClass::kOk : BlockClass::kEmpty;
  run.diagnosis.testBytes = 100 * kMiB;
  run.diagnosis.usableBytes = 37 * kMiB;
  const DiagnosisChart chart = LayoutDiagnosisChart(run, 1000, 600, 10, 20);
  ASSERT_EQ(chart.cells.size(), 100u);
  const ChartBox& first = chart.cells[0];
  const ChartBox& at = chart.cells[37];  // row 3, column 7
  const double cell = first.width;
  ASSERT_EQ(chart.usableMark.size(), 1u);
  const std::vector<ChartPoint>& mark = chart.usableMark[0];
  // Along the top of row 3 from the right end to column 7, down its edge, back under row 3.
  ASSERT_EQ(mark.size(), 4u);
  EXPECT_DOUBLE_EQ(mark[0].x, first.x + 10 * cell);
  EXPECT_DOUBLE_EQ(mark[0].y, at.y);
  EXPECT_DOUBLE_EQ(mark[1].x, at.x);
  EXPECT_DOUBLE_EQ(mark[2].y, at.y + cell);
  EXPECT_DOUBLE_EQ(mark[3].x, first.x);
  EXPECT_EQ(chart.cellColours[0], BlockClassColour(BlockClass::kOk));
  EXPECT_EQ(chart.cellColours[37], BlockClassColour(BlockClass::kEmpty));
  EXPECT_NE(chart.cellNote.find(L"in der Reihenfolge der Testdateien"), std::wstring::npos);
  // The capacity at a row's start: one straight line.
  run.diagnosis.usableBytes = 30 * kMiB;
  EXPECT_EQ(LayoutDiagnosisChart(run, 1000, 600, 10, 20).usableMark[0].size(), 3u);
  // All of it usable: no mark.
  run.diagnosis.usableBytes = run.diagnosis.testBytes;
  EXPECT_TRUE(LayoutDiagnosisChart(run, 1000, 600, 10, 20).usableMark.empty());
}

// In the files' order a wrapping fake's intact blocks are the last ones written: a line after the
// first 256 MB would stand over overwritten cells and say they were the usable part.
TEST(DiagnosisChart, InTheFilesOrderNoMarkOverCellsThatAreNotIntact) {
  RunDiagnosis run;
  run.diagnosis = FakeStick();
  const DiagnosisChart chart = LayoutDiagnosisChart(run, 1000, 600, 10, 20);
  EXPECT_TRUE(chart.usableMark.empty());
  EXPECT_EQ(chart.cellColours[0], BlockClassColour(BlockClass::kOverwritten));
  EXPECT_EQ(chart.cellColours[5], BlockClassColour(BlockClass::kUnchecked));
  EXPECT_EQ(chart.cellColours[991], BlockClassColour(BlockClass::kOk));
  // The legend still gives the estimate.
  EXPECT_NE(chart.legend.back().label.find(L"256.0 MB"), std::wstring::npos);
}

TEST(DiagnosisChart, CurvesBreakWhereNothingWasMeasured) {
  RunDiagnosis run;
  run.speedCurve.write.assign(kSpeedCurvePoints, 40.0);
  run.speedCurve.read.assign(kSpeedCurvePoints, 0.0);
  for (size_t i = 0; i < 10; ++i) run.speedCurve.read[i] = 120.0;
  for (size_t i = 50; i < 60; ++i) run.speedCurve.read[i] = 80.0;
  const DiagnosisChart chart = LayoutDiagnosisChart(run, 800, 500, 10, 20);
  EXPECT_TRUE(chart.cells.empty());  // no diagnosis: no map
  // and a word why; a read-back with gaps does not speak for every block.
  EXPECT_EQ(chart.findingLine, L"Befund: Jeder geprüfte Block kam unversehrt zurück. Ohne fehlerhafte Blöcke gibt es "
                               L"keine Blockkarte.");
  run.speedCurve.read.assign(kSpeedCurvePoints, 90.0);
  EXPECT_EQ(LayoutDiagnosisChart(run, 800, 500, 10, 20, kLanguageEnglish).findingLine,
            L"Finding: every block came back intact. Without bad blocks there is no block map.");
  EXPECT_EQ(LayoutDiagnosisChart(RunDiagnosis{}, 800, 500, 10, 20).findingLine, L"");
  EXPECT_EQ(chart.axisMax, 200.0);
  ASSERT_EQ(chart.writeCurve.size(), 1u);
  EXPECT_EQ(chart.writeCurve[0].size(), kSpeedCurvePoints);
  ASSERT_EQ(chart.readCurve.size(), 2u);
  EXPECT_DOUBLE_EQ(chart.readCurve[0][0].y, chart.plot.y + chart.plot.height * 0.4);
  EXPECT_EQ(SpeedAxisTop(SpeedCurve{}), 1.0);
  EXPECT_EQ(SpeedAxisTop(SpeedCurve{{0.4}, {}}), 0.5);
  EXPECT_EQ(SpeedAxisTop(SpeedCurve{{1000.0}, {}}), 1000.0);
}

TEST(Diagnosis, ThePdfGetsASecondPageWithTheMapAndTheCurves) {
  if (!testing::PdfToolsAvailable()) GTEST_SKIP() << "qpdf, pdfinfo or pdftotext not on this system";
  TempFolder folder;
  const std::vector<ResultRecord> records = {FullRecord(500)};
  const struct {
    const char* what;
    RunDiagnosis run;
    int pages;
    std::vector<const char*> texts;
  } cases[] = {
      {"a fake stick", FakeRun(), 2,
       {"Velkor Blockkarte und Geschwindigkeit", "Nutzbare Kapazit\xC3\xA4t (gesch\xC3\xA4tzt): 256.0 MB",
        "\xC3\xBC" "berschrieben", "besch\xC3\xA4" "digt", "unlesbar", "nicht gepr\xC3\xBC" "ft", "Schreiben", "Lesen",
        "MB/s"}},
      {"a healthy run: the curves and why there is no map", RunDiagnosis{{}, FakeRun().speedCurve}, 2,
       {"Schreiben", "Lesen", "unversehrt zur\xC3\xBC" "ck"}},
      {"an older file: one page", RunDiagnosis{}, 1, {"Velkor Ergebnisse"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::wstring path = folder.File(L"export.pdf");
    ASSERT_TRUE(WriteExport(kExportPdf, path, records, ResultsFileHeader{}, &c.run));
    std::string output;
    EXPECT_TRUE(testing::QpdfCheck(path, &output)) << output;
    EXPECT_EQ(output.find("WARNING"), std::string::npos) << output;
    EXPECT_EQ(testing::PdfPageCount(path), c.pages);
    const std::string text = testing::PdfToText(path);
    for (const char* expected : c.texts) EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    if (c.pages == 2 && !c.run.diagnosis.present) {
      EXPECT_EQ(text.find("Nutzbare Kapazit"), std::string::npos);
    }
  }
  // Without a diagnosis or curve the file is the one-page export it always was.
  const std::wstring a = folder.File(L"a.pdf"), b = folder.File(L"b.pdf");
  const RunDiagnosis none;
  ASSERT_TRUE(WriteResultsPdf(a, records));
  ASSERT_TRUE(WriteResultsPdf(b, records, &none));
  EXPECT_EQ(ReadFileBytes(a), ReadFileBytes(b));
}

}  // namespace
}  // namespace velkor
