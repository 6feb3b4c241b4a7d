// DoEvents and dispatch, the modal question, and the program's run: its end, End, run-time errors
// and a script that runs dry.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "runtime/fixed_array.h"
#include "runtime_test_support.h"

namespace {

using rttest::TestForm;

rt::Event keyEvent(rt::WindowId window, int key, rt::EventType type = rt::EventType::KeyDown) {
    rt::Event e{type, window};
    e.key = key;
    return e;
}

// ---- DoEvents ----

class DoEventsTest : public rttest::RuntimeTest {};

TEST_F(DoEventsTest, NestedDoEventsInAKeyHandlerTakesTheRestInOrder) {
    TestForm form(runtime);
    std::vector<std::pair<int, int>> seen;  // key, nesting depth
    int depth = 0;
    form.onKeyDown = [&](int key) {
        seen.emplace_back(key, depth);
        if (key == 1) {
            ++depth;
            rt::DoEvents();
            --depth;
        }
    };
    std::vector<int> ups;
    form.onKeyUp = [&](int key) { ups.push_back(key); };
    form.Show();
    backend.keyDown(form.window(), 1);
    backend.keyDown(form.window(), 2);
    backend.keyUp(form.window(), 2);
    backend.keyDown(form.window(), 3);
    backend.keyDown(form.window(), 4, true);
    runtime.doEvents();
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{1, 0}, {2, 1}, {3, 1}, {4, 1}}));
    EXPECT_EQ(ups, (std::vector<int>{2}));
    runtime.doEvents();
    EXPECT_EQ(seen.size(), 4u) << "each event is handled once";
}

TEST_F(DoEventsTest, EventsGoToTheFormTheyBelongToAndUnknownWindowsAreIgnored) {
    TestForm a(runtime, rttest::smallForm("frmA")), b(runtime, rttest::smallForm("frmB"));
    std::vector<std::string> log;
    a.onKeyDown = [&](int k) { log.push_back("a" + std::to_string(k)); };
    b.onKeyDown = [&](int k) { log.push_back("b" + std::to_string(k)); };
    a.Show();
    b.Show();
    backend.keyDown(b.window(), rt::vbKeyRight);
    backend.keyDown(a.window(), rt::vbKeyLeft);
    backend.keyDown(0, rt::vbKeySpace);
    backend.keyDown(4242, rt::vbKeySpace);
    runtime.doEvents();
    EXPECT_EQ(log, (std::vector<std::string>{"b39", "a37"}));
}

// The numbers the system is written against, as its platform defines them.
TEST(Constants, AreTheSystemsOwnNumbers) {
    EXPECT_EQ(rt::vbKeyLeft, 37);
    EXPECT_EQ(rt::vbKeyRight, 39);
    EXPECT_EQ(rt::vbKeySpace, 32);
    EXPECT_EQ(rt::vbYesNo + rt::vbQuestion, 36);
    EXPECT_EQ(rt::vbOK, 1);
    EXPECT_EQ(rt::vbYes, 6);
    EXPECT_EQ(rt::vbNo, 7);
}

// ---- the modal question ----

class QuestionTest : public rttest::RuntimeTest {
protected:
    TestForm form{runtime};
    rt::Timer fps{form, {"tmrFPS", 1000, true}};
    std::vector<int> keys;
    int ticks = 0;

    QuestionTest() {
        form.onKeyDown = [this](int k) { keys.push_back(k); };
        fps.onTick = [this] { ++ticks; };
        form.Show();
    }
};

TEST_F(QuestionTest, ReturnsTheScriptedAnswerAndClosesTheDialog) {
    backend.answerNextQuestion(rt::vbNo);
    backend.answerNextQuestion(rt::vbYes);
    EXPECT_EQ(rt::MsgBox("Play again?", rt::vbYesNo + rt::vbQuestion, "Game Over"), rt::vbNo);
    EXPECT_EQ(rt::MsgBox("Again?", rt::vbYesNo + rt::vbQuestion, "Game Over"), rt::vbYes);
    ASSERT_EQ(backend.questions().size(), 2u);
    EXPECT_EQ(backend.questions()[0].title, "Game Over");
    EXPECT_EQ(backend.questions()[0].prompt, "Play again?");
    EXPECT_FALSE(runtime.modal());
    for (const auto& [id, state] : backend.windows()) {
        if (id != form.window()) {
            EXPECT_TRUE(state.destroyed) << "dialog " << id;
        }
    }
}

