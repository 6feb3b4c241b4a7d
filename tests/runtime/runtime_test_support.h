// Shared pieces of the runtime tests: a headless runtime per test and a form whose handlers the
// test plugs in.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "backend/headless/headless_backend.h"
#include "runtime/controls.h"
#include "runtime/errors.h"
#include "runtime/form.h"
#include "runtime/runtime.h"
#include "runtime/surface.h"

namespace rttest {

inline constexpr rt::Pixel kBack = rt::rgb(0x10, 0x20, 0x30);

inline rt::FormLayout smallForm(std::string name = "frmTest", bool visibleWindow = true) {
    rt::FormLayout layout;
    layout.name = std::move(name);
    layout.caption = "Stored caption";
    layout.clientWidth = 40;
    layout.clientHeight = 30;
    layout.back = kBack;
    layout.visibleWindow = visibleWindow;
    return layout;
}

inline rt::Picture solidPicture(int w, int h, rt::Pixel p) { return std::make_shared<const rt::Surface>(w, h, p); }

class TestForm : public rt::Form {
public:
    explicit TestForm(rt::Runtime& runtime, rt::FormLayout layout = smallForm())
        : rt::Form(runtime, std::move(layout)) {}

    std::function<void()> onLoad;
    std::function<void(int)> onKeyDown;
    std::function<void(int)> onKeyUp;
    std::function<void(rt::Integer&, int)> onQueryUnload;
    std::function<void(rt::Integer&)> onUnload;
    int loads = 0;
    int unloads = 0;

    void Form_Load() override {
        ++loads;
        if (onLoad) onLoad();
    }
    void Form_KeyDown(rt::Integer& keyCode, rt::Integer) override {
        if (onKeyDown) onKeyDown(keyCode.value());
    }
    void Form_KeyUp(rt::Integer& keyCode, rt::Integer) override {
        if (onKeyUp) onKeyUp(keyCode.value());
    }
    void Form_QueryUnload(rt::Integer& cancel, rt::Integer unloadMode) override {
        if (onQueryUnload) onQueryUnload(cancel, unloadMode.value());
    }
    void Form_Unload(rt::Integer& cancel) override {
        ++unloads;
        if (onUnload) onUnload(cancel);
    }
};

// A headless runtime whose clock moves only when the test moves it.
class RuntimeTest : public ::testing::Test {
protected:
    RuntimeTest() { backend.msPerPump = 0; }

    int presents(rt::WindowId window) const {
        const headless::WindowState* state = backend.window(window);
        return state == nullptr ? 0 : state->presents;
    }
    rt::Surface* surfaceOf(rt::Handle h) { return runtime.surfaces().find(h); }
    // Move the clock, then pump once.
    void pumpAt(std::uint64_t ms) {
        if (ms > backend.now()) backend.advance(ms - backend.now());
        runtime.doEvents();
    }

    headless::HeadlessBackend backend;
    rt::Runtime runtime{backend, {"Test", "test", {}}};
};

template <class F>
rt::ErrorNumber errorOf(F&& f) {
    try {
        std::forward<F>(f)();
    } catch (const rt::RuntimeError& e) {
        return e.number();
    }
    ADD_FAILURE() << "no run-time error was raised";
    return rt::ErrorNumber{0};
}

}  // namespace rttest
