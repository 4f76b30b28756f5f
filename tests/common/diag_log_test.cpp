#include "common/diag_log.h"

#include <gtest/gtest.h>

#include <mutex>
#include <regex>
#include <set>
#include <thread>
#include <vector>

#include "common/handover.h"
#include "platform/errors.h"
#include "platform/text.h"
#include "tests/support/temp_folder.h"

namespace velkor {
namespace {

using testing::ReadFileBytes;
using testing::TempFolder;
using testing::WriteFileBytes;

class DiagLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetUiReceiver({});
    SetLogFilePath(folder_.File(L"velkor.log"));
  }
  void TearDown() override { SetUiReceiver({}); }

  std::wstring LogPath() const { return folder_.File(L"velkor.log"); }

  TempFolder folder_;
};

const std::regex kFileLine(R"(\[\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\.\d{3}\] )");

TEST_F(DiagLogTest, WritesUtf8LinesWithCrLfAndATimestamp) {
  AppendDiagLog(L"Größe geprüft");
  AppendDiagLog(L"zweite Zeile\r\n");  // a line that ends in CR LF gets a second one
  const std::string bytes = ReadFileBytes(LogPath());
  ASSERT_GE(bytes.size(), 26u);
  EXPECT_TRUE(std::regex_search(bytes.substr(0, 26), kFileLine)) << bytes;
  EXPECT_NE(bytes.find("] Gr\xC3\xB6\xC3\x9F" "e gepr\xC3\xBC" "ft\r\n["), std::string::npos) << bytes;
  EXPECT_EQ(bytes.substr(bytes.size() - 16), "zweite Zeile\r\n\r\n");
  EXPECT_NE(bytes.substr(0, 3), "\xEF\xBB\xBF");  // no byte-order mark
}

TEST_F(DiagLogTest, TrimsOnlyPastTenMebibytes) {
  for (const uint64_t size : {kLogTrimThreshold, kLogTrimThreshold + 1}) {
    SCOPED_TRACE(size);
    std::string content(static_cast<size_t>(size), 'x');
    // Mark the bytes around the cut so the test sees exactly where it fell.
    content[kLogTrimCut - 1] = 'A';
    content[kLogTrimCut] = 'B';
    WriteFileBytes(LogPath(), content);

    AppendDiagLog(L"nach der Grenze");
    const std::string bytes = ReadFileBytes(LogPath());
    if (size == kLogTrimThreshold) {
      ASSERT_GT(bytes.size(), size);
      EXPECT_EQ(bytes.substr(0, static_cast<size_t>(size)), content);
      EXPECT_EQ(bytes.find("LOG gek"), std::string::npos);
    } else {
      const std::string kept = content.substr(kLogTrimCut);
      ASSERT_GT(bytes.size(), kept.size());
      EXPECT_EQ(bytes.substr(0, kept.size()), kept);
      EXPECT_EQ(bytes[0], 'B');
      const std::string tail = bytes.substr(kept.size());
      EXPECT_TRUE(std::regex_match(
          tail, std::regex("\r\n\\[[-0-9: .]{23}\\] LOG gek\xC3\xBCrzt: erste ca\\. 1 MB entfernt\\.\r\n"
                           "\\[[-0-9: .]{23}\\] nach der Grenze\r\n")))
          << tail;
    }
  }
}

TEST_F(DiagLogTest, LinesFromManyThreadsNeverInterleave) {
  constexpr int kThreads = 8;
  constexpr int kLines = 200;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t] {
      for (int i = 0; i < kLines; ++i) {
        AppendDiagLog(L"Thread " + std::to_wstring(t) + L" Zeile " + std::to_wstring(i) + L" " +
                      std::wstring(100, L'a' + t));
      }
    });
  }
  for (auto& thread : threads) thread.join();

  const std::string bytes = ReadFileBytes(LogPath());
  const std::regex line(R"(\[[-0-9: .]{23}\] Thread (\d) Zeile (\d+) ([a-h])\3{99}\r)");
  std::set<std::pair<int, int>> seen;
  size_t start = 0;
  while (start < bytes.size()) {
    const size_t end = bytes.find('\n', start);
    ASSERT_NE(end, std::string::npos);
    const std::string text = bytes.substr(start, end - start);
    std::smatch m;
    ASSERT_TRUE(std::regex_match(text, m, line)) << text;
    EXPECT_EQ(m[3].str()[0], 'a' + std::stoi(m[1].str()));
    seen.insert({std::stoi(m[1].str()), std::stoi(m[2].str())});
    start = end + 1;
  }
  EXPECT_EQ(seen.size(), static_cast<size_t>(kThreads * kLines));
}

