// Runs one job (a method-test variant or one full-test file) with its worker threads and turns it
// into a ResultRecord. A writing job has two stages that may lie apart: a full test writes all its
// files before it reads any back, so that a medium that wraps its writes around is caught.
#pragma once

#include <memory>

#include "engine/run_config.h"
#include "engine/job_variant.h"
#include "results/result_record.h"

namespace velkor {

// A writing job after its write stage.
struct WrittenJob {
  TestVariant variant;
  ResultRecord record;         // written amount, write time and errors so far; not yet verified
  bool verifyPending = false;  // its access type asks for a verify stage and the write ended clean
};

// Before a job's file is read back: drops its pages from the system cache and, for a file system
// in user space over a block device, the device's own cache, so that the medium answers. What
// cannot be done is said in a "Hinweis:" line (the device cache's once per run), as is a file that
// cannot be read past the cache.
void PrepareVerifyFromMedium(const TestConfig& job, TestState& s);

// Writes the job's blocks; when a verify stage is to follow, flushes the file to the medium and
// drops it from the cache (the flush belongs to the write and counts in its time; a failed flush
// is an error that stops the run). Blocks until every writer has ended.
WrittenJob RunWriteStage(const TestConfig& config, const TestVariant& variant, const std::shared_ptr<TestState>& state);

// Reads a written job back from the medium and completes its record (amount read back, errors,
// time, speed, verified) and logs "Variante beendet: ...". Without a pending verify stage, or
// when a stop was requested, it completes the record as it stands, with the stop's reason.
void RunVerifyStage(const TestConfig& config, WrittenJob& job, const std::shared_ptr<TestState>& state);

// Both stages at once: RunWriteStage, then RunVerifyStage. Failures show in the record (errors,
// stop reason, 0 MB/s) and in the log.
ResultRecord RunVariant(const TestConfig& config, const TestVariant& variant,
                        const std::shared_ptr<TestState>& state);

// Verifies the job's range of an existing file, read from the medium, without writing.
ResultRecord RunVerifyOnlyVariant(const TestConfig& config, const TestVariant& variant,
                                  const std::shared_ptr<TestState>& state);

}  // namespace velkor
