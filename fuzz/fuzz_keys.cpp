// libFuzzer target: plays the input as (key code, shift state) pairs of 16-bit
// little-endian values through Form_KeyDown of a freshly shown Form1, and checks
// after every key that the board still obeys the game's rules; aborts if not.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "base/runtime_error.h"
#include "game/form.h"
#include "game/window_definition.h"
#include "game_support.h"
#include "levels/builtin_levels.h"

namespace {

using namespace gravisk;

// The window's seven elements plus elements 1 to 127 of the four layers.
constexpr std::size_t kElementCount = 7 + 4 * 127;

struct KeyContext {
  std::size_t index = 0;
  std::int16_t key = 0;
  std::int16_t shift = 0;
};

[[noreturn]] void fail(const KeyContext& at, const char* what, int detail = -1) {
  std::fprintf(stderr, "gravisk_fuzz_keys: after key #%zu (code %d, shift %d): %s", at.index,
               at.key, at.shift, what);
  if (detail >= 0) std::fprintf(stderr, " [%d]", detail);
  std::fputc('\n', stderr);
  std::abort();
}

// What moves may change on one board: the grass, the rocks and the hero.
struct Snapshot {
  testing::Tiles tiles;
  int heroCell = 0;
};

Snapshot checkBoard(const Form1& form, const KeyContext& at) {
  if (!form.loaded()) fail(at, "window not loaded");
  const Board& b = form.board();
  if (b.size() != kElementCount) fail(at, "element count", static_cast<int>(b.size()));
  const std::int16_t level = form.variables().level.value_or(0);
  if (level < 1 || level > kBuiltInLevels) fail(at, "level counter out of 1..3", level);
  if (const std::string fault = testing::boardFault(b); !fault.empty()) fail(at, fault.c_str());
  return {testing::tilesOf(b), testing::cellOf(b, b.hero())};
}

// A fresh board shows exactly its level's rows (the hero and door cells hold nothing).
void checkFreshLevel(const Form1& form, const Snapshot& s, const KeyContext& at) {
  const Board& b = form.board();
  const auto& rows = kLevelRows[*form.variables().level - 1];
  for (int i = 0; i < kCells; ++i) {
    const char code = rows[i / kColumns][i % kColumns];
    const bool wall = b.visible(Layer::Wall, i);
    if (s.tiles.grass[i] != (code == '1') || s.tiles.rocks[i] != (code == '2') ||
        wall != (code == '3')) {
      fail(at, "fresh board differs from its level in cell", i);
    }
    if (code == '4' && s.heroCell != i) fail(at, "hero not at its start");
    if (code == '5' && testing::cellOf(b, b.door()) != i) fail(at, "door not at its place");
  }
}

bool isArrow(std::int16_t key) {
  return key == kKeyLeft || key == kKeyUp || key == kKeyRight || key == kKeyDown;
}

int nextLevel(int level) {
  return level % kBuiltInLevels + 1;
}
int previousLevel(int level) {
  return (level + kBuiltInLevels - 2) % kBuiltInLevels + 1;
}

void play(const std::uint8_t* data, std::size_t size) {
  testing::StubFrontEnd frontEnd;
  Form1 form(frontEnd);
  KeyContext at;
  form.show();
  if (frontEnd.showCount != 1 || frontEnd.unloadCount != 0) {
    fail(at, "start-up did not show the window");
  }
  Snapshot before = checkBoard(form, at);
  checkFreshLevel(form, before, at);

  for (std::size_t offset = 0; offset + 4 <= size; offset += 4) {
    at.index = offset / 4;
    at.key = static_cast<std::int16_t>(data[offset] | data[offset + 1] << 8);
    at.shift = static_cast<std::int16_t>(data[offset + 2] | data[offset + 3] << 8);
    const int level = *form.variables().level;
    const int boxes = frontEnd.boxCount;
    const int unloads = frontEnd.unloadCount;
    const int shows = frontEnd.showCount;

    form.Form_KeyDown(at.key, at.shift);

    const Snapshot after = checkBoard(form, at);
    const int reloads = frontEnd.unloadCount - unloads;
    const int won = frontEnd.boxCount - boxes;
    for (const testing::StubFrontEnd::Box& box : frontEnd.boxes) {
      if (box.text != "You won!" || box.title != kAppTitle) {
        fail(at, "a message box other than \"You won!\" / \"Gravisk\"");
      }
    }
    frontEnd.boxes.clear();
    frontEnd.events.clear();
    if (reloads > 1 || frontEnd.showCount - shows != reloads) fail(at, "unload/show out of step");
    if (won > 1 || (won == 1 && (reloads != 1 || !isArrow(at.key)))) {
      fail(at, "a win without exactly one reload");
    }

    const int level2 = *form.variables().level;
    if (reloads == 1) {
      int expected = level;
      if (at.key == kKeyF1 || won == 1) expected = nextLevel(level);
      if (at.key == kKeyF2) expected = previousLevel(level);
      if (at.key != kKeyR && at.key != kKeyF1 && at.key != kKeyF2 && won == 0) {
        fail(at, "a reload on a key that does not reload");
      }
      if (level2 != expected) fail(at, "wrong level after the reload", level2);
      checkFreshLevel(form, after, at);
    } else {
      if (at.key == kKeyR || at.key == kKeyF1 || at.key == kKeyF2) fail(at, "no reload");
      if (level2 != level) fail(at, "level changed without a reload", level2);
      // Between reloads rocks are only moved and grass only dug away.
      const std::string fault = testing::moveFault(before.tiles, after.tiles);
      if (!fault.empty()) fail(at, fault.c_str());
      if (!isArrow(at.key) && (after.tiles != before.tiles || after.heroCell != before.heroCell)) {
        fail(at, "an ignored key changed the board");
      }
    }
    before = after;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    play(data, size);
  } catch (const RuntimeError& e) {
    std::fprintf(stderr, "gravisk_fuzz_keys: run-time error escaped: %s\n", e.report().c_str());
    std::abort();
  }
  return 0;
}
