#include "bench/desk/desk_figures.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace desk::bench {

double Samples::Median() const {
  if (values.empty()) return 0;
  std::vector<double> v = values;
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

double Samples::Max() const {
  return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

std::string Fixed(double v, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, v);
  return text;
}

std::string MedianMax(const Samples& s, const std::string& unit) {
  return Fixed(s.Median(), 1) + " " + unit + " (max " + Fixed(s.Max(), 1) + ", n=" +
         std::to_string(s.values.size()) + ")";
}

std::string Table(const std::vector<Row>& rows) {
  std::ostringstream out;
  out << "| figure | measured | reference (same run) | target |\n|---|---|---|---|\n";
  for (const Row& r : rows) {
    out << "| " << r.figure << " | " << r.measured << " | " << r.reference << " | " << r.target
        << " |\n";
  }
  return out.str();
}

}  // namespace desk::bench
