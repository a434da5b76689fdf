// What every exported function shares: the catch-all that keeps exceptions inside the library,
// the readers of caller texts and records, and the bounded copy of list results into caller
// arrays.
//
// Readers never read past a caller's field: a text in a record ends at its NUL or at the end
// of its field, whichever comes first. A null text pointer reads as the empty text.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

#include "vomtel/core/result_codes.h"
#include "vomtel/requests/service/fixed_text.h"
#include "vomtel/vomtel.h"

namespace vomtel::api {

// A required record or output pointer is null: nothing is sent.
inline constexpr int kNullArgument = kZeroDevice;

// Runs the export's body; any exception, of whatever type, gives 3112.
template <class Body>
int Export(Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return kInternalError;
  }
}

// A caller's NUL-terminated text; empty for null.
inline std::string_view Text(const char* text) { return text ? std::string_view(text) : std::string_view(); }

// A text of at most `size` bytes: up to its NUL or the end of the field.
inline std::string_view BoundedText(const char* field, std::size_t size) {
  if (!field) return {};
  const void* nul = std::memchr(field, 0, size);
  return {field, nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - field) : size};
}

template <std::size_t N>
std::string_view FieldText(const char (&field)[N]) {
  return BoundedText(field, N);
}

// The text of a UserDataBlock; empty for a null block. Length is not read.
inline std::string_view BlockText(const UserDataBlock* block) {
  return block ? FieldText(block->Text) : std::string_view();
}

// Copies `text` into a caller's field, cut to the field's size less one, NUL-terminated.
// Returns the bytes of text copied.
template <std::size_t N>
std::size_t PutText(std::string_view text, char (&field)[N]) {
  return CopyToFixed(text, std::span<char>(field, N));
}

// How many entries a list export may write: the caller's maximum count (none when it is 0 or
// less), never more than `cap`.
inline std::size_t ListRoom(std::int64_t maxCount, std::size_t cap) {
  if (maxCount <= 0) return 0;
  return std::min(static_cast<std::size_t>(maxCount), cap);
}

// Writes the first `room` items of `list` into `entries` with `fill(item, entry)` and returns
// how many were written. Only the fields that `fill` sets are touched.
template <class Item, class Entry, class Fill>
std::uint32_t CopyEntries(const std::vector<Item>& list, Entry* entries, std::size_t room,
                          Fill&& fill) {
  const std::size_t n = std::min(list.size(), room);
  for (std::size_t i = 0; i < n; ++i) fill(list[i], entries[i]);
  return static_cast<std::uint32_t>(n);
}

// The common shape of a list export: `query(list)` runs the operation into a fresh list; on 1
// the first `room` items go to the caller's entries and their number to `*count`; on any other
// result neither is touched. Null entries or count: 3009, nothing sent.
template <class Item, class Entry, class Query, class Fill>
int ListExport(Entry* entries, std::uint32_t* count, std::size_t room, Query&& query, Fill&& fill) {
  if (!entries || !count) return kNullArgument;
  std::vector<Item> list;
  const int result = query(list);
  if (result != kOk) return result;
  *count = CopyEntries(list, entries, room, fill);
  return result;
}

// A 32-bit number that the adapter takes as unsigned.
inline std::uint32_t U32(int value) { return static_cast<std::uint32_t>(value); }
inline std::uint8_t LowByte(std::int32_t value) { return static_cast<std::uint8_t>(value & 0xFF); }

}  // namespace vomtel::api
