// Writes the bundled example: a dam break on a georeferenced flume of
// 100 x 30 squares (6000 triangles), 30 stored steps.

#include <exception>
#include <iostream>

#include "synthetic/ResultsFile.hpp"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_example <results file>\n";
    return 2;
  }
  synthetic::RunSettings settings;
  settings.cells = 6000;
  settings.steps = 30;
  settings.outputs = {"water_surface",  "water_depth",   "bottom_elevation", "spec_discharge",
                  "flow_velocity", "flow_velocity_abs", "friction_chezy"};
  settings.origin = {2600000.0, 1200000.0};
  try {
    synthetic::writeResultsFile(argv[1], settings);
  } catch (const std::exception& e) {
    std::cerr << e.what() << '\n';
    return 1;
  }
  return 0;
}
