#include "engine/verify_only_files.h"

#include <gtest/gtest.h>

#include "engine/job_runner.h"
#include "engine/run_files.h"
#include "tests/engine/worker_fixture.h"

namespace velkor {
namespace {

using testing::ReadFileBytes;
using testing::WriteFileBytes;

class DetectBlockSize : public testing::WorkerTest {};

// Block 1's pattern begins where block 0 ends: any size of whole KiB is found, the field's hint
// or not, and content that is not a test file's gives none.
TEST_F(DetectBlockSize, FromTheFilesContent) {
  const std::wstring path = folder_.File(L"velkor.bin");
  const struct {
    uint32_t written;
    uint32_t hint;
  } cases[] = {{65536, 65536}, {262144, 65536}, {6144, 1048576}, {1048576, 4096}, {8388608, 1048576},
               {4096, 8388608}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.written);
    WriteFileBytes(path, Blocks(3, c.written));
    EXPECT_EQ(DetectWrittenBlockSize(path, kTestPatternSeed, c.hint), c.written);
  }
  WriteFileBytes(path, std::string(3 * 65536, 'x'));
  EXPECT_EQ(DetectWrittenBlockSize(path, kTestPatternSeed, 65536), 0u);
  std::string lostStart = Blocks(3, 65536);
  lostStart[10] ^= 1;  // a medium that lost the start of the file: nothing to go by
  WriteFileBytes(path, lostStart);
  EXPECT_EQ(DetectWrittenBlockSize(path, kTestPatternSeed, 65536), 0u);
  WriteFileBytes(path, Pattern(0, 65536));  // one block: no second one to find
  EXPECT_EQ(DetectWrittenBlockSize(path, kTestPatternSeed, 4096), 0u);
  EXPECT_EQ(DetectWrittenBlockSize(folder_.File(L"absent.bin"), kTestPatternSeed, 4096), 0u);
}

// A medium that maps the second file onto the first returns the first file's data for both. With
// the same patterns in every file that passed; every file now has patterns of its own, so the
// read-back after everything was written finds it, and a later verify-only run too.
TEST_F(DetectBlockSize, ASecondFileThatHoldsTheFirstOnesDataFails) {
  TestConfig config = Job(L"velkor.bin", 65536, 2);
  config.driveRoot = folder_.path();
  config.accessProfile = kProfileQuorvel;
  config.testSize = 2 * 16 * 65536;
  config.maxFileSize = 16 * 65536;
  const std::vector<TestVariant> plan = BuildFullTestPlan(config);
  ASSERT_EQ(plan.size(), 2u);
  auto state = std::make_shared<TestState>();
  state->createdFiles = {plan[0].filePath, plan[1].filePath};
  ASSERT_TRUE(CreateTestFiles(*state));
  std::vector<WrittenJob> written;
  for (const TestVariant& v : plan) written.push_back(RunWriteStage(config, v, state));
  WriteFileBytes(plan[1].filePath, ReadFileBytes(plan[0].filePath));  // what the medium returns
  RunVerifyStage(config, written[0], state);
  EXPECT_EQ(written[0].record.errors, 0u);
  RunVerifyStage(config, written[1], state);
  EXPECT_EQ(written[1].record.errors, 16u);

  // "Nur prüfen" later: the same mismatches, and a line that names both causes of such data.
  TestConfig again = config;
  again.verifyOnly = true;
  MatchVerifyOnlyToFiles(again);
  EXPECT_EQ(LinesStartingWith("Hinweis: Die zweite Testdatei beginnt mit den Daten der ersten.").size(), 1u);
  auto verifyState = std::make_shared<TestState>();
  EXPECT_EQ(RunVerifyOnlyVariant(again, BuildFullTestPlan(again)[1], verifyState).errors, 16u);
}

}  // namespace
}  // namespace velkor
