#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "dataio/hdf5/ResultReader.hpp"
#include "results/stored/MeshCheck.hpp"
#include "support/FailureReport.hpp"
#include "support/H5TestFile.hpp"
#include "support/HostileResults.hpp"
#include "support/TempDir.hpp"

using testing_support::failureReport;
using testing_support::H5TestFile;

namespace {

const std::string topology = "CellsAll/Topology";
const std::string coordinates = "NodesAll/Coordnts";
const std::vector<int> square = {0, 1, 2, 0, 2, 3};
const std::vector<double> corners = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0};

}  // namespace

// Each case writes the two-triangle square with one thing changed.
class MeshCheck : public ::testing::Test {
 protected:
  void writeTopology(H5TestFile& file, const std::vector<hsize_t>& dims, const std::vector<int>& values, int size) {
    file.ints(topology, dims, values);
    file.intAttribute(topology, "size", size);
  }
  void writeCoordinates(H5TestFile& file, const std::vector<hsize_t>& dims, const std::vector<double>& values,
                        int size) {
    file.doubles(coordinates, dims, values);
    file.intAttribute(coordinates, "size", size);
  }
  std::string reportFor(const std::function<void(H5TestFile&)>& write) {
    {
      H5TestFile file(name);
      write(file);
    }
    std::unique_ptr<api::IResultReader> reader(dataio::createResultReader(name));
    return failureReport([&] { results::checkMesh(*reader, topology, coordinates); });
  }
  // The square with the topology replaced.
  std::string topologyReport(const std::vector<hsize_t>& dims, const std::vector<int>& values, int size) {
    return reportFor([&](H5TestFile& file) {
      writeTopology(file, dims, values, size);
      writeCoordinates(file, {4, 3}, corners, 12);
    });
  }
  std::string coordinatesReport(const std::vector<hsize_t>& dims, const std::vector<double>& values, int size) {
    return reportFor([&](H5TestFile& file) {
      writeTopology(file, {2, 3}, square, 6);
      writeCoordinates(file, dims, values, size);
    });
  }
  std::string line(const std::string& path, const std::string& expectedAndFound) const {
    return " -> mesh dataset <" + path + "> in file <" + name + ">: " + expectedAndFound + "\n";
  }

  testing_support::TempDir dir;
  std::string name = dir.file("run.h5");
};

TEST_F(MeshCheck, ValidMeshGivesItsCellsAndNodes) {
  {
    H5TestFile file(name);
    writeTopology(file, {2, 3}, square, 6);
    writeCoordinates(file, {4, 3}, corners, 12);
  }
  std::unique_ptr<api::IResultReader> reader(dataio::createResultReader(name));
  const results::Mesh mesh = results::checkMesh(*reader, topology, coordinates);
  EXPECT_EQ(mesh.cells, 2);
  EXPECT_EQ(mesh.nodes, 4);
}

TEST_F(MeshCheck, TopologyMustBeIntegersInThreeColumns) {
  EXPECT_EQ(topologyReport({2, 4}, {0, 1, 2, 3, 0, 2, 3, 1}, 8),
            line(topology, "expected 3 columns, found 4 columns"));
  EXPECT_EQ(topologyReport({6}, square, 6), line(topology, "expected a two-dimensional dataset, found one of rank 1"));
  EXPECT_EQ(topologyReport({0, 3}, {}, 0), line(topology, "expected at least 1 row, found 0 rows"));
  EXPECT_EQ(reportFor([&](H5TestFile& file) {
              file.doubles(topology, {2, 3}, {0, 1, 2, 0, 2, 3});
              file.intAttribute(topology, "size", 6);
              writeCoordinates(file, {4, 3}, corners, 12);
            }),
            line(topology, "expected integers, found floating-point values"));
}

TEST_F(MeshCheck, SizeMustCountEveryValue) {
  const std::string expected = "expected the attribute size = 6 (3 values per row), found ";
  EXPECT_EQ(topologyReport({2, 3}, square, -6), line(topology, expected + "size = -6"));
  EXPECT_EQ(topologyReport({2, 3}, square, 8), line(topology, expected + "size = 8"));
  EXPECT_EQ(reportFor([&](H5TestFile& file) {
              file.ints(topology, {2, 3}, square);
              writeCoordinates(file, {4, 3}, corners, 12);
            }),
            line(topology, expected + "no attribute size"));
  EXPECT_EQ(reportFor([&](H5TestFile& file) {
              file.ints(topology, {2, 3}, square);
              file.doubleAttribute(topology, "size", 6.0, 1);
              writeCoordinates(file, {4, 3}, corners, 12);
            }),
            line(topology, expected + "an attribute size of floating-point values"));
  EXPECT_EQ(reportFor([&](H5TestFile& file) {
              file.ints(topology, {2, 3}, square);
              writeCoordinates(file, {4, 3}, corners, 12);
              const hid_t dataSet = H5Dopen2(file.id(), topology.c_str(), H5P_DEFAULT);
              const hsize_t two = 2;
              const int values[2] = {6, 6};
              const hid_t space = H5Screate_simple(1, &two, nullptr);
              const hid_t size = H5Acreate2(dataSet, "size", H5T_NATIVE_INT, space, H5P_DEFAULT, H5P_DEFAULT);
              H5Awrite(size, H5T_NATIVE_INT, values);
              H5Aclose(size);
              H5Sclose(space);
              H5Dclose(dataSet);
            }),
            line(topology, expected + "an attribute size of 2 values"));
}

