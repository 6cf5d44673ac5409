// A fixed-size queue from one thread to one other, without locks: the hand-over to the audio thread.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <optional>

template <class T, std::size_t Capacity>
class SpscRing {
 public:
  // Producer side. False when the ring is full.
  bool push(const T& item) {
    const std::size_t tail = tail_.load(std::memory_order_relaxed);
    if (tail - head_.load(std::memory_order_acquire) == Capacity) return false;
    items_[tail % Capacity] = item;
    tail_.store(tail + 1, std::memory_order_release);
    return true;
  }

  // Consumer side. Nothing when the ring is empty.
  std::optional<T> pop() {
    const std::size_t head = head_.load(std::memory_order_relaxed);
    if (head == tail_.load(std::memory_order_acquire)) return std::nullopt;
    T item = items_[head % Capacity];
    head_.store(head + 1, std::memory_order_release);
    return item;
  }

 private:
  std::array<T, Capacity> items_{};
  std::atomic<std::size_t> head_{0};
  std::atomic<std::size_t> tail_{0};
};
