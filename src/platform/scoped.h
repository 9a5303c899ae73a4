#pragma once

#include <utility>

namespace pag {

// Gives a variable a value for the length of a scope and puts the old one back when the
// scope ends, also when an error shown to the user ends it. The screens use it to keep
// a handler from running while they fill a control themselves
// (ScopedAssign<Handler> quiet(edit.OnChange, nullptr)) and for module flags.
template <typename T>
class ScopedAssign {
public:
    ScopedAssign(T& target, T value) : target_(target), saved_(std::move(target)) {
        target_ = std::move(value);
    }
    ~ScopedAssign() { target_ = std::move(saved_); }
    ScopedAssign(const ScopedAssign&) = delete;
    ScopedAssign& operator=(const ScopedAssign&) = delete;

private:
    T& target_;
    T saved_;
};

}  // namespace pag
