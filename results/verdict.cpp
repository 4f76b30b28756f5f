#include "results/verdict.h"

#include <algorithm>

#include "common/format.h"

namespace velkor {
namespace {

bool IsVerifyOnlyRecord(const ResultRecord& r) { return r.method.find(L"nur prüfen") != std::wstring::npos; }

// The rows that make the check: the full test's, else the verify-only ones; method-test rows only
// count for errors.
std::vector<const ResultRecord*> CheckRows(const std::vector<ResultRecord>& records) {
  std::vector<const ResultRecord*> rows;
  for (const bool verifyOnly : {false, true}) {
    for (const ResultRecord& r : records) {
      if (IsFullOrVerifyRecord(r) && IsVerifyOnlyRecord(r) == verifyOnly) rows.push_back(&r);
    }
    if (!rows.empty()) break;
  }
  return rows;
}

// Bytes moved over the time taken. A row the medium's errors (or a stop) ended keeps no speed of
// its own: its traffic over its time stands in. Rows without a time (made by hand, not by a run)
// are weighted by their size instead.
double MediumSpeed(const std::vector<const ResultRecord*>& rows, double* seconds) {
  double byTime = 0.0, bySize = 0.0, size = 0.0;
  *seconds = 0.0;
  double timed = 0.0;
  for (const ResultRecord* r : rows) {
    *seconds += r->seconds;
    double speed = r->mbPerSecond;
    if (!(speed > 0.0) && r->seconds > 0.001) {
      speed = (static_cast<double>(r->writtenBytes) + static_cast<double>(r->verifiedBytes)) / 1048576.0 / r->seconds;
    }
    if (!(speed > 0.0)) continue;
    byTime += speed * r->seconds;
    timed += r->seconds;
    bySize += speed * static_cast<double>(r->bytes);
    size += static_cast<double>(r->bytes);
  }
  if (timed > 0.001) return byTime / timed;
  return size > 0.0 ? bySize / size : 0.0;
}

std::wstring PercentOf(uint64_t part, uint64_t whole) {
  return whole == 0 ? FormatPercent(0.0) : FormatPercent(100.0 * static_cast<double>(part) / static_cast<double>(whole));
}

const wchar_t* UnfinishedTextKey(const Verdict& v) {
  switch (v.reason) {
    case StopReason::kDriveGone: return L"report_drive_gone_text";
    case StopReason::kFileSystemLimit: return L"report_fs_limit_text";
    case StopReason::kFileHeld: return L"report_file_held_text";
    case StopReason::kSessionEnd: return L"report_session_end_text";
    case StopReason::kUser: return L"report_stopped_text";
    default: break;
  }
  return v.checkedBytes < v.plannedBytes || v.plannedBytes == 0 ? L"report_not_ended_text" : L"report_stopped_text";
}

}  // namespace

const wchar_t* VerdictName(VerdictKind kind) {
  switch (kind) {
    case VerdictKind::kOk: return L"ok";
    case VerdictKind::kOkPartial: return L"okPartial";
    case VerdictKind::kFailed: return L"failed";
    case VerdictKind::kUnfinished: break;
  }
  return L"unfinished";
}

StopReason RunStopReason(const std::vector<ResultRecord>& records, StopReason runStop) {
  if (runStop != StopReason::kNone) return runStop;
  for (const ResultRecord& r : records) {
    if (r.stopReason != StopReason::kNone) return r.stopReason;
  }
  return std::any_of(records.begin(), records.end(), [](const ResultRecord& r) { return r.cancelled; })
             ? StopReason::kUser
             : StopReason::kNone;
}

Verdict JudgeRun(const std::vector<ResultRecord>& records, const Diagnosis* diagnosis, const RunFacts& facts) {
  Verdict v;
  const std::vector<const ResultRecord*> rows = CheckRows(records);
  bool wholeCheck = !rows.empty();
  uint64_t rounding = 1048576;  // a test sized to the free space loses up to a block per file to rounding
  for (const ResultRecord* r : rows) {
    v.plannedBytes += r->bytes;
    v.writtenBytes += r->writtenBytes;
    v.checkedBytes += r->verifiedBytes;
    wholeCheck = wholeCheck && r->verified && r->stopReason == StopReason::kNone;
    rounding += r->blockSize;
  }
  v.verifyOnly = !rows.empty() && IsVerifyOnlyRecord(*rows.front());
  v.mbPerSecond = MediumSpeed(rows, &v.seconds);
  bool mediumErrors = false;
  for (const ResultRecord& r : records) {
    v.errors += r.errors;
    mediumErrors = mediumErrors || HasErrorVerdict(r);
  }
  const StopReason stop = RunStopReason(records, facts.stop);
  const bool badBlocks = diagnosis != nullptr && diagnosis->present;
  mediumErrors = mediumErrors || IsStopByErrors(stop) || badBlocks;
  v.freeBytes = facts.freeBytes;
  v.reserveBytes = facts.reserveBytes;
  v.roundingBytes = rounding;
  if (facts.freeBytes > facts.reserveBytes + kFreeSpaceSafetyBuffer) {
    v.wholeBytes = facts.freeBytes - facts.reserveBytes - kFreeSpaceSafetyBuffer;
  }

  // A drive that went away says nothing about the medium, whatever was counted on the way out.
  if (stop == StopReason::kDriveGone) {
    v.reason = stop;
    return v;
  }
  if (mediumErrors) {
    v.kind = VerdictKind::kFailed;
    v.reason = IsStopByErrors(stop) ? stop : StopReason::kNone;
    v.reliability = 0.0;
    if (badBlocks && !diagnosis->partial) v.usableBytes = diagnosis->usableBytes;
    return v;
  }
  if (!facts.final || stop != StopReason::kNone || !wholeCheck) {
    v.reason = stop;
    return v;
  }
  v.reliability = 100.0;
  v.usableBytes = v.checkedBytes;
  const bool partial = v.wholeBytes != 0 && v.plannedBytes + rounding < v.wholeBytes;
  v.kind = partial ? VerdictKind::kOkPartial : VerdictKind::kOk;
  return v;
}

VerdictHead VerdictHeadOf(const Verdict& v, int language) {
  VerdictHead head;
  switch (v.kind) {
    case VerdictKind::kOk:
      head.title = TranslateIn(L"verdict_ok", language);
      head.text = TranslateIn(v.verifyOnly            ? L"verdict_ok_verify_text"
                              : v.wholeBytes != 0 ? L"verdict_ok_text"
                                                  : L"verdict_ok_amount_text",
                              language);
      break;
    case VerdictKind::kOkPartial:
      head.icon = VerdictIcon::kWarning;
      head.title = TranslateIn(L"verdict_partial", language);
      head.text = PartialTestText(v, language);
      break;
    case VerdictKind::kFailed:
      head.icon = VerdictIcon::kError;
      head.title = TranslateIn(L"report_errors_found", language);
      head.text = TranslateIn(v.reason != StopReason::kNone ? L"report_errors_found_text" : L"verdict_failed_text",
                              language);
      break;
    case VerdictKind::kUnfinished:
      head.icon = VerdictIcon::kWarning;
      head.title = TranslateIn(L"report_aborted", language);
      head.text = TranslateIn(UnfinishedTextKey(v), language);
      break;
  }
  return head;
}

std::wstring PartialTestText(const Verdict& v, int language) {
  if (v.kind != VerdictKind::kOkPartial) return std::wstring();
  return FormatTextIn(L"verdict_partial_text", language,
                      {FormatByteSize(v.checkedBytes), FormatByteSize(v.wholeBytes),
                       PercentOf(v.checkedBytes, v.wholeBytes)});
}

std::wstring UntestedSpaceText(const Verdict& v, int language) {
  // A run that did not end tested less than it planned whatever the free space: its report says why.
  if (v.kind == VerdictKind::kUnfinished || v.freeBytes == 0 || v.plannedBytes == 0 || v.plannedBytes >= v.freeBytes) {
    return std::wstring();
  }
  uint64_t left = v.freeBytes - v.plannedBytes;
  std::wstring parts;
  const auto add = [&](const wchar_t* key, uint64_t bytes) {
    if (bytes == 0) return;
    if (!parts.empty()) parts += L", ";
    parts += FormatTextIn(key, language, {FormatByteSizeIn(bytes, language)});
    left -= bytes;
  };
  add(L"untested_reserve", std::min(v.reserveBytes, left));
  add(L"untested_buffer", std::min(kFreeSpaceSafetyBuffer, left));
  // What rounding to whole blocks leaves is no part of its own.
  if (left > v.roundingBytes) add(L"untested_outside", left);
  return FormatTextIn(L"untested_space", language,
                      {FormatByteSizeIn(v.freeBytes, language), FormatByteSizeIn(v.plannedBytes, language), parts});
}

std::wstring BuildResultSummary(const std::vector<ResultRecord>& records, int language) {
  return BuildResultSummary(records, JudgeRun(records, nullptr, RunFacts{}), language);
}

std::wstring BuildResultSummary(const std::vector<ResultRecord>& records, const Verdict& verdict, int language) {
  uint64_t written = 0;
  uint64_t readBack = 0;
  const uint64_t errorSum = verdict.errors;  // a method-test variant's errors are the medium's too
  bool incomplete = false;
  bool anyVerifyRow = false, anyWriteRow = false;
  std::wstring recommendation;

  for (const ResultRecord& r : records) {
    if (r.recommended) {
      recommendation = FormatTextIn(L"summary_variant", language,
                                    {LocalizeMethodText(r.method, language), std::to_wstring(r.workers),
                                     std::to_wstring(r.blockSize / 1024)});
    }
    if (!IsFullOrVerifyRecord(r)) continue;
    const bool verifyOnly = IsVerifyOnlyRecord(r);
    anyVerifyRow = anyVerifyRow || verifyOnly;
    anyWriteRow = anyWriteRow || !verifyOnly;
    if (!verifyOnly) written += r.writtenBytes;
    readBack += r.verifiedBytes;
    incomplete = incomplete || r.stopReason != StopReason::kNone;
  }
  if (records.empty() && written == 0 && readBack == 0) return TranslateIn(L"summary_none", language);

  const bool onlyVerifyRows = anyVerifyRow && !anyWriteRow;
  // Rows that only checked files an earlier run wrote: this run wrote nothing and says so.
  std::wstring text =
      onlyVerifyRows
          ? FormatTextIn(L"summary_head_verify", language, {FormatByteSize(readBack), std::to_wstring(errorSum)})
          : FormatTextIn(L"summary_head", language,
                         {FormatByteSize(written), FormatByteSize(readBack), std::to_wstring(errorSum)});
  // The verdict's figure, and none for a check that ended early without errors or read nothing.
  if (readBack != 0 && verdict.reliability) {
    text += FormatTextIn(L"summary_reliability", language, {FormatPercent(*verdict.reliability)});
  }
  if (incomplete || (verdict.kind == VerdictKind::kUnfinished && !verdict.reliability && readBack != 0)) {
    text += TranslateIn(L"summary_incomplete", language);
  }
  if (verdict.mbPerSecond > 0.0) text += FormatTextIn(L"summary_speed", language, {FormatDecimal2(verdict.mbPerSecond)});
  if (verdict.kind == VerdictKind::kOkPartial) text += L"\r\n" + PartialTestText(verdict, language);
  const std::wstring untested = UntestedSpaceText(verdict, language);
  if (!untested.empty()) text += L"\r\n" + untested;
  // No variant is recommended for a medium that failed.
  if (!recommendation.empty() && verdict.kind != VerdictKind::kFailed) {
    text += FormatTextIn(L"summary_recommendation", language, {recommendation});
  }
  return text;
}

}  // namespace velkor
