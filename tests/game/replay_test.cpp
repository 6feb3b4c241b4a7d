// The whole program, from Main to its end, replayed without a display: the intro, the start
// button, a game with kills, a lost life, a cleared level, game over, Yes, and finally No.
//
// A scripted player acts only through input events, deciding from what the game shows. At named
// checkpoints the test writes a short dump of the state and a hash of each window's pixels and
// compares the whole with tests/replay/journey.txt. A change in behaviour shows up as a readable
// diff of that file. To accept a change on purpose, regenerate it:
//     QUORVEX_UPDATE_REPLAY=1 build/test/tests/quorvex_game_tests --gtest_filter='Replay*'
// The same journey runs again at a pass rate of 41,000 a second (tests/replay/journey_41000.txt): the
// clock stands still during a pass and moves only while the loops wait for the next millisecond.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

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

constexpr int kLeft = rt::vbKeyLeft, kRight = rt::vbKeyRight, kSpace = rt::vbKeySpace;
constexpr std::uint32_t kTickBase = 0x7FFF0000u;  // the counter turns negative during the game
const std::string kRecordings = std::string(QUORVEX_SOURCE_DIR) + "/tests/replay/";

std::string hashOf(const rt::Surface& s) {
    std::uint64_t h = 1469598103934665603ull;  // FNV-1a
    for (rt::Pixel p : s.pixels) {
        for (int i = 0; i < 4; ++i) {
            h ^= (p >> (8 * i)) & 0xFFu;
            h *= 1099511628211ull;
        }
    }
    std::ostringstream out;
    out << std::hex << h;
    return out.str();
}

std::string flag(rt::Bool b) { return b ? "1" : "0"; }

class Journey {
public:
    headless::HeadlessBackend backend;
    rt::Runtime runtime{backend, programIdentity()};
    Program program{runtime};
    std::ostringstream log;

    enum class Mode { Intro, LoseOne, Hunt, Die };
    Mode mode = Mode::Intro;
    std::set<std::string> reached;
    int held = 0;  // the arrow key held down, or 0
    std::uint64_t passesPerMs = 1;

    // At a pass rate: the caption's figures seen, and the times between two flips of the aliens' frame
    // within one stretch of play at level 1.
    std::set<std::string> figures;
    std::set<std::uint64_t> flipPeriods;
    std::uint64_t lastFlip = 0;
    bool lastFrame = false;
    // The time as the program reads it: at a pass rate, a pass made up after a sleep reads the
    // millisecond it stands for, and what the player sees in it is seen at that time.
    std::uint64_t now() { return runtime.tickCount() - kTickBase; }

    void watchCounts() {
        if (!program.created<frmGame>() || !form<frmGame>().isLoaded()) return;
        frmGame& g = form<frmGame>();
        const std::string caption = g.Caption();
        const auto end = caption.rfind(" FPS");
        if (end != std::string::npos) {
            const auto start = caption.rfind(' ', end - 1) + 1;
            figures.insert(caption.substr(start, end - start));
        }
        const bool frame = static_cast<bool>(bAlienFrame);
        if (!g.bRunning || g.lngLevel != 1) {
            lastFlip = 0;
        } else if (frame != lastFrame) {
            if (lastFlip != 0) flipPeriods.insert(now() - lastFlip);
            lastFlip = now();
        }
        lastFrame = frame;
    }

