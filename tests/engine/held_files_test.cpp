// Test files held for a moment by another program: the retry around opens and deletes.
#include "engine/held_files.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "platform/errors.h"

namespace velkor {
namespace {

// An attempt that fails with the given codes in turn, then succeeds (0 in the list means success).
struct Script {
  std::vector<uint32_t> codes;
  size_t calls = 0;
  bool operator()() {
    const uint32_t code = calls < codes.size() ? codes[calls] : codes.back();
    ++calls;
    if (code == 0) return true;
    platform::SetLastError(code);
    return false;
  }
};

TEST(HeldFiles, RetriesOnlyWhileTheFileIsHeld) {
  struct Case {
    std::vector<uint32_t> codes;
    bool result;
    size_t calls;
    uint32_t lastError;
  };
  // Access denied is a scanner's hold on Windows, and the file's rights on Linux.
  const bool deniedMayPass = platform::MayBeHeldByAnotherProgram(5);
  const Case cases[] = {
      {{32, 32, 0}, true, 3, 0},  // a sharing violation for a moment
      {{5, 0}, deniedMayPass, deniedMayPass ? 2u : 1u, 5},
      {{2}, false, 1, 2},         // a missing file is reported at once
      {{112}, false, 1, 112},
      {{32, 2}, false, 2, 2},     // held, then gone: the last code counts
  };
  for (const Case& c : cases) {
    Script script{c.codes};
    platform::SetLastError(0);
    EXPECT_EQ(RetryWhileHeld(std::ref(script)), c.result);
    EXPECT_EQ(script.calls, c.calls);
    if (!c.result) {
      EXPECT_EQ(platform::LastError(), c.lastError);
    }
  }
}

TEST(HeldFiles, GivesUpAfterTheBoundOrAStop) {
  Script held{{32}};
  EXPECT_FALSE(RetryWhileHeld(std::ref(held), nullptr, 300));
  EXPECT_GT(held.calls, 1u);
  EXPECT_EQ(platform::LastError(), platform::kErrorSharingViolation);
  EXPECT_NE(HeldFileNote(32).find(L"kein Fehler des Mediums"), std::wstring::npos);
  EXPECT_EQ(HeldFileNote(2), L"");

  std::atomic<bool> stop{true};
  Script stopped{{5}};
  EXPECT_FALSE(RetryWhileHeld(std::ref(stopped), &stop, 60000));
  EXPECT_EQ(stopped.calls, 1u);
}

// A file another program still held after the wait stops the run without blaming the medium; any
// other open failure is the medium's.
TEST(HeldFiles, AHeldFileStopsTheRunWithoutAnErrorOfTheMedium) {
  TestState held;
  StopOnOpenFailure(held, platform::kErrorSharingViolation);
  EXPECT_TRUE(held.stopRequested.load());
  EXPECT_EQ(CurrentStopReason(held), StopReason::kFileHeld);
  EXPECT_EQ(held.errorCount.load(), 0u);
  EXPECT_TRUE(IsCancelStop(StopReason::kFileHeld));

  TestState failed;
  StopOnOpenFailure(failed, platform::kErrorIoDevice);
  EXPECT_EQ(CurrentStopReason(failed), StopReason::kIoFailure);
  EXPECT_EQ(failed.errorCount.load(), 1u);
}

}  // namespace
}  // namespace velkor
