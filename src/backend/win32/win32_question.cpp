#include "backend/win32/win32_question.h"

#include "runtime/constants.h"

namespace win32 {

QuestionBox::QuestionBox(HWND owner, const std::wstring& title, const std::wstring& prompt, HWND notify, UINT message,
                         rt::WindowId id)
    : owner_(owner), title_(title), prompt_(prompt), notify_(notify), message_(message), id_(id) {
    thread_ = CreateThread(nullptr, 0, &QuestionBox::ask, this, 0, &threadId_);
}

DWORD WINAPI QuestionBox::ask(LPVOID self) {
    auto* box = static_cast<QuestionBox*>(self);
    // Yes is the default button. The question must be answered: a box closed without an answer (some
    // systems let its frame's close do that) is shown again.
    int pressed = 0;
    do {
        pressed = MessageBoxW(box->owner_, box->prompt_.c_str(), box->title_.c_str(),
                              MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1);
    } while (pressed != IDYES && pressed != IDNO && pressed != 0);
    // A box that cannot be shown at all answers No: the program ends rather than wait for ever.
    const int answer = pressed == IDYES ? rt::vbYes : rt::vbNo;
    PostMessageW(box->notify_, box->message_, static_cast<WPARAM>(box->id_), static_cast<LPARAM>(answer));
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
    // While the box ends it re-enables its owner, a window of this thread, and waits for that: messages
    // sent to this thread are handled meanwhile. The box may not exist yet: No is given until the thread ends.
    for (int i = 0; i < 100; ++i) {
        const DWORD woken = MsgWaitForMultipleObjects(1, &thread_, FALSE, 50, QS_SENDMESSAGE);
        if (woken == WAIT_OBJECT_0) break;
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);  // handles sent messages only
        if (woken == WAIT_TIMEOUT) EnumThreadWindows(threadId_, &answerNo, 0);
    }
    CloseHandle(thread_);
}

}  // namespace win32
