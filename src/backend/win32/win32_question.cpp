#include "backend/win32/win32_question.h"

#include <atomic>
#include <bitset>
#include <cstdint>

#include "runtime/constants.h"

namespace win32 {

struct QuestionBox::Asked {
    HWND owner;
    std::wstring title;
    std::wstring prompt;
    HWND notify;
    UINT message;
    rt::WindowId id;
    std::atomic<bool> withdrawn{false};  // the program no longer waits for the answer
};

QuestionBox::QuestionBox(HWND owner, const std::wstring& title, const std::wstring& prompt, HWND notify, UINT message,
                         rt::WindowId id)
    : asked_(std::make_shared<Asked>(owner, title, prompt, notify, message, id)) {
    // The thread's own reference: what it uses lives until it ends, whenever that is.
    auto* shared = new std::shared_ptr<Asked>(asked_);
    thread_ = CreateThread(nullptr, 0, &QuestionBox::ask, shared, 0, &threadId_);
    if (thread_ == nullptr) delete shared;
}

namespace {

// The keys that were down when the box's thread began to ask, on that thread: their presses (the
// keyboard's auto-repeat) do not act on the box, as the system's box would let them (Right moving to No,
// Space pressing the button under a player whose hands were still on the game). Once a key is up (its
// release seen here, or found up by the watch below, when it was released before the box had the
// keyboard), its next press is the player's own.
thread_local std::bitset<256> heldAtOpen;

// The thread's keyboard hook: sees each key message before the box's loop takes it; nonzero drops it
// (and with it the character it would have typed). A release is let through: it acts on nothing here
// without the press that was dropped.
LRESULT CALLBACK dropHeldKeys(int code, WPARAM wParam, LPARAM lParam) {
    const std::size_t key = static_cast<std::size_t>(wParam) & 0xFF;
    if (code >= 0 && heldAtOpen.test(key)) {
        const bool release = (static_cast<std::uint64_t>(lParam) & 0x80000000u) != 0;
        if (!release) return 1;
        if (code == HC_ACTION) heldAtOpen.reset(key);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Clears the keys that are up now, wherever they were released.
void CALLBACK watchHeldKeys(HWND, UINT, UINT_PTR, DWORD) {
    for (std::size_t key = 1; key < heldAtOpen.size(); ++key)
        if (heldAtOpen.test(key) && (GetAsyncKeyState(static_cast<int>(key)) & 0x8000) == 0) heldAtOpen.reset(key);
}

constexpr UINT kWatchMs = 15;

}  // namespace

DWORD WINAPI QuestionBox::ask(LPVOID shared) {
    const std::unique_ptr<std::shared_ptr<Asked>> reference(static_cast<std::shared_ptr<Asked>*>(shared));
    Asked& asked = **reference;
    // The hook first, then the keys held: a key pressed in between is taken as held, never lost.
    HHOOK hook = SetWindowsHookExW(WH_KEYBOARD, &dropHeldKeys, nullptr, GetCurrentThreadId());
    for (int key = 1; key < 256; ++key)
        if ((GetAsyncKeyState(key) & 0x8000) != 0) heldAtOpen.set(static_cast<std::size_t>(key));
    const UINT_PTR watch = heldAtOpen.any() ? SetTimer(nullptr, 0, kWatchMs, &watchHeldKeys) : 0;
    // Yes is the default button. The question must be answered: a box closed without an answer (some
    // systems let its frame's close do that) is shown again.
    int pressed = 0;
    do {
        pressed = MessageBoxW(asked.owner, asked.prompt.c_str(), asked.title.c_str(),
                              MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1);
    } while (pressed != IDYES && pressed != IDNO && pressed != 0 && !asked.withdrawn);
    if (watch != 0) KillTimer(nullptr, watch);
    if (hook != nullptr) UnhookWindowsHookEx(hook);
    // A box that cannot be shown at all answers No: the program ends rather than wait for ever.
    const int answer = pressed == IDYES ? rt::vbYes : rt::vbNo;
    if (!asked.withdrawn)
        PostMessageW(asked.notify, asked.message, static_cast<WPARAM>(asked.id), static_cast<LPARAM>(answer));
    return 0;
}

namespace {

BOOL CALLBACK answerNo(HWND window, LPARAM) {
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
    return TRUE;
}

}  // namespace

QuestionBox::~QuestionBox() {
    if (thread_ == nullptr) return;
    asked_->withdrawn = true;
    // While the box ends it re-enables its owner, a window of this thread, and waits for that: messages
    // sent to this thread are handled meanwhile. The box may not exist yet: No is given until the thread
    // ends. It ends at once on every system seen; the bound only keeps the program from hanging.
    for (int i = 0; i < 200; ++i) {
        const DWORD woken = MsgWaitForMultipleObjects(1, &thread_, FALSE, 50, QS_SENDMESSAGE);
        if (woken == WAIT_OBJECT_0) break;
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);  // handles sent messages only
        if (woken == WAIT_TIMEOUT) EnumThreadWindows(threadId_, &answerNo, 0);
    }
    CloseHandle(thread_);
}

}  // namespace win32