    void checkpoint(const std::string& name) {
        if (!reached.insert(name).second) return;
        log << "[" << name << "] t=" << now() << "ms\n";
        if (program.created<frmMain>() && !form<frmMain>().isLoaded()) {
            log << "  frmMain unloaded\n";
        } else if (program.created<frmMain>()) {
            frmMain& t = form<frmMain>();
            log << "  frmMain loaded=" << t.isLoaded() << " caption=\"" << t.Caption()
                << "\" image=" << hashOf(t.image()) << " screen=" << hashOf(t.screen()) << "\n";
            const bool pressed = t.picCont.picture() == form<frmGraphics>().picContClick.picture();
            log << "    titleY=" << rt::Str(t.lngTitleY) << " charPos=" << rt::Str(t.intCharPos) << "/"
                << rt::Str(t.intMsgLen) << " typing=" << flag(t.bTyping) << " slide=" << flag(t.bSlideButton)
                << " intro=" << flag(t.bIntro) << " button=" << rt::Str(t.picCont.Left())
                << (t.picCont.Visible() ? " shown" : " hidden") << (pressed ? " pressed" : " released")
                << " text=" << t.lblMessage.Caption().size() << "ch" << (t.lblMessage.Visible() ? " shown" : " hidden")
                << "\n";
        }
        if (program.created<frmGame>()) {
            frmGame& g = form<frmGame>();
            log << "  frmGame loaded=" << g.isLoaded() << " caption=\"" << g.Caption()
                << "\" image=" << hashOf(g.image()) << " screen=" << hashOf(g.screen()) << "\n";
            log << "    level=" << rt::Str(g.lngLevel) << " score=" << rt::Str(g.lngScore)
                << " lives=" << rt::Str(g.bytLives) << " running=" << flag(g.bRunning) << " hold=" << flag(g.bHold)
                << " ship=(" << rt::Str(g.lngShipX) << "," << rt::Str(g.lngShipY) << ")"
                << " missile=(" << rt::Str(g.lngMissileX) << "," << rt::Str(g.lngMissileY) << ","
                << (g.bMissile ? "flying" : "idle") << ")"
                << " bomb=(" << rt::Str(g.lngBombX) << "," << rt::Str(g.lngBombY) << ") attack=" << flag(g.bAttack)
                << " falling=" << flag(g.bBombFalling) << " attacker=" << rt::Str(g.lngAttacker) << "\n";
            log << "    aliens";
            if (g.objEnemy[1].isSet()) {
                for (int i = 1; i <= 10; ++i) {
                    const clsEnemy& e = *g.objEnemy[i];
                    log << " " << i << (e.bDead ? "x" : "") << (e.bFire ? "!" : "") << "(" << rt::Str(e.lngEnemyX)
                        << "," << rt::Str(e.lngEnemyY) << ")";
                }
                log << " left=" << flag(g.objEnemy[1]->bLeft);
            }
            log << " frame2=" << flag(bAlienFrame) << "\n";
            log << "    lblReady " << (g.lblReady.Visible() ? "shown" : "hidden") << ", lblLevel \""
                << g.lblLevel.Caption() << "\" " << (g.lblLevel.Visible() ? "shown" : "hidden") << "\n";
        }
        log << "  questions=" << backend.questions().size()
            << " sprites=" << (form<frmGraphics>().isLoaded() ? "loaded" : "unloaded") << "\n";
    }

    void press(int key) {
        if (held == key) return;
        if (held != 0) backend.keyUp(form<frmGame>().window(), held);
        held = key;
        if (key != 0) backend.keyDown(form<frmGame>().window(), key);
    }

    // Steer the ship's left edge towards `target`; fire when asked and possible.
    void steer(frmGame& g, std::int64_t target, bool fire) {
        const std::int64_t x = g.lngShipX.wide();
        if (x < target - 2)
            press(kRight);
        else if (x > target + 2)
            press(kLeft);
        else
            press(0);
        if (fire && !g.bMissile && std::abs(x - target) <= 8) backend.keyDown(g.window(), kSpace);
    }

    // The player, looking at the screen once per pass.
    void play() {
        if (backend.pumps() > 3'000'000 * passesPerMs) throw std::runtime_error("the replay does not come to an end");
        if (mode == Mode::Intro) {
            if (!program.created<frmMain>()) return;
            frmMain& t = form<frmMain>();
            if (t.bTyping && t.intCharPos == 0) checkpoint("banner-landed");
            if (t.bSlideButton && t.picCont.Left() == -100) checkpoint("text-typed");
            if (t.isLoaded() && !t.bIntro && !reached.contains("intro-finished")) {
                checkpoint("intro-finished");
                backend.mouseDown(t.window(), 300, 457);
                return;
            }
            if (reached.contains("intro-finished") && !reached.contains("button-pressed") &&
                t.picCont.picture() == form<frmGraphics>().picContClick.picture()) {
                checkpoint("button-pressed");
                backend.mouseUp(t.window(), 300, 457);
                return;
            }
            if (program.created<frmGame>() && form<frmGame>().isLoaded()) {
                checkpoint("game-opened");
                mode = Mode::LoseOne;
            }
            return;
        }
        frmGame& g = form<frmGame>();
        if (!g.isLoaded() || !g.bRunning) return;
        if (g.lngScore == 100) checkpoint("first-kill");
        switch (mode) {
            case Mode::LoseOne:
                if (g.bytLives == 4) {
                    checkpoint("life-lost");
                    mode = Mode::Hunt;
                    break;
                }
                if (g.bBombFalling) steer(g, g.lngBombX.wide() - 48, false);
                break;
            case Mode::Hunt: {
                if (g.lngLevel == 2) {
                    checkpoint("level-cleared");
                    mode = Mode::Die;
                    break;
                }
                hunt(g);
                break;
            }
            case Mode::Die:
                if (backend.questions().size() == 1 && g.bytLives == 5) checkpoint("new-game");
                if (g.bBombFalling) steer(g, g.lngBombX.wide() - 48, false);
                break;
            default: break;
        }
    }

