// What the writer, verifier and medium tests share: a temp folder with the log pointed into it,
// jobs over files in it, worker threads and the pattern bytes to compare with.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "common/diag_log.h"
#include "common/handover.h"
#include "engine/pattern.h"
#include "engine/run_config.h"
#include "platform/files.h"
#include "platform/text.h"
#include "tests/support/temp_folder.h"

namespace velkor::testing {

using Worker = void (*)(const TestConfig&, std::shared_ptr<TestState>, uint32_t);

class WorkerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetUiReceiver({});
    logPath_ = folder_.File(L"velkor.log");
    SetLogFilePath(logPath_);
  }

  // A job over folder/name; the file is not created.
  TestConfig Job(const std::wstring& name, uint32_t blockSize, uint32_t workers) const {
    TestConfig job;
    job.filePath = folder_.File(name);
    job.blockSize = blockSize;
    job.workerCount = workers;
    job.ioChunkSize = 4096;
    job.errorLimit = 500;
    return job;
  }

  static std::shared_ptr<TestState> StateFor(uint64_t totalBlocks) {
    auto state = std::make_shared<TestState>();
    state->totalBlocks = totalBlocks;
    return state;
  }

  // Runs workers 0 to job.workerCount - 1 side by side and waits for all.
  static void RunAll(Worker worker, const TestConfig& job, const std::shared_ptr<TestState>& state) {
    std::vector<std::thread> threads;
    for (uint32_t w = 0; w < job.workerCount; ++w) threads.emplace_back(worker, std::cref(job), state, w);
    for (auto& t : threads) t.join();
  }

  static std::string Pattern(uint64_t blockIndex, uint32_t blockSize) {
    std::string bytes(blockSize, '\0');
    FillPatternReference(bytes.data(), blockSize, kTestPatternSeed, blockIndex);
    return bytes;
  }

  // The blocks 0 to count - 1, as a complete write leaves them.
  static std::string Blocks(uint64_t count, uint32_t blockSize) {
    std::string bytes;
    for (uint64_t i = 0; i < count; ++i) bytes += Pattern(i, blockSize);
    return bytes;
  }

  // The log's messages without their time stamps.
  std::vector<std::string> LogLines() const {
    std::vector<std::string> lines;
    if (!platform::FileExists(logPath_)) return lines;
    const std::string bytes = ReadFileBytes(logPath_);
    size_t start = 0;
    while (start < bytes.size()) {
      size_t end = bytes.find("\r\n", start);
      if (end == std::string::npos) end = bytes.size();
      std::string line = bytes.substr(start, end - start);
      const size_t stamp = line.find("] ");
      if (stamp != std::string::npos) line = line.substr(stamp + 2);
      lines.push_back(line);
      start = end + 2;
    }
    return lines;
  }

  // Log lines that begin with prefix.
  std::vector<std::string> LinesStartingWith(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const auto& line : LogLines()) {
      if (line.rfind(prefix, 0) == 0) found.push_back(line);
    }
    return found;
  }

  static std::string Utf8(const std::wstring& text) { return platform::WideToUtf8(text); }

  TempFolder folder_;
  std::wstring logPath_;
};

}  // namespace velkor::testing
