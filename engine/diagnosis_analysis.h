// From what a collector gathered to what the user is told: the diagnosis and the speed curve.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/diagnosis_collector.h"
#include "results/diagnosis.h"

namespace velkor {

// The diagnosis of the test: present when a bad block was found. A medium whose bad blocks mostly
// hold other blocks' data repeats itself: it keeps one period's worth of the test (on the medium
// the period of the distances, EstimatePeriod; in the files' order the number of blocks that came
// back intact, EstimateGoodBlocks). Otherwise the trouble starts at the first bad block after the
// last good one.
// restSampled: what the check left was sampled; without it, and with blocks left unchecked, the
// diagnosis is partial (the classes and the map only).
// With a device map (c.deviceOffsets) the blocks go in the order they lie on the medium, and the
// usable capacity and the period are offsets there; without one they go in the files' order and
// the capacity counts the intact blocks. Good blocks after the last bad one mean single bad blocks
// only where those are few and isolated (FewIsolatedBadBlocks); otherwise bad blocks are
// scattered.
Diagnosis AnalyzeDiagnosis(DiagnosisCollector& c, bool restSampled);

// AnalyzeDiagnosis over c's blocks in their index order; offsets (by index) their places on the
// medium, or null for the files' order.
Diagnosis AnalyzeBlocks(DiagnosisCollector& c, bool restSampled, const std::vector<uint64_t>* offsets);

// How many bad blocks are "a few" in any test; a large one may have one in a hundred.
inline constexpr uint64_t kFewBadBlocks = 8;

// At most kFewBadBlocks or one in a hundred checked, and no more than two of them side by side (a
// bad spot across a block boundary). badIndices ascending.
bool FewIsolatedBadBlocks(const std::vector<uint64_t>& badIndices, uint64_t checked);

// The blocks of the test that are good: the checked good ones, and unchecked ones as their checked
// neighbours are (between a good and a bad one, half of them). badIndices ascending.
uint64_t EstimateGoodBlocks(const DiagnosisCollector& c, const std::vector<uint64_t>& badIndices);

// The last two neighbouring checked blocks, one good and one bad, with unchecked blocks between
// them: where the picture is unsure. False when there are none. badIndices ascending.
bool LastOpenTransition(const DiagnosisCollector& c, const std::vector<uint64_t>& badIndices, uint64_t* from,
                        uint64_t* to);

// The period of a medium that wraps, in bytes, from the distances between overwritten blocks and
// the data they hold: each is about a multiple of it, give or take the few blocks a file system
// that allocates in order of arrival shifts. The largest period nine in ten distances are near
// multiples of, refined as the median of distance / multiple and rounded to whole blocks (at least
// one); 0 without distances.
uint64_t EstimatePeriod(std::vector<uint64_t> distances, uint32_t blockSize);

// The block with the first bad data of the medium's bad end: the first bad block after the last
// good one. badIndices ascending; lastGood is -1 when no block was good. -1 when the last checked
// block was good.
int64_t BadEndStart(const std::vector<uint64_t>& badIndices, int64_t lastGood);

// The highest checked block that is not bad (-1 when none); badIndices ascending.
int64_t LastGoodBlock(const DiagnosisCollector& c, const std::vector<uint64_t>& badIndices);

// MB/s for each 1 % of the test, from the collector's marks and the counter's ticks per second.
SpeedCurve BuildSpeedCurve(const DiagnosisCollector& c, int64_t ticksPerSecond);

}  // namespace velkor
