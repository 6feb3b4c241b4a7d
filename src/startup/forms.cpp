#include "startup/forms.h"

#include <stdexcept>

namespace quorvex {

namespace {
Forms* g_running = nullptr;
}

Forms::Forms(rt::Runtime& runtime) : runtime_(runtime) { g_running = this; }

Forms::~Forms() {
    for (auto slot = slots_.rbegin(); slot != slots_.rend(); ++slot) slot->window.reset();
    if (g_running == this) g_running = nullptr;
}

void Forms::declare(std::type_index type, Factory make) { slots_.push_back(Slot{type, std::move(make), nullptr}); }

const Forms::Slot& Forms::slotOf(std::type_index type) const {
    for (const Slot& slot : slots_)
        if (slot.type == type) return slot;
    throw std::logic_error(std::string("the program has no window of type ") + type.name());
}

Forms::Slot& Forms::slotOf(std::type_index type) {
    return const_cast<Slot&>(static_cast<const Forms&>(*this).slotOf(type));
}

rt::Form& Forms::reach(std::type_index type) {
    if (g_running == nullptr) throw std::logic_error("no program is running");
    Slot& slot = g_running->slotOf(type);
    if (!slot.window) slot.window = slot.make(g_running->runtime_);
    return *slot.window;
}

}  // namespace quorvex
