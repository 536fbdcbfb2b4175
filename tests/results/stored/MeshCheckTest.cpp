// The mesh datasets a run must hold: each case is the two-triangle square with one thing changed.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <type_traits>

#include "dataio/hdf5/ResultReader.hpp"
#include "results/stored/MeshCheck.hpp"
#include "support/FailureReport.hpp"
#include "support/H5TestFile.hpp"
#include "support/TempDir.hpp"

using testing_support::H5TestFile;

const std::string topology = "CellsAll/Topology";
const std::string coordinates = "NodesAll/Coordnts";
const std::vector<int> square = {0, 1, 2, 0, 2, 3};
const std::vector<double> corners = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0};
using Change = std::function<void(H5TestFile&)>;

// The dataset written anew, of integers or doubles, with a size attribute of its number of values.
template <typename Value>
static Change rewritten(const std::string& path, const std::vector<hsize_t>& dims, const std::vector<Value>& values,
                        int size) {
  return [=](H5TestFile& f) {
    f.remove(path);
    if constexpr (std::is_same_v<Value, int>) f.ints(path, dims, values);
    if constexpr (!std::is_same_v<Value, int>) f.doubles(path, dims, values);
    f.intAttribute(path, "size", size);
  };
}

static Change topologyOf(const std::vector<hsize_t>& dims, const std::vector<int>& values, int size) {
  return rewritten(topology, dims, values, size);
}

class MeshCheck : public ::testing::Test {
 protected:
  // What the check reports, or the cells and nodes it found.
  std::string reportFor(const Change& change) {
    {
      H5TestFile file(name);
      file.ints(topology, {2, 3}, square);
      file.intAttribute(topology, "size", 6);
      file.doubles(coordinates, {4, 3}, corners);
      file.intAttribute(coordinates, "size", 12);
      change(file);
    }
    std::unique_ptr<api::IResultReader> reader(dataio::createResultReader(name));
    return testing_support::failureReport([&] {
      const results::Mesh mesh = results::checkMesh(*reader, topology, coordinates);
      std::cerr << mesh.cells << " cells, " << mesh.nodes << " nodes\n";
      throw BaseException();
    });
  }

  testing_support::TempDir dir;
  std::string name = dir.file("run.h5");
};

// Node numbers run from 0 to the node count less one.
TEST_F(MeshCheck, EachBrokenRuleIsOneLineNamingTheDataset) {
  const std::string size = "expected the attribute size = 6 (3 values per row), found ";
  const std::string nodes = "expected node numbers from 0 to 3, found ";
  // A large mesh is read in runs of rows: a wrong node far into it is found, with its own row.
  std::vector<int> large;
  for (int cell = 0; cell < 200000; ++cell) large.insert(large.end(), {0, 1, 2});
  large[3 * 150001 + 1] = 4;
  struct Case {
    std::string path, expectedAndFound;
    Change change;
  };
  const Case cases[] = {
      {topology, "expected 3 columns, found 4 columns", topologyOf({2, 4}, {0, 1, 2, 3, 0, 2, 3, 1}, 8)},
      {topology, "expected a two-dimensional dataset, found one of rank 1", topologyOf({6}, square, 6)},
      {topology, "expected at least 1 row, found 0 rows", topologyOf({0, 3}, {}, 0)},
      {topology, size + "size = 8", topologyOf({2, 3}, square, 8)},
      {topology, nodes + "-2 in row 1", topologyOf({2, 3}, {0, 1, 2, 0, -2, 3}, 6)},
      {topology, nodes + "4 in row 150001", topologyOf({200000, 3}, large, 600000)},
      {coordinates, "expected 3 columns, found 2 columns", rewritten(coordinates, {4, 2}, std::vector(8, 0.5), 8)},
      {coordinates, "expected at least 3 rows, found 2 rows", rewritten(coordinates, {2, 3}, std::vector(6, 0.5), 6)},
      {topology, size + "no attribute size", [](H5TestFile& f) { f.removeAttribute(topology, "size"); }},
      {topology, size + "an attribute size of strings",
       [](H5TestFile& f) { f.stringAttribute(topology, "size", "6"); }},
      {coordinates, "expected the attribute size = 12 (3 values per row), found size = 13",
       [](H5TestFile& f) { f.intAttribute(coordinates, "size", 13); }},
      {topology, "expected integers, found floating-point values",
       rewritten(topology, {2, 3}, std::vector<double>{0, 1, 2, 0, 2, 3}, 6)},
  };
  for (const Case& c : cases)
    EXPECT_EQ(reportFor(c.change),
              " -> mesh dataset <" + c.path + "> in file <" + name + ">: " + c.expectedAndFound + "\n");
  EXPECT_EQ(reportFor([](H5TestFile&) {}), "2 cells, 4 nodes\n");
  EXPECT_EQ(reportFor(topologyOf({1, 3}, {0, 1, 3}, 3)), "1 cells, 4 nodes\n");
  // A missing mesh dataset is reported as reading its attribute always reported it.
  const std::string missing = reportFor([](H5TestFile& f) { f.remove(topology); });
  const std::string start = " -> cannot read attribute to dataset <" + topology + "> in file <" + name + ">";
  EXPECT_EQ(missing.rfind(start + ", in file: ", 0), 0u) << missing;
}
