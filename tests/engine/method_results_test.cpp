#include "engine/method_results.h"

#include <gtest/gtest.h>

#include "common/diag_log.h"
#include "tests/support/temp_folder.h"

namespace velkor {
namespace {

ResultRecord Record(const wchar_t* method, double speed, bool verified = true, uint64_t errors = 0,
                    bool cancelled = false) {
  ResultRecord r;
  r.method = method;
  r.workers = 2;
  r.bytes = 64ull << 20;
  r.mbPerSecond = speed;
  r.verified = verified;
  r.errors = errors;
  r.cancelled = cancelled;
  return r;
}

struct Case {
  const char* name;
  uint32_t profile;
  std::vector<ResultRecord> records;
  int32_t recommended;
  int32_t fastest;
};

TEST(MethodResults, RecommendationAndFastest) {
  const Case cases[] = {
      {"faster wins", kProfileBalanced, {Record(L"A", 10), Record(L"B", 20), Record(L"C", 15)}, 1, 1},
      {"tie keeps the earlier", kProfileBalanced, {Record(L"A", 20), Record(L"B", 20)}, 0, 0},
      {"errors and stops never count", kProfileBalanced,
       {Record(L"A", 50, true, 1), Record(L"B", 40, true, 0, true), Record(L"C", 5)}, 2, 2},
      {"nothing usable", kProfileBalanced, {Record(L"A", 50, true, 1), Record(L"B", 40, true, 0, true)}, -1, -1},
      {"reliable profile wants verified records", kProfileReliable,
       {Record(L"A", 30, false), Record(L"B", 20, true)}, 1, 0},
      {"reliable profile without verified records falls back", kProfileReliable,
       {Record(L"A", 30, false), Record(L"B", 20, false)}, 0, 0},
      // The fastest gives verified records 0.001 MB/s; the recommendation takes raw speed.
      {"verified bonus", kProfileBalanced, {Record(L"A", 10.0005, false), Record(L"B", 10.0, true)}, 0, 1},
      {"speed 0 can be recommended but is never fastest", kProfileBalanced,
       {Record(L"A", 0), Record(L"B", 0)}, 0, -1},
  };
  testing::TempFolder folder;
  SetLogFilePath(folder.File(L"velkor.log"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<ResultRecord> records = c.records;
    records[0].recommended = true;  // a stale flag is cleared
    TestConfig config;
    config.accessProfile = c.profile;
    LogTestListAndRecommend(config, records);
    for (size_t i = 0; i < records.size(); ++i) {
      EXPECT_EQ(records[i].recommended, static_cast<int32_t>(i) == c.recommended) << i;
    }
    EXPECT_EQ(FindFastestResult(records), c.fastest);
  }
}

TEST(MethodResults, LogLines) {
  testing::TempFolder folder;
  SetLogFilePath(folder.File(L"velkor.log"));
  std::vector<ResultRecord> records = {Record(L"Turbo (aggressiv)", 12.5, false),
                                       Record(L"Zuverlässig", 8.25, true, 3, true)};
  LogTestListAndRecommend(TestConfig{}, records);
  std::vector<ResultRecord> bad = {Record(L"X", 1, true, 1)};
  LogTestListAndRecommend(TestConfig{}, bad);
  const std::string log = testing::ReadFileBytes(folder.File(L"velkor.log"));
  for (const char* line : {
           "] Testliste:\r\n",
           "]   Art des Zugriffs Turbo (aggressiv), Worker 2, 64 MB, 12.50 MB/s\r\n",
           "]   Art des Zugriffs Zuverl\xC3\xA4ssig, Worker 2, 64 MB, 8.25 MB/s, gepr\xC3\xBC" "ft, Fehler 3, abgebrochen\r\n",
           "] Empfehlung: Turbo (aggressiv) mit 2 Worker(n), 12.50 MB/s.\r\n",
           "] Empfehlung: keine sichere Empfehlung, weil alle Varianten Fehler oder Abbruch meldeten.\r\n"}) {
    EXPECT_NE(log.find(line), std::string::npos) << line;
  }
}

}  // namespace
}  // namespace velkor
