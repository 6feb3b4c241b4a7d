// The Win32 back-end in real windows (under Wine on a private X server, run by tests/windows/
// with-display.sh): its window's frame, input as the runtime's events, the question and the error box as
// the system shows them, the scale, read back through the Win32 API. Real keys and clicks on the whole
// program are the real-window scenarios' part. The executable carries the program's manifest (per-monitor
// DPI aware); QUORVEX_TEST_DPI tells the DPI that Wine's desktop was given (96 when unset).
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "backend/win32/win32_backend.h"
#include "runtime/constants.h"

namespace {

constexpr int kPromptId = 0xFFFF;  // the message box's text control

SIZE clientSize(HWND handle) {
    RECT client{};
    GetClientRect(handle, &client);
    return SIZE{client.right - client.left, client.bottom - client.top};
}

class Win32BackendTest : public ::testing::Test {
protected:
    win32::Win32Backend backend{GetModuleHandleW(nullptr), {"Quorvex", "quorvex", {}}, 0, 1};
    rt::WindowId window = 0;
    HWND handle = nullptr;

    void SetUp() override {
        window = backend.createWindow({"Quorvex - By Delmoro", 600, 500});
        ASSERT_NE(window, 0u);
        backend.showWindow(window);
        handle = backend.handleOf(window);
        drain();
    }

    std::vector<rt::Event> drain() {
        std::vector<rt::Event> events;
        rt::Event e;
        while (backend.pollEvent(e)) events.push_back(e);
        return events;
    }

    // Pumps events for up to `ms` until `done` holds; the events seen are kept in `seen`.
    bool pumpUntil(const std::function<bool()>& done, int ms = 5000) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            backend.waitForEvent(backend.monotonicMs() + 20);
            for (const rt::Event& e : drain())
                if (!(ignoreFocusLost && e.type == rt::EventType::FocusLost)) seen.push_back(e);
        }
        return true;
    }
    // The message box runs on a thread of its own: the system may say the activation left ours for it.
    // The runtime takes no focus loss while it asks; the question's tests leave such events out.
    bool ignoreFocusLost = false;

    HWND boxTitled(const wchar_t* title) { return FindWindowW(L"#32770", title); }

    static std::wstring textOf(HWND box, int id) {
        wchar_t text[256] = {};
        GetDlgItemTextW(box, id, text, 256);
        return text;
    }

    // A key pressed in a box of another thread: to the control that has that thread's keyboard focus.
    static void pressKey(HWND box, WPARAM vk, wchar_t ch) {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &info);
        HWND target = info.hwndFocus != nullptr ? info.hwndFocus : box;
        PostMessageW(target, WM_KEYDOWN, vk, 1);
        if (ch != 0) PostMessageW(target, WM_CHAR, ch, 1);
        PostMessageW(target, WM_KEYUP, vk, 1 | (1u << 30) | (1u << 31));
    }

    std::vector<rt::Event> seen;
};

TEST_F(Win32BackendTest, AFixed600x500WindowWithCaptionAndCloseBoxCentredOnTheScreen) {
    RECT client;
    GetClientRect(handle, &client);
    EXPECT_EQ(client.right - client.left, 600);
    EXPECT_EQ(client.bottom - client.top, 500);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(handle, GWL_STYLE));
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), static_cast<DWORD>(WS_CAPTION | WS_SYSMENU));
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX), 0u) << "no resizing, no minimise or maximise";

    wchar_t caption[128] = {};
    GetWindowTextW(handle, caption, 128);
    EXPECT_STREQ(caption, L"Quorvex - By Delmoro");
    backend.setCaption(window, "Quorvex - By Delmoro : Level 2 : Score (300) : 41 FPS");
    GetWindowTextW(handle, caption, 128);
    EXPECT_STREQ(caption, L"Quorvex - By Delmoro : Level 2 : Score (300) : 41 FPS");

    // Where the window manager has put the window (it may settle a moment after the window shows).
    RECT frame;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(handle, MONITOR_DEFAULTTOPRIMARY), &monitor);
    pumpUntil(
        [&] {
            GetWindowRect(handle, &frame);
            return std::abs(frame.left + frame.right - monitor.rcWork.left - monitor.rcWork.right) <= 2;
        },
        2000);
    seen.clear();
    EXPECT_NEAR((frame.left + frame.right) / 2.0, (monitor.rcWork.left + monitor.rcWork.right) / 2.0, 1.0)
        << frame.left << " " << frame.top << " " << frame.right << " " << frame.bottom;
    EXPECT_NEAR((frame.top + frame.bottom) / 2.0, (monitor.rcWork.top + monitor.rcWork.bottom) / 2.0, 1.0);

    // The close box asks; the runtime decides: the window stays until it is destroyed.
    PostMessageW(handle, WM_CLOSE, 0, 0);
    ASSERT_TRUE(pumpUntil([&] { return !seen.empty(); }));
    EXPECT_EQ(seen[0].type, rt::EventType::Close);
    EXPECT_EQ(seen[0].window, window);
    EXPECT_TRUE(IsWindow(handle));
    backend.destroyWindow(window);
    EXPECT_FALSE(IsWindow(handle));
}

