// The reader check scripts (scripts/*_check.py): ParaView's three XDMF readers, QGIS and meshio must show
// every output of small runs at every time, as computed from the results file; skips where one is absent.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "support/BinaryRun.hpp"
#include "support/H5TestFile.hpp"
#include "support/StoredDatasets.hpp"
#include "support/TempDir.hpp"
#include "synthetic/ResultsFile.hpp"

using namespace testing_support;

namespace {

constexpr int skipStatus = 77;       // a script's reader or h5py is not importable
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

bool skipped(const ScriptRun& run) { return run.status == skipStatus || run.status == notFoundStatus; }

// QGIS and meshio are Debian's, for Debian's Python, which may not be the first python3 on the PATH.
ScriptRun runPython(const std::string& name, const std::string& arguments, const std::string& folder) {
  ScriptRun run;
  for (const char* python : {"python3", "/usr/bin/python3"}) {
    run = runCommand(std::string(python) + " " + script(name) + " " + arguments, folder);
    if (!skipped(run)) break;
  }
  return run;
}

ScriptRun paraview(const std::string& readers, const std::string& document, const std::string& folder,
                   const std::string& results = "run.h5") {
  if (runCommand("command -v pvbatch", "/").status != 0) return {skipStatus, "pvbatch is not installed"};
  return runCommand("pvbatch " + script("paraview_check.py") + " --readers " + readers + " " + document + " " + results,
                    folder);
}

void expectAgreement(const ScriptRun& run) {
  if (skipped(run)) GTEST_SKIP() << run.output;
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("\nall values agree\n"), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("MISMATCH"), std::string::npos) << run.output;
}

// A check that must fail, with a line that names what it saw.
void expectMismatch(const ScriptRun& run, const std::string& seen) {
  if (skipped(run)) GTEST_SKIP() << run.output;
  EXPECT_EQ(run.status, 1) << run.output;
  EXPECT_NE(run.output.find(seen), std::string::npos) << run.output;
}

// Default with the .2dm mesh, portable, both for a strided window of some outputs; the run's or an own wet depth.
const char* const exportsOfEveryForm = R"({"RESULTS": {"EXPORT": [
  {"format": "xdmf", "mesh_2dm": true, "envelopes": {}},
  {"format": "xdmf", "document": "portable.xdmf", "portable": true, "envelopes": {"wet_depth": 0.05}},
  {"format": "xdmf", "document": "window.xdmf", "from": 1e-9, "every": 2, "mesh_2dm": true,
   "outputs": ["flow_velocity", "water_depth", "bottom_elevation"], "envelopes": {"wet_depth": 0.05}},
  {"format": "xdmf", "document": "window_portable.xdmf", "portable": true, "from": 1e-9, "every": 2,
   "outputs": ["flow_velocity", "water_depth", "bottom_elevation"], "envelopes": {}}]}})";

// The scripts' arguments for a time-step document's envelopes, of the entry's wet depth.
std::string envelopesOf(const std::string& document) {
  const std::string stem = document.substr(0, document.find('.'));
  const bool ownWetDepth = stem == "portable" || stem == "window";
  return "--envelopes-of " + document + (ownWetDepth ? " --wet-depth 0.05 " : " ") + stem + "_envelopes.xdmf";
}

// Writes a small run of the kind into folder and exports it with `exports`.
void exportRun(const std::string& folder, synthetic::ModelKind kind, const std::vector<std::string>& outputs,
               const std::string& exports = exportsOfEveryForm) {
  synthetic::RunSettings settings;
  settings.cells = 60;
  settings.steps = 5;
  settings.model = kind;
  settings.outputs = outputs;
  synthetic::writeResultsFile(folder + "/run.h5", settings);
  writeFile(folder + "/cfg.json", exports);
  const BinaryRun run = runResults({"-f", "cfg.json", "-r", "run.h5"}, folder);
  ASSERT_EQ(run.status, 0) << run.err;
}