    void hunt(frmGame& g) {
        // Keep clear of a bomb low over the ship; otherwise line up under the next target.
        const std::int64_t x = g.lngShipX.wide();
        if (g.bBombFalling && g.lngBombY > 250 && g.lngBombX.wide() >= x - 12 && g.lngBombX.wide() <= x + 108) {
            press(g.lngBombX.wide() > 300 ? kLeft : kRight);
            return;
        }
        int target = 0;
        for (int i : {6, 7, 8, 9, 10, 1, 2, 3, 4, 5}) {
            if (!g.objEnemy[i]->bDead) {
                target = i;
                break;
            }
        }
        if (target == 0) return;
        const clsEnemy& e = *g.objEnemy[target];
        const int flight = e.lngEnemyY == 150 ? 23 : 33;  // frames until the missile meets its row
        const std::int64_t step = g.lngLevel.wide() * (e.bLeft ? -1 : 1);
        const std::int64_t aim = e.lngEnemyX.wide() + step * flight + 25 - 48;
        steer(g, std::clamp<std::int64_t>(aim, 0, 504), true);
    }
};

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void replayAgainst(const std::string& recording, std::uint32_t passRate) {
    const std::string expectedFile = kRecordings + recording;
    Journey j;
    if (passRate != 0) {
        j.runtime.setPassRate(passRate);
        j.backend.msPerPump = 0;  // only the waits move the clock
        j.passesPerMs = passRate / 1000;
    }
    j.backend.setTickBase(kTickBase);  // the counter turns negative during the game
    j.backend.setTimeOfDay(10 * 3600.0 + 17.25);
    j.backend.answerNextQuestion(rt::vbYes);
    j.backend.answerNextQuestion(rt::vbNo);
    j.backend.onPump = [&j, passRate] {
        j.play();
        if (passRate != 0) j.watchCounts();
    };

    const int status = j.runtime.run(Main);
    j.checkpoint("ended");
    j.log << "status=" << status << " questions:";
    for (const auto& q : j.backend.questions()) j.log << " \"" << q.title << "\"/\"" << q.prompt << "\"";
    j.log << "\n";
    if (passRate != 0) {
        j.log << "FPS figures seen:";
        for (const std::string& f : j.figures) j.log << " " << f;
        j.log << "\nlevel 1, ms between flips of the aliens' frame:";
        for (std::uint64_t p : j.flipPeriods) j.log << " " << p;
        j.log << "\n";
    }

    const std::string actual = j.log.str();
    if (std::getenv("QUORVEX_UPDATE_REPLAY") != nullptr) {
        std::ofstream(expectedFile) << actual;
        GTEST_SKIP() << "recording written to " << expectedFile;
    }
    const std::string expected = readFile(expectedFile);
    ASSERT_FALSE(expected.empty()) << "no recording at " << expectedFile;
    std::istringstream a(actual), e(expected);
    std::string la, le;
    int line = 0;
    while (true) {
        const bool moreA = static_cast<bool>(std::getline(a, la));
        const bool moreE = static_cast<bool>(std::getline(e, le));
        ++line;
        if (!moreA && !moreE) break;
        ASSERT_EQ(le, la) << "the journey differs from the recording at line " << line << " of " << expectedFile;
    }
    EXPECT_EQ(status, 0);
}

TEST(Replay, WholeJourneyMatchesTheRecording) { replayAgainst("journey.txt", 0); }

TEST(Replay, WholeJourneyAtAPassRateMatchesItsRecording) { replayAgainst("journey_41000.txt", 41'000); }

}  // namespace
