#include "engine/run_outcome.h"

#include <gtest/gtest.h>

#include <memory>

#include "common/handover.h"

namespace velkor {
namespace {

TEST(RunOutcome, ReachesTheReceiverWholeAndIsFreedWithoutOne) {
  std::unique_ptr<RunOutcome> received;
  SetUiReceiver({{}, {}, [&](std::unique_ptr<RunOutcome> o) { received = std::move(o); }});
  RunOutcome finished;
  finished.driveRoot = L"E:\\";
  finished.results.resize(2);
  PostTestFinished(std::move(finished));
  SetUiReceiver({});
  ASSERT_TRUE(received);
  EXPECT_EQ(received->driveRoot, L"E:\\");
  EXPECT_EQ(received->results.size(), 2u);

  PostTestFinished(RunOutcome{});  // freed at once; the sanitizer build checks for leaks
}

}  // namespace
}  // namespace velkor