// ParaView's XDMF Reader and QGIS over the .2dm on the default documents, its three readers and meshio on
// the portable ones; each document and its envelopes (NaN where never wet). Stops at the first skip.
void expectEveryReaderAgrees(const std::string& folder) {
  for (const std::string document : {"results.xdmf", "window.xdmf", "portable.xdmf", "window_portable.xdmf"}) {
    const bool portable = document.find("portable") != std::string::npos;
    const std::string mesh = document.substr(0, document.find('.')) + ".2dm";
    for (const std::string& checked : {document, envelopesOf(document)}) {
      SCOPED_TRACE(checked);
      const std::size_t split = checked.rfind(' ') + 1;  // the options, then the document
      const std::string overMesh = checked.substr(0, split) + mesh + " " + checked.substr(split);
      expectAgreement(paraview(portable ? "all" : "XDMFReader", checked, folder));
      if (::testing::Test::IsSkipped()) return;
      expectAgreement(portable ? runPython("meshio_check.py", checked + " run.h5", folder)
                               : runPython("qgis_check.py", overMesh + " run.h5", folder));
      if (::testing::Test::IsSkipped()) return;
    }
  }
}

}  // namespace

// The portable pair alone, moved: the results file only gives the checks their expected values.
TEST(ReaderChecksOfRunKinds, HydraulicsRunAgreesEvenAfterAMove) {
  TempDir folder;
  exportRun(folder.path(), synthetic::ModelKind::hydraulics,
            {"water_surface", "water_depth", "bottom_elevation", "spec_discharge", "flow_velocity", "flow_velocity_abs",
             "friction_chezy"});
  expectEveryReaderAgrees(folder.path());
  if (::testing::Test::IsSkipped()) return;
  ASSERT_EQ(runCommand("mkdir moved && cp portable.xdmf portable_aux.h5 moved/", folder.path()).status, 0);
  expectAgreement(runPython("meshio_check.py", "portable.xdmf ../run.h5", folder.file("moved")));
  expectAgreement(paraview("all", "portable.xdmf", folder.file("moved"), "../run.h5"));
}

// The check must see a depth off by a millimetre.
TEST(ReaderChecksSeeFaults, MeshioCheckSeesAChangedValue) {
  TempDir folder;
  exportRun(folder.path(), synthetic::ModelKind::hydraulics, {"bottom_elevation", "water_depth", "flow_velocity"},
            R"({"RESULTS": {"EXPORT": [{"format": "xdmf", "document": "portable.xdmf", "portable": true}]}})");
  {
    StoredDataset depth = readStoredDataset(folder.file("portable_aux.h5"), "water_depth/0");
    depth.values.at(7) += 0.001;
    H5TestFile edited(folder.file("portable_aux.h5"), H5TestFile::Opening::Edit);
    edited.remove("water_depth/0");
    edited.doubles("water_depth/0", depth.dims, depth.values);
  }
  const ScriptRun run = runPython("meshio_check.py", "portable.xdmf run.h5", folder.path());
  expectMismatch(run, ", water_depth 1.000e-03 MISMATCH, ");
  EXPECT_NE(run.output.find("\ndifferences beyond the tolerance\n"), std::string::npos) << run.output;
}

// flood_tracking comes with the flood setup and shows its first stored step's record at every time.
TEST(ReaderChecksOfRunKinds, OtherModelKindsAgree) {
  for (const auto kind : {synthetic::ModelKind::morphology, synthetic::ModelKind::flood}) {
    TempDir folder;
    exportRun(folder.path(), kind, {"delta_z", "water_depth", "bottom_elevation", "flow_velocity"});
    expectEveryReaderAgrees(folder.path());
  }
}

// Each raster and the outline load with the coordinate system, sampled pixels show their cells' values; a
// missing coordinate system and a swapped raster are seen.
TEST(ReaderMaps, QgisSeesTheMapsCellValues) {
  const TempDir folder;
  exportRun(
      folder.path(), synthetic::ModelKind::hydraulics,
      {"water_surface", "water_depth", "bottom_elevation", "spec_discharge", "flow_velocity", "flow_velocity_abs"},
      R"({"RESULTS": {"EXPORT": [{"format": "xdmf", "envelopes": {"wet_depth": 0.05}, "maps": {"cell_size": 7,
              "crs": "EPSG:2056", "outputs": ["water_depth", "flow_velocity_abs"], "outline": true}}]}})");
  const std::string checked = "--wet-depth 0.05 results run.h5";
  expectAgreement(runPython("qgis_maps_check.py", "--crs EPSG:2056 " + checked, folder.path()));
  if (::testing::Test::IsSkipped()) return;
  EXPECT_EQ(runPython("qgis_maps_check.py", checked, folder.path()).status, 1);
  std::filesystem::rename(folder.file("results_water_depth_max.tif"), folder.file("results_water_surface_max.tif"));
  expectMismatch(runPython("qgis_maps_check.py", "--crs EPSG:2056 " + checked, folder.path()),
                 "water_surface_max: 1 bands");
}