TEST_F(QuestionTest, WhileOpenOtherWindowsTakeNoInputButTimersTick) {
    const rt::WindowId w = form.window();
    backend.answerNextQuestion(rt::vbYes, 2500);
    backend.postAt(500, keyEvent(w, rt::vbKeyLeft));
    backend.postAt(600, rt::Event{rt::EventType::Close, w});
    rt::Event press{rt::EventType::MouseDown, w};
    backend.postAt(700, press);
    backend.postAt(3000, keyEvent(w, rt::vbKeyRight));
    bool modalSeen = false;
    backend.onPump = [&] { modalSeen = modalSeen || runtime.modal(); };

    EXPECT_EQ(rt::MsgBox("Play again?", rt::vbYesNo + rt::vbQuestion, "Game Over"), rt::vbYes);
    EXPECT_TRUE(modalSeen);
    EXPECT_GE(backend.now(), 2500u);
    EXPECT_LT(backend.now(), 3000u);
    EXPECT_TRUE(keys.empty()) << "keys while the question is open are dropped";
    EXPECT_TRUE(form.isLoaded()) << "the close box does nothing while the question is open";
    EXPECT_EQ(form.unloads, 0);
    EXPECT_EQ(ticks, 2) << "timers keep running: 1000 and 2000";

    pumpAt(3000);
    EXPECT_EQ(keys, (std::vector<int>{rt::vbKeyRight})) << "input is taken again once answered";
}

TEST_F(QuestionTest, ExposeStillRepaintsWhileOpen) {
    const rt::WindowId w = form.window();
    runtime.doEvents();
    const int base = presents(w);
    backend.answerNextQuestion(rt::vbYes, 800);
    backend.postAt(300, rt::Event{rt::EventType::Expose, w});
    rt::MsgBox("?", rt::vbYesNo + rt::vbQuestion, "t");
    EXPECT_EQ(presents(w), base + 1);
}

TEST_F(QuestionTest, QuestionAskedInATimerHandlerDoesNotReenterThatTimer) {
    rt::Timer ready{form, {"tmrReady", 1000, true}};
    form.Unload();
    form.Show();  // the new timer counts from this load
    int readyTicks = 0;
    ready.onTick = [&] {
        ++readyTicks;
        backend.answerNextQuestion(rt::vbNo, 3500);
        rt::MsgBox("Play again?", rt::vbYesNo + rt::vbQuestion, "Game Over");
    };
    pumpAt(backend.now() + 1000);
    EXPECT_EQ(readyTicks, 1);
    EXPECT_EQ(ticks, 4) << "the other timer ticked through the question";
}

TEST_F(QuestionTest, UnansweredQuestionIsReportedNotHung) {
    EXPECT_THROW(rt::MsgBox("Play again?", rt::vbYesNo + rt::vbQuestion, "Game Over"), headless::Stalled);
}

// ---- run ----

class RunTest : public rttest::RuntimeTest {};

TEST_F(RunTest, EndsWhenNoFormIsLoaded) {
    TestForm form(runtime);
    rt::Timer timer{form, {"tmr", 1000, true}};
    int ticks = 0;
    timer.onTick = [&] {
        if (++ticks == 3) form.Unload();
    };
    EXPECT_EQ(runtime.run([&] { form.Show(); }), 0);
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(backend.now(), 3000u) << "the loop waits for the next timer, it does not spin";
    EXPECT_EQ(form.unloads, 1);
}

TEST_F(RunTest, MainThatLeavesNoFormEndsAtOnce) {
    bool ran = false;
    EXPECT_EQ(runtime.run([&] { ran = true; }), 0);
    EXPECT_TRUE(ran);
}

