// The running program's windows, each created on its first reference, as the code names it
// (`form<frmGame>()`), and kept until the run ends. The program declares which windows it has, in the
// order in which they are usually created; they are destroyed in the reverse order.
#pragma once

#include <functional>
#include <memory>
#include <typeindex>
#include <typeinfo>
#include <vector>

#include "runtime/form.h"
#include "runtime/runtime.h"

namespace quorvex {

class Forms {
public:
    explicit Forms(rt::Runtime& runtime);  // the running program's windows from now until destroyed
    ~Forms();
    Forms(const Forms&) = delete;
    Forms& operator=(const Forms&) = delete;

    template <class Window>
    void declare() {
        declare(typeid(Window), [](rt::Runtime& runtime) { return std::make_unique<Window>(runtime); });
    }

    template <class Window>
    bool created() const {
        return slotOf(typeid(Window)).window != nullptr;
    }

    // The running program's window of this type, created now if it was never referenced. No program
    // running, or a window it did not declare, is a fault of our own (std::logic_error).
    static rt::Form& reach(std::type_index type);

private:
    using Factory = std::function<std::unique_ptr<rt::Form>(rt::Runtime&)>;
    struct Slot {
        std::type_index type;
        Factory make;
        std::unique_ptr<rt::Form> window;
    };
    void declare(std::type_index type, Factory make);
    const Slot& slotOf(std::type_index type) const;
    Slot& slotOf(std::type_index type);

    rt::Runtime& runtime_;
    std::vector<Slot> slots_;
};

// The one way to reach a window: form<frmGame>() is the game window of the running program.
template <class Window>
Window& form() {
    return static_cast<Window&>(Forms::reach(typeid(Window)));
}

}  // namespace quorvex
