// Speed figures for the work one key costs: the core's move, reload and Form_Load,
// the renderer's full picture and partial redraw, and the present step that puts
// the frame into a window buffer at scale 1, 2 and 3. Aims on the development
// machine: a full render within 100 µs, a move's redraw within 10 µs, a whole
// frame presented at scale 3 within 500 µs.
#include <benchmark/benchmark.h>

#include <vector>

#include "game/form.h"
#include "game/window_definition.h"
#include "render/renderer.h"
#include "render/scaling.h"
#include "stub_front_end.h"

namespace {

using namespace gravisk;

// A started game at level 1: the hero stands on cell 0 with open floor on cell 1,
// so Right and Left walk back and forth without changing anything else.
struct Started {
  testing::StubFrontEnd frontEnd{testing::StubFrontEnd::Records::None};
  Form1 form{frontEnd};
  Started() { form.show(); }
};

constexpr std::int16_t kWalk[2] = {kKeyRight, kKeyLeft};

void BM_Move(benchmark::State& state) {
  Started game;
  int i = 0;
  for (auto _ : state) {
    game.form.Form_KeyDown(kWalk[i++ & 1], 0);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Move);

void BM_MoveAndRedraw(benchmark::State& state) {
  Started game;
  const Renderer renderer;
  Frame frame;
  renderer.update(game.form.board(), frame);
  int i = 0;
  for (auto _ : state) {
    game.form.Form_KeyDown(kWalk[i++ & 1], 0);
    auto changed = renderer.update(game.form.board(), frame);
    benchmark::DoNotOptimize(changed.data());
    benchmark::DoNotOptimize(frame.pixels.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MoveAndRedraw);

// Only the drawing a move needs: the parts a Right step reported, redrawn.
void BM_MoveRedraw(benchmark::State& state) {
  Started game;
  const Renderer renderer;
  Frame frame;
  renderer.update(game.form.board(), frame);
  game.form.Form_KeyDown(kKeyRight, 0);
  const std::vector<PixelRect> parts = game.form.board().takeDamage();
  long pixels = 0;
  for (const PixelRect& r : parts) pixels += static_cast<long>(r.w) * r.h;
  for (auto _ : state) {
    for (const PixelRect& r : parts) renderer.renderRect(game.form.board(), frame, r);
    benchmark::DoNotOptimize(frame.pixels.data());
    benchmark::ClobberMemory();
  }
  state.counters["rects"] = static_cast<double>(parts.size());
  state.counters["pixels"] = static_cast<double>(pixels);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MoveRedraw);

// Form1::reload(): the window thrown away, a new one made, Form_Load on it.
void BM_Reload(benchmark::State& state) {
  Started game;
  for (auto _ : state) {
    game.form.reload();
    benchmark::DoNotOptimize(game.form.board().size());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Reload);

// Form_Load alone on a board as the window definition creates it.
void BM_FormLoad(benchmark::State& state) {
  Started game;
  const Board fresh(windowDefinition());
  for (auto _ : state) {
    state.PauseTiming();
    game.form.board() = fresh;
    state.ResumeTiming();
    game.form.Form_Load();
    benchmark::DoNotOptimize(game.form.board().size());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormLoad);

void BM_FullRender(benchmark::State& state) {
  Started game;
  const Renderer renderer;
  Frame frame;
  for (auto _ : state) {
    renderer.render(game.form.board(), frame);
    benchmark::DoNotOptimize(frame.pixels.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FullRender);

// The present step: the frame copied into a window-sized buffer at scale n, whole
// (a new window, an expose) or the parts a Right step changed.
void presentBench(benchmark::State& state, bool whole) {
  const int n = static_cast<int>(state.range(0));
  Started game;
  const Renderer renderer;
  Frame frame;
  renderer.update(game.form.board(), frame);
  game.form.Form_KeyDown(kKeyRight, 0);
  const std::vector<PixelRect> parts =
      whole ? std::vector<PixelRect>{{0, 0, Frame::kWidth, Frame::kHeight}}
            : renderer.update(game.form.board(), frame);
  const std::size_t width = static_cast<std::size_t>(Frame::kWidth) * n;
  std::vector<std::uint32_t> window(width * Frame::kHeight * n);
  long pixels = 0;
  for (const PixelRect& r : parts) pixels += static_cast<long>(r.w) * r.h * n * n;
  for (auto _ : state) {
    for (const PixelRect& r : parts) {
      presentScaled(frame, r, n, window.data(), width * sizeof(std::uint32_t));
    }
    benchmark::DoNotOptimize(window.data());
    benchmark::ClobberMemory();
  }
  state.counters["pixels"] = static_cast<double>(pixels);
  state.SetItemsProcessed(state.iterations());
}
void BM_PresentFrame(benchmark::State& state) {
  presentBench(state, true);
}
void BM_PresentMove(benchmark::State& state) {
  presentBench(state, false);
}
BENCHMARK(BM_PresentFrame)->DenseRange(1, 3);
BENCHMARK(BM_PresentMove)->DenseRange(1, 3);

}  // namespace
