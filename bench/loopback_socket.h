// The plain blocking sockets of the benchmarks' reference clients and peers.
#pragma once

#include <netinet/in.h>

#include <cstddef>
#include <cstdint>

namespace vomtel::bench {

// 127.0.0.1 at `port` (0: any port, for a listener).
sockaddr_in Loopback(std::uint16_t port);
// A TCP connection to 127.0.0.1:`port`: its descriptor, or -1.
int ConnectLoopback(std::uint16_t port);
// Sends or receives exactly `size` bytes, resuming after signals; false when the link failed.
bool WriteAll(int fd, const std::uint8_t* data, std::size_t size);
bool ReadAll(int fd, std::uint8_t* data, std::size_t size);

}  // namespace vomtel::bench