TEST_F(MeshCheck, CoordinatesMustBeFloatingPointInThreeColumns) {
  EXPECT_EQ(coordinatesReport({4, 2}, {0, 0, 1, 0, 1, 1, 0, 1}, 8),
            line(coordinates, "expected 3 columns, found 2 columns"));
  EXPECT_EQ(coordinatesReport({2, 3}, {0, 0, 0, 1, 0, 0}, 6),
            line(coordinates, "expected at least 3 rows, found 2 rows"));
  EXPECT_EQ(coordinatesReport({4, 3}, corners, 13),
            line(coordinates, "expected the attribute size = 12 (3 values per row), found size = 13"));
  EXPECT_EQ(reportFor([&](H5TestFile& file) {
              writeTopology(file, {2, 3}, square, 6);
              file.ints(coordinates, {4, 3}, {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0});
              file.intAttribute(coordinates, "size", 12);
            }),
            line(coordinates, "expected floating-point values, found integers"));
}

TEST_F(MeshCheck, NodeNumbersMustNameExistingNodes) {
  const std::string expected = "expected node numbers from 0 to 3, found ";
  EXPECT_EQ(topologyReport({2, 3}, {0, 1, 2, 0, -2, 3}, 6), line(topology, expected + "-2 in row 1"));
  EXPECT_EQ(topologyReport({2, 3}, {0, 1, 4, 0, 2, 3}, 6), line(topology, expected + "4 in row 0"));
  EXPECT_EQ(topologyReport({1, 3}, {0, 1, 3}, 3), "no BaseException");
}

// A large mesh is read in runs of rows: a wrong node far into it is found,
// with its own row.
TEST_F(MeshCheck, NodeNumbersAreCheckedThroughALargeMesh) {
  constexpr int cells = 200000;
  std::vector<int> nodes;
  for (int cell = 0; cell < cells; ++cell) nodes.insert(nodes.end(), {0, 1, 2});
  nodes[3 * 150001 + 1] = 4;
  EXPECT_EQ(topologyReport({cells, 3}, nodes, 3 * cells),
            line(topology, "expected node numbers from 0 to 3, found 4 in row 150001"));
}

// A missing mesh dataset is reported as reading its attribute always reported it.
TEST_F(MeshCheck, MissingDatasetKeepsTheReadersReport) {
  const std::string report = reportFor([&](H5TestFile& file) { writeCoordinates(file, {4, 3}, corners, 12); });
  const std::string start = " -> cannot read attribute to dataset <" + topology + "> in file <" + name + ">, in file: ";
  EXPECT_EQ(report.rfind(start, 0), 0u)
      << report;
}

// The mesh cases of the hostile corpus, as an export of the whole run meets them.
TEST_F(MeshCheck, HostileCorpusMeshesAreRefused) {
  using namespace testing_support;
  const std::string size = "expected the attribute size = 24 (3 values per row), found ";
  const std::string nodes = "expected node numbers from 0 to 9, found ";
  const std::vector<std::tuple<std::function<void(const std::string&)>, std::string, std::string>> cases = {
      {[](const std::string& file) { setTopologySize(file, -24); }, topology, size + "size = -24"},
      {removeTopologySize, topology, size + "no attribute size"},
      {stringTopologySize, topology, size + "an attribute size of strings"},
      {topologyWithFourColumns, topology, "expected 3 columns, found 4 columns"},
      {[](const std::string& file) { topologyNodeNumber(file, -1); }, topology, nodes + "-1 in row 7"},
      {[](const std::string& file) { topologyNodeNumber(file, validNodes); }, topology, nodes + "10 in row 7"},
      {floatTopology, topology, "expected integers, found floating-point values"},
      {coordinatesWithTwoColumns, coordinates, "expected 3 columns, found 2 columns"}};
  for (const auto& [make, path, expectedAndFound] : cases) {
    writeValidResults(name);
    make(name);
    std::unique_ptr<api::IResultReader> reader(dataio::createResultReader(name));
    EXPECT_EQ(failureReport([&] { results::checkMesh(*reader, topology, coordinates); }), line(path, expectedAndFound));
  }
  writeValidResults(name);
  std::unique_ptr<api::IResultReader> reader(dataio::createResultReader(name));
  const results::Mesh mesh = results::checkMesh(*reader, topology, coordinates);
  EXPECT_EQ(mesh.cells, validCells);
  EXPECT_EQ(mesh.nodes, validNodes);
}