TEST_F(DiagLogTest, AFailingLogFolderStaysSilent) {
  // The log's "folder" is a plain file, so the log file can never be created.
  WriteFileBytes(folder_.File(L"blocker"), "x");
  SetLogFilePath(folder_.File(L"blocker") + L"/velkor.log");
  std::vector<std::wstring> viewed;
  SetUiReceiver({[&](std::wstring line) { viewed.push_back(std::move(line)); }, {}, {}});
  AppendDiagLog(L"geht verloren");
  ASSERT_EQ(viewed.size(), 1u);  // the view still gets the line
  EXPECT_TRUE(std::regex_match(viewed[0], std::wregex(LR"(\[\d\d:\d\d:\d\d\] geht verloren\r\n)")));
  EXPECT_EQ(ReadFileBytes(folder_.File(L"blocker")), "x");
}

TEST_F(DiagLogTest, ReceiverGetsViewLinesAndStatusTexts) {
  std::vector<std::wstring> lines, statuses;
  SetUiReceiver({[&](std::wstring l) { lines.push_back(l); }, [&](std::wstring s) { statuses.push_back(s); }, {}});
  PostStatusAndLog(L"Vorprüfung");
  PostStatusText(L"nur Status");

  ASSERT_EQ(statuses.size(), 2u);
  EXPECT_EQ(statuses[0], L"Vorprüfung");
  EXPECT_EQ(statuses[1], L"nur Status");
  ASSERT_EQ(lines.size(), 1u);  // status texts are not logged
  EXPECT_NE(lines[0].find(L"] Vorprüfung\r\n"), std::wstring::npos);
}

TEST_F(DiagLogTest, WithoutReceiverEverythingReachesOnlyTheFile) {
  PostStatusText(L"niemand hört zu");
  AppendDiagLog(L"nur Datei");
  EXPECT_NE(ReadFileBytes(LogPath()).find("nur Datei"), std::string::npos);
}

// Two runs in one process, each on a thread with its own context, and the process's own lines:
// each line is marked with its run and reaches only that run's receiver; the file gets all.
TEST_F(DiagLogTest, ThreadsOfSeveralRunsKeepTheirLinesApart) {
  struct Sink {
    std::mutex mutex;
    std::vector<std::wstring> lines, statuses;
  };
  Sink process, first, second;
  auto receiver = [](Sink& sink) {
    return UiReceiver{[&sink](std::wstring l) {
                        std::lock_guard<std::mutex> lock(sink.mutex);
                        sink.lines.push_back(std::move(l));
                      },
                      [&sink](std::wstring s) {
                        std::lock_guard<std::mutex> lock(sink.mutex);
                        sink.statuses.push_back(std::move(s));
                      },
                      {}};
  };
  SetUiReceiver(receiver(process));
  auto run = [&](const wchar_t* prefix, Sink& sink) {
    return std::thread([prefix, &sink, &receiver] {
      const ScopedRunContext scope(std::make_shared<const RunContext>(
          RunContext{prefix, std::make_shared<const UiReceiver>(receiver(sink))}));
      for (int i = 0; i < 50; ++i) PostStatusAndLog(L"Zeile " + std::to_wstring(i));
    });
  };
  std::thread a = run(L"[/mnt/a] ", first), b = run(L"[E:\\] ", second);
  AppendDiagLog(L"Bedienung");
  a.join();
  b.join();
  // A context with a prefix only marks the lines; they go to the process's receiver.
  {
    const ScopedRunContext scope(std::make_shared<const RunContext>(RunContext{L"[X] ", nullptr}));
    AppendDiagLog(L"Frage abgelehnt");
  }
  AppendDiagLog(L"wieder ohne");

  const std::wregex firstLine(LR"(\[\d\d:\d\d:\d\d\] \[/mnt/a\] Zeile \d+\r\n)");
  const std::wregex secondLine(LR"(\[\d\d:\d\d:\d\d\] \[E:\\\] Zeile \d+\r\n)");
  ASSERT_EQ(first.lines.size(), 50u);
  ASSERT_EQ(second.lines.size(), 50u);
  for (const std::wstring& line : first.lines) EXPECT_TRUE(std::regex_match(line, firstLine));
  for (const std::wstring& line : second.lines) EXPECT_TRUE(std::regex_match(line, secondLine));
  EXPECT_EQ(first.statuses.size(), 50u);
  EXPECT_EQ(first.statuses.back(), L"Zeile 49");  // status texts carry no prefix
  ASSERT_EQ(process.lines.size(), 3u);
  EXPECT_TRUE(process.statuses.empty());
  EXPECT_NE(process.lines[0].find(L"] Bedienung\r\n"), std::wstring::npos);
  EXPECT_NE(process.lines[1].find(L"] [X] Frage abgelehnt\r\n"), std::wstring::npos);
  EXPECT_NE(process.lines[2].find(L"] wieder ohne\r\n"), std::wstring::npos);
  const std::string file = ReadFileBytes(LogPath());
  EXPECT_NE(file.find("] [/mnt/a] Zeile 49\r\n"), std::string::npos);
  EXPECT_NE(file.find("] [E:\\] Zeile 49\r\n"), std::string::npos);
  EXPECT_NE(file.find("] [X] Frage abgelehnt\r\n"), std::string::npos);
}

