// Judging method-test results: the recommendation and the fastest variant.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/run_config.h"
#include "results/result_record.h"

namespace velkor {

// Logs "Testliste:" with one line per record and marks at most one record as recommended: the
// fastest uncancelled error-free one (verified ones only under "Zuverlässig", unless none is).
void LogTestListAndRecommend(const TestConfig& config, std::vector<ResultRecord>& records);

}  // namespace velkor
