// Run-time errors and the program's end.
//
// A run-time error (overflow, index out of bounds, a failing window call) is an exception that nothing
// in the game catches: it unwinds to the top level, which shows the error box and ends the program.
// End unwinds the same way, but quietly, so that no further handler runs.
#pragma once

#include <stdexcept>
#include <string>

namespace rt {

enum class ErrorNumber : int {
    Overflow = 6,
    SubscriptOutOfRange = 9,
    WindowCallFailed = 7,  // reported by the platform layer ("out of memory" is its usual wording)
    ObjectNotSet = 91,
};

class RuntimeError : public std::runtime_error {
public:
    RuntimeError(ErrorNumber number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    ErrorNumber number() const { return number_; }
    // "Run-time error '6':\n\nOverflow", the text the error box shows.
    std::string boxText() const;

private:
    ErrorNumber number_;
};

[[noreturn]] void raiseOverflow();
[[noreturn]] void raiseSubscriptOutOfRange();
[[noreturn]] void raiseWindowCallFailed(const std::string& what);
[[noreturn]] void raiseObjectNotSet();

// A file that cannot be read or written as its format requires (a bitmap, an icon): every decoder and
// encoder reports failure this way, with the reason as its message.
struct FormatError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Thrown by End(); caught only by the top level. Not a std::exception on purpose, so that no
// catch of standard errors anywhere can swallow it.
struct EndProgram {};

}  // namespace rt
