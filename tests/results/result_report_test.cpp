#include "results/result_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velkor {
namespace {

constexpr uint64_t kMiB = 1048576;
constexpr uint64_t kGiB = 1073741824;

struct Row {
  const wchar_t* method;
  uint32_t workers;
  uint32_t blockSize;
  uint64_t bytes;
  double speed;
  double seconds;
  uint64_t errors;
  bool verified;
  bool cancelled = false;
  bool recommended = false;
  StopReason stop = StopReason::kNone;  // with amounts actually done below
  uint64_t written = 0;
  uint64_t verifiedBytes = 0;
};

std::vector<ResultRecord> Records(const std::vector<Row>& rows) {
  std::vector<ResultRecord> records;
  for (const Row& row : rows) {
    ResultRecord r;
    r.method = row.method;
    r.workers = row.workers;
    r.blockSize = row.blockSize;
    r.bytes = row.bytes;
    r.mbPerSecond = row.speed;
    r.seconds = row.seconds;
    r.errors = row.errors;
    r.verified = row.verified;
    r.cancelled = row.cancelled;
    r.recommended = row.recommended;
    r.stopReason = row.cancelled && row.stop == StopReason::kNone ? StopReason::kUser : row.stop;
    // A row that ran through wrote and read back its planned amount.
    const bool through = r.stopReason == StopReason::kNone;
    r.writtenBytes = through ? row.bytes : row.written;
    r.verifiedBytes = through ? (row.verified ? row.bytes : 0) : row.verifiedBytes;
    records.push_back(r);
  }
  return records;
}

const std::wstring kTitle = L"Velkor Ergebnis\r\n====================\r\n\r\n";
const std::wstring kPrompt = L"\r\nJa = diese Meldung als Text exportieren.\r\nNein = nur schließen.";
const std::wstring kStoppedHead =
    L"ABGEBROCHEN\r\nDer Test wurde gestoppt. Das ist keine erfolgreiche Vollprüfung.\r\n\r\n";
const std::wstring kStoppedSummary =
    L"Zusammenfassung: abgebrochen. Angezeigte Mengen sind geplant oder teilweise bearbeitet, nicht "
    L"vollständig erfolgreich geprüft.\r\n";

// A method-test variant that a stopped run must not name as fastest or recommend.
const Row kFastTurbo = {L"Turbo (aggressiv)", 2, 1048576, 256 * kMiB, 41.27, 12.41, 0, true};

TEST(ResultReport, ExactTexts) {
  const struct {
    const char* what;
    std::vector<Row> rows;
    StopReason runStop;
    std::wstring expected;
  } cases[] = {
      {"stopped by the run's stop flag",
       {kFastTurbo, {L"Zuverlässig (Volltest)", 4, 1048576, 8 * kGiB, 0.0, 100.0, 0, true}},
       StopReason::kUser,
       kTitle + kStoppedHead +
           L"Volltest / Prüfung\r\n"
           L"  Art des Zugriffs: Zuverlässig (Volltest)\r\n"
           L"  Worker: 4\r\n"
           L"  Blockgröße: 1024 KB\r\n"
           L"  Geplante Testmenge: 8.0 GB\r\n"
           L"  Status: abgebrochen\r\n"
           L"  Fehler: 0\r\n"
           L"  Dauer: 00:01:40\r\n"
           L"  Geschwindigkeit: 0.00 MB/s\r\n\r\n" +
           kStoppedSummary + kPrompt},
      {"stopped: a cancelled row without the flag",
       {kFastTurbo, {L"Zuverlässig (Volltest)", 4, 1048576, 8 * kGiB, 0.0, 100.0, 0, true, true}},
       StopReason::kNone,
       kTitle + kStoppedHead +
           L"Volltest / Prüfung\r\n"
           L"  Art des Zugriffs: Zuverlässig (Volltest)\r\n"
           L"  Worker: 4\r\n"
           L"  Blockgröße: 1024 KB\r\n"
           L"  Geplante Testmenge: 8.0 GB\r\n"
           L"  Status: abgebrochen\r\n"
           L"  Fehler: 0\r\n"
           L"  Dauer: 00:01:40\r\n"
           L"  Geschwindigkeit: 0.00 MB/s\r\n\r\n" +
           kStoppedSummary + kPrompt},
      {"run without method test: the one row is fastest and full row",
       {{L"Quorvel-Modus (Volltest)", 4, 1048576, kGiB, 20.0, 51.2, 0, true}},
       StopReason::kNone,
       kTitle +
           L"Schnellste Variante\r\n"
           L"  Art des Zugriffs: Quorvel-Modus (Volltest)\r\n"
           L"  Worker: 4\r\n"
           L"  Blockgröße: 1024 KB\r\n"
           L"  Geschwindigkeit: 20.00 MB/s\r\n\r\n"
           L"Volltest / Prüfung\r\n"
           L"  Art des Zugriffs: Quorvel-Modus (Volltest)\r\n"
           L"  Worker: 4\r\n"
           L"  Blockgröße: 1024 KB\r\n"
           L"  Testmenge: 1.0 GB\r\n"
           L"  Zurück gelesen/geprüft: 1.0 GB\r\n"
           L"  Fehler: 0\r\n"
           L"  Dauer: 00:00:51\r\n"
           L"  Geschwindigkeit: 20.00 MB/s\r\n\r\n"
           L"Zusammenfassung: geschrieben 1.0 GB, zurück gelesen/geprüft 1.0 GB, Fehler 0, Zuverlässigkeit "
           L"100.00%, \u00D8 20.00 MB/s\r\n"
           L"Empfehlung: Quorvel-Modus (Volltest), Worker 4, Block 1024 KB\r\n" +
           kPrompt},
      {"verify-only run: checked, nothing written",
       {{L"Ausgeglichen (nur prüfen)", 2, 1048576, 64 * kMiB, 30.0, 2.0, 0, true}},
       StopReason::kNone,
       kTitle +
           L"Schnellste Variante\r\n"
           L"  Art des Zugriffs: Ausgeglichen (nur prüfen)\r\n"
           L"  Worker: 2\r\n"
           L"  Blockgröße: 1024 KB\r\n"
           L"  Geschwindigkeit: 30.00 MB/s\r\n\r\n"
           L"Volltest / Prüfung\r\n"
           L"  Art des Zugriffs: Ausgeglichen (nur prüfen)\r\n"
           L"  Worker: 2\r\n"
           L"  Blockgröße: 1024 KB\r\n"
           L"  Geprüfte Menge: 64.0 MB\r\n"
           L"  Zurück gelesen/geprüft: 64.0 MB\r\n"
           L"  Fehler: 0\r\n"
           L"  Dauer: 00:00:02\r\n"
           L"  Geschwindigkeit: 30.00 MB/s\r\n\r\n"
           L"Zusammenfassung: nur geprüft (nichts geschrieben), zurück gelesen/geprüft 64.0 MB, Fehler 0, "
           L"Zuverlässigkeit 100.00%, \u00D8 30.00 MB/s\r\n"
           L"Empfehlung: Ausgeglichen (nur prüfen), Worker 2, Block 1024 KB\r\n" +
           kPrompt},
      {"run with errors: the faster row with errors is not the fastest",
       {kFastTurbo,
        {L"Ausgeglichen", 4, 524288, 256 * kMiB, 99.0, 3.0, 5, true},
        {L"Turbo (aggressiv) (Volltest)", 2, 1048576, 2 * kGiB, 0.0, 3725.5, 12, true}},
       StopReason::kNone,
       kTitle +
           L"Schnellste Variante\r\n"
           L"  Art des Zugriffs: Turbo (aggressiv)\r\n"
           L"  Worker: 2\r\n"
           L"  Blockgröße: 1024 KB\r\n"
           L"  Geschwindigkeit: 41.27 MB/s\r\n\r\n"
           L"Volltest / Prüfung\r\n"
           L"  Art des Zugriffs: Turbo (aggressiv) (Volltest)\r\n"
           L"  Worker: 2\r\n"
           L"  Blockgröße: 1024 KB\r\n"
           L"  Testmenge: 2.0 GB\r\n"
           L"  Zurück gelesen/geprüft: 2.0 GB\r\n"
           L"  Fehler: 12\r\n"
           L"  Dauer: 01:02:06\r\n"
           L"  Geschwindigkeit: 0.00 MB/s\r\n\r\n"
           L"Zusammenfassung: geschrieben 2.0 GB, zurück gelesen/geprüft 2.0 GB, Fehler 12, Zuverlässigkeit "
           L"0.00%, \u00D8 0.00 MB/s\r\n"
           L"Empfehlung: Turbo (aggressiv), Worker 2, Block 1024 KB\r\n" +
           kPrompt},
      {"full row without verify: \"nein\" and \"0 B\"",
       {{L"Ausgeglichen (Volltest)", 1, 65536, 500 * kMiB, 12.5, 40.0, 0, false}},
       StopReason::kNone,
       kTitle +
           L"Schnellste Variante\r\n"
           L"  Art des Zugriffs: Ausgeglichen (Volltest)\r\n"
           L"  Worker: 1\r\n"
           L"  Blockgröße: 64 KB\r\n"
           L"  Geschwindigkeit: 12.50 MB/s\r\n\r\n"
           L"Volltest / Prüfung\r\n"
           L"  Art des Zugriffs: Ausgeglichen (Volltest)\r\n"
           L"  Worker: 1\r\n"
           L"  Blockgröße: 64 KB\r\n"
           L"  Testmenge: 500.0 MB\r\n"
           L"  Zurück gelesen/geprüft: nein\r\n"
           L"  Fehler: 0\r\n"
           L"  Dauer: 00:00:40\r\n"
           L"  Geschwindigkeit: 12.50 MB/s\r\n\r\n"
           L"Zusammenfassung: geschrieben 500.0 MB, zurück gelesen/geprüft 0 B, Fehler 0, Zuverlässigkeit "
           L"0.00%, \u00D8 12.50 MB/s\r\n"
           L"Empfehlung: Ausgeglichen (Volltest), Worker 1, Block 64 KB\r\n" +
           kPrompt},
      {"several full-test files: all of them count",
       {{L"Zuverlässig", 2, 1048576, 128 * kMiB, 30.5, 8.0, 0, true, false, true},
        {L"Zuverlässig (Volltest)", 2, 1048576, 4 * kGiB, 25.0, 163.8, 0, true},
        {L"Zuverlässig (Volltest)", 2, 1048576, 1610612736, 18.75, 81.9, 0, true},
        {L"Turbo (aggressiv)", 4, 1048576, 128 * kMiB, 45.0, 5.7, 0, true}},
       StopReason::kNone,
       kTitle +
           L"Schnellste Variante\r\n"
           L"  Art des Zugriffs: Turbo (aggressiv)\r\n"
           L"  Worker: 4\r\n"
           L"  Blockgröße: 1024 KB\r\n"
           L"  Geschwindigkeit: 45.00 MB/s\r\n\r\n"
           L"Volltest / Prüfung\r\n"
           L"  Art des Zugriffs: Zuverlässig (Volltest)\r\n"
           L"  Worker: 2\r\n"
           L"  Blockgröße: 1024 KB\r\n"
           L"  Testmenge: 5.5 GB\r\n"
           L"  Zurück gelesen/geprüft: 5.5 GB\r\n"
           L"  Fehler: 0\r\n"
           L"  Dauer: 00:04:06\r\n"
           L"  Geschwindigkeit: 22.92 MB/s\r\n\r\n"
           L"Zusammenfassung: geschrieben 5.5 GB, zurück gelesen/geprüft 5.5 GB, Fehler 0, Zuverlässigkeit "
           L"100.00%, \u00D8 22.92 MB/s\r\n"
           L"Empfehlung: Turbo (aggressiv), Worker 4, Block 1024 KB\r\n" +
           kPrompt},
      {"no qualifying fastest row and an empty job: no head block, no recommendation",
       {{L"Ausgeglichen", 1, 1048576, 0, 0.0, 0.0, 0, true}},
       StopReason::kNone,
       kTitle +
           L"Volltest / Prüfung\r\n"
           L"  Art des Zugriffs: Ausgeglichen\r\n"
           L"  Worker: 1\r\n"
           L"  Blockgröße: 1024 KB\r\n"
           L"  Testmenge: 0.0 B\r\n"
           L"  Zurück gelesen/geprüft: 0.0 B\r\n"
           L"  Fehler: 0\r\n"
           L"  Dauer: 00:00:00\r\n"
           L"  Geschwindigkeit: 0.00 MB/s\r\n\r\n"
           L"Zusammenfassung: geschrieben 0.0 B, zurück gelesen/geprüft 0.0 B, Fehler 0, Zuverlässigkeit "
           L"0.00%, \u00D8 0.00 MB/s\r\n" +
           kPrompt},
      {"several files, the first one overwritten by the later ones: its errors count",
       {{L"Quorvel-Modus (Volltest)", 4, 1048576, 3800 * kMiB, 0.0, 90.0, 200, true},
        {L"Quorvel-Modus (Volltest)", 4, 1048576, 200 * kMiB, 40.0, 10.0, 0, true}},
       StopReason::kNone,
       kTitle +
           L"Schnellste Variante\r\n"
           L"  Art des Zugriffs: Quorvel-Modus (Volltest)\r\n"
           L"  Worker: 4\r\n"
           L"  Blockgröße: 1024 KB\r\n"
           L"  Geschwindigkeit: 40.00 MB/s\r\n\r\n"
           L"Volltest / Prüfung\r\n"
           L"  Art des Zugriffs: Quorvel-Modus (Volltest)\r\n"
           L"  Worker: 4\r\n"
           L"  Blockgröße: 1024 KB\r\n"
           L"  Testmenge: 3.9 GB\r\n"
           L"  Zurück gelesen/geprüft: 3.9 GB\r\n"
           L"  Fehler: 200\r\n"
           L"  Dauer: 00:01:40\r\n"
           L"  Geschwindigkeit: 0.00 MB/s\r\n\r\n"
           L"Zusammenfassung: geschrieben 3.9 GB, zurück gelesen/geprüft 3.9 GB, Fehler 200, Zuverlässigkeit "
           L"0.00%, \u00D8 0.00 MB/s\r\n"
           L"Empfehlung: Quorvel-Modus (Volltest), Worker 4, Block 1024 KB\r\n" +
           kPrompt},
      {"ended by the error limit: errors found, not a user's stop",
       {kFastTurbo,
        {L"Zuverlässig (Volltest)", 4, 1048576, 8 * kGiB, 0.0, 100.0, 500, false, false, false,
         StopReason::kErrorLimit, 8 * kGiB, 1536 * kMiB},
        {L"Zuverlässig (Volltest)", 4, 1048576, 2 * kGiB, 0.0, 20.0, 0, false, false, false,
         StopReason::kErrorLimit, 2 * kGiB, 0}},
       StopReason::kErrorLimit,
       kTitle +
           L"FEHLER GEFUNDEN\r\n"
           L"Der Test wurde wegen Fehlern des Mediums beendet. Diesem Medium dürfen keine Daten anvertraut "
           L"werden.\r\n\r\n"
           L"Volltest / Prüfung\r\n"
           L"  Art des Zugriffs: Zuverlässig (Volltest)\r\n"
           L"  Worker: 4\r\n"
           L"  Blockgröße: 1024 KB\r\n"
           L"  Geplante Testmenge: 10.0 GB\r\n"
           L"  Geschrieben: 10.0 GB\r\n"
           L"  Zurück gelesen/geprüft: 1.5 GB\r\n"
           L"  Status: Fehlergrenze erreicht\r\n"
           L"  Fehler: 500\r\n"
           L"  Dauer: 00:02:00\r\n"
           L"  Geschwindigkeit: 0.00 MB/s\r\n\r\n"
           L"Zusammenfassung: Fehler gefunden. Geschrieben 10.0 GB, zurück gelesen/geprüft 1.5 GB, Fehler 500. "
           L"Das Medium ist nicht zuverlässig.\r\n" +
           kPrompt},
      {"an I/O failure without a run state: the row tells",
       {{L"Ausgeglichen (Volltest)", 1, 1048576, kGiB, 0.0, 5.0, 1, false, false, false, StopReason::kIoFailure,
         64 * kMiB, 0}},
       StopReason::kNone,
       kTitle +
           L"FEHLER GEFUNDEN\r\n"
           L"Der Test wurde wegen Fehlern des Mediums beendet. Diesem Medium dürfen keine Daten anvertraut "
           L"werden.\r\n\r\n"
           L"Volltest / Prüfung\r\n"
           L"  Art des Zugriffs: Ausgeglichen (Volltest)\r\n"
           L"  Worker: 1\r\n"
           L"  Blockgröße: 1024 KB\r\n"
           L"  Geplante Testmenge: 1.0 GB\r\n"
           L"  Geschrieben: 64.0 MB\r\n"
           L"  Zurück gelesen/geprüft: 0.0 B\r\n"
           L"  Status: Lese- oder Schreibfehler\r\n"
           L"  Fehler: 1\r\n"
           L"  Dauer: 00:00:05\r\n"
           L"  Geschwindigkeit: 0.00 MB/s\r\n\r\n"
           L"Zusammenfassung: Fehler gefunden. Geschrieben 64.0 MB, zurück gelesen/geprüft 0.0 B, Fehler 1. "
           L"Das Medium ist nicht zuverlässig.\r\n" +
           kPrompt},
      {"a file-system limit: stopped, and not the medium's fault",
       {{L"Ausgeglichen (Volltest)", 1, 1048576, 5 * kGiB, 0.0, 50.0, 0, false, true, false,
         StopReason::kFileSystemLimit, 4 * kGiB - kMiB, 0}},
       StopReason::kFileSystemLimit,
       kTitle +
           L"ABGEBROCHEN\r\nDas Dateisystem nimmt keine so große Testdatei an. Das ist kein Fehler des Mediums, "
           L"aber auch keine erfolgreiche Vollprüfung.\r\n\r\n"
           L"Volltest / Prüfung\r\n"
           L"  Art des Zugriffs: Ausgeglichen (Volltest)\r\n"
           L"  Worker: 1\r\n"
           L"  Blockgröße: 1024 KB\r\n"
           L"  Geplante Testmenge: 5.0 GB\r\n"
           L"  Status: abgebrochen\r\n"
           L"  Fehler: 0\r\n"
           L"  Dauer: 00:00:50\r\n"
           L"  Geschwindigkeit: 0.00 MB/s\r\n\r\n" +
           kStoppedSummary + kPrompt},
      {"a test file another program kept: stopped, and not the medium's fault",
       {{L"Ausgeglichen (Volltest)", 1, 1048576, kGiB, 0.0, 0.0, 0, false, true, false, StopReason::kFileHeld, 0, 0}},
       StopReason::kFileHeld,
       kTitle +
           L"ABGEBROCHEN\r\nEine Testdatei war auch nach einigen Sekunden noch von einem anderen Programm geöffnet "
           L"(etwa einem Virenscanner). Das ist kein Fehler des Mediums, aber auch keine erfolgreiche Vollprüfung."
           L"\r\n\r\n"
           L"Volltest / Prüfung\r\n"
           L"  Art des Zugriffs: Ausgeglichen (Volltest)\r\n"
           L"  Worker: 1\r\n"
           L"  Blockgröße: 1024 KB\r\n"
           L"  Geplante Testmenge: 1.0 GB\r\n"
           L"  Status: abgebrochen\r\n"
           L"  Fehler: 0\r\n"
           L"  Dauer: 00:00:00\r\n"
           L"  Geschwindigkeit: 0.00 MB/s\r\n\r\n" +
           kStoppedSummary + kPrompt},
      {"empty list", {}, StopReason::kNone, kTitle + L"Zusammenfassung: keine Ergebnisse.\r\n" + kPrompt},
      {"empty list of a stopped run", {}, StopReason::kUser, kTitle + kStoppedHead + kStoppedSummary + kPrompt},
  };
  for (const auto& c : cases) {
    const ResultReport report = BuildResultReport(Records(c.rows), c.runStop);
    // The box shows the body alone: its buttons say what the prompt said.
    EXPECT_EQ(ReportBoxText(report) + L"\r\n" + kPrompt, c.expected) << c.what;
    EXPECT_EQ(report.body + kPrompt, c.expected) << c.what << ": the body ends before the box's question";
  }
}

}  // namespace
}  // namespace velkor