TEST_F(RunTest, AHiddenLoadedFormKeepsTheProgramAliveUntilUnloaded) {
    TestForm sprites(runtime, rttest::smallForm("frmSprites", false));
    TestForm game(runtime, rttest::smallForm("frmGame"));
    const auto main = [&] {
        sprites.Load();
        game.Show();
        backend.postAt(backend.now() + 700, rt::Event{rt::EventType::Close, game.window()});
    };
    // Closing the visible window alone leaves the hidden one loaded: the program waits on.
    bool waitingOnTheHiddenOne = false;
    backend.onPump = [&] { waitingOnTheHiddenOne = sprites.isLoaded() && !game.isLoaded(); };
    EXPECT_THROW(runtime.run(main), headless::Stalled);
    EXPECT_TRUE(waitingOnTheHiddenOne);
    EXPECT_FALSE(sprites.isLoaded()) << "however a run ends, nothing stays open after it";

    backend.onPump = nullptr;
    game.onUnload = [&](rt::Integer&) { sprites.Unload(); };
    EXPECT_EQ(runtime.run(main), 0);
    EXPECT_FALSE(sprites.isLoaded());
    EXPECT_EQ(game.unloads, 2);
}

TEST_F(RunTest, EndInsideANestedHandlerEndsAtOnceRunningNoFurtherHandler) {
    TestForm form(runtime);
    rt::Timer timer{form, {"tmrReady", 1000, true}};
    std::vector<std::string> log;
    form.onKeyDown = [&](int k) {
        log.push_back("key" + std::to_string(k));
        if (k == rt::vbKeyLeft) rt::End();
    };
    timer.onTick = [&] {
        log.push_back("tick");
        backend.keyDown(form.window(), rt::vbKeyLeft);
        backend.keyDown(form.window(), rt::vbKeyRight);
        rt::DoEvents();
        log.push_back("after DoEvents");
    };
    const rt::WindowId window = [&] {
        rt::WindowId id = 0;
        const int status = runtime.run([&] {
            form.Show();
            id = form.window();
        });
        EXPECT_EQ(status, 0);
        return id;
    }();
    EXPECT_EQ(log, (std::vector<std::string>{"tick", "key37"}));
    EXPECT_EQ(form.unloads, 0) << "End runs no unload handler";
    EXPECT_FALSE(form.isLoaded());
    EXPECT_TRUE(backend.window(window)->destroyed);
    EXPECT_TRUE(backend.errors().empty());
}

TEST_F(RunTest, EndInMainEndsWithStatus0) {
    TestForm form(runtime);
    EXPECT_EQ(runtime.run([&] {
        form.Show();
        rt::End();
    }),
              0);
    EXPECT_FALSE(form.isLoaded());
    EXPECT_EQ(form.unloads, 0);
}

TEST_F(RunTest, RunTimeErrorShowsTheErrorBoxAndEndsWithStatus1) {
    TestForm form(runtime);
    rt::Timer timer{form, {"tmr", 1000, true}};
    int ticks = 0;
    timer.onTick = [&] { ++ticks; };
    form.onKeyDown = [&](int) {
        rt::Integer i = 32767;
        i += 1;
    };
    const int status = runtime.run([&] {
        form.Show();
        backend.postAt(1500, keyEvent(form.window(), 32));
    });
    EXPECT_EQ(status, 1);
    ASSERT_EQ(backend.errors().size(), 1u);
    EXPECT_EQ(backend.errors()[0], "Run-time error '6':\n\nOverflow");
    EXPECT_EQ(backend.lastErrorTitle(), "Test") << "the box bears the program's own name";
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(form.unloads, 0);
    EXPECT_FALSE(form.isLoaded());
}

TEST_F(RunTest, RunTimeErrorInMainIsShownToo) {
    const int status = runtime.run([] {
        rt::FixedArray<int, 1, 10> a;
        (void)a[11];
    });
    EXPECT_EQ(status, 1);
    ASSERT_EQ(backend.errors().size(), 1u);
    EXPECT_EQ(backend.errors()[0], "Run-time error '9':\n\nSubscript out of range");
}

TEST_F(RunTest, RunningOutOfMemoryIsARunTimeErrorToo) {
    TestForm form(runtime);
    form.onKeyDown = [](int) { throw std::bad_alloc(); };
    const int status = runtime.run([&] {
        form.Show();
        backend.keyDown(form.window(), 32);
    });
    EXPECT_EQ(status, 1);
    ASSERT_EQ(backend.errors().size(), 1u);
    EXPECT_EQ(backend.errors()[0], "Run-time error '7':\n\nOut of memory");
    EXPECT_FALSE(form.isLoaded());
}

