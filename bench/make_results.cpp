// Writes a synthetic results file of the size a benchmark needs and reports
// how long that took.

#include <chrono>
#include <exception>
#include <iostream>
#include <string>

#include "synthetic/ResultsFile.hpp"

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: make_results <results file> <cells> <steps> "
                 "<hydraulics|morphology|flood>\n";
    return 2;
  }
  try {
    synthetic::RunSettings settings;
    settings.cells = std::stoi(argv[2]);
    settings.steps = std::stoi(argv[3]);
    settings.model = synthetic::parseModelKind(argv[4]);
    settings.outputs = {"water_surface", "water_depth",   "bottom_elevation", "spec_discharge",
                    "delta_z",       "flow_velocity", "flow_velocity_abs"};
    const auto start = std::chrono::steady_clock::now();
    synthetic::writeResultsFile(argv[1], settings);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    std::cout << "wrote " << argv[1] << " in " << elapsed.count() << " s\n";
  } catch (const std::exception& e) {
    std::cerr << e.what() << '\n';
    return 1;
  }
  return 0;
}
