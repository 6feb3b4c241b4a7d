// A cleared formation raises the level; five hits lead to the game-over question, whose Yes starts a
// new game (the score kept) and whose No ends the program at once.
#include <string>

#include "game_harness.h"

namespace quorvex::testing {
namespace {

class GameLevelLives : public GameHarness {
protected:
    void expectFormationAlive() {
        for (int i = 1; i <= 10; ++i) {
            EXPECT_FALSE(alien(i).bDead) << i;
            EXPECT_EQ(alien(i).lngEnemyX, kFormationX[i]) << i;
            EXPECT_EQ(alien(i).lngEnemyY, kFormationY[i]) << i;
        }
    }

    // Every bomb in flight is moved just above the ship, so that it hits in the next frame.
    void everyBombHits() {
        onPass = [this] {
            if (game.bAttack && game.lngBombY < 400) {
                game.lngBombX = game.lngShipX;
                game.lngBombY = 415;
            }
        };
    }
};

TEST_F(GameLevelLives, NineDeadChangeNothing) {
    kill({1, 2, 3, 4, 5, 6, 7, 8, 9});
    game.bRunning = true;
    game.CheckLevel();
    EXPECT_EQ(game.lngLevel, 1);
    EXPECT_TRUE(game.bRunning);
    EXPECT_TRUE(alien(1).bDead);
}

TEST_F(GameLevelLives, ClearedFormationRaisesTheLevelAndKeepsEverythingElse) {
    kill({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    for (int i = 1; i <= 10; ++i) {
        alien(i).bLeft = true;
        alien(i).lngEnemyX = alien(i).lngEnemyX - 30;
    }
    bombInFlight(2, 150, 300);
    game.lngScore = 1000;
    game.bytLives = 3;
    game.bRunning = true;
    game.lblReady.setVisible(false);
    game.lblLevel.setVisible(false);
    game.CheckLevel();
    EXPECT_EQ(game.lngLevel, 2);
    EXPECT_FALSE(game.bRunning);
    expectFormationAlive();
    for (int i = 1; i <= 10; ++i) EXPECT_TRUE(alien(i).bLeft) << "the direction carries over";
    EXPECT_TRUE(game.bAttack && game.bBombFalling && alien(2).bFire);
    EXPECT_EQ(game.lngBombY, 300);
    EXPECT_EQ(game.lngScore, 1000);
    EXPECT_EQ(game.bytLives, 3);
    EXPECT_TRUE(game.lblReady.Visible());
    EXPECT_TRUE(game.lblLevel.Visible());
    EXPECT_EQ(game.lblLevel.Caption(), "Level 2");
    EXPECT_TRUE(allBlack());
}

// The last alien dies with no bomb in flight: the attacker choice finds no live alien in that very
// frame, and the level change follows in the same pass.
TEST_F(GameLevelLives, LastKillEndsPlayAndTheNextLevelMarchesTwoPixelsAFrame) {
    backend.msPerPump = 11;
    kill({1, 2, 3, 4, 5, 6, 7, 9, 10});
    game.bMissile = true;
    game.lngMissileX = 300;
    game.lngMissileY = 210;  // on alien 8's bottom edge after one step
    int frames = 0;
    rt::Long lastFrameTick = game.lngTickLast;
    onPass = [&] {  // the search's pumps move the clock inside the frame: count new frame ends
        if (game.lngTickLast != lastFrameTick) ++frames;
        lastFrameTick = game.lngTickLast;
        if (pumpsInPlay > 50) game.bRunning = false;
    };
    resume();
    onPass = nullptr;
    EXPECT_EQ(frames, 1);
    EXPECT_EQ(game.lngLevel, 2);
    EXPECT_EQ(game.lngScore, 100);
    EXPECT_EQ(game.lblLevel.Caption(), "Level 2");
    EXPECT_TRUE(game.lblReady.Visible());
    expectFormationAlive();

    playPasses(1);
    EXPECT_EQ(alien(1).lngEnemyX, 77);
    EXPECT_FALSE(game.lblReady.Visible());
}

TEST_F(GameLevelLives, FiveHitsAskTheQuestionAndYesStartsANewGameKeepingTheScore) {
    backend.msPerPump = 11;
    backend.answerNextQuestion(rt::vbYes);
    game.lngScore = 700;
    game.lngLevel = 3;
    kill({2});
    everyBombHits();
    rt::Surface pauseImage;
    afterPlay = [&] {
        if (backend.questions().empty() || !pauseImage.pixels.empty()) return;
        pauseImage = image();
        EXPECT_EQ(game.lngLevel, 1);
        EXPECT_EQ(game.bytLives, 5);
        EXPECT_EQ(game.lngScore, 700);
        EXPECT_TRUE(game.bHold);
        EXPECT_FALSE(game.bRunning);
        EXPECT_TRUE(game.lblReady.Visible());
        EXPECT_TRUE(game.lblLevel.Visible());
        EXPECT_EQ(game.lblLevel.Caption(), "Level 1");
        expectFormationAlive();
        // The first frame of the new game: five lives, then the window is closed.
        onPass = [&] {
            EXPECT_FALSE(game.bHold);
            const rt::Surface& life = form<frmGraphics>().picLife.image();
            for (int k = 0; k < 5; ++k) EXPECT_EQ(image().at(140 + 10 * k, 465), life.at(0, 0)) << k;
            backend.close(game.window());
            onPass = nullptr;
        };
    };
    EXPECT_EQ(runtime.run([] {}), 0);
    ASSERT_EQ(backend.questions().size(), 1u);
    EXPECT_EQ(backend.questions()[0].title, "DEAD!!!");
    EXPECT_EQ(backend.questions()[0].prompt, "You are dead, would you like to play again?");
    EXPECT_EQ(plays, 6);  // five lives, then the new game
    ASSERT_FALSE(pauseImage.pixels.empty());
    for (rt::Pixel p : pauseImage.pixels) ASSERT_EQ(p, rt::colour::black) << "nothing is drawn after a new game";
    EXPECT_EQ(game.Caption(), "Quorvex - By Delmoro : Level 1 : Score (700) : 0 FPS");
}

TEST_F(GameLevelLives, NoEndsTheProgramAtOnceWithNothingMoreDrawn) {
    backend.msPerPump = 11;
    backend.answerNextQuestion(rt::vbNo);
    game.bytLives = 1;
    everyBombHits();
    rt::Long tickBeforeLastFrame = 0;
    const auto hit = onPass;
    onPass = [&] {
        tickBeforeLastFrame = game.lngTickLast;
        hit();
    };
    EXPECT_EQ(runtime.run([] {}), 0);
    EXPECT_EQ(backend.questions().size(), 1u);
    EXPECT_TRUE(backend.errors().empty());
    EXPECT_EQ(game.bytLives, 0);
    EXPECT_EQ(game.lngTickLast, tickBeforeLastFrame) << "the frame was not finished";

    // Cleared by the hit; then only the lives caption, without any icon.
    rt::Surface expected(600, 500, rt::colour::black);
    paintCopy(expected, form<frmGraphics>().picLives.image(), 10, 460);
    EXPECT_EQ(differences(image(), expected), "");
}

}  // namespace
}  // namespace quorvex::testing
