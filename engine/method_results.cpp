#include "engine/method_results.h"

#include <string>

#include "common/diag_log.h"
#include "common/format.h"

namespace velkor {
namespace {

int32_t ChooseRecommendation(const std::vector<ResultRecord>& records, bool honourProfile, bool reliableProfile) {
  int32_t choice = -1;
  for (size_t i = 0; i < records.size(); ++i) {
    const ResultRecord& r = records[i];
    if (r.cancelled || HasErrorVerdict(r) || r.stopReason != StopReason::kNone) continue;
    if (honourProfile && reliableProfile && !r.verified) continue;
    if (choice == -1 || r.mbPerSecond > records[static_cast<size_t>(choice)].mbPerSecond) {
      choice = static_cast<int32_t>(i);
    }
  }
  return choice;
}

}  // namespace

void LogTestListAndRecommend(const TestConfig& config, std::vector<ResultRecord>& records) {
  AppendDiagLog(L"Testliste:");
  for (const ResultRecord& r : records) {
    std::wstring line = L"  Art des Zugriffs " + r.method + L", Worker " + std::to_wstring(r.workers) + L", " +
                        std::to_wstring(r.bytes / 1048576) + L" MB, " + FormatDecimal2(r.mbPerSecond) + L" MB/s";
    if (r.verified) line += L", geprüft";
    if (r.errors != 0) line += L", Fehler " + std::to_wstring(r.errors);
    if (r.cancelled) line += L", abgebrochen";
    if (IsStopByErrors(r.stopReason)) line += L", wegen Fehlern beendet";
    AppendDiagLog(line);
  }
  const bool reliable = config.accessProfile == kProfileReliable;
  int32_t choice = ChooseRecommendation(records, true, reliable);
  if (choice == -1) choice = ChooseRecommendation(records, false, reliable);
  for (ResultRecord& r : records) r.recommended = false;
  if (choice == -1) {
    AppendDiagLog(L"Empfehlung: keine sichere Empfehlung, weil alle Varianten Fehler oder Abbruch meldeten.");
    return;
  }
  ResultRecord& chosen = records[static_cast<size_t>(choice)];
  chosen.recommended = true;
  AppendDiagLog(L"Empfehlung: " + chosen.method + L" mit " + std::to_wstring(chosen.workers) + L" Worker(n), " +
                FormatDecimal2(chosen.mbPerSecond) + L" MB/s.");
}

}  // namespace velkor
