#include "cli/cli_args.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli_suggest.h"
#include "common/version.h"

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
  EXPECT_EQ(o.targets, std::vector<std::wstring>{L"/mnt/stick"});
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

TEST(CliArgs, SeveralTargetsInTheirOrder) {
  const CliOptions o = Parse({L"test", L"/mnt/a", L"--parallel", L"3", L"/mnt/b", L"--summary-json", L"s.json",
                              L"--yes", L"--", L"-c"});
  EXPECT_EQ(o.targets, (std::vector<std::wstring>{L"/mnt/a", L"/mnt/b", L"-c"}));
  EXPECT_EQ(*o.parallel, 3u);
  EXPECT_EQ(o.summaryJson, L"s.json");
  const CliOptions v = Parse({L"verify", L"E:\\", L"F:\\", L"E:\\"});  // a repeated target is the run's to refuse
  EXPECT_EQ(v.targets.size(), 3u);
  EXPECT_FALSE(v.parallel);
  EXPECT_TRUE(v.summaryJson.empty());
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
      {L"test", L"a", L"b", L"--parallel", L"0"},
      {L"test", L"a", L"b", L"--parallel", L"zwei"},
      {L"verify", L"--parallel", L"2"},
      {L"test", L"a", L"--summary-json"},
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
      {L"test", L"a", L"--size", L"b\x1b[2J"},
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

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return out;
}

TEST(CliArgs, MistakesAreNamedWithWhatWasMeant) {
  const struct {
    std::vector<std::wstring> args;
    const wchar_t* names;       // the part of the message that names the mistake
    const wchar_t* suggestion;  // null: no suggestion may be made
  } cases[] = {
      {{L"tset", L"E:\\"}, L"Unbekannter Befehl: tset.", L"Meinten Sie test?"},
      {{L"Test", L"E:\\"}, L"Unbekannter Befehl: Test.", L"Meinten Sie test?"},
      {{L"verfiy", L"a"}, L"Unbekannter Befehl: verfiy.", L"Meinten Sie verify?"},
      {{L"drive"}, L"Unbekannter Befehl: drive.", L"Meinten Sie drives?"},
      {{L"frobnicate"}, L"Unbekannter Befehl: frobnicate.", nullptr},
      {{L"--verison"}, L"Unbekannte Option: --verison.", L"Meinten Sie --version?"},
      {{L"--size", L"5", L"test", L"a"}, L"Option vor dem Befehl: --size.", nullptr},
      {{L"test", L"a", L"--szie", L"5"}, L"Unbekannte Option: --szie.", L"Meinten Sie --size?"},
      {{L"test", L"a", L"-size", L"5"}, L"Unbekannte Option: -size.", L"Meinten Sie --size?"},
      {{L"test", L"a", L"--SIZE", L"5"}, L"Unbekannte Option: --SIZE.", L"Meinten Sie --size?"},
      {{L"test", L"a", L"--wokers", L"2"}, L"Unbekannte Option: --wokers.", L"Meinten Sie --workers?"},
      {{L"test", L"a", L"--result-dir", L"r"}, L"Unbekannte Option: --result-dir.", L"Meinten Sie --results-dir?"},
      {{L"test", L"a", L"--no-random"}, L"Unbekannte Option: --no-random.", L"Meinten Sie --no-random-points?"},
      {{L"test", L"a", L"--re", L"1"}, L"Unbekannte Option: --re.", L"Meinten Sie --reserve oder --results-dir?"},
      {{L"test", L"a", L"--bogus"}, L"Unbekannte Option: --bogus.", nullptr},
      {{L"verify", L"a", L"--delete"}, L"Unbekannte Option für verify: --delete (nur bei test).", nullptr},
      {{L"export", L"r.json", L"--size", L"1"}, L"Unbekannte Option für export: --size (nur bei test und verify).",
       nullptr},
      {{L"test", L"a", L"--size"}, L"Wert fehlt für --size (MB).", nullptr},
      {{L"test", L"a", L"--results-dir", L"--yes"}, L"Wert fehlt für --results-dir (DIR).", nullptr},
      {{L"export", L"r.json", L"--output"}, L"Wert fehlt für --output (DATEI).", nullptr},
      {{L"test", L"a", L"--profile", L"turob"}, L"Unbekanntes Profil: turob.", L"Meinten Sie turbo?"},
      {{L"export", L"r.json", L"--format", L"pfd", L"--output", L"x"}, L"Unbekanntes Format: pfd.",
       L"Meinten Sie pdf?"},
      {{L"export", L"r.json", L"--format", L"doc", L"--output", L"x"}, L"Unbekanntes Format: doc.", nullptr},
  };
  for (const auto& c : cases) {
    CliOptions options;
    std::wstring error;
    SCOPED_TRACE(Narrow(c.names));
    ASSERT_FALSE(ParseCliArgs(c.args, &options, &error));
    EXPECT_NE(error.find(c.names), std::wstring::npos) << Narrow(error);
    if (c.suggestion != nullptr) {
      EXPECT_NE(error.find(c.suggestion), std::wstring::npos) << Narrow(error);
    } else {
      EXPECT_EQ(error.find(L"Meinten Sie"), std::wstring::npos) << Narrow(error);
    }
    EXPECT_EQ(error.find(L'\n'), std::wstring::npos);
  }
}

TEST(CliArgs, DoubleDashEndsTheOptions) {
  const CliOptions o = Parse({L"test", L"--size", L"4", L"--", L"--odd name"});
  EXPECT_EQ(o.targets, std::vector<std::wstring>{L"--odd name"});
  EXPECT_EQ(*o.sizeMb, 4u);
}

