// From what a collector gathered to what the user is told: the diagnosis and the speed curve.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/diagnosis_collector.h"
#include "results/diagnosis.h"

namespace velkor {

// The diagnosis of the test: present when a bad block was found. A medium whose bad blocks mostly
// hold other blocks' data repeats itself: it keeps one period's worth of the test, so its usable
// capacity is the number of blocks that came back intact (EstimateGoodBlocks; the distances'
// period, EstimatePeriod, where none did). Otherwise the trouble starts after the last good block:
// the usable capacity reaches up to the first bad block after it; with good blocks after the last
// bad one, single blocks failed and the whole test counts as usable.
// restSampled: what the check left was sampled; without it, and with blocks left unchecked, the
// diagnosis is partial (the classes and the map only).
Diagnosis AnalyzeDiagnosis(DiagnosisCollector& c, bool restSampled);

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
