#include "support/HostileResults.hpp"

#include <random>
#include <stdexcept>

#include "support/BinaryRun.hpp"
#include "support/ResultsFileMaker.hpp"

namespace testing_support {
namespace {

// Water 0.5 m above a bed at 1 m, flowing in x; `rows` cells of `columns`.
std::vector<double> hydState(int step, int rows, int columns) {
  std::vector<double> values;
  for (int cell = 0; cell < rows; ++cell) {
    const double state[4] = {1.5 + 0.1 * step, 0.2 + 0.01 * cell, 0.0, 0.0};
    values.insert(values.end(), state, state + columns);
  }
  return values;
}

std::string stepPath(const std::string& data, int step) {
  return "RESULTS/CellsAll/" + data + "/000000" + std::to_string(step);
}

}  // namespace

void writeValidResults(const std::string& fileName) {
  ResultsFileMaker file(fileName);
  file.archive(morphologyModelText(), {"water_surface", "water_depth", "flow_velocity", "bottom_elevation"});
  // Two rows of five nodes, one unit apart; cell pairs split each square.
  std::vector<int> nodes;
  std::vector<double> coordinates;
  for (int square = 0; square < validCells / 2; ++square)
    nodes.insert(nodes.end(), {square, square + 1, square + 6, square, square + 6, square + 5});
  for (int node = 0; node < 10; ++node) coordinates.insert(coordinates.end(), {node % 5 * 1.0, node / 5 * 1.0, 0.0});
  file.ints("CellsAll/Topology", validCells, 3, nodes);
  file.doubles("NodesAll/Coordnts", 10, 3, coordinates);
  file.scalar("Parameters/MinWaterDepth", 0.001);
  for (int step = 0; step < 3; ++step) {
    file.step(stepPath("HydState", step), 10.0 * step, validCells, 3, hydState(step, validCells, 3));
    file.step(stepPath("BottomEl", step), 10.0 * step, validCells, 1, std::vector<double>(validCells, 1.0));
  }
}

void replaceLastHydStateStep(const std::string& fileName, int rows, int columns) {
  ResultsFileMaker file(fileName, ResultsFileMaker::Opening::Edit);
  file.remove(stepPath("HydState", 2));
  file.step(stepPath("HydState", 2), 20.0, rows, columns, hydState(2, rows, columns));
}

void archivedModelTextsNeverWritten(const std::string& fileName, unsigned long long count) {
  ResultsFileMaker file(fileName, ResultsFileMaker::Opening::Edit);
  file.remove(".config/model");
  file.unwrittenStrings(".config/model", count);
}

// A global heap object is an index (2 bytes), a reference count (2), 4
// reserved bytes and its length (8), followed by the data. The third byte of
// the length makes some 16 MB of some 100 bytes.
void corruptArchivedModelText(const std::string& fileName) {
  std::string bytes = readFile(fileName);
  const std::size_t text = bytes.find("{\"SETUP\"");
  if (text == std::string::npos || text < 8) throw std::runtime_error("no archived model text in " + fileName);
  bytes[text - 8 + 2] = static_cast<char>(0xff);
  writeFile(fileName, bytes);
}

void randomBytesAfterSuperblock(const std::string& fileName, unsigned seed) {
  constexpr std::size_t superblockBytes = 96;
  std::string bytes = readFile(fileName);
  std::mt19937 generator(seed);
  for (std::size_t i = superblockBytes; i < bytes.size(); ++i) bytes[i] = static_cast<char>(generator() & 0xFFu);
  writeFile(fileName, bytes);
}

}  // namespace testing_support
