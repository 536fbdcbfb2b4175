#include <gtest/gtest.h>
#include <hdf5.h>

#include <filesystem>

#include "model/catalogue/Catalogue.hpp"
#include "model/compose/Factory.hpp"
#include "support/BinaryRun.hpp"
#include "support/ModelTestSupport.hpp"
#include "support/TempDir.hpp"

using namespace model;
using model_testing::checkLine;
using model_testing::failureText;
using model_testing::StreamCapture;
using testing_support::TempDir;

namespace {

const std::string hydraulics = R"({"HYDRAULICS": {"FRICTION": {"TYPE": "MANNING"}}})";

std::string setupText(const std::string& domain) {
  return R"({"SETUP": {"DOMAIN": {"VELDRIX_2D": )" + domain + "}}}";
}

// The archive of a results file: .config/model as a one-element, variable-length UTF-8 string dataset.
void writeArchive(const std::string& fileName, const std::string& modelText) {
  const hid_t file = H5Fcreate(fileName.c_str(), H5F_ACC_TRUNC, H5P_DEFAULT, H5P_DEFAULT);
  const hid_t group = H5Gcreate2(file, ".config", H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT);
  const hid_t type = H5Tcopy(H5T_C_S1);
  H5Tset_size(type, H5T_VARIABLE);
  H5Tset_cset(type, H5T_CSET_UTF8);
  const hsize_t one = 1;
  const hid_t space = H5Screate_simple(1, &one, nullptr);
  const hid_t set = H5Dcreate2(group, "model", type, space, H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT);
  const char* text = modelText.c_str();
  H5Dwrite(set, type, H5S_ALL, H5S_ALL, H5P_DEFAULT, &text);
  H5Dclose(set);
  H5Sclose(space);
  H5Tclose(type);
  H5Gclose(group);
  H5Fclose(file);
}

struct Composed {
  std::unique_ptr<api::IModel> model;
  std::string progress;
};

Composed composeCapturing(const std::string& definition) {
  StreamCapture progress(std::cout);
  std::unique_ptr<api::IModel> model(compose(definition));
  return {std::move(model), progress.text()};
}

class ComposeSource : public testing::Test {
 protected:
  std::string inputFile(const std::string& domain) {
    const std::string name = folder.file("setup.json");
    testing_support::writeFile(name, setupText(domain));
    return name;
  }
  TempDir folder;
};

}  // namespace

TEST_F(ComposeSource, InputFileSelectsAggregatesWhosePathsAllExist) {
  const Composed hydraulicsOnly = composeCapturing(inputFile(R"({"HYDRAULICS": {"SCHEME": 1}})"));
  EXPECT_EQ(hydraulicsOnly.progress,
            " -> composing the model from the input file\n -> found aggregate <hydraulics_aggr>\n");
  EXPECT_EQ(hydraulicsOnly.model->getAggregates(), std::vector<AggregateID>{hydraulics_aggr});

  const Composed withFriction = composeCapturing(inputFile(hydraulics));
  EXPECT_EQ(withFriction.model->getAggregates(), (std::vector<AggregateID>{hydraulics_aggr, hyd_friction_aggr}));

  const Composed withMorphology = composeCapturing(
      inputFile(R"({"HYDRAULICS": {"FRICTION": {"TYPE": "MANNING"}}, "MORPHOLOGY": {"D50": 0.01}})"));
  EXPECT_EQ(withMorphology.progress,
            " -> composing the model from the input file\n -> found aggregate <hydraulics_aggr>\n"
            " -> found aggregate <morphology_aggr>\n -> found aggregate <mor_shields_aggr>\n"
            " -> found aggregate <hyd_friction_aggr>\n");
}

TEST_F(ComposeSource, InputFileModelCarriesStaticData) {
  const Composed composed = composeCapturing(inputFile(hydraulics));
  const std::vector<DataID> data = composed.model->getData();
  for (DataID id : {data_Topology, data_Coordnts_Nodes, data_StrNames}) EXPECT_TRUE(isListed(data, id));
  for (SetID id : {set_NodesAll, set_CellsAll, set_NodeStrg}) {
    EXPECT_TRUE(isListed(composed.model->getSets(), id));
  }
}

TEST_F(ComposeSource, InputFileWithoutAggregatesFails) {
  const std::string name = inputFile(R"({"TURBULENCE": {}})");
  EXPECT_EQ(failureText([&] { compose(name); }),
            checkLine("no aggregates found...something went wrong with the model definition", "compose/Factory.cpp"));
}

TEST_F(ComposeSource, ArchiveOfResultsFileInFolderWithPoint) {
  std::filesystem::create_directory(folder.file("runs.old"));
  const std::string results = folder.file("runs.old/result.h5");
  writeArchive(results, setupText(hydraulics));
  const Composed composed = composeCapturing(results);
  EXPECT_EQ(composed.progress,
            " -> composing the model from archive\n -> found aggregate <hydraulics_aggr>\n"
            " -> found aggregate <hyd_friction_aggr>\n");
  EXPECT_TRUE(isListed(composed.model->getData(), data_Topology));
  EXPECT_EQ(composed.model->getData(data_ChezyCoe)->getPath(), "CellsAll/ChezyCoe");
  // Composition has let go of the file: it opens for writing again.
  const hid_t reopened = H5Fopen(results.c_str(), H5F_ACC_RDWR, H5P_DEFAULT);
  EXPECT_GE(reopened, 0);
  if (reopened >= 0) H5Fclose(reopened);
}

TEST_F(ComposeSource, ArchiveFromRelativePathWithDots) {
  std::filesystem::create_directory(folder.file("run"));
  writeArchive(folder.file("result.h5"), setupText(hydraulics));
  const Composed composed = composeCapturing(folder.file("run/../result.h5"));
  EXPECT_EQ(composed.model->getAggregates(), (std::vector<AggregateID>{hydraulics_aggr, hyd_friction_aggr}));
}
