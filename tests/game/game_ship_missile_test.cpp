// The ship's movement and limits, the Space key, and the missile's flight and hit test.
#include <vector>

#include "game_harness.h"

namespace quorvex::testing {
namespace {

class GameShipMissile : public GameHarness {
protected:
    void pressSpace() {
        backend.keyDown(game.window(), kSpace);
        runtime.doEvents();
    }
    void missileFrames(int n) {
        for (int i = 0; i < n; ++i) game.MoveMissile();
    }
    // A missile in flight one step below the bottom row's line (y = 200).
    void missileBelowBottomRow(int x) {
        game.bMissile = true;
        game.lngMissileX = x;
        game.lngMissileY = 210;
    }
};

TEST_F(GameShipMissile, ShipStopsAtZeroAndAt504) {
    game.bLeftKey = true;
    std::vector<int> xs;
    for (int i = 0; i < 52; ++i) {
        game.MoveShip();
        xs.push_back(game.lngShipX.value());
    }
    EXPECT_EQ(xs[0], 247);
    EXPECT_EQ(xs[49], 2);
    EXPECT_EQ(xs[50], 0);
    EXPECT_EQ(xs[51], 0);

    game.bRightKey = true;  // both held: the steps cancel
    game.MoveShip();
    EXPECT_EQ(game.lngShipX, 0);

    game.bLeftKey = false;
    xs.clear();
    for (int i = 0; i < 102; ++i) {
        game.MoveShip();
        xs.push_back(game.lngShipX.value());
    }
    EXPECT_EQ(xs[0], 5);
    EXPECT_EQ(xs[99], 500);
    EXPECT_EQ(xs[100], 504);
    EXPECT_EQ(xs[101], 504);
    EXPECT_EQ(game.lngShipY, 430);
}

TEST_F(GameShipMissile, ArrowKeysSetAndClearTheirFlags) {
    backend.keyDown(game.window(), kLeft);
    backend.keyDown(game.window(), kRight);
    runtime.doEvents();
    EXPECT_TRUE(game.bLeftKey);
    EXPECT_TRUE(game.bRightKey);
    backend.keyUp(game.window(), kLeft);
    runtime.doEvents();
    EXPECT_FALSE(game.bLeftKey);
    EXPECT_TRUE(game.bRightKey);
}

// Kept: Space works during the "Get Ready" pause, from wherever the ship stands; play then re-centres
// the ship but the missile keeps its column.
TEST_F(GameShipMissile, SpaceLaunchesFromTheShipCentreOnceEvenDuringThePause) {
    game.lngShipX = 100;
    pressSpace();
    EXPECT_TRUE(game.bMissile);
    EXPECT_EQ(game.lngMissileX, 148);
    EXPECT_EQ(game.lngMissileY, 430);

    game.lngShipX = 200;
    pressSpace();  // in flight: ignored, not remembered
    EXPECT_EQ(game.lngMissileX, 148);

    playPasses(1);
    EXPECT_EQ(game.lngShipX, 252);
    EXPECT_EQ(game.lngMissileX, 148);
    EXPECT_EQ(game.lngMissileY, 420);
}

TEST_F(GameShipMissile, HitsTheBottomRowInIts23rdFrameAndTheTopRowInIts33rd) {
    pressSpace();  // from (300, 430): column 300 lies within aliens 8 and 3 (275 to 325)
    missileFrames(22);
    EXPECT_FALSE(alien(8).bDead);
    game.MoveMissile();
    EXPECT_TRUE(alien(8).bDead);
    EXPECT_EQ(game.lngScore, 100);
    EXPECT_FALSE(game.bMissile);
    EXPECT_EQ(game.lngMissileX, -10);
    EXPECT_EQ(game.lngMissileY, 200);  // a hit leaves the height as it was

    pressSpace();
    missileFrames(32);
    EXPECT_FALSE(alien(3).bDead);
    game.MoveMissile();
    EXPECT_TRUE(alien(3).bDead);
    EXPECT_EQ(game.lngScore, 200);
    EXPECT_EQ(game.lngMissileY, 100);
}

TEST_F(GameShipMissile, AMissThatLeavesTheTopEndsInIts45thFrame) {
    kill({3, 8});
    pressSpace();
    missileFrames(44);
    EXPECT_TRUE(game.bMissile);
    EXPECT_EQ(game.lngMissileY, -10);
    game.MoveMissile();
    EXPECT_FALSE(game.bMissile);
    EXPECT_EQ(game.lngMissileY, -20);
    EXPECT_EQ(game.lngScore, 0);
}

// Kept: the hit takes 51 columns from the alien's left edge and ignores the missile's own width,
// and needs the missile's top exactly on the alien's bottom edge.
TEST_F(GameShipMissile, HitNeedsTheExactBottomLineAndALeftEdgeWithin51Columns) {
    missileBelowBottomRow(274);  // one column left of alien 8: its 5-px body overlaps, still a miss
    game.MoveMissile();
    EXPECT_FALSE(alien(8).bDead);

    alien(8).lngEnemyY = 155;  // bottom edge at 205: never on the missile's path
    missileBelowBottomRow(300);
    game.MoveMissile();
    EXPECT_FALSE(alien(8).bDead);

    alien(8).lngEnemyY = 150;
    missileBelowBottomRow(325);  // alien 8's left edge + 50
    game.MoveMissile();
    EXPECT_TRUE(alien(8).bDead);
    EXPECT_EQ(game.lngScore, 100);
}

TEST_F(GameShipMissile, OneMissileKillsOneAlienTheLowerIndexFirst) {
    alien(8).lngEnemyX = 200;  // columns 200 to 250 overlap alien 7's 175 to 225
    alien(9).lngEnemyX = -30;  // its columns reach x = -10, where a hit parks the missile
    missileBelowBottomRow(210);
    game.MoveMissile();
    EXPECT_TRUE(alien(7).bDead);
    EXPECT_FALSE(alien(8).bDead);
    EXPECT_FALSE(alien(9).bDead);
    EXPECT_EQ(game.lngScore, 100);
}

TEST_F(GameShipMissile, AMissileAtRestKillsNothing) {
    // Parked as after a hit on the bottom row, with a live alien of that row covering x = -10.
    game.lngMissileX = -10;
    game.lngMissileY = 200;
    alien(6).lngEnemyX = -20;
    missileFrames(3);
    EXPECT_FALSE(alien(6).bDead);
    EXPECT_EQ(game.lngScore, 0);
    EXPECT_EQ(game.lngMissileY, 200);
}

}  // namespace
}  // namespace quorvex::testing
