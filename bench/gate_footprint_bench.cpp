// One gate's footprint: the growth of the process's resident size when 16 gates open, each on
// a simulator started beforehand, and carry one request each; divided by 16. It is the first
// benchmark of the program (the first source file of its list), so that the heap has no freed
// memory of earlier benchmarks to hand out again; one gate opens and closes before it is
// measured, so that what the library makes once per process is not counted.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "bench/figures.h"
#include "bench/resident_size.h"
#include "bench/server_set.h"
#include "bench/sim_gate.h"

namespace vomtel::bench {
namespace {

constexpr int kGates = 16;

void BM_GateFootprint(benchmark::State& state) {
  double perGate = 0;
  for (auto _ : state) {
    {
      ServerSet first = StartServers(1);
      if (!first.Open() || MakeCall(first.gates[0]->Gate()) != 1) {
        state.SkipWithError("gate did not open on the simulator");
        return;
      }
    }
    ServerSet s = StartServers(kGates);
    const std::uint64_t before = ResidentBytes();
    if (!s.Open()) {
      state.SkipWithError("gates did not open on the simulators");
      return;
    }
    for (const auto& gate : s.gates) MakeCall(gate->Gate());
    const std::uint64_t after = ResidentBytes();
    perGate = Kibibytes(after - std::min(after, before)) / kGates;
  }
  state.counters["kib_per_gate"] = perGate;
  Figures::Instance().Record(
      Section::kMemory,
      {"One gate's footprint (resident)", perGate, "KiB", "", 0, Goal::kNone, 0, "",
       "16 gates opened and one request each, divided by 16: the "
       "session's service thread, logger, queues and buffers, and the "
       "simulator's side of the link"});
}

BENCHMARK(BM_GateFootprint)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vomtel::bench
