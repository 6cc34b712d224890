// Replaces a value the code under test reads (typically a replaceable
// function pointer such as a static member) for the life of the guard, and
// puts the previous one back when it ends, also when the test fails.
#pragma once

template <typename T> class ScopedOverride {
public:
    ScopedOverride(T& target, T replacement) : target(target), saved(target) { target = replacement; }
    ~ScopedOverride() { target = saved; }
    ScopedOverride(const ScopedOverride&) = delete;
    ScopedOverride& operator=(const ScopedOverride&) = delete;

private:
    T& target;
    T saved;
};
