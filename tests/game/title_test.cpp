// The title window driven headless: the three phases of the introduction frame by frame, its pacing
// on a tick counter that reads negative or wraps, and the ways the title window can end.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <map>
#include <stdexcept>
#include <vector>

#include "app/modVariable_Main.h"
#include "app/program.h"
#include "backend/headless/headless_backend.h"
#include "game/frmGame.h"
#include "runtime/constants.h"
#include "runtime/runtime.h"
#include "startup/frmGraphics.h"
#include "startup/modVariable.h"
#include "title/frmMain.h"

namespace {

using namespace quorvex;

struct Phases {
    int banner = 0, typewriter = 0, button = 0;
    std::vector<std::int64_t> buttonLefts;
    // Per phase, how often each gap (ms from a frame's start to the next frame's) occurred after its frames.
    std::map<std::int64_t, int> gaps[3];
};

class TitleTest : public ::testing::Test {
protected:
    headless::HeadlessBackend backend;
    rt::Runtime runtime{backend, programIdentity()};
    Program program{runtime};
    Phases phases;
    // Runs at the end of every pass of the intro (and later of any loop) with the title window.
    std::function<void(frmMain&)> each;

    // Counts the frames of each phase by watching the fields a frame changes.
    void watchPhases() {
        backend.onPump = [this] {
            // The intro takes about 9,000 passes here; far more means it no longer paces.
            if (backend.pumps() > 200'000) throw std::runtime_error("the intro does not come to an end");
            if (!program.created<frmMain>()) return;
            frmMain& t = form<frmMain>();
            if (t.lngTickLast.wide() != last_) {
                // A frame was drawn in this pass: it belongs to the phase the pass started in.
                last_ = t.lngTickLast.wide();
                if (lastStart_ != INT64_MIN) ++phases.gaps[lastPhase_][t.lngTickNow.wide() - lastStart_];
                lastStart_ = t.lngTickNow.wide();
                lastPhase_ = phase_;
                if (phase_ == 2) {
                    ++phases.button;
                    phases.buttonLefts.push_back(t.picCont.Left().wide());
                } else if (phase_ == 1) {
                    ++phases.typewriter;
                } else {
                    ++phases.banner;
                }
            }
            phase_ = t.bSlideButton ? 2 : t.bTyping ? 1 : 0;
            if (each) each(t);
        };
    }

    void closeTitleWhenIntroEnds() {
        each = [this](frmMain& t) {
            if (t.isLoaded() && !t.bIntro) backend.close(t.window());
        };
    }

    std::int64_t last_ = INT64_MIN;  // the first pass always draws: its reading differs from this
    std::int64_t lastStart_ = INT64_MIN;
    int lastPhase_ = 0;
    int phase_ = 0;  // 0 banner, 1 typewriter, 2 button
};

TEST_F(TitleTest, IntroRunsItsThreePhasesFrameByFrame) {
    backend.msPerPump = 1;     // a 1 ms counter, read once per pass
    backend.msPerPresent = 3;  // a frame that refreshes the window takes 3 ms
    watchPhases();
    closeTitleWhenIntroEnds();
    EXPECT_EQ(runtime.run(Main), 0);

    // A frame starts 11 ms after the end of the last one, read afresh when the frame is done: 14 ms
    // after a frame that refreshed, 11 ms after one that did not. The banner's frames refresh but for
    // the last, which starts the typing; the typewriter's do not but for the last, which starts the
    // button; in the button phase every other frame refreshes (the banner step turns typing on again).
    EXPECT_EQ(phases.gaps[0], (std::map<std::int64_t, int>{{11, 1}, {14, 215}}));
    EXPECT_EQ(phases.gaps[1],
              (std::map<std::int64_t, int>{{11, static_cast<int>(frmMain::WelcomeText().size()) + 1}, {14, 1}}));
    EXPECT_EQ(phases.gaps[2], (std::map<std::int64_t, int>{{11, 17}, {14, 17}}));

    frmMain& t = form<frmMain>();
    const int length = static_cast<int>(frmMain::WelcomeText().size());
    EXPECT_EQ(t.intMsgLen, length);
    EXPECT_EQ(phases.banner, 216);             // top edges -200 .. 15
    EXPECT_EQ(phases.typewriter, length + 2);  // the last two append nothing
    EXPECT_EQ(phases.button, 35);
    ASSERT_EQ(phases.buttonLefts.size(), 35u);
    EXPECT_EQ(phases.buttonLefts.front(), -100);
    EXPECT_EQ(phases.buttonLefts[33], 230);
    EXPECT_EQ(phases.buttonLefts.back(), 250);  // comes to rest centred
    EXPECT_EQ(t.lblMessage.Caption(), frmMain::WelcomeText());
    EXPECT_EQ(t.lngTitleY, 16);

    // The banner was redrawn at top edge 16 in the button phase and never cleared.
    const rt::Surface& banner = form<frmGraphics>().picTitle.image();
    for (int y = 0; y < banner.height; ++y)
        for (int x = 0; x < banner.width; x += 7)
            ASSERT_EQ(t.image().at(50 + x, 16 + y), banner.at(x, y)) << x << "," << y;
}

// Blits reach the screen only with a refresh: the typewriter's characters and the sliding button
// repaint their own rectangles, so the banner on screen stays where the last refresh left it.
TEST_F(TitleTest, BannerShowsWhereTheLastRefreshLeftIt) {
    const rt::Surface& banner = form<frmGraphics>().picTitle.image();
    auto bannerAt = [&](const rt::Surface& s, int top) {
        for (int y = 0; y < banner.height; ++y)
            for (int x = 0; x < banner.width; ++x)
                if (s.at(50 + x, top + y) != banner.at(x, y)) return false;
        return true;
    };
    int checks = 0;
    watchPhases();
    each = [&](frmMain& t) {
        if (!t.isLoaded()) return;
        if (phase_ == 1 && t.intCharPos == 30) {
            EXPECT_TRUE(bannerAt(t.image(), 15));
            EXPECT_TRUE(bannerAt(t.screen(), 14)) << "the banner phase's last copy was never refreshed";
            EXPECT_FALSE(bannerAt(t.screen(), 15));
            ++checks;
        } else if (phases.button == 1 && t.picCont.Left() == -100) {
            EXPECT_TRUE(bannerAt(t.image(), 16));
            EXPECT_TRUE(bannerAt(t.screen(), 15)) << "the typewriter's last frame refreshed";
            EXPECT_FALSE(bannerAt(t.screen(), 16)) << "a banner step does not refresh";
            ++checks;
        } else if (phases.button == 2 && t.picCont.Left() == -90) {
            EXPECT_TRUE(bannerAt(t.screen(), 16));
            ++checks;
        }
        if (!t.bIntro) backend.close(t.window());
    };
    EXPECT_EQ(runtime.run(Main), 0);
    EXPECT_GE(checks, 3);
}

// The tick counter as a signed 32-bit value: negative from the start, or passing its wrap from
// 2,147,483,647 to -2,147,483,648 during the intro. Pacing is the same as anywhere else.
class TitleTickTest : public TitleTest, public ::testing::WithParamInterface<std::uint32_t> {};

TEST_P(TitleTickTest, IntroPacesTheSameWhateverTheCounterReads) {
    backend.setTickBase(GetParam());
    watchPhases();
    closeTitleWhenIntroEnds();
    EXPECT_EQ(runtime.run(Main), 0);
    EXPECT_TRUE(backend.errors().empty());
    EXPECT_EQ(phases.banner, 216);
    EXPECT_EQ(phases.typewriter, static_cast<int>(frmMain::WelcomeText().size()) + 2);
    EXPECT_EQ(phases.button, 35);
}

INSTANTIATE_TEST_SUITE_P(Counter, TitleTickTest,
                         ::testing::Values(0x80000000u + 5000u,  // negative throughout
                                           0x7FFFFFFFu - 3000u,  // wraps during the typewriter
                                           0xFFFFFFFFu - 1000u,  // passes zero during the intro
                                           0u, 10u));            // 0 to 10 at the first pass

// The start button at rest, pressed with the mouse, or with Return or Space (0: the mouse). A key pressed
// while the intro plays does nothing, and its release after the intro releases nothing.
class TitlePressTest : public TitleTest, public ::testing::WithParamInterface<int> {};

TEST_P(TitlePressTest, PressShowsThePressedPictureUntilTheRelease) {
    const int key = GetParam();
    bool heldEarly = false, releasedLate = false, pressed = false, sawPressed = false;
    watchPhases();
    each = [&](frmMain& t) {
        if (program.created<frmGame>() && form<frmGame>().isLoaded()) {
            backend.close(form<frmGame>().window());  // the game opened: end the run
            return;
        }
        if (!t.isLoaded()) return;
        if (t.bIntro) {
            if (key != 0 && !heldEarly && t.intCharPos == 20) {
                backend.keyDown(t.window(), key);
                backend.keyDown(t.window(), key, true);
                heldEarly = true;
            }
            return;
        }
        if (key != 0 && !releasedLate) {
            backend.keyUp(t.window(), key);  // held since the intro: releases nothing
            releasedLate = true;
        } else if (!pressed) {
            EXPECT_EQ(t.picCont.picture(), form<frmGraphics>().picCont.picture());
            if (key == 0)
                backend.mouseDown(t.window(), 300, 457, 2);  // any button
            else
                backend.keyDown(t.window(), key);
            pressed = true;
        } else if (t.picCont.picture() == form<frmGraphics>().picContClick.picture() && !sawPressed) {
            sawPressed = true;
            if (key == 0)
                backend.mouseUp(t.window(), 5, 5, 2);  // the press captured the mouse: released anywhere
            else
                backend.keyDown(t.window(), key, true);  // auto-repeat changes nothing
        } else if (sawPressed && key != 0) {
            EXPECT_EQ(t.picCont.picture(), form<frmGraphics>().picContClick.picture());
            backend.keyUp(t.window(), key == rt::vbKeySpace ? rt::vbKeyReturn : rt::vbKeySpace);  // not this key
            backend.keyUp(t.window(), key);
        }
    };
    EXPECT_EQ(runtime.run(Main), 0);
    EXPECT_EQ(heldEarly, key != 0);
    EXPECT_TRUE(sawPressed);
    EXPECT_FALSE(form<frmMain>().isLoaded());
    EXPECT_EQ(form<frmMain>().picCont.picture(), form<frmGraphics>().picCont.picture());
    ASSERT_TRUE(program.created<frmGame>());
    EXPECT_EQ(form<frmGame>().lblLevel.Caption(), "Level 1");
}

INSTANTIATE_TEST_SUITE_P(MouseOrKey, TitlePressTest, ::testing::Values(0, rt::vbKeyReturn, rt::vbKeySpace));

TEST_F(TitleTest, ReleaseWhileTheButtonStillSlidesStartsTheGameAndEndsTheIntro) {
    watchPhases();
    bool released = false;
    each = [&](frmMain& t) {
        if (released || !t.isLoaded() || !t.bSlideButton || t.picCont.Left() != -40) return;
        backend.mouseDown(t.window(), -40 + 50, 457);
        backend.mouseUp(t.window(), -40 + 50, 457);
        released = true;
    };
    int passesAfter = 0;
    runtime.run([&] {
        Main();  // returns once the intro has stopped
        EXPECT_TRUE(released);
        frmMain& t = form<frmMain>();
        EXPECT_FALSE(t.isLoaded());  // not brought back by the rest of the intro
        EXPECT_EQ(t.lngContX, -30);  // the intro stopped right after the release
        EXPECT_TRUE(t.bIntro);
        ASSERT_TRUE(form<frmGame>().isLoaded());
        backend.onPump = [&] {
            if (++passesAfter == 5) backend.close(form<frmGame>().window());
        };
    });
    EXPECT_EQ(form<frmGame>().Caption().rfind("Quorvex - By Delmoro", 0), 0u);
}

TEST_F(TitleTest, CloseBoxDuringTheIntroEndsTheProgram) {
    watchPhases();
    each = [&](frmMain& t) {
        if (t.isLoaded() && t.intCharPos == 20) backend.close(t.window());
    };
    EXPECT_EQ(runtime.run(Main), 0);  // nothing left loaded: the hidden sprite window went too
    EXPECT_FALSE(form<frmGraphics>().isLoaded());
    EXPECT_FALSE(program.created<frmGame>());
    EXPECT_EQ(phases.button, 0);
}

TEST_F(TitleTest, CloseBoxAfterTheIntroEndsTheProgram) {
    watchPhases();
    closeTitleWhenIntroEnds();
    EXPECT_EQ(runtime.run(Main), 0);
    EXPECT_FALSE(form<frmGraphics>().isLoaded());
    EXPECT_FALSE(program.created<frmGame>());
}

}  // namespace
