// What the SDL back-end costs per frame on a real display: showing a composed 600 x 500 image, and
// drawing the welcome text that the title window recomposes on every frame of its typewriter.
// Needs a display (bench/measure_sdl.sh runs it on a private X server).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "backend/sdl/sdl_backend.h"
#include "runtime/runtime.h"

namespace {

std::unique_ptr<sdl::SdlBackend> startBackend(benchmark::State& state, int scale = 1) {
    try {
        return std::make_unique<sdl::SdlBackend>(rt::ProgramIdentity{"Quorvex", "quorvex_bench_sdl", {}}, scale);
    } catch (const sdl::StartError& error) {
        state.SkipWithError((std::string("no display: ") + error.what()).c_str());
        return nullptr;
    }
}

// The argument is the window's scale: 1, or 2 for a large screen (a 1200 x 1000 window). Two frames
// that differ on every row take turns: the whole window is sent each time, the worst case.
void BM_PresentFrame(benchmark::State& state) {
    auto backend = startBackend(state, static_cast<int>(state.range(0)));
    if (!backend) return;
    const rt::WindowId window = backend->createWindow({"present", 600, 500});
    backend->showWindow(window);
    rt::Surface frames[2] = {rt::Surface(600, 500), rt::Surface(600, 500)};
    for (int y = 0; y < 500; ++y)
        for (int x = 0; x < 600; ++x) frames[0].at(x, y) = frames[1].at(x, y) = rt::rgb(x, y, x ^ y);
    for (int y = 0; y < 500; ++y) frames[1].at(0, y) ^= 1;
    int turn = 0;
    for (auto _ : state) backend->present(window, frames[turn ^= 1]);
}
BENCHMARK(BM_PresentFrame)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_WelcomeLabelText(benchmark::State& state) {
    auto backend = startBackend(state);
    if (!backend) return;
    rt::LabelText label;
    label.left = 20;
    label.top = 236;
    label.width = 557;
    label.height = 181;
    label.fore = rt::colour::red;
    label.font = {"Courier New", 12, true};
    const std::string text =
        "Welcome to 'Quorvex' by Delmoro.\rUse the Left and Right Arrow Keys to move your ship around and press "
        "'Space' to fire your missiles.\rThe Aliens will drop bombs on you and may swoop down to kill you so watch "
        "out!!!\rOnce you have killed all the Aliens you will progress to the next level.\rMake sure you hit their "
        "body as a leg-shot will NOT kill them.\rGOOD LUCK!!!";
    // As the typewriter shows it: one character more on every frame.
    rt::Surface screen(600, 500);
    std::size_t length = 0;
    for (auto _ : state) {
        length = length % text.size() + 1;
        label.text = text.substr(0, length);
        backend->drawLabelText(screen, label);
    }
}
BENCHMARK(BM_WelcomeLabelText)->Unit(benchmark::kMicrosecond);

void BM_PollWithNothingPending(benchmark::State& state) {
    auto backend = startBackend(state);
    if (!backend) return;
    rt::Event event;
    for (auto _ : state) benchmark::DoNotOptimize(backend->pollEvent(event));
}
BENCHMARK(BM_PollWithNothingPending)->Unit(benchmark::kMicrosecond);

// A loop paced as the game's: a frame whenever more than 10 ms have passed on the tick counter since the
// end of the last one's drawing; as in the game, the frame is shown (at the argument's scale) after
// that reading, by the pump of events that ends the pass. One iteration is one frame; the counters give
// the spacing of the frames.
void BM_PacedFrames(benchmark::State& state) {
    auto backend = startBackend(state, static_cast<int>(state.range(0)));
    if (!backend) return;
    const rt::WindowId window = backend->createWindow({"paced", 600, 500});
    backend->showWindow(window);
    rt::Surface frame(600, 500, rt::colour::black);
    rt::Event event;
    std::vector<double> gaps;
    std::uint32_t last = backend->tickCount();
    auto lastFrame = std::chrono::steady_clock::now();
    for (auto _ : state) {
        while (backend->tickCount() - last <= 10)
            while (backend->pollEvent(event)) {
            }
        const auto now = std::chrono::steady_clock::now();
        gaps.push_back(std::chrono::duration<double, std::milli>(now - lastFrame).count());
        lastFrame = now;
        frame.at(0, 0) ^= 1;
        last = backend->tickCount();
        backend->present(window, frame);
    }
    gaps.erase(gaps.begin());  // from the loop's start, not from a frame
    std::sort(gaps.begin(), gaps.end());
    state.counters["median_ms"] = gaps[gaps.size() / 2];
    state.counters["p95_ms"] = gaps[gaps.size() * 95 / 100];
}
BENCHMARK(BM_PacedFrames)->Arg(1)->Arg(2)->Iterations(300)->Unit(benchmark::kMillisecond);

double cpuSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }  // the process's, all threads

double percentile(std::vector<double> values, int p) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() * static_cast<std::size_t>(p) / 100];
}

// The game loop's pace and counts through the runtime's DoEvents, at the argument's pass rate (0: the
// busy loop): a frame whenever more than 10 ms have passed since the end of the last one, every pass
// counted, and at level 1 the aliens' frame flipping every 10,000 passes (seen at the next frame, as a
// player sees it). One iteration is one frame.
// The counters: the frames' spacing, the time between flips, the passes a second (the caption's figure
// is their thousands) and the process's processor time against the time that passed.
void BM_PacedPasses(benchmark::State& state) {
    auto backend = startBackend(state);
    if (!backend) return;
    rt::Runtime runtime(*backend, rt::ProgramIdentity{"Quorvex", "quorvex_bench_sdl", {}});
    runtime.setPassRate(static_cast<std::uint32_t>(state.range(0)));
    const rt::WindowId window = backend->createWindow({"paced passes", 600, 500});
    backend->showWindow(window);
    rt::Surface frame(600, 500, rt::colour::black);
    std::vector<double> gaps, flips;
    std::int64_t passes = 0, animCount = 0;
    std::int32_t last = rt::GetTickCount().value();
    const auto start = std::chrono::steady_clock::now();
    auto lastFrame = start, lastFlip = start;
    const double cpuAtStart = cpuSeconds();
    for (auto _ : state) {
        for (;;) {
            ++passes;
            if (++animCount >= 10000) {
                animCount = 0;
                const auto now = std::chrono::steady_clock::now();
                flips.push_back(std::chrono::duration<double, std::milli>(now - lastFlip).count());
                lastFlip = now;
            }
            rt::DoEvents();
            if (static_cast<std::uint32_t>(rt::GetTickCount().value() - last) > 10) break;
        }
        const auto now = std::chrono::steady_clock::now();
        gaps.push_back(std::chrono::duration<double, std::milli>(now - lastFrame).count());
        lastFrame = now;
        frame.at(0, 0) ^= 1;
        backend->present(window, frame);
        last = rt::GetTickCount().value();
        rt::NothingDueFor(11);  // as the game loop says: only counting until the next frame
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    gaps.erase(gaps.begin());  // from the loop's start, not from a frame
    if (!flips.empty()) flips.erase(flips.begin());
    state.counters["frame_median_ms"] = percentile(gaps, 50);
    state.counters["frame_p95_ms"] = percentile(gaps, 95);
    state.counters["flip_median_ms"] = percentile(flips, 50);
    state.counters["passes_per_s"] = static_cast<double>(passes) / seconds;
    state.counters["cpu_percent"] = 100 * (cpuSeconds() - cpuAtStart) / seconds;
}
BENCHMARK(BM_PacedPasses)->Arg(0)->Arg(41'000)->Iterations(900)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
