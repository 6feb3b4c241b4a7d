// Whole frames, pixel for pixel, against what the sprites predict: the ground line, the missile, the
// ship and the aliens through their masks, the opaque bomb, the lives caption and the life icons.
#include "game_harness.h"

namespace quorvex::testing {
namespace {

class GameFrame : public GameHarness {
protected:
    const frmGraphics& sprites = form<frmGraphics>();

    // A cleared window with the ground line: the start of every frame.
    rt::Surface groundOnly() {
        rt::Surface frame(600, 500, rt::colour::black);
        paintCopy(frame, sprites.picGround.image(), 0, 450);
        return frame;
    }
    void addShipAndLives(rt::Surface& frame, int lives) {
        paintShape(frame, sprites.picShip.image(), 252, 430);
        paintCopy(frame, sprites.picLives.image(), 10, 460);
        for (int k = 0; k < lives; ++k) paintCopy(frame, sprites.picLife.image(), 140 + 10 * k, 465);
    }
};

TEST_F(GameFrame, FirstFrameIsDrawnFromTheSprites) {
    game.bytLives = 3;
    backend.keyDown(game.window(), kSpace);  // a missile from (300, 430), drawn over by the ship
    runtime.doEvents();
    runtime.random().queueDraws({0.35f});  // alien 3 drops the bomb at (295, 100)
    playPasses(1);

    rt::Surface expected = groundOnly();
    paintCopy(expected, sprites.picBullet.image(), 300, 420);
    addShipAndLives(expected, 3);
    for (int i = 1; i <= 10; ++i) paintShape(expected, sprites.picAlien1.image(), kFormationX[i], kFormationY[i]);
    paintCopy(expected, sprites.picBomb.image(), 295, 100);
    EXPECT_EQ(differences(image(), expected), "");

    // The same facts, stated without the composition above.
    for (int x = 0; x < 600; ++x) ASSERT_EQ(image().at(x, 450), rt::colour::red) << x;
    const rt::Surface& ship = sprites.picShip.image();
    ASSERT_NE(ship.at(48, 0), rt::colour::black);  // the antenna
    ASSERT_EQ(ship.at(50, 0), rt::colour::black);
    EXPECT_EQ(image().at(300, 430), ship.at(48, 0)) << "the ship covers the missile where it has colour";
    EXPECT_EQ(image().at(302, 430), sprites.picBullet.image().at(2, 10)) << "and leaves it visible elsewhere";
    for (int x : {145, 149, 155, 170, 180}) EXPECT_EQ(image().at(x, 470), rt::colour::black) << x;
    for (int x : {140, 144, 150, 160, 164}) EXPECT_NE(image().at(x, 470), rt::colour::black) << x;
}

TEST_F(GameFrame, SecondAnimationFrameAndAnAlienKilledInThisFrame) {
    bAlienFrame = true;
    game.bMissile = true;
    game.lngMissileX = 300;
    game.lngMissileY = 210;                // reaches alien 8's bottom edge in this frame
    runtime.random().queueDraws({0.15f});  // alien 1 drops the bomb at (95, 100)
    playPasses(1);
    EXPECT_TRUE(alien(8).bDead);

    rt::Surface expected = groundOnly();
    paintCopy(expected, sprites.picBullet.image(), 300, 200);
    addShipAndLives(expected, 5);
    for (int i = 1; i <= 10; ++i)
        if (i != 8) paintShape(expected, sprites.picAlien2.image(), kFormationX[i], kFormationY[i]);
    paintCopy(expected, sprites.picBomb.image(), 95, 100);
    EXPECT_EQ(differences(image(), expected), "");
    for (int y = 150; y < 200; ++y)
        for (int x = 275; x < 325; ++x) ASSERT_EQ(image().at(x, y), rt::colour::black) << x << "," << y;
}

}  // namespace
}  // namespace quorvex::testing
