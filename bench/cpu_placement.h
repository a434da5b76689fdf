// Where the round-trip benchmarks put their threads: the servers (the simulator and the raw
// peers) on one CPU, the clients (the caller, the library's service thread, the relay's I/O
// thread) on another. A round trip then always crosses between the same two CPUs, as a client
// and its server on two machines do, instead of depending on where the scheduler happens to
// land each thread: a blocking raw peer lands on its client's CPU nearly always, a server that
// serves several connections seldom does, and each costs differently.
//
// VOMTEL_BENCH_CPUS="client,server" picks the two CPUs (default: the last two the process may
// run on); VOMTEL_BENCH_CPUS=none leaves every thread where the scheduler puts it. Threads
// inherit the CPUs of the thread that starts them, so each side is started under its scope.
#pragma once

#include <sched.h>

#include <string>

namespace vomtel::bench {

struct CpuPair {
  int client = -1;  // -1: not placed
  int server = -1;
  bool placed() const { return client >= 0 && server >= 0; }
  // "CPU 6 (clients), CPU 7 (servers)", or "not placed".
  std::string Text() const;
};

// The pair of this run, read once.
const CpuPair& RoundTripCpus();

// Runs the calling thread on `cpu` (when not -1) for the scope's life, then on what it had.
class CpuScope {
 public:
  explicit CpuScope(int cpu);
  ~CpuScope();
  CpuScope(const CpuScope&) = delete;
  CpuScope& operator=(const CpuScope&) = delete;

 private:
  cpu_set_t saved_{};
  bool set_ = false;
};

}  // namespace vomtel::bench