TEST_F(Win32BackendTest, APresentedFrameIsShownAtOnceAndPaintedAgain) {
    rt::Surface frame(600, 500, rt::colour::black);
    for (int y = 100; y < 120; ++y)
        for (int x = 200; x < 260; ++x) frame.at(x, y) = rt::colour::red;
    frame.at(0, 0) = rt::colour::blue;
    backend.present(window, frame);
    HDC dc = GetDC(handle);
    EXPECT_EQ(GetPixel(dc, 210, 110), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(dc, 300, 300), RGB(0, 0, 0));
    // Painted over, then exposed: the window shows the last frame again, by itself.
    RECT all{0, 0, 600, 500};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    InvalidateRect(handle, nullptr, TRUE);
    pumpUntil([&] { return GetPixel(dc, 210, 110) == RGB(255, 0, 0); }, 2000);
    EXPECT_EQ(GetPixel(dc, 210, 110), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 300, 300), RGB(0, 0, 0));
    ReleaseDC(handle, dc);
}

TEST_F(Win32BackendTest, KeysAndMouseArriveAsTheRuntimesEvents) {
    PostMessageW(handle, WM_KEYDOWN, VK_LEFT, 1);
    PostMessageW(handle, WM_KEYDOWN, VK_LEFT, 1 | (1u << 30));  // held: an auto-repeat
    PostMessageW(handle, WM_KEYUP, VK_LEFT, 1 | (1u << 30) | (1u << 31));
    PostMessageW(handle, WM_KEYDOWN, VK_SPACE, 1);
    PostMessageW(handle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 457));
    PostMessageW(handle, WM_LBUTTONUP, 0, MAKELPARAM(-5, 510));  // released outside, captured
    ASSERT_TRUE(pumpUntil([&] { return seen.size() >= 6; }));
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_EQ(seen[0].type, rt::EventType::KeyDown);
    EXPECT_EQ(seen[0].key, rt::vbKeyLeft);
    EXPECT_FALSE(seen[0].repeat);
    EXPECT_TRUE(seen[1].repeat);
    EXPECT_EQ(seen[2].type, rt::EventType::KeyUp);
    EXPECT_EQ(seen[2].key, rt::vbKeyLeft);
    EXPECT_EQ(seen[3].key, rt::vbKeySpace);
    EXPECT_EQ(seen[4].type, rt::EventType::MouseDown);
    EXPECT_EQ(seen[4].x, 300);
    EXPECT_EQ(seen[4].y, 457);
    EXPECT_EQ(seen[4].button, 1);
    backend.setMouseCapture(true);
    EXPECT_EQ(GetCapture(), handle);
    EXPECT_EQ(seen[5].type, rt::EventType::MouseUp);
    EXPECT_EQ(seen[5].x, -5);
    EXPECT_EQ(seen[5].y, 510);
    backend.setMouseCapture(false);
    EXPECT_EQ(GetCapture(), nullptr);

    // Keys still held when the window loses the keyboard focus (Space since above, and Right) are
    // released for it.
    seen.clear();
    PostMessageW(handle, WM_KEYDOWN, VK_RIGHT, 1);
    ASSERT_TRUE(pumpUntil([&] { return seen.size() == 1; }));
    SendMessageW(handle, WM_KILLFOCUS, 0, 0);
    ASSERT_TRUE(pumpUntil([&] { return seen.size() == 3; }));
    EXPECT_EQ(seen[1].type, rt::EventType::KeyUp);
    EXPECT_EQ(seen[2].type, rt::EventType::KeyUp);
    EXPECT_EQ(seen[1].key + seen[2].key, rt::vbKeySpace + rt::vbKeyRight);
}

