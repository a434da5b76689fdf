#include "bench/figures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vomtel::bench {
namespace {

std::string Number(double value) {
  char text[64];
  const double magnitude = std::fabs(value);
  if (magnitude >= 100) {
    std::snprintf(text, sizeof text, "%.0f", value);
  } else if (magnitude >= 10) {
    std::snprintf(text, sizeof text, "%.1f", value);
  } else {
    std::snprintf(text, sizeof text, "%.2f", value);
  }
  // Thousands separated by commas, so that large rates read at a glance.
  const std::string digits(text);
  const std::size_t start = digits[0] == '-' ? 1 : 0;
  const std::size_t dot = digits.find('.');
  const std::size_t end = dot == std::string::npos ? digits.size() : dot;
  std::string grouped = digits.substr(0, start);
  for (std::size_t i = start; i < end; ++i) {
    grouped += digits[i];
    const std::size_t left = end - i - 1;
    if (left > 0 && left % 3 == 0) grouped += ',';
  }
  grouped += digits.substr(end);
  return grouped;
}

}  // namespace

Figures& Figures::Instance() {
  static Figures figures;
  return figures;
}

void Figures::Record(Section section, Figure figure) {
  figure.section = section;
  std::lock_guard<std::mutex> lock(mutex_);
  for (Figure& known : figures_) {
    if (known.what == figure.what) {
      known = std::move(figure);
      return;
    }
  }
  figures_.push_back(std::move(figure));
}

std::optional<double> RatioOf(const Figure& figure) {
  if (figure.reference.empty() || figure.referenceValue == 0) return std::nullopt;
  return figure.value / figure.referenceValue;
}

std::string VerdictOf(const Figure& figure) {
  switch (figure.goal) {
    case Goal::kNone:
      return "-";
    case Goal::kRatioAtMost: {
      const auto ratio = RatioOf(figure);
      return ratio && *ratio <= figure.limit ? "met" : "MISSED";
    }
    case Goal::kValueAtLeast:
      return figure.value >= figure.limit ? "met" : "MISSED";
    case Goal::kValueAtMost:
      return figure.value <= figure.limit ? "met" : "MISSED";
  }
  return "-";
}

bool Figures::Empty() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return figures_.empty();
}

void Figures::PrintTable(std::ostream& out) const {
  std::lock_guard<std::mutex> lock(mutex_);
  out << "| Figure | Measured | Reference (same run) | Ratio | Target | Verdict | Note |\n"
      << "| --- | --- | --- | --- | --- | --- | --- |\n";
  std::vector<Figure> ordered(figures_);
  std::stable_sort(ordered.begin(), ordered.end(), [](const Figure& a, const Figure& b) {
    return static_cast<int>(a.section) < static_cast<int>(b.section);
  });
  for (const Figure& figure : ordered) {
    const auto ratio = RatioOf(figure);
    out << "| " << figure.what << " | " << Number(figure.value) << " " << figure.unit << " | ";
    if (figure.reference.empty()) {
      out << "-";
    } else {
      out << figure.reference << ": " << Number(figure.referenceValue) << " " << figure.unit;
    }
    out << " | " << (ratio ? Number(*ratio) + "x" : std::string("-")) << " | "
        << (figure.target.empty() ? std::string("-") : figure.target) << " | " << VerdictOf(figure)
        << " | " << (figure.note.empty() ? std::string("-") : figure.note) << " |\n";
  }
}

}  // namespace vomtel::bench
