// Judging method-test results: the recommendation and the fastest variant.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/test_config.h"
#include "results/result_record.h"

namespace velkor {

// Logs "Testliste:" with one line per record and marks at most one record as recommended: the
// fastest uncancelled error-free one (verified ones only under "Zuverlässig", unless none is).
void LogTestListAndRecommend(const TestConfig& config, std::vector<ResultRecord>& records);

// The fastest uncancelled error-free record with a speed above 0; a verified record counts
// 0.001 MB/s more; the earlier wins a tie. -1 when none qualifies.
int32_t FindFastestResult(const std::vector<ResultRecord>& records);

}  // namespace velkor
