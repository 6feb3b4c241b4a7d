// What the Win32 back-end costs on a real display (run under Wine by bench/measure_win32.sh):
//   - presenting a 600 x 500 frame at scale 1 and 2 (median and 99th percentile over 1,000 presents);
//   - frame spacing in a loop paced as the game's (a frame when more than 10 ms have passed on the tick
//     counter since the last one, events pumped on every pass), over 3 s: median and spread;
//   - passes per second of that loop, in thousands, as the caption reports them.
// Nothing is asserted: the figures are printed for a person to read.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "backend/win32/win32_backend.h"

namespace {

double percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(p * static_cast<double>(v.size() - 1))];
}

// Presents 1,000 frames at `scale`, each one pixel different from the last.
bool measurePresent(int scale) {
    win32::Win32Backend backend(GetModuleHandleW(nullptr), {"Quorvex bench", "measure_win32", {}}, 0, scale);
    const rt::WindowId window = backend.createWindow({"present", 600, 500});
    if (window == 0) return false;
    backend.showWindow(window);
    rt::Surface frame(600, 500, rt::colour::black);
    rt::Event event;
    std::vector<double> presents;
    for (int i = 0; i < 1000; ++i) {
        frame.at(i % 600, (i / 600) % 500) = rt::colour::lime;
        const auto start = std::chrono::steady_clock::now();
        backend.present(window, frame);
        presents.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        while (backend.pollEvent(event)) {
        }
    }
    std::printf("present 600 x 500 at scale %d: median %.3f ms, p99 %.3f ms\n", scale, percentile(presents, 0.5),
                percentile(presents, 0.99));
    return true;
}

}  // namespace

int main() {
    // Scale 2 shows 1200 x 1000 pixels: on a smaller screen the window manager cuts the window down, and
    // only what is on screen is drawn.
    if (!measurePresent(1) || !measurePresent(2)) return 1;

    win32::Win32Backend backend(GetModuleHandleW(nullptr), {"Quorvex bench", "measure_win32", {}}, 0, 1);
    const rt::WindowId window = backend.createWindow({"present", 600, 500});
    if (window == 0) return 1;
    backend.showWindow(window);
    rt::Surface frame(600, 500, rt::colour::black);
    rt::Event event;

    std::vector<double> gaps;
    std::uint32_t last = backend.tickCount();
    const std::uint64_t end = backend.monotonicMs() + 3000;
    std::uint64_t lastFrame = backend.monotonicMs(), passes = 0;
    while (backend.monotonicMs() < end) {
        ++passes;
        if (backend.tickCount() - last > 10) {
            const std::uint64_t now = backend.monotonicMs();
            gaps.push_back(static_cast<double>(now - lastFrame));
            lastFrame = now;
            backend.present(window, frame);
            last = backend.tickCount();
        }
        while (backend.pollEvent(event)) {
        }
    }
    std::printf("frames: %zu in 3 s, spacing median %.1f ms (p5 %.1f, p95 %.1f)\n", gaps.size(), percentile(gaps, 0.5),
                percentile(gaps, 0.05), percentile(gaps, 0.95));
    std::printf("loop passes: %.0f thousand per second\n", static_cast<double>(passes) / 3000.0);
    return 0;
}
