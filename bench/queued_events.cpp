#include "bench/queued_events.h"

#include <memory>
#include <thread>

#include "vomtel/core/orba_adapter.h"
#include "vomtel/core/session.h"
#include "vomtel/core/socket_service.h"

namespace vomtel::bench {

std::size_t QueuedEvents(int gate) {
  const std::shared_ptr<CSession> session = OrbaAdapter::Instance().Proxy().FindActive(gate);
  return session ? session->Socket().RecvQueue().EventCount() : 0;
}

bool WaitForQueuedEvents(int gate, std::size_t count, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (QueuedEvents(gate) < count) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace vomtel::bench
