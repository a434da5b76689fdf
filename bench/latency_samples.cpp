#include "bench/latency_samples.h"

#include <algorithm>
#include <cmath>

namespace vomtel::bench {

double LatencySamples::PercentileUs(double p) const {
  if (samples_.empty()) return 0;
  std::vector<Clock::duration> sorted(samples_);
  const double rank =
      std::ceil(std::clamp(p, 0.0, 100.0) / 100.0 * static_cast<double>(sorted.size()));
  const std::size_t index = rank < 1 ? 0 : static_cast<std::size_t>(rank) - 1;
  std::nth_element(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(index),
                   sorted.end());
  return Microseconds(sorted[index]);
}

double LatencySamples::MeanUs() const {
  if (samples_.empty()) return 0;
  Clock::duration total{0};
  for (const auto& sample : samples_) total += sample;
  return Microseconds(total) / static_cast<double>(samples_.size());
}

void RoundSamples::EndRound() {
  if (round_.Count() == 0) return;
  medians_.push_back(round_.MedianUs());
  round_ = LatencySamples();
}

double RoundSamples::MedianUs() const { return MedianOf(medians_); }

double MedianOf(std::vector<double> values) {
  if (values.empty()) return 0;
  const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

}  // namespace vomtel::bench
