// Readers that check an HDF item's declared shape against the dataset refuse
// (or read zeros from) any other shape: every HDF item of an exported
// document must declare exactly the shape of the dataset it names.

#include <gtest/gtest.h>
#include <hdf5.h>

#include <regex>
#include <string>
#include <vector>

#include "support/BinaryRun.hpp"
#include "support/ResultsFileMaker.hpp"
#include "support/TempDir.hpp"
#include "synthetic/ResultsFile.hpp"

using namespace testing_support;

namespace {

struct HdfItem {
  std::string dimensions;  // as declared: "48 3"
  std::string file;        // relative to the document's folder
  std::string dataset;
};

// Every DataItem with Format="HDF", with the file:dataset line it holds.
std::vector<HdfItem> hdfItems(const std::string& document) {
  static const std::regex item(R"re(<DataItem [^>]*Dimensions="([^"]*)"[^>]*Format="HDF"[^>]*>\n *([^\n]*)\n)re");
  std::vector<HdfItem> items;
  for (auto match = std::sregex_iterator(document.begin(), document.end(), item); match != std::sregex_iterator();
       ++match) {
    const std::string reference = (*match)[2];
    const std::size_t colon = reference.rfind(':');
    items.push_back({(*match)[1], reference.substr(0, colon), colon == std::string::npos ? "" : reference.substr(colon + 1)});
  }
  return items;
}

// The dataset's extents, blank-separated as a document writes them; a note
// when the file or the dataset cannot be opened.
std::string datasetShape(const std::string& file, const std::string& dataset) {
  std::string shape = "cannot open " + file + ":" + dataset;
  H5E_BEGIN_TRY {
    const hid_t handle = H5Fopen(file.c_str(), H5F_ACC_RDONLY, H5P_DEFAULT);
    const hid_t set = handle < 0 ? -1 : H5Dopen2(handle, dataset.c_str(), H5P_DEFAULT);
    if (set >= 0) {
      const hid_t space = H5Dget_space(set);
      std::vector<hsize_t> dims(static_cast<std::size_t>(H5Sget_simple_extent_ndims(space)));
      H5Sget_simple_extent_dims(space, dims.data(), nullptr);
      shape.clear();
      for (const hsize_t extent : dims) shape += (shape.empty() ? "" : " ") + std::to_string(extent);
      H5Sclose(space);
      H5Dclose(set);
    }
    if (handle >= 0) H5Fclose(handle);
  }
  H5E_END_TRY;
  return shape;
}

class DeclaredShapes : public ::testing::Test {
 protected:
  // A small synthetic run of about 48 cells and three stored steps.
  void writeRun(synthetic::ModelKind kind, const std::vector<std::string>& outputs) {
    synthetic::RunSettings settings;
    settings.cells = 48;
    settings.steps = 3;
    settings.model = kind;
    settings.outputs = outputs;
    synthetic::writeResultsFile(dir.file("run.h5"), settings);
    writeFile(dir.file("cfg.json"), configurationText({"xdmf"}));
  }

  // Exports and returns how many HDF items were checked.
  std::size_t expectDeclaredShapesMatch(const std::string& document, const std::vector<std::string>& extra = {}) {
    std::vector<std::string> args{"-f", "cfg.json", "-r", "run.h5"};
    args.insert(args.end(), extra.begin(), extra.end());
    const BinaryRun run = runResults(args, dir.path());
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string path = dir.file(document);
    const std::string folder = path.substr(0, path.rfind('/') + 1);
    const std::vector<HdfItem> items = hdfItems(readFile(path));
    for (const HdfItem& item : items)
      EXPECT_EQ(item.dimensions, datasetShape(folder + item.file, item.dataset)) << item.file << ":" << item.dataset;
    return items.size();
  }

  TempDir dir;
};

}  // namespace

TEST_F(DeclaredShapes, EveryAttributeKindOfAHydraulicsRun) {
  writeRun(synthetic::ModelKind::hydraulics, {"water_surface", "water_depth", "bottom_elevation", "spec_discharge",
                                              "flow_velocity", "flow_velocity_abs", "friction_chezy"});
  // Per step: 1 + 2 + 1 + 2 + 2 + 1 + 1 HDF items; 2 mesh items.
  EXPECT_EQ(expectDeclaredShapesMatch("results.xdmf"), 2u + 3u * 10u);
}

TEST_F(DeclaredShapes, MorphologyFunctionsOverStoredSteps) {
  writeRun(synthetic::ModelKind::morphology, {"delta_z", "water_depth", "bottom_elevation"});
  EXPECT_EQ(expectDeclaredShapesMatch("results.xdmf"), 2u + 3u * 5u);
}

TEST_F(DeclaredShapes, DocumentInASubFolderNamesFilesFromThere) {
  writeRun(synthetic::ModelKind::hydraulics, {"water_surface", "spec_discharge", "flow_velocity"});
  ASSERT_EQ(system(("mkdir " + dir.file("sub")).c_str()), 0);
  EXPECT_EQ(expectDeclaredShapesMatch("sub/out.xdmf", {"-o", "sub/out.xdmf"}), 2u + 3u * 5u);
}
