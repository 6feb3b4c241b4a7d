// The forms runtime: event dispatch, timers, DoEvents, modality, the program's run and end.
//
// One Runtime exists while the program runs; the free functions below (DoEvents, MsgBox, End, Rnd...)
// reach it as the system's code expects of its platform. A handler runs only inside DoEvents (or the
// top-level loop, or a modal question), which may nest.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "runtime/backend.h"
#include "runtime/checked.h"
#include "runtime/constants.h"
#include "runtime/pass_budget.h"
#include "runtime/program_identity.h"
#include "runtime/random.h"
#include "runtime/surface.h"

namespace rt {

class Form;
class PictureBox;

class Runtime {
public:
    Runtime(Backend& backend, const ProgramIdentity& identity);
    ~Runtime();
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    // The running runtime. Reaching for it when none runs is a fault of our own (std::logic_error),
    // never one of the system's run-time errors.
    static Runtime& current();
    static bool exists();

    Backend& backend() { return backend_; }
    SurfaceTable& surfaces() { return surfaces_; }
    Random& random() { return random_; }

    // Run `main`, then keep running while any form is loaded. Returns the exit status:
    // 0 after a normal end or End, 1 after a run-time error (shown in an error box first; running
    // out of memory is one). However the run ends, every window is closed before it returns, and
    // any other exception goes on to the caller.
    int run(const std::function<void()>& main);

    // The system's DoEvents: one pass of its loops. Handles what is pending: events, due timers, windows
    // to show again; at a pass rate, first waits when the passes of this millisecond are spent.
    void doEvents();
    // The pace of the system's loops: 0 (the default) is the design's busy loop, DoEvents never waits;
    // N runs them as on a machine that makes N passes a second (runtime/pass_budget.h).
    void setPassRate(std::uint32_t passesPerSecond);
    // A pause of play (Form::pausesPlay): while it lasts, nothing but the player's resume, key releases,
    // the close box and repaints is handled; no timer counts and the program sleeps.
    // At a pass rate, a loop of the system's may say that it has nothing to do but count for `ms` from
    // the time it last read (until its next frame), whatever events come: DoEvents then sleeps through
    // that time unless a timer or an event comes first, and makes its passes on waking
    // (runtime/pass_budget.h). The busy loop has nothing to skip, and ignores it.
    void nothingDueFor(std::uint64_t ms);
    // The system's counter as the running pass reads it: at a pass rate, a pass made up for a millisecond
    // slept through reads that millisecond.
    std::uint32_t tickCount();
    bool paused() const { return pausedForm_ != nullptr; }
    int msgBox(const std::string& prompt, int style, const std::string& title);
    [[noreturn]] void end();

    bool anyFormLoaded() const;
    bool modal() const { return !dialogs_.empty(); }
    void registerForm(Form* form);
    void unregisterForm(Form* form);
    void releaseCapture(const PictureBox* picture);
    // Whether a window's frame could be shown. A failure now and then is borne (the next frame may well
    // be shown); frames that cannot be shown for a second on end are a failing window call.
    void frameShown(bool shown);

private:
    std::uint64_t waitForPass(bool& waited);  // returns the clock's reading for the pass
    void pump();  // one round of events, timers and repaints: the runtime's own loops, which never wait here
    void dispatchEvents();
    void dispatch(const Event& event);
    void dispatchTimers(std::uint64_t now);
    Form* pausableForm() const;
    void pause(Form& form);
    void holdPause();  // returns when the player resumes or the paused form is gone
    void dispatchWhilePaused(const Event& event);
    void showPaused();
    void presentInvalidated();
    void reportError(const RuntimeError& error) noexcept;  // a line on standard error, then the box if it can
    void reportOutOfMemory() noexcept;
    void closeEverything();
    std::uint64_t nextTimerDue() const;
    Form* formOf(WindowId window) const;

    Backend& backend_;
    std::string title_;    // the program's name, the title of its error boxes
    std::string command_;  // the prefix of its messages on standard error
    SurfaceTable surfaces_;
    Random random_;
    std::vector<Form*> forms_;
    struct OpenDialog {
        WindowId id;
        int answer;
    };
    std::vector<OpenDialog> dialogs_;
    PictureBox* capture_ = nullptr;
    std::optional<std::uint64_t> failingSince_;  // monotonic ms of the first of a run of unshown frames
    std::optional<PassBudget> passBudget_;       // empty: the busy loop
    std::uint64_t lastLookMs_ = UINT64_MAX;      // at a pass rate: when a pass last read the platform's events
    std::uint64_t passLagMs_ = 0;                // how far the running pass's millisecond is behind the clock
    std::uint64_t clockMs_ = 0;                  // at a pass rate: the clock's last reading
    std::uint32_t tickAtClock_ = 0;              // the tick count at that reading, when passes lag behind it
    std::optional<std::uint32_t> lastTickRead_;  // under a pass rate: the latest time a pass has read
    std::uint64_t quietUntilMs_ = 0;             // at a pass rate: the running loop has nothing to do before then
    Form* pausedForm_ = nullptr;
    std::uint64_t pausedAtMs_ = 0;
};

// The platform services as the system's code calls them.
void DoEvents();
// The system's millisecond counter as a signed 32-bit value: it reads negative after 2^31 - 1 ms
// of up-time and wraps from 2,147,483,647 to -2,147,483,648.
Long GetTickCount();
// Runtime::nothingDueFor, as the system's loops say it.
void NothingDueFor(Long ms);
// Copies a rectangle between two drawing surfaces named by handle, with SRCCOPY, SRCAND or SRCPAINT,
// clipped to both. Returns 1 when it copied, 0 when a handle names no surface (a window or sprite
// that is gone) or the operation is unknown.
Long BitBlt(Long hDestDC, Long x, Long y, Long nWidth, Long nHeight, Long hSrcDC, Long xSrc, Long ySrc, Long dwRop);
int MsgBox(const std::string& prompt, int style, const std::string& title);
[[noreturn]] void End();
float TimeOfDay();  // seconds since midnight with fraction, single precision
float Rnd();
void Randomize(double seed);

}  // namespace rt
