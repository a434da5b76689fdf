#include "support/byte_fakes.h"

#include <algorithm>
#include <filesystem>

namespace vomtel::test {

Bytes WireFrame(std::uint8_t first, const Bytes& body) {
  // Sized once and filled in place: growing a three-byte vector by the body makes g++ 12 at -O3
  // see a copy out of bounds that is not there.
  Bytes frame(3 + body.size());
  frame[0] = first;
  frame[1] = static_cast<std::uint8_t>(body.size() >> 8);
  frame[2] = static_cast<std::uint8_t>(body.size() & 0xFF);
  std::copy(body.begin(), body.end(), frame.begin() + 3);
  return frame;
}

Bytes Filled(std::size_t count, std::uint8_t value) { return Bytes(count, value); }

Bytes Concat(const Bytes& a, const Bytes& b) {
  Bytes all = a;
  all.insert(all.end(), b.begin(), b.end());
  return all;
}

void FedSource::Feed(const Bytes& bytes) { bytes_.insert(bytes_.end(), bytes.begin(), bytes.end()); }

int FedSource::Read(std::uint8_t* buffer, int count) {
  // As a socket: a read that meets the end of a closed connection fails.
  if (closed_ && Left() < static_cast<std::size_t>(count)) return -1;
  const std::size_t take = std::min<std::size_t>(static_cast<std::size_t>(count), Left());
  std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(at_), take, buffer);
  at_ += take;
  return static_cast<int>(take);
}

void RecordingSink::SetRoom(int room) {
  std::lock_guard<std::mutex> lock(mutex_);
  room_ = room;
}

void RecordingSink::SetFailing(bool failing) {
  std::lock_guard<std::mutex> lock(mutex_);
  failing_ = failing;
}

Bytes RecordingSink::Taken() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return taken_;
}

int RecordingSink::Write(const std::uint8_t* data, int count) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (failing_) return -1;
  const int take = room_ < 0 ? count : std::min(count, room_);
  taken_.insert(taken_.end(), data, data + take);
  return take;
}

ScratchLog::ScratchLog() { logger_.SetPath(dir_.Path(), "log"); }

std::string ScratchLog::Text() const {
  std::string text;
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(dir_ / "log", ignored)) {
    text += ReadFile(entry.path().string());
  }
  return text;
}

}  // namespace vomtel::test
