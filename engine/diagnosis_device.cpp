#include "engine/diagnosis_device.h"

#include <algorithm>
#include <numeric>
#include <string>

#include "common/diag_log.h"
#include "engine/diagnosis_analysis.h"
#include "platform/errors.h"
#include "platform/file_extents.h"

namespace velkor {
namespace {

constexpr uint64_t kUnmapped = ~uint64_t{0};

// Each block of the file at its device offset; false with the reason logged where a block lies
// in no stretch.
bool MapFile(const DiagnosisCollector& c, const DiagnosisFile& f, std::vector<uint64_t>& offsets) {
  std::vector<platform::FileExtent> extents;
  if (!platform::QueryFileExtents(f.path, &extents)) {
    AppendDiagLog(L"Hinweis: Die Lage der Testdatei auf dem Medium ist nicht bekannt; die Diagnose folgt der "
                  L"Reihenfolge in den Testdateien. Datei=" + f.path + L", " + FormatWindowsError(platform::LastError()));
    return false;
  }
  size_t e = 0;
  for (uint64_t k = 0; k < f.blocks; ++k) {
    const uint64_t at = f.fileOffset + k * c.blockSize;
    while (e < extents.size() && extents[e].fileOffset + extents[e].length <= at) ++e;
    if (e == extents.size() || extents[e].fileOffset > at) {
      AppendDiagLog(L"Hinweis: Die Lage der Testdatei auf dem Medium ist nur zum Teil bekannt (ab Offset " +
                    std::to_wstring(at) + L"); die Diagnose folgt der Reihenfolge in den Testdateien. Datei=" + f.path);
      return false;
    }
    offsets[f.patternBase + k] = extents[e].deviceOffset + (at - extents[e].fileOffset);
  }
  return true;
}

}  // namespace

bool HasDeviceMap(const DiagnosisCollector& c) {
  return c.totalBlocks > 0 && c.deviceOffsets.size() == c.totalBlocks;
}

bool MapBlocksToDevice(DiagnosisCollector& c, const TestState& state) {
  c.deviceOffsets.clear();
  if (state.targetGone.load() || c.blockSize == 0 || FindingsOf(c).empty()) return false;
  std::vector<uint64_t> offsets(c.totalBlocks, kUnmapped);
  for (const DiagnosisFile& f : c.files) {
    if (!MapFile(c, f, offsets)) return false;
  }
  if (std::find(offsets.begin(), offsets.end(), kUnmapped) != offsets.end()) return false;
  c.deviceOffsets = std::move(offsets);
  AppendDiagLog(L"Diagnose: Lage der Testdateien auf dem Medium bestimmt; die Diagnose folgt ihr.");
  return true;
}

std::vector<uint64_t> DeviceOrder(const std::vector<uint64_t>& deviceOffsets) {
  std::vector<uint64_t> order(deviceOffsets.size());
  std::iota(order.begin(), order.end(), uint64_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](uint64_t a, uint64_t b) { return deviceOffsets[a] < deviceOffsets[b]; });
  return order;
}

Diagnosis AnalyzeInDeviceOrder(DiagnosisCollector& c, bool restSampled) {
  // The same blocks, numbered by their place on the medium.
  const std::vector<uint64_t> order = DeviceOrder(c.deviceOffsets);
  std::vector<uint64_t> rank(order.size()), offsets(order.size());
  for (uint64_t r = 0; r < order.size(); ++r) {
    rank[order[r]] = r;
    offsets[r] = c.deviceOffsets[order[r]];
  }
  DiagnosisCollector placed;
  placed.seed = c.seed;
  placed.blockSize = c.blockSize;
  placed.totalBlocks = c.totalBlocks;
  placed.checkedWords = c.checkedWords;
  placed.checked = std::make_unique<std::atomic<uint64_t>[]>(c.checkedWords);
  for (uint64_t i = 0; i < c.totalBlocks; ++i) {
    if (IsBlockChecked(c, i)) placed.checked[rank[i] / 64].fetch_or(uint64_t{1} << (rank[i] % 64));
  }
  placed.sampled = c.sampled.load();
  for (BlockFinding f : FindingsOf(c)) {
    if (f.index >= c.totalBlocks) continue;
    f.index = rank[f.index];
    if (f.verdict.kind == BlockClass::kOverwritten && f.verdict.sourceIndex < c.totalBlocks) {
      f.verdict.sourceIndex = rank[f.verdict.sourceIndex];
    }
    placed.findings.push_back(f);
  }
  return AnalyzeBlocks(placed, restSampled, &offsets);
}

}  // namespace velkor
