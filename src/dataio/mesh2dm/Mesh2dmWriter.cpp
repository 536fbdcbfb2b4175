#include "dataio/mesh2dm/Mesh2dmWriter.hpp"

#include <cstdio>
#include <fstream>

#include "interfaces/Failure.hpp"

namespace dataio {

namespace {

// Cells and nodes are counted from 1 in messages, as in the file.
void checkMesh(const std::string& fileName, const std::vector<std::vector<int>>& topology,
               const std::vector<std::vector<double>>& coordinates) {
  const std::size_t nrNodes = coordinates.size();
  for (std::size_t node = 0; node < nrNodes; ++node)
    if (coordinates[node].size() != 3)
      failure::fail("cannot write the 2DM mesh <", fileName, ">: node ", node + 1, " has ", coordinates[node].size(),
                    " coordinates instead of 3");
  for (std::size_t cell = 0; cell < topology.size(); ++cell) {
    if (topology[cell].size() != 3)
      failure::fail("cannot write the 2DM mesh <", fileName, ">: cell ", cell + 1, " has ", topology[cell].size(),
                    " node numbers instead of 3");
    for (const int node : topology[cell])
      if (node < 0 || static_cast<std::size_t>(node) >= nrNodes)
        failure::fail("cannot write the 2DM mesh <", fileName, ">: cell ", cell + 1, " names node ", node + 1,
                      " of a mesh of ", nrNodes, " nodes");
  }
}

// "ND 7 2600012.5 1200003.0000000002 -1.25": %.17g reads back bit for bit.
void writeNode(std::ofstream& file, std::size_t number, const std::vector<double>& xyz) {
  char line[128];
  const int length =
      std::snprintf(line, sizeof line, "ND %zu %.17g %.17g %.17g\n", number, xyz[0], xyz[1], xyz[2]);
  file.write(line, length);
}

// "E3T 5 3 4 7 1": the last number is the material, one for every cell.
void writeCell(std::ofstream& file, std::size_t number, const std::vector<int>& nodes) {
  char line[96];
  const int length =
      std::snprintf(line, sizeof line, "E3T %zu %d %d %d 1\n", number, nodes[0] + 1, nodes[1] + 1, nodes[2] + 1);
  file.write(line, length);
}

const char* const header = "MESH2D\nMESHNAME \"TORVANEL results\"\n";

}  // namespace

void writeMesh2dm(const std::string& fileName, const std::vector<std::vector<int>>& topology,
                  const std::vector<std::vector<double>>& coordinates) {
  checkMesh(fileName, topology, coordinates);
  std::ofstream file(fileName, std::ios::out | std::ios::trunc | std::ios::binary);
  if (!file) failure::fail("cannot write the 2DM mesh <", fileName, ">");
  file << header;
  for (std::size_t node = 0; node < coordinates.size(); ++node) writeNode(file, node + 1, coordinates[node]);
  for (std::size_t cell = 0; cell < topology.size(); ++cell) writeCell(file, cell + 1, topology[cell]);
  // A full disk shows only when the last buffer is flushed.
  file.close();
  if (file.fail()) failure::fail("cannot write the 2DM mesh <", fileName, ">");
}

bool isMesh2dmOfThisTool(const std::string& fileName) {
  const std::string expected = header;
  std::ifstream file(fileName, std::ios::binary);
  std::string start(expected.size(), '\0');
  file.read(start.data(), static_cast<std::streamsize>(start.size()));
  return file && start == expected;
}

}  // namespace dataio
