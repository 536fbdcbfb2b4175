// The reader check scripts (scripts/*_check.py) on a small exported run:
// ParaView's three XDMF readers, QGIS and meshio must show every output at
// every time as computed from the results file. The readers are not build
// or test dependencies: each test runs its script when the program is
// installed and skips with the script's reason otherwise.

#include <gtest/gtest.h>
#include <hdf5.h>
#include <sys/wait.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "BinaryRun.hpp"
#include "H5Writer.hpp"
#include "Mesh2dmWriter.hpp"
#include "PortableXdmfWriter.hpp"
#include "ResultReader.hpp"
#include "ResultsFile.hpp"
#include "ResultsFileMaker.hpp"
#include "TempDir.hpp"

using namespace testing_support;

namespace {

constexpr int skipStatus = 77;      // a script's reader or h5py is not importable
constexpr int notFoundStatus = 127;  // the shell found no such program

struct ScriptRun {
  int status = -1;
  std::string output;
};

ScriptRun runCommand(const std::string& command, const std::string& folder) {
  ScriptRun run;
  FILE* pipe = popen(("cd '" + folder + "' && " + command + " 2>&1").c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.output.append(buffer, n);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::string script(const std::string& name) { return "'" + std::string(RESULTS_SOURCE_DIR) + "/scripts/" + name + "'"; }

// QGIS and meshio are Debian's, for Debian's Python, which may not be the
// first python3 on the PATH.
ScriptRun runPython(const std::string& name, const std::string& arguments, const std::string& folder) {
  ScriptRun run;
  for (const char* python : {"python3", "/usr/bin/python3"}) {
    run = runCommand(std::string(python) + " " + script(name) + " " + arguments, folder);
    if (run.status != skipStatus && run.status != notFoundStatus) break;
  }
  return run;
}

bool installed(const std::string& program) {
  return runCommand("command -v " + program, "/").status == 0;
}

class ReaderChecks : public ::testing::Test {
 protected:
  // A small hydraulics run with the example's outputs, its default export,
  // the mesh as .2dm and a portable document of the same values.
  static void SetUpTestSuite() {
    folder = new TempDir;
    synthetic::RunSettings settings;
    settings.cells = 60;
    settings.steps = 3;
    settings.outputs = {"water_surface", "water_depth",       "bottom_elevation", "spec_discharge",
                        "flow_velocity", "flow_velocity_abs", "friction_chezy"};
    synthetic::writeResultsFile(folder->file("run.h5"), settings);
    writeFile(folder->file("cfg.json"), configurationText({"xdmf"}));
    exportRun = runResults({"-f", "cfg.json", "-r", "run.h5"}, folder->path());
    if (exportRun.status != 0) return;
    std::unique_ptr<api::IResultReader> results(dataio::createResultReader(folder->file("run.h5")));
    dataio::writeMesh2dm(folder->file("results.2dm"), results->readIntArray("CellsAll/Topology"),
                         results->readDoubleArray("NodesAll/Coordnts"));
    writePortable(*results);
  }

  static void TearDownTestSuite() {
    delete folder;
    folder = nullptr;
  }

  void SetUp() override { ASSERT_EQ(exportRun.status, 0) << exportRun.err; }

  // What the portable export holds: the mesh and every attribute as a
  // dataset of its own, vectors with a zero third component. The computed
  // outputs are those of the default export's auxiliary file.
  static void writePortable(api::IResultReader& results) {
    std::unique_ptr<api::IH5Reader> computed(dataio::createResultReader(folder->file("results_aux.h5")));
    std::unique_ptr<api::IH5Writer> aux(dataio::createH5Writer(folder->file("portable_aux.h5")));
    std::unique_ptr<api::IXdmfWriter> document(createPortableXdmfWriter("portable", "portable_aux.h5"));
    const auto topology = results.readIntArray("CellsAll/Topology");
    const auto coordinates = results.readDoubleArray("NodesAll/Coordnts");
    aux->writeIntArray("CellsAll/Topology", topology);
    aux->writeDoubleArray("NodesAll/Coordnts", coordinates);
    const int cells = static_cast<int>(topology.size());
    document->addMesh(cells, "CellsAll/Topology", 3 * cells, "NodesAll/Coordnts",
                      3 * static_cast<int>(coordinates.size()));
    const auto bed = results.readColumn("CellsAll/BottomEl", 0);
    for (const auto& [time, step] : results.getTimes({"CellsAll/HydState"}, false)) {
      document->addTimeStep(time);
      const std::string state = dataio::resultStepPath("CellsAll/HydState", step);
      const auto surface = results.readColumn(state, 0);
      std::vector<double> depth(surface.size());
      for (std::size_t i = 0; i < depth.size(); ++i) depth[i] = surface[i] - bed[i];
      const auto scalar = [&](const std::string& name, const std::vector<double>& values) {
        const std::string path = name + "/" + std::to_string(step);
        aux->writeDoubleBuffer(path, cells, 1, values.data());
        document->addScalar(name, cells, "portable_aux.h5", path, 1, 0);
      };
      const auto vector = [&](const std::string& name, const std::vector<double>& x, const std::vector<double>& y) {
        std::vector<double> xyz;
        for (std::size_t i = 0; i < x.size(); ++i) xyz.insert(xyz.end(), {x[i], y[i], 0.0});
        const std::string path = name + "/" + std::to_string(step);
        aux->writeDoubleBuffer(path, cells, 3, xyz.data());
        document->addVector(name, cells, "portable_aux.h5", path, 3, {0, 1});
      };
      const std::string velocity = "flow_velocity/" + std::to_string(step);
      scalar("water_surface", surface);
      scalar("water_depth", depth);
      scalar("bottom_elevation", bed);
      vector("spec_discharge", results.readColumn(state, 1), results.readColumn(state, 2));
      vector("flow_velocity", computed->readColumn(velocity, 0), computed->readColumn(velocity, 1));
      scalar("flow_velocity_abs", computed->readColumn("flow_velocity_abs/" + std::to_string(step), 0));
      scalar("friction_chezy", results.readColumn(dataio::resultStepPath("CellsAll/ChezyCoe", step), 0));
    }
    document->write(folder->file("portable.xdmf"));
    aux->close();
  }

  static void expectAgreement(const ScriptRun& run) {
    if (run.status == skipStatus || run.status == notFoundStatus) GTEST_SKIP() << run.output;
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("\nall values agree\n"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("MISMATCH"), std::string::npos) << run.output;
  }

  static TempDir* folder;
  static BinaryRun exportRun;
};

TempDir* ReaderChecks::folder = nullptr;
BinaryRun ReaderChecks::exportRun;

}  // namespace

TEST_F(ReaderChecks, ParaViewShowsTheDefaultDocument) {
  if (!installed("pvbatch")) GTEST_SKIP() << "pvbatch is not installed (Debian: paraview)";
  expectAgreement(runCommand("pvbatch " + script("paraview_check.py") + " results.xdmf run.h5", folder->path()));
}

TEST_F(ReaderChecks, ParaViewsThreeReadersShowThePortableDocument) {
  if (!installed("pvbatch")) GTEST_SKIP() << "pvbatch is not installed (Debian: paraview)";
  expectAgreement(
      runCommand("pvbatch " + script("paraview_check.py") + " --readers all portable.xdmf run.h5", folder->path()));
}

TEST_F(ReaderChecks, QgisShowsTheMeshWithTheDefaultDocument) {
  expectAgreement(runPython("qgis_check.py", "results.2dm results.xdmf run.h5", folder->path()));
}

TEST_F(ReaderChecks, MeshioReadsThePortableDocument) {
  expectAgreement(runPython("meshio_check.py", "portable.xdmf run.h5", folder->path()));
}

// The check itself must see a wrong value: one depth of the first step off
// by a millimetre in a copy of the portable pair.
TEST_F(ReaderChecks, MeshioCheckSeesAChangedValue) {
  const std::string changed = folder->file("changed");
  ASSERT_EQ(runCommand("mkdir -p changed && cp portable.xdmf portable_aux.h5 run.h5 changed/", folder->path()).status,
            0);
  const hid_t file = H5Fopen((changed + "/portable_aux.h5").c_str(), H5F_ACC_RDWR, H5P_DEFAULT);
  const hid_t dataset = H5Dopen2(file, "water_depth/0", H5P_DEFAULT);
  std::vector<double> depth;
  const hid_t space = H5Dget_space(dataset);
  depth.resize(static_cast<std::size_t>(H5Sget_simple_extent_npoints(space)));
  H5Dread(dataset, H5T_NATIVE_DOUBLE, H5S_ALL, H5S_ALL, H5P_DEFAULT, depth.data());
  depth.at(7) += 0.001;
  ASSERT_GE(H5Dwrite(dataset, H5T_NATIVE_DOUBLE, H5S_ALL, H5S_ALL, H5P_DEFAULT, depth.data()), 0);
  H5Sclose(space);
  H5Dclose(dataset);
  H5Fclose(file);

  const ScriptRun run = runPython("meshio_check.py", "portable.xdmf run.h5", changed);
  if (run.status == skipStatus || run.status == notFoundStatus) GTEST_SKIP() << run.output;
  EXPECT_EQ(run.status, 1) << run.output;
  EXPECT_NE(run.output.find(", water_depth 1.000e-03 MISMATCH, "), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("\ndifferences beyond the tolerance\n"), std::string::npos) << run.output;
}
