// Forms: persistent image and presentation, composition of labels and pictures, the load/show/unload
// lifecycle, and mouse capture by picture controls.
#include <gtest/gtest.h>

#include <vector>

#include "runtime_test_support.h"

namespace {

using rt::Pixel;
using rttest::kBack;
using rttest::solidPicture;
using rttest::TestForm;

constexpr Pixel kRed = rt::colour::red;
constexpr Pixel kBlue = rt::colour::blue;
constexpr Pixel kOlive = rt::colour::olive;

class FormTest : public rttest::RuntimeTest {
protected:
    void fillImage(const TestForm& form, Pixel p) {
        rt::Surface* image = surfaceOf(form.hDC());
        ASSERT_NE(image, nullptr);
        image->fill(p);
    }
};

// ---- lifecycle ----

TEST_F(FormTest, ShowLoadsOnceThenShowsTheWindow) {
    TestForm form(runtime);
    bool shownDuringLoad = true;
    form.onLoad = [&] { shownDuringLoad = form.isShown(); };
    form.Show();
    EXPECT_EQ(form.loads, 1);
    EXPECT_FALSE(shownDuringLoad) << "the load handler runs before the window appears";
    const headless::WindowState* window = backend.window(form.window());
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->shown);
    EXPECT_EQ(window->caption, "Stored caption");
    EXPECT_EQ(window->width, 40);
    EXPECT_EQ(window->height, 30);
    EXPECT_EQ(form.ScaleWidth(), 40.0);
    EXPECT_EQ(form.ScaleHeight(), 30.0);
    form.Show();
    EXPECT_EQ(form.loads, 1);
}

TEST_F(FormTest, LoadWithoutShowKeepsTheWindowHidden) {
    TestForm sprites(runtime, rttest::smallForm("frmSprites", false));
    sprites.Load();
    EXPECT_TRUE(sprites.isLoaded());
    EXPECT_EQ(sprites.window(), 0u);  // a window that only holds pictures
    EXPECT_NE(surfaceOf(sprites.hDC()), nullptr);
    sprites.Show();
    EXPECT_FALSE(sprites.isShown());
    EXPECT_TRUE(backend.windows().empty());
}

TEST_F(FormTest, UnloadedFormIgnoresDrawingAndIsNotReloadedByIt) {
    TestForm form(runtime);
    form.Show();
    const rt::Handle oldDC = form.hDC();
    const rt::WindowId oldWindow = form.window();
    form.Unload();
    EXPECT_FALSE(form.isLoaded());
    EXPECT_TRUE(backend.window(oldWindow)->destroyed);
    // The old handle names no surface any more: a blit to it has nowhere to go.
    EXPECT_EQ(surfaceOf(oldDC), nullptr);
    const int presentsBefore = presents(oldWindow);
    form.Cls();
    form.Refresh();
    form.setCaption("after");
    runtime.doEvents();
    EXPECT_FALSE(form.isLoaded());
    EXPECT_EQ(form.loads, 1);
    EXPECT_EQ(presents(oldWindow), presentsBefore);
    EXPECT_EQ(backend.window(oldWindow)->caption, "Stored caption");
    // A second unload runs no handler.
    form.Unload();
    EXPECT_EQ(form.unloads, 1);
}

TEST_F(FormTest, ShowAfterUnloadReloadsFromTheStoredLayout) {
    TestForm form(runtime);
    rt::Label label(form, {"lblLevel", 0, 0, 10, 5, true, "Level 1", rt::colour::white, kOlive, {}});
    rt::PictureBox picture(form, {"picButton", 5, 6, true, solidPicture(3, 2, kBlue)});
    form.Show();
    const rt::Handle oldDC = form.hDC(), oldPictureDC = picture.hDC();
    fillImage(form, kRed);
    label.setCaption("Level 7");
    label.setVisible(false);
    picture.setLeft(20);
    picture.setPicture(solidPicture(4, 4, kRed));
    form.setCaption("changed");
    form.Unload();
    EXPECT_EQ(picture.hDC(), 0);
    EXPECT_EQ(surfaceOf(oldPictureDC), nullptr);

    form.Show();
    EXPECT_EQ(form.loads, 2);
    EXPECT_EQ(label.Caption(), "Level 1");
    EXPECT_TRUE(label.Visible());
    EXPECT_EQ(picture.Left(), 5);
    EXPECT_EQ(picture.ScaleWidth(), 3.0);
    EXPECT_EQ(form.Caption(), "Stored caption");
    EXPECT_EQ(backend.window(form.window())->caption, "Stored caption");
    EXPECT_NE(form.hDC(), oldDC);
    EXPECT_EQ(surfaceOf(oldDC), nullptr);
    ASSERT_NE(surfaceOf(form.hDC()), nullptr);
    EXPECT_EQ(form.image().at(39, 29), kBack) << "a reloaded form starts from a clear image";
    EXPECT_NE(surfaceOf(picture.hDC()), nullptr);
}

