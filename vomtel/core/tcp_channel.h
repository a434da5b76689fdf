// CTcpChannel: the one TCP connection of a socket service.
//
// The owner connects while no service thread runs; the service thread then reads, writes and
// closes. Writers write to it only through the send queue, under its lock, under which the
// service thread also closes it (CSendQueue::BeginConnection, EndConnection). Any other thread
// may only call Shutdown, which wakes the service thread's poll. The descriptor is guarded so
// that a shut-down never reaches a descriptor number that a close has already given back.
#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>

#include "vomtel/core/byte_io.h"

namespace vomtel {

class CTcpChannel : public ByteSource, public ByteSink {
 public:
  CTcpChannel() = default;
  ~CTcpChannel() override;
  CTcpChannel(const CTcpChannel&) = delete;
  CTcpChannel& operator=(const CTcpChannel&) = delete;

  // Closes any socket held, then connects to the dotted IPv4 address and port within
  // `timeout`. True when connected; the channel then holds the non-blocking socket. On false
  // `error`, when given, receives the cause as an errno value.
  bool Connect(const std::string& ip, std::uint16_t port, std::chrono::milliseconds timeout,
               int* error = nullptr);

  // Hands the socket what it takes without waiting for room: the bytes taken (0..count,
  // fewer once its buffer is full), or -1 on a socket error or without a socket.
  int SendSome(const std::uint8_t* data, int count);
  // Takes what the socket holds without waiting, up to `count`: the bytes received (0..count,
  // fewer when less has come), or -1 on a socket error, a closed connection or without a
  // socket.
  int ReceiveSome(std::uint8_t* buffer, int count);

  int Read(std::uint8_t* buffer, int count) override { return ReceiveSome(buffer, count); }
  int Write(const std::uint8_t* data, int count) override { return SendSome(data, count); }

  // Shuts the connection down in both directions without closing the descriptor. Any thread.
  void Shutdown() noexcept;
  // Abortive close (SO_LINGER 0); the channel then holds no socket. The service thread, or
  // the owner while no service thread runs.
  void Close() noexcept;

  // The descriptor for poll; -1 without a socket.
  int Fd() const;
  bool IsOpen() const { return Fd() >= 0; }

 private:
  mutable std::mutex mutex_;
  int fd_ = -1;
};

}  // namespace vomtel
