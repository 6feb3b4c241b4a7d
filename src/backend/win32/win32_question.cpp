#include "backend/win32/win32_question.h"

#include <atomic>

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

DWORD WINAPI QuestionBox::ask(LPVOID shared) {
    const std::unique_ptr<std::shared_ptr<Asked>> reference(static_cast<std::shared_ptr<Asked>*>(shared));
    Asked& asked = **reference;
    // Yes is the default button. The question must be answered: a box closed without an answer (some
    // systems let its frame's close do that) is shown again.
    int pressed = 0;
    do {
        pressed = MessageBoxW(asked.owner, asked.prompt.c_str(), asked.title.c_str(),
                              MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1);
    } while (pressed != IDYES && pressed != IDNO && pressed != 0 && !asked.withdrawn);
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
