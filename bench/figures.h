// The figures of a run: each benchmark records what it measured beside the reference it was
// measured against in the same run, and the run ends with all of them in one table.
#pragma once

#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace vomtel::bench {

// How a figure is judged against its target.
enum class Goal {
  kNone,          // no target: the figure is shown with its reference only
  kRatioAtMost,   // value / reference must be at most `limit`
  kValueAtLeast,  // value must be at least `limit`
  kValueAtMost    // value must be at most `limit`
};

// Where a figure stands in the table: the table is in this order, whatever order the
// benchmarks ran in.
enum class Section { kRoundTrip, kThroughput, kEvents, kFailover, kMemory };

struct Figure {
  std::string what;  // what was measured
  double value = 0;
  std::string unit;
  std::string reference;  // what it stands beside, empty when nothing
  double referenceValue = 0;
  Goal goal = Goal::kNone;
  double limit = 0;
  std::string target;  // the target in words
  std::string note;    // the reason of a miss, or how it was measured
  Section section = Section::kRoundTrip;
};

class Figures {
 public:
  static Figures& Instance();

  // Replaces a figure of the same `what` (a benchmark that runs again keeps its last).
  void Record(Section section, Figure figure);
  // The figures by section, within one in the order they were first recorded, as a Markdown
  // table.
  void PrintTable(std::ostream& out) const;
  bool Empty() const;

 private:
  mutable std::mutex mutex_;
  std::vector<Figure> figures_;
};

// value / referenceValue, or nothing when there is no reference.
std::optional<double> RatioOf(const Figure& figure);
// "met", "MISSED" or "-" for a figure without a target.
std::string VerdictOf(const Figure& figure);

}  // namespace vomtel::bench
