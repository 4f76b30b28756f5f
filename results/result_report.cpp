#include "results/result_report.h"

#include <algorithm>

#include "common/format.h"

namespace velkor {
namespace {

// The full-test figures come from the last "(Volltest)" row; without one, from the last row.
const ResultRecord* FindFullRow(const std::vector<ResultRecord>& records) {
  for (auto it = records.rbegin(); it != records.rend(); ++it) {
    if (it->method.find(L"(Volltest)") != std::wstring::npos) return &*it;
  }
  return records.empty() ? nullptr : &records.back();
}

std::wstring BlockKb(const ResultRecord& r) { return std::to_wstring(r.blockSize / 1024); }

}  // namespace

ResultReport BuildResultReport(const std::vector<ResultRecord>& records, bool runStopRequested) {
  const bool stopped = runStopRequested ||
                       std::any_of(records.begin(), records.end(), [](const ResultRecord& r) { return r.cancelled; });
  const ResultRecord* full = FindFullRow(records);
  const int32_t fastestIndex = FindFastestResult(records);
  const ResultRecord* fastest = fastestIndex >= 0 ? &records[static_cast<size_t>(fastestIndex)] : nullptr;

  std::wstring text = L"Velkor Ergebnis\r\n====================\r\n\r\n";
  if (stopped) {
    text += L"ABGEBROCHEN\r\nDer Test wurde gestoppt. Das ist keine erfolgreiche Vollprüfung.\r\n\r\n";
  } else if (fastest != nullptr) {
    text += L"Schnellste Variante\r\n";
    text += L"  Art des Zugriffs: " + fastest->method + L"\r\n";
    text += L"  Worker: " + std::to_wstring(fastest->workers) + L"\r\n";
    text += L"  Blockgröße: " + BlockKb(*fastest) + L" KB\r\n";
    text += L"  Geschwindigkeit: " + FormatDecimal2(fastest->mbPerSecond) + L" MB/s\r\n\r\n";
  }

  if (full != nullptr) {
    text += L"Volltest / Prüfung\r\n";
    text += L"  Art des Zugriffs: " + full->method + L"\r\n";
    text += L"  Worker: " + std::to_wstring(full->workers) + L"\r\n";
    text += L"  Blockgröße: " + BlockKb(*full) + L" KB\r\n";
    if (stopped) {
      text += L"  Geplante Testmenge: " + FormatByteSize(full->bytes) + L"\r\n";
      text += L"  Status: abgebrochen\r\n";
    } else {
      text += L"  Testmenge: " + FormatByteSize(full->bytes) + L"\r\n";
      text += L"  Zurück gelesen/geprüft: " + (full->verified ? FormatByteSize(full->bytes) : L"nein") + L"\r\n";
    }
    text += L"  Fehler: " + std::to_wstring(full->errors) + L"\r\n";
    text += L"  Dauer: " + FormatDuration(full->seconds) + L"\r\n";
    text += L"  Geschwindigkeit: " + FormatDecimal2(full->mbPerSecond) + L" MB/s\r\n\r\n";
  }

  if (stopped) {
    text += L"Zusammenfassung: abgebrochen. Angezeigte Mengen sind geplant oder teilweise bearbeitet, "
            L"nicht vollständig erfolgreich geprüft.\r\n";
  } else if (full == nullptr) {
    text += L"Zusammenfassung: keine Ergebnisse.\r\n";
  } else {
    const double reliability = full->bytes != 0 && full->errors == 0 ? 100.0 : 0.0;
    text += L"Zusammenfassung: geschrieben " + FormatByteSize(full->bytes) + L", zurück gelesen/geprüft " +
            (full->verified ? FormatByteSize(full->bytes) : L"0 B") + L", Fehler " + std::to_wstring(full->errors) +
            L", Zuverlässigkeit " + FormatPercent(reliability) + L", \u00D8 " + FormatDecimal2(full->mbPerSecond) +
            L" MB/s\r\n";
    if (fastest != nullptr) {
      text += L"Empfehlung: " + fastest->method + L", Worker " + std::to_wstring(fastest->workers) + L", Block " +
              BlockKb(*fastest) + L" KB\r\n";
    }
  }
  return {text, L"Ja = diese Meldung als Text exportieren.\r\nNein = nur schließen."};
}

std::wstring ReportBoxText(const ResultReport& report) { return report.body + L"\r\n" + report.prompt; }

}  // namespace velkor
