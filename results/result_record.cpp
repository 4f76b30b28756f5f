#include "results/result_record.h"

#include "common/format.h"

namespace velkor {

std::wstring ResultText(const ResultRecord& record) {
  if (record.recommended) return L"Empfehlung";
  if (record.cancelled) return L"abgebrochen";
  if (record.errors != 0) return L"Fehler";
  return L"OK";
}

bool IsFullOrVerifyRecord(const ResultRecord& record) {
  return record.method.find(L"Volltest") != std::wstring::npos ||
         record.method.find(L"nur prüfen") != std::wstring::npos;
}

std::wstring BuildResultSummary(const std::vector<ResultRecord>& records) {
  uint64_t written = 0;
  uint64_t readBack = 0;
  uint64_t errorSum = 0;
  double weightedSpeed = 0.0;
  uint64_t speedBytes = 0;
  std::wstring recommendation;

  for (const ResultRecord& r : records) {
    if (r.recommended) {
      recommendation = r.method + L", Worker " + std::to_wstring(r.workers) + L", Block " +
                       std::to_wstring(r.blockSize / 1024) + L" KB";
    }
    if (!IsFullOrVerifyRecord(r)) continue;
    if (r.method.find(L"nur prüfen") == std::wstring::npos) written += r.bytes;
    if (r.verified) readBack += r.bytes;
    errorSum += r.errors;
    if (r.mbPerSecond > 0.0) {
      weightedSpeed += r.mbPerSecond * static_cast<double>(r.bytes);
      speedBytes += r.bytes;
    }
  }
  if (records.empty() && written == 0 && readBack == 0) return L"Zusammenfassung: Noch keine Ergebnisse.";

  const double average = speedBytes != 0 ? weightedSpeed / static_cast<double>(speedBytes) : 0.0;
  const double reliability = readBack > 0 && errorSum == 0 ? 100.0 : 0.0;
  std::wstring text = L"Zusammenfassung: geschrieben " + FormatByteSize(written) +
                      L", zurück gelesen/geprüft " + FormatByteSize(readBack) + L", Fehler " +
                      std::to_wstring(errorSum);
  if (readBack != 0) text += L", Zuverlässigkeit " + FormatPercent(reliability);
  if (average > 0.0) text += L", \u00D8 " + FormatDecimal2(average) + L" MB/s";
  if (!recommendation.empty()) text += L"\r\nEmpfehlung: " + recommendation;
  return text;
}

int32_t FindFastestResult(const std::vector<ResultRecord>& records) {
  int32_t best = -1;
  double bestScore = -1.0;
  for (size_t i = 0; i < records.size(); ++i) {
    const ResultRecord& r = records[i];
    if (r.cancelled || r.errors != 0 || !(r.mbPerSecond > 0.0)) continue;
    const double score = r.mbPerSecond + (r.verified ? 0.001 : 0.0);
    if (score > bestScore) {
      bestScore = score;
      best = static_cast<int32_t>(i);
    }
  }
  return best;
}

}  // namespace velkor
