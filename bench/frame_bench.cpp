// What one frame of play costs, against the floor of the same memory traffic, and what a loop
// pass that draws nothing costs. Run: build/<dir>/bench/quorvex_bench
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>

#include "app/program.h"
#include "backend/headless/headless_backend.h"
#include "game/frmGame.h"
#include "runtime/runtime.h"
#include "startup/modAPI.h"
#include "startup/modVariable.h"

namespace {

using namespace quorvex;

struct Game {
    headless::HeadlessBackend backend;
    rt::Runtime runtime{backend, programIdentity()};
    Program program{runtime};
    frmGame* game = nullptr;

    Game() {
        LoadSpriteCatalogue();
        form<frmGame>().Show();
        game = &form<frmGame>();
        game->lngShipX = 252;
        game->bMissile = true;
        game->lngMissileX = 300;
        game->lngMissileY = 300;
        game->lngBombX = 100;
        game->lngBombY = 300;
    }
};

// The drawing of one full frame: clear, ground, missile, ship, ten aliens, bomb, lives.
void drawFrame(frmGame& g) {
    g.Cls();
    DrawPlain(g.hDC(), 0, g.lngShipY + lngShipHeight, lngGroundWidth, lngGroundHeight, lngGroundDC);
    DrawPlain(g.hDC(), g.lngMissileX, g.lngMissileY, lngBulletWidth, lngBulletHeight, lngBulletDC);
    g.DrawShip();
    for (int i = 1; i <= 10; ++i) g.objEnemy[i]->DrawEnemy();
    DrawPlain(g.hDC(), g.lngBombX, g.lngBombY, lngBombWidth, lngBombHeight, lngBombDC);
    g.DrawLives();
}

// The floor: clearing the 600 x 500 image and copying as many pixels as the frame's blits touch.
struct Floor {
    static constexpr std::size_t kImage = 600 * 500;
    static constexpr std::size_t kBlitted =
        600 + 5 * 20 + 2 * 96 * 20 + 10 * 2 * 50 * 50 + 10 * 10 + 100 * 30 + 5 * 5 * 20;
    std::vector<rt::Pixel> image = std::vector<rt::Pixel>(kImage);
    std::vector<rt::Pixel> source = std::vector<rt::Pixel>(kBlitted, 0x00FF00FFu);
    void run() {
        std::fill(image.begin(), image.end(), 0u);
        std::memcpy(image.data(), source.data(), kBlitted * sizeof(rt::Pixel));
        benchmark::ClobberMemory();
    }
};

template <class F>
double nanosPerCall(F&& f, int calls) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < calls; ++i) f();
    return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count() / calls;
}

// Reports the frame's cost as a multiple of the floor's ("x_floor").
void BM_DrawFullFrame(benchmark::State& state) {
    Game world;
    Floor floor;
    double frameNs = 0;
    std::int64_t frames = 0;
    for (auto _ : state) {
        frameNs += nanosPerCall(
            [&] {
                drawFrame(*world.game);
                benchmark::ClobberMemory();
            },
            1);
        ++frames;
    }
    const double floorNs = nanosPerCall([&] { floor.run(); }, 2000);
    state.counters["frame_us"] = frameNs / static_cast<double>(frames) / 1000;
    state.counters["floor_us"] = floorNs / 1000;
    state.counters["x_floor"] = frameNs / static_cast<double>(frames) / floorNs;
}
BENCHMARK(BM_DrawFullFrame);

void BM_FrameFloor(benchmark::State& state) {
    Floor floor;
    for (auto _ : state) floor.run();
}
BENCHMARK(BM_FrameFloor);

// A pass that draws nothing: tick reading, counters, animation check and one DoEvents.
void BM_IdleLoopPass(benchmark::State& state) {
    Game world;
    frmGame& g = *world.game;
    world.backend.msPerPump = 0;  // time stands still: no pass draws
    constexpr int kPasses = 1000;
    int passes = 0;
    world.backend.onPump = [&] {
        if (++passes >= kPasses) g.bRunning = false;
    };
    for (auto _ : state) {
        passes = 0;
        g.lngTickLast = GetTickCount();
        g.bRunning = true;
        g.GameLoop();
    }
    state.SetItemsProcessed(state.iterations() * kPasses);
}
BENCHMARK(BM_IdleLoopPass);

}  // namespace

BENCHMARK_MAIN();