TEST_F(FormTest, UnloadHandlerCanCancel) {
    TestForm form(runtime);
    form.onUnload = [](rt::Integer& cancel) { cancel = 1; };
    form.Show();
    form.Unload();
    EXPECT_TRUE(form.isLoaded());
    EXPECT_TRUE(form.isShown());
    EXPECT_FALSE(backend.window(form.window())->destroyed);
    backend.close(form.window());
    runtime.doEvents();
    EXPECT_TRUE(form.isLoaded());
    EXPECT_EQ(form.unloads, 2);
}

TEST_F(FormTest, QueryUnloadTellsWhoAsksAndCanCancelBeforeTheUnloadHandler) {
    TestForm form(runtime);
    std::vector<int> modes;
    bool refuse = true;
    form.onQueryUnload = [&](rt::Integer& cancel, int mode) {
        modes.push_back(mode);
        if (refuse) cancel = 1;
    };
    form.Show();
    backend.close(form.window());
    runtime.doEvents();
    form.Unload();
    EXPECT_EQ(modes, (std::vector<int>{rt::vbFormControlMenu, rt::vbFormCode}));
    EXPECT_TRUE(form.isLoaded());
    EXPECT_EQ(form.unloads, 0) << "a refused query runs no unload handler";
    refuse = false;
    form.Unload();
    EXPECT_FALSE(form.isLoaded());
    EXPECT_EQ(form.unloads, 1);
}

TEST_F(FormTest, LoadHandlerThatUnloadsLeavesNothingShown) {
    TestForm form(runtime);
    form.onLoad = [&] { form.Unload(); };
    form.Show();
    EXPECT_FALSE(form.isLoaded());
    EXPECT_FALSE(form.isShown());
    for (const auto& [id, state] : backend.windows()) EXPECT_FALSE(state.shown) << id;
}

TEST_F(FormTest, CloseUnloadsOnceAndLaterEventsForTheWindowAreIgnored) {
    TestForm form(runtime);
    int keys = 0;
    form.onKeyDown = [&](int) { ++keys; };
    form.Show();
    const rt::WindowId window = form.window();
    backend.close(window);
    backend.close(window);
    backend.keyDown(window, rt::vbKeyLeft);
    backend.post(rt::Event{rt::EventType::Expose, window});
    runtime.doEvents();
    EXPECT_FALSE(form.isLoaded());
    EXPECT_EQ(form.unloads, 1);
    EXPECT_EQ(keys, 0);
    // The window a reload creates is a new one: an old close does not reach it.
    form.Show();
    EXPECT_NE(form.window(), window);
    backend.close(window);
    runtime.doEvents();
    EXPECT_TRUE(form.isLoaded());
    EXPECT_EQ(form.unloads, 1);
}

// ---- persistent image and presentation ----

