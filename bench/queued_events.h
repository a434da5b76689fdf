// Waits until the events the simulator sent have arrived in the library's event queue, so
// that a timed fetch measures the decode and copy of queued frames, not the transport.
#pragma once

#include <chrono>
#include <cstddef>

namespace vomtel::bench {

// Events waiting in the receive queue of the gate's active session (0 when it has none).
std::size_t QueuedEvents(int gate);

// True once at least `count` events wait on the gate, within `timeout`.
bool WaitForQueuedEvents(int gate, std::size_t count, std::chrono::milliseconds timeout);

}  // namespace vomtel::bench
