// The cost of finding the gauges' cells and cutting the sections, alone:
// reading the mesh in the plane, laying the spatial index over it, locating
// each gauge and cutting each section into its pieces, as an export with
// gauges and sections does once before its first step.
//
//   locate_places <results file> <gauges file> <sections file>
//
// The gauges file holds one "x y" per line, the sections file one section
// per line as "x y x y ...". Prints the seconds of each phase (wall time)
// and what was found.

#include <chrono>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "dataio/hdf5/H5Files.hpp"
#include "results/hydrographs/MeshGeometry.hpp"
#include "results/hydrographs/SectionCut.hpp"

using namespace results;

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

std::vector<std::vector<Point>> pointLines(const std::string& file) {
  std::vector<std::vector<Point>> lines;
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream values(line);
    std::vector<Point> points;
    Point p;
    while (values >> p.x >> p.y) points.push_back(p);
    if (!points.empty()) lines.push_back(points);
  }
  return lines;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: locate_places <results file> <gauges file> <sections file>\n";
    return 2;
  }
  const std::unique_ptr<api::IResultReader> reader(dataio::createResultReader(argv[1]));
  Clock::time_point start = Clock::now();
  PlaneMesh mesh = readPlaneMesh(*reader, "CellsAll/Topology", "NodesAll/Coordnts");
  const double read = secondsSince(start);
  start = Clock::now();
  const MeshGeometry geometry(std::move(mesh));
  const double indexed = secondsSince(start);

  const std::vector<std::vector<Point>> gauges = pointLines(argv[2]);
  start = Clock::now();
  int found = 0;
  for (const std::vector<Point>& gauge : gauges) found += geometry.locator().locate(gauge.front()) >= 0 ? 1 : 0;
  const double located = secondsSince(start);

  const std::vector<std::vector<Point>> sections = pointLines(argv[3]);
  start = Clock::now();
  std::size_t pieces = 0;
  for (const std::vector<Point>& points : sections) pieces += cutSection(geometry, {"s", points}).pieces.size();
  const double cut = secondsSince(start);

  std::printf("mesh of %d cells read in %.3f s, its index laid in %.3f s\n", geometry.mesh().cellCount(), read,
              indexed);
  std::printf("%zu gauges located in %.6f s (%d inside the mesh)\n", gauges.size(), located, found);
  std::printf("%zu sections cut in %.6f s into %zu pieces inside cells\n", sections.size(), cut, pieces);
  return 0;
}
