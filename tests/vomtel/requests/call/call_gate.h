// A gate of one session opened against the simulator, with short timings and a log folder of
// its own, for the request tests.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "support/temp_dir.h"
#include "tools/ctisim/frame.h"
#include "tools/ctisim/sim_server.h"
#include "vomtel/core/loopback/loopback_fixture.h"
#include "vomtel/core/orba_adapter.h"
#include "vomtel/core/settings.h"
#include "vomtel/core/timings.h"

namespace vomtel::test {

inline constexpr std::uint32_t kSessionId = 0x00010001;
inline constexpr std::uint8_t kVersion = 0x33;
inline constexpr std::uint16_t kHeaderWord = 0x0102;
inline constexpr const char* kAgentDn = "1001";
// The line a session's service thread logs after it has handed a reply over; the open's is the
// last line an open writes.
inline constexpr std::string_view kOpenReplyQueued = "WriteQueue[R]";

// How often `part` occurs in `text`.
inline std::size_t CountOf(const std::string& text, std::string_view part) {
  std::size_t count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) {
    ++count;
  }
  return count;
}

// The loopback timings with a reply wait of three units at 600 ms and a conference wait of
// 1 s: short enough for the waits that tests run out, long enough for a loaded machine (and a
// sanitizer build) to answer in time.
inline Timings CallTimings() {
  Timings timings = ShortTimings();
  timings.replyUnit = milliseconds(200);
  timings.conferenceWait = milliseconds(1000);
  return timings;
}

class CallGate : public ::testing::Test {
 protected:
  // The ext byte of the server record (1 makes consultation and reconnect composites).
  virtual std::uint8_t Ext() const { return 0; }
  // The SST setting: the single-step transfer's reply wait in reply units.
  virtual int Sst() const { return 3; }
  // The gate's timings.
  virtual Timings GateTimings() const { return CallTimings(); }

  void SetUp() override {
    Settings settings;
    settings.logPath = dir_.Path();
    settings.level = 3;
    settings.sst = Sst();
    adapter_ = std::make_unique<OrbaAdapter>(settings, GateTimings());
    adapter_->AddServer(sim_.Address(), sim_.Port(), Ext(), 0, kAgentDn, "agent", kVersion,
                        kHeaderWord);
    ASSERT_EQ(adapter_->OpenServer(&gate_), 1);
    ASSERT_TRUE(sim_.WaitForRequest(0x45, 0x46, milliseconds(1000)));
    sim_.ClearReceived();
    // The service thread logs the open's reply after handing it over; a test's log snapshot
    // waits for that line.
    ASSERT_TRUE(WaitUntil([&] { return CountOf(LogText(), kOpenReplyQueued) == 1; }));
  }

  void TearDown() override { adapter_->Proxy().CloseAll(); }

  OrbaAdapter& Adapter() { return *adapter_; }
  int Gate() const { return gate_; }
  ctisim::SimServer& Sim() { return sim_; }

  // Requests received since the open, in order, without the close request.
  std::vector<ctisim::Request> Requests() const { return sim_.Received(); }
  std::vector<std::uint8_t> Codes() const {
    std::vector<std::uint8_t> codes;
    for (const ctisim::Request& request : sim_.Received()) codes.push_back(request.code);
    return codes;
  }

  // Everything the gate's session has logged so far.
  std::string LogText() const {
    std::string text;
    const std::filesystem::path folder = std::filesystem::path(dir_.Path()) / kLogFolderName;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
      text += ReadFile(entry.path().string());
    }
    return text;
  }
  std::string LogFolder() const { return dir_ / kLogFolderName; }

 private:
  TempDir dir_;
  ctisim::SimServer sim_;
  std::unique_ptr<OrbaAdapter> adapter_;
  int gate_ = -1;
};

// Body bytes written with the simulator's own encoder.
inline ctisim::Frame Body() { return ctisim::Frame(); }

}  // namespace vomtel::test
