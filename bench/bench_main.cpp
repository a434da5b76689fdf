// The benchmark program: runs in a working directory of its own (whose vomtel.ini sets the
// library's log level and silence limit), runs the benchmarks asked for on the command line
// (Google Benchmark's flags), then prints every figure beside its reference as one table.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <iostream>

#include "bench/figures.h"
#include "bench/work_dir.h"

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  const vomtel::bench::WorkDir dir{vomtel::bench::BenchIni{}};
  if (!dir.ok()) {
    std::fprintf(stderr, "vomtel_bench: cannot make a working directory with vomtel.ini\n");
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (vomtel::bench::Figures::Instance().Empty()) return 0;
  std::cout << "\nFigures (log LEVEL=" << vomtel::bench::RunIni().level
            << " unless a row says otherwise, HEARTBEAT_PERIOD="
            << vomtel::bench::RunIni().heartbeatMs << " ms):\n\n";
  vomtel::bench::Figures::Instance().PrintTable(std::cout);
  return 0;
}
