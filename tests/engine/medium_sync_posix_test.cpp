// Linux only: proves with mincore that flushing and evicting leaves none of a written file in the
// page cache, and that direct verify reads do not bring it back.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "engine/block_verifier.h"
#include "engine/block_writer.h"
#include "engine/job_runner.h"
#include "engine/medium_sync.h"
#include "platform/files.h"
#include "platform/text.h"
#include "tests/engine/worker_fixture.h"

namespace velkor {
namespace {

constexpr long kTmpfsMagic = 0x01021994;

// Pages of the file that the page cache holds, and all its pages.
bool CountResidentPages(const std::string& path, size_t* resident, size_t* pages) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return false;
  const off_t size = ::lseek(fd, 0, SEEK_END);
  const size_t page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
  void* map = ::mmap(nullptr, static_cast<size_t>(size), PROT_READ, MAP_SHARED, fd, 0);
  ::close(fd);
  if (map == MAP_FAILED) return false;
  *pages = (static_cast<size_t>(size) + page - 1) / page;
  std::vector<unsigned char> in(*pages);
  const bool ok = ::mincore(map, static_cast<size_t>(size), in.data()) == 0;
  ::munmap(map, static_cast<size_t>(size));
  *resident = 0;
  for (unsigned char v : in) *resident += v & 1;
  return ok;
}

class PageCacheTest : public testing::WorkerTest {
 protected:
  void SetUp() override {
    WorkerTest::SetUp();
    // A disk-backed folder: /tmp may be a tmpfs, whose pages never leave memory.
    char pattern[] = "/var/tmp/velkor-cache-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    ASSERT_NE(made, nullptr);
    diskFolder_ = made;
    struct statfs fs;
    ASSERT_EQ(::statfs(diskFolder_.c_str(), &fs), 0);
    if (static_cast<long>(fs.f_type) == kTmpfsMagic) GTEST_SKIP() << diskFolder_ << " is a tmpfs";
  }
  void TearDown() override {
    std::error_code ec;
    if (!diskFolder_.empty()) std::filesystem::remove_all(diskFolder_, ec);
  }

  size_t Resident(const std::string& path) {
    size_t resident = 0, pages = 0;
    EXPECT_TRUE(CountResidentPages(path, &resident, &pages));
    return resident;
  }

  std::string diskFolder_;
};

TEST_F(PageCacheTest, WrittenFileLeavesTheCacheAndVerifyReadsDoNotRefillIt) {
  const std::string path = diskFolder_ + "/velkor.bin";
  TestConfig job = Job(L"unused", 65536, 4);
  job.filePath = platform::Utf8ToWide(path);
  testing::WriteFileBytes(job.filePath, "");
  auto written = StateFor(64);
  RunAll(WriteWorker, job, written);
  ASSERT_EQ(written->blocksWritten, 64u);
  ASSERT_GT(Resident(path), 0u) << "the probe should see freshly written pages";

  uint32_t code = 0;
  ASSERT_TRUE(FlushAndEvictFile(job.filePath, &code)) << code;
  EXPECT_EQ(Resident(path), 0u);

  if (!CanReadPastCache(job)) GTEST_SKIP() << diskFolder_ << " refuses direct reads";
  auto verified = StateFor(64);
  RunAll(VerifyWorker, job, verified);
  EXPECT_EQ(verified->blocksVerified, 64u);
  EXPECT_EQ(verified->errorCount, 0u);
  EXPECT_EQ(Resident(path), 0u) << "verify reads went through the cache";

  // A cached read fills the cache again (not always every page: the kernel may drop some at once
  // under memory pressure); eviction before a verify-only job empties it.
  ASSERT_EQ(testing::ReadFileBytes(job.filePath).size(), 64u * 65536);
  ASSERT_GT(Resident(path), 0u);
  ASSERT_TRUE(EvictFile(job.filePath, &code)) << code;
  EXPECT_EQ(Resident(path), 0u);
}

// The job runner uses the primitives: after a writing job that verifies, and after a verify-only
// job over a file that sat in the cache, none of the file is in memory, so what was compared came
// from the medium.
TEST_F(PageCacheTest, JobsVerifyWhatTheMediumHolds) {
  const std::string path = diskFolder_ + "/velkor.bin";
  testing::WriteFileBytes(platform::Utf8ToWide(path), "");
  TestConfig config;
  config.errorLimit = 500;
  TestVariant variant;
  variant.accessType = AccessTypeForProfile(kProfileQuorvel);
  variant.workerCount = 2;
  variant.blockSize = 65536;
  variant.byteCount = 64 * 65536;
  variant.filePath = platform::Utf8ToWide(path);
  if (!CanReadPastCache([&] {
        TestConfig job = config;
        job.filePath = variant.filePath;
        job.blockSize = variant.blockSize;
        job.ioChunkSize = variant.accessType.ioChunkSize;
        return job;
      }())) {
    GTEST_SKIP() << diskFolder_ << " refuses direct reads";
  }
  auto state = std::make_shared<TestState>();
  const ResultRecord written = RunVariant(config, variant, state);
  EXPECT_EQ(written.errors, 0u);
  EXPECT_EQ(state->blocksVerified, 64u);
  EXPECT_EQ(Resident(path), 0u);

  ASSERT_EQ(testing::ReadFileBytes(variant.filePath).size(), 64u * 65536);  // back into the cache
  ASSERT_GT(Resident(path), 0u);
  const ResultRecord checked = RunVerifyOnlyVariant(config, variant, state);
  EXPECT_EQ(checked.errors, 0u);
  EXPECT_EQ(state->blocksVerified, 64u);
  EXPECT_EQ(Resident(path), 0u);
}

}  // namespace
}  // namespace velkor

namespace velkor {
namespace {

// Blocks that are no multiple of the direct-I/O alignment are read past the cache as well, through
// the bounce buffer, and still compare right.
TEST_F(PageCacheTest, UnalignedBlocksAreReadPastTheCacheToo) {
  const std::string path = diskFolder_ + "/velkor.bin";
  TestConfig job = Job(L"unused", 6144, 3);
  job.filePath = platform::Utf8ToWide(path);
  testing::WriteFileBytes(job.filePath, "");
  auto written = StateFor(100);
  RunAll(WriteWorker, job, written);
  uint32_t code = 0;
  ASSERT_TRUE(FlushAndEvictFile(job.filePath, &code)) << code;
  const VerifyReadMode mode = ChooseVerifyReadMode(job);
  if (!mode.pastCache) GTEST_SKIP() << diskFolder_ << " refuses direct reads";
  EXPECT_TRUE(mode.bounce);
  auto verified = StateFor(100);
  RunAll(VerifyWorker, job, verified);
  EXPECT_EQ(verified->blocksVerified, 100u);
  EXPECT_EQ(verified->errorCount, 0u);
  EXPECT_EQ(Resident(path), 0u) << "verify reads went through the cache";
}

}  // namespace
}  // namespace velkor
