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

// The members at the top of a results file: its object's keys, or a part of one's (a text that
// starts inside it). Values are skipped as a whole, so what nests in them (the records) is never
// taken for a member. Stops where a value does not end.
std::vector<JsonMember> TopLevelMembers(std::wstring_view text) {
  std::vector<JsonMember> members;
  size_t depth = 0;
  for (size_t i = 0; i < text.size();) {
    const wchar_t c = text[i];
    if (c == L'"') {
      const size_t keyEnd = JsonValueEnd(text, i);
      if (keyEnd == std::wstring_view::npos) break;
      JsonMember member;
      if (depth <= 1 && keyEnd < text.size() && text[keyEnd] == L':' &&
          JsonStringValue(text.substr(i, keyEnd - i), &member.key)) {
        member.begin = keyEnd + 1;
        member.end = JsonValueEnd(text, member.begin);
        if (member.end == std::wstring_view::npos) {
          members.push_back(std::move(member));  // the caller says what is missing
          break;
        }
        i = member.end;
        members.push_back(std::move(member));
        continue;
      }
      i = keyEnd;
      continue;
    }
    if (c == L'{' || c == L'[') ++depth;
    if ((c == L'}' || c == L']') && depth > 0) --depth;
    ++i;
  }
  return members;
}

const JsonMember* FindMember(const std::vector<JsonMember>& members, std::wstring_view key) {
  for (const JsonMember& m : members) {
    if (m.key == key) return &m;
  }
  return nullptr;
}

enum class ValueType { kText, kWhole, kNumber, kYesNo, kStop };

struct KeyRule {
  const wchar_t* key;
  ValueType type;
  uint64_t most;  // kWhole: the largest value allowed
};

constexpr KeyRule kRecordRules[] = {
    {L"method", ValueType::kText, 0},       {L"workers", ValueType::kWhole, UINT32_MAX},
    {L"blockKB", ValueType::kWhole, UINT32_MAX / 1024}, {L"bytes", ValueType::kWhole, UINT64_MAX},
    {L"mbPerSecond", ValueType::kNumber, 0}, {L"seconds", ValueType::kNumber, 0},
    {L"verified", ValueType::kYesNo, 0},    {L"errors", ValueType::kWhole, UINT64_MAX},
    {L"cancelled", ValueType::kYesNo, 0},   {L"recommended", ValueType::kYesNo, 0},
    {L"result", ValueType::kText, 0},       {L"writtenBytes", ValueType::kWhole, UINT64_MAX},
    {L"verifiedBytes", ValueType::kWhole, UINT64_MAX}, {L"stopReason", ValueType::kStop, 0},
};

constexpr KeyRule kHeaderRules[] = {
    {L"schema", ValueType::kText, 0},          {L"writtenAt", ValueType::kText, 0},
    {L"final", ValueType::kYesNo, 0},          {L"drive", ValueType::kText, 0},
    {L"fileSystem", ValueType::kText, 0},      {L"testSizeBytes", ValueType::kWhole, UINT64_MAX},
    {L"reserveFreeBytes", ValueType::kWhole, UINT64_MAX}, {L"testPoints", ValueType::kWhole, UINT32_MAX},
    {L"summaryText", ValueType::kText, 0},     {L"programVersion", ValueType::kText, 0},
    {L"label", ValueType::kText, 0},           {L"capacityBytes", ValueType::kWhole, UINT64_MAX},
    {L"freeBytes", ValueType::kWhole, UINT64_MAX}, {L"startedAt", ValueType::kText, 0},
    {L"stopReason", ValueType::kStop, 0},      {L"verdict", ValueType::kText, 0},
};

std::wstring AllowedText(const KeyRule& rule) {
  switch (rule.type) {
    case ValueType::kText: return L"Text in Anführungszeichen";
    case ValueType::kWhole: return L"ganze Zahl von 0 bis " + std::to_wstring(rule.most);
    case ValueType::kNumber: return L"Zahl ab 0";
    case ValueType::kYesNo: return L"true oder false";
    case ValueType::kStop: break;
  }
  std::wstring names;
  for (int r = 0; r <= static_cast<int>(StopReason::kSessionEnd); ++r) {
    names += (r == 0 ? L"\"" : L", \"") + std::wstring(StopReasonName(static_cast<StopReason>(r))) + L"\"";
  }
  return names;
}

