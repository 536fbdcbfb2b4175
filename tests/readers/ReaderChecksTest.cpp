// The reader check scripts (scripts/*_check.py) on what the tool exports of
// small runs: ParaView's three XDMF readers, QGIS and meshio must show every
// output the documents declare at every time they declare, as computed from
// the results file. The readers are not build
// or test dependencies: each test runs its script when the program is
// installed and skips with the script's reason otherwise.

#include <gtest/gtest.h>
#include <hdf5.h>
#include <sys/wait.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "support/BinaryRun.hpp"
#include "support/ResultsFileMaker.hpp"
#include "support/TempDir.hpp"
#include "synthetic/ResultsFile.hpp"

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

// Every document form the tool writes for one run: the default document
// with the mesh as .2dm, the portable document, and both forms of a window
// with a stride and an output list; each with its envelope document, of the
// run's minimum water depth or of a wet depth of its own.
const char* const exportsOfEveryForm = R"({"RESULTS": {"EXPORT": [
  {"format": "xdmf", "mesh_2dm": true, "envelopes": {}},
  {"format": "xdmf", "document": "portable.xdmf", "portable": true, "envelopes": {"wet_depth": 0.05}},
  {"format": "xdmf", "document": "window.xdmf", "from": 1e-9, "every": 2, "mesh_2dm": true,
   "outputs": ["flow_velocity", "water_depth", "bottom_elevation"], "envelopes": {"wet_depth": 0.05}},
  {"format": "xdmf", "document": "window_portable.xdmf", "portable": true, "from": 1e-9, "every": 2,
   "outputs": ["flow_velocity", "water_depth", "bottom_elevation"], "envelopes": {}}]}})";

// The check scripts' arguments for the envelope document of a time-step
// document: the envelopes over its times, of the entry's wet depth.
std::string envelopesOf(const std::string& document) {
  const std::string stem = document.substr(0, document.find('.'));
  const bool ownWetDepth = stem == "portable" || stem == "window";
  return "--envelopes-of " + document + (ownWetDepth ? " --wet-depth 0.05 " : " ") + stem + "_envelopes.xdmf";
}

// Writes a small run of the kind into folder and exports it in every form.
BinaryRun exportEveryForm(const std::string& folder, synthetic::ModelKind kind,
                          const std::vector<std::string>& outputs) {
  synthetic::RunSettings settings;
  settings.cells = 60;
  settings.steps = 5;
  settings.model = kind;
  settings.outputs = outputs;
  synthetic::writeResultsFile(folder + "/run.h5", settings);
  writeFile(folder + "/cfg.json", exportsOfEveryForm);
  return runResults({"-f", "cfg.json", "-r", "run.h5"}, folder);
}

void expectAgreement(const ScriptRun& run) {
  if (run.status == skipStatus || run.status == notFoundStatus) GTEST_SKIP() << run.output;
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("\nall values agree\n"), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("MISMATCH"), std::string::npos) << run.output;
}

ScriptRun paraview(const std::string& readers, const std::string& document, const std::string& folder,
                   const std::string& results = "run.h5") {
  if (!installed("pvbatch")) return {skipStatus, "pvbatch is not installed (Debian: paraview)"};
  return runCommand("pvbatch " + script("paraview_check.py") + " --readers " + readers + " " + document + " " + results,
                    folder);
}

// Every check on the documents of a run of the kind, exported in every
// form: ParaView's XDMF Reader on the default documents and its three
// readers on the portable ones, QGIS over the .2dm with the default
// documents, meshio on the portable ones. Stops at the first check that skips.
void expectEveryReaderAgrees(synthetic::ModelKind kind, const std::vector<std::string>& outputs) {
  TempDir temporary;
  const std::string folder = temporary.path();
  const BinaryRun run = exportEveryForm(folder, kind, outputs);
  ASSERT_EQ(run.status, 0) << run.err;
  for (const std::string document : {"results.xdmf", "window.xdmf"}) {
    const std::string mesh = document == "results.xdmf" ? "results.2dm" : "window.2dm";
    for (const std::string& checked : {document, envelopesOf(document)}) {
      SCOPED_TRACE(checked);
      expectAgreement(paraview("XDMFReader", checked, folder));
      if (::testing::Test::IsSkipped()) return;
      const std::size_t split = checked.rfind(' ') + 1;  // the options, then the document
      const std::string arguments = checked.substr(0, split) + mesh + " " + checked.substr(split) + " run.h5";
      expectAgreement(runPython("qgis_check.py", arguments, folder));
      if (::testing::Test::IsSkipped()) return;
    }
  }
  for (const std::string document : {"portable.xdmf", "window_portable.xdmf"}) {
    for (const std::string& checked : {document, envelopesOf(document)}) {
      SCOPED_TRACE(checked);
      expectAgreement(paraview("all", checked, folder));
      if (::testing::Test::IsSkipped()) return;
      expectAgreement(runPython("meshio_check.py", checked + " run.h5", folder));
      if (::testing::Test::IsSkipped()) return;
    }
  }
}

