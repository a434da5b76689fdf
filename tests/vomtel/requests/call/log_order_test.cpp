// The packet lines of the session log tell each exchange in the order it happened: a request's
// "WriteQueue[S]" and " send data" lines come before its reply's "recv data" and
// "WriteQueue[R]" lines, and those before the caller's "ReadQueue[R]" line, however the
// threads of the caller and the link are scheduled.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "call_gate.h"
#include "vomtel/requests/call/make_call.h"

namespace vomtel::test {
namespace {

// The packet lines of one exchange, in the order they must be written.
enum Step { kQueued, kSent, kArrived, kReplyQueued, kTaken, kSteps };

// The bytes of a dump ("a1 00 2f ... ") up to the end of its line.
std::vector<std::uint8_t> DumpBytes(std::string_view dump) {
  std::vector<std::uint8_t> bytes;
  std::istringstream in{std::string(dump)};
  std::string word;
  while (in >> word) bytes.push_back(static_cast<std::uint8_t>(std::stoul(word, nullptr, 16)));
  return bytes;
}

// The request number of a make-call request or reply frame at `at`: both carry it at bytes
// 12-13 (the request behind the session id, the reply behind the result). -1 for another frame.
int MakeCallNumber(const std::vector<std::uint8_t>& bytes, std::size_t at = 0) {
  if (bytes.size() < at + 14 || bytes[at + 3] != 0x41 || bytes[at + 4] != 0x65) return -1;
  return bytes[at + 12] << 8 | bytes[at + 13];
}

// For each make-call request number, the line index of each step (-1 when it is missing).
std::map<int, std::vector<long>> StepLines(const std::string& log) {
  std::map<int, std::vector<long>> steps;
  const auto mark = [&](int number, Step step, long line) {
    if (number < 0) return;
    auto& lines = steps.try_emplace(number, std::vector<long>(kSteps, -1)).first->second;
    if (lines[step] < 0) lines[step] = line;
  };
  std::istringstream in(log);
  std::string text;
  for (long line = 0; std::getline(in, text); ++line) {
    const auto after = [&](std::string_view key) -> std::string_view {
      const std::size_t at = text.find(key);
      return at == std::string::npos ? std::string_view() : std::string_view(text).substr(at + key.size());
    };
    if (auto dump = after("WriteQueue[S] : "); !dump.empty()) {
      mark(MakeCallNumber(DumpBytes(dump)), kQueued, line);
    } else if (auto sent = after(" send data : <"); !sent.empty()) {
      // Several frames may go out in one piece.
      const auto bytes = DumpBytes(sent.substr(sent.find("> ") + 2));
      for (std::size_t at = 0; at + 3 <= bytes.size(); at += 3 + (bytes[at + 1] << 8 | bytes[at + 2])) {
        mark(MakeCallNumber(bytes, at), kSent, line);
      }
    } else if (auto arrived = after("recv data : <"); !arrived.empty()) {
      mark(MakeCallNumber(DumpBytes(arrived.substr(arrived.find('>') + 1))), kArrived, line);
    } else if (auto taken = after("ReadQueue[R] :"); !taken.empty()) {
      mark(MakeCallNumber(DumpBytes(taken)), kTaken, line);
    } else if (auto queued = after("WriteQueue[R] : "); !queued.empty()) {
      mark(MakeCallNumber(DumpBytes(queued)), kReplyQueued, line);
    }
  }
  return steps;
}

using LogOrderTest = CallGate;

TEST_F(LogOrderTest, EveryExchangeIsLoggedRequestFirst) {
  constexpr int kCalls = 2000;
  for (int i = 0; i < kCalls; ++i) {
    ASSERT_EQ(MakeCall(Adapter(), kAgentDn, "2002", "", "", "", "", "", Gate()), 1) << "call " << i;
  }
  const std::map<int, std::vector<long>> steps = StepLines(LogText());
  ASSERT_EQ(steps.size(), static_cast<std::size_t>(kCalls));
  int disordered = 0;
  std::string examples;
  for (const auto& [number, lines] : steps) {
    const bool ordered = lines[kQueued] >= 0 && lines[kQueued] < lines[kSent] &&
                         lines[kSent] < lines[kArrived] && lines[kArrived] < lines[kReplyQueued] &&
                         lines[kReplyQueued] < lines[kTaken];
    if (ordered) continue;
    if (++disordered <= 5) {
      examples += "invoke " + std::to_string(number) +
                  ": queued, sent, arrived, reply queued, taken at lines";
      for (const long at : lines) examples += " " + std::to_string(at);
      examples += "\n";
    }
  }
  EXPECT_EQ(disordered, 0) << "of " << kCalls << " exchanges\n" << examples;
}

}  // namespace
}  // namespace vomtel::test