bool ValueFits(const KeyRule& rule, std::wstring_view value) {
  std::wstring text;
  uint64_t whole = 0;
  double number = 0.0;
  bool yes = false;
  switch (rule.type) {
    case ValueType::kText: return JsonStringValue(value, &text);
    case ValueType::kWhole: return JsonUnsignedValue(value, &whole) && whole <= rule.most;
    case ValueType::kNumber: return JsonNumberValue(value, &number) && number >= 0.0;
    case ValueType::kYesNo: return JsonBoolValue(value, &yes);
    case ValueType::kStop:
      return JsonStringValue(value, &text) && (text == L"none" || StopReasonFromName(text) != StopReason::kNone);
  }
  return false;
}

// The value as the file has it, cut where it is long, for a message.
std::wstring ShownValue(std::wstring_view value) {
  constexpr size_t kMost = 40;
  return value.size() <= kMost ? std::wstring(value) : std::wstring(value.substr(0, kMost)) + L"…";
}

// Every known key of members once, with a value of its type and range; *problem says which one is
// not, in where ("" for the file's own keys, " in Ergebnis 3" for a record).
template <size_t N>
bool CheckMembers(std::wstring_view text, const std::vector<JsonMember>& members, const KeyRule (&rules)[N],
                  const std::wstring& where, std::wstring* problem) {
  for (size_t i = 0; i < members.size(); ++i) {
    const JsonMember& m = members[i];
    for (const KeyRule& rule : rules) {
      if (m.key != rule.key) continue;
      const std::wstring_view value = text.substr(m.begin, m.end - m.begin);
      if (FindMember(members, m.key) != &m) {
        *problem = L"\"" + m.key + L"\" kommt" + where + L" zweimal vor.";
        return false;
      }
      if (!ValueFits(rule, value)) {
        *problem = L"Ungültiger Wert für \"" + m.key + L"\"" + where + L": " + ShownValue(value) + L" (erlaubt: " +
                   AllowedText(rule) + L").";
        return false;
      }
    }
  }
  return true;
}

// The members' values as their readers take them; a member that is missing reads as empty.
struct RecordValues {
  std::wstring_view text;
  const std::vector<JsonMember>& members;
  std::wstring_view Raw(const wchar_t* key) const {
    const JsonMember* m = FindMember(members, key);
    return m == nullptr ? std::wstring_view() : text.substr(m->begin, m->end - m->begin);
  }
  bool Has(const wchar_t* key) const { return FindMember(members, key) != nullptr; }
  std::wstring Text(const wchar_t* key) const {
    std::wstring out;
    JsonStringValue(Raw(key), &out);
    return out;
  }
  uint64_t Whole(const wchar_t* key) const {
    uint64_t out = 0;
    JsonUnsignedValue(Raw(key), &out);
    return out;
  }
  double Number(const wchar_t* key) const {
    double out = 0.0;
    JsonNumberValue(Raw(key), &out);
    return out;
  }
  bool YesNo(const wchar_t* key) const {
    bool out = false;
    JsonBoolValue(Raw(key), &out);
    return out;
  }
};

