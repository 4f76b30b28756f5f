// Runs one write-and-verify job with a chosen worker count straight through the job runner (the
// command line keeps one core free, so it cannot ask for more workers than the machine has), and
// watches the file grow: how far its size ran ahead of the blocks written so far.
//
// Usage: velkor_job_run FILE SIZE_MIB BLOCK_KIB WORKERS CHUNK_KIB [write-through]
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "common/diag_log.h"
#include "engine/job_runner.h"
#include "platform/files.h"
#include "platform/text.h"

int main(int argc, char** argv) {
  using namespace velkor;
  if (argc < 6) {
    std::fprintf(stderr, "usage: %s FILE SIZE_MIB BLOCK_KIB WORKERS CHUNK_KIB [write-through]\n", argv[0]);
    return 2;
  }
  const std::string path = argv[1];
  const uint64_t sizeMiB = std::strtoull(argv[2], nullptr, 10);
  TestVariant variant;
  variant.blockSize = static_cast<uint32_t>(std::strtoul(argv[3], nullptr, 10) * 1024);
  variant.workerCount = static_cast<uint32_t>(std::strtoul(argv[4], nullptr, 10));
  variant.accessType = AccessType{L"bench", true, argc > 6 && std::string(argv[6]) == "write-through",
                                  static_cast<uint32_t>(std::strtoul(argv[5], nullptr, 10) * 1024)};
  variant.byteCount = sizeMiB * 1048576 / variant.blockSize * variant.blockSize;
  variant.filePath = platform::Utf8ToWide(path);
  SetLogFilePath(platform::Utf8ToWide(path + ".log"));

  platform::FileHandle file = platform::CreateFileTruncate(variant.filePath);
  if (!file.valid()) {
    std::fprintf(stderr, "cannot create %s\n", path.c_str());
    return 1;
  }
  platform::CloseFile(file);

  TestConfig config;
  auto state = std::make_shared<TestState>();
  std::atomic<bool> writing{true};
  uint64_t maxLead = 0, samples = 0;
  std::thread watcher([&] {
    while (writing.load()) {
      struct stat st;
      if (::stat(path.c_str(), &st) == 0) {
        const uint64_t written = state->blocksWritten.load() * variant.blockSize;
        const uint64_t size = static_cast<uint64_t>(st.st_size);
        if (size > written) maxLead = std::max(maxLead, size - written);
        ++samples;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  });
  const auto t0 = std::chrono::steady_clock::now();
  WrittenJob job = RunWriteStage(config, variant, state);
  const double writeSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  writing = false;
  watcher.join();
  const auto t1 = std::chrono::steady_clock::now();
  RunVerifyStage(config, job, state);
  const double verifySeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t1).count();
  const ResultRecord& r = job.record;
  std::printf("workers %u block %u KiB chunk %u KiB%s: written %llu MiB in %.2f s, verified %llu MiB in %.2f s, "
              "errors %llu, size ahead of written blocks at most %.1f MiB (%llu samples)\n",
              variant.workerCount, variant.blockSize / 1024, variant.accessType.ioChunkSize / 1024,
              variant.accessType.writeThrough ? " write-through" : "",
              static_cast<unsigned long long>(r.writtenBytes >> 20), writeSeconds,
              static_cast<unsigned long long>(r.verifiedBytes >> 20), verifySeconds,
              static_cast<unsigned long long>(r.errors), static_cast<double>(maxLead) / 1048576.0,
              static_cast<unsigned long long>(samples));
  return r.errors == 0 && r.verified ? 0 : 1;
}