TEST_F(FormTest, ClsInvalidatesAndDoEventsPresents) {
    TestForm form(runtime);
    form.Show();
    runtime.doEvents();
    const int base = presents(form.window());
    fillImage(form, kRed);
    form.Cls();
    EXPECT_EQ(form.image().at(3, 3), kBack);
    EXPECT_TRUE(form.dirty());
    EXPECT_EQ(presents(form.window()), base) << "clearing alone does not present";
    runtime.doEvents();
    EXPECT_EQ(presents(form.window()), base + 1);
    EXPECT_EQ(form.screen().at(3, 3), kBack);
    runtime.doEvents();
    EXPECT_EQ(presents(form.window()), base + 1) << "nothing changed, nothing presented";

    // Frames that cannot be shown are borne for a while (the next may well be shown); for a second on
    // end they are a failing window call.
    backend.presentsFail = true;
    for (std::uint64_t t = 100; t <= 900; t += 100) {
        form.Cls();
        pumpAt(t);
    }
    backend.presentsFail = false;
    form.Cls();
    pumpAt(1200);
    backend.presentsFail = true;
    for (std::uint64_t t = 1300; t < 2300; t += 100) {
        form.Cls();
        pumpAt(t);
    }
    form.Cls();
    backend.advance(2300 - backend.now());
    EXPECT_EQ(rttest::errorOf([&] { runtime.doEvents(); }), rt::ErrorNumber::WindowCallFailed);
}

TEST_F(FormTest, BlitAloneDoesNotPresentRefreshPresentsAtOnce) {
    TestForm form(runtime);
    form.Show();
    runtime.doEvents();
    const int base = presents(form.window());
    const rt::Surface sprite(2, 2, kRed);
    ASSERT_TRUE(rt::blit(*surfaceOf(form.hDC()), 5, 5, 2, 2, sprite, 0, 0, rt::SRCCOPY));
    EXPECT_FALSE(form.dirty());
    runtime.doEvents();
    EXPECT_EQ(presents(form.window()), base);
    EXPECT_EQ(form.screen().at(5, 5), kBack) << "the screen still shows the old image";
    EXPECT_EQ(form.image().at(5, 5), kRed);
    form.Refresh();
    EXPECT_EQ(presents(form.window()), base + 1);
    EXPECT_EQ(form.screen().at(5, 5), kRed);
    EXPECT_EQ(form.screen().at(7, 7), kBack);
}

TEST_F(FormTest, ExposeRecomposesWhatTheImageHolds) {
    TestForm form(runtime);
    form.Show();
    runtime.doEvents();
    fillImage(form, kRed);
    const int base = presents(form.window());
    backend.post(rt::Event{rt::EventType::Expose, form.window()});
    runtime.doEvents();
    EXPECT_EQ(presents(form.window()), base + 1);
    EXPECT_EQ(form.screen().at(0, 0), kRed);
}

TEST_F(FormTest, ScreenShowsVisibleLabelsAndPicturesAboveTheImage) {
    TestForm form(runtime);
    rt::Label shown(form, {"lblReady", 2, 2, 6, 3, true, "Get Ready", rt::colour::white, kOlive, {}});
    rt::Label hidden(form, {"lblHidden", 20, 2, 6, 3, false, "x", rt::colour::white, rt::colour::lime, {}});
    rt::Label edge(form, {"lblEdge", 36, 27, 10, 10, true, "", rt::colour::white, rt::colour::yellow, {}});
    rt::PictureBox picture(form, {"picCont", 6, 3, true, solidPicture(3, 2, kBlue)});
    rt::PictureBox source(form, {"picShip", 20, 10, false, solidPicture(3, 2, rt::colour::white)});
    form.Show();
    fillImage(form, kRed);
    form.Refresh();
    const rt::Surface& screen = form.screen();
    EXPECT_EQ(screen.at(2, 2), kOlive);
    EXPECT_EQ(screen.at(7, 4), kBlue) << "a picture lies above a label";
    EXPECT_EQ(screen.at(8, 4), kBlue);
    EXPECT_EQ(screen.at(9, 4), kRed);
    EXPECT_EQ(screen.at(6, 5), kRed) << "below both";
    EXPECT_EQ(screen.at(1, 2), kRed);
    EXPECT_EQ(screen.at(20, 2), kRed) << "a hidden label shows nothing";
    EXPECT_EQ(screen.at(21, 11), kRed) << "a hidden picture shows nothing";
    EXPECT_EQ(screen.at(39, 29), rt::colour::yellow) << "a label across the edge is clipped";
    EXPECT_EQ(screen.at(35, 29), kRed);
    // The controls are drawn on the screen, never into the image.
    EXPECT_EQ(form.image().at(2, 2), kRed);
    EXPECT_EQ(form.image().at(7, 4), kRed);
}

