#include "cli/cli_args.h"

#include <gtest/gtest.h>

namespace velkor {
namespace {

CliOptions Parse(std::vector<std::wstring> args) {
  CliOptions options;
  std::wstring error;
  EXPECT_TRUE(ParseCliArgs(args, &options, &error)) << std::string(error.begin(), error.end());
  return options;
}

TEST(CliArgs, TestWithEveryOption) {
  const CliOptions o = Parse({L"test", L"/mnt/stick", L"--size", L"512", L"--block", L"64", L"--workers", L"2",
                              L"--profile", L"turbo", L"--reserve", L"10", L"--method-test", L"--test-points",
                              L"5", L"--no-random-points", L"--no-fastest", L"--delete", L"--yes",
                              L"--results-dir", L"/tmp/r", L"--system-drive"});
  EXPECT_EQ(o.command, CliCommand::kTest);
  EXPECT_EQ(o.target, L"/mnt/stick");
  EXPECT_EQ(*o.sizeMb, 512u);
  EXPECT_EQ(*o.blockKb, 64u);
  EXPECT_EQ(*o.workers, 2u);
  EXPECT_EQ(*o.profile, 0u);
  EXPECT_EQ(*o.reserveMb, 10u);
  EXPECT_EQ(*o.testPoints, 5u);
  EXPECT_TRUE(o.methodTest && o.noRandomPoints && o.noFastest && o.deleteAtEnd && o.yes && o.systemDrive);
  EXPECT_FALSE(Parse({L"test", L"/mnt/stick", L"--yes"}).systemDrive);  // --yes is no permission for it
  EXPECT_EQ(o.resultsDir, L"/tmp/r");
}

TEST(CliArgs, ProfilesByNameOrNumber) {
  const struct {
    const wchar_t* text;
    uint32_t profile;
  } cases[] = {{L"turbo", 0}, {L"Ausgeglichen", 1}, {L"zuverlaessig", 2}, {L"Zuverlässig", 2},
               {L"quorvel", 3}, {L"0", 0}, {L"3", 3}};
  for (const auto& c : cases) EXPECT_EQ(*Parse({L"verify", L"E:\\", L"--profile", c.text}).profile, c.profile);
}

TEST(CliArgs, ExportAndDrives) {
  const CliOptions e = Parse({L"export", L"r.json", L"--format", L"pdf", L"--output", L"out.pdf"});
  EXPECT_EQ(e.command, CliCommand::kExport);
  EXPECT_EQ(e.exportInput, L"r.json");
  EXPECT_EQ(*e.exportFormat, 5u);
  EXPECT_EQ(e.exportOutput, L"out.pdf");
  EXPECT_EQ(Parse({L"drives"}).command, CliCommand::kDrives);
  EXPECT_TRUE(Parse({L"--help"}).help);
  EXPECT_TRUE(Parse({L"test", L"--help"}).help);
}

TEST(CliArgs, BadInputGivesOneLineErrors) {
  const std::vector<std::vector<std::wstring>> cases = {
      {},
      {L"format", L"E:\\"},
      {L"test"},
      {L"test", L"a", L"b"},
      {L"test", L"a", L"--size"},
      {L"test", L"a", L"--size", L"-5"},
      {L"test", L"a", L"--size", L"12abc"},
      {L"test", L"a", L"--size", L"99999999999999999999999"},
      {L"test", L"a", L"--profile", L"schnell"},
      {L"test", L"a", L"--bogus"},
      {L"verify", L"a", L"--delete"},  // verify never deletes
      {L"verify", L"a", L"--system-drive"},  // nor writes
      {L"export", L"r.json", L"--format", L"doc", L"--output", L"x"},
      {L"export", L"r.json", L"--output", L"x"},
      {L"export", L"r.json", L"--format", L"csv"},
      {L"drives", L"extra"},
      // Arguments that would break the message into lines or steer the terminal.
      {L"te\nst"},
      {L"test", L"a", L"--size", L"1\r\n2"},
      {L"test", L"a", L"b\x1b[2J"},
      {L"test", L"a", L"--\u0085bogus"},
      {L"export", L"r.json", L"--format", L"pdf\nx", L"--output", L"x"},
      {L"drives", std::wstring(L"\0\x7f", 2)},
  };
  for (const auto& args : cases) {
    CliOptions options;
    std::wstring error;
    EXPECT_FALSE(ParseCliArgs(args, &options, &error)) << args.size();
    EXPECT_FALSE(error.empty());
    for (wchar_t c : error) EXPECT_FALSE(c < 0x20 || (c >= 0x7f && c < 0xa0)) << static_cast<int>(c);
  }
}

}  // namespace
}  // namespace velkor