// What a run thread hands on when it ends early: its own last failures, from inside its scope.
TEST_F(DiagLogTest, FailuresAndContextsBelongToTheirScopeAndThread) {
  AppendDiagLog(L"FEHLER: vor dem Lauf");
  EXPECT_TRUE(TakeThreadFailure().logLine.empty()) << "no scope, nothing kept";
  {
    const ThreadFailureScope run;
    PostStatusText(L"Fehler: Status");
    AppendDiagLog(L"FEHLER: Zeile");
    AppendDiagLog(L"kein Fehler");
    std::thread([] {
      const ThreadFailureScope other;
      AppendDiagLog(L"FEHLER: anderer Thread");
    }).join();
    {
      const ThreadFailureScope inner;
      AppendDiagLog(L"FEHLER: innen");
      EXPECT_EQ(TakeThreadFailure().logLine, L"FEHLER: innen");
    }
    const ThreadFailure failure = TakeThreadFailure();
    EXPECT_EQ(failure.statusText, L"Fehler: Status");
    EXPECT_EQ(failure.logLine, L"FEHLER: Zeile");
    EXPECT_TRUE(TakeThreadFailure().logLine.empty()) << "taking clears";
  }

  const auto outer = std::make_shared<const RunContext>(RunContext{L"[A] ", nullptr});
  {
    const ScopedRunContext a(outer);
    {
      const ScopedRunContext b(std::make_shared<const RunContext>(RunContext{L"[B] ", nullptr}));
      EXPECT_EQ(ThreadRunContext()->logPrefix, L"[B] ");
      std::thread([] { EXPECT_EQ(ThreadRunContext(), nullptr) << "a new thread starts without one"; }).join();
    }
    EXPECT_EQ(ThreadRunContext(), outer);
  }
  EXPECT_EQ(ThreadRunContext(), nullptr);
}

TEST(FormatWindowsError, SystemTextWithoutTrailingStopOrBreak) {
  const std::wstring text = FormatWindowsError(platform::kErrorAccessDenied);
  // "Windows-Fehler 5: " on Windows; Linux names the errno the code stands for.
  const std::wstring prefix = platform::SystemErrorName(5) + L": ";
  EXPECT_TRUE(prefix == L"Windows-Fehler 5: " || prefix == L"Linux-Fehler 13 (EACCES): ") << platform::WideToUtf8(prefix);
  ASSERT_EQ(text.substr(0, prefix.size()), prefix);
  std::wstring system;
  ASSERT_TRUE(platform::SystemErrorText(5, &system));
  while (!system.empty() && (system.back() == L'.' || system.back() == L'\n' ||
                             system.back() == L'\r' || system.back() == L' ')) {
    system.pop_back();
  }
  EXPECT_EQ(text, prefix + system);
  EXPECT_NE(text.back(), L'.');
  EXPECT_EQ(text.find(L"Unbekannter Fehler"), std::wstring::npos);
}

TEST(FormatWindowsError, CodesTheEngineReportsHaveTexts) {
  for (uint32_t code : {2u, 5u, 19u, 29u, 38u, 112u, 1117u}) {
    EXPECT_EQ(FormatWindowsError(code).find(L"Unbekannter Fehler"), std::wstring::npos) << code;
  }
}

TEST(FormatWindowsError, UnknownCode) {
  const std::wstring text = FormatWindowsError(0x2FFFFFFF);
  EXPECT_TRUE(text == L"Windows-Fehler 805306367: Unbekannter Fehler" || text == L"Fehler 805306367: Unbekannter Fehler")
      << platform::WideToUtf8(text);
}

}  // namespace
}  // namespace velkor
