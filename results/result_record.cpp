#include "results/result_record.h"

#include "common/format.h"

namespace velkor {
namespace {

struct ReasonName {
  StopReason reason;
  const wchar_t* name;
};
constexpr ReasonName kReasonNames[] = {
    {StopReason::kNone, L"none"},           {StopReason::kUser, L"user"},
    {StopReason::kDriveGone, L"driveGone"}, {StopReason::kErrorLimit, L"errorLimit"},
    {StopReason::kIoFailure, L"ioFailure"}, {StopReason::kFileSystemLimit, L"fileSystemLimit"},
    {StopReason::kFileHeld, L"fileHeld"},   {StopReason::kSessionEnd, L"sessionEnd"},
};

}  // namespace

bool IsStopByErrors(StopReason reason) {
  return reason == StopReason::kErrorLimit || reason == StopReason::kIoFailure;
}

bool IsCancelStop(StopReason reason) {
  return reason == StopReason::kUser || reason == StopReason::kDriveGone || reason == StopReason::kFileSystemLimit ||
         reason == StopReason::kFileHeld || reason == StopReason::kSessionEnd;
}

const wchar_t* StopReasonName(StopReason reason) {
  for (const ReasonName& entry : kReasonNames) {
    if (entry.reason == reason) return entry.name;
  }
  return L"none";
}

StopReason StopReasonFromName(const std::wstring& name) {
  for (const ReasonName& entry : kReasonNames) {
    if (name == entry.name) return entry.reason;
  }
  return StopReason::kNone;
}

bool HasErrorVerdict(const ResultRecord& record) {
  return record.errors != 0 || IsStopByErrors(record.stopReason);
}

std::wstring ResultText(const ResultRecord& record) {
  if (record.recommended) return L"Empfehlung";
  if (record.cancelled) return L"abgebrochen";
  if (HasErrorVerdict(record)) return L"Fehler";
  return L"OK";
}

bool IsFullOrVerifyRecord(const ResultRecord& record) {
  return record.method.find(L"Volltest") != std::wstring::npos ||
         record.method.find(L"nur prüfen") != std::wstring::npos;
}

std::wstring LocalizeMethodText(const std::wstring& method, int language) {
  if (language == kLanguageGerman) return method;
  std::wstring text = method;
  for (const wchar_t* key : {L"method_full_test", L"method_verify_only", L"profile_turbo", L"profile_quorvel",
                             L"profile_reliable", L"profile_balanced"}) {
    const std::wstring german = TranslateIn(key, kLanguageGerman);
    const size_t at = text.find(german);
    if (at != std::wstring::npos) text.replace(at, german.size(), TranslateIn(key, language));
  }
  return text;
}

std::wstring BuildResultSummary(const std::vector<ResultRecord>& records, int language) {
  uint64_t written = 0;
  uint64_t readBack = 0;
  uint64_t errorSum = 0;
  double weightedSpeed = 0.0;
  uint64_t speedBytes = 0;
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
    const bool verifyOnly = r.method.find(L"nur prüfen") != std::wstring::npos;
    anyVerifyRow = anyVerifyRow || verifyOnly;
    anyWriteRow = anyWriteRow || !verifyOnly;
    if (!verifyOnly) written += r.writtenBytes;
    readBack += r.verifiedBytes;
    errorSum += r.errors;
    incomplete = incomplete || r.stopReason != StopReason::kNone;
    if (r.mbPerSecond > 0.0) {
      weightedSpeed += r.mbPerSecond * static_cast<double>(r.bytes);
      speedBytes += r.bytes;
    }
  }
  if (records.empty() && written == 0 && readBack == 0) return TranslateIn(L"summary_none", language);

  const bool onlyVerifyRows = anyVerifyRow && !anyWriteRow;
  const double average = speedBytes != 0 ? weightedSpeed / static_cast<double>(speedBytes) : 0.0;
  const double reliability = readBack > 0 && errorSum == 0 && !incomplete ? 100.0 : 0.0;
  // Rows that only checked files an earlier run wrote: this run wrote nothing and says so.
  std::wstring text =
      onlyVerifyRows
          ? FormatTextIn(L"summary_head_verify", language, {FormatByteSize(readBack), std::to_wstring(errorSum)})
          : FormatTextIn(L"summary_head", language,
                         {FormatByteSize(written), FormatByteSize(readBack), std::to_wstring(errorSum)});
  // An early end without errors says nothing about the rest of the medium: no figure for it.
  if (readBack != 0 && !(incomplete && errorSum == 0)) {
    text += FormatTextIn(L"summary_reliability", language, {FormatPercent(reliability)});
  }
  if (incomplete) text += TranslateIn(L"summary_incomplete", language);
  if (average > 0.0) text += FormatTextIn(L"summary_speed", language, {FormatDecimal2(average)});
  if (!recommendation.empty()) text += FormatTextIn(L"summary_recommendation", language, {recommendation});
  return text;
}

int32_t FindFastestResult(const std::vector<ResultRecord>& records) {
  int32_t best = -1;
  double bestScore = -1.0;
  for (size_t i = 0; i < records.size(); ++i) {
    const ResultRecord& r = records[i];
    if (r.cancelled || HasErrorVerdict(r) || r.stopReason != StopReason::kNone || !(r.mbPerSecond > 0.0)) continue;
    const double score = r.mbPerSecond + (r.verified ? 0.001 : 0.0);
    if (score > bestScore) {
      bestScore = score;
      best = static_cast<int32_t>(i);
    }
  }
  return best;
}

}  // namespace velkor
