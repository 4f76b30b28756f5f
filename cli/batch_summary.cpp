#include "cli/batch_summary.h"

#include <algorithm>
#include <cmath>

#include "cli/cli_app.h"
#include "cli/cli_console.h"
#include "common/format.h"
#include "common/version.h"
#include "results/json_text.h"

namespace velkor {
namespace {

constexpr wchar_t kNone[] = L"–";

// How a run that is not OK ended, for the row's reason.
std::wstring EndText(StopReason reason) {
  switch (reason) {
    case StopReason::kNone: return L"";
    case StopReason::kUser: return L"mit Strg+C gestoppt";
    case StopReason::kDriveGone: return L"Laufwerk während des Tests entfernt oder geändert";
    case StopReason::kErrorLimit: return L"Fehlergrenze erreicht";
    case StopReason::kIoFailure: return L"Lese- oder Schreibfehler des Mediums";
    case StopReason::kFileSystemLimit: return L"Grenze des Dateisystems erreicht (kein Fehler des Mediums)";
    default: return L"vorzeitig beendet";
  }
}

std::optional<double> Speed(uint64_t bytes, double seconds) {
  if (bytes == 0 || seconds <= 0.001) return std::nullopt;
  return static_cast<double>(bytes) / 1048576.0 / seconds;
}

// A JSON string: the results files' escapes, and \u00XX for the other control characters.
std::wstring Quoted(const std::wstring& text) {
  std::wstring out = L"\"";
  for (wchar_t c : EscapeJsonText(text)) {
    if (c >= 0x20) {
      out += c;
      continue;
    }
    static const wchar_t kHex[] = L"0123456789abcdef";
    out += L"\\u00";
    out += kHex[(c >> 4) & 0xf];
    out += kHex[c & 0xf];
  }
  return out + L"\"";
}


std::wstring JsonNumber(const std::optional<uint64_t>& value) {
  return value ? std::to_wstring(*value) : std::wstring(L"null");
}

std::wstring JsonNumber(const std::optional<double>& value) {
  return value && std::isfinite(*value) ? FormatDecimal2(*value) : std::wstring(L"null");
}

// The cells of a row in the order of the heading.
std::vector<std::wstring> Cells(const BatchRow& r, int language) {
  const auto size = [](uint64_t bytes) { return FormatByteSize(bytes); };
  const auto speed = [](const std::optional<double>& v) { return v ? FormatDecimal2(*v) : std::wstring(kNone); };
  return {Printable(r.target),
          r.label.empty() ? std::wstring(kNone) : Printable(r.label),
          r.sizeBytes > 0 ? size(r.sizeBytes) : kNone,
          r.ran && !r.verifyOnly ? size(r.writtenBytes) : kNone,
          r.ran ? size(r.verifiedBytes) : kNone,
          r.ran ? std::to_wstring(r.errors) : kNone,
          r.usableBytes ? size(*r.usableBytes) : kNone,
          speed(r.writeMbPerSecond),
          speed(r.readMbPerSecond),
          BatchVerdictWord(r.verdict, language)};
}

}  // namespace

const wchar_t* BatchVerdictText(BatchVerdict verdict) {
  switch (verdict) {
    case BatchVerdict::kOk: return L"OK";
    case BatchVerdict::kOkPartial: return L"OK (Teiltest)";
    case BatchVerdict::kErrors: return L"Fehler";
    case BatchVerdict::kStopped: return L"gestoppt";
    case BatchVerdict::kRefused: break;
  }
  return L"abgelehnt";
}

std::wstring BatchVerdictWord(BatchVerdict verdict, int language) {
  switch (verdict) {
    case BatchVerdict::kOk: return TranslateIn(L"ok", language);
    case BatchVerdict::kOkPartial: return TranslateIn(L"cli_verdict_ok_partial", language);
    case BatchVerdict::kErrors: return TranslateIn(L"cli_verdict_errors", language);
    case BatchVerdict::kStopped: return TranslateIn(L"cli_verdict_stopped", language);
    case BatchVerdict::kRefused: break;
  }
  return TranslateIn(L"cli_verdict_refused", language);
}

void FillRowFromRun(const std::vector<ResultRecord>& records, StopReason runStop, BatchRow* row) {
  RunFacts facts;
  facts.stop = runStop;
  FillRowFromRun(records, JudgeRun(records, nullptr, facts), runStop, row);
}

void FillRowFromRun(const std::vector<ResultRecord>& records, const Verdict& verdict, StopReason runStop,
                    BatchRow* row) {
  row->ran = true;
  // The speeds of the full test (or verify-only); a run stopped in its method test has only those.
  const bool anyFull = std::any_of(records.begin(), records.end(), IsFullOrVerifyRecord);
  double writeSeconds = 0.0, verifySeconds = 0.0;
  uint64_t written = 0, verified = 0;
  for (const ResultRecord& r : records) {
    if (anyFull && !IsFullOrVerifyRecord(r)) continue;
    written += r.writtenBytes;
    verified += r.verifiedBytes;
    writeSeconds += r.writeSeconds;
    verifySeconds += r.verifySeconds;
  }
  row->writtenBytes = anyFull ? verdict.writtenBytes : written;
  row->verifiedBytes = anyFull ? verdict.checkedBytes : verified;
  row->errors = verdict.errors;
  row->writeMbPerSecond = Speed(written, writeSeconds);
  row->readMbPerSecond = Speed(verified, verifySeconds);
  row->stopReason = RunStopReason(records, runStop);
  row->usableBytes = verdict.usableBytes;
  switch (verdict.kind) {
    case VerdictKind::kOk: row->verdict = BatchVerdict::kOk; break;
    case VerdictKind::kOkPartial: row->verdict = BatchVerdict::kOkPartial; break;
    case VerdictKind::kFailed: row->verdict = BatchVerdict::kErrors; break;
    case VerdictKind::kUnfinished: row->verdict = BatchVerdict::kStopped; break;
  }
  row->reason = EndText(row->stopReason);
  if (verdict.kind == VerdictKind::kOkPartial) {
    row->reason = L"nur " + FormatByteSize(verdict.checkedBytes) + L" von " + FormatByteSize(verdict.wholeBytes) +
                  L" freiem Speicher geprüft, der Rest nicht";
  }
  if (row->verdict == BatchVerdict::kStopped && row->reason.empty()) row->reason = L"nicht vollständig geprüft";
}

void TakeDiagnosis(const Diagnosis& diagnosis, BatchRow* row) {
  if (!diagnosis.present) return;
  row->usableBytes.reset();
  if (!diagnosis.partial) row->usableBytes = diagnosis.usableBytes;
}

std::wstring ShownReason(const std::wstring& reason) {
  const std::wstring shown = Localize(reason);
  if (shown != reason || CurrentLanguage == kLanguageGerman) return shown;
  const std::wstring lead = Translate(L"cli_error_lead");
  const std::wstring refusal = Localize(L"Fehler: " + reason);
  return refusal.compare(0, lead.size(), lead) == 0 ? refusal.substr(lead.size()) : reason;
}

std::wstring ErrorLine(const std::wstring& reason) { return Translate(L"cli_error_lead") + Localize(reason); }

std::wstring ReasonOf(const std::wstring& message) {
  const std::wstring lead = L"Fehler: ";
  return message.compare(0, lead.size(), lead) == 0 ? message.substr(lead.size()) : message;
}

int BatchExitCode(const std::vector<BatchRow>& rows, bool interrupted) {
  if (interrupted) return kExitInterrupted;
  bool refused = false;
  for (const BatchRow& r : rows) {
    if (r.verdict == BatchVerdict::kErrors || r.verdict == BatchVerdict::kStopped) return kExitFound;
    refused = refused || r.verdict == BatchVerdict::kRefused || !r.resultsSaved;
  }
  return refused ? kExitInvalid : kExitClean;
}

std::wstring BatchTableText(const std::vector<BatchRow>& rows, int language) {
  std::vector<std::wstring> heading;
  for (const wchar_t* key : {L"cli_batch_heading_target", L"col_name", L"col_size", L"cli_batch_heading_written",
                             L"col_verified", L"col_errors", L"cli_batch_heading_usable",
                             L"cli_batch_heading_write_speed", L"cli_batch_heading_read_speed", L"col_result"}) {
    heading.push_back(TranslateIn(key, language));
  }
  // Text columns stand left, figures right.
  const std::vector<bool> left = {true, true, false, false, false, false, false, false, false, true};
  std::vector<std::vector<std::wstring>> lines = {heading};
  for (const BatchRow& r : rows) lines.push_back(Cells(r, language));
  std::vector<size_t> width(heading.size(), 0);
  for (const auto& cells : lines) {
    for (size_t c = 0; c < cells.size(); ++c) width[c] = std::max(width[c], cells[c].size());
  }
  std::wstring text;
  for (const auto& cells : lines) {
    std::wstring line;
    for (size_t c = 0; c < cells.size(); ++c) {
      const std::wstring pad(width[c] - cells[c].size(), L' ');
      if (c > 0) line += L"  ";
      line += left[c] ? cells[c] + pad : pad + cells[c];
    }
    while (!line.empty() && line.back() == L' ') line.pop_back();
    text += line + L"\n";
  }
  return text;
}

std::wstring BatchSummaryJson(const std::vector<BatchRow>& rows, const std::wstring& command, int exitCode,
                              bool interrupted) {
  std::wstring text = L"{\n";
  text += L"  \"schema\": \"velkor-batch-v1\",\n";
  text += L"  \"writtenAt\": " + Quoted(MakeLogTimestamp()) + L",\n";
  text += L"  \"programVersion\": \"" VELKOR_VERSION_TEXT L"\",\n";
  text += L"  \"command\": " + Quoted(command) + L",\n";
  text += L"  \"exitCode\": " + std::to_wstring(exitCode) + L",\n";
  text += L"  \"interrupted\": " + std::wstring(interrupted ? L"true" : L"false") + L",\n";
  text += L"  \"targets\": [\n";
  for (size_t i = 0; i < rows.size(); ++i) {
    const BatchRow& r = rows[i];
    const auto ranNumber = [&r](uint64_t value) { return r.ran ? std::to_wstring(value) : std::wstring(L"null"); };
    text += L"    {\"target\":" + Quoted(r.target) + L",\"label\":" + Quoted(r.label) + L",\"fileSystem\":" +
            Quoted(r.fileSystem) + L",\"device\":" + Quoted(r.device) +
            L",\"sizeBytes\":" + (r.sizeBytes > 0 ? std::to_wstring(r.sizeBytes) : L"null") +
            L",\"writtenBytes\":" + (r.verifyOnly ? std::wstring(L"null") : ranNumber(r.writtenBytes)) +
            L",\"verifiedBytes\":" + ranNumber(r.verifiedBytes) + L",\"errors\":" + ranNumber(r.errors) +
            L",\"usableBytes\":" + JsonNumber(r.usableBytes) + L",\"writeMBps\":" + JsonNumber(r.writeMbPerSecond) +
            L",\"readMBps\":" + JsonNumber(r.readMbPerSecond) + L",\"verdict\":" + Quoted(BatchVerdictText(r.verdict)) +
            L",\"stopReason\":" + Quoted(StopReasonName(r.stopReason)) + L",\"reason\":" + Quoted(r.reason) +
            L",\"resultsFile\":" + Quoted(r.resultsFile) + L"}" + (i + 1 < rows.size() ? L",\n" : L"\n");
  }
  text += L"  ]\n}\n";
  return text;
}

}  // namespace velkor
