// A second reference of the round-trip figures: a bare client of the simulator itself, on a
// connection of its own, that sends a request frame as it is and reads until that request's
// reply frame (0xA2) is in, stepping over the event frames the simulator sends meanwhile.
// Blocking socket, no library: what it takes is the loopback's and the simulator's share of a
// round trip, so that what the library adds shows apart from what the simulator adds.
#pragma once

#include <cstdint>
#include <vector>

namespace vomtel::bench {

class BareSimClient {
 public:
  BareSimClient(std::uint16_t port, std::vector<std::uint8_t> request);
  ~BareSimClient();
  BareSimClient(const BareSimClient&) = delete;
  BareSimClient& operator=(const BareSimClient&) = delete;

  bool ok() const { return fd_ >= 0; }
  // Writes the request and reads frames until a reply frame is whole; false when the link
  // failed.
  bool Exchange();

 private:
  int fd_ = -1;
  std::vector<std::uint8_t> request_;
  std::vector<std::uint8_t> input_;  // bytes read and not yet part of a whole frame
};

}  // namespace vomtel::bench
