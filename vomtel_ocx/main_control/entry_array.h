// The zeroed entry array of one list query, of a fixed capacity, on the heap (the largest is
// 1,000 agent entries of 1,216 bytes), freed when the call returns.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace vomtelx {

template <class Entry>
class EntryArray {
 public:
  explicit EntryArray(std::size_t capacity)
      : entries_(new Entry[capacity]()), capacity_(capacity) {}

  Entry* data() { return entries_.get(); }
  std::uint32_t* count() { return &count_; }
  std::size_t capacity() const { return capacity_; }

  // The host's maximum count, never more than the array holds.
  int Clamp(std::int32_t maxCount) const {
    return static_cast<int>(std::min<std::int64_t>(maxCount, static_cast<std::int64_t>(capacity_)));
  }

  // The entries the library returned (never more than the array holds).
  std::span<const Entry> Returned() const {
    return {entries_.get(), std::min<std::size_t>(count_, capacity_)};
  }

 private:
  std::unique_ptr<Entry[]> entries_;
  std::size_t capacity_;
  std::uint32_t count_ = 0;
};

// The library's failure code as the list methods hand it back: negated (without overflow).
inline std::int32_t Negated(int result) {
  return static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(result));
}

}  // namespace vomtelx
