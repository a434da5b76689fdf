// The process's resident memory, from /proc/self/statm.
#pragma once

#include <cstdint>

namespace vomtel::bench {

// Resident set size in bytes; 0 when it cannot be read.
std::uint64_t ResidentBytes();

inline double Kibibytes(std::uint64_t bytes) { return static_cast<double>(bytes) / 1024.0; }
inline double Mebibytes(std::uint64_t bytes) { return static_cast<double>(bytes) / 1048576.0; }

}  // namespace vomtel::bench
