// A peer of the dial-request listener as another program of the desk is: a plain TCP socket of
// its own, never blocking, so that the listener's event loop runs while the test waits on it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace agentphone::net_testing {

class LoopbackClient {
 public:
  LoopbackClient() = default;
  ~LoopbackClient() { Close(); }
  LoopbackClient(const LoopbackClient&) = delete;
  LoopbackClient& operator=(const LoopbackClient&) = delete;

  // Starts connecting to a numeric IPv4 or IPv6 address; false when that fails at once.
  bool Connect(const std::string& address, uint16_t port);
  // 0 once connected, EINPROGRESS while the connection is pending, else why it failed.
  int ConnectState();

  // Writes what the socket takes now; the number of bytes, or -1 (errno tells why).
  long SendSome(std::string_view bytes);
  // Ends the sending side (the peer reads end of input); the socket still reads.
  bool ShutdownSending();

  // Reads what has arrived, without waiting. Returns true while the connection is open.
  bool Poll();
  const std::string& Received() const { return received_; }
  bool PeerClosed() const { return peerClosed_; }

  void Close();

 private:
  int fd_ = -1;
  bool connected_ = false;
  bool peerClosed_ = false;
  std::string received_;
};

// The descriptors the process holds open now.
int OpenDescriptors();

}  // namespace agentphone::net_testing
