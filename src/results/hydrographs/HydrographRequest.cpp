#include "results/hydrographs/HydrographRequest.hpp"

#include <algorithm>
#include <cmath>
#include <map>

#include "interfaces/Failure.hpp"
#include "results/selection/ExportRequest.hpp"

namespace results {
namespace {

class PlaceReader {
 public:
  PlaceReader(const api::ICommandFileReader& config_, int entry_) : config(config_), entry(entry_) {}

  int count(const std::string& list, const char* what) const {
    if (!config.hasItem(exportListPath, entry, list)) return 0;
    const int size = config.getItemSize(exportListPath, entry, list);
    if (size == 0) failure::fail(path(list), " lists no ", what);
    if (size > mostHydrographPlaces)
      failure::fail(path(list), " lists ", size, " ", what, "s, more than the ", mostHydrographPlaces,
                    " an entry may have");
    return size;
  }

  // Names become parts of file names and of column headers.
  std::string name(const std::string& member) {
    const std::string text = config.getItemString(exportListPath, entry, member + "/name", std::string());
    const bool plain = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
      return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
    });
    if (!plain)
      failure::fail(path(member + "/name"), " <", text,
                    "> is no name of letters, digits, '_' and '-' (it names a file)");
    const auto earlier = names.find(text);
    if (earlier != names.end())
      failure::fail(path(member + "/name"), " <", text, "> is already the name of ", earlier->second);
    names.emplace(text, path(member));
    return text;
  }

  double coordinate(const std::string& member) const {
    const double value = config.getItemDouble(exportListPath, entry, member, std::nan(""));
    if (!std::isfinite(value)) failure::fail(path(member), " is not a finite number");
    return value;
  }

  Point point(const std::string& member) const {
    const std::vector<double> xy = config.getItemDoubleVector(exportListPath, entry, member, {});
    if (xy.size() != 2) failure::fail(path(member), " is no point [x, y]");
    if (!std::isfinite(xy[0]) || !std::isfinite(xy[1])) failure::fail(path(member), " is not a point of finite numbers");
    return {xy[0], xy[1]};
  }

  int pointCount(const std::string& member) const { return config.getItemSize(exportListPath, entry, member); }

  std::string path(const std::string& member) const { return entryPath(entry) + "/" + member; }

 private:
  const api::ICommandFileReader& config;
  int entry;
  std::map<std::string, std::string> names;  // and where each was given
};

Section readSection(PlaceReader& places, const std::string& member) {
  Section section{places.name(member), {}};
  const std::string list = member + "/points";
  const int points = places.pointCount(list);
  if (points < 2)
    failure::fail(places.path(list), " holds ", points, points == 1 ? " point" : " points",
                  "; a section needs two or more");
  for (int k = 0; k < points; ++k) {
    const Point p = places.point(list + "/" + std::to_string(k));
    if (!section.points.empty() && section.points.back().x == p.x && section.points.back().y == p.y)
      failure::fail(places.path(list + "/" + std::to_string(k)), " is the point before it again");
    section.points.push_back(p);
  }
  return section;
}

}  // namespace

HydrographPlaces readHydrographPlaces(const api::ICommandFileReader& config, int entry) {
  PlaceReader places(config, entry);
  HydrographPlaces read;
  const int gauges = places.count("gauges", "gauge");
  for (int k = 0; k < gauges; ++k) {
    const std::string member = "gauges/" + std::to_string(k);
    const std::string name = places.name(member);
    read.gauges.push_back({name, {places.coordinate(member + "/x"), places.coordinate(member + "/y")}});
  }
  const int sections = places.count("sections", "section");
  for (int k = 0; k < sections; ++k) read.sections.push_back(readSection(places, "sections/" + std::to_string(k)));
  return read;
}

}  // namespace results
