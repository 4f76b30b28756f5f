// velkor-cli test or verify over several targets: one run per target, each with its own state,
// results file and log lines marked with the target; in parallel up to --parallel, one at a time
// per physical device; one table at the end.
#pragma once

#include <string>
#include <vector>

#include "cli/batch_summary.h"
#include "cli/cli_args.h"
#include "cli/target_start.h"

namespace velkor {

// Runs every target of options and returns the exit code of BatchExitCode.
int RunBatch(const CliOptions& options, bool verifyOnly);

// The row's name, file system, size and device from a described target.
void DescribeRow(const TargetStart& start, BatchRow* row);

// Empty when the summary file can be written at path (it is created empty now), else the
// one-line "Fehler:" text saying why not.
std::wstring SummaryFileProblem(const std::wstring& path);

// Writes BatchSummaryJson to path; a failure is logged as a "FEHLER:" line.
void WriteSummaryFile(const std::wstring& path, const std::vector<BatchRow>& rows, bool verifyOnly, int exitCode);

}  // namespace velkor
