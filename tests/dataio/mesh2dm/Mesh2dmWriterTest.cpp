#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "dataio/mesh2dm/Mesh2dmWriter.hpp"
#include "support/BinaryRun.hpp"
#include "support/FailureReport.hpp"
#include "support/TempDir.hpp"

using testing_support::failureReport;

namespace {

using Topology = std::vector<std::vector<int>>;
using Coordinates = std::vector<std::vector<double>>;

class Mesh2dmWriterTest : public ::testing::Test {
 protected:
  testing_support::TempDir folder;
  const std::string file = folder.file("mesh.2dm");
  // The unit square split along its diagonal, with a bed that is not flat.
  const Topology square = {{0, 1, 2}, {0, 2, 3}};
  const Coordinates corners = {{0.0, 0.0, 400.0}, {1.0, 0.0, 0.1}, {1.0, 1.0, -2.5e-7}, {0.0, 1.0, 2600000.125}};
};

}  // namespace

// Coordinates in the shortest text that reads back as the same double.
TEST_F(Mesh2dmWriterTest, NodesThenCellsNumberedFromOneWithTheirCornersInOrder) {
  dataio::writeMesh2dm(file, square, corners);
  EXPECT_EQ(testing_support::readFile(file),
            "MESH2D\nMESHNAME \"TORVANEL results\"\n"
            "ND 1 0 0 400\nND 2 1 0 0.10000000000000001\nND 3 1 1 -2.4999999999999999e-07\nND 4 0 1 2600000.125\n"
            "E3T 1 1 2 3 1\nE3T 2 1 3 4 1\n");
}

TEST_F(Mesh2dmWriterTest, InputsThatCannotBeWrittenAreRefusedByName) {
  const struct {
    Topology topology;
    Coordinates coordinates;
    std::string reason;
  } cases[] = {
      {{{0, 1}}, corners, "cell 1 has 2 node numbers instead of 3"},
      {{{0, 1, 2}, {0, 2, 4}}, corners, "cell 2 names node 5 of a mesh of 4 nodes"},
      {{{-1, 1, 2}}, corners, "cell 1 names node 0 of a mesh of 4 nodes"},
      {square, {{0, 0, 0}, {1, 0}, {1, 1, 0}, {0, 1, 0}}, "node 2 has 2 coordinates instead of 3"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(failureReport([&] { dataio::writeMesh2dm(file, c.topology, c.coordinates); }),
              " -> cannot write the 2DM mesh <" + file + ">: " + c.reason + "\n");
    EXPECT_FALSE(std::filesystem::exists(file)) << c.reason;
  }
  // A device that is always full: the failure shows only when the data are flushed.
  for (const std::string& target : {folder.file("no/such/folder/mesh.2dm"), std::string("/dev/full")})
    EXPECT_EQ(failureReport([&] { dataio::writeMesh2dm(target, square, corners); }),
              " -> cannot write the 2DM mesh <" + target + ">\n");
  EXPECT_FALSE(std::filesystem::exists(folder.file("no")));
}
