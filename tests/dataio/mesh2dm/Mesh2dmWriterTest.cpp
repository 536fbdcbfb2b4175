#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "dataio/mesh2dm/Mesh2dmWriter.hpp"
#include "support/BinaryRun.hpp"
#include "support/FailureReport.hpp"
#include "support/TempDir.hpp"
#include "synthetic/Channel.hpp"
#include "synthetic/Mesh.hpp"

using testing_support::failureReport;

namespace {

using Topology = std::vector<std::vector<int>>;
using Coordinates = std::vector<std::vector<double>>;

class Mesh2dmWriterTest : public ::testing::Test {
 protected:
  std::string written(const Topology& topology, const Coordinates& coordinates) {
    dataio::writeMesh2dm(file, topology, coordinates);
    return testing_support::readFile(file);
  }

  // What the writer printed before it failed, and that it left no file.
  std::string refusal(const Topology& topology, const Coordinates& coordinates) {
    const std::string report = failureReport([&] { dataio::writeMesh2dm(file, topology, coordinates); });
    EXPECT_FALSE(std::filesystem::exists(file));
    return report;
  }

  testing_support::TempDir folder;
  const std::string file = folder.file("mesh.2dm");
  // The unit square split along its diagonal, with a bed that is not flat.
  const Topology square = {{0, 1, 2}, {0, 2, 3}};
  const Coordinates corners = {{0.0, 0.0, 400.0}, {1.0, 0.0, 0.1}, {1.0, 1.0, -2.5e-7}, {0.0, 1.0, 2600000.125}};
};

// Bit for bit: -0.0 and 0.0 compare equal as numbers.
bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

TEST_F(Mesh2dmWriterTest, SmallMeshNodesThenCellsNumberedFromOne) {
  EXPECT_EQ(written(square, corners),
            "MESH2D\n"
            "MESHNAME \"TORVANEL results\"\n"
            "ND 1 0 0 400\n"
            "ND 2 1 0 0.10000000000000001\n"
            "ND 3 1 1 -2.4999999999999999e-07\n"
            "ND 4 0 1 2600000.125\n"
            "E3T 1 1 2 3 1\n"
            "E3T 2 1 3 4 1\n");
}

TEST_F(Mesh2dmWriterTest, EmptyMeshIsTheHeaderAlone) {
  EXPECT_EQ(written({}, {}), "MESH2D\nMESHNAME \"TORVANEL results\"\n");
}

TEST_F(Mesh2dmWriterTest, ExampleMeshReadsBackExactly) {
  const synthetic::Mesh mesh = synthetic::makeRectangleMesh(6000, synthetic::Channel{}, {2600000.0, 1200000.0});
  const std::size_t nrCells = mesh.topology.size() / 3;
  const std::size_t nrNodes = mesh.coordinates.size() / 3;
  Topology topology(nrCells);
  for (std::size_t c = 0; c < nrCells; ++c) topology[c].assign(&mesh.topology[3 * c], &mesh.topology[3 * c + 3]);
  Coordinates coordinates(nrNodes);
  for (std::size_t n = 0; n < nrNodes; ++n)
    coordinates[n].assign(&mesh.coordinates[3 * n], &mesh.coordinates[3 * n + 3]);
  ASSERT_EQ(nrCells, 6000u);

  std::istringstream lines(written(topology, coordinates));
  std::string line;
  ASSERT_TRUE(std::getline(lines, line));
  EXPECT_EQ(line, "MESH2D");
  ASSERT_TRUE(std::getline(lines, line));
  EXPECT_EQ(line, "MESHNAME \"TORVANEL results\"");
  std::size_t nodesRead = 0;
  std::size_t cellsRead = 0;
  std::size_t mismatches = 0;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string card;
    std::size_t id = 0;
    fields >> card >> id;
    if (card == "ND") {
      EXPECT_EQ(cellsRead, 0u) << "node after the cells: " << line;
      EXPECT_EQ(id, ++nodesRead);
      std::string text[3];
      fields >> text[0] >> text[1] >> text[2];
      for (int k = 0; k < 3; ++k)
        if (!sameBits(std::strtod(text[k].c_str(), nullptr), coordinates.at(id - 1).at(k))) ++mismatches;
    } else if (card == "E3T") {
      EXPECT_EQ(id, ++cellsRead);
      int nodes[3];
      int material = 0;
      fields >> nodes[0] >> nodes[1] >> nodes[2] >> material;
      for (int k = 0; k < 3; ++k)
        if (nodes[k] != topology.at(id - 1).at(k) + 1) ++mismatches;
      EXPECT_EQ(material, 1);
    } else {
      ADD_FAILURE() << "unexpected line: " << line;
    }
    EXPECT_TRUE(fields && fields.peek() == EOF) << line;
  }
  EXPECT_EQ(nodesRead, nrNodes);
  EXPECT_EQ(cellsRead, nrCells);
  EXPECT_EQ(mismatches, 0u);
}

TEST_F(Mesh2dmWriterTest, MalformedMeshIsRefusedBeforeWriting) {
  EXPECT_EQ(refusal({{0, 1}}, corners), " -> cannot write the 2DM mesh <" + file +
                                            ">: cell 1 has 2 node numbers instead of 3\n");
  EXPECT_EQ(refusal({{0, 1, 2}, {0, 2, 4}}, corners),
            " -> cannot write the 2DM mesh <" + file + ">: cell 2 names node 5 of a mesh of 4 nodes\n");
  EXPECT_EQ(refusal({{-1, 1, 2}}, corners),
            " -> cannot write the 2DM mesh <" + file + ">: cell 1 names node 0 of a mesh of 4 nodes\n");
  EXPECT_EQ(refusal(square, {{0, 0, 0}, {1, 0}, {1, 1, 0}, {0, 1, 0}}),
            " -> cannot write the 2DM mesh <" + file + ">: node 2 has 2 coordinates instead of 3\n");
}

TEST_F(Mesh2dmWriterTest, UnwritableFileIsReportedByName) {
  std::vector<std::string> targets = {folder.file("no/such/folder/mesh.2dm"), folder.path()};
  // A device that is always full: the failure shows only when the data are flushed.
  if (std::filesystem::exists("/dev/full")) targets.push_back("/dev/full");
  for (const std::string& target : targets)
    EXPECT_EQ(failureReport([&] { dataio::writeMesh2dm(target, square, corners); }),
              " -> cannot write the 2DM mesh <" + target + ">\n");
  EXPECT_FALSE(std::filesystem::exists(folder.file("no")));
}
