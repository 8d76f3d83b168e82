// A field that the main thread and the render thread both touch while a stream plays. Plain
// reads and writes are relaxed atomic operations (on x86-64 the same single moves as an
// ordinary field), so no access is a data race; Publish and Acquire order the values written
// before a flag against the reads made after seeing it. Compound updates are a load and a
// store: only fields with a single writer at a time use them.
#pragma once

#include <atomic>

namespace qv {

template <typename T> class Shared {
public:
    Shared(T v = T{}) : v_(v) {}
    Shared(const Shared& other) : v_(other.Get()) {}
    Shared& operator=(const Shared& other) {
        Set(other.Get());
        return *this;
    }
    Shared& operator=(T v) {
        Set(v);
        return *this;
    }
    operator T() const { return Get(); }

    T Get() const { return v_.load(std::memory_order_relaxed); }
    void Set(T v) { v_.store(v, std::memory_order_relaxed); }
    // A flag that makes the values written before it visible to the thread that acquires it.
    void Publish(T v) { v_.store(v, std::memory_order_release); }
    T Acquire() const { return v_.load(std::memory_order_acquire); }

    // Bit sets updated by both threads.
    T FetchOr(T bits, std::memory_order order = std::memory_order_release) {
        return v_.fetch_or(bits, order);
    }
    T FetchAnd(T bits, std::memory_order order = std::memory_order_relaxed) {
        return v_.fetch_and(bits, order);
    }
    T Exchange(T v, std::memory_order order = std::memory_order_acquire) {
        return v_.exchange(v, order);
    }

    Shared& operator+=(T d) {
        Set(Get() + d);
        return *this;
    }
    Shared& operator-=(T d) {
        Set(Get() - d);
        return *this;
    }
    T operator++() { return *this += 1, Get(); }
    T operator--() { return *this -= 1, Get(); }

private:
    std::atomic<T> v_;
};

} // namespace qv
