#include "bench/cpu_placement.h"

#include <pthread.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace vomtel::bench {
namespace {

CpuPair ReadPair() {
  CpuPair pair;
  const char* asked = std::getenv("VOMTEL_BENCH_CPUS");
  if (asked != nullptr && std::strcmp(asked, "none") == 0) return pair;
  cpu_set_t allowed;
  CPU_ZERO(&allowed);
  if (::sched_getaffinity(0, sizeof allowed, &allowed) != 0) return pair;
  std::vector<int> cpus;
  for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
    if (CPU_ISSET(cpu, &allowed)) cpus.push_back(cpu);
  }
  if (asked != nullptr && *asked != '\0') {
    int client = -1;
    int server = -1;
    if (std::sscanf(asked, "%d,%d", &client, &server) != 2 || client < 0 || server < 0 ||
        client >= CPU_SETSIZE || server >= CPU_SETSIZE || !CPU_ISSET(client, &allowed) ||
        !CPU_ISSET(server, &allowed)) {
      std::fprintf(stderr, "VOMTEL_BENCH_CPUS=\"%s\": not two CPUs of this process; not placed\n",
                   asked);
      return pair;
    }
    pair.client = client;
    pair.server = server;
    return pair;
  }
  if (cpus.size() < 2) return pair;
  pair.client = cpus[cpus.size() - 2];
  pair.server = cpus.back();
  return pair;
}

}  // namespace

std::string CpuPair::Text() const {
  if (!placed()) return "not placed";
  return "CPU " + std::to_string(client) + " (clients), CPU " + std::to_string(server) +
         " (servers)";
}

const CpuPair& RoundTripCpus() {
  static const CpuPair pair = ReadPair();
  return pair;
}

CpuScope::CpuScope(int cpu) {
  if (cpu < 0 || ::pthread_getaffinity_np(::pthread_self(), sizeof saved_, &saved_) != 0) return;
  cpu_set_t one;
  CPU_ZERO(&one);
  CPU_SET(cpu, &one);
  set_ = ::pthread_setaffinity_np(::pthread_self(), sizeof one, &one) == 0;
}

CpuScope::~CpuScope() {
  if (set_) ::pthread_setaffinity_np(::pthread_self(), sizeof saved_, &saved_);
}

}  // namespace vomtel::bench
