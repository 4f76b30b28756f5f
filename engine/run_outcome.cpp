#include "engine/run_outcome.h"

#include <memory>

#include "common/handover.h"

namespace velkor {

void PostTestFinished(RunOutcome outcome) {
  auto owned = std::make_unique<RunOutcome>(std::move(outcome));
  const auto receiver = CurrentUiReceiver();
  if (receiver && receiver->testDone) receiver->testDone(std::move(owned));
}

}  // namespace velkor
