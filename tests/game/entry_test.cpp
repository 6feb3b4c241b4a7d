// The one entry flow every platform hands its back-end to: what it answers, what it says on failure,
// and with which status it ends, before any window opens.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/entry.h"

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

}  // namespace
}  // namespace quorvex
