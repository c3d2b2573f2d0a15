// Every built-in level can be won with the arrow keys alone. A best-first
// search over boards (the core's own moves make the boards) finds a key
// sequence; a fresh game then plays it through Form_KeyDown. The solutions the
// other tests win with are played the same way.
#include <gtest/gtest.h>

#include <bitset>
#include <queue>
#include <tuple>
#include <unordered_set>

#include "game_support.h"
#include "level_solutions.h"
#include "levels/builtin_levels.h"

namespace gravisk {
namespace {

using testing::Game;

// What moves can change: where the hero stands, which grass is left, where the rocks lie.
struct State {
  testing::Tiles tiles;
  int hero = 0;
  bool operator==(const State&) const = default;
};

struct StateHash {
  std::size_t operator()(const State& s) const {
    const std::hash<std::bitset<kCells>> h;
    return h(s.tiles.grass) * 31 + h(s.tiles.rocks) * 7 + static_cast<std::size_t>(s.hero);
  }
};

State stateOf(const Board& b) {
  return {testing::tilesOf(b), testing::cellOf(b, b.hero())};
}

void apply(const State& s, Board& b) {
  b.setLeft(b.hero(), static_cast<float>(s.hero % 16) * kTile);
  b.setTop(b.hero(), static_cast<float>(s.hero / 16) * kTile);
  for (int i = 0; i < kCells; ++i) {
    b.setVisible(Layer::Grass, i, s.tiles.grass[i]);
    b.setVisible(Layer::Rock, i, s.tiles.rocks[i]);
  }
}

int distance(int a, int b) {
  return std::abs(a % 16 - b % 16) + std::abs(a / 16 - b / 16);
}

// Finds arrow keys that win the level the game shows, or an empty list.
std::vector<std::int16_t> solve(Game& game, std::size_t* explored) {
  const int level = game.level();
  const Board start = game.board();
  const int door = testing::cellOf(start, start.door());
  struct Node {
    int priority;
    std::size_t id;
    bool operator>(const Node& o) const {
      return std::tie(priority, id) > std::tie(o.priority, o.id);
    }
  };
  std::vector<State> states{stateOf(start)};
  std::vector<std::pair<std::size_t, std::int16_t>> parent{{0, 0}};
  std::unordered_set<State, StateHash> seen{states[0]};
  std::priority_queue<Node, std::vector<Node>, std::greater<>> open;
  open.push({distance(states[0].hero, door), 0});
  const std::int16_t arrows[] = {kKeyLeft, kKeyUp, kKeyRight, kKeyDown};
  while (!open.empty() && seen.size() < 200000) {
    const std::size_t at = open.top().id;
    open.pop();
    for (std::int16_t key : arrows) {
      game.form.board() = start;
      apply(states[at], game.form.board());
      game.form.variables().level = static_cast<std::int16_t>(level);
      const std::size_t wins = game.frontEnd.boxes.size();
      game.press(key);
      if (game.frontEnd.boxes.size() != wins) {  // the door: unwind the path
        std::vector<std::int16_t> keys{key};
        for (std::size_t n = at; n != 0; n = parent[n].first) keys.push_back(parent[n].second);
        *explored = seen.size();
        return {keys.rbegin(), keys.rend()};
      }
      State next = stateOf(game.board());
      if (!seen.insert(next).second) continue;
      states.push_back(next);
      parent.push_back({at, key});
      open.push({distance(next.hero, door), states.size() - 1});
    }
  }
  return {};
}

// Plays `keys` on level n of a fresh game: no key but the last wins, the last one
// shows "You won!" once and leaves the next level's fresh board.
void expectWin(int n, const std::vector<std::int16_t>& keys) {
  Game game;
  while (game.level() != n) game.press(kKeyF1);
  for (std::size_t i = 0; i + 1 < keys.size(); ++i) {
    game.press(keys[i]);
    ASSERT_TRUE(game.frontEnd.boxes.empty()) << "won early at key " << i;
    ASSERT_EQ(game.level(), n);
  }
  game.press(keys.back());
  ASSERT_EQ(game.frontEnd.boxes.size(), 1u);
  EXPECT_EQ(game.frontEnd.boxes[0].text, "You won!");
  EXPECT_EQ(game.level(), n % 3 + 1);
  const auto rows = testing::rowsOf(game.board());
  for (int y = 0; y < 8; ++y) EXPECT_EQ(rows[y], kLevelRows[n % 3][y]);
}

class WinEveryLevel : public ::testing::TestWithParam<int> {};

TEST_P(WinEveryLevel, ByKeysFoundBySearchAndPlayedThroughTheKeyboard) {
  const int n = GetParam();
  Game search;
  while (search.level() != n) search.press(kKeyF1);
  std::size_t explored = 0;
  const std::vector<std::int16_t> keys = solve(search, &explored);
  ASSERT_FALSE(keys.empty()) << "no way to the door found on level " << n;
  RecordProperty("states", static_cast<int>(explored));
  expectWin(n, keys);
}

TEST_P(WinEveryLevel, ByTheSolutionTheOtherTestsPlay) {
  const int n = GetParam();
  const std::vector<std::int16_t> keys = testing::levelSolution(n);
  ASSERT_FALSE(keys.empty()) << "no arrow keys for level " << n << " in " GRAVISK_LEVEL_SOLUTIONS;
  expectWin(n, keys);
}

INSTANTIATE_TEST_SUITE_P(Levels, WinEveryLevel, ::testing::Values(1, 2, 3));

}  // namespace
}  // namespace gravisk