TEST_F(FormTest, ControlChangesThatShowInvalidateAndOthersDoNot) {
    TestForm form(runtime);
    rt::Label label(form, {"lblLevel", 0, 0, 4, 4, true, "Level 1", rt::colour::white, kOlive, {}});
    rt::PictureBox picture(form, {"picCont", 10, 10, true, solidPicture(2, 2, kBlue)});
    rt::PictureBox sprite(form, {"picShip", 20, 0, false, solidPicture(2, 2, kRed)});
    form.Show();
    runtime.doEvents();
    ASSERT_FALSE(form.dirty());

    label.setCaption("Level 1");
    EXPECT_FALSE(form.dirty()) << "same text";
    label.setCaption("Level 2");
    EXPECT_TRUE(form.dirty());
    runtime.doEvents();
    label.setVisible(false);
    EXPECT_TRUE(form.dirty());
    runtime.doEvents();
    EXPECT_EQ(form.screen().at(0, 0), kBack);
    label.setCaption("Level 3");
    EXPECT_FALSE(form.dirty()) << "a hidden label's text does not show";

    picture.setLeft(14);
    EXPECT_TRUE(form.dirty());
    runtime.doEvents();
    EXPECT_EQ(form.screen().at(10, 10), kBack);
    EXPECT_EQ(form.screen().at(14, 10), kBlue);
    picture.setPicture(solidPicture(3, 3, kOlive));
    EXPECT_EQ(picture.ScaleWidth(), 3.0);
    EXPECT_TRUE(form.dirty());
    runtime.doEvents();
    EXPECT_EQ(form.screen().at(16, 12), kOlive);

    // A hidden picture only serves as a blit source: drawing on it or replacing it shows nothing.
    sprite.setPicture(solidPicture(2, 2, kBlue));
    sprite.setLeft(25);
    EXPECT_FALSE(form.dirty());
    EXPECT_EQ(surfaceOf(sprite.hDC())->at(0, 0), kBlue);
}

// A control that changes repaints its own rectangle only: a blit elsewhere stays unseen until a
// refresh, while one under the control's old or new place shows with it.
TEST_F(FormTest, ControlChangesRepaintOnlyTheirOwnRectangle) {
    TestForm form(runtime);
    rt::Label label(form, {"lblMessage", 0, 0, 10, 4, true, "", rt::colour::white, kOlive, {}});
    rt::PictureBox button(form, {"picCont", 20, 20, true, solidPicture(4, 4, kBlue)});
    form.Show();
    runtime.doEvents();
    rt::Surface& image = *surfaceOf(form.hDC());
    const rt::Surface mark(2, 2, kRed);
    auto stamp = [&](int x, int y) { ASSERT_TRUE(rt::blit(image, x, y, 2, 2, mark, 0, 0, rt::SRCCOPY)); };
    stamp(30, 5);   // away from both controls
    stamp(20, 26);  // just below the button, in nothing's way
    stamp(21, 21);  // under the button's present place
    stamp(25, 20);  // under the button's next place

    label.setCaption("W");
    runtime.doEvents();
    EXPECT_EQ(form.screen().at(0, 0), kOlive) << "the label shows its change";
    EXPECT_EQ(form.screen().at(30, 5), kBack) << "a blit elsewhere stays unseen";

    button.setLeft(24);
    runtime.doEvents();
    EXPECT_EQ(form.screen().at(21, 21), kRed) << "the old place repaints from the image";
    EXPECT_EQ(form.screen().at(20, 20), kBack);
    EXPECT_EQ(form.screen().at(25, 20), kBlue) << "the picture lies above the image at its new place";
    EXPECT_EQ(form.screen().at(30, 5), kBack);
    EXPECT_EQ(form.screen().at(20, 26), kBack);

    button.setVisible(false);
    runtime.doEvents();
    EXPECT_EQ(form.screen().at(25, 20), kRed) << "hiding the picture uncovers the image beneath it";

    // Parts clipped to the window; a part wholly outside marks nothing.
    form.invalidate(rt::Rect{-5, -5, 3, 3});
    EXPECT_FALSE(form.dirty());
    form.invalidate(rt::Rect{28, 3, 1000, 1000});
    runtime.doEvents();
    EXPECT_EQ(form.screen().at(30, 5), kRed);
    EXPECT_EQ(form.screen().at(20, 26), kBack) << "left of the part: still unseen";

    // Many small parts fall back to one repaint of the whole window.
    for (int i = 0; i < 20; ++i) form.invalidate(rt::Rect{i, 28, 1, 1});
    runtime.doEvents();
    EXPECT_EQ(form.screen().at(20, 26), kRed) << "the whole window came up to date";
    EXPECT_EQ(form.screen().at(0, 0), kOlive);
}

