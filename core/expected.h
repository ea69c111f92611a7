#pragma once

#include <string>
#include <utility>
#include <variant>

namespace quintor {

// The Italian (or runtime-style) text of a failure, ready to show to the user.
struct Failure {
    std::string message;
};

// A value or the reason it could not be produced. C++20 has no std::expected yet.
template <class T> class Expected {
public:
    Expected(T value) : state_(std::move(value)) {}
    Expected(Failure failure) : state_(std::move(failure)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }
    const T& value() const { return std::get<0>(state_); }
    T& value() { return std::get<0>(state_); }
    const T& operator*() const { return value(); }
    T& operator*() { return value(); }
    const T* operator->() const { return &value(); }
    T* operator->() { return &value(); }
    const std::string& error() const { return std::get<1>(state_).message; }

private:
    std::variant<T, Failure> state_;
};

} // namespace quintor
