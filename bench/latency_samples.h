// Latencies of single operations, taken one by one, and their percentiles.
#pragma once

#include <chrono>
#include <cstddef>
#include <vector>

namespace vomtel::bench {

class LatencySamples {
 public:
  using Clock = std::chrono::steady_clock;

  explicit LatencySamples(std::size_t expected = 0) { samples_.reserve(expected); }

  void Add(Clock::duration elapsed) { samples_.push_back(elapsed); }
  std::size_t Count() const { return samples_.size(); }

  // The p-th percentile (0-100, nearest rank) in microseconds; 0 without samples.
  double PercentileUs(double p) const;
  double MedianUs() const { return PercentileUs(50); }
  double MeanUs() const;

 private:
  std::vector<Clock::duration> samples_;
};

// Samples taken in rounds (each round with new threads): the median of the rounds' medians,
// and percentiles over all samples.
class RoundSamples {
 public:
  explicit RoundSamples(std::size_t expected = 0) : all_(expected) {}

  void Add(LatencySamples::Clock::duration elapsed) {
    all_.Add(elapsed);
    round_.Add(elapsed);
  }
  // Closes the round under way (nothing when it has no sample).
  void EndRound();
  double MedianUs() const;
  const LatencySamples& All() const { return all_; }

 private:
  LatencySamples all_;
  LatencySamples round_;
  std::vector<double> medians_;
};

// How the round-trip benchmarks sample: exchanges to warm each round's new threads up, rounds
// (each with new threads), and samples per round.
inline constexpr int kRoundTripWarmUp = 300;
inline constexpr int kRoundTripRounds = 5;
inline constexpr int kRoundTripRoundSamples = 4000;

// The middle value (the upper one of an even count); 0 for none.
double MedianOf(std::vector<double> values);

inline double Microseconds(LatencySamples::Clock::duration elapsed) {
  return std::chrono::duration<double, std::micro>(elapsed).count();
}

}  // namespace vomtel::bench
