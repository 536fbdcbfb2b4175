#include "dataio/xdmf/TimeNotation.hpp"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <set>

namespace dataio {
namespace {

constexpr double largestFixedTime = 1e15;

std::string fixedText(double time) {
  const int length = std::snprintf(nullptr, 0, "%f", time);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  std::snprintf(text.data(), text.size(), "%f", time);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

std::string shortestText(double time) {
  char text[32];
  const std::to_chars_result written = std::to_chars(text, text + sizeof text, time);
  return std::string(text, written.ptr);
}

}  // namespace

TimeNotation notationFor(const std::vector<double>& times) {
  std::set<std::string> printed;
  for (const double time : times)
    if (!(std::fabs(time) < largestFixedTime) || !printed.insert(fixedText(time)).second) return TimeNotation::shortest;
  return TimeNotation::fixed;
}

std::string timeText(double time, TimeNotation notation) {
  return notation == TimeNotation::fixed ? fixedText(time) : shortestText(time);
}

}  // namespace dataio
