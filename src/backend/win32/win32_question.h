// The modal Yes/No question as the system's own message box. MessageBoxW blocks in a loop of its own,
// so it runs on a thread of its own: the program's thread goes on pumping its events and running its
// timers, as the runtime expects, while the box (owned by, and so disabling, the window that asks)
// waits for the answer. The answer comes back as a posted message.
#pragma once

#include "backend/win32/windows_api.h"

#include <memory>
#include <string>

#include "runtime/backend.h"

namespace win32 {

class QuestionBox {
public:
    // Opens the box; when it is answered, `message` is posted to `notify` with the id as wParam and
    // the answer (rt::vbYes or rt::vbNo) as lParam.
    QuestionBox(HWND owner, const std::wstring& title, const std::wstring& prompt, HWND notify, UINT message,
                rt::WindowId id);
    // A box still open (the program ends while it asks) is answered No, and its thread waited for while
    // this thread handles what the box sends it. A thread that has not ended after some seconds is left
    // to end by itself: it holds everything it uses, and posts no answer any more.
    // Runs on the thread that owns the box's owner window.
    ~QuestionBox();
    QuestionBox(const QuestionBox&) = delete;
    QuestionBox& operator=(const QuestionBox&) = delete;

    bool opened() const { return thread_ != nullptr; }
    DWORD threadId() const { return threadId_; }  // the thread whose windows are the box

    struct Asked;  // what the box's thread uses, shared with it

private:
    static DWORD WINAPI ask(LPVOID shared);

    std::shared_ptr<Asked> asked_;
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
};

}  // namespace win32