class ReaderChecks : public ::testing::Test {
 protected:
  // A small hydraulics run with the example's outputs, exported in every form.
  static void SetUpTestSuite() {
    folder = new TempDir;
    exportRun = exportEveryForm(folder->path(), synthetic::ModelKind::hydraulics,
                                {"water_surface", "water_depth", "bottom_elevation", "spec_discharge",
                                 "flow_velocity", "flow_velocity_abs", "friction_chezy"});
  }

  static void TearDownTestSuite() {
    delete folder;
    folder = nullptr;
  }

  void SetUp() override { ASSERT_EQ(exportRun.status, 0) << exportRun.err; }

  static TempDir* folder;
  static BinaryRun exportRun;
};

TempDir* ReaderChecks::folder = nullptr;
BinaryRun ReaderChecks::exportRun;

}  // namespace

TEST_F(ReaderChecks, ParaViewShowsTheDefaultDocument) {
  expectAgreement(paraview("XDMFReader", "results.xdmf", folder->path()));
}

TEST_F(ReaderChecks, ParaViewsThreeReadersShowThePortableDocument) {
  expectAgreement(paraview("all", "portable.xdmf", folder->path()));
}

TEST_F(ReaderChecks, QgisShowsTheMeshWithTheDefaultDocument) {
  expectAgreement(runPython("qgis_check.py", "results.2dm results.xdmf run.h5", folder->path()));
}

TEST_F(ReaderChecks, MeshioReadsThePortableDocument) {
  expectAgreement(runPython("meshio_check.py", "portable.xdmf run.h5", folder->path()));
}

// A window of every second stored time after the first, three outputs.
TEST_F(ReaderChecks, EveryReaderShowsTheDocumentsOfASelection) {
  expectAgreement(paraview("XDMFReader", "window.xdmf", folder->path()));
  expectAgreement(paraview("all", "window_portable.xdmf", folder->path()));
  expectAgreement(runPython("qgis_check.py", "window.2dm window.xdmf run.h5", folder->path()));
  expectAgreement(runPython("meshio_check.py", "window_portable.xdmf run.h5", folder->path()));
}

// Each envelope document in the readers that open its form: its one time,
// every envelope over the times of its time-step document, NaN where a cell
// was never wet.
TEST_F(ReaderChecks, ParaViewShowsTheEnvelopeDocuments) {
  expectAgreement(paraview("XDMFReader", envelopesOf("results.xdmf"), folder->path()));
  expectAgreement(paraview("XDMFReader", envelopesOf("window.xdmf"), folder->path()));
  expectAgreement(paraview("all", envelopesOf("portable.xdmf"), folder->path()));
  expectAgreement(paraview("all", envelopesOf("window_portable.xdmf"), folder->path()));
}

TEST_F(ReaderChecks, QgisShowsTheEnvelopesOnTheMesh) {
  expectAgreement(runPython("qgis_check.py",
                            "--envelopes-of results.xdmf results.2dm results_envelopes.xdmf run.h5", folder->path()));
  expectAgreement(runPython("qgis_check.py",
                            "--envelopes-of window.xdmf --wet-depth 0.05 window.2dm window_envelopes.xdmf run.h5",
                            folder->path()));
}

TEST_F(ReaderChecks, MeshioReadsThePortableEnvelopeDocuments) {
  expectAgreement(runPython("meshio_check.py", envelopesOf("portable.xdmf") + " run.h5", folder->path()));
  expectAgreement(runPython("meshio_check.py", envelopesOf("window_portable.xdmf") + " run.h5", folder->path()));
}

// The portable pair alone, in another folder: the results file only gives
// the checks their expected values.
TEST_F(ReaderChecks, ThePortablePairOpensAfterAMove) {
  ASSERT_EQ(runCommand("mkdir -p moved && cp portable.xdmf portable_aux.h5 moved/", folder->path()).status, 0);
  const std::string moved = folder->file("moved");
  expectAgreement(runPython("meshio_check.py", "portable.xdmf ../run.h5", moved));
  expectAgreement(paraview("all", "portable.xdmf", moved, "../run.h5"));
}

TEST(ReaderChecksOfRunKinds, MorphologyRun) {
  expectEveryReaderAgrees(synthetic::ModelKind::morphology,
                          {"delta_z", "water_depth", "bottom_elevation", "flow_velocity"});
}

