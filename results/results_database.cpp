#include "results/results_database.h"

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <mutex>
#include <set>

#include "common/format.h"
#include "common/held_retry.h"
#include "common/paths.h"
#include "common/version.h"
#include "pdf/file_writers.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/text.h"
#include "results/diagnosis.h"
#include "results/json_text.h"

namespace velkor {
namespace {

std::mutex gFolderMutex;
std::wstring gFolderOverride;  // guarded by gFolderMutex

std::wstring Quoted(const std::wstring& text) { return L"\"" + EscapeJsonText(text) + L"\""; }

std::wstring Bool(bool value) { return value ? L"true" : L"false"; }

// A number the file can hold: the runners never produce inf or nan, but a record from elsewhere
// must not turn the file into something no JSON reader accepts.
std::wstring Decimal(double value) { return FormatDecimal2(std::isfinite(value) ? value : 0.0); }

std::wstring RecordObject(const ResultRecord& r) {
  return L"{\"method\":" + Quoted(r.method) + L",\"workers\":" + std::to_wstring(r.workers) +
         L",\"blockKB\":" + std::to_wstring(r.blockSize / 1024) + L",\"bytes\":" +
         std::to_wstring(r.bytes) + L",\"mbPerSecond\":" + Decimal(r.mbPerSecond) +
         L",\"seconds\":" + Decimal(r.seconds) + L",\"verified\":" + Bool(r.verified) +
         L",\"errors\":" + std::to_wstring(r.errors) + L",\"cancelled\":" + Bool(r.cancelled) +
         L",\"recommended\":" + Bool(r.recommended) + L",\"result\":" + Quoted(ResultText(r)) +
         L",\"writtenBytes\":" + std::to_wstring(r.writtenBytes) + L",\"verifiedBytes\":" +
         std::to_wstring(r.verifiedBytes) + L",\"stopReason\":" + Quoted(StopReasonName(r.stopReason)) + L"}";
}

// The closing brace of the object that opens at open, skipping braces inside string values (a
// written method text may hold one); npos when the text ends first.
size_t FindObjectEnd(const std::wstring& text, size_t open) {
  bool inString = false;
  for (size_t i = open + 1; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (inString) {
      if (c == L'\\') {
        ++i;
      } else if (c == L'"') {
        inString = false;
      }
    } else if (c == L'"') {
      inString = true;
    } else if (c == L'}') {
      return i;
    }
  }
  return std::wstring::npos;
}

ResultRecord ReadRecord(const std::wstring& object) {
  ResultRecord r;
  r.method = ReadJsonText(object, L"method");
  r.workers = static_cast<uint32_t>(ReadJsonInteger(object, L"workers"));
  r.blockSize = static_cast<uint32_t>(ReadJsonInteger(object, L"blockKB") * 1024);
  r.bytes = ReadJsonInteger(object, L"bytes");
  r.mbPerSecond = ReadJsonNumber(object, L"mbPerSecond");
  r.seconds = ReadJsonNumber(object, L"seconds");
  r.verified = ReadJsonBool(object, L"verified");
  r.cancelled = ReadJsonBool(object, L"cancelled");
  r.recommended = ReadJsonBool(object, L"recommended");
  r.errors = ReadJsonInteger(object, L"errors");
  if (HasJsonKey(object, L"stopReason")) {
    r.writtenBytes = ReadJsonInteger(object, L"writtenBytes");
    r.verifiedBytes = ReadJsonInteger(object, L"verifiedBytes");
    r.stopReason = StopReasonFromName(ReadJsonText(object, L"stopReason"));
  } else {
    // A file from before these keys: its records named planned amounts, and a stopped one claimed
    // them as written and verified. Only what a record that ran through says can stand.
    const bool whole = !r.cancelled;
    r.stopReason = r.cancelled ? StopReason::kUser : StopReason::kNone;
    r.verified = r.verified && whole;
    r.verifiedBytes = r.verified ? r.bytes : 0;
    r.writtenBytes = whole && r.method.find(L"nur prüfen") == std::wstring::npos ? r.bytes : 0;
  }
  return r;
}

bool FlushToMedium(const std::wstring& path) {
  platform::FileHandle file = platform::OpenFileForWrite(path, false);
  if (!file.valid()) return false;
  const bool flushed = platform::FlushFileToMedium(file);
  platform::CloseFile(file);
  return flushed;
}

bool EqualIgnoringCase(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  }
  return true;
}

}  // namespace