// A minimised window, and the activation gone to another program's window, arrive as the runtime's
// events that pause play; Pause is the system's own key code.
TEST_F(Win32BackendTest, MinimiseAndActivationLostToAnotherProgramArriveAsEvents) {
    auto typeSeen = [&](rt::EventType type) {
        return std::any_of(seen.begin(), seen.end(), [&](const rt::Event& e) { return e.type == type; });
    };
    ShowWindow(handle, SW_MINIMIZE);
    ASSERT_TRUE(pumpUntil([&] { return typeSeen(rt::EventType::Minimised); }));
    ShowWindow(handle, SW_RESTORE);
    // The system may move the activation about on its own meanwhile (Wine does, between threads): only
    // the message that says another program's window became active is checked, not a count.
    seen.clear();
    SendMessageW(handle, WM_ACTIVATEAPP, FALSE, 0);
    PostMessageW(handle, WM_KEYDOWN, VK_PAUSE, 1);
    ASSERT_TRUE(pumpUntil([&] { return typeSeen(rt::EventType::KeyDown); }));
    EXPECT_TRUE(typeSeen(rt::EventType::FocusLost));
    EXPECT_EQ(seen.back().key, rt::vbKeyPause);
}

// Controller states fed to the back-end in place of XInput's: the D-pad and the left stick (past its dead
// zone) are Left and Right, the face buttons Space, Start is P, for the window that has the focus; a key
// held by two pads goes up with the last, and an unplugged pad lets go. Without the focus, nothing.
TEST_F(Win32BackendTest, GamepadStatesArriveAsKeys) {
    XINPUT_GAMEPAD pads[2] = {};
    bool plugged[2] = {true, false};
    backend.gamepads().useReader([&](DWORD slot, XINPUT_STATE* state) -> DWORD {
        if (slot >= 2 || !plugged[slot]) return ERROR_DEVICE_NOT_CONNECTED;
        state->Gamepad = pads[slot];
        return ERROR_SUCCESS;
    });
    SetForegroundWindow(handle);
    SetFocus(handle);
    ASSERT_EQ(GetFocus(), handle);
    drain();
    auto after = [&] {
        seen.clear();
        pumpUntil([] { return false; }, 30);  // several polls
        return seen;
    };
    using K = std::vector<std::pair<rt::EventType, int>>;
    const rt::EventType down = rt::EventType::KeyDown, up = rt::EventType::KeyUp;
    auto keys = [&](const std::vector<rt::Event>& events) {
        K got;
        for (const rt::Event& e : events) {
            EXPECT_EQ(e.window, window);
            got.emplace_back(e.type, e.key);
        }
        return got;
    };
    pads[0].wButtons = XINPUT_GAMEPAD_DPAD_LEFT;
    EXPECT_EQ(keys(after()), (K{{down, rt::vbKeyLeft}}));
    pads[0].wButtons = 0;
    EXPECT_EQ(keys(after()), (K{{up, rt::vbKeyLeft}}));
    pads[0].sThumbLX = -10000;  // inside the dead zone
    EXPECT_EQ(keys(after()), K{});
    pads[0].sThumbLX = -20000;
    EXPECT_EQ(keys(after()), (K{{down, rt::vbKeyLeft}}));
    pads[0].sThumbLX = -14000;  // coming back, not yet released
    EXPECT_EQ(keys(after()), K{});
    pads[0].sThumbLX = 32767;
    EXPECT_EQ(keys(after()), (K{{up, rt::vbKeyLeft}, {down, rt::vbKeyRight}}));
    pads[0].sThumbLX = 0;
    pads[0].wButtons = XINPUT_GAMEPAD_A | XINPUT_GAMEPAD_START;
    EXPECT_EQ(keys(after()), (K{{up, rt::vbKeyRight}, {down, rt::vbKeySpace}, {down, 'P'}}));
    pads[0].wButtons = XINPUT_GAMEPAD_Y;
    EXPECT_EQ(keys(after()), (K{{up, 'P'}}));
    pads[0].wButtons = XINPUT_GAMEPAD_BACK;  // no key
    EXPECT_EQ(keys(after()), (K{{up, rt::vbKeySpace}}));

    // A second pad, plugged in while the first holds Right: Right goes up only when both have let go. Slots
    // found empty are looked at again once a second.
    pads[0].wButtons = XINPUT_GAMEPAD_DPAD_RIGHT;
    pads[1].wButtons = XINPUT_GAMEPAD_DPAD_RIGHT;
    plugged[1] = true;
    EXPECT_EQ(keys(after()), (K{{down, rt::vbKeyRight}}));
    Sleep(win32::Gamepads::kEmptySlotMs);
    EXPECT_EQ(keys(after()), K{});
    plugged[0] = false;  // unplugged: lets go of its Right
    EXPECT_EQ(keys(after()), K{});
    pads[1].wButtons = 0;
    EXPECT_EQ(keys(after()), (K{{up, rt::vbKeyRight}}));

    // Without the keyboard focus the pad presses nothing; the focus back, what it holds is pressed.
    pads[1].wButtons = XINPUT_GAMEPAD_B;
    SetFocus(nullptr);
    EXPECT_EQ(keys(after()), K{});
    SetFocus(handle);
    EXPECT_EQ(keys(after()), (K{{down, rt::vbKeySpace}}));

    // The question in front takes the pad as it takes the keyboard: B, held from before it, does nothing;
    // Right then A, pressed for it, choose No and press it.
    const rt::WindowId question = backend.openQuestion("DEAD!!!", "You are dead, would you like to play again?");
    HWND box = nullptr;
    ASSERT_TRUE(pumpUntil([&] { return (box = boxTitled(L"DEAD!!!")) != nullptr && GetForegroundWindow() == box; }));
    pumpUntil([] { return false; }, 200);
    pads[1].wButtons = 0;
    pumpUntil([] { return false; }, 200);
    EXPECT_EQ(boxTitled(L"DEAD!!!"), box) << "a button held from before answered the question";
    for (const WORD button : {WORD{XINPUT_GAMEPAD_DPAD_RIGHT}, WORD{0}, WORD{XINPUT_GAMEPAD_A}, WORD{0}}) {
        pads[1].wButtons = button;
        pumpUntil([] { return false; }, 30);
    }
    ASSERT_TRUE(pumpUntil([&] { return !seen.empty() && seen.back().type == rt::EventType::DialogAnswer; }));
    EXPECT_EQ(seen.back().window, question);
    EXPECT_EQ(seen.back().answer, rt::vbNo);
    backend.closeQuestion(question);
}