TEST(CliArgs, VersionNamesTheOneVersionAndTheLicence) {
  EXPECT_TRUE(Parse({L"--version"}).version);
  const std::wstring text = CliVersionText();
  EXPECT_EQ(text.substr(0, text.find(L'\n')), L"velkor-cli " VELKOR_VERSION_TEXT);
  EXPECT_NE(text.find(L"Copyright (c) 2026 The Velkor authors"), std::wstring::npos);
}

// Each command's help against its parser, both ways: every option the help shows is accepted and
// comes with its default, and every option a command accepts is in its help.
TEST(CliArgs, HelpListsEveryOptionWithItsDefault) {
  const struct {
    CliCommand command;
    std::vector<std::wstring> start;  // the command and what it needs besides the option under test
    std::vector<std::wstring> accepted;
  } cases[] = {
      {CliCommand::kTest, {L"test", L"a"},
       {L"--size", L"--block", L"--workers", L"--profile", L"--reserve", L"--test-points", L"--results-dir",
        L"--parallel", L"--summary-json", L"--method-test", L"--no-random-points", L"--no-fastest", L"--delete",
        L"--yes", L"--system-drive", L"--lang"}},
      {CliCommand::kVerify, {L"verify", L"a"},
       {L"--size", L"--block", L"--workers", L"--profile", L"--reserve", L"--test-points", L"--results-dir",
        L"--parallel", L"--summary-json", L"--lang"}},
      {CliCommand::kExport, {L"export", L"r.json", L"--format", L"csv", L"--output", L"x"},
       {L"--format", L"--output", L"--lang"}},
      {CliCommand::kDrives, {L"drives"}, {L"--lang"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.start[0]));
    const std::wstring help = CliHelpText(c.command, 8, L"/data/results");
    std::vector<std::wstring> shown;
    std::wistringstream lines(help);
    std::wstring line, next;
    std::getline(lines, line);
    while (std::getline(lines, next)) {
      if (line.compare(0, 4, L"  --") == 0) {
        const std::wstring name = line.substr(2, line.find(L' ', 2) - 2);
        const bool takesValue = line.size() > 2 + name.size() && line[2 + name.size() + 1] != L' ';
        shown.push_back(name);
        EXPECT_EQ(next.find_first_not_of(L' '), 23u) << Narrow(name);
        EXPECT_EQ(next.compare(23, 10, L"Standard: "), 0) << Narrow(name) << ": " << Narrow(next);
        std::vector<std::wstring> args = c.start;
        args.push_back(name);
        const std::wstring value = name == L"--profile" ? L"turbo" : name == L"--format" ? L"pdf" : name == L"--lang" ? L"fr" : L"7";
        if (takesValue) args.push_back(value);
        CliOptions options;
        std::wstring error;
        EXPECT_TRUE(ParseCliArgs(args, &options, &error)) << Narrow(name) << ": " << Narrow(error);
      }
      line = next;
    }
    EXPECT_EQ(shown, c.accepted);
    EXPECT_NE(help.find(L"--help"), std::wstring::npos);
  }
  // The worker defaults are those of the machine, per profile; long defaults wrap, so the texts
  // are compared with their line breaks read as blanks.
  std::wstring flat;
  for (wchar_t c : CliHelpText(CliCommand::kTest, 8, L"/data/results")) {
    if (c == L'\n' || c == L' ') {
      if (!flat.empty() && flat.back() != L' ') flat += L' ';
    } else {
      flat += c;
    }
  }
  EXPECT_NE(flat.find(L"turbo 7, ausgeglichen 3, zuverlaessig 3, quorvel 7"), std::wstring::npos);
  EXPECT_NE(flat.find(L"Standard: /data/results"), std::wstring::npos);
  EXPECT_NE(flat.find(L"höchstens 16 (2 je Prozessor)"), std::wstring::npos);
  for (const CliCommand command : {CliCommand::kNone, CliCommand::kTest, CliCommand::kVerify, CliCommand::kExport}) {
    std::wistringstream lines(CliHelpText(command, 64, L"/data/results"));
    for (std::wstring line; std::getline(lines, line);) EXPECT_LE(line.size(), 80u) << Narrow(line);
  }
}

TEST(CliSuggest, CloseNames) {
  const std::vector<std::wstring> commands = {L"test", L"verify", L"export", L"drives"};
  const struct {
    const wchar_t* typed;
    std::vector<std::wstring> names;
    std::vector<std::wstring> close;
  } cases[] = {
      {L"tset", commands, {L"test"}},       // a transposition is one step
      {L"tst", commands, {L"test"}},
      {L"test", commands, {}},              // nothing to suggest for the name itself
      {L"exprot", commands, {L"export"}},
      {L"ver", commands, {L"verify"}},      // the start of a name
      {L"xyz", commands, {}},
      {L"t", commands, {}},                 // one letter is the start of too much to mean anything
      {L"--yse", {L"--yes", L"--size"}, {L"--yes"}},
      {L"--siez", {L"--yes", L"--size"}, {L"--size"}},
      {L"--s", {L"--size", L"--yes"}, {}},  // "s" alone: too short to be a start, and two steps from yes
      {L"", commands, {}},
      {L"----", commands, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.typed));
    EXPECT_EQ(CloseNames(c.typed, c.names), c.close);
  }
  EXPECT_EQ(TypoDistance(L"kitten", L"sitting"), 3u);
  EXPECT_EQ(TypoDistance(L"ab", L"BA"), 1u);
  EXPECT_EQ(TypoDistance(L"", L"abc"), 3u);
  EXPECT_EQ(CloseNames(std::wstring(1000, L'a'), commands), std::vector<std::wstring>{});
}

}  // namespace
}  // namespace velkor
