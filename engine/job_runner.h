// Runs one job (a method-test variant or one full-test file) with its worker threads and turns it
// into a ResultRecord.
#pragma once

#include <memory>

#include "engine/run_config.h"
#include "engine/job_variant.h"
#include "results/result_record.h"

namespace velkor {

// Writes the job's blocks and, when its access type asks for it and the write stage ended clean,
// flushes the file to the medium, drops it from the cache and verifies it. Blocks until every
// worker has ended. Failures show in the record (errors, cancelled, 0 MB/s) and in the log.
ResultRecord RunVariant(const TestConfig& config, const TestVariant& variant,
                        const std::shared_ptr<TestState>& state);

// Verifies the job's range of an existing file, read from the medium, without writing.
ResultRecord RunVerifyOnlyVariant(const TestConfig& config, const TestVariant& variant,
                                  const std::shared_ptr<TestState>& state);

}  // namespace velkor
