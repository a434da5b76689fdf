// TCP client sockets over POSIX: a non-blocking IPv4 connect with a time-out, and the
// send, receive, shut-down and close calls the socket service needs. Every call retries
// EINTR itself; none of them raises SIGPIPE.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace vomtel {

inline constexpr int kNoSocket = -1;

// Connects a new non-blocking IPv4 stream socket to `ip` (dotted decimal only, names are not
// resolved) and `port`. Waits at most `timeout` for the handshake and then reads SO_ERROR, so
// a refused connection fails as soon as the refusal arrives. Returns the connected socket,
// which stays non-blocking, or kNoSocket (nothing is left open then). On failure `error`, when
// given, receives the cause as an errno value: EINVAL for an address that is not dotted
// decimal, ETIMEDOUT when the handshake did not end within `timeout`.
int TcpConnect(const std::string& ip, std::uint16_t port, std::chrono::milliseconds timeout,
               int* error = nullptr);

// Sends up to `count` bytes with MSG_NOSIGNAL until the socket would block. Returns the number
// of bytes taken by the socket (0..count), or -1 on a socket error.
int SocketSend(int fd, const std::uint8_t* data, int count);

// Receives up to `count` bytes of what the socket holds (a read that finds fewer than it asks
// for took all there was and ends the call). Returns the number of bytes
// received (0..count), or -1 on a socket error or when the peer has closed the connection and
// nothing it sent before is left to hand out.
int SocketReceive(int fd, std::uint8_t* buffer, int count);

// shutdown(SHUT_RDWR): a poll on the socket wakes at once; the descriptor stays open.
void SocketShutdown(int fd) noexcept;

// Abortive close: SO_LINGER on with 0 seconds, then close. A negative fd is ignored.
void SocketCloseAbortive(int fd) noexcept;

}  // namespace vomtel
