#include "tests/e2e/harness/process_stats.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <utility>

namespace desk {
namespace {

std::string ProcPath(pid_t pid, const char* what) {
  return "/proc/" + std::to_string(pid) + "/" + what;
}

std::set<std::string> SocketInodes(pid_t pid) {
  std::set<std::string> inodes;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(ProcPath(pid, "fd"), ec)) {
    std::error_code lec;
    const std::string target = std::filesystem::read_symlink(entry.path(), lec).string();
    if (target.rfind("socket:[", 0) == 0 && target.size() > 9) {
      inodes.insert(target.substr(8, target.size() - 9));
    }
  }
  return inodes;
}

struct TcpRow {
  std::uint16_t port = 0;  // local
  std::string state;       // as /proc writes it: 01 established, 0A listening, ...
  std::string remote;      // address:port in /proc's hexadecimal
};
std::optional<std::vector<TcpRow>> OwnTcpRows(pid_t pid);

}  // namespace

std::optional<Descriptors> OpenDescriptors(pid_t pid) {
  std::error_code ec;
  std::filesystem::directory_iterator it(ProcPath(pid, "fd"), ec);
  if (ec) return std::nullopt;
  Descriptors d;
  for (const auto& entry : it) {
    std::error_code lec;
    std::string target = std::filesystem::read_symlink(entry.path(), lec).string();
    ++d.total;
    if (target.rfind("socket:", 0) == 0) ++d.sockets;
    d.targets.push_back(std::move(target));
  }
  if (const auto rows = OwnTcpRows(pid)) {
    d.tcp = static_cast<int>(rows->size());
    for (const TcpRow& r : *rows) {
      d.tcpRows.push_back("port " + std::to_string(r.port) + " remote " + r.remote + " state " +
                          r.state);
    }
  }
  return d;
}

std::optional<std::int64_t> ResidentKib(pid_t pid) {
  std::ifstream in(ProcPath(pid, "status"));
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("VmRSS:", 0) == 0) {
      std::istringstream fields(line.substr(6));
      std::int64_t kib = 0;
      if (fields >> kib) return kib;
    }
  }
  return std::nullopt;
}

std::optional<std::chrono::microseconds> CpuTime(pid_t pid) {
  std::ifstream in(ProcPath(pid, "stat"));
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // The command name is in parentheses and may hold blanks: the fields start after the last ')'.
  const std::size_t close = text.rfind(')');
  if (close == std::string::npos) return std::nullopt;
  std::istringstream fields(text.substr(close + 1));
  std::string field;
  long long utime = 0, stime = 0;
  // Fields after the name: state (3) ... utime (14), stime (15).
  for (int i = 3; i <= 15 && fields >> field; ++i) {
    if (i == 14) utime = std::stoll(field);
    if (i == 15) stime = std::stoll(field);
  }
  const long ticks = ::sysconf(_SC_CLK_TCK);
  if (ticks <= 0) return std::nullopt;
  return std::chrono::microseconds((utime + stime) * 1000000LL / ticks);
}

namespace {

// The rows of /proc/PID/net/tcp and tcp6 whose socket the process holds.
std::optional<std::vector<TcpRow>> OwnTcpRows(pid_t pid) {
  const std::set<std::string> inodes = SocketInodes(pid);
  std::vector<TcpRow> rows;
  bool any = false;
  for (const char* table : {"net/tcp", "net/tcp6"}) {
    std::ifstream in(ProcPath(pid, table));
    if (!in) continue;
    any = true;
    std::string line;
    std::getline(in, line);  // header
    while (std::getline(in, line)) {
      std::istringstream f(line);
      std::string slot, local, remote, state, queues, timer, retr, uid, timeout, inode;
      if (!(f >> slot >> local >> remote >> state >> queues >> timer >> retr >> uid >> timeout >>
            inode)) {
        continue;
      }
      if (inodes.count(inode) == 0) continue;
      const std::size_t colon = local.rfind(':');
      if (colon == std::string::npos) continue;
      const auto port =
          static_cast<std::uint16_t>(std::stoul(local.substr(colon + 1), nullptr, 16));
      rows.push_back({port, state, remote});
    }
  }
  if (!any) return std::nullopt;
  return rows;
}

}  // namespace

std::optional<int> EstablishedTcp(pid_t pid) {
  const auto rows = OwnTcpRows(pid);
  if (!rows) return std::nullopt;
  int count = 0;
  for (const auto& [port, state, remote] : *rows) {
    if (state == "01") ++count;
  }
  return count;
}

std::vector<std::uint16_t> ListeningTcpPorts(pid_t pid) {
  std::vector<std::uint16_t> ports;
  if (const auto rows = OwnTcpRows(pid)) {
    for (const auto& [port, state, remote] : *rows) {
      if (state == "0A") ports.push_back(port);
    }
  }
  return ports;
}

}  // namespace desk