void SetResultsFolder(const std::wstring& folder) {
  std::lock_guard<std::mutex> lock(gFolderMutex);
  gFolderOverride = folder;
}

std::wstring GetResultsFolder() {
  std::wstring folder;
  {
    std::lock_guard<std::mutex> lock(gFolderMutex);
    folder = gFolderOverride;
  }
  if (folder.empty()) return GetResultsDirectory();
  platform::CreateFolder(folder);  // an existing folder is the normal case
  return folder;
}

std::wstring MakeResultsFilePath(const std::wstring& driveRoot) {
  const std::wstring folder = GetResultsFolder();
  const std::wstring path = MakeResultsFilePath(driveRoot, folder, platform::GetLocalTimeNow());
  // A second run on the same drive within the same second must not overwrite the first one's
  // results: it gets "-2", "-3", ... before the extension. Runs of one process start together
  // (velkor-cli with several targets whose names read alike): a name handed out counts as taken
  // before its file exists.
  static std::mutex mutex;
  static std::set<std::wstring> handedOut;
  std::lock_guard<std::mutex> lock(mutex);
  auto taken = [](const std::wstring& p) { return handedOut.count(p) != 0 || platform::FileExists(p); };
  std::wstring chosen = path;
  const std::wstring stem = path.substr(0, path.size() - 5);  // without ".json"
  for (int n = 2; taken(chosen); ++n) chosen = stem + L"-" + std::to_wstring(n) + L".json";
  handedOut.insert(chosen);
  return chosen;
}

std::wstring MakeResultsFilePath(const std::wstring& driveRoot, const std::wstring& folder,
                                 const platform::LocalTime& time) {
  // A file name holds at most 255 bytes: a long target path keeps its end, which names the target.
  std::wstring target = SanitizeFileName(driveRoot);
  size_t cut = 0;
  while (platform::WideToUtf8(std::wstring_view(target).substr(cut)).size() > 200) ++cut;
  if (cut < target.size() && target[cut] >= 0xDC00 && target[cut] <= 0xDFFF) ++cut;  // half a pair
  return JoinPath(folder, MakeFileTimestamp(time) + L"-" + target.substr(cut) + L"-velkor.json");
}

std::wstring BuildResultsJson(const ResultsFileHeader& header, const std::vector<ResultRecord>& records,
                              bool final, const RunDiagnosis* run) {
  RunFacts facts = RunFactsOf(header);
  facts.final = final;
  const Verdict verdict = JudgeRun(records, run != nullptr ? &run->diagnosis : nullptr, facts);
  std::wstring text = L"{\n";
  text += L"  \"schema\": \"velkor-results-v1\",\n";
  text += L"  \"writtenAt\": " + Quoted(MakeLogTimestamp()) + L",\n";
  text += L"  \"final\": " + Bool(final) + L",\n";
  text += L"  \"drive\": " + Quoted(header.driveRoot) + L",\n";
  text += L"  \"fileSystem\": " + Quoted(header.fileSystem) + L",\n";
  text += L"  \"testSizeBytes\": " + std::to_wstring(header.testSize) + L",\n";
  text += L"  \"reserveFreeBytes\": " + std::to_wstring(header.reserveFree) + L",\n";
  text += L"  \"testPoints\": " + std::to_wstring(header.testPoints) + L",\n";
  text += L"  \"summaryText\": " + Quoted(BuildResultSummary(records, verdict)) + L",\n";
  text += L"  \"programVersion\": \"" VELKOR_VERSION_TEXT L"\",\n";
  text += L"  \"label\": " + Quoted(header.label) + L",\n";
  text += L"  \"capacityBytes\": " + std::to_wstring(header.capacityBytes) + L",\n";
  text += L"  \"freeBytes\": " + std::to_wstring(header.freeBytes) + L",\n";
  text += L"  \"startedAt\": " + Quoted(header.startedAt) + L",\n";
  text += L"  \"stopReason\": " + Quoted(StopReasonName(header.stopReason)) + L",\n";
  text += L"  \"results\": [\n";
  for (size_t i = 0; i < records.size(); ++i) {
    text += L"    " + RecordObject(records[i]) + (i + 1 < records.size() ? L",\n" : L"\n");
  }
  // The run's diagnosis, speed curve and verdict follow the keys older files have, which their
  // readers never look past.
  std::vector<std::wstring> extra;
  if (run != nullptr && run->diagnosis.present) extra.push_back(L"  \"diagnosis\": " + DiagnosisJson(run->diagnosis));
  if (run != nullptr && (!run->speedCurve.write.empty() || !run->speedCurve.read.empty())) {
    extra.push_back(L"  \"speedCurve\": " + SpeedCurveJson(run->speedCurve));
  }
  extra.push_back(L"  \"verdict\": " + Quoted(VerdictName(verdict.kind)));
  text += L"  ],\n";
  for (size_t i = 0; i < extra.size(); ++i) text += extra[i] + (i + 1 < extra.size() ? L",\n" : L"\n");
  text += L"}\n";
  return text;
}

