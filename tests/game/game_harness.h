// A fixture that runs the game window on the headless back-end.
//
// The window is loaded and shown straight away (the title is skipped), with the real sprite catalogue.
// Time stands still (0 ms per pump) unless a test sets backend.msPerPump. Tests either call the
// window's routines directly on prepared fields, or let the ready timer run the real loop:
// resume() fires the timer's next tick, and onPass runs at every message pump inside play (the end of
// each loop pass, plus the pumps of the attacker search and of the game-over question). A guard
// fails a test whose play would otherwise never end.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <sstream>
#include <stdexcept>
#include <string>

#include "app/program.h"
#include "backend/headless/headless_backend.h"
#include "game/frmGame.h"
#include "runtime/constants.h"
#include "runtime/runtime.h"
#include "runtime/surface.h"
#include "startup/frmGraphics.h"
#include "startup/modVariable.h"

namespace quorvex::testing {

inline constexpr int kLeft = rt::vbKeyLeft;
inline constexpr int kRight = rt::vbKeyRight;
inline constexpr int kSpace = rt::vbKeySpace;

// The ten formation places, by index 1 to 10 (index 0 unused).
inline constexpr int kFormationX[11] = {0, 75, 175, 275, 375, 475, 75, 175, 275, 375, 475};
inline constexpr int kFormationY[11] = {0, 50, 50, 50, 50, 50, 150, 150, 150, 150, 150};

class GameHarness : public ::testing::Test {
protected:
    headless::HeadlessBackend backend;
    rt::Runtime runtime{backend, programIdentity()};
    Program program{runtime};
    frmGame& game = form<frmGame>();

    std::function<void()> onPass;     // at every pump during play
    std::function<void()> afterPlay;  // when a ready-timer tick has run the loop to its end
    int pumpsInPlay = 0;              // pumps during the current stretch of play
    int plays = 0;                    // ready-timer ticks that ran the loop
    int passGuard = 200000;

    GameHarness() {
        backend.msPerPump = 0;
        LoadSpriteCatalogue();
        game.Show();
        // The same handler the timer calls, bracketed so that the test knows when play runs.
        game.tmrReady.onTick = [this] {
            ++plays;
            inPlay_ = true;
            pumpsInPlay = 0;
            game.tmrReady_Timer();
            inPlay_ = false;
            if (afterPlay) afterPlay();
        };
        backend.onPump = [this] {
            if (!inPlay_) return;
            if (++pumpsInPlay > passGuard)  // a loop that never stops, or a search that never ends
                throw std::runtime_error("play did not stop within " + std::to_string(passGuard) + " pumps");
            if (onPass) onPass();
        };
    }

    clsEnemy& alien(int i) { return *game.objEnemy[i]; }

    void kill(std::initializer_list<int> indices) {
        for (int i : indices) alien(i).bDead = true;
    }

    // No attacker and no bomb: a prepared march is not disturbed by a bomb on the ship.
    void noBombs() {
        game.bAttack = true;
        game.bBombFalling = true;
        for (int i = 1; i <= 10; ++i) alien(i).bFire = false;
    }

    // A bomb of alien `owner` in flight at (x, y).
    void bombInFlight(int owner, int x, int y) {
        for (int i = 1; i <= 10; ++i) alien(i).bFire = (i == owner);
        game.bAttack = true;
        game.bBombFalling = true;
        game.lngBombX = x;
        game.lngBombY = y;
    }

    // Fires the ready timer's next tick: the loop runs inside it until play stops.
    void resume() {
        const std::uint64_t due = game.tmrReady.dueAt();
        if (due > backend.now()) backend.advance(due - backend.now());
        runtime.doEvents();
    }

    // Plays from the next ready tick, stopping the loop at the end of pass `passes` unless the game
    // stops it earlier. `each(pass)` runs at the end of every pass, before the stop; there
    // frameDrawnThisPass() tells whether that pass drew a frame (for frames that pump no messages).
    void playPasses(int passes, const std::function<void(int)>& each = {}) {
        int pass = 0;
        onPass = [&, passes] {
            ++pass;
            // A frame starts by clearing the window and drawing the ground line. A dot left in a
            // corner at the end of each pass shows whether the next pass cleared the window; the
            // ground tells a frame from the ready timer's own clearing before the first pass.
            rt::Surface* drawn = runtime.surfaces().find(game.hDC());
            passDrew_ = drawn->at(599, 0) == rt::colour::black && drawn->at(0, 450) != rt::colour::black;
            if (each) each(pass);
            if (pass >= passes)
                game.bRunning = false;
            else
                drawn->at(599, 0) = rt::colour::white;  // not left in the last frame
        };
        resume();
        onPass = nullptr;
    }

    // Makes the first pass of the next resume() read `tick` from the counter.
    void setTickAtFirstPass(std::int32_t tick) {
        const std::uint64_t first = std::max(game.tmrReady.dueAt(), backend.now()) + backend.msPerPump;
        backend.setTickBase(static_cast<std::uint32_t>(tick) - static_cast<std::uint32_t>(first));
    }

    bool frameDrawnThisPass() const { return passDrew_; }

    const rt::Surface& image() const { return game.image(); }

    bool allBlack() const {
        for (rt::Pixel p : image().pixels)
            if (p != rt::colour::black) return false;
        return true;
    }

private:
    bool inPlay_ = false;
    bool passDrew_ = false;
};

// ---- expected pictures, built from the sprite pixels alone ----

// A plain copy: the whole rectangle, black included.
inline void paintCopy(rt::Surface& dst, const rt::Surface& sprite, int x, int y) {
    for (int r = 0; r < sprite.height; ++r)
        for (int c = 0; c < sprite.width; ++c)
            if (x + c >= 0 && x + c < dst.width && y + r >= 0 && y + r < dst.height)
                dst.at(x + c, y + r) = sprite.at(c, r);
}

// What a masked draw must leave: the sprite's coloured pixels, the scene wherever the sprite is black.
inline void paintShape(rt::Surface& dst, const rt::Surface& sprite, int x, int y) {
    for (int r = 0; r < sprite.height; ++r)
        for (int c = 0; c < sprite.width; ++c)
            if (sprite.at(c, r) != rt::colour::black && x + c >= 0 && x + c < dst.width && y + r >= 0 &&
                y + r < dst.height)
                dst.at(x + c, y + r) = sprite.at(c, r);
}

// Empty when equal; otherwise the count of differing pixels and the first of them.
inline std::string differences(const rt::Surface& actual, const rt::Surface& expected) {
    if (actual.width != expected.width || actual.height != expected.height) return "sizes differ";
    int count = 0;
    std::ostringstream first;
    for (int y = 0; y < actual.height; ++y)
        for (int x = 0; x < actual.width; ++x)
            if (actual.at(x, y) != expected.at(x, y) && count++ == 0)
                first << std::hex << " first at (" << std::dec << x << "," << y << "): 0x" << std::hex
                      << actual.at(x, y) << " instead of 0x" << expected.at(x, y);
    if (count == 0) return {};
    return std::to_string(count) + " pixels differ;" + first.str();
}

}  // namespace quorvex::testing
