#pragma once

#include <atomic>
#include <cstddef>
#include <memory>

namespace ov {

// A fixed ring between exactly one producer thread and one consumer thread.
// Neither side ever locks or allocates, which is what lets the device callback
// sit on one end. Slots are filled and read in place, so large blocks are never
// copied twice.
template <typename T>
class SpscRing {
public:
    explicit SpscRing(std::size_t capacity) : slots_(std::make_unique<T[]>(capacity + 1)), size_(capacity + 1) {}

    // Producer: the slot to fill next, or null when the ring is full.
    T* BackSlot() {
        std::size_t tail = tail_.load(std::memory_order_relaxed);
        if (Next(tail) == head_.load(std::memory_order_acquire)) return nullptr;
        return &slots_[tail];
    }
    void Push() { tail_.store(Next(tail_.load(std::memory_order_relaxed)), std::memory_order_release); }
    bool TryPush(const T& value) {
        T* slot = BackSlot();
        if (slot == nullptr) return false;
        *slot = value;
        Push();
        return true;
    }

    // Consumer: the oldest filled slot, or null when the ring is empty.
    T* Front() {
        std::size_t head = head_.load(std::memory_order_relaxed);
        if (head == tail_.load(std::memory_order_acquire)) return nullptr;
        return &slots_[head];
    }
    void Pop() { head_.store(Next(head_.load(std::memory_order_relaxed)), std::memory_order_release); }

    // Either side, approximate while the other side moves.
    std::size_t Count() const {
        std::size_t head = head_.load(std::memory_order_acquire);
        std::size_t tail = tail_.load(std::memory_order_acquire);
        return tail >= head ? tail - head : tail + size_ - head;
    }
    std::size_t Capacity() const { return size_ - 1; }

private:
    std::size_t Next(std::size_t i) const { return i + 1 == size_ ? 0 : i + 1; }

    std::unique_ptr<T[]> slots_;
    std::size_t size_;
    std::atomic<std::size_t> head_{0};
    std::atomic<std::size_t> tail_{0};
};

}  // namespace ov
