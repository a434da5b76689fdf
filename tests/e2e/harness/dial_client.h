// A peer program of the desk on the dial-request port: one TCP connection that sends request
// texts and reads the eight-field replies ("f0|SP-110|00|f3|f4|f5|f6|f7|"). Closed by its
// destructor.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace desk {

struct DialReply {
  std::string text;                     // what arrived (a whole reply when `closed` is false)
  bool closed = false;                  // the program closed the connection
  std::chrono::nanoseconds elapsed{0};  // from the end of the send to the last byte of the reply
};

class DialClient {
 public:
  DialClient() = default;
  ~DialClient();
  DialClient(const DialClient&) = delete;
  DialClient& operator=(const DialClient&) = delete;

  bool Connect(std::uint16_t port, std::chrono::milliseconds timeout);
  bool Connected() const { return fd_ >= 0; }
  void Close();

  // Sends the bytes in one write; false when the connection is gone.
  bool Send(const std::string& bytes);
  // Ends the sending side, as `printf ... | socat - TCP:...` does after its request; the
  // connection still reads.
  bool ShutdownSending();
  // Reads one reply (up to its eighth "|"), or until the program closes the connection or the
  // timeout passes (then nothing).
  std::optional<DialReply> Read(std::chrono::milliseconds timeout);
  // Send then Read.
  std::optional<DialReply> Ask(const std::string& request, std::chrono::milliseconds timeout);

 private:
  int fd_ = -1;
  std::string pending_;
  std::chrono::steady_clock::time_point sentAt_{};
};

// The request fields in order, joined with "|" (nine at least for a well-formed request).
std::string DialRequestText(const std::string& type, const std::string& number,
                            const std::string& customerKey, const std::string& tag = "T1");

// One field of a reply (0-based); empty when it has fewer.
std::string ReplyField(const std::string& reply, std::size_t index);

}  // namespace desk
