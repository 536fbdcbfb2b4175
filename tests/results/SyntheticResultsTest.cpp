#include <gtest/gtest.h>
#include <hdf5.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/StoredDatasets.hpp"
#include "support/TempDir.hpp"
#include "synthetic/ResultsFile.hpp"

namespace {

using testing_support::TempDir;

// Read-only access to a written file; every probe closes what it opens.
class Written {
 public:
  explicit Written(const std::string& path)
      : file(H5Fopen(path.c_str(), H5F_ACC_RDONLY, H5P_DEFAULT)) {}
  ~Written() { H5Fclose(file); }
  Written(const Written&) = delete;
  Written& operator=(const Written&) = delete;

  // A missing intermediate group makes the probe fail: that means absent too.
  bool has(const std::string& path) const {
    htri_t exists = 0;
    H5E_BEGIN_TRY { exists = H5Lexists(file, path.c_str(), H5P_DEFAULT); }
    H5E_END_TRY;
    return exists > 0;
  }

  std::vector<hsize_t> shape(const std::string& path) const {
    const hid_t dataset = H5Dopen2(file, path.c_str(), H5P_DEFAULT);
    const hid_t space = H5Dget_space(dataset);
    std::vector<hsize_t> dims(static_cast<std::size_t>(H5Sget_simple_extent_ndims(space)));
    H5Sget_simple_extent_dims(space, dims.data(), nullptr);
    H5Sclose(space);
    H5Dclose(dataset);
    return dims;
  }

  H5T_class_t typeClass(const std::string& path) const {
    const hid_t dataset = H5Dopen2(file, path.c_str(), H5P_DEFAULT);
    const hid_t type = H5Dget_type(dataset);
    const H5T_class_t kind = H5Tget_class(type);
    H5Tclose(type);
    H5Dclose(dataset);
    return kind;
  }

  template <typename T>
  T attribute(const std::string& path, const std::string& name, hid_t memType) const {
    const hid_t handle = H5Aopen_by_name(file, path.c_str(), name.c_str(), H5P_DEFAULT, H5P_DEFAULT);
    T value{};
    H5Aread(handle, memType, &value);
    H5Aclose(handle);
    return value;
  }
  int size(const std::string& path) const { return attribute<int>(path, "size", H5T_NATIVE_INT); }
  double time(const std::string& path) const {
    return attribute<double>(path, "t", H5T_NATIVE_DOUBLE);
  }

  std::vector<std::string> members(const std::string& group) const {
    const hid_t handle = H5Gopen2(file, group.c_str(), H5P_DEFAULT);
    H5G_info_t info;
    H5Gget_info(handle, &info);
    std::vector<std::string> names;
    for (hsize_t i = 0; i < info.nlinks; ++i) {
      char name[64];
      H5Lget_name_by_idx(handle, ".", H5_INDEX_NAME, H5_ITER_INC, i, name, sizeof name, H5P_DEFAULT);
      names.emplace_back(name);
    }
    H5Gclose(handle);
    return names;
  }

  nlohmann::json text(const std::string& path) const {
    const hid_t dataset = H5Dopen2(file, path.c_str(), H5P_DEFAULT);
    const hid_t type = H5Dget_type(dataset);
    const hid_t space = H5Dget_space(dataset);
    char* element = nullptr;
    H5Dread(dataset, type, H5S_ALL, H5S_ALL, H5P_DEFAULT, &element);
    const std::string content = element ? element : "";
    H5Dvlen_reclaim(type, space, H5P_DEFAULT, &element);
    H5Sclose(space);
    H5Tclose(type);
    H5Dclose(dataset);
    return nlohmann::json::parse(content);
  }

  std::vector<double> values(const std::string& path) const { return testing_support::storedDoubles(file, path); }

 private:
  hid_t file;
};

synthetic::RunSettings smallRun(synthetic::ModelKind model) {
  synthetic::RunSettings settings;
  settings.cells = 60;  // 10 x 3 squares
  settings.steps = 4;
  settings.model = model;
  return settings;
}

std::string writeSmall(const TempDir& dir, const synthetic::RunSettings& settings) {
  const std::string path = dir.file("run.h5");
  synthetic::writeResultsFile(path, settings);
  return path;
}

const std::string hydState = "/RESULTS/CellsAll/HydState";

}  // namespace

TEST(SyntheticResultsFile, MeshDatasetsCarryShapeAndSize) {
  TempDir dir;
  const Written file(writeSmall(dir, smallRun(synthetic::ModelKind::hydraulics)));
  EXPECT_EQ(file.shape("/CellsAll/Topology"), (std::vector<hsize_t>{60, 3}));
  EXPECT_EQ(file.size("/CellsAll/Topology"), 180);
  EXPECT_EQ(file.typeClass("/CellsAll/Topology"), H5T_INTEGER);
  EXPECT_EQ(file.shape("/NodesAll/Coordnts"), (std::vector<hsize_t>{44, 3}));
  EXPECT_EQ(file.size("/NodesAll/Coordnts"), 132);
  EXPECT_EQ(file.shape("/Parameters/MinWaterDepth"), (std::vector<hsize_t>{1}));
  EXPECT_EQ(file.values("/Parameters/MinWaterDepth"), (std::vector<double>{0.001}));
}

