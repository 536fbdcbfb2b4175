#include "support/HostileResults.hpp"

#include <hdf5.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

#include "support/BinaryRun.hpp"
#include "support/ResultsFileMaker.hpp"

namespace testing_support {
namespace {

const std::string topology = "CellsAll/Topology";
const std::string coordinates = "NodesAll/Coordnts";
const std::string lastHydState = "RESULTS/CellsAll/HydState/0000002";
const double times[] = {0.0, 10.0, 20.0};

// Two rows of five nodes, one unit apart; cell pairs split each square.
std::vector<int> stripTopology(int columns) {
  std::vector<int> nodes;
  for (int square = 0; square < validCells / 2; ++square) {
    const std::vector<int> corners[2] = {{square, square + 1, square + 6}, {square, square + 6, square + 5}};
    for (const auto& cell : corners) {
      nodes.insert(nodes.end(), cell.begin(), cell.end());
      nodes.resize(nodes.size() + static_cast<std::size_t>(columns - 3), 0);
    }
  }
  return nodes;
}

std::vector<double> stripCoordinates(int columns) {
  std::vector<double> values;
  for (int node = 0; node < validNodes; ++node) {
    const double point[3] = {static_cast<double>(node % 5), static_cast<double>(node / 5), 0.0};
    values.insert(values.end(), point, point + columns);
  }
  return values;
}

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

void replaceLastHydState(const std::string& fileName, int rows, int columns) {
  ResultsFileMaker file(fileName, ResultsFileMaker::Opening::Edit);
  file.remove(lastHydState);
  file.step(lastHydState, times[2], rows, columns, hydState(2, rows, columns));
}

void overwriteByte(const std::string& fileName, std::size_t offset, unsigned char value) {
  std::fstream file(fileName, std::ios::in | std::ios::out | std::ios::binary);
  file.seekp(static_cast<std::streamoff>(offset));
  file.put(static_cast<char>(value));
  if (!file) throw std::runtime_error("cannot change byte " + std::to_string(offset) + " of " + fileName);
}

}  // namespace

std::vector<std::string> validOutputs() {
  return {"water_surface", "water_depth", "flow_velocity", "bottom_elevation"};
}

void writeValidResults(const std::string& fileName, const std::vector<std::string>& outputs) {
  ResultsFileMaker file(fileName);
  file.archive(morphologyModelText(), outputs);
  file.ints(topology, validCells, 3, stripTopology(3));
  file.doubles(coordinates, validNodes, 3, stripCoordinates(3));
  file.scalar("Parameters/MinWaterDepth", 0.001);
  for (int step = 0; step < 3; ++step) {
    file.step(stepPath("HydState", step), times[step], validCells, 3, hydState(step, validCells, 3));
    file.step(stepPath("BottomEl", step), times[step], validCells, 1, std::vector<double>(validCells, 1.0));
  }
}

void setTopologySize(const std::string& fileName, int size) {
  ResultsFileMaker(fileName, ResultsFileMaker::Opening::Edit).intAttribute(topology, "size", size);
}

void removeTopologySize(const std::string& fileName) {
  ResultsFileMaker(fileName, ResultsFileMaker::Opening::Edit).removeAttribute(topology, "size");
}

void stringTopologySize(const std::string& fileName) {
  ResultsFileMaker(fileName, ResultsFileMaker::Opening::Edit).stringAttribute(topology, "size", "24");
}

void topologyWithFourColumns(const std::string& fileName) {
  ResultsFileMaker file(fileName, ResultsFileMaker::Opening::Edit);
  file.remove(topology);
  file.ints(topology, validCells, 4, stripTopology(4));
}

void topologyNodeNumber(const std::string& fileName, int node) {
  std::vector<int> nodes = stripTopology(3);
  nodes.back() = node;
  ResultsFileMaker file(fileName, ResultsFileMaker::Opening::Edit);
  file.remove(topology);
  file.ints(topology, validCells, 3, nodes);
}

void floatTopology(const std::string& fileName) {
  const std::vector<int> nodes = stripTopology(3);
  ResultsFileMaker file(fileName, ResultsFileMaker::Opening::Edit);
  file.remove(topology);
  file.doubles(topology, validCells, 3, std::vector<double>(nodes.begin(), nodes.end()));
}

void coordinatesWithTwoColumns(const std::string& fileName) {
  ResultsFileMaker file(fileName, ResultsFileMaker::Opening::Edit);
  file.remove(coordinates);
  file.doubles(coordinates, validNodes, 2, stripCoordinates(2));
}

void hydStateStepWithRows(const std::string& fileName, int rows) { replaceLastHydState(fileName, rows, 3); }

void hydStateStepWithFourColumns(const std::string& fileName) { replaceLastHydState(fileName, validCells, 4); }

void stringStepTime(const std::string& fileName) {
  ResultsFileMaker(fileName, ResultsFileMaker::Opening::Edit).stringAttribute(stepPath("HydState", 1), "t", "10");
}

void replaceMinWaterDepth(const std::string& fileName, double depth) {
  ResultsFileMaker file(fileName, ResultsFileMaker::Opening::Edit);
  file.remove("Parameters/MinWaterDepth");
  file.scalar("Parameters/MinWaterDepth", depth);
}

void replaceMinWaterDepthWithText(const std::string& fileName, const std::string& text) {
  ResultsFileMaker file(fileName, ResultsFileMaker::Opening::Edit);
  file.remove("Parameters/MinWaterDepth");
  file.text("Parameters/MinWaterDepth", text);
}

void arrayStepTime(const std::string& fileName) {
  ResultsFileMaker(fileName, ResultsFileMaker::Opening::Edit).removeAttribute(stepPath("HydState", 1), "t");
  const hid_t file = H5Fopen(fileName.c_str(), H5F_ACC_RDWR, H5P_DEFAULT);
  const hid_t step = H5Dopen2(file, stepPath("HydState", 1).c_str(), H5P_DEFAULT);
  const hsize_t three = 3;
  const hid_t space = H5Screate_simple(1, &three, nullptr);
  const hid_t attribute = H5Acreate2(step, "t", H5T_NATIVE_DOUBLE, space, H5P_DEFAULT, H5P_DEFAULT);
  const double times[3] = {10.0, 10.0, 10.0};
  H5Awrite(attribute, H5T_NATIVE_DOUBLE, times);
  H5Aclose(attribute);
  H5Sclose(space);
  H5Dclose(step);
  H5Fclose(file);
}

void lastHydStateStepAsGroup(const std::string& fileName) {
  ResultsFileMaker(fileName, ResultsFileMaker::Opening::Edit).remove(lastHydState);
  const hid_t file = H5Fopen(fileName.c_str(), H5F_ACC_RDWR, H5P_DEFAULT);
  H5Gclose(H5Gcreate2(file, lastHydState.c_str(), H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT));
  H5Fclose(file);
}

void lastHydStateStepAsExternalLink(const std::string& fileName) {
  ResultsFileMaker(fileName, ResultsFileMaker::Opening::Edit).remove(lastHydState);
  const hid_t file = H5Fopen(fileName.c_str(), H5F_ACC_RDWR, H5P_DEFAULT);
  H5Lcreate_external("other.h5", "/state", file, lastHydState.c_str(), H5P_DEFAULT, H5P_DEFAULT);
  H5Fclose(file);
}

void lastHydStateStepRenamed(const std::string& fileName, const std::string& name) {
  const hid_t file = H5Fopen(fileName.c_str(), H5F_ACC_RDWR, H5P_DEFAULT);
  const std::string renamed = lastHydState.substr(0, lastHydState.find_last_of('/') + 1) + name;
  H5Lmove(file, lastHydState.c_str(), file, renamed.c_str(), H5P_DEFAULT, H5P_DEFAULT);
  H5Fclose(file);
}

// One integer where the text was, as a list of one: the shape of the text.
void archivedModelAsNumbers(const std::string& fileName) {
  ResultsFileMaker(fileName, ResultsFileMaker::Opening::Edit).remove(".config/model");
  const hid_t file = H5Fopen(fileName.c_str(), H5F_ACC_RDWR, H5P_DEFAULT);
  const hsize_t one = 1;
  const hid_t space = H5Screate_simple(1, &one, nullptr);
  const hid_t dataSet = H5Dcreate2(file, ".config/model", H5T_NATIVE_INT, space, H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT);
  const int value = 5;
  H5Dwrite(dataSet, H5T_NATIVE_INT, H5S_ALL, H5S_ALL, H5P_DEFAULT, &value);
  H5Dclose(dataSet);
  H5Sclose(space);
  H5Fclose(file);
}

void removeGroup(const std::string& fileName, const std::string& path) {
  ResultsFileMaker(fileName, ResultsFileMaker::Opening::Edit).remove(path);
}

void replaceArchivedModelText(const std::string& fileName, const std::string& text) {
  ResultsFileMaker file(fileName, ResultsFileMaker::Opening::Edit);
  file.remove(".config/model");
  file.text(".config/model", text);
}

void archivedModelTextsNeverWritten(const std::string& fileName, unsigned long long count) {
  removeGroup(fileName, ".config/model");
  const hid_t file = H5Fopen(fileName.c_str(), H5F_ACC_RDWR, H5P_DEFAULT);
  const hid_t type = H5Tcopy(H5T_C_S1);
  H5Tset_size(type, H5T_VARIABLE);
  const hsize_t dims[1] = {count};
  const hid_t space = H5Screate_simple(1, dims, nullptr);
  const hid_t dataSet = H5Dcreate2(file, ".config/model", type, space, H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT);
  if (dataSet < 0) throw std::runtime_error("cannot declare the archived texts in " + fileName);
  H5Dclose(dataSet);
  H5Sclose(space);
  H5Tclose(type);
  H5Fclose(file);
}

// A global heap object is an index (2 bytes), a reference count (2), 4
// reserved bytes and its length (8), followed by the data. The third byte of
// the length makes some 16 MB of some 100 bytes.
void corruptArchivedModelText(const std::string& fileName) {
  constexpr std::size_t lengthBeforeData = 8;
  const std::size_t text = readFile(fileName).find("{\"SETUP\"");
  if (text == std::string::npos || text < lengthBeforeData)
    throw std::runtime_error("no archived model text in " + fileName);
  overwriteByte(fileName, text - lengthBeforeData + 2, 0xff);
}

void truncateFile(const std::string& fileName, std::size_t keptBytes) {
  std::filesystem::resize_file(fileName, keptBytes);
}

void randomBytesAfterSuperblock(const std::string& fileName, unsigned seed) {
  constexpr std::size_t superblockBytes = 96;
  std::string bytes = readFile(fileName);
  std::mt19937 generator(seed);
  for (std::size_t i = superblockBytes; i < bytes.size(); ++i) bytes[i] = static_cast<char>(generator() & 0xFFu);
  writeFile(fileName, bytes);
}

}  // namespace testing_support
