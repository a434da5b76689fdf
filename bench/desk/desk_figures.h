// Samples of one figure and the table row that shows it beside its reference.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace desk::bench {

using Millis = std::chrono::duration<double, std::milli>;

struct Samples {
  std::vector<double> values;  // in the row's unit
  void Add(double v) { values.push_back(v); }
  void Add(Millis m) { values.push_back(m.count()); }
  double Median() const;
  double Max() const;
};

struct Row {
  std::string figure;
  std::string measured;   // median (max) or the single value, with its unit
  std::string reference;  // what it is set against, measured in the same run or the target
  std::string target;
};

std::string Fixed(double v, int decimals);
// "12.3 ms (max 20.1)"
std::string MedianMax(const Samples& s, const std::string& unit);
// The rows as a Markdown table.
std::string Table(const std::vector<Row>& rows);

}  // namespace desk::bench