bool SaveResultsFile(const std::wstring& path, const ResultsFileHeader& header,
                     const std::vector<ResultRecord>& records, bool final, const RunDiagnosis* run) {
  if (path.empty()) return false;
  // The text goes to a file beside it and takes the old file's place only once it is complete
  // and on the medium: a save that fails halfway (a full disk, a crash) leaves the previous
  // version, not a cut file that still loads.
  // The file beside it is made anew, never opened through whatever stands under its name: in a
  // shared folder someone else may have put a link there. A leftover of a crashed save (an entry,
  // never what it points to) goes first.
  const std::wstring temporary = path + L".tmp";
  platform::DeleteFileAtPath(temporary);
  // A viewer or scanner that holds the old file for a moment delays the replacement, no more.
  if (WriteUtf8FileNew(temporary, BuildResultsJson(header, records, final, run)) && FlushToMedium(temporary) &&
      RetryWhileHeld([&] { return platform::MoveFileReplacing(temporary, path); })) {
    return true;
  }
  const uint32_t code = platform::LastError();
  platform::DeleteFileAtPath(temporary);
  platform::SetLastError(code);
  return false;
}

bool ParseResultsText(const std::wstring& text, std::vector<ResultRecord>* records) {
  const size_t key = text.find(L"\"results\"");
  if (key == std::wstring::npos) return false;
  std::vector<ResultRecord> loaded;
  size_t pos = text.find(L'[', key);
  while (pos != std::wstring::npos && pos < text.size()) {
    const size_t open = text.find(L'{', pos);
    if (open == std::wstring::npos) break;
    // The array's end: the objects after it (a diagnosis) are no records.
    const size_t end = text.find(L']', pos);
    if (end < open) break;
    const size_t close = FindObjectEnd(text, open);
    if (close == std::wstring::npos) break;
    ResultRecord record = ReadRecord(text.substr(open, close - open + 1));
    if (!record.method.empty()) loaded.push_back(std::move(record));
    pos = close + 1;
  }
  *records = std::move(loaded);
  return true;
}