// ---- mouse capture ----

class MouseTest : public FormTest {
protected:
    TestForm form{runtime};
    rt::PictureBox button{form, {"picCont", 10, 10, true, solidPicture(5, 4, kBlue)}};
    rt::PictureBox hidden{form, {"picContClick", 20, 20, false, solidPicture(5, 4, kRed)}};
    struct Call {
        char what;
        int button;
        float x, y;
    };
    std::vector<Call> calls;

    MouseTest() {
        button.onMouseDown = [this](rt::Integer b, rt::Integer, float x, float y) {
            calls.push_back({'D', b.value(), x, y});
        };
        button.onMouseUp = [this](rt::Integer b, rt::Integer, float x, float y) {
            calls.push_back({'U', b.value(), x, y});
        };
        hidden.onMouseDown = [this](rt::Integer b, rt::Integer, float x, float y) {
            calls.push_back({'d', b.value(), x, y});
        };
        hidden.onMouseUp = [this](rt::Integer b, rt::Integer, float x, float y) {
            calls.push_back({'u', b.value(), x, y});
        };
        form.Show();
    }
};

TEST_F(MouseTest, PressOnVisiblePictureCapturesAndReleaseGoesToItAnywhere) {
    backend.mouseDown(form.window(), 12, 13, 1);
    runtime.doEvents();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].what, 'D');
    EXPECT_EQ(calls[0].button, 1);
    EXPECT_EQ(calls[0].x, 2.0f);
    EXPECT_EQ(calls[0].y, 3.0f);
    EXPECT_TRUE(backend.mouseCaptured());

    backend.mouseUp(form.window(), 2, 30, 1);  // far outside the picture
    runtime.doEvents();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].what, 'U');
    EXPECT_EQ(calls[1].x, -8.0f);
    EXPECT_EQ(calls[1].y, 20.0f);
    EXPECT_FALSE(backend.mouseCaptured());

    // A release without a press goes nowhere.
    backend.mouseUp(form.window(), 12, 12, 1);
    runtime.doEvents();
    EXPECT_EQ(calls.size(), 2u);
}

TEST_F(MouseTest, PressOnHiddenPictureOrOutsideDoesNothing) {
    backend.mouseDown(form.window(), 21, 21, 1);
    backend.mouseUp(form.window(), 21, 21, 1);
    backend.mouseDown(form.window(), 0, 0, 1);
    backend.mouseUp(form.window(), 0, 0, 1);
    backend.mouseDown(form.window(), 15, 10, 2);  // just right of the picture
    backend.mouseUp(form.window(), 15, 10, 2);
    runtime.doEvents();
    EXPECT_TRUE(calls.empty());
    EXPECT_FALSE(backend.mouseCaptured());
}

TEST_F(MouseTest, ReleaseGoesToThePressedPictureEvenAfterItIsHiddenOrSwapped) {
    // The start button: the press shows the other picture, the release comes back to the first.
    button.onMouseDown = [&](rt::Integer, rt::Integer, float, float) {
        button.setVisible(false);
        hidden.setVisible(true);
    };
    backend.mouseDown(form.window(), 11, 11, 1);
    backend.mouseUp(form.window(), 11, 11, 1);
    runtime.doEvents();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].what, 'U');
}

TEST_F(MouseTest, UnloadReleasesTheCapture) {
    backend.mouseDown(form.window(), 12, 12, 1);
    runtime.doEvents();
    ASSERT_TRUE(backend.mouseCaptured());
    form.Unload();
    EXPECT_FALSE(backend.mouseCaptured());
    form.Show();
    backend.mouseUp(form.window(), 12, 12, 1);
    runtime.doEvents();
    EXPECT_EQ(calls.size(), 1u) << "the release of a press before the unload goes nowhere";
}

}  // namespace
