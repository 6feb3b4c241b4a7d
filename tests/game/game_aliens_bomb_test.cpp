// The formation's march and turns, the attacker choice, and the bomb's start, fall and hit test.
#include <stdexcept>
#include <utility>
#include <vector>

#include "game_harness.h"

namespace quorvex::testing {
namespace {

class GameAliensBomb : public GameHarness {
protected:
    void expectAllLeft(bool left) {
        for (int i = 1; i <= 10; ++i) EXPECT_EQ(static_cast<bool>(alien(i).bLeft), left) << "alien " << i;
    }
};

TEST_F(GameAliensBomb, LoadPlacesTwoRowsOfFive) {
    for (int i = 1; i <= 10; ++i) {
        EXPECT_EQ(alien(i).lngEnemyX, kFormationX[i]) << i;
        EXPECT_EQ(alien(i).lngEnemyY, kFormationY[i]) << i;
        EXPECT_FALSE(alien(i).bDead || alien(i).bLeft || alien(i).bFire || alien(i).bSwoop) << i;
    }
}

TEST_F(GameAliensBomb, FormationTurnsInTheCallThatBringsAlien5To550AndBackAtZero) {
    noBombs();
    game.lngSpeed = 1;
    for (int i = 0; i < 74; ++i) game.MoveAliens();
    EXPECT_EQ(alien(5).lngEnemyX, 549);
    expectAllLeft(false);
    game.MoveAliens();
    EXPECT_EQ(alien(5).lngEnemyX, 550);
    expectAllLeft(true);

    for (int i = 0; i < 149; ++i) game.MoveAliens();
    EXPECT_EQ(alien(1).lngEnemyX, 1);
    expectAllLeft(true);
    game.MoveAliens();
    EXPECT_EQ(alien(1).lngEnemyX, 0);
    expectAllLeft(false);
}

struct TurnCase {
    std::vector<int> dead;
    int turner;
};

class GameFormationTurn : public GameAliensBomb, public ::testing::WithParamInterface<TurnCase> {};

// Dead aliens take no part in the edge test (but turn with the rest): the formation travels further.
TEST_P(GameFormationTurn, WithTheRightColumnShotAwayTheNextColumnTurnsIt) {
    for (int i : GetParam().dead) alien(i).bDead = true;
    noBombs();
    game.lngSpeed = 1;
    for (int i = 0; i < 174; ++i) game.MoveAliens();
    EXPECT_EQ(alien(GetParam().turner).lngEnemyX, 549);
    expectAllLeft(false);
    game.MoveAliens();
    EXPECT_EQ(alien(GetParam().turner).lngEnemyX, 550);
    expectAllLeft(true);
    EXPECT_EQ(alien(5).lngEnemyX, 475);  // the dead stay where they died
}

INSTANTIATE_TEST_SUITE_P(GameColumns, GameFormationTurn,
                         ::testing::Values(TurnCase{{5, 10}, 4}, TurnCase{{4, 5, 10}, 9}));

struct DrawCase {
    float r;
    std::vector<int> dead;
    int attacker;
    int skips;  // dead aliens stepped over, each followed by a message pump
};

class GameAttackerChoice : public GameAliensBomb, public ::testing::WithParamInterface<DrawCase> {};

// Kept: r x 10 gives 0 to 9 and 0 counts as 1; dead aliens are skipped upwards, wrapping to 1.
TEST_P(GameAttackerChoice, DrawPicksTheAttackerAndItsBombStartsUnderIt) {
    const DrawCase& c = GetParam();
    for (int i : c.dead) alien(i).bDead = true;
    game.lngSpeed = 0;
    runtime.random().queueDraws({c.r});
    game.MoveAliens();
    EXPECT_EQ(runtime.random().scriptedLeft(), 0u);
    EXPECT_EQ(game.lngAttacker, c.attacker);
    for (int i = 1; i <= 10; ++i) EXPECT_EQ(static_cast<bool>(alien(i).bFire), i == c.attacker) << i;
    EXPECT_EQ(backend.pumps(), static_cast<std::uint64_t>(c.skips));
    EXPECT_TRUE(game.bAttack);
    EXPECT_TRUE(game.bBombFalling);
    EXPECT_EQ(game.lngBombX, kFormationX[c.attacker] + 20);
    EXPECT_EQ(game.lngBombY, kFormationY[c.attacker] + 50 + 7);
}

INSTANTIATE_TEST_SUITE_P(GameDraws, GameAttackerChoice,
                         ::testing::Values(DrawCase{0.0f, {}, 1, 0}, DrawCase{0.05f, {}, 1, 0},
                                           DrawCase{0.15f, {}, 1, 0}, DrawCase{0.55f, {}, 5, 0},
                                           DrawCase{0.95f, {}, 9, 0}, DrawCase{0.95f, {9}, 10, 1},
                                           DrawCase{0.95f, {9, 10}, 1, 2},
                                           DrawCase{0.35f, {3, 4, 5, 6, 7, 8, 9, 10}, 1, 8}));

TEST_F(GameAliensBomb, BombIsCopiedUnderTheAttackerThenFalls7PxAFrame) {
    game.lngSpeed = 0;
    runtime.random().queueDraws({0.75f});  // alien 7, at (175, 150)
    game.MoveAliens();
    EXPECT_EQ(game.lngBombX, 195);
    EXPECT_EQ(game.lngBombY, 207);
    const rt::Surface& bomb = form<frmGraphics>().picBomb.image();
    for (int r = 0; r < bomb.height; ++r)
        for (int c = 0; c < bomb.width; ++c) ASSERT_EQ(image().at(195 + c, 200 + r), bomb.at(c, r)) << c << "," << r;
    game.MoveAliens();
    EXPECT_EQ(game.lngBombY, 214);
    EXPECT_EQ(game.lngBombX, 195);
}

struct FallCase {
    int attacker;
    std::vector<std::pair<int, bool>> hitsAt;  // bomb top after the move -> can it hit the ship there
};

class GameBombFall : public GameAliensBomb, public ::testing::WithParamInterface<FallCase> {};

// The ship is moved under the bomb only for the call that brings the bomb to y, so each position is
// tested on its own; a bomb that reaches the ground's line is gone.
TEST_P(GameBombFall, TheShipIsTestedAtFourPositionsOfTheBomb) {
    const int bombX = kFormationX[GetParam().attacker] + 20;
    game.lngSpeed = 0;
    for (const auto& [y, canHit] : GetParam().hitsAt) {
        game.bytLives = 5;
        game.lngShipX = 400;
        bombInFlight(GetParam().attacker, 0, 0);
        game.bBombFalling = false;  // the next call starts it under its attacker
        while (game.bAttack && game.lngBombY + 7 != y) game.MoveAliens();
        if (game.bAttack) {
            game.lngShipX = bombX;
            game.MoveAliens();
        }
        EXPECT_EQ(game.bytLives == 4, canHit) << "bomb at y = " << y;
    }
    EXPECT_EQ(game.lngBombX, -100);  // the last one fell past the ship
    EXPECT_EQ(game.lngBombY, -100);
    EXPECT_FALSE(game.bAttack || game.bBombFalling);
}

INSTANTIATE_TEST_SUITE_P(
    GameRows, GameBombFall,
    ::testing::Values(FallCase{1, {{415, false}, {422, true}, {429, true}, {436, true}, {443, true}, {450, false}}},
                      FallCase{6, {{417, false}, {424, true}, {431, true}, {438, true}, {445, true}, {452, false}}}));

// Kept: only the bomb's left edge is compared, with the ship's 97 columns 252 to 348.
TEST_F(GameAliensBomb, BombHitsOnlyWithItsLeftEdgeFrom252To348) {
    game.lngSpeed = 0;
    for (int x : {251, 252, 348, 349}) {
        game.bytLives = 5;
        bombInFlight(1, x, 415);
        game.MoveAliens();
        EXPECT_EQ(game.bytLives == 4, x == 252 || x == 348) << "bomb left edge " << x;
    }
}

TEST_F(GameAliensBomb, AHitTakesALifeAndStartsTheGetReadyPause) {
    game.lblReady.setVisible(false);
    game.lblLevel.setVisible(false);
    game.lngLevel = 2;
    game.bRunning = true;
    game.lngSpeed = 1;
    for (int i = 1; i <= 10; ++i) alien(i).bLeft = true;
    bombInFlight(3, 252, 415);
    game.MoveAliens();
    EXPECT_EQ(game.bytLives, 4);
    EXPECT_FALSE(game.bRunning);
    EXPECT_FALSE(game.bAttack || game.bBombFalling);
    EXPECT_EQ(game.lngBombX, 252);
    EXPECT_EQ(game.lngBombY, 422);
    EXPECT_TRUE(allBlack()) << "a hit clears the window";
    EXPECT_TRUE(game.lblReady.Visible());
    EXPECT_TRUE(game.lblLevel.Visible());
    EXPECT_EQ(game.lblLevel.Caption(), "Level 2");
    EXPECT_TRUE(game.tmrReady.Enabled());
    EXPECT_EQ(alien(1).lngEnemyX, 74);  // marched this frame; not put back
    expectAllLeft(true);
}

TEST_F(GameAliensBomb, WithNoLiveAlienTheCallChoosesNoAttackerAndEnds) {
    for (int i = 1; i <= 10; ++i) alien(i).bDead = true;
    alien(4).bFire = true;  // the previous attacker, shot since
    game.bAttack = false;
    game.bBombFalling = false;
    game.lngBombX = -100;
    game.lngBombY = -100;
    int pumps = 0;
    backend.onPump = [&] {
        if (++pumps > 100) throw std::runtime_error("the attacker search does not end");
    };
    runtime.random().queueDraws({0.35f});
    game.MoveAliens();
    for (int i = 1; i <= 10; ++i) EXPECT_FALSE(alien(i).bFire) << i;
    EXPECT_FALSE(game.bBombFalling);
    EXPECT_EQ(game.lngBombX, -100);
    EXPECT_EQ(game.lngBombY, -100);
    EXPECT_TRUE(allBlack()) << "no alien and no bomb is drawn";

    // The next level's first call chooses as usual.
    game.CheckLevel();
    game.lngSpeed = 0;
    runtime.random().queueDraws({0.35f});
    game.MoveAliens();
    EXPECT_EQ(game.lngAttacker, 3);
    EXPECT_EQ(game.lngBombY, 107);
}

TEST_F(GameAliensBomb, ACloseDuringTheAttackerSearchEndsTheProgramQuietly) {
    kill({1, 2, 3});
    runtime.random().queueDraws({0.05f});  // alien 1: the search steps over 1, 2 and 3
    bool closed = false;
    onPass = [&] {
        if (!closed && game.lngTickLast == 0) {  // inside the first frame: a pump of the search
            closed = true;
            backend.close(game.window());
        }
    };
    EXPECT_EQ(runtime.run([] {}), 0);
    EXPECT_TRUE(closed);
    EXPECT_TRUE(backend.errors().empty());
    EXPECT_FALSE(game.isLoaded());
    EXPECT_FALSE(form<frmGraphics>().isLoaded());
    EXPECT_EQ(plays, 1);
    EXPECT_EQ(game.lngAttacker, 4);  // the search still ran to its end
    EXPECT_EQ(game.lngFrames, 1);    // the pass was finished, and no other ran
    EXPECT_NE(game.lngTickLast, 0);
}

}  // namespace
}  // namespace quorvex::testing
