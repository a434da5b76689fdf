#include "bench/resident_size.h"

#include <unistd.h>

#include <fstream>

namespace vomtel::bench {

std::uint64_t ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  std::uint64_t total = 0;
  std::uint64_t resident = 0;
  if (!(statm >> total >> resident)) return 0;
  return resident * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
}

}  // namespace vomtel::bench