TEST_F(Win32BackendTest, AltAndF10ArriveAsKeysAndDoNotStopPlay) {
    // Windows puts a window in menu mode on F10 or a lone Alt, whose loop would hold up this thread: a
    // watcher notes it and ends it, so that the test goes on either way.
    const DWORD thread = GetCurrentThreadId();
    std::atomic<bool> done{false}, menuMode{false};
    std::thread watcher([&] {
        while (!done) {
            GUITHREADINFO info{};
            info.cbSize = sizeof(info);
            if (GetGUIThreadInfo(thread, &info) && (info.flags & (GUI_INMENUMODE | GUI_SYSTEMMENUMODE)) != 0) {
                menuMode = true;
                PostMessageW(handle, WM_CANCELMODE, 0, 0);
                PostMessageW(handle, WM_KEYDOWN, VK_ESCAPE, 1);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    // Typed as the keyboard types them: the system's own key state goes with them.
    auto type = [](std::initializer_list<std::pair<WORD, bool>> keys) {
        std::vector<INPUT> inputs;
        for (const auto& [key, down] : keys) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = key;
            input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
            inputs.push_back(input);
        }
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    };
    SetForegroundWindow(handle);
    SetFocus(handle);
    type({{VK_MENU, true}, {VK_MENU, false}});  // a lone Alt
    pumpUntil([&] { return seen.size() >= 2; }, 1000);
    type({{VK_MENU, true}, {VK_LEFT, true}, {VK_LEFT, false}, {VK_MENU, false}});  // Alt held: the arrow moves the ship
    pumpUntil([&] { return seen.size() >= 6; }, 1000);
    type({{VK_F10, true}, {VK_F10, false}});
    pumpUntil([&] { return seen.size() >= 8; }, 1000);
    type({{VK_SPACE, true}});
    const bool arrived = pumpUntil([&] { return seen.size() >= 9; });
    pumpUntil([] { return false; }, 200);
    done = true;
    watcher.join();
    EXPECT_FALSE(menuMode) << "the window went into menu mode";
    ASSERT_TRUE(arrived);
    const std::vector<std::pair<rt::EventType, int>> expected{
        {rt::EventType::KeyDown, VK_MENU},       {rt::EventType::KeyUp, VK_MENU},
        {rt::EventType::KeyDown, VK_MENU},       {rt::EventType::KeyDown, rt::vbKeyLeft},
        {rt::EventType::KeyUp, rt::vbKeyLeft},   {rt::EventType::KeyUp, VK_MENU},
        {rt::EventType::KeyDown, VK_F10},        {rt::EventType::KeyUp, VK_F10},
        {rt::EventType::KeyDown, rt::vbKeySpace}};
    ASSERT_EQ(seen.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(seen[i].type, expected[i].first) << i;
        EXPECT_EQ(seen[i].key, expected[i].second) << i;
    }

    // Alt+F4 still closes the window: the runtime is asked.
    seen.clear();
    type({{VK_MENU, true}, {VK_F4, true}, {VK_F4, false}, {VK_MENU, false}});
    ASSERT_TRUE(pumpUntil([&] {
        return std::any_of(seen.begin(), seen.end(),
                           [&](const rt::Event& e) { return e.type == rt::EventType::Close && e.window == window; });
    }));
}

TEST_F(Win32BackendTest, TheQuestionIsTheSystemsMessageBoxOwnedByTheWindow) {
    ignoreFocusLost = true;
    const std::string prompt = "You are dead, would you like to play again?";
    for (const bool yes : {true, false}) {
        SCOPED_TRACE(yes ? "Yes by Return" : "No by N");
        seen.clear();
        const rt::WindowId question = backend.openQuestion("DEAD!!!", prompt);
        ASSERT_NE(question, 0u);
        HWND box = nullptr;
        ASSERT_TRUE(pumpUntil([&] { return (box = boxTitled(L"DEAD!!!")) != nullptr; }));
        EXPECT_EQ(textOf(box, kPromptId), L"You are dead, would you like to play again?");
        EXPECT_EQ(textOf(box, IDYES), L"&Yes");
        EXPECT_EQ(textOf(box, IDNO), L"&No");
        EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr);
        EXPECT_EQ(GetWindowLongPtrW(GetDlgItem(box, IDYES), GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON)
            << "Yes is the default";
        EXPECT_EQ(GetWindow(box, GW_OWNER), handle);
        EXPECT_FALSE(IsWindowEnabled(handle)) << "the window takes no input while asked";
        // Time and events go on while it is open: the program's thread is not blocked by it.
        const std::uint64_t before = backend.monotonicMs();
        pumpUntil([] { return false; }, 100);
        EXPECT_GE(backend.monotonicMs() - before, 100u);
        EXPECT_TRUE(seen.empty());

        if (yes)
            pressKey(box, VK_RETURN, 0);
        else
            pressKey(box, 'N', L'n');
        ASSERT_TRUE(pumpUntil([&] { return !seen.empty(); }));
        EXPECT_EQ(seen[0].type, rt::EventType::DialogAnswer);
        EXPECT_EQ(seen[0].window, question);
        EXPECT_EQ(seen[0].answer, yes ? rt::vbYes : rt::vbNo);
        backend.closeQuestion(question);
        EXPECT_EQ(boxTitled(L"DEAD!!!"), nullptr);
        EXPECT_TRUE(IsWindowEnabled(handle));
    }
    // Closed by its frame without an answer, the box asks again.
    seen.clear();
    const rt::WindowId again = backend.openQuestion("DEAD!!!", prompt);
    HWND box = nullptr;
    ASSERT_TRUE(pumpUntil([&] { return (box = boxTitled(L"DEAD!!!")) != nullptr; }));
    PostMessageW(box, WM_CLOSE, 0, 0);
    pumpUntil([] { return false; }, 300);
    EXPECT_TRUE(seen.empty() || seen.back().type != rt::EventType::DialogAnswer);
    ASSERT_TRUE(pumpUntil([&] { return (box = boxTitled(L"DEAD!!!")) != nullptr; }));
    pressKey(box, 'Y', L'y');
    ASSERT_TRUE(pumpUntil([&] { return !seen.empty() && seen.back().type == rt::EventType::DialogAnswer; }));
    EXPECT_EQ(seen.back().answer, rt::vbYes);
    backend.closeQuestion(again);

    // Closed unanswered (the program ends while it asks): the box goes, nothing hangs.
    const rt::WindowId question = backend.openQuestion("DEAD!!!", prompt);
    ASSERT_TRUE(pumpUntil([&] { return boxTitled(L"DEAD!!!") != nullptr; }));
    backend.closeQuestion(question);
    EXPECT_EQ(boxTitled(L"DEAD!!!"), nullptr);

    // Closed before its box has even shown: none shows later, and no answer comes.
    seen.clear();
    backend.closeQuestion(backend.openQuestion("DEAD!!!", prompt));
    pumpUntil([] { return false; }, 500);
    EXPECT_EQ(boxTitled(L"DEAD!!!"), nullptr);
    EXPECT_TRUE(seen.empty());
    EXPECT_TRUE(IsWindowEnabled(handle));
}

// Starts xdotool on the X server under Wine: keys held there are held for Wine too (keys sent with
// SendInput are not: Wine takes the X keyboard's state again whenever the focus moves). Wine cannot wait
// for a program of the host: its effect is waited for instead. False when it cannot start.
bool xdotool(const std::wstring& arguments) {
    std::wstring line = L"Z:\\usr\\bin\\xdotool " + arguments;
    STARTUPINFOW start{};
    start.cb = sizeof(start);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start, &process))
        return false;
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return true;
}

// Right and Space, held on the keyboard since before the question opened, and their auto-repeat, do not
// act on it (Right would move to No, Space press it); pressed again after it appeared, they do.
TEST_F(Win32BackendTest, KeysHeldFromBeforeTheQuestionDoNotAnswerIt) {
    SetForegroundWindow(handle);
    SetFocus(handle);
    pumpUntil([&] { return GetForegroundWindow() == handle; }, 2000);
    ASSERT_TRUE(xdotool(L"keydown Right keydown space")) << "xdotool could not be started";
    struct Release {
        ~Release() { xdotool(L"keyup space keyup Right"); }
    } release;
    ASSERT_TRUE(pumpUntil([&] { return seen.size() >= 2; })) << "the window did not get the keys";
    const rt::WindowId question = backend.openQuestion("DEAD!!!", "You are dead, would you like to play again?");
    HWND box = nullptr;
    ASSERT_TRUE(pumpUntil([&] { return (box = boxTitled(L"DEAD!!!")) != nullptr; }));
    ASSERT_TRUE(pumpUntil([&] { return GetForegroundWindow() == box; })) << "the box did not take the keyboard";
    seen.clear();
    pumpUntil([] { return false; }, 1500);  // the keys go on repeating
    ASSERT_TRUE(xdotool(L"keyup space keyup Right"));
    pumpUntil([] { return false; }, 300);
    EXPECT_EQ(boxTitled(L"DEAD!!!"), box) << "a held key answered the question";
    EXPECT_TRUE(std::none_of(seen.begin(), seen.end(),
                             [](const rt::Event& e) { return e.type == rt::EventType::DialogAnswer; }));
    ASSERT_TRUE(xdotool(L"key Right key space"));  // to No, and press it
    ASSERT_TRUE(pumpUntil([&] { return !seen.empty() && seen.back().type == rt::EventType::DialogAnswer; }));
    EXPECT_EQ(seen.back().window, question);
    EXPECT_EQ(seen.back().answer, rt::vbNo);
    backend.closeQuestion(question);
}

TEST_F(Win32BackendTest, ARunTimeErrorIsAMessageBoxWithTheErrorIcon) {
    std::wstring text, title;
    bool icon = false, onlyOk = false;
    HWND owner = nullptr;
    std::thread reader([&] {
        HWND box = nullptr;
        for (int i = 0; i < 200 && box == nullptr; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
            box = FindWindowW(L"#32770", L"Quorvex");
        }
        if (box == nullptr) return;
        text = textOf(box, kPromptId);
        wchar_t caption[64] = {};
        GetWindowTextW(box, caption, 64);
        title = caption;
        icon = SendDlgItemMessageW(box, 0x440, STM_GETICON, 0, 0) != 0;  // the box's icon control
        onlyOk = GetDlgItem(box, IDOK) != nullptr && GetDlgItem(box, IDNO) == nullptr;
        owner = GetWindow(box, GW_OWNER);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    backend.showError("Quorvex", "Run-time error '6':\n\nOverflow");
    reader.join();
    EXPECT_EQ(title, L"Quorvex");
    EXPECT_EQ(text, L"Run-time error '6':\n\nOverflow");
    EXPECT_TRUE(icon);
    EXPECT_TRUE(onlyOk);
    EXPECT_EQ(owner, handle) << "owned by the program's window, as the question is";
}

// ---- the scale ----

int desktopDpi() {
    const char* dpi = std::getenv("QUORVEX_TEST_DPI");
    return dpi != nullptr ? std::atoi(dpi) : 96;
}

class Win32ScaleTest : public ::testing::Test {
protected:
    std::unique_ptr<win32::Win32Backend> backend;
    rt::WindowId window = 0;
    HWND handle = nullptr;
    std::vector<rt::Event> seen;

    // A back-end at `scale` (0: the monitor's own) with the game's window shown.
    void open(int scale, bool fullScreen = false) {
        backend.reset();  // one at a time: each registers the same window class
        backend = std::make_unique<win32::Win32Backend>(
            GetModuleHandleW(nullptr), rt::ProgramIdentity{"Quorvex", "quorvex", {}}, 0, scale, fullScreen);
        window = backend->createWindow({"Quorvex - By Delmoro", 600, 500});
        ASSERT_NE(window, 0u);
        backend->showWindow(window);
        handle = backend->handleOf(window);
        pump(100);
        seen.clear();
    }

    void pump(int ms) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < deadline) {
            backend->waitForEvent(backend->monotonicMs() + 10);
            rt::Event e;
            while (backend->pollEvent(e)) seen.push_back(e);
        }
    }
};

TEST_F(Win32ScaleTest, ByDefaultTheMonitorsOwnWholeNumberScaleElseTheOneAskedFor) {
    const int own = std::max(1, desktopDpi() / 96);
    open(0);
    EXPECT_EQ(backend->scale(), own);
    EXPECT_EQ(clientSize(handle).cx, 600 * own);
    EXPECT_EQ(clientSize(handle).cy, 500 * own);
    for (const int scale : {1, 2}) {
        SCOPED_TRACE(scale);
        open(scale);
        EXPECT_EQ(backend->scale(), scale);
        EXPECT_EQ(clientSize(handle).cx, 600 * scale);
        EXPECT_EQ(clientSize(handle).cy, 500 * scale);
    }
}

TEST_F(Win32ScaleTest, EachPixelIsASquareAndTheMouseIsDividedBack) {
    open(2);
    rt::Surface frame(600, 500, rt::colour::black);
    frame.at(10, 20) = rt::colour::red;
    frame.at(599, 499) = rt::colour::blue;
    ASSERT_TRUE(backend->present(window, frame));
    auto check = [&](const char* when) {
        SCOPED_TRACE(when);
        HDC dc = GetDC(handle);
        using Points = std::initializer_list<POINT>;
        for (const POINT p : Points{{20, 40}, {21, 40}, {20, 41}, {21, 41}})
            EXPECT_EQ(GetPixel(dc, p.x, p.y), RGB(255, 0, 0));
        for (const POINT p : Points{{19, 40}, {22, 41}, {20, 39}, {21, 42}})
            EXPECT_EQ(GetPixel(dc, p.x, p.y), RGB(0, 0, 0));
        EXPECT_EQ(GetPixel(dc, 1198, 998), RGB(0, 0, 255));
        EXPECT_EQ(GetPixel(dc, 1199, 999), RGB(0, 0, 255));
        EXPECT_EQ(GetPixel(dc, 1197, 999), RGB(0, 0, 0));
        ReleaseDC(handle, dc);
    };
    check("presented");
    HDC dc = GetDC(handle);
    RECT all{0, 0, 1200, 1000};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ReleaseDC(handle, dc);
    InvalidateRect(handle, nullptr, TRUE);
    pump(200);
    check("painted again");

    seen.clear();
    PostMessageW(handle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(601, 915));
    PostMessageW(handle, WM_LBUTTONUP, 0, MAKELPARAM(-5, 1001));  // released outside, captured
    pump(200);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].x, 300);
    EXPECT_EQ(seen[0].y, 457);
    EXPECT_EQ(seen[1].type, rt::EventType::MouseUp);
    EXPECT_EQ(seen[1].x, -3);
    EXPECT_EQ(seen[1].y, 500);

    // A press whose capture is taken away ends where the pointer is, as a release there would; a
    // capture that goes with no button held ends nothing.
    seen.clear();
    PostMessageW(handle, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(400, 200));
    pump(100);
    backend->setMouseCapture(true);
    POINT at{2 * 101 + 1, 2 * 51};
    ClientToScreen(handle, &at);
    SetCursorPos(at.x, at.y);
    ReleaseCapture();  // as when another window takes the mouse
    pump(100);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].type, rt::EventType::MouseUp);
    EXPECT_EQ(seen[1].button, 2);
    EXPECT_EQ(seen[1].x, 101);
    EXPECT_EQ(seen[1].y, 51);
    backend->setMouseCapture(true);
    ReleaseCapture();
    pump(100);
    EXPECT_EQ(seen.size(), 2u);
}