// A record of checked members (CheckMembers); a missing key reads as 0, false or empty text.
ResultRecord ReadRecord(const RecordValues& v) {
  ResultRecord r;
  r.method = v.Text(L"method");
  r.workers = static_cast<uint32_t>(v.Whole(L"workers"));
  r.blockSize = static_cast<uint32_t>(v.Whole(L"blockKB") * 1024);
  r.bytes = v.Whole(L"bytes");
  r.mbPerSecond = v.Number(L"mbPerSecond");
  r.seconds = v.Number(L"seconds");
  r.verified = v.YesNo(L"verified");
  r.cancelled = v.YesNo(L"cancelled");
  r.recommended = v.YesNo(L"recommended");
  r.errors = v.Whole(L"errors");
  if (v.Has(L"stopReason")) {
    r.writtenBytes = v.Whole(L"writtenBytes");
    r.verifiedBytes = v.Whole(L"verifiedBytes");
    r.stopReason = StopReasonFromName(v.Text(L"stopReason"));
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

bool ParseResultsText(const std::wstring& raw, std::vector<ResultRecord>* records, std::wstring* problem) {
  std::wstring ignored;
  std::wstring& why = problem != nullptr ? *problem : ignored;
  why.clear();
  const std::wstring text = CompactJson(raw);
  const std::vector<JsonMember> top = TopLevelMembers(text);
  const JsonMember* results = FindMember(top, L"results");
  if (results == nullptr) return false;
  if (!CheckMembers(text, top, kHeaderRules, L"", &why)) return false;
  const std::wstring unfinished = L"Die Liste \"results\" endet nicht: Die Datei ist unvollständig.";
  size_t pos = results->begin;
  if (pos >= text.size() || text[pos] != L'[') {
    if (results->end == std::wstring::npos) {
      why = unfinished;
    } else {
      why = L"Ungültiger Wert für \"results\": " + ShownValue(std::wstring_view(text).substr(pos, results->end - pos)) +
            L" (erlaubt: eine Liste von Ergebnissen in [ ]).";
    }
    return false;
  }
  // The array's elements one after the other, each object read by its structure: a ']' or '}' in a
  // text ends nothing, and the whole file is read once.
  std::vector<ResultRecord> loaded;
  std::vector<JsonMember> members;
  ++pos;
  if (pos < text.size() && text[pos] == L']') {
    *records = std::move(loaded);
    return true;
  }
  for (size_t number = 1;; ++number) {
    const std::wstring where = L" in Ergebnis " + std::to_wstring(number);
    size_t end = 0;
    if (pos >= text.size() || JsonValueEnd(text, pos) == std::wstring::npos) {
      why = unfinished;
      return false;
    }
    if (!ReadJsonMembers(text, pos, &members, &end)) {
      why = L"Ergebnis " + std::to_wstring(number) + L" ist kein Objekt der Form {\"Schlüssel\":Wert,...}: " +
            ShownValue(std::wstring_view(text).substr(pos, JsonValueEnd(text, pos) - pos));
      return false;
    }
    if (!CheckMembers(text, members, kRecordRules, where, &why)) return false;
    ResultRecord record = ReadRecord(RecordValues{text, members});
    if (!record.method.empty()) loaded.push_back(std::move(record));
    pos = end;
    if (pos >= text.size()) {
      why = unfinished;
      return false;
    }
    if (text[pos] == L']') break;
    if (text[pos] != L',') {
      why = L"Nach Ergebnis " + std::to_wstring(number) + L" folgt weder \",\" noch \"]\".";
      return false;
    }
    ++pos;
  }
  *records = std::move(loaded);
  return true;
}

bool ParseResultsHeader(const std::wstring& raw, ResultsFileHeader* header) {
  const std::wstring text = CompactJson(raw);
  const std::vector<JsonMember> top = TopLevelMembers(text);
  const RecordValues v{text, top};
  if (!v.Has(L"drive")) return false;
  ResultsFileHeader read;
  read.driveRoot = v.Text(L"drive");
  read.fileSystem = v.Text(L"fileSystem");
  if (v.Has(L"testSizeBytes")) read.testSize = v.Whole(L"testSizeBytes");
  if (v.Has(L"reserveFreeBytes")) read.reserveFree = v.Whole(L"reserveFreeBytes");
  if (v.Has(L"testPoints")) read.testPoints = static_cast<uint32_t>(v.Whole(L"testPoints"));
  if (v.Has(L"final")) read.final = v.YesNo(L"final");
  read.label = v.Text(L"label");
  read.capacityBytes = v.Whole(L"capacityBytes");
  read.freeBytes = v.Whole(L"freeBytes");
  read.startedAt = v.Text(L"startedAt");
  read.stopReason = StopReasonFromName(v.Text(L"stopReason"));
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

bool LoadResultsFile(const std::wstring& path, std::vector<ResultRecord>* records, RunDiagnosis* run,
                     std::wstring* problem) {
  std::wstring text;
  if (problem != nullptr) problem->clear();
  platform::SetLastError(0);  // stays 0 when the file was read but holds no results
  if (!ReadUtf8TextFile(path, &text)) return false;
  platform::SetLastError(0);
  if (!ParseResultsText(text, records, problem)) return false;
  if (run != nullptr) *run = ParseRunDiagnosis(CompactJson(text));
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
