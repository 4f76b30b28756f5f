#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <fstream>
#include <set>
#include <string>
#include <thread>

#include "engine/block_writer.h"
#include "engine/piece_lanes.h"
#include "tests/engine/worker_fixture.h"

namespace velkor {
namespace {

using testing::WriteFileBytes;

class WriteThroughHandlesTest : public testing::WorkerTest {};

// The open flags of each of this process's descriptors on path, by descriptor.
std::set<std::pair<int, int>> DescriptorsOn(const std::string& path) {
  std::set<std::pair<int, int>> found;
  DIR* dir = opendir("/proc/self/fd");
  if (!dir) return found;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    char target[PATH_MAX];
    const ssize_t length = readlink(("/proc/self/fd/" + name).c_str(), target, sizeof target - 1);
    if (length <= 0 || std::string(target, static_cast<size_t>(length)) != path) continue;
    std::ifstream info("/proc/self/fdinfo/" + name);
    for (std::string key; info >> key;) {
      if (key == "flags:") {
        std::string octal;
        info >> octal;
        found.insert({std::stoi(name), static_cast<int>(std::stol(octal, nullptr, 8))});
        break;
      }
    }
  }
  closedir(dir);
  return found;
}

// However many pieces are in flight, every descriptor that writes a write-through job's file
// writes through (O_DSYNC): a lane opened without it would leave pieces in the cache that the run
// counts as on the medium. The worker count sets how many are open (and so how many requests the
// medium gets at once). Watched while the workers write; the run is stopped once all are open.
TEST_F(WriteThroughHandlesTest, EveryDescriptorThatWritesTheFileWritesThrough) {
  for (const uint32_t workers : {1u, 3u}) {
    SCOPED_TRACE(workers);
    TestConfig job = Job(L"velkor.bin", 65536, workers);
    job.writeThrough = true;
    WriteFileBytes(job.filePath, "");
    const std::string path = Utf8(job.filePath);
    auto state = StateFor(16384);  // far more than is written before the stop
    const size_t expected = size_t{workers} * PiecesInFlight(workers);
    std::atomic<bool> done{false};

    std::thread writers([&] {
      RunAll(WriteWorker, job, state);
      done = true;
    });
    size_t most = 0;
    std::set<int> withoutFlag;
    while (!done.load()) {
      size_t writing = 0;
      for (const auto& [fd, flags] : DescriptorsOn(path)) {
        if ((flags & O_ACCMODE) == O_RDONLY) continue;
        ++writing;
        if ((flags & O_DSYNC) != O_DSYNC) withoutFlag.insert(fd);
      }
      most = std::max(most, writing);
      if (most >= expected) RequestStop(*state, StopReason::kUser);
    }
    writers.join();

    EXPECT_EQ(most, expected);
    EXPECT_TRUE(withoutFlag.empty());
  }
}

}  // namespace
}  // namespace velkor
