#include "runtime/runtime.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <stdexcept>

#include "runtime/bit_cast.h"
#include "runtime/form.h"

namespace rt {

namespace {
Runtime* g_current = nullptr;
constexpr std::uint64_t kFailingFramesMs = 1000;
}  // namespace

Runtime::Runtime(Backend& backend, const ProgramIdentity& identity)
    : backend_(backend), title_(identity.title), command_(identity.command) {
    g_current = this;
}

Runtime::~Runtime() {
    if (g_current == this) g_current = nullptr;
}

Runtime& Runtime::current() {
    if (g_current == nullptr) throw std::logic_error("no runtime is running");
    return *g_current;
}

bool Runtime::exists() { return g_current != nullptr; }

void Runtime::registerForm(Form* form) { forms_.push_back(form); }

void Runtime::unregisterForm(Form* form) { std::erase(forms_, form); }

bool Runtime::anyFormLoaded() const {
    return std::any_of(forms_.begin(), forms_.end(), [](const Form* f) { return f->isLoaded(); });
}

Form* Runtime::formOf(WindowId window) const {
    if (window == 0) return nullptr;
    for (Form* form : forms_)
        if (form->isLoaded() && form->window() == window) return form;
    return nullptr;
}

void Runtime::frameShown(bool shown) {
    if (shown) {
        failingSince_.reset();
        return;
    }
    const std::uint64_t now = backend_.monotonicMs();
    if (!failingSince_) failingSince_ = now;
    if (now - *failingSince_ >= kFailingFramesMs) raiseWindowCallFailed("the window's frames cannot be shown");
}

void Runtime::releaseCapture(const PictureBox* picture) {
    if (capture_ != nullptr && capture_ == picture) {
        capture_ = nullptr;
        backend_.setMouseCapture(false);
    }
}

int Runtime::run(const std::function<void()>& main) {
    struct Teardown {
        Runtime& runtime;
        // Ends the run whatever happened: a window that cannot be closed now is closed with its back-end.
        ~Teardown() {
            try {
                runtime.closeEverything();
            } catch (...) {
            }
        }
    } teardown{*this};
    try {
        main();
        while (anyFormLoaded()) {
            backend_.waitForEvent(nextTimerDue());
            pump();
        }
    } catch (const EndProgram&) {
        return 0;
    } catch (const RuntimeError& error) {
        reportError(error);
        return 1;
    } catch (const std::bad_alloc&) {
        reportOutOfMemory();
        return 1;
    }
    return 0;
}

void Runtime::reportError(const RuntimeError& error) noexcept {
    // The line first: it needs no memory, and it is enough when the box cannot be shown (memory may be
    // what ran out).
    std::fprintf(stderr, "%s: %s\n", command_.c_str(), error.what());
    try {
        // A press on the start button may still hold the mouse: the error box must be able to take it.
        releaseCapture(capture_);
        backend_.showError(title_, error.boxText());
    } catch (...) {
    }
}

void Runtime::reportOutOfMemory() noexcept {
    try {
        reportError(RuntimeError(ErrorNumber::WindowCallFailed, "Out of memory"));
    } catch (...) {  // not even the error could be made
        std::fprintf(stderr, "%s: Out of memory\n", command_.c_str());
    }
}

// Nothing stays open after the program ends: no handler runs from here on.
void Runtime::closeEverything() {
    releaseCapture(capture_);
    for (Form* form : std::vector<Form*>(forms_)) form->destroyWindow();
}

void Runtime::setPassRate(std::uint32_t passesPerSecond) {
    if (passesPerSecond == 0)
        passBudget_.reset();
    else
        passBudget_.emplace(passesPerSecond);
    passLagMs_ = 0;
    lastTickRead_.reset();
}

void Runtime::nothingDueFor(std::uint64_t ms) {
    if (passBudget_) quietUntilMs_ = clockMs_ - passLagMs_ + ms;  // from the running pass's millisecond
}

std::uint32_t Runtime::tickCount() {
    std::uint32_t tick = passLagMs_ > 0 ? tickAtClock_ - static_cast<std::uint32_t>(passLagMs_) : backend_.tickCount();
    // Under a pass rate the time read never goes back. A pass made for a millisecond slept through reads
    // that millisecond, but the clock goes on meanwhile: a frame that took a millisecond has already read
    // a later one, and a loop that compares readings would take the step back for a wrapped-round wait.
    if (passBudget_) {
        if (lastTickRead_ && static_cast<std::int32_t>(tick - *lastTickRead_) < 0) tick = *lastTickRead_;
        lastTickRead_ = tick;
    }
    return tick;
}

void Runtime::doEvents() {
    if (!passBudget_) {
        pump();
        return;
    }
    // A millisecond's passes run back to back in a few microseconds. The platform's events are read by
    // the first of them, or by the pass that a wait ended: an event is still handled within the
    // millisecond it came in, and the others cost next to nothing (reading the platform's queue costs
    // more than the rest of a pass).
    bool waited = false;
    const std::uint64_t now = waitForPass(waited);
    // What a loop run by a handler says of itself is not said of this one.
    const std::uint64_t quietUntil = quietUntilMs_;
    if (waited || now != lastLookMs_) {
        lastLookMs_ = now;
        dispatchEvents();
        if (paused()) {
            holdPause();
            return;  // the pass that paused ends here; the next one starts afresh
        }
    }
    dispatchTimers(now);
    quietUntilMs_ = quietUntil;
    presentInvalidated();
}

// The one place where a loop of the system waits: when this millisecond's passes are spent, until the
// next millisecond, or while the loop has said it has nothing to do but count (then up to the next
// timer), or until an event, whichever comes first. An event is handled in the pass that follows; the
// passes of the milliseconds slept through come before it, each reading its own millisecond's time.
std::uint64_t Runtime::waitForPass(bool& waited) {
    waited = false;
    // The passes of milliseconds slept through come one by one whatever the clock says: while they are
    // made, it is not read again (on some platforms a reading costs more than a pass).
    if (passLagMs_ > 0) {
        if (const std::optional<std::uint64_t> pass = passBudget_->take(clockMs_, quietUntilMs_)) {
            passLagMs_ = clockMs_ - *pass;
            return *pass;
        }
    }
    std::uint64_t now = backend_.monotonicMs();
    std::optional<std::uint64_t> pass = passBudget_->take(now, quietUntilMs_);
    waited = !pass;
    if (waited) {
        std::uint64_t until = now + 1;
        if (quietUntilMs_ > until) until = std::max(until, std::min(quietUntilMs_, nextTimerDue()));
        backend_.waitForEvent(until);
        now = backend_.monotonicMs();
        pass = passBudget_->takeOrBorrow(now, quietUntilMs_);
    }
    clockMs_ = now;
    passLagMs_ = now - *pass;
    // The time the made-up passes read: the tick at this reading, less how far each is behind it.
    if (passLagMs_ > 0) tickAtClock_ = backend_.tickCount();
    return *pass;
}

void Runtime::pump() {
    // The runtime's own loop: no loop of the system's is between passes here, and the time is the clock's.
    quietUntilMs_ = 0;
    passLagMs_ = 0;
    dispatchEvents();
    if (paused()) holdPause();
    dispatchTimers(backend_.monotonicMs());
    presentInvalidated();
}

void Runtime::dispatchEvents() {
    Event event;
    while (!paused() && backend_.pollEvent(event)) dispatch(event);
}

void Runtime::dispatch(const Event& event) {
    if (event.type == EventType::DialogAnswer) {
        for (OpenDialog& dialog : dialogs_)
            if (dialog.id == event.window) dialog.answer = event.answer;
        return;
    }
    if (event.type == EventType::FocusLost) {
        if (Form* playing = pausableForm(); playing != nullptr && !modal()) pause(*playing);
        return;
    }
    Form* form = formOf(event.window);
    if (form == nullptr) return;  // a window already closed, or one that is not ours
    if (event.type == EventType::Expose) {
        form->invalidate();
        return;
    }
    // While a question is open, the other windows take no input and cannot be closed.
    if (modal()) return;
    switch (event.type) {
        case EventType::KeyDown: {
            if (form->pausesPlay && (event.key == vbKeyP || event.key == vbKeyPause)) {
                if (!event.repeat) pause(*form);
                break;
            }
            Integer code = event.key;
            form->Form_KeyDown(code, 0);
            break;
        }
        case EventType::KeyUp: {
            Integer code = event.key;
            form->Form_KeyUp(code, 0);
            break;
        }
        case EventType::MouseDown: {
            PictureBox* picture = form->pictureAt(event.x, event.y);
            if (picture == nullptr) break;
            capture_ = picture;
            backend_.setMouseCapture(true);
            if (picture->onMouseDown)
                picture->onMouseDown(event.button, 0, static_cast<float>(event.x - picture->Left().value()),
                                     static_cast<float>(event.y - picture->Top().value()));
            break;
        }
        case EventType::MouseUp: {
            // The press captured the mouse: the release goes to the same picture, wherever it is.
            PictureBox* picture = capture_;
            if (picture == nullptr) break;
            capture_ = nullptr;
            backend_.setMouseCapture(false);
            if (picture->onMouseUp)
                picture->onMouseUp(event.button, 0, static_cast<float>(event.x - picture->Left().value()),
                                   static_cast<float>(event.y - picture->Top().value()));
            break;
        }
        case EventType::Close: form->Unload(vbFormControlMenu); break;
        case EventType::Minimised:
            if (form->pausesPlay) pause(*form);
            break;
        default: break;
    }
}

// ---- the pause ----

Form* Runtime::pausableForm() const {
    for (Form* form : forms_)
        if (form->pausesPlay && form->isLoaded() && form->isShown()) return form;
    return nullptr;
}

void Runtime::pause(Form& form) {
    if (paused()) return;
    pausedForm_ = &form;
    pausedAtMs_ = backend_.monotonicMs();
    showPaused();
}

// Sleeps in the platform's wait with no deadline: no pass, timer or frame runs until the player resumes.
// Then every timer's next tick moves on by the pause's length, so that none falls due behind the player's
// back (the "Get Ready" countdown goes on where it stopped), and the pace starts afresh.
void Runtime::holdPause() {
    Event event;
    while (paused()) {
        if (backend_.pollEvent(event))
            dispatchWhilePaused(event);
        else
            backend_.waitForEvent(kWaitForever);
    }
    const std::uint64_t length = backend_.monotonicMs() - pausedAtMs_;
    for (Form* form : forms_)
        for (Timer* timer : form->timers()) timer->postpone(length);
    if (passBudget_) passBudget_->restart();
    passLagMs_ = 0;
}

// While paused, a key-down other than P or Pause and any click are dropped; key-ups go on, so that a key
// let go during the pause does not hold on after it.
void Runtime::dispatchWhilePaused(const Event& event) {
    Form* form = formOf(event.window);
    const bool onPaused = form != nullptr && form == pausedForm_;
    switch (event.type) {
        case EventType::KeyDown:
            if (onPaused && !event.repeat && (event.key == vbKeyP || event.key == vbKeyPause)) {
                pausedForm_ = nullptr;
                form->invalidate();  // the next repaint shows play again
            }
            break;
        case EventType::KeyUp:
            if (form != nullptr) {
                Integer code = event.key;
                form->Form_KeyUp(code, 0);
            }
            break;
        case EventType::Expose:
            if (onPaused)
                showPaused();
            else if (form != nullptr)
                form->invalidate();
            break;
        case EventType::Close:
            if (form != nullptr) form->Unload(vbFormControlMenu);
            break;
        default: break;  // clicks, further pauses, the focus
    }
    if (pausedForm_ != nullptr && !pausedForm_->isLoaded()) pausedForm_ = nullptr;  // closed while paused
}

// The last frame dimmed, with the way back on it: drawn on a copy at present time, never into the form's image.
void Runtime::showPaused() {
    Form& form = *pausedForm_;
    if (form.dirty()) form.repaint();
    Surface look = form.screen();
    for (Pixel& pixel : look.pixels) pixel = (pixel >> 2) & 0x3F3F3Fu;  // a quarter of each channel
    LabelText text;
    text.width = look.width;
    text.height = 40;
    text.top = look.height * 2 / 3;  // below a form's labels in the middle (the game's "Get Ready")
    text.text = "Paused - press P to play on";
    text.fore = colour::white;
    text.font = {"MS Sans Serif", 14, true};
    backend_.drawLabelText(look, text);
    frameShown(backend_.present(form.window(), look));
}

void Runtime::dispatchTimers(std::uint64_t now) {
    for (Form* form : std::vector<Form*>(forms_)) {
        if (!form->isLoaded()) continue;
        for (Timer* timer : form->timers()) {
            if (!form->isLoaded()) break;  // an earlier handler unloaded it
            timer->fireIfDue(now);
        }
    }
}

std::uint64_t Runtime::nextTimerDue() const {
    std::uint64_t next = kWaitForever;
    for (const Form* form : forms_) {
        if (!form->isLoaded()) continue;
        for (const Timer* timer : form->timers())
            if (timer->Enabled() && !timer->inHandler() && timer->Interval() > 0) next = std::min(next, timer->dueAt());
    }
    return next;
}

void Runtime::presentInvalidated() {
    for (Form* form : std::vector<Form*>(forms_))
        if (form->dirty() && form->isShown()) form->repaint();
}

int Runtime::msgBox(const std::string& prompt, int style, const std::string& title) {
    (void)style;  // the only style the system asks for is a Yes/No question
    const WindowId id = backend_.openQuestion(title, prompt);
    if (id == 0) raiseWindowCallFailed("cannot open the question");
    dialogs_.push_back({id, 0});
    struct Closer {
        Runtime& rt;
        WindowId id;
        ~Closer() {
            std::erase_if(rt.dialogs_, [this](const OpenDialog& d) { return d.id == id; });
            rt.backend_.closeQuestion(id);
        }
    } closer{*this, id};
    auto answer = [&] {
        for (const OpenDialog& d : dialogs_)
            if (d.id == id) return d.answer;
        return 0;
    };
    // What the windows drew before the question (the last frame of play) shows while it waits, not
    // only from the next event or timer tick on.
    presentInvalidated();
    while (answer() == 0) {
        backend_.waitForEvent(nextTimerDue());
        pump();
    }
    return answer();
}

void Runtime::end() { throw EndProgram{}; }

void DoEvents() { Runtime::current().doEvents(); }

int MsgBox(const std::string& prompt, int style, const std::string& title) {
    return Runtime::current().msgBox(prompt, style, title);
}

void End() { Runtime::current().end(); }

Long GetTickCount() { return Long(bitCast<std::int32_t>(Runtime::current().tickCount())); }

void NothingDueFor(Long ms) { Runtime::current().nothingDueFor(static_cast<std::uint64_t>(std::max(0, ms.value()))); }

Long BitBlt(Long hDestDC, Long x, Long y, Long nWidth, Long nHeight, Long hSrcDC, Long xSrc, Long ySrc, Long dwRop) {
    const SurfaceTable& surfaces = Runtime::current().surfaces();
    Surface* dst = surfaces.find(hDestDC.value());
    const Surface* src = surfaces.find(hSrcDC.value());
    if (dst == nullptr || src == nullptr) return 0;
    return blit(*dst, x.value(), y.value(), nWidth.value(), nHeight.value(), *src, xSrc.value(), ySrc.value(),
                dwRop.value())
               ? 1
               : 0;
}

float TimeOfDay() { return static_cast<float>(Runtime::current().backend().secondsSinceMidnight()); }

float Rnd() { return Runtime::current().random().next(); }

void Randomize(double seed) { Runtime::current().random().reseed(seed); }

}  // namespace rt
