// A results file save that fails halfway, as on a disk that fills up while the file is written:
// the process's file size limit stops the write after some bytes.
#include "results/results_database.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <functional>

#include "platform/files.h"
#include "tests/support/temp_folder.h"

namespace velkor {
namespace {

using testing::ReadFileBytes;
using testing::TempFolder;

// Runs save with writes limited to limit bytes per file; SIGXFSZ is ignored, so a write past the
// limit fails with EFBIG instead of ending the process.
bool SaveWithSizeLimit(uint64_t limit, const std::function<bool()>& save) {
  rlimit previous{};
  getrlimit(RLIMIT_FSIZE, &previous);
  struct sigaction ignore {}, old {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGXFSZ, &ignore, &old);
  rlimit limited = previous;
  limited.rlim_cur = limit;
  EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  const bool saved = save();
  setrlimit(RLIMIT_FSIZE, &previous);
  sigaction(SIGXFSZ, &old, nullptr);
  return saved;
}

TEST(ResultsFile, ASaveThatFailsHalfwayKeepsThePreviousVersion) {
  TempFolder folder;
  const std::wstring path = folder.File(L"20250203-090500-E__-velkor.json");
  ResultsFileHeader config;
  config.driveRoot = L"E:\\";
  ResultRecord record;
  record.method = L"Quorvel-Modus (Volltest)";
  record.workers = 1;
  record.blockSize = 1048576;
  record.bytes = 1073741824;
  ASSERT_TRUE(SaveResultsFile(path, config, {record}, false));
  const std::string before = ReadFileBytes(path);

  const std::vector<ResultRecord> many(50, record);
  EXPECT_FALSE(SaveWithSizeLimit(before.size() + 200, [&] { return SaveResultsFile(path, config, many, true); }));
  EXPECT_EQ(ReadFileBytes(path), before);
  // Nothing half-written is left beside it either.
  EXPECT_EQ(platform::ListFolder(folder.path(), L"*"), std::vector<std::wstring>{L"20250203-090500-E__-velkor.json"});

  std::vector<ResultRecord> loaded;
  ASSERT_TRUE(LoadResultsFile(path, &loaded));
  EXPECT_EQ(loaded.size(), 1u);
}

}  // namespace
}  // namespace velkor
