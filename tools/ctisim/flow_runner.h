// Runs a flow against a SimServer: its steps on a thread of its own, its triggers on the server
// thread right after the triggering request's answer has been queued. Stop() and the destructor
// end the steps (a wait ends at once) and join the thread. The runner takes the server's
// answered-request observer (SimServer::SetOnAnswered).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "tools/ctisim/flow.h"
#include "tools/ctisim/sim_server.h"

namespace ctisim {

class FlowRunner {
 public:
  struct Options {
    // The version byte the open reply gives; default each open request's own.
    std::optional<std::uint8_t> version;
    // How long a drop waits for what was pushed before it to go out.
    Millis drain{5000};
    // One line per step done and per triggered push, from either thread; may be empty.
    std::function<void(const std::string&)> trace;
  };

  FlowRunner(SimServer& sim, Flow flow, Options options);
  ~FlowRunner();
  FlowRunner(const FlowRunner&) = delete;
  FlowRunner& operator=(const FlowRunner&) = delete;

  // Installs the triggers and starts the steps.
  void Start();
  // Ends the steps and removes the triggers. Idempotent.
  void Stop();
  // True once every step has run (a flow that repeats for ever never finishes).
  bool WaitFinished(Millis timeout);

 private:
  struct State;
  SimServer& sim_;
  std::shared_ptr<State> state_;
  std::thread thread_;
};

}  // namespace ctisim
