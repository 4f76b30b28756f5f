// The body of the test thread: one run from the configuration to the final results file.
#pragma once

#include <memory>

#include "engine/run_config.h"

namespace velkor {

// Runs the whole test described by config: preflight, results file, method test (with take-over
// of the fastest variant), full test or verify-only, and the hand-over of the records. Ends with
// state->running false and phase Finished on every path; posts the outcome with PostTestFinished
// unless the run ended in its preflight.
void RunTest(TestConfig config, std::shared_ptr<TestState> state);

// The state a front-end starts a run of config with: running, and the target filled in before the
// thread starts, so its drive watch can read them at once.
std::shared_ptr<TestState> NewRunState(const TestConfig& config);

}  // namespace velkor