TEST(SyntheticResultsFile, StepsAreNumberedWithSevenDigitsAndTimedInOrder) {
  TempDir dir;
  const Written file(writeSmall(dir, smallRun(synthetic::ModelKind::hydraulics)));
  const std::vector<std::string> steps = {"0000000", "0000001", "0000002", "0000003"};
  ASSERT_EQ(file.members(hydState), steps);
  for (std::size_t k = 0; k < steps.size(); ++k) {
    const std::string path = hydState + "/" + steps[k];
    EXPECT_EQ(file.shape(path), (std::vector<hsize_t>{60, 3}));
    EXPECT_EQ(file.size(path), 180);
    if (k > 0) {
      EXPECT_LT(file.time(hydState + "/" + steps[k - 1]), file.time(path));
    }
  }
  EXPECT_EQ(file.time(hydState + "/0000000"), 0.0);
}

TEST(SyntheticResultsFile, ReversedOrderStoresTheLastTimeFirst) {
  TempDir dir;
  synthetic::RunSettings settings = smallRun(synthetic::ModelKind::hydraulics);
  settings.order = synthetic::StepOrder::reversed;
  const Written file(writeSmall(dir, settings));
  EXPECT_GT(file.time(hydState + "/0000000"), file.time(hydState + "/0000001"));
  EXPECT_EQ(file.time(hydState + "/0000003"), 0.0);
}

TEST(SyntheticResultsFile, HydraulicsModelArchivesFrictionAndAStaticBed) {
  TempDir dir;
  const Written file(writeSmall(dir, smallRun(synthetic::ModelKind::hydraulics)));
  const nlohmann::json domain = file.text("/.config/model")["SETUP"]["DOMAIN"]["VELDRIX_2D"];
  EXPECT_FALSE(domain["HYDRAULICS"]["FRICTION"].empty());
  EXPECT_FALSE(domain.contains("MORPHOLOGY"));
  EXPECT_FALSE(domain["HYDRAULICS"].contains("FLOOD"));
  EXPECT_EQ(file.shape("/CellsAll/BottomEl"), (std::vector<hsize_t>{60, 1}));
  EXPECT_FALSE(file.has("/RESULTS/CellsAll/BottomEl"));
  EXPECT_FALSE(file.has("/RESULTS/CellsAll/ChezyCoe"));

  const nlohmann::json simulation = file.text("/.config/simulation");
  EXPECT_EQ(simulation["SIMULATION"]["OUTPUT"].get<std::vector<std::string>>(),
            smallRun(synthetic::ModelKind::hydraulics).outputs);
}

TEST(SyntheticResultsFile, MorphologyModelStoresAnErodingBedPerStep) {
  TempDir dir;
  const Written file(writeSmall(dir, smallRun(synthetic::ModelKind::morphology)));
  EXPECT_FALSE(file.text("/.config/model")["SETUP"]["DOMAIN"]["VELDRIX_2D"]["MORPHOLOGY"].empty());
  EXPECT_FALSE(file.has("/CellsAll/BottomEl"));
  const std::string bed = "/RESULTS/CellsAll/BottomEl/";
  EXPECT_EQ(file.shape(bed + "0000003"), (std::vector<hsize_t>{60, 1}));
  EXPECT_EQ(file.time(bed + "0000002"), file.time(hydState + "/0000002"));
  const std::vector<double> first = file.values(bed + "0000000");
  const std::vector<double> last = file.values(bed + "0000003");
  double eroded = 0.0;
  for (std::size_t cell = 0; cell < first.size(); ++cell) {
    EXPECT_LE(last[cell], first[cell]);
    eroded += first[cell] - last[cell];
  }
  EXPECT_GT(eroded, 0.0);
}

TEST(SyntheticResultsFile, FloodModelTracksFiveColumnsAndOptionalDataFollowTheSettings) {
  TempDir dir;
  synthetic::RunSettings settings = smallRun(synthetic::ModelKind::flood);
  settings.outputs.push_back("friction_chezy");
  settings.minWaterDepth.reset();
  const Written file(writeSmall(dir, settings));
  EXPECT_FALSE(
      file.text("/.config/model")["SETUP"]["DOMAIN"]["VELDRIX_2D"]["HYDRAULICS"]["FLOOD"].empty());
  EXPECT_EQ(file.shape("/RESULTS/CellsAll/FloodVar/0000001"), (std::vector<hsize_t>{60, 5}));
  EXPECT_EQ(file.size("/RESULTS/CellsAll/ChezyCoe/0000001"), 60);
  EXPECT_FALSE(file.has("/Parameters/MinWaterDepth"));
}

TEST(SyntheticResultsFile, WaterDepthFollowsTheDamBreak) {
  TempDir dir;
  const Written file(writeSmall(dir, smallRun(synthetic::ModelKind::hydraulics)));
  const std::vector<double> bed = file.values("/CellsAll/BottomEl");
  const std::vector<double> start = file.values(hydState + "/0000000");
  const std::vector<double> end = file.values(hydState + "/0000003");
  // Cell 0 lies at the inlet, the last cell at the outlet; the dam stands between.
  EXPECT_DOUBLE_EQ(start[0] - bed[0], 2.0);
  EXPECT_DOUBLE_EQ(start[3 * 59] - bed[59], 0.0);
  EXPECT_EQ(start[1], 0.0);
  double moving = 0.0;
  for (std::size_t cell = 0; cell < bed.size(); ++cell) {
    EXPECT_GE(end[3 * cell] - bed[cell], 0.0);
    EXPECT_LE(end[3 * cell] - bed[cell], 2.0 + 1e-12);
    moving += end[3 * cell + 1];
  }
  EXPECT_GT(moving, 0.0);
}