// A press on a picture holds the mouse; an error before its release must not leave the error box
// without it.
TEST_F(RunTest, ErrorBoxOpensWithTheMouseReleased) {
    TestForm form(runtime);
    rt::PictureBox button(form, {"picCont", 0, 0, true, rttest::solidPicture(10, 10, rt::colour::blue)});
    button.onMouseDown = [](rt::Integer, rt::Integer, float, float) { rt::raiseOverflow(); };
    bool capturedAtError = true;
    backend.onError = [&] { capturedAtError = backend.mouseCaptured(); };
    const int status = runtime.run([&] {
        form.Show();
        backend.mouseDown(form.window(), 5, 5);
    });
    EXPECT_EQ(status, 1);
    ASSERT_EQ(backend.errors().size(), 1u);
    EXPECT_FALSE(capturedAtError);
    EXPECT_FALSE(backend.mouseCaptured());
}

TEST_F(RunTest, AnyOtherExceptionGoesOnOnceEveryWindowIsClosed) {
    TestForm form(runtime);
    form.onKeyDown = [](int) { throw std::logic_error("a fault of our own"); };
    rt::WindowId window = 0;
    EXPECT_THROW(runtime.run([&] {
        form.Show();
        window = form.window();
        backend.keyDown(window, 32);
    }),
                 std::logic_error);
    EXPECT_FALSE(form.isLoaded());
    EXPECT_TRUE(backend.window(window)->destroyed);
    EXPECT_TRUE(backend.errors().empty()) << "no error box of the system's own for it";
}

TEST_F(RunTest, WaitingForeverWithNothingScriptedIsReported) {
    TestForm form(runtime);
    EXPECT_THROW(runtime.run([&] { form.Show(); }), headless::Stalled);
}

TEST_F(RunTest, OnPumpMayPostWhatTheProgramWaitsFor) {
    TestForm form(runtime);
    backend.onPump = [&] {
        if (form.isLoaded()) backend.close(form.window());
    };
    EXPECT_EQ(runtime.run([&] { form.Show(); }), 0);
    EXPECT_EQ(form.unloads, 1);
}

// ---- the pause ----

class PauseTest : public rttest::RuntimeTest {
protected:
    PauseTest() {
        form.pausesPlay = true;
        timer.onTick = [this] { ticks.push_back(backend.now()); };
        form.onKeyDown = [this](int k) { downs.push_back(k); };
        form.onKeyUp = [this](int k) { ups.push_back(k); };
        backend.onPresent = [this](rt::WindowId, const rt::Surface& s) {
            (runtime.paused() ? pausedCorner : shownCorner) = s.at(0, 0);
        };
    }
    void at(std::uint64_t ms, const rt::Event& e) { backend.postAt(ms, e); }

    TestForm form{runtime};
    rt::Timer timer{form, {"tmrTest", 100, true}};
    std::vector<std::uint64_t> ticks;
    std::vector<int> downs, ups;
    rt::Pixel shownCorner = 0, pausedCorner = 0;
};

TEST_F(PauseTest, PStopsTimersAndInputUntilPAgainThenTicksMoveOnByThePause) {
    form.Show();  // at 0: the timer's first tick is due at 100
    const rt::WindowId w = form.window();
    pumpAt(40);
    backend.keyDown(w, rt::vbKeyP);
    at(1000, keyEvent(w, rt::vbKeyLeft));                        // dropped
    at(1500, keyEvent(w, rt::vbKeyLeft, rt::EventType::KeyUp));  // let go during the pause: delivered
    at(2000, rt::Event{rt::EventType::MouseDown, w});            // a click does not resume
    at(2500, rt::Event{rt::EventType::Expose, w});
    at(3000, rt::Event{rt::EventType::FocusLost, 0});  // a pause on the pause changes nothing
    at(4000, [&] {
        rt::Event held = keyEvent(w, rt::vbKeyP);
        held.repeat = true;  // P's auto-repeat is not a press
        return held;
    }());
    at(5040, keyEvent(w, rt::vbKeyPause));
    const int before = presents(w);
    runtime.doEvents();  // blocks in the pause until the Pause key at 5040
    EXPECT_EQ(backend.now(), 5040u);
    EXPECT_TRUE(ticks.empty());
    EXPECT_TRUE(downs.empty()) << "P, Pause and key-downs during the pause do not reach the form";
    EXPECT_EQ(ups, (std::vector<int>{rt::vbKeyLeft}));
    EXPECT_EQ(presents(w) - before, 3) << "the paused look, again on expose, then play";
    EXPECT_EQ(pausedCorner, (rttest::kBack >> 2) & 0x3F3F3Fu) << "the last frame dimmed";
    EXPECT_EQ(form.image().at(0, 0), rttest::kBack) << "the form's own image is untouched";
    pumpAt(5099);
    EXPECT_TRUE(ticks.empty()) << "the tick due at 100 moved on by the pause's 5000 ms";
    EXPECT_EQ(shownCorner, rttest::kBack) << "play shows again";
    pumpAt(5100);
    EXPECT_EQ(ticks, (std::vector<std::uint64_t>{5100}));
}

