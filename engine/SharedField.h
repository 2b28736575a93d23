#pragma once
// Working values that the editor reads on the user-interface thread while the
// thread that renders writes them (wave indexes, counts, switches, display
// times): written with publishField and read from other threads with
// peekField, both atomic, so neither side ever sees a torn value. The
// rendering thread itself reads them plainly.

#include <atomic>
#include <type_traits>

// Stores a working value for readers on other threads. The thread that writes the engine.
template <class T>
inline void publishField(T& field, std::type_identity_t<T> value) {
    std::atomic_ref<T>(field).store(value, std::memory_order_relaxed);
}

// Reads a working value that another thread may be writing. Any thread.
template <class T>
inline T peekField(const T& field) {
    return std::atomic_ref<T>(const_cast<T&>(field)).load(std::memory_order_relaxed);
}
