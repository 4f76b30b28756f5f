// What a full test tells about a failing medium beyond its error count: the class of every bad
// block, where the trouble starts, how much of the medium is usable, a map of the whole test, and
// the speed over the medium. The engine fills these; the report, the results file, the PDF export
// and the window show them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/localization.h"

namespace velkor {

// What a block read back held. The order is the order of the counts and the legend.
enum class BlockClass : uint8_t {
  kOk = 0,
  kOverwritten,  // another block's pattern: the medium wrote it over this one
  kEmpty,        // all 0x00 or all 0xFF
  kDamaged,      // anything else
  kUnreadable,   // the read failed
  kUnchecked,    // not read back (map cells only)
};
inline constexpr size_t kBlockClassCount = 6;

// "OK", "überschrieben", "leer", "beschädigt", "unlesbar", "nicht geprüft".
const wchar_t* BlockClassName(BlockClass kind);
// BlockClassName in language, for the window's block map.
std::wstring BlockClassText(BlockClass kind, int language);

// The class's letter in the results file's map: o, w, e, d, u and "." for unchecked.
wchar_t BlockClassLetter(BlockClass kind);

// The class a letter names; kUnchecked for any other character.
BlockClass BlockClassOfLetter(wchar_t letter);

// What the diagnosis found, in the words of the report's "Befund:" line.
enum class DiagnosisFinding : uint8_t {
  kNone = 0,
  kWraps,           // the medium repeats itself after findingBytes
  kEmptyFrom,       // data from findingBytes on comes back empty
  kDamagedFrom,     // data from findingBytes on comes back damaged
  kUnreadableFrom,  // reads fail from findingBytes on
  kSingleBlocks,    // single blocks are bad; the capacity is there
  kScattered,       // many bad blocks, spread among good ones: no place where the trouble starts
};

// "wraps", "emptyFrom", "damagedFrom", "unreadableFrom", "singleBlocks", "scattered" (the results
// file's words);
// "none" for kNone.
const wchar_t* DiagnosisFindingName(DiagnosisFinding finding);
DiagnosisFinding DiagnosisFindingOfName(const std::wstring& name);

// The most cells a block map has.
inline constexpr size_t kMaxMapCells = 1024;

// The diagnosis of one run. present is false for a run that found no bad block: then nothing of it
// shows anywhere.
struct Diagnosis {
  bool present = false;
  DiagnosisFinding finding = DiagnosisFinding::kNone;
  uint64_t findingBytes = 0;  // where the finding starts, or the period of a medium that wraps
  uint64_t usableBytes = 0;   // the estimate of the usable capacity
  uint64_t periodBytes = 0;   // the medium repeats itself after this many bytes; 0 when it does not
  uint64_t testBytes = 0;     // the whole full test, which the map spans
  uint32_t blockSize = 0;
  uint64_t counts[kBlockClassCount] = {};  // blocks per class (kUnchecked unused)
  bool partial = false;       // the test was not read to its end, nor sampled: no finding, no estimate
  uint64_t checked = 0;       // blocks read back and classed, sampled ones included
  uint64_t sampled = 0;       // of these, read by the sample after an early end
  std::vector<BlockClass> cells;  // the map: up to kMaxMapCells cells over the test, in order
  // The figures are offsets on the medium and the map goes in the order the blocks lie there
  // (the real part first, then what the medium only pretends to hold); otherwise they follow the
  // order of the test files. Files from before it have file order.
  bool deviceOrder = false;
  size_t markCell = 0;  // device order: the usable-capacity mark stands before this cell; 0: none
};

// The counts of a class.
inline uint64_t CountOf(const Diagnosis& d, BlockClass kind) { return d.counts[static_cast<size_t>(kind)]; }

// Speeds in MB/s for each 1 % of the full test, write and read; 0 where nothing was measured. An
// empty vector: that side was not measured at all (a verify-only run writes nothing).
inline constexpr size_t kSpeedCurvePoints = 100;
struct SpeedCurve {
  std::vector<double> write;
  std::vector<double> read;
};

// The diagnosis and the speed curve of a run, as a results file carries them.
struct RunDiagnosis {
  Diagnosis diagnosis;
  SpeedCurve speedCurve;
};

// Something to draw: a diagnosis or a speed curve.
bool HasDiagnosisPictures(const RunDiagnosis& run);

// The "Befund:" sentence, e.g. "Daten ab 300.0 MB kommen leer zurück."; for a partial diagnosis, that
// nothing can be told of the rest.
// The texts below take the language they are shown in; German for the log, files and velkor-cli.
std::wstring DiagnosisFindingText(const Diagnosis& d, int language = kLanguageGerman);

// "Blöcke: 300 OK, 0 überschrieben, 524 leer, 0 beschädigt, 0 unlesbar (824 geprüft, davon 324 Stichprobe)".
std::wstring DiagnosisCountsText(const Diagnosis& d, int language = kLanguageGerman);

// The warning of a medium whose capacity is there but whose single blocks fail; empty otherwise.
std::wstring DiagnosisWarningText(const Diagnosis& d, int language = kLanguageGerman);

// The usable capacity as the report gives it: FormatByteSize of the estimate, "unbekannt" for a
// partial diagnosis.
std::wstring UsableCapacityText(const Diagnosis& d, int language = kLanguageGerman);

// What the figures are: offsets on the medium, or places in the test files' order (then the
// estimate counts the intact blocks and cannot tell where they lie).
std::wstring DiagnosisOrderText(const Diagnosis& d, int language = kLanguageGerman);

// The report's block, CR LF line ends, each line ended, no empty line after it:
// "Diagnose", "  Befund: ...", "  Nutzbare Kapazität (geschätzt): ...", "  Grundlage: ...",
// "  Blöcke: ..." and, for single bad blocks, "  Warnung: ...". Empty for a diagnosis that is not present.
std::wstring DiagnosisReportBlock(const Diagnosis& d, int language = kLanguageGerman);

// The same lines for the log, each starting with "Diagnose: ".
std::vector<std::wstring> DiagnosisLogLines(const Diagnosis& d);

// The results file's values: one-line JSON objects, e.g. {"usableBytes":268435456,...,"cells":"ooww"}
// and {"write":[12.50,...],"read":[...]}.
std::wstring DiagnosisJson(const Diagnosis& d);
std::wstring SpeedCurveJson(const SpeedCurve& curve);

// Reads the "diagnosis" and "speedCurve" keys of a results file's text; what is missing stays
// empty (files from before them have neither). Any text is safe input.
RunDiagnosis ParseRunDiagnosis(const std::wstring& text);

}  // namespace velkor