TEST_F(PauseTest, MinimiseAndFocusLossPauseTheFormThatPausesOnlyUntilP) {
    TestForm title(runtime, rttest::smallForm("frmTitle"));
    title.Show();
    std::vector<int> titleKeys;
    title.onKeyDown = [&](int k) { titleKeys.push_back(k); };
    backend.loseFocus();  // the pausing form is not shown: nothing to pause
    backend.keyDown(title.window(), rt::vbKeyP);
    backend.minimise(title.window());
    pumpAt(10);
    EXPECT_EQ(titleKeys, (std::vector<int>{rt::vbKeyP})) << "P is an ordinary key elsewhere";

    form.Show();  // at 10: the tick is due at 110
    const rt::WindowId w = form.window();
    backend.minimise(w);
    at(50, rt::Event{rt::EventType::Expose, w});  // restored: still paused
    at(60, rt::Event{rt::EventType::MouseDown, w});
    at(1010, keyEvent(w, rt::vbKeyP));
    runtime.doEvents();
    EXPECT_EQ(backend.now(), 1010u);
    backend.loseFocus();
    at(3010, keyEvent(w, rt::vbKeyP));
    runtime.doEvents();
    EXPECT_EQ(backend.now(), 3010u);
    EXPECT_TRUE(ticks.empty());
    pumpAt(3110);
    EXPECT_EQ(ticks, (std::vector<std::uint64_t>{3110}));

    // The question's own window takes the focus: no pause (it would hold the question up for good).
    backend.answerNextQuestion(rt::vbYes, 300);
    bool lost = false;
    backend.onPump = [&] {
        if (runtime.modal() && !lost) {
            lost = true;
            backend.loseFocus();
            backend.minimise(w);
        }
    };
    EXPECT_EQ(rt::MsgBox("Again?", rt::vbYesNo, "Title"), rt::vbYes);
    EXPECT_TRUE(lost);
    EXPECT_NO_THROW(runtime.doEvents());
}

// At a pass rate the pause is the same, and the passes of the paused time are not made up after it.
TEST_F(PauseTest, AtAPassRateThePauseHoldsTheSameAndNoPassesAreMadeUp) {
    runtime.setPassRate(1000);  // one pass a millisecond
    form.Show();
    const rt::WindowId w = form.window();
    backend.keyDown(w, rt::vbKeyP);
    at(2000, keyEvent(w, rt::vbKeyP));
    runtime.doEvents();
    EXPECT_EQ(backend.now(), 2000u);
    int passes = 0;
    while (backend.now() < 2010) {
        runtime.doEvents();
        ++passes;
    }
    EXPECT_LE(passes, 12) << "a burst of passes after the pause";
    EXPECT_TRUE(ticks.empty());
    while (ticks.empty()) runtime.doEvents();
    EXPECT_EQ(ticks, (std::vector<std::uint64_t>{2100}));
}

TEST_F(PauseTest, TheCloseBoxStillUnloadsThePausedForm) {
    form.Show();
    const rt::WindowId w = form.window();
    backend.keyDown(w, rt::vbKeyPause);
    at(500, rt::Event{rt::EventType::Close, w});
    runtime.doEvents();
    EXPECT_FALSE(form.isLoaded());
    EXPECT_FALSE(runtime.paused());
}

}  // namespace
