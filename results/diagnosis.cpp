#include "results/diagnosis.h"

#include <cmath>

#include "common/format.h"
#include "common/localization.h"
#include "results/json_text.h"

namespace velkor {
namespace {

constexpr BlockClass kBadClasses[] = {BlockClass::kOverwritten, BlockClass::kEmpty, BlockClass::kDamaged,
                                      BlockClass::kUnreadable};

std::wstring Num(uint64_t value) { return std::to_wstring(value); }

// The bad class with the most blocks; the first of the list on a tie.
BlockClass MostFrequentBadClass(const Diagnosis& d) {
  BlockClass best = BlockClass::kDamaged;
  uint64_t most = 0;
  for (BlockClass kind : kBadClasses) {
    if (CountOf(d, kind) > most) {
      most = CountOf(d, kind);
      best = kind;
    }
  }
  return best;
}

// The object after "key": (a blank after the colon allowed, as the file's own keys have one), from
// its opening to its closing brace; empty when the key is missing or no object follows it. No
// braces nest in these objects.
std::wstring ObjectAfterKey(const std::wstring& text, const wchar_t* key) {
  const std::wstring pattern = std::wstring(L"\"") + key + L"\":";
  const size_t at = text.rfind(pattern);
  if (at == std::wstring::npos) return std::wstring();
  size_t open = at + pattern.size();
  while (open < text.size() && text[open] == L' ') ++open;
  if (open >= text.size() || text[open] != L'{') return std::wstring();
  const size_t close = text.find(L'}', open);
  if (close == std::wstring::npos) return std::wstring();
  return text.substr(open, close - open + 1);
}

// The numbers of "key":[a,b,...] in object, at most kSpeedCurvePoints; empty without the key.
std::vector<double> ReadNumberList(const std::wstring& object, const wchar_t* key) {
  std::vector<double> values;
  const std::wstring pattern = std::wstring(L"\"") + key + L"\":[";
  size_t pos = object.find(pattern);
  if (pos == std::wstring::npos) return values;
  pos += pattern.size();
  while (pos < object.size() && object[pos] != L']' && values.size() < kSpeedCurvePoints) {
    size_t end = object.find_first_of(L",]", pos);
    if (end == std::wstring::npos) end = object.size();
    // ReadJsonNumber reads after a "key": pattern; give it one.
    const double value = ReadJsonNumber(L"\"v\":" + object.substr(pos, end - pos), L"v");
    values.push_back(value > 0.0 ? value : 0.0);
    pos = end < object.size() && object[end] == L',' ? end + 1 : end;
  }
  return values;
}

std::wstring NumberList(const std::vector<double>& values) {
  std::wstring text = L"[";
  for (size_t i = 0; i < values.size(); ++i) {
    if (i > 0) text += L",";
    text += FormatDecimal2(std::isfinite(values[i]) && values[i] > 0.0 ? values[i] : 0.0);
  }
  return text + L"]";
}

}  // namespace

std::wstring BlockClassText(BlockClass kind, int language) {
  switch (kind) {
    case BlockClass::kOk: return TranslateIn(L"class_ok", language);
    case BlockClass::kOverwritten: return TranslateIn(L"class_overwritten", language);
    case BlockClass::kEmpty: return TranslateIn(L"class_empty", language);
    case BlockClass::kDamaged: return TranslateIn(L"class_damaged", language);
    case BlockClass::kUnreadable: return TranslateIn(L"class_unreadable", language);
    default: return TranslateIn(L"class_unchecked", language);
  }
}

const wchar_t* BlockClassName(BlockClass kind) {
  switch (kind) {
    case BlockClass::kOk: return L"OK";
    case BlockClass::kOverwritten: return L"überschrieben";
    case BlockClass::kEmpty: return L"leer";
    case BlockClass::kDamaged: return L"beschädigt";
    case BlockClass::kUnreadable: return L"unlesbar";
    default: return L"nicht geprüft";
  }
}

wchar_t BlockClassLetter(BlockClass kind) {
  switch (kind) {
    case BlockClass::kOk: return L'o';
    case BlockClass::kOverwritten: return L'w';
    case BlockClass::kEmpty: return L'e';
    case BlockClass::kDamaged: return L'd';
    case BlockClass::kUnreadable: return L'u';
    default: return L'.';
  }
}

BlockClass BlockClassOfLetter(wchar_t letter) {
  switch (letter) {
    case L'o': return BlockClass::kOk;
    case L'w': return BlockClass::kOverwritten;
    case L'e': return BlockClass::kEmpty;
    case L'd': return BlockClass::kDamaged;
    case L'u': return BlockClass::kUnreadable;
    default: return BlockClass::kUnchecked;
  }
}

const wchar_t* DiagnosisFindingName(DiagnosisFinding finding) {
  switch (finding) {
    case DiagnosisFinding::kWraps: return L"wraps";
    case DiagnosisFinding::kEmptyFrom: return L"emptyFrom";
    case DiagnosisFinding::kDamagedFrom: return L"damagedFrom";
    case DiagnosisFinding::kUnreadableFrom: return L"unreadableFrom";
    case DiagnosisFinding::kSingleBlocks: return L"singleBlocks";
    case DiagnosisFinding::kScattered: return L"scattered";
    default: return L"none";
  }
}

DiagnosisFinding DiagnosisFindingOfName(const std::wstring& name) {
  for (DiagnosisFinding f : {DiagnosisFinding::kWraps, DiagnosisFinding::kEmptyFrom, DiagnosisFinding::kDamagedFrom,
                             DiagnosisFinding::kUnreadableFrom, DiagnosisFinding::kSingleBlocks,
                             DiagnosisFinding::kScattered}) {
    if (name == DiagnosisFindingName(f)) return f;
  }
  return DiagnosisFinding::kNone;
}

bool HasDiagnosisPictures(const RunDiagnosis& run) {
  return run.diagnosis.present || !run.speedCurve.write.empty() || !run.speedCurve.read.empty();
}

std::wstring DiagnosisFindingText(const Diagnosis& d, int language) {
  if (d.partial) return TranslateIn(L"diag_partial", language);
  const std::wstring at = FormatByteSize(d.findingBytes);
  switch (d.finding) {
    case DiagnosisFinding::kWraps: return FormatTextIn(L"diag_wraps", language, {at});
    case DiagnosisFinding::kEmptyFrom: return FormatTextIn(L"diag_empty_from", language, {at});
    case DiagnosisFinding::kDamagedFrom: return FormatTextIn(L"diag_damaged_from", language, {at});
    case DiagnosisFinding::kUnreadableFrom: return FormatTextIn(L"diag_unreadable_from", language, {at});
    case DiagnosisFinding::kSingleBlocks:
      switch (MostFrequentBadClass(d)) {
        case BlockClass::kOverwritten: return TranslateIn(L"diag_single_overwritten", language);
        case BlockClass::kEmpty: return TranslateIn(L"diag_single_empty", language);
        case BlockClass::kUnreadable: return TranslateIn(L"diag_single_unreadable", language);
        default: return TranslateIn(L"diag_single_damaged", language);
      }
    case DiagnosisFinding::kScattered:
      return FormatTextIn(L"diag_scattered", language, {BlockClassText(MostFrequentBadClass(d), language)});
    default: return TranslateIn(L"diag_none", language);
  }
}

std::wstring DiagnosisOrderText(const Diagnosis& d, int language) {
  return TranslateIn(d.deviceOrder ? L"diag_order_device" : L"diag_order_file", language);
}

std::wstring UsableCapacityText(const Diagnosis& d, int language) {
  return d.partial ? TranslateIn(L"unknown", language) : FormatByteSize(d.usableBytes);
}

std::wstring DiagnosisCountsText(const Diagnosis& d, int language) {
  return FormatTextIn(L"diag_counts", language,
                      {Num(CountOf(d, BlockClass::kOk)), Num(CountOf(d, BlockClass::kOverwritten)),
                       Num(CountOf(d, BlockClass::kEmpty)), Num(CountOf(d, BlockClass::kDamaged)),
                       Num(CountOf(d, BlockClass::kUnreadable)), Num(d.checked), Num(d.sampled)});
}

std::wstring DiagnosisWarningText(const Diagnosis& d, int language) {
  if (d.finding != DiagnosisFinding::kSingleBlocks) return std::wstring();
  return TranslateIn(L"diag_warning", language);
}

std::wstring DiagnosisReportBlock(const Diagnosis& d, int language) {
  if (!d.present) return std::wstring();
  std::wstring text = TranslateIn(L"diag_heading", language) + L"\r\n";
  text += L"  " + TranslateIn(L"diag_finding", language) + DiagnosisFindingText(d, language) + L"\r\n";
  text += L"  " + TranslateIn(L"diag_usable", language) + UsableCapacityText(d, language) + L"\r\n";
  text += L"  " + TranslateIn(L"diag_basis", language) + DiagnosisOrderText(d, language) + L"\r\n";
  text += L"  " + DiagnosisCountsText(d, language) + L"\r\n";
  const std::wstring warning = DiagnosisWarningText(d, language);
  if (!warning.empty()) text += L"  " + warning + L"\r\n";
  return text;
}

std::vector<std::wstring> DiagnosisLogLines(const Diagnosis& d) {
  if (!d.present) return {};
  std::vector<std::wstring> lines = {
      L"Diagnose: Befund: " + DiagnosisFindingText(d),
      L"Diagnose: Nutzbare Kapazität (geschätzt): " + UsableCapacityText(d),
      L"Diagnose: Grundlage: " + DiagnosisOrderText(d),
      L"Diagnose: " + DiagnosisCountsText(d),
  };
  const std::wstring warning = DiagnosisWarningText(d);
  if (!warning.empty()) lines.push_back(L"Diagnose: " + warning);
  return lines;
}

std::wstring DiagnosisJson(const Diagnosis& d) {
  std::wstring text = L"{\"usableBytes\":" + Num(d.usableBytes) + L",\"testBytes\":" + Num(d.testBytes) +
                      L",\"blockSize\":" + Num(d.blockSize) + L",\"finding\":\"" +
                      DiagnosisFindingName(d.finding) + L"\",\"findingBytes\":" + Num(d.findingBytes);
  if (d.periodBytes != 0) text += L",\"periodBytes\":" + Num(d.periodBytes);
  if (d.partial) text += L",\"partial\":true";
  if (d.deviceOrder) text += L",\"order\":\"device\",\"markCell\":" + Num(d.markCell);
  text += L",\"ok\":" + Num(CountOf(d, BlockClass::kOk)) + L",\"overwritten\":" +
          Num(CountOf(d, BlockClass::kOverwritten)) + L",\"empty\":" + Num(CountOf(d, BlockClass::kEmpty)) +
          L",\"damaged\":" + Num(CountOf(d, BlockClass::kDamaged)) + L",\"unreadable\":" +
          Num(CountOf(d, BlockClass::kUnreadable)) + L",\"checked\":" + Num(d.checked) + L",\"sampled\":" +
          Num(d.sampled) + L",\"cells\":\"";
  for (BlockClass cell : d.cells) text += BlockClassLetter(cell);
  return text + L"\"}";
}

std::wstring SpeedCurveJson(const SpeedCurve& curve) {
  return L"{\"write\":" + NumberList(curve.write) + L",\"read\":" + NumberList(curve.read) + L"}";
}

RunDiagnosis ParseRunDiagnosis(const std::wstring& text) {
  RunDiagnosis run;
  const std::wstring object = ObjectAfterKey(text, L"diagnosis");
  if (!object.empty() && HasJsonKey(object, L"usableBytes")) {
    Diagnosis& d = run.diagnosis;
    d.present = true;
    d.usableBytes = ReadJsonInteger(object, L"usableBytes");
    d.testBytes = ReadJsonInteger(object, L"testBytes");
    d.blockSize = static_cast<uint32_t>(ReadJsonInteger(object, L"blockSize"));
    d.finding = DiagnosisFindingOfName(ReadJsonText(object, L"finding"));
    d.findingBytes = ReadJsonInteger(object, L"findingBytes");
    d.periodBytes = ReadJsonInteger(object, L"periodBytes");
    d.partial = ReadJsonBool(object, L"partial");
    d.deviceOrder = ReadJsonText(object, L"order") == L"device";
    d.markCell = static_cast<size_t>(ReadJsonInteger(object, L"markCell"));
    d.counts[static_cast<size_t>(BlockClass::kOk)] = ReadJsonInteger(object, L"ok");
    d.counts[static_cast<size_t>(BlockClass::kOverwritten)] = ReadJsonInteger(object, L"overwritten");
    d.counts[static_cast<size_t>(BlockClass::kEmpty)] = ReadJsonInteger(object, L"empty");
    d.counts[static_cast<size_t>(BlockClass::kDamaged)] = ReadJsonInteger(object, L"damaged");
    d.counts[static_cast<size_t>(BlockClass::kUnreadable)] = ReadJsonInteger(object, L"unreadable");
    d.checked = ReadJsonInteger(object, L"checked");
    d.sampled = ReadJsonInteger(object, L"sampled");
    const std::wstring cells = ReadJsonText(object, L"cells");
    for (size_t i = 0; i < cells.size() && i < kMaxMapCells; ++i) d.cells.push_back(BlockClassOfLetter(cells[i]));
  }
  const std::wstring speed = ObjectAfterKey(text, L"speedCurve");
  run.speedCurve.write = ReadNumberList(speed, L"write");
  run.speedCurve.read = ReadNumberList(speed, L"read");
  return run;
}

}  // namespace velkor
