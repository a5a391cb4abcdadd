#pragma once
// Sets a variable for the lifetime of a scope and puts its former value back.

#include <utility>

template <class T>
class ScopedValue {
public:
    ScopedValue(T& place, T value) : place_(place), former_(std::exchange(place, std::move(value))) {}
    ~ScopedValue() { place_ = std::move(former_); }
    ScopedValue(const ScopedValue&) = delete;
    ScopedValue& operator=(const ScopedValue&) = delete;

private:
    T& place_;
    T former_;
};
