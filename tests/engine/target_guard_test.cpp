// A failed read, write or flush is the medium's only while the target is still there: a drive
// that went away, or a file system that no longer answers, stops the run as "drive gone" and
// counts no error.
#include "engine/target_guard.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/diag_log.h"
#include "common/handover.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "tests/support/temp_folder.h"

namespace velkor {
namespace {

using testing::TempFolder;

class TargetGuard : public ::testing::Test {
 protected:
  void SetUp() override {
    SetLogFilePath(logs_.File(L"velkor.log"));
    SetUiReceiver({[this](std::wstring line) { log_.push_back(std::move(line)); }, {}, {}});
  }
  void TearDown() override { SetUiReceiver({}); }

  TempFolder logs_;
  TempFolder drive_;
  std::vector<std::wstring> log_;
};

TEST_F(TargetGuard, AFailureCountsAsTheMediumsOnlyWhileTheTargetIsThere) {
  enum Change { kNothing, kFolderRemoved, kFolderReplaced, kNotRecorded };
  struct Case {
    const char* name;
    uint32_t code;
    Change change;
    bool gone;
  };
  const Case cases[] = {
      {"a medium's read error, everything in place", platform::kErrorIoDevice, kNothing, false},
      {"a write fault, everything in place", platform::kErrorWriteFault, kNothing, false},
      // A gone device's code while the target still answers is the medium's failure (Wine gives
      // "not ready" for a read error).
      {"a gone file system's code, the target answering", platform::kErrorFileInvalid, kNothing, false},
      {"a disconnected device's code, the target answering", platform::kErrorDeviceNotConnected, kNothing, false},
      {"not ready, the target answering", platform::kErrorNotReady, kNothing, false},
      {"no such device, the target answering", platform::kErrorNoSuchDevice, kNothing, false},
      {"a read error with the folder gone", platform::kErrorIoDevice, kFolderRemoved, true},
      {"a read error with another folder in its place", platform::kErrorIoDevice, kFolderReplaced, true},
      {"a read error of a job run on its own (nothing recorded)", platform::kErrorIoDevice, kNotRecorded, false},
      {"a gone device's code of a job run on its own", platform::kErrorFileInvalid, kNotRecorded, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::wstring root = drive_.File(L"stick");
    std::filesystem::create_directory(root);
    TestState state;
    state.driveRoot = root;
    if (c.change != kNotRecorded) {
      ASSERT_TRUE(RecordTargetFolder(state));
    }
    if (c.change == kFolderRemoved || c.change == kFolderReplaced) {
      std::filesystem::rename(root, drive_.File(L"stick-gone"));
      if (c.change == kFolderReplaced) std::filesystem::create_directory(root);
    }
    log_.clear();

    EXPECT_EQ(FailRunUnlessTargetGone(state, c.code), !c.gone);
    EXPECT_EQ(state.errorCount.load(), c.gone ? 0u : 1u);
    EXPECT_EQ(CurrentStopReason(state), c.gone ? StopReason::kDriveGone : StopReason::kIoFailure);
    EXPECT_EQ(state.targetGone.load(), c.gone);
    EXPECT_EQ(log_.size(), c.gone ? 1u : 0u);
    // Every later failure of the run is the drive's going too, told once.
    if (c.gone) {
      EXPECT_TRUE(TargetGoneAfterFailure(state, platform::kErrorIoDevice));
      EXPECT_EQ(log_.size(), 1u);
    }
    std::filesystem::remove_all(drive_.File(L"stick-gone"));
    std::filesystem::remove_all(root);
  }
}

}  // namespace
}  // namespace velkor
