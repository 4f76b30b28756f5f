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

// BuildResultSummary lives with the verdict (results/verdict.cpp), whose figures it shows.

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
