#pragma once
// Where an export entry records series over its selected times: gauges (the
// values of one cell) and sections (the discharge through a polyline), as
// the configuration names them.

#include <string>
#include <vector>

#include "results/geometry/Orientation.hpp"

namespace results {

struct Gauge {
  std::string name;
  Point point;
  bool operator==(const Gauge& other) const {
    return name == other.name && point.x == other.point.x && point.y == other.point.y;
  }
};

struct Section {
  std::string name;
  std::vector<Point> points;  // two or more, no two neighbours equal
  bool operator==(const Section& other) const {
    if (name != other.name || points.size() != other.points.size()) return false;
    for (std::size_t k = 0; k < points.size(); ++k)
      if (points[k].x != other.points[k].x || points[k].y != other.points[k].y) return false;
    return true;
  }
};

struct HydrographPlaces {
  std::vector<Gauge> gauges;
  std::vector<Section> sections;
  bool empty() const { return gauges.empty() && sections.empty(); }
  bool operator==(const HydrographPlaces& other) const {
    return gauges == other.gauges && sections == other.sections;
  }
};

// The most gauges, and the most sections, that one entry may have.
inline constexpr int mostHydrographPlaces = 10000;

// The files of an entry's series, named after the stem of its document.
inline std::string gaugeFileOf(const std::string& stem, const std::string& gauge) {
  return stem + "_gauge_" + gauge + ".csv";
}
inline std::string sectionsFileOf(const std::string& stem) { return stem + "_sections.csv"; }

}  // namespace results
