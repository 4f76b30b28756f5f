#include "results/result_report.h"

#include <algorithm>

#include "common/format.h"

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

std::wstring ReadBackText(const FullTestFigures& f, const wchar_t* none) {
  if (f.allVerified) return FormatByteSize(f.bytes);
  return f.verifiedBytes > 0 ? FormatByteSize(f.verifiedBytes) : std::wstring(none);
}

void AppendFullBlockHead(std::wstring& text, const FullTestFigures& f) {
  text += L"Volltest / Prüfung\r\n";
  text += L"  Art des Zugriffs: " + f.last->method + L"\r\n";
  text += L"  Worker: " + std::to_wstring(f.last->workers) + L"\r\n";
  text += L"  Blockgröße: " + BlockKb(*f.last) + L" KB\r\n";
}

void AppendFullBlockTail(std::wstring& text, const FullTestFigures& f) {
  text += L"  Fehler: " + std::to_wstring(f.errors) + L"\r\n";
  text += L"  Dauer: " + FormatDuration(f.seconds) + L"\r\n";
  text += L"  Geschwindigkeit: " + FormatDecimal2(f.mbPerSecond) + L" MB/s\r\n\r\n";
}

// The diagnosis of a run that found bad blocks, between the full-test figures and the summary.
std::wstring DiagnosisBlock(const Diagnosis* diagnosis) {
  return diagnosis != nullptr && diagnosis->present ? DiagnosisReportBlock(*diagnosis) + L"\r\n" : std::wstring();
}

// A run the medium's errors ended: what was done, and that the medium is not to be trusted.
std::wstring ErrorStopBody(const FullTestFigures& f, StopReason reason, const Diagnosis* diagnosis) {
  std::wstring text = L"FEHLER GEFUNDEN\r\n";
  text += L"Der Test wurde wegen Fehlern des Mediums beendet. Diesem Medium dürfen keine Daten anvertraut "
          L"werden.\r\n\r\n";
  if (f.last != nullptr) {
    AppendFullBlockHead(text, f);
    text += L"  Geplante Testmenge: " + FormatByteSize(f.bytes) + L"\r\n";
    text += L"  Geschrieben: " + FormatByteSize(f.written) + L"\r\n";
    text += L"  Zurück gelesen/geprüft: " + FormatByteSize(f.verifiedBytes) + L"\r\n";
    text += std::wstring(L"  Status: ") +
            (reason == StopReason::kErrorLimit ? L"Fehlergrenze erreicht" : L"Lese- oder Schreibfehler") + L"\r\n";
    AppendFullBlockTail(text, f);
  }
  text += DiagnosisBlock(diagnosis);
  text += L"Zusammenfassung: Fehler gefunden. Geschrieben " + FormatByteSize(f.written) +
          L", zurück gelesen/geprüft " + FormatByteSize(f.verifiedBytes) + L", Fehler " + std::to_wstring(f.errors) +
          L". Das Medium ist nicht zuverlässig.\r\n";
  return text;
}

// The reason that ended the run: the run's own, else the first a row carries.
StopReason RunStopReason(const std::vector<ResultRecord>& records, StopReason runStop) {
  if (runStop != StopReason::kNone) return runStop;
  for (const ResultRecord& r : records) {
    if (r.stopReason != StopReason::kNone) return r.stopReason;
  }
  return std::any_of(records.begin(), records.end(), [](const ResultRecord& r) { return r.cancelled; })
             ? StopReason::kUser
             : StopReason::kNone;
}

}  // namespace

