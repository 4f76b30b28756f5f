#include "cli/cli_request.h"

#include <gtest/gtest.h>

namespace velkor {
namespace {

CliOptions Parsed(std::vector<std::wstring> args) {
  CliOptions options;
  std::wstring error;
  EXPECT_TRUE(ParseCliArgs(args, &options, &error));
  return options;
}

// How velkor-cli's options become the start the window would make, without a text round trip.
TEST(CliRequest, OptionsBecomeATypedStartRequest) {
  const struct {
    const char* what;
    std::vector<std::wstring> args;
    bool verifyOnly;
    StartMode mode;
    SizeSource size;
    uint32_t profile;
    uint64_t blockKb;
  } cases[] = {
      {"bare test: the compact Quorvel start", {L"test", L"/m"}, false, StartMode::kCompactQuorvel,
       SizeSource::kEntered, kProfileReliable, 1024},
      {"quorvel without size", {L"test", L"/m", L"--profile", L"quorvel"}, false, StartMode::kCompactQuorvel,
       SizeSource::kEntered, kProfileQuorvel, 1024},
      {"another profile fills the free space", {L"test", L"/m", L"--profile", L"turbo"}, false,
       StartMode::kSettings, SizeSource::kFreeSpace, kProfileTurbo, 8192},
      {"a size is taken as entered", {L"test", L"/m", L"--size", L"64", L"--block", L"64"}, false,
       StartMode::kSettings, SizeSource::kEntered, kProfileReliable, 64},
      {"bare verify checks what a bare test left", {L"verify", L"/m"}, true, StartMode::kSettings,
       SizeSource::kExistingFiles, kProfileQuorvel, 1024},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const StartRequest r = StartRequestFromOptions(Parsed(c.args), c.verifyOnly, 16);
    EXPECT_EQ(r.verifyOnly, c.verifyOnly);
    EXPECT_EQ(r.mode, c.mode);
    EXPECT_EQ(r.sizeSource, c.size);
    EXPECT_EQ(r.profile, c.profile);
    EXPECT_EQ(r.blockKb, c.blockKb);
  }
  const StartRequest r = StartRequestFromOptions(
      Parsed({L"test", L"/m", L"--size", L"64", L"--workers", L"3", L"--reserve", L"5", L"--test-points", L"7",
              L"--method-test", L"--no-fastest", L"--no-random-points", L"--delete"}),
      false, 16);
  EXPECT_EQ(r.testSizeMb, 64u);
  EXPECT_EQ(r.workers, 3u);
  EXPECT_EQ(r.reserveMb, 5u);
  EXPECT_EQ(r.testPoints, 7u);
  EXPECT_TRUE(r.methodTest && !r.useFastest && !r.randomTestPoints && r.deleteAfter);
}

}  // namespace
}  // namespace velkor