TEST_F(Win32ScaleTest, AMoveToAMonitorOfAnotherDpiTakesItsScale) {
    open(0);
    auto moveTo = [&](int dpi, int left, int top) {
        RECT suggested{left, top, left + 700, top + 600};
        SendMessageW(handle, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    };
    moveTo(192, 40, 30);
    EXPECT_EQ(backend->scale(), 2);
    EXPECT_EQ(clientSize(handle).cx, 1200);
    EXPECT_EQ(clientSize(handle).cy, 1000);
    RECT frame;
    GetWindowRect(handle, &frame);
    EXPECT_EQ(frame.left, 40);
    EXPECT_EQ(frame.top, 30);
    moveTo(168, 0, 0);  // 1.75 times: whole pixels only
    EXPECT_EQ(backend->scale(), 1);
    EXPECT_EQ(clientSize(handle).cx, 600);
    EXPECT_EQ(clientSize(handle).cy, 500);

    // A scale asked for stays.
    open(1);
    moveTo(192, 0, 0);
    EXPECT_EQ(backend->scale(), 1);
    EXPECT_EQ(clientSize(handle).cx, 600);
    EXPECT_EQ(clientSize(handle).cy, 500);
}

TEST_F(Win32ScaleTest, FullScreenCoversTheMonitorWithTheImageAtTheFittingScaleCentredOnBlack) {
    open(1, true);  // as with --fullscreen
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(handle, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& screen = monitor.rcMonitor;
    const int screenW = screen.right - screen.left, screenH = screen.bottom - screen.top;
    const int scale = std::max(1, std::min(screenW / 600, screenH / 500));
    const int left = (screenW - 600 * scale) / 2, top = (screenH - 500 * scale) / 2;
    auto checkFull = [&](const char* when) {
        SCOPED_TRACE(when);
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(handle, GWL_STYLE));
        EXPECT_EQ(style & WS_CAPTION, 0u);
        RECT frame;
        GetWindowRect(handle, &frame);
        EXPECT_TRUE(EqualRect(&frame, &screen))
            << frame.left << " " << frame.top << " " << frame.right << " " << frame.bottom;
        EXPECT_EQ(clientSize(handle).cx, screenW);
        rt::Surface image(600, 500, rt::colour::blue);
        image.at(10, 20) = rt::colour::red;
        ASSERT_TRUE(backend->present(window, image));
        HDC dc = GetDC(handle);
        for (const POINT p :
             {POINT{left + 10 * scale, top + 20 * scale}, POINT{left + 11 * scale - 1, top + 21 * scale - 1}})
            EXPECT_EQ(GetPixel(dc, p.x, p.y), RGB(255, 0, 0));
        EXPECT_EQ(GetPixel(dc, left + 11 * scale, top + 20 * scale), RGB(0, 0, 255));
        EXPECT_EQ(GetPixel(dc, left + 600 * scale - 1, top + 500 * scale - 1), RGB(0, 0, 255));
        for (const POINT p : {POINT{0, 0}, POINT{left - 1, top + 5}, POINT{left + 5, top - 1},
                              POINT{left + 600 * scale, top + 5}, POINT{screenW - 1, screenH - 1}})
            if (p.x >= 0 && p.y >= 0 &&
                (p.x < left || p.y < top || p.x >= left + 600 * scale || p.y >= top + 500 * scale)) {
                EXPECT_EQ(GetPixel(dc, p.x, p.y), RGB(0, 0, 0)) << p.x << ", " << p.y;
            }
        ReleaseDC(handle, dc);
        // Clicks at the enlarged places, divided back; on the black, outside the image.
        seen.clear();
        PostMessageW(handle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(left + 300 * scale + scale - 1, top + 457 * scale));
        PostMessageW(handle, WM_LBUTTONUP, 0, MAKELPARAM(left - 1, top));
        pump(100);
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_EQ(seen[0].x, 300);
        EXPECT_EQ(seen[0].y, 457);
        EXPECT_EQ(seen[1].x, -1);
        EXPECT_EQ(seen[1].y, 0);
    };
    EXPECT_TRUE(backend->fullScreen());
    checkFull("started in full screen");

    // F11: back in the window, 600 x 500 with its frame, centred on the work area; no key for the game.
    seen.clear();
    PostMessageW(handle, WM_KEYDOWN, VK_F11, 1);
    PostMessageW(handle, WM_KEYUP, VK_F11, 1 | (1u << 30) | (1u << 31));
    pump(200);
    EXPECT_TRUE(seen.empty());
    EXPECT_FALSE(backend->fullScreen());
    EXPECT_NE(static_cast<DWORD>(GetWindowLongPtrW(handle, GWL_STYLE)) & WS_CAPTION, 0u);
    EXPECT_EQ(clientSize(handle).cx, 600);
    EXPECT_EQ(clientSize(handle).cy, 500);
    RECT placed;
    GetWindowRect(handle, &placed);
    EXPECT_NEAR((placed.left + placed.right) / 2.0, (monitor.rcWork.left + monitor.rcWork.right) / 2.0, 1.0);

    // Alt+Enter, the Return let go after Alt: to full screen and back, to the same place.
    for (int i = 0; i < 2; ++i) {
        PostMessageW(handle, WM_SYSKEYDOWN, VK_RETURN, 1 | (1u << 29));
        PostMessageW(handle, WM_KEYUP, VK_RETURN, 1 | (1u << 30) | (1u << 31));
        pump(200);
        EXPECT_TRUE(seen.empty());
        if (i == 0) checkFull("after Alt+Enter");
        seen.clear();
    }
    RECT back;
    GetWindowRect(handle, &back);
    EXPECT_TRUE(EqualRect(&back, &placed)) << back.left << " " << back.top << " " << back.right << " " << back.bottom;
    // Return alone is the game's.
    PostMessageW(handle, WM_KEYDOWN, VK_RETURN, 1);
    pump(100);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].key, rt::vbKeyReturn);

    // F11 whose last key-up was lost comes marked as held before: with other keys pressed since, it is a
    // fresh press and switches; its own auto-repeat right after does not.
    PostMessageW(handle, WM_KEYDOWN, VK_F11, 1 | (1u << 30));
    pump(200);
    EXPECT_TRUE(backend->fullScreen());
    PostMessageW(handle, WM_KEYDOWN, VK_F11, 1 | (1u << 30));
    pump(200);
    EXPECT_TRUE(backend->fullScreen());
}

}  // namespace
