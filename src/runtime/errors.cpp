#include "runtime/errors.h"

namespace rt {

std::string RuntimeError::boxText() const {
    return "Run-time error '" + std::to_string(static_cast<int>(number_)) + "':\n\n" + what();
}

void raiseOverflow() { throw RuntimeError(ErrorNumber::Overflow, "Overflow"); }

void raiseSubscriptOutOfRange() { throw RuntimeError(ErrorNumber::SubscriptOutOfRange, "Subscript out of range"); }

void raiseWindowCallFailed(const std::string& what) {
    throw RuntimeError(ErrorNumber::WindowCallFailed, "Window call failed: " + what);
}

void raiseObjectNotSet() {
    throw RuntimeError(ErrorNumber::ObjectNotSet, "Object variable or With block variable not set");
}

}  // namespace rt