// flood_tracking comes with the setup, first, and shows its first stored
// step's record at every time.
TEST(ReaderChecksOfRunKinds, FloodRun) {
  expectEveryReaderAgrees(synthetic::ModelKind::flood,
                          {"water_depth", "flow_velocity", "bottom_elevation", "delta_z"});
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

// And a wrong envelope: the arrival of one cell a second late, and a number
// where a cell never wet has none.
TEST_F(ReaderChecks, EnvelopeChecksSeeAChangedValueAndAMissingNaN) {
  const std::string changed = folder->file("changed_envelopes");
  ASSERT_EQ(runCommand("mkdir -p changed_envelopes && cp portable.xdmf portable_envelopes.xdmf portable_aux.h5 "
                       "run.h5 changed_envelopes/",
                       folder->path())
                .status,
            0);
  const hid_t file = H5Fopen((changed + "/portable_aux.h5").c_str(), H5F_ACC_RDWR, H5P_DEFAULT);
  const hid_t dataset = H5Dopen2(file, "envelopes/arrival_time", H5P_DEFAULT);
  const hid_t space = H5Dget_space(dataset);
  std::vector<double> arrival(static_cast<std::size_t>(H5Sget_simple_extent_npoints(space)));
  H5Dread(dataset, H5T_NATIVE_DOUBLE, H5S_ALL, H5S_ALL, H5P_DEFAULT, arrival.data());
  std::size_t wet = 0;
  while (wet < arrival.size() && arrival[wet] != arrival[wet]) ++wet;
  std::size_t dry = 0;
  while (dry < arrival.size() && arrival[dry] == arrival[dry]) ++dry;
  ASSERT_LT(wet, arrival.size());
  ASSERT_LT(dry, arrival.size()) << "the run should leave some cell dry";
  arrival[wet] += 1.0;
  ASSERT_GE(H5Dwrite(dataset, H5T_NATIVE_DOUBLE, H5S_ALL, H5S_ALL, H5P_DEFAULT, arrival.data()), 0);
  H5Sclose(space);
  H5Dclose(dataset);
  H5Fclose(file);

  const std::string arguments = envelopesOf("portable.xdmf") + " run.h5";
  const ScriptRun late = runPython("meshio_check.py", arguments, changed);
  if (late.status == skipStatus || late.status == notFoundStatus) GTEST_SKIP() << late.output;
  EXPECT_EQ(late.status, 1) << late.output;
  EXPECT_NE(late.output.find(", arrival_time 1.000e+00 MISMATCH, "), std::string::npos) << late.output;

  arrival[wet] -= 1.0;
  arrival[dry] = 0.0;
  const hid_t again = H5Fopen((changed + "/portable_aux.h5").c_str(), H5F_ACC_RDWR, H5P_DEFAULT);
  const hid_t values = H5Dopen2(again, "envelopes/arrival_time", H5P_DEFAULT);
  ASSERT_GE(H5Dwrite(values, H5T_NATIVE_DOUBLE, H5S_ALL, H5S_ALL, H5P_DEFAULT, arrival.data()), 0);
  H5Dclose(values);
  H5Fclose(again);
  const ScriptRun numbered = runPython("meshio_check.py", arguments, changed);
  EXPECT_EQ(numbered.status, 1) << numbered.output;
  EXPECT_NE(numbered.output.find(", arrival_time nan MISMATCH, "), std::string::npos) << numbered.output;
}

// The maps of a small run in QGIS: each raster and the outline load with the
// coordinate system, and sampled pixels show their cells' values. A pixel
// changed afterwards is seen: the check compares, it does not only load.
TEST(ReaderMaps, QgisLoadsTheMapsWithTheirCrsAndTheirCellsValues) {
  TempDir temporary;
  const std::string folder = temporary.path();
  synthetic::RunSettings settings;
  settings.cells = 60;
  settings.steps = 5;
  settings.model = synthetic::ModelKind::hydraulics;
  settings.outputs = {"water_surface", "water_depth", "bottom_elevation", "spec_discharge", "flow_velocity",
                      "flow_velocity_abs"};
  synthetic::writeResultsFile(folder + "/run.h5", settings);
  writeFile(folder + "/cfg.json", R"({"RESULTS": {"EXPORT": [{"format": "xdmf", "envelopes": {"wet_depth": 0.05},
    "maps": {"cell_size": 7, "crs": "EPSG:2056", "outputs": ["water_depth", "flow_velocity_abs"], "outline": true}}]}})");
  const BinaryRun run = runResults({"-f", "cfg.json", "-r", "run.h5"}, folder);
  ASSERT_EQ(run.status, 0) << run.err;
  expectAgreement(runPython("qgis_maps_check.py", "--crs EPSG:2056 --wet-depth 0.05 results run.h5", folder));
  if (::testing::Test::IsSkipped()) return;

  const ScriptRun unreferenced = runPython("qgis_maps_check.py", "--wet-depth 0.05 results run.h5", folder);
  EXPECT_EQ(unreferenced.status, 1) << unreferenced.output;
  ASSERT_EQ(std::rename((folder + "/results_water_depth_max.tif").c_str(),
                        (folder + "/results_water_surface_max.tif").c_str()),
            0);
  const ScriptRun swapped = runPython("qgis_maps_check.py", "--crs EPSG:2056 --wet-depth 0.05 results run.h5", folder);
  EXPECT_EQ(swapped.status, 1) << swapped.output;
  EXPECT_NE(swapped.output.find("water_surface_max: 1 bands"), std::string::npos) << swapped.output;
  EXPECT_NE(swapped.output.find("MISMATCH"), std::string::npos) << swapped.output;
}
