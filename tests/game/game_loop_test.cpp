// The paced main loop: when frames are drawn (also across the tick counter's sign change and wrap),
// the first frame, the pass-counted animation, the caption, and play inside the ready timer's tick.
#include <cstdint>
#include <limits>
#include <ostream>
#include <utility>
#include <vector>

#include "game_harness.h"

namespace quorvex::testing {
namespace {

struct TickCase {
    const char* name;
    std::int32_t firstTick;  // what the counter reads on the first pass of play
};

void PrintTo(const TickCase& c, std::ostream* out) { *out << c.name << " (" << c.firstTick << ")"; }

class GamePacing : public GameHarness, public ::testing::WithParamInterface<TickCase> {};

// One pass per millisecond: the first pass draws at once, then a frame whenever more than 10 ms have
// passed since the last one (10 draws nothing, 11 draws), wherever the counter stands.
TEST_P(GamePacing, FirstPassDrawsThenEveryElevenMilliseconds) {
    backend.msPerPump = 1;
    setTickAtFirstPass(GetParam().firstTick);
    std::vector<int> framePasses;
    std::vector<int> alien1X;
    playPasses(100, [&](int pass) {
        if (pass == 1) {
            EXPECT_EQ(game.lngTickNow, GetParam().firstTick);
        }
        if (frameDrawnThisPass()) {
            framePasses.push_back(pass);
            alien1X.push_back(alien(1).lngEnemyX.value());
        }
    });
    const auto last = static_cast<std::int32_t>(static_cast<std::uint32_t>(GetParam().firstTick) + 99u);
    EXPECT_EQ(game.lngTickNow, last) << "the counter did not run as scripted";
    EXPECT_EQ(framePasses, (std::vector<int>{1, 12, 23, 34, 45, 56, 67, 78, 89, 100}));
    // The first frame moves nothing (the march step is still 0); from the second on, 1 px a frame.
    EXPECT_EQ(alien1X, (std::vector<int>{75, 76, 77, 78, 79, 80, 81, 82, 83, 84}));
}

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

INSTANTIATE_TEST_SUITE_P(GameCounter, GamePacing,
                         ::testing::Values(TickCase{"Positive", 1'000'000},
                                           TickCase{"NegativeThroughout", -2'000'000'000},
                                           TickCase{"AcrossSignWrap", kMax - 40}, TickCase{"AcrossZero", -40},
                                           TickCase{"FirstPassAtZero", 0}, TickCase{"FirstPassAtTen", 10}),
                         [](const auto& info) { return std::string(info.param.name); });

class GameLoopTest : public GameHarness {};

// The wait counts from the end of the last drawn frame, read afresh when the frame is done: the 8 ms
// that the first frame spends in the attacker search's message pumps delay the second frame as much.
TEST_F(GameLoopTest, NextFrameComesElevenMillisecondsAfterTheEndOfTheLast) {
    backend.msPerPump = 1;
    setTickAtFirstPass(1000);
    kill({3, 4, 5, 6, 7, 8, 9, 10});
    runtime.random().queueDraws({0.35f});  // alien 3: the search steps over eight dead aliens
    std::vector<std::int64_t> frameEnds{0};
    onPass = [&] {
        if (game.lngTickLast.wide() != frameEnds.back()) frameEnds.push_back(game.lngTickLast.wide());
        if (frameEnds.size() == 4) game.bRunning = false;
    };
    resume();
    EXPECT_EQ(frameEnds, (std::vector<std::int64_t>{0, 1008, 1019, 1030}));
}

TEST_F(GameLoopTest, FirstFrameShowsTheFormationWhereItStands) {
    std::vector<int> xs;
    playPasses(1, [&](int) {
        EXPECT_TRUE(frameDrawnThisPass());
        for (int i = 1; i <= 10; ++i) xs.push_back(alien(i).lngEnemyX.value());
    });
    EXPECT_EQ(xs, (std::vector<int>{75, 175, 275, 375, 475, 75, 175, 275, 375, 475}));
    EXPECT_EQ(game.lngSpeed, 1);  // copied from the level at the end of the pass
    EXPECT_EQ(game.lngShipX, 252);
    EXPECT_EQ(game.lngShipY, 430);
    EXPECT_FALSE(game.lblReady.Visible());
    EXPECT_FALSE(game.lblLevel.Visible());
}

// Kept: the animation period is counted in loop passes, drawn or not, and shrinks with the level.
TEST_F(GameLoopTest, AlienFrameFlipsEveryTenThousandPassesOverTheLevel) {
    for (const auto& [level, period] : {std::pair{1, 10000}, {2, 5000}, {3, 3334}, {7, 1429}}) {
        game.lngLevel = level;
        game.lngAnimCount = 0;
        bAlienFrame = false;
        int flippedAt = 0;
        onPass = [&] {
            if (bAlienFrame && flippedAt == 0) {
                flippedAt = pumpsInPlay;
                game.bRunning = false;
            }
        };
        resume();
        EXPECT_EQ(flippedAt, period) << "level " << level;
        EXPECT_EQ(game.lngAnimCount, 0);
    }
}

TEST_F(GameLoopTest, CaptionShowsLevelScoreAndThousandsOfPasses) {
    game.lngLevel = 2;
    game.lngScore = 1300;
    game.lngFrames = 41999;
    game.tmrFPS_Timer();
    const std::string expected = "Quorvex - By Delmoro : Level 2 : Score (1300) : 41 FPS";
    EXPECT_EQ(game.Caption(), expected);
    EXPECT_EQ(backend.window(game.window())->caption, expected);
    EXPECT_EQ(game.lngFrames, 0);
}

// Play runs inside the ready timer's tick; the ticks that fall due meanwhile are dropped, so the
// ship is not re-centred and no second loop starts.
TEST_F(GameLoopTest, ReadyTicksDuringPlayAreDropped) {
    backend.msPerPump = 11;  // a frame on every pass
    game.bLeftKey = true;
    noBombs();
    playPasses(300);  // 3.3 s of play
    EXPECT_EQ(plays, 1);
    EXPECT_EQ(game.lngShipX, 0);
    EXPECT_NE(game.Caption(), "Quorvex - By Delmoro");  // the caption timer ran meanwhile
}

// P during "Get Ready" holds its countdown where it stood; P during play holds the loop, its timers and
// the caption's count of passes; a key let go during the pause does not run on after it, and one pressed
// during it is not taken.
TEST_F(GameLoopTest, PauseHoldsTheCountdownThePlayAndTheCaptionsCount) {
    const rt::WindowId w = game.window();
    rt::Event p{rt::EventType::KeyDown, w};
    p.key = rt::vbKeyP;
    backend.advance(400);  // 600 ms of "Get Ready" to go
    backend.post(p);
    backend.postAt(10'400, p);
    runtime.doEvents();
    EXPECT_EQ(backend.now(), 10'400u);
    EXPECT_EQ(plays, 0);
    EXPECT_EQ(game.tmrReady.dueAt(), 11'000u);

    backend.msPerPump = 11;  // a frame on every pass
    noBombs();
    backend.keyDown(w, kLeft);
    std::uint64_t pausedAt = 0;
    std::int32_t framesAtPause = 0, shipAtPause = 0;
    std::string captionAtPause;
    bool checked = false;
    playPasses(60, [&](int pass) {
        // Well inside a second of the caption's timer, so that its next tick falls after the next pass.
        if (pausedAt == 0 && pass > 10 && backend.now() % 1000 > 400) {
            pausedAt = backend.now();
            framesAtPause = game.lngFrames.value();
            shipAtPause = game.lngShipX.value();
            captionAtPause = game.Caption();
            backend.post(p);
            backend.postAt(pausedAt + 3000, rt::Event{rt::EventType::KeyUp, w, kLeft});
            backend.postAt(pausedAt + 4000, rt::Event{rt::EventType::KeyDown, w, kRight});
            backend.postAt(pausedAt + 8000, p);
        } else if (pausedAt != 0 && !runtime.paused() && !checked) {  // the first pass after the pause
            checked = true;
            EXPECT_GE(backend.now(), pausedAt + 8000);
            EXPECT_LE(game.lngFrames, framesAtPause + 2) << "no pass counted during the pause";
            EXPECT_EQ(game.Caption(), captionAtPause) << "the caption's timer did not tick during the pause";
            EXPECT_EQ(game.lngShipX, shipAtPause) << "Left was let go during the pause, Right not taken";
        }
    });
    EXPECT_TRUE(checked);
}

}  // namespace
}  // namespace quorvex::testing
