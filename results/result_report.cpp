#include "results/result_report.h"

#include <algorithm>

#include "common/format.h"
#include "common/localization.h"
#include "results/evidence.h"

namespace velkor {
namespace {

bool HasText(const ResultRecord& r, const wchar_t* part) { return r.method.find(part) != std::wstring::npos; }

// The full test's figures over all its rows: a full test split into several files has one row per
// file, and every one of them belongs to the verdict.
struct FullTestFigures {
  const ResultRecord* last = nullptr;  // method, workers and block size come from it
  uint64_t bytes = 0;
  uint64_t written = 0;
  uint64_t verifiedBytes = 0;
  uint64_t errors = 0;
  double seconds = 0.0;
  double mbPerSecond = 0.0;
  bool allVerified = true;
  bool verifyOnly = false;  // the rows are "(nur prüfen)" rows: nothing was written
};

// The "(Volltest)" rows; without any, the "(nur prüfen)" rows; without those, the last row.
FullTestFigures SumFullTest(const std::vector<ResultRecord>& records) {
  std::vector<const ResultRecord*> rows;
  for (const wchar_t* kind : {L"(Volltest)", L"(nur prüfen)"}) {
    for (const ResultRecord& r : records) {
      if (HasText(r, kind)) rows.push_back(&r);
    }
    if (!rows.empty()) break;
  }
  if (rows.empty() && !records.empty()) rows.push_back(&records.back());
  FullTestFigures f;
  if (rows.empty()) return f;
  f.last = rows.back();
  f.verifyOnly = HasText(*f.last, L"(nur prüfen)");
  double mebibytes = 0.0;
  bool allSpeeds = true;
  for (const ResultRecord* r : rows) {
    f.bytes += r->bytes;
    f.written += r->writtenBytes;
    f.verifiedBytes += r->verifiedBytes;
    f.errors += r->errors;
    f.seconds += r->seconds;
    f.allVerified = f.allVerified && r->verified;
    mebibytes += r->mbPerSecond * r->seconds;
    allSpeeds = allSpeeds && r->mbPerSecond > 0.0;
  }
  // One row keeps its own figure; several give the traffic of all over the time of all.
  if (rows.size() == 1) {
    f.mbPerSecond = f.last->mbPerSecond;
  } else if (allSpeeds && f.seconds > 0.0) {
    f.mbPerSecond = mebibytes / f.seconds;
  }
  return f;
}

std::wstring BlockKb(const ResultRecord& r) { return std::to_wstring(r.blockSize / 1024); }

std::wstring ReadBackText(const FullTestFigures& f, const std::wstring& none) {
  if (f.allVerified) return FormatByteSize(f.bytes);
  return f.verifiedBytes > 0 ? FormatByteSize(f.verifiedBytes) : none;
}

// The report's lines in one language: each label of the table followed by its value.
struct ReportLines {
  int language;
  std::wstring& text;
  void Line(const wchar_t* key) { text += TranslateIn(key, language) + L"\r\n"; }
  void Field(const wchar_t* key, const std::wstring& value) { text += TranslateIn(key, language) + value + L"\r\n"; }
  std::wstring Method(const ResultRecord& r) const { return LocalizeMethodText(r.method, language); }
  std::wstring Kb(const ResultRecord& r) const { return BlockKb(r) + (language == kLanguageFrench ? L" Ko" : L" KB"); }
  std::wstring Speed(double mbPerSecond) const {
    return FormatDecimal2(mbPerSecond) + (language == kLanguageFrench ? L" Mo/s" : L" MB/s");
  }
};

void AppendFullBlockHead(ReportLines& out, const FullTestFigures& f) {
  out.Line(L"report_full_block");
  out.Field(L"report_access", out.Method(*f.last));
  out.Field(L"report_workers", std::to_wstring(f.last->workers));
  out.Field(L"report_block", out.Kb(*f.last));
}

void AppendFullBlockTail(ReportLines& out, const FullTestFigures& f) {
  out.Field(L"report_errors", std::to_wstring(f.errors));
  out.Field(L"report_duration", FormatDuration(f.seconds));
  out.Field(L"report_speed", out.Speed(f.mbPerSecond));
  out.text += L"\r\n";
}

// The diagnosis of a run that found bad blocks, between the full-test figures and the summary.
std::wstring DiagnosisBlock(const Diagnosis* diagnosis, int language) {
  return diagnosis != nullptr && diagnosis->present ? DiagnosisReportBlock(*diagnosis, language) + L"\r\n"
                                                    : std::wstring();
}

// A failed medium: what was done and what it found; no variant is recommended for it.
void AppendErrorStopBody(ReportLines& out, const FullTestFigures& f, StopReason reason, const Diagnosis* diagnosis) {
  if (f.last != nullptr) {
    AppendFullBlockHead(out, f);
    out.Field(L"report_planned", FormatByteSize(f.bytes));
    out.Field(L"report_written", FormatByteSize(f.written));
    out.Field(L"report_read_back", FormatByteSize(f.verifiedBytes));
    if (reason != StopReason::kNone) {
      out.Field(L"report_status", TranslateIn(reason == StopReason::kErrorLimit ? L"report_error_limit"
                                                                                  : L"report_io_error",
                                              out.language));
    }
    AppendFullBlockTail(out, f);
  }
  out.text += DiagnosisBlock(diagnosis, out.language);
  out.text += FormatTextIn(L"report_error_summary", out.language,
                           {FormatByteSize(f.written), FormatByteSize(f.verifiedBytes), std::to_wstring(f.errors),
                            FormatPercent(0.0)}) +
              L"\r\n";
}

}  // namespace

ResultReport BuildResultReport(const std::vector<ResultRecord>& records, StopReason runStop,
                               const Diagnosis* diagnosis, int language) {
  RunFacts facts;
  facts.stop = runStop;
  return BuildRunReport(records, JudgeRun(records, diagnosis, facts), diagnosis, nullptr, language);
}

ResultReport BuildRunReport(const std::vector<ResultRecord>& records, const Verdict& verdict,
                            const Diagnosis* diagnosis, const ResultsFileHeader* evidence, int language) {
  const StopReason reason = verdict.reason;
  const bool unfinished = verdict.kind == VerdictKind::kUnfinished && !(records.empty() && reason == StopReason::kNone);
  FullTestFigures full = SumFullTest(records);
  full.mbPerSecond = verdict.mbPerSecond;  // the medium's speed, also after a stop by its errors
  const bool good = verdict.kind == VerdictKind::kOk || verdict.kind == VerdictKind::kOkPartial;
  const int32_t fastestIndex = good ? FindFastestResult(records) : -1;
  const ResultRecord* fastest = fastestIndex >= 0 ? &records[static_cast<size_t>(fastestIndex)] : nullptr;
  const std::wstring prompt = TranslateIn(L"report_prompt", language);

  std::wstring text = TranslateIn(L"report_title", language) + L"\r\n====================\r\n\r\n";
  ReportLines out{language, text};
  const VerdictHead head = VerdictHeadOf(verdict, language);
  // Nothing to judge: no head.
  if (!records.empty() || reason != StopReason::kNone) {
    text += head.title + L"\r\n" + head.text + L"\r\n";
    const std::wstring untested = UntestedSpaceText(verdict, language);
    if (!untested.empty()) text += untested + L"\r\n";
    text += L"\r\n";
  }
  if (verdict.kind == VerdictKind::kFailed) {
    AppendErrorStopBody(out, full, reason, diagnosis);
  } else {
    if (fastest != nullptr) {
      out.Line(L"report_fastest");
      out.Field(L"report_access", out.Method(*fastest));
      out.Field(L"report_workers", std::to_wstring(fastest->workers));
      out.Field(L"report_block", out.Kb(*fastest));
      out.Field(L"report_speed", out.Speed(fastest->mbPerSecond));
      text += L"\r\n";
    }
    if (full.last != nullptr) {
      AppendFullBlockHead(out, full);
      if (unfinished) {
        out.Field(L"report_planned", FormatByteSize(full.bytes));
        out.Field(L"report_read_back", FormatByteSize(verdict.checkedBytes));
        out.Field(L"report_status", TranslateIn(L"cancelled", language));
      } else {
        out.Field(full.verifyOnly ? L"report_amount_verify" : L"report_amount", FormatByteSize(full.bytes));
        out.Field(L"report_read_back", ReadBackText(full, TranslateIn(L"no", language)));
      }
      AppendFullBlockTail(out, full);
    }
    text += DiagnosisBlock(diagnosis, language);
    if (unfinished) {
      out.Line(L"report_stopped_summary");
    } else if (full.last == nullptr) {
      out.Line(L"report_no_results");
    } else {
      const std::wstring reliability = FormatPercent(verdict.reliability.value_or(0.0));
      if (full.verifyOnly) {
        text += FormatTextIn(L"report_summary_verify", language,
                             {ReadBackText(full, L"0 B"), std::to_wstring(full.errors), reliability,
                              FormatDecimal2(full.mbPerSecond)});
      } else {
        text += FormatTextIn(L"report_summary", language,
                             {FormatByteSize(full.bytes), ReadBackText(full, L"0 B"), std::to_wstring(full.errors),
                              reliability, FormatDecimal2(full.mbPerSecond)});
      }
      text += L"\r\n";
      if (fastest != nullptr) {
        text += FormatTextIn(L"report_recommendation", language,
                             {out.Method(*fastest), std::to_wstring(fastest->workers), BlockKb(*fastest)}) +
                L"\r\n";
      }
    }
  }
  if (evidence != nullptr) {
    text += L"\r\n";
    for (const std::wstring& line : EvidenceLines(*evidence, language)) text += line + L"\r\n";
  }
  return {text, prompt};
}

std::wstring ReportBoxText(const ResultReport& report) {
  std::wstring text = report.body;
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
  return text;
}

}  // namespace velkor
