// What /proc says about a running process: its open descriptors (and how many of them are
// sockets, how many TCP), its resident size and the processor time it has used.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace desk {

struct Descriptors {
  int total = 0;
  int sockets = 0;  // of every kind, local ones too (a display or message bus may add some)
  int tcp = 0;      // the sockets that are TCP endpoints
  std::vector<std::string> targets;  // readlink of each /proc/PID/fd entry
  std::vector<std::string> tcpRows;  // each TCP socket: local port, remote end and state
};

std::optional<Descriptors> OpenDescriptors(pid_t pid);

// VmRSS in kibibytes.
std::optional<std::int64_t> ResidentKib(pid_t pid);

// User plus system time of the whole process (every thread) so far.
std::optional<std::chrono::microseconds> CpuTime(pid_t pid);

// TCP sockets of the process in state ESTABLISHED (from /proc/PID/net/tcp, matched by inode).
std::optional<int> EstablishedTcp(pid_t pid);

}  // namespace desk

namespace desk {

// Local ports of the TCP sockets the process listens on.
std::vector<std::uint16_t> ListeningTcpPorts(pid_t pid);

}  // namespace desk
