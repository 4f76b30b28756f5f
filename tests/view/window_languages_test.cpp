// Every text the window builds, in each of its languages: nothing German left in English,
// French or Spanish, and the German the files keep unchanged.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/localization.h"
#include "drives/classify.h"
#include "drives/drive_table.h"
#include "engine/progress_text.h"
#include "engine/run_lock.h"
#include "engine/start_rules.h"
#include "platform/text.h"
#include "results/diagnosis.h"
#include "results/diagnosis_chart.h"
#include "results/exports.h"
#include "results/result_report.h"
#include "tests/support/untranslated.h"
#include "view/about_text.h"
#include "view/field_checks.h"
#include "view/hint_texts.h"
#include "view/result_columns.h"
#include "view/window_texts.h"
#include "view/worker_texts.h"

namespace velkor {
namespace {

struct LanguageGuard {
  int saved = CurrentLanguage;
  explicit LanguageGuard(int language) { CurrentLanguage = language; }
  ~LanguageGuard() { CurrentLanguage = saved; }
};

std::string Narrow(const std::wstring& text) { return platform::WideToUtf8(text); }

ResultRecord Record(const wchar_t* method, bool recommended, StopReason stop = StopReason::kNone) {
  ResultRecord r;
  r.method = method;
  r.workers = 2;
  r.blockSize = 65536;
  r.bytes = r.writtenBytes = r.verifiedBytes = 64ULL << 20;
  r.mbPerSecond = 12.5;
  r.seconds = 5.0;
  r.verified = stop == StopReason::kNone;
  r.recommended = recommended;
  r.stopReason = stop;
  r.cancelled = IsCancelStop(stop);
  r.errors = IsStopByErrors(stop) ? 3 : 0;
  return r;
}

// A drive whose words are all the program's own: no label, no file system name, its connection.
DriveInfo WordyDrive() {
  DriveInfo d;
  d.root = L"E:\\";
  d.label = TranslateIn(L"no_name", kLanguageGerman);
  d.fileSystem = TranslateIn(L"unknown", kLanguageGerman);
  d.bus = L"USB/Wechselmedium";
  d.status = TranslateIn(L"write_protect", kLanguageGerman);
  d.writeProtected = true;
  d.systemVolume = true;
  d.totalBytes = 16ULL << 30;
  d.freeBytes = 8ULL << 30;
  d.freePercent = 50.0;
  return d;
}

// Everything below the window's controls shows: built afresh in the current language.
std::vector<std::wstring> WindowTexts() {
  std::vector<std::wstring> texts;
  const DriveInfo drive = WordyDrive();
  texts.push_back(SelectedDriveLine(&drive));
  texts.push_back(SelectedDriveLine(nullptr));
  for (int column = 0; column < kDriveColumnCount; ++column) texts.push_back(DriveCellText(drive, column));
  texts.push_back(DeletionQuestion(3));
  for (bool on : {false, true}) {
    const MenuStates states = ComputeMenuStates(on, on, on, on);
    texts.push_back(Translate(states.settingsItemKey));
    texts.push_back(Translate(states.methodItemKey));
  }
  for (int id = 1001; id <= 1036; ++id) texts.push_back(ControlHintText(id, Translate(L"test_size"), true));
  for (const wchar_t* field : {L"1", L"7", L"8"}) {
    const WorkerControlView view = BuildWorkerControlView(field, 8);
    texts.push_back(view.label);
    texts.push_back(view.hint);
  }
  texts.push_back(AboutText("Mar  5 2026"));
  const std::vector<ResultRecord> runs[] = {
      {Record(L"Turbo (aggressiv)", false), Record(L"Zuverlässig", true), Record(L"Zuverlässig (Volltest)", false)},
      {Record(L"Quorvel-Modus (Volltest)", false, StopReason::kUser)},
      {Record(L"Ausgeglichen (nur prüfen)", false, StopReason::kErrorLimit)},
      {Record(L"Ausgeglichen (Volltest)", false, StopReason::kIoFailure)},
      {Record(L"Zuverlässig (Volltest)", false, StopReason::kFileSystemLimit)},
      {Record(L"Zuverlässig (Volltest)", false, StopReason::kFileHeld)},
      {},
  };
  for (const std::vector<ResultRecord>& rows : runs) {
    texts.push_back(BuildResultSummary(rows, CurrentLanguage));
    texts.push_back(ReportBoxText(BuildResultReport(rows, StopReason::kNone, nullptr, CurrentLanguage)));
    for (const ResultRecord& r : rows) {
      for (int column = 0; column < kResultColumnCount; ++column) texts.push_back(ResultCellText(r, column));
    }
  }
  ProgressSnapshot s;
  s.totalBlocks = 100;
  s.written = 40;
  s.blockSize = 1048576;
  s.startTicks = 1;
  s.nowTicks = 1001;
  s.ticksPerSecond = 100;
  s.running = true;
  for (int32_t phase : {kPhaseIdle, kPhaseWriting, kPhaseVerifying}) {
    s.phase = phase;
    texts.push_back(BuildProgressView(s, CurrentLanguage).statusText);
  }
  s.running = false;
  s.verified = 40;
  for (StopReason reason : {StopReason::kNone, StopReason::kUser, StopReason::kErrorLimit, StopReason::kFileSystemLimit,
                            StopReason::kFileHeld}) {
    s.stopReason = reason;
    s.stopRequested = reason != StopReason::kNone;
    texts.push_back(BuildProgressView(s, CurrentLanguage).statusText);
  }
  StartPlan plan;
  plan.config.driveRoot = L"C:\\";
  texts.push_back(NonEmptyTargetQuestion(drive, CurrentLanguage));
  texts.push_back(SystemVolumeQuestion(plan, CurrentLanguage));
  texts.push_back(ProgramVolumeQuestion(drive, CurrentLanguage));
  for (const wchar_t* german : {kWriteProtectedText, kInvalidInputText, kHighWorkerWarning, kDriveBusyText,
                                kDriveBusyTitle, kSystemVolumeTitle, kProgramVolumeTitle}) {
    texts.push_back(Localize(german));
  }
  for (uint32_t p = kProfileTurbo; p <= kProfileQuorvel; ++p) texts.push_back(Localize(AccessProfileName(p)));
  for (const ExportFormat& format : kExportFormats) texts.push_back(Localize(format.name));
  // The diagnosis of bad blocks: in the report box and drawn in the block map window.
  for (DiagnosisFinding finding : {DiagnosisFinding::kNone, DiagnosisFinding::kWraps, DiagnosisFinding::kEmptyFrom,
                                   DiagnosisFinding::kDamagedFrom, DiagnosisFinding::kUnreadableFrom,
                                   DiagnosisFinding::kSingleBlocks}) {
    for (bool partial : {false, true}) {
      RunDiagnosis run;
      Diagnosis& d = run.diagnosis;
      d.present = true;
      d.finding = finding;
      d.partial = partial;
      d.findingBytes = d.usableBytes = 256ULL << 20;
      d.testBytes = 1ULL << 30;
      d.blockSize = 1 << 20;
      d.counts[static_cast<size_t>(BlockClass::kOk)] = 256;
      d.counts[static_cast<size_t>(BlockClass::kEmpty)] = 768;
      d.checked = 1024;
      d.cells.assign(64, BlockClass::kOk);
      d.cells[40] = BlockClass::kEmpty;
      run.speedCurve.write.assign(kSpeedCurvePoints, 20.0);
      run.speedCurve.read.assign(kSpeedCurvePoints, 30.0);
      texts.push_back(ReportBoxText(BuildResultReport(runs[0], StopReason::kNone, &d, CurrentLanguage)));
      texts.push_back(
          ReportBoxText(BuildResultReport(runs[2], StopReason::kErrorLimit, &d, CurrentLanguage)));
      const DiagnosisChart chart = LayoutDiagnosisChart(run, 1000, 700, 20, 20, CurrentLanguage);
      texts.push_back(chart.title);
      texts.push_back(chart.findingLine);
      texts.push_back(chart.cellNote);
      for (const LegendEntry& e : chart.legend) texts.push_back(e.label);
      for (const LegendEntry& e : chart.speedLegend) texts.push_back(e.label);
      for (const SpeedAxisLabel& label : chart.axisLabels) texts.push_back(label.text);
    }
  }
  for (std::wstring filter : {ExportDialogFilter(kExportCsv), ExportDialogFilterAll()}) {
    for (wchar_t& c : filter) c = c == L'\0' ? L'|' : c;
    texts.push_back(filter);
  }
  // The refusals of what was typed, and the box of a start without a drive.
  for (const wchar_t* typed : {L"abc", L"0", L"", L"1073741825"}) {
    StartFieldTexts fields{L"1024", L"4096", L"1", L"0", L"3", false, L"0", L"1024"};
    fields.blockSize = typed;
    texts.push_back(CheckStartFields(fields, 8, CurrentLanguage).text);
  }
  StartFieldTexts tooLarge{L"1", L"4096", L"1", L"0", L"3", false, L"0", L"1024"};
  texts.push_back(CheckStartFields(tooLarge, 8, CurrentLanguage).text);
  texts.push_back(Translate(L"box_no_drive"));
  // The "FEHLER:" lines a start's failure box shows beside its status.
  for (const wchar_t* line :
       {L"FEHLER: Nicht genug freier Speicher unter Berücksichtigung der Restgröße. Laufwerk=E:\\, benötigt=1.0 GB, "
        L"gewünschter Rest=0.0 B, frei=10.0 MB, gesamt=1.0 GB",
        L"FEHLER: Nicht genug freier Speicher unter Berücksichtigung der Restgröße. Laufwerk=E:\\, benötigt=1.0 GB, "
        L"gewünschter Rest=0.0 B, frei=10.0 MB, dazu eigene Testdateien eines früheren Laufs=5.0 MB, gesamt=1.0 GB",
        L"FEHLER: Prüfen ohne Schreiben nicht möglich, Datei fehlt: E:\\velkor.bin",
        L"FEHLER: Prüfen ohne Schreiben nicht möglich, Datei ist zu klein: E:\\velkor.bin, vorhanden=1.0 MB, "
        L"benötigt=2.0 MB"}) {
    const std::wstring shown = Localize(line);
    if (CurrentLanguage != kLanguageGerman) {
      EXPECT_NE(shown, line) << Narrow(line);
    }
    texts.push_back(shown);
  }
  // The whole run's progress line, part by part.
  ProgressSnapshot run;
  run.running = true;
  run.runBytes = 100 << 20;
  run.totalBlocks = 10;
  run.blockSize = 1 << 20;
  run.written = run.verified = 5;
  for (int32_t part : {kRunPartNone, kRunPartMethodTest, kRunPartFullTest, kRunPartVerifyOnly}) {
    for (int32_t phase : {kPhaseWriting, kPhaseVerifying}) {
      for (uint32_t count : {1u, 3u}) {
        run.runPart = part;
        run.phase = phase;
        run.partNumber = 1;
        run.partCount = count;
        texts.push_back(BuildProgressView(run, CurrentLanguage).statusText);
      }
    }
  }
  // The block map window of a run without bad blocks.
  RunDiagnosis healthy;
  healthy.speedCurve.read.assign(kSpeedCurvePoints, 20.0);
  texts.push_back(LayoutDiagnosisChart(healthy, 1000, 700, 20, 20, CurrentLanguage).findingLine);
  healthy.speedCurve.read[50] = 0.0;
  texts.push_back(LayoutDiagnosisChart(healthy, 1000, 700, 20, 20, CurrentLanguage).findingLine);
  return texts;
}

TEST(WindowLanguages, NothingGermanIsLeftInTheOtherLanguages) {
  for (int language : {kLanguageEnglish, kLanguageFrench, kLanguageSpanish}) {
    LanguageGuard guard(language);
    for (const std::wstring& text : WindowTexts()) {
      const std::vector<std::wstring> german = testing::GermanLeftIn(text, language);
      EXPECT_TRUE(german.empty()) << "language " << language << ": " << Narrow(text) << "\n  German: "
                                  << Narrow(testing::JoinFindings(german));
    }
  }
}

// The window's German is the German it had: every German text reads the same whichever way it
// was built, and files ask for German whatever the window shows.
TEST(WindowLanguages, FilesKeepTheirGermanWhateverTheWindowShows) {
  const std::vector<ResultRecord> rows = {Record(L"Zuverlässig", true), Record(L"Zuverlässig (Volltest)", false)};
  std::vector<std::wstring> german;
  {
    LanguageGuard guard(kLanguageGerman);
    german = WindowTexts();
  }
  LanguageGuard guard(kLanguageSpanish);
  EXPECT_EQ(BuildResultReport(rows, StopReason::kNone).body,
            BuildResultReport(rows, StopReason::kNone, nullptr, kLanguageGerman).body);
  EXPECT_EQ(BuildResultSummary(rows), BuildResultSummary(rows, kLanguageGerman));
  EXPECT_EQ(YesNoText(true), L"ja");
  EXPECT_NE(BuildFormattedTable(rows).find(L"Zusammenfassung: geschrieben"), std::wstring::npos);
  EXPECT_NE(BuildFormattedTable(rows).find(L"Empfehlung"), std::wstring::npos);
  // The drive's words stay German in the drive itself (the log and results file take them).
  const DriveInfo drive = MakeDriveInfo(L"E:\\", L"", L"", L"USB", 1, 1, true);
  EXPECT_EQ(drive.fileSystem, L"unbekannt");
  EXPECT_EQ(drive.status, L"Schreibschutz");
  EXPECT_EQ(DriveCellText(drive, 2), L"desconocido");
  // The diagnosis keeps its German in the log and the files.
  Diagnosis d;
  d.present = true;
  d.finding = DiagnosisFinding::kEmptyFrom;
  d.findingBytes = 300ULL << 20;
  EXPECT_EQ(DiagnosisFindingText(d), L"Daten ab 300.0 MB kommen leer zurück.");
  EXPECT_EQ(DiagnosisReportBlock(d).rfind(L"Diagnose\r\n  Befund: Daten ab 300.0 MB", 0), 0u);
  // Spanish shows the same number of texts, each different from German where words are shown.
  EXPECT_EQ(WindowTexts().size(), german.size());
}

}  // namespace
}  // namespace velkor