ResultReport BuildResultReport(const std::vector<ResultRecord>& records, StopReason runStop,
                               const Diagnosis* diagnosis) {
  const StopReason reason = RunStopReason(records, runStop);
  const bool stopped = reason != StopReason::kNone;
  const FullTestFigures full = SumFullTest(records);
  const int32_t fastestIndex = FindFastestResult(records);
  const ResultRecord* fastest = fastestIndex >= 0 ? &records[static_cast<size_t>(fastestIndex)] : nullptr;
  const std::wstring prompt = L"Ja = diese Meldung als Text exportieren.\r\nNein = nur schließen.";

  std::wstring text = L"Velkor Ergebnis\r\n====================\r\n\r\n";
  if (IsStopByErrors(reason)) return {text + ErrorStopBody(full, reason, diagnosis), prompt};

  if (reason == StopReason::kFileSystemLimit) {
    text += L"ABGEBROCHEN\r\nDas Dateisystem nimmt keine so große Testdatei an. Das ist kein Fehler des Mediums, "
            L"aber auch keine erfolgreiche Vollprüfung.\r\n\r\n";
  } else if (reason == StopReason::kFileHeld) {
    text += L"ABGEBROCHEN\r\nEine Testdatei war auch nach einigen Sekunden noch von einem anderen Programm "
            L"geöffnet (etwa einem Virenscanner). Das ist kein Fehler des Mediums, aber auch keine erfolgreiche "
            L"Vollprüfung.\r\n\r\n";
  } else if (stopped) {
    text += L"ABGEBROCHEN\r\nDer Test wurde gestoppt. Das ist keine erfolgreiche Vollprüfung.\r\n\r\n";
  } else if (fastest != nullptr) {
    text += L"Schnellste Variante\r\n";
    text += L"  Art des Zugriffs: " + fastest->method + L"\r\n";
    text += L"  Worker: " + std::to_wstring(fastest->workers) + L"\r\n";
    text += L"  Blockgröße: " + BlockKb(*fastest) + L" KB\r\n";
    text += L"  Geschwindigkeit: " + FormatDecimal2(fastest->mbPerSecond) + L" MB/s\r\n\r\n";
  }

  if (full.last != nullptr) {
    AppendFullBlockHead(text, full);
    if (stopped) {
      text += L"  Geplante Testmenge: " + FormatByteSize(full.bytes) + L"\r\n";
      text += L"  Status: abgebrochen\r\n";
    } else {
      text += (full.verifyOnly ? L"  Geprüfte Menge: " : L"  Testmenge: ") + FormatByteSize(full.bytes) + L"\r\n";
      text += L"  Zurück gelesen/geprüft: " + ReadBackText(full, L"nein") + L"\r\n";
    }
    AppendFullBlockTail(text, full);
  }
  text += DiagnosisBlock(diagnosis);

  if (stopped) {
    text += L"Zusammenfassung: abgebrochen. Angezeigte Mengen sind geplant oder teilweise bearbeitet, "
            L"nicht vollständig erfolgreich geprüft.\r\n";
  } else if (full.last == nullptr) {
    text += L"Zusammenfassung: keine Ergebnisse.\r\n";
  } else {
    // All or nothing, and nothing for a check that did not read everything back.
    const double reliability = full.bytes != 0 && full.errors == 0 && full.allVerified ? 100.0 : 0.0;
    const std::wstring writtenPiece =
        full.verifyOnly ? L"nur geprüft (nichts geschrieben)" : L"geschrieben " + FormatByteSize(full.bytes);
    text += L"Zusammenfassung: " + writtenPiece + L", zurück gelesen/geprüft " +
            ReadBackText(full, L"0 B") + L", Fehler " + std::to_wstring(full.errors) + L", Zuverlässigkeit " +
            FormatPercent(reliability) + L", \u00D8 " + FormatDecimal2(full.mbPerSecond) + L" MB/s\r\n";
    if (fastest != nullptr) {
      text += L"Empfehlung: " + fastest->method + L", Worker " + std::to_wstring(fastest->workers) + L", Block " +
              BlockKb(*fastest) + L" KB\r\n";
    }
  }
  return {text, prompt};
}

std::wstring ReportBoxText(const ResultReport& report) { return report.body + L"\r\n" + report.prompt; }

}  // namespace velkor
