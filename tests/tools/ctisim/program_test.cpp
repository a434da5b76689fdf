// The ctisim program as the main job runs it: started, spoken to over loopback, stopped by
// SIGTERM. Skipped when the program has not been built beside this test.
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <string>
#include <vector>

#include "tools/ctisim/frame.h"
#include "tools/ctisim/frame_reader.h"
#include "tools/ctisim/loopback_client.h"

extern char** environ;

namespace ctisim {
namespace {

using Clock = std::chrono::steady_clock;
constexpr Millis kWait{3000};

std::string ProgramPath() {
  char self[PATH_MAX] = {};
  const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return {};
  std::string dir(self, static_cast<std::size_t>(n));
  dir.erase(dir.rfind('/'));
  return dir + "/../tools/ctisim/ctisim";
}

// The program with its standard output on a pipe, read line by line with deadlines.
class Program {
 public:
  explicit Program(const std::vector<std::string>& args) {
    const std::string path = ProgramPath();
    if (::access(path.c_str(), X_OK) != 0) return;
    int pipe_fds[2];
    if (::pipe(pipe_fds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, pipe_fds[0]);
    std::vector<char*> argv{const_cast<char*>(path.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, path.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipe_fds[1]);
    out_ = pipe_fds[0];
  }
  ~Program() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) ::close(out_);
  }
  bool started() const { return pid_ > 0; }

  // The next line of output without its line feed, or nothing at the deadline or the end.
  std::optional<std::string> Line(Millis timeout = kWait) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
      if (const auto nl = buffer_.find('\n'); nl != std::string::npos) {
        std::string line = buffer_.substr(0, nl);
        buffer_.erase(0, nl + 1);
        return line;
      }
      const auto left = std::chrono::duration_cast<Millis>(deadline - Clock::now()).count();
      if (left <= 0) return std::nullopt;
      pollfd p{out_, POLLIN, 0};
      if (::poll(&p, 1, static_cast<int>(left)) <= 0) continue;
      char chunk[512];
      const ssize_t n = ::read(out_, chunk, sizeof chunk);
      if (n <= 0) return std::nullopt;
      buffer_.append(chunk, static_cast<std::size_t>(n));
    }
  }

  // The exit status once the program has ended within the timeout, else -1.
  int Terminate(Millis timeout = kWait) {
    ::kill(pid_, SIGTERM);
    const auto deadline = Clock::now() + timeout;
    int status = 0;
    while (Clock::now() < deadline) {
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      pollfd none{-1, 0, 0};
      ::poll(&none, 0, 5);
    }
    return -1;
  }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  std::string buffer_;
};

Bytes Request(std::uint8_t cls, std::uint8_t code, std::uint16_t number, const Bytes& fields) {
  return RequestFrame({cls, code, 0, 0}, Frame().PutU32(0x00010001).PutU16(number).PutBytes(fields).bytes());
}

TEST(CtisimProgram, HelpGoesToStandardOutputAndEndsWell) {
  Program program({"--help"});
  if (!program.started()) GTEST_SKIP() << "the ctisim program is not built at " << ProgramPath();
  std::string text;
  while (const auto line = program.Line()) text += *line + "\n";
  for (const char* option : {"--address", "--port", "--standby", "--events", "--exit-after",
                             "--keepalive", "--version-byte", "--rule", "--help"}) {
    EXPECT_NE(text.find(std::string("\n  ") + option), std::string::npos) << option;
  }
  EXPECT_EQ(program.Terminate(), 0);
}

TEST(CtisimProgram, LocalhostIsTheLoopbackAddress) {
  Program program({"--address", "localhost", "--port", "0", "--keepalive", "0"});
  if (!program.started()) GTEST_SKIP() << "the ctisim program is not built at " << ProgramPath();
  const auto banner = program.Line();
  ASSERT_TRUE(banner);
  EXPECT_EQ(banner->rfind("ctisim listening on 127.0.0.1:", 0), 0u) << *banner;
  EXPECT_EQ(program.Terminate(), 0);
}

TEST(CtisimProgram, AnswersPushesCallEventsPrintsAndStopsOnSigterm) {
  Program program({"--address", "127.0.0.1", "--port", "0", "--events", "4", "--keepalive", "0",
                   "--rule", "0x41:0x70=3500/0102"});
  if (!program.started()) GTEST_SKIP() << "the ctisim program is not built at " << ProgramPath();
  const auto banner = program.Line();
  ASSERT_TRUE(banner);
  const std::string prefix = "ctisim listening on 127.0.0.1:";
  ASSERT_EQ(banner->rfind(prefix, 0), 0u) << *banner;
  const auto port = static_cast<std::uint16_t>(std::stoi(banner->substr(prefix.size())));

  LoopbackClient client("127.0.0.1", port);
  ASSERT_TRUE(client.connected());
  Frame open;
  open.PutU8(1).PutU8(0).PutStr8("3001").PutStr8("demo").PutU16(1);
  ASSERT_TRUE(client.Write(RequestFrame({0x45, 0x46, 0, 0}, open.bytes())));
  auto reply = client.ReadFrame(kWait);
  ASSERT_TRUE(reply);
  EXPECT_EQ(FrameReader(*reply, 8).GetU32(), 1u);
  EXPECT_EQ((*reply)[22], 1);  // active

  Frame call;
  call.PutStr8("3001").PutStr8("0212345678").PutStr8("").PutStr8("").PutStr8("");
  call.PutStr16("").PutStr16("").PutU8(0);
  ASSERT_TRUE(client.Write(Request(0x41, 0x65, 2, call.bytes())));
  reply = client.ReadFrame(kWait);
  ASSERT_TRUE(reply);
  EXPECT_EQ((*reply)[0], 0xA2);
  EXPECT_EQ(FrameReader(*reply, 8).GetU32(), 1u);
  for (std::uint8_t code : {10, 4, 6, 3}) {
    auto event = client.ReadFrame(kWait);
    ASSERT_TRUE(event);
    EXPECT_EQ((*event)[0], 0xA1);
    EXPECT_EQ((*event)[4], code);
    EXPECT_EQ(FrameReader(*event, 30).GetStr8(), "3001");  // the monitored device
  }

  ASSERT_TRUE(client.Write(Request(0x41, 0x70, 3, {})));
  reply = client.ReadFrame(kWait);
  ASSERT_TRUE(reply);
  EXPECT_EQ(FrameReader(*reply, 8).GetU32(), 3500u);
  EXPECT_EQ(FrameReader(*reply, 14).GetU16(), 0x0102);

  for (const char* expected : {"conn 1 class 0x45 code 0x46 session 0x00000000 number 1 body",
                               "conn 1 class 0x41 code 0x65 session 0x00010001 number 2 body",
                               "conn 1 class 0x41 code 0x70 session 0x00010001 number 3 body"}) {
    const auto line = program.Line();
    ASSERT_TRUE(line);
    EXPECT_EQ(line->rfind(expected, 0), 0u) << *line;
  }
  EXPECT_EQ(program.Terminate(), 0);
  EXPECT_EQ(program.Line(), "ctisim stopped");
}

}  // namespace
}  // namespace ctisim
