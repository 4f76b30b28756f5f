// The diagnosis in the medium's own terms. A fake keeps what lies below its real size: where the
// file system put the test files' blocks, not their order in the files, says how much of the
// medium is usable (a file system that does not fill front to back, or free space fragmented by
// other files, scatters a fake's lost blocks over the file).
#pragma once

#include <cstdint>
#include <vector>

#include "engine/diagnosis_collector.h"
#include "results/diagnosis.h"

namespace velkor {

// Where a run found bad blocks and its target is still there: fills c.deviceOffsets from the test
// files' stretches on the medium (platform::QueryFileExtents). Where the system cannot tell for
// every block, leaves them empty and logs a "Hinweis:" line that the diagnosis follows the files'
// order. True when the map was made.
bool MapBlocksToDevice(DiagnosisCollector& c, const TestState& state);

// c.deviceOffsets holds an offset for every block.
bool HasDeviceMap(const DiagnosisCollector& c);

// The order of the blocks on the medium: the pattern indices sorted by device offset (equal
// offsets, which only a medium's own mapping could give, in index order).
std::vector<uint64_t> DeviceOrder(const std::vector<uint64_t>& deviceOffsets);

// AnalyzeDiagnosis over the blocks in device order (REQUIRES HasDeviceMap(c)).
Diagnosis AnalyzeInDeviceOrder(DiagnosisCollector& c, bool restSampled);

}  // namespace velkor
