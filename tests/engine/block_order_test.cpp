#include "engine/block_order.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace velkor {
namespace {

TEST(BlockOrder, ClaimsHandOutTheBlocksFrontToBackAndEndAtTheTotal) {
  const struct {
    uint64_t total;
    uint32_t most;
    std::vector<std::pair<uint64_t, uint32_t>> claims;  // first and count, then a claim of 0
  } cases[] = {
      {10, 4, {{0, 4}, {4, 4}, {8, 2}}},
      {8, 4, {{0, 4}, {4, 4}}},
      {3, 8, {{0, 3}}},
      {0, 4, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "total " << c.total << " most " << c.most);
    BlockOrder order;
    for (const auto& [first, count] : c.claims) {
      uint64_t got = 99;
      EXPECT_EQ(ClaimBlocks(order, c.total, c.most, &got), count);
      EXPECT_EQ(got, first);
    }
    uint64_t none = 99;
    EXPECT_EQ(ClaimBlocks(order, c.total, c.most, &none), 0u);
    EXPECT_EQ(ClaimBlocks(order, c.total, c.most, &none), 0u);
    EXPECT_EQ(order.nextBlock, c.total);  // claims past the end do not move it
  }
}

// Claims from several threads at once: every block goes to exactly one of them, and each thread
// gets its blocks in rising order.
TEST(BlockOrder, ConcurrentClaimsTakeEveryBlockOnce) {
  const uint64_t total = 20000;
  BlockOrder order;
  std::vector<std::atomic<int>> taken(total);
  std::atomic<bool> risingEverywhere{true};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      uint64_t first = 0, last = 0;
      bool any = false;
      while (const uint32_t count = ClaimBlocks(order, total, 7, &first)) {
        if (any && first < last) risingEverywhere = false;
        for (uint32_t i = 0; i < count; ++i) taken[first + i].fetch_add(1);
        last = first + count;
        any = true;
      }
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_TRUE(risingEverywhere);
  uint64_t once = 0;
  for (const auto& t : taken) once += t.load() == 1;
  EXPECT_EQ(once, total);
}

// Writers that got their ranges in file order take their turns in that order, whatever order they
// arrive in: each one goes on only when the range before it is written.
TEST(BlockOrder, TurnsFollowTheFileOrder) {
  BlockOrder order;
  const uint64_t ranges = 8, width = 3;
  std::vector<uint64_t> done;  // only the writer whose turn it is touches it
  std::vector<std::thread> writers;
  for (uint64_t i = ranges; i-- > 0;) {
    writers.emplace_back([&, i] {
      EXPECT_TRUE(WaitForTurn(order, i * width));
      done.push_back(i);
      EndTurn(order, (i + 1) * width);
    });
  }
  for (auto& t : writers) t.join();
  EXPECT_EQ(done, (std::vector<uint64_t>{0, 1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(order.writtenEnd, ranges * width);
}

// A writer that stops with its range unwritten releases everyone waiting behind it, and those who
// come later; a new stage starts over.
TEST(BlockOrder, AnAbandonedRangeReleasesEveryWaiter) {
  BlockOrder order;
  EndTurn(order, 4);
  std::atomic<int> gaveUp{0};
  std::vector<std::thread> waiters;
  for (uint64_t first : {6, 9, 12}) {
    waiters.emplace_back([&, first] {
      if (!WaitForTurn(order, first)) gaveUp.fetch_add(1);
    });
  }
  AbandonTurns(order);
  for (auto& t : waiters) t.join();
  EXPECT_EQ(gaveUp, 3);
  EXPECT_FALSE(WaitForTurn(order, 4));

  ResetBlockOrder(order);
  EXPECT_TRUE(WaitForTurn(order, 0));
  uint64_t first = 99;
  EXPECT_EQ(ClaimBlocks(order, 5, 2, &first), 2u);
  EXPECT_EQ(first, 0u);
}

}  // namespace
}  // namespace velkor
