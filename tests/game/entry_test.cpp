// The one entry flow every platform hands its back-end to: what it answers, what it says on failure,
// and with which status it ends, before any window opens.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <stdexcept>

#include <string>
#include <vector>

#include "app/entry.h"
#include "backend/headless/headless_backend.h"

namespace quorvex {
namespace {

struct FakePlatform {
    Platform platform;
    std::string answer, told, noted;
    bool answerWritable = true;
    int backendsStarted = 0;
    int scaleAsked = -1;
    bool fullScreenAsked = false;

    explicit FakePlatform(UsageFacts usage = {"Quorvex.exe", "the monitor's own scale (its DPI / 96)"}) {
        platform.usage = usage;
        platform.startBackend = [this](const rt::ProgramIdentity&, int scale,
                                       bool fullScreen) -> std::unique_ptr<rt::Backend> {
            ++backendsStarted;
            scaleAsked = scale;
            fullScreenAsked = fullScreen;
            throw BackendStartError("no display here");
        };
        platform.writeAnswer = [this](const std::string& text) {
            answer += text;
            return answerWritable;
        };
        platform.tellFailure = [this](const std::string& line) { told += line + "\n"; };
        platform.noteFailure = [this](const std::string& line) { noted += line + "\n"; };
    }
    int run(const std::vector<std::string>& arguments) { return runEntry(platform, arguments); }
};

TEST(Entry, TheUsageTellsEachPlatformsTruth) {
    FakePlatform windows;
    EXPECT_EQ(windows.run({"--help"}), 0);
    EXPECT_EQ(windows.answer.rfind("Usage: Quorvex.exe [--scale N", 0), 0u) << windows.answer;
    EXPECT_NE(windows.answer.find("the monitor's own scale"), std::string::npos);
    EXPECT_EQ(windows.answer.find("Xft.dpi"), std::string::npos);
    // How to quit, how to answer the question with keys, and what the caption's figure counts.
    for (const char* said :
         {"close the window", "Y answers Yes, N answers No", "thousands of passes a second", "--fullscreen"})
        EXPECT_NE(windows.answer.find(said), std::string::npos) << said;

    FakePlatform linux_({"quorvex", "the desktop's own scale factor (GDK_SCALE, or Xft.dpi / 96)"});
    EXPECT_EQ(linux_.run({"-h"}), 0);
    EXPECT_EQ(linux_.answer.rfind("Usage: quorvex [--scale N", 0), 0u);
    EXPECT_NE(linux_.answer.find("Xft.dpi"), std::string::npos);
    EXPECT_EQ(linux_.backendsStarted + windows.backendsStarted, 0);
}

TEST(Entry, RefusalsAndUnwritableAnswersEndBeforeAnyWindow) {
    FakePlatform refused;
    EXPECT_EQ(refused.run({"--version", "--scale", "5"}), 2);
    EXPECT_EQ(refused.told, "quorvex: --scale needs a whole number from 1 to 4, not '5' (try --help)\n");
    EXPECT_EQ(refused.answer, "");

    FakePlatform unwritable;
    unwritable.answerWritable = false;
    EXPECT_EQ(unwritable.run({"--version"}), 1);
    EXPECT_EQ(unwritable.answer, "Quorvex 1.00\n");
    EXPECT_EQ(unwritable.backendsStarted + refused.backendsStarted, 0);
}

TEST(Entry, TheScaleAndFullScreenReachTheBackEndAndAFailedStartIsSaidInOneLine) {
    FakePlatform platform;
    EXPECT_EQ(platform.run({"--fullscreen", "--scale=3"}), 1);
    EXPECT_EQ(platform.scaleAsked, 3);
    EXPECT_TRUE(platform.fullScreenAsked);
    EXPECT_EQ(platform.told, "quorvex: cannot open a window: no display here\n");

    FakePlatform byDefault;
    byDefault.run({});
    EXPECT_EQ(byDefault.scaleAsked, 0);  // the desktop's own
    EXPECT_FALSE(byDefault.fullScreenAsked);
}

TEST(Entry, ThePassRateIsAWholeNumberWithinItsLimitsOrMax) {
    const UsageFacts usage{"quorvex", "the desktop's own"};
    auto rate = [&](const std::vector<std::string>& arguments) {
        const CommandLine line = readCommandLine(arguments, usage);
        return line.action == CommandLine::Action::Play ? static_cast<std::int64_t>(line.passRate) : -1;
    };
    EXPECT_EQ(rate({}), 0);  // max: the busy loop
    EXPECT_EQ(rate({"--pass-rate", "41000"}), 41'000);
    EXPECT_EQ(rate({"--scale", "2", "--pass-rate=1000"}), 1'000);
    EXPECT_EQ(rate({"--pass-rate=100000000"}), 100'000'000);
    EXPECT_EQ(rate({"--pass-rate", "41000", "--pass-rate", "max"}), 0);
    for (const char* bad : {"999", "100000001", "4294967337", "-41000", "+41000", "41000x", "4.1e4", "", "MAX"})
        EXPECT_EQ(rate({"--pass-rate", bad}), -1) << bad;
    EXPECT_EQ(rate({"--pass-rate"}), -1);

    FakePlatform refused;
    EXPECT_EQ(refused.run({"--pass-rate", "fast"}), 2);
    EXPECT_EQ(refused.told,
              "quorvex: --pass-rate needs passes a second, 1000 to 100000000, or max, not 'fast' (try --help)\n");
    EXPECT_EQ(refused.backendsStarted, 0);
    FakePlatform help;
    help.run({"--help"});
    EXPECT_NE(help.answer.find("--pass-rate N|max"), std::string::npos);
}

TEST(Entry, ThePassRateReachesTheRunsLoops) {
    // The real program on a clock that only waits move; stopped after 3000 looks at its events (at a
    // pass rate, one a millisecond).
    auto msFor3000Looks = [](const std::vector<std::string>& arguments) {
        FakePlatform platform;
        headless::HeadlessBackend* backend = nullptr;
        platform.platform.startBackend = [&backend](const rt::ProgramIdentity&, int,
                                                    bool) -> std::unique_ptr<rt::Backend> {
            auto made = std::make_unique<headless::HeadlessBackend>();
            made->msPerPump = 0;
            made->onPump = [b = made.get()] {
                if (b->pumps() == 3000) throw std::runtime_error("enough");
            };
            backend = made.get();
            return made;
        };
        std::uint64_t ms = 0;
        platform.platform.noteFailure = [&](const std::string&) { ms = backend->now(); };
        EXPECT_EQ(platform.run(arguments), 1);
        return ms;
    };
    EXPECT_EQ(msFor3000Looks({}), 0u);  // the busy loop never waits
    // One look a millisecond; the clock may be up to a frame ahead, slept through to the next frame.
    EXPECT_NEAR(static_cast<double>(msFor3000Looks({"--pass-rate", "41000"})), 2999.0, 11.0);
}

}  // namespace
}  // namespace quorvex