bool ParseResultsHeader(const std::wstring& text, ResultsFileHeader* header) {
  // The file-level lines, before the records, with the writer's blank after each line's key
  // taken out so the record readers read them. A value ("results" as a volume's name, a path
  // with '": ' in it) is no key and keeps what it holds.
  size_t records = text.find(L"\"results\"");
  while (records != std::wstring::npos) {
    const size_t after = text.find_first_not_of(L" \t\r\n", records + 9);
    if (after == std::wstring::npos || text[after] == L':') break;
    records = text.find(L"\"results\"", records + 1);
  }
  std::wstring head = text.substr(0, records);
  for (size_t line = 0; line < head.size();) {
    size_t next = std::min(head.find(L'\n', line), head.size());
    const size_t keyEnd = head.compare(line, 3, L"  \"") == 0 ? head.find(L'"', line + 3) : std::wstring::npos;
    if (keyEnd < next && head.compare(keyEnd, 3, L"\": ") == 0) {
      head.erase(keyEnd + 2, 1);
      --next;
    }
    line = next + 1;
  }
  if (!HasJsonKey(head, L"drive")) return false;
  ResultsFileHeader read;
  read.driveRoot = ReadJsonText(head, L"drive");
  read.fileSystem = ReadJsonText(head, L"fileSystem");
  if (HasJsonKey(head, L"testSizeBytes")) read.testSize = ReadJsonInteger(head, L"testSizeBytes");
  if (HasJsonKey(head, L"reserveFreeBytes")) read.reserveFree = ReadJsonInteger(head, L"reserveFreeBytes");
  if (HasJsonKey(head, L"testPoints")) read.testPoints = static_cast<uint32_t>(ReadJsonInteger(head, L"testPoints"));
  if (HasJsonKey(head, L"final")) read.final = ReadJsonBool(head, L"final");
  read.label = ReadJsonText(head, L"label");
  read.capacityBytes = ReadJsonInteger(head, L"capacityBytes");
  read.freeBytes = ReadJsonInteger(head, L"freeBytes");
  read.startedAt = ReadJsonText(head, L"startedAt");
  read.stopReason = StopReasonFromName(ReadJsonText(head, L"stopReason"));
  *header = std::move(read);
  return true;
}

RunFacts RunFactsOf(const ResultsFileHeader& header) {
  RunFacts facts;
  facts.stop = header.stopReason;
  facts.freeBytes = header.freeBytes;
  facts.reserveBytes = header.reserveFree;
  facts.final = header.final;
  return facts;
}

bool LoadResultsHeader(const std::wstring& path, ResultsFileHeader* header) {
  std::wstring text;
  if (!ReadUtf8TextFile(path, &text)) return false;
  return ParseResultsHeader(text, header);
}

bool LoadResultsFile(const std::wstring& path, std::vector<ResultRecord>* records, RunDiagnosis* run) {
  std::wstring text;
  platform::SetLastError(0);  // stays 0 when the file was read but holds no results
  if (!ReadUtf8TextFile(path, &text)) return false;
  platform::SetLastError(0);
  if (!ParseResultsText(text, records)) return false;
  if (run != nullptr) *run = ParseRunDiagnosis(text);
  return true;
}

bool ReadUtf8TextFile(const std::wstring& path, std::wstring* text) {
  platform::FileHandle file = platform::OpenFileForRead(path);
  if (!file.valid()) return false;
  uint64_t size = 0;
  if (!platform::GetFileSizeByHandle(file, &size) || size > kMaxResultsFileBytes) {
    platform::CloseFile(file);
    return false;
  }
  std::string bytes(static_cast<size_t>(size), '\0');
  size_t done = 0;
  bool ok = true;
  while (done < bytes.size()) {
    uint32_t got = 0;
    ok = platform::ReadFileAt(file, done, bytes.data() + done, static_cast<uint32_t>(bytes.size() - done), &got);
    if (!ok || got == 0) break;  // a file that shrank since the size query yields what is there
    done += got;
  }
  platform::CloseFile(file);
  if (!ok) return false;
  bytes.resize(done);
  std::wstring converted = platform::Utf8ToWide(bytes);
  if (converted.empty()) return false;
  *text = std::move(converted);
  return true;
}

std::vector<std::wstring> ListSavedResultFiles() { return ListSavedResultFiles(GetResultsFolder()); }

std::vector<std::wstring> ListSavedResultFiles(const std::wstring& folder) {
  std::vector<std::wstring> paths;
  for (const std::wstring& name : platform::ListFolder(folder, L"*.json")) {
    paths.push_back(JoinPath(folder, name));
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

int SavedResultSelection(const std::vector<std::wstring>& paths, const std::wstring& pathToSelect) {
  if (!pathToSelect.empty()) {
    for (size_t i = 0; i < paths.size(); ++i) {
      if (EqualIgnoringCase(paths[i], pathToSelect)) return static_cast<int>(i);
    }
  }
  return paths.empty() ? -1 : static_cast<int>(paths.size()) - 1;
}

}  // namespace velkor
