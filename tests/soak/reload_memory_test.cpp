// 100,000 level changes in one process (R, F1, F2 and wins) must leave the heap
// where it was: this executable replaces the global operator new and delete to count
// the game's live allocations and bytes, sampled after every thousand changes.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "game/form.h"
#include "stub_front_end.h"

namespace {

// The counters have to outlive every allocation, so they are the one piece of
// process-wide state here; only the replaced operators below write them.
struct HeapCounters {
  std::atomic<long long> blocks{0};
  std::atomic<long long> bytes{0};
};
HeapCounters heap;

// Each block carries its size in a header so delete can subtract it.
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* allocate(std::size_t size) {
  void* raw = std::malloc(size + kHeader);
  if (!raw) throw std::bad_alloc();
  *static_cast<std::size_t*>(raw) = size;
  heap.blocks.fetch_add(1, std::memory_order_relaxed);
  heap.bytes.fetch_add(static_cast<long long>(size), std::memory_order_relaxed);
  return static_cast<char*>(raw) + kHeader;
}

void release(void* p) noexcept {
  if (!p) return;
  void* raw = static_cast<char*>(p) - kHeader;
  heap.blocks.fetch_sub(1, std::memory_order_relaxed);
  heap.bytes.fetch_sub(static_cast<long long>(*static_cast<std::size_t*>(raw)),
                       std::memory_order_relaxed);
  std::free(raw);
}

}  // namespace

void* operator new(std::size_t size) {
  return allocate(size);
}
void* operator new[](std::size_t size) {
  return allocate(size);
}
void operator delete(void* p) noexcept {
  release(p);
}
void operator delete[](void* p) noexcept {
  release(p);
}
void operator delete(void* p, std::size_t) noexcept {
  release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  release(p);
}

namespace gravisk {
namespace {

// Puts the hero on the cell left of the door (every built-in door has one) and
// steps right onto it: a win without playing the level through.
void winNow(Form1& form) {
  Board& board = form.board();
  board.setLeft(board.hero(), board.left(board.door()) - kTile);
  board.setTop(board.hero(), board.top(board.door()));
  form.Form_KeyDown(kKeyRight, 0);
}

struct Sample {
  long long blocks;
  long long bytes;
};

Sample now() {
  return {heap.blocks.load(), heap.bytes.load()};
}

TEST(ReloadSoak, HundredThousandLevelChangesLeaveTheHeapFlat) {
  constexpr int kChanges = 100000;
  constexpr int kWarmUp = 1000;
  testing::StubFrontEnd frontEnd(testing::StubFrontEnd::Records::None);
  Form1 form(frontEnd);
  const Sample beforeStart = now();
  form.show();
  const Sample started = now();
  EXPECT_GT(started.blocks, beforeStart.blocks) << "the counters do not see the game's board";

  std::vector<Sample> samples;
  samples.reserve(kChanges / kWarmUp + 1);
  int expectedLevel = 1;
  for (int change = 1; change <= kChanges; ++change) {
    switch (change % 4) {
      case 0:
        form.Form_KeyDown(kKeyR, 0);
        break;
      case 1:
        form.Form_KeyDown(kKeyF1, 0);
        expectedLevel = expectedLevel % 3 + 1;
        break;
      case 2:
        winNow(form);
        expectedLevel = expectedLevel % 3 + 1;
        break;
      case 3:
        form.Form_KeyDown(kKeyF2, 0);
        expectedLevel = (expectedLevel + 1) % 3 + 1;
        break;
    }
    if (change % kWarmUp == 0) {
      ASSERT_EQ(*form.variables().level, expectedLevel) << "change " << change;
      samples.push_back(now());
    }
  }
  ASSERT_EQ(frontEnd.unloadCount, kChanges);
  ASSERT_EQ(frontEnd.showCount, kChanges + 1);
  ASSERT_EQ(frontEnd.boxCount, kChanges / 4);

  // After the first thousand changes nothing may creep upwards: every later
  // sample, the last one included, holds what the first one held (a few bytes
  // of slack for a string's capacity settling).
  const Sample base = samples.front();
  long long highest = base.bytes;
  for (const Sample& s : samples) {
    EXPECT_EQ(s.blocks, base.blocks);
    highest = std::max(highest, s.bytes);
  }
  EXPECT_LE(highest - base.bytes, 256);
  EXPECT_LE(std::llabs(samples.back().bytes - base.bytes), 256);
  // The live board after a change costs about what the first board cost.
  EXPECT_LE(std::llabs(samples.back().bytes - started.bytes), 4096);
  RecordProperty("live_blocks", static_cast<int>(samples.back().blocks));
  RecordProperty("live_bytes", static_cast<int>(samples.back().bytes));
  std::printf(
      "live heap after 1,000 changes: %lld blocks, %lld bytes; after %d: %lld blocks, "
      "%lld bytes\n",
      base.blocks, base.bytes, kChanges, samples.back().blocks, samples.back().bytes);

  form.unload();
  const Sample unloaded = now();
  EXPECT_LT(unloaded.bytes, started.bytes) << "unloading frees the board";
}

}  // namespace
}  // namespace gravisk
