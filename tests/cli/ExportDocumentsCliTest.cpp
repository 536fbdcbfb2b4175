// Whole export runs through the binary on small results files: the written
// document compared as text, written out from the document rules.

#include <gtest/gtest.h>

#include "support/BinaryRun.hpp"
#include "support/ResultsFileMaker.hpp"
#include "support/TempDir.hpp"

using namespace testing_support;

namespace {

std::string indent(int level) { return std::string(4 * level, ' '); }

std::string line(int level, const std::string& text) { return indent(level) + text + "\n"; }

std::string element(int level, const std::string& startTag, const std::string& name) {
  return line(level, startTag) + line(level, "</" + name + ">");
}

// Every HDF item declares its dataset's shape, rows first.
std::string documentStart(const std::string& meshFile, const std::string& collectionName, int nrCells,
                          int nrNodes) {
  return "<?xml version=\"1.0\" ?>\n<!DOCTYPE Xdmf SYSTEM \"Xdmf.dtd\" []>\n" +
         line(0, "<Xdmf Version=\"2.0\">") + line(1, "<Domain>") +
         line(2, "<Topology TopologyType=\"Triangle\" Name=\"Topology\" NumberOfElements=\"" +
                     std::to_string(nrCells) + "\">") +
         line(3, "<DataItem ItemType=\"Uniform\" Dimensions=\"" + std::to_string(nrCells) + " 3" +
                     "\" Format=\"HDF\" NumberType=\"Int\">") +
         line(4, meshFile + ":CellsAll/Topology") + line(3, "</DataItem>") + line(2, "</Topology>") +
         line(2, "<Geometry GeometryType=\"XYZ\" Name=\"Coordinates\">") +
         line(3, "<DataItem ItemType=\"Uniform\" Dimensions=\"" + std::to_string(nrNodes) + " 3" +
                     "\" Format=\"HDF\" NumberType=\"Float\" Precision=\"8\">") +
         line(4, meshFile + ":NodesAll/Coordnts") + line(3, "</DataItem>") + line(2, "</Geometry>") +
         line(2, "<Grid GridType=\"Collection\" Name=\"" + collectionName + "\" CollectionType=\"Temporal\">");
}

std::string stepStart(const std::string& time) {
  return line(3, "<Grid GridType=\"Uniform\" Name=\"Timestep\">") +
         element(4, "<Time TimeType=\"Single\" Name=\"time = " + time + "\" Value=\"" + time + "\">", "Time") +
         element(4, "<Topology TopologyType=\"Triangle\" Reference=\"/Xdmf/Domain/Topology[1]\">", "Topology") +
         element(4, "<Geometry GeometryType=\"XYZ\" Reference=\"/Xdmf/Domain/Geometry[1]\">", "Geometry");
}

std::string stepEnd() { return line(3, "</Grid>"); }

std::string documentEnd() { return line(2, "</Grid>") + line(1, "</Domain>") + line(0, "</Xdmf>"); }

std::string hyperSlab(int level, int n, const std::string& source, int nrColumns, int column) {
  const std::string count = std::to_string(n);
  return line(level, "<DataItem ItemType=\"HyperSlab\" Dimensions=\"" + count + "\">") +
         line(level + 1, "<DataItem ItemType=\"Uniform\" Dimensions=\"3 2\" Format=\"XML\" NumberType=\"Int\">") +
         line(level + 2, "0 " + std::to_string(column) + " 1 1 " + count + " 1") + line(level + 1, "</DataItem>") +
         line(level + 1, "<DataItem ItemType=\"Uniform\" Dimensions=\"" + count + " " + std::to_string(nrColumns) +
                             "\" Format=\"HDF\" NumberType=\"Float\" Precision=\"8\">") +
         line(level + 2, source) + line(level + 1, "</DataItem>") + line(level, "</DataItem>");
}

std::string scalar(const std::string& name, int n, const std::string& source, int nrColumns, int column) {
  return line(4, "<Attribute AttributeType=\"Scalar\" Name=\"" + name + "\" Center=\"Cell\">") +
         hyperSlab(5, n, source, nrColumns, column) + line(4, "</Attribute>");
}

std::string vector(const std::string& name, int n, const std::string& source, int nrColumns, int first,
                   int second) {
  return line(4, "<Attribute AttributeType=\"Vector\" Name=\"" + name + "\" Center=\"Cell\">") +
         line(5, "<DataItem ItemType=\"Function\" Dimensions=\"" + std::to_string(n) +
                     " 3\" Function=\"JOIN($0, $1, 0*$1)\">") +
         hyperSlab(6, n, source, nrColumns, first) + hyperSlab(6, n, source, nrColumns, second) +
         line(5, "</DataItem>") + line(4, "</Attribute>");
}

struct Argument {
  std::string source;
  int nrColumns;
  int column;
};

std::string function(const std::string& name, int n, const std::string& text, const std::vector<Argument>& args) {
  std::string slabs;
  for (const auto& arg : args) slabs += hyperSlab(6, n, arg.source, arg.nrColumns, arg.column);
  return line(4, "<Attribute AttributeType=\"Scalar\" Name=\"" + name + "\" Center=\"Cell\">") +
         line(5, "<DataItem ItemType=\"Function\" Dimensions=\"" + std::to_string(n) + "\" Function=\"" + text +
                     "\">") +
         slabs + line(5, "</DataItem>") + line(4, "</Attribute>");
}

std::string hydState(int step) { return "run.h5:/RESULTS/CellsAll/HydState/000000" + std::to_string(step); }
std::string bottomStep(int step) { return "run.h5:/RESULTS/CellsAll/BottomEl/000000" + std::to_string(step); }

}  // namespace

class ExportDocuments : public ::testing::Test {
 protected:
  BinaryRun exportRun(const std::vector<std::string>& extra = {}) {
    writeFile(dir.file("cfg.json"), configurationText({"xdmf"}));
    std::vector<std::string> args{"-f", "cfg.json", "-r", "run.h5"};
    args.insert(args.end(), extra.begin(), extra.end());
    return runResults(args, dir.path());
  }
  std::string document(const std::string& name = "results.xdmf") { return readFile(dir.file(name)); }

  TempDir dir;
};

TEST_F(ExportDocuments, HydraulicsModelWithEveryAttributeKind) {
  {
    ResultsFileMaker file(dir.file("run.h5"));
    file.archive(hydraulicsModelText(), {"water_surface", "water_depth", "bottom_elevation", "spec_discharge",
                                         "flow_velocity", "flow_velocity_abs"});
    file.unitSquareMesh();
    file.scalar("Parameters/MinWaterDepth", 0.001);
    file.doubles("CellsAll/BottomEl", 2, 1, {1.0, 1.0});
    file.step("RESULTS/CellsAll/HydState/0000000", 0.0, 2, 3, {2.0, 0.5, 0.0, 1.0005, 0.1, 0.2});
    file.step("RESULTS/CellsAll/HydState/0000001", 12.5, 2, 3, {2.5, 1.0, -0.5, 1.0, 0.0, 0.0});
  }
  const auto run = exportRun();
  ASSERT_EQ(run.status, 0) << run.err;

  std::string expected = documentStart("run.h5", "run.h5", 2, 4);
  const char* times[] = {"0.000000", "12.500000"};
  for (int step = 0; step < 2; ++step) {
    const std::string aux = "results_aux.h5:";
    expected += stepStart(times[step]) + scalar("water_surface", 2, hydState(step), 3, 0) +
                function("water_depth", 2, "$0-$1", {{hydState(step), 3, 0}, {"run.h5:CellsAll/BottomEl", 1, 0}}) +
                scalar("bottom_elevation", 2, "run.h5:CellsAll/BottomEl", 1, 0) +
                vector("spec_discharge", 2, hydState(step), 3, 1, 2) +
                vector("flow_velocity", 2, aux + "flow_velocity/" + std::to_string(step), 2, 0, 1) +
                scalar("flow_velocity_abs", 2, aux + "flow_velocity_abs/" + std::to_string(step), 1, 0) + stepEnd();
  }
  expected += documentEnd();
  EXPECT_EQ(document(), expected);
}

TEST_F(ExportDocuments, MorphologyDeltaZReadsTheFirstStepAndTheCurrentOne) {
  {
    ResultsFileMaker file(dir.file("run.h5"));
    file.archive(morphologyModelText(), {"delta_z", "water_depth"});
    file.unitSquareMesh();
    for (int step = 0; step < 2; ++step) {
      const std::string name = "000000" + std::to_string(step);
      file.step("RESULTS/CellsAll/HydState/" + name, 5.0 * step, 2, 3, {2, 0, 0, 2, 0, 0});
      file.step("RESULTS/CellsAll/BottomEl/" + name, 5.0 * step, 2, 1, {1.0, 1.0 - 0.1 * step});
    }
  }
  const auto run = exportRun({"-o", "morph.xdmf"});
  ASSERT_EQ(run.status, 0) << run.err;

  std::string expected = documentStart("run.h5", "run.h5", 2, 4);
  const char* times[] = {"0.000000", "5.000000"};
  for (int step = 0; step < 2; ++step)
    expected += stepStart(times[step]) +
                function("delta_z", 2, "$1-$0", {{bottomStep(0), 1, 0}, {bottomStep(step), 1, 0}}) +
                function("water_depth", 2, "$0-$1", {{hydState(step), 3, 0}, {bottomStep(step), 1, 0}}) + stepEnd();
  expected += documentEnd();
  EXPECT_EQ(document("morph.xdmf"), expected);
}

TEST_F(ExportDocuments, FloodTrackingGivesFiveAttributesOfTheFirstStep) {
  {
    ResultsFileMaker file(dir.file("run.h5"));
    file.archive(floodModelText(), {"water_surface"});
    file.unitSquareMesh();
    for (int step = 0; step < 2; ++step) {
      const std::string name = "000000" + std::to_string(step);
      file.step("RESULTS/CellsAll/HydState/" + name, 60.0 * step, 2, 3, {1, 0, 0, 1, 0, 0});
      file.step("RESULTS/CellsAll/FloodVar/" + name, 60.0 * step, 2, 5, std::vector<double>(10, 0.5 * step));
    }
  }
  const auto run = exportRun();
  ASSERT_EQ(run.status, 0) << run.err;

  const std::string flood = "run.h5:/RESULTS/CellsAll/FloodVar/0000000";
  std::string expected = documentStart("run.h5", "run.h5", 2, 4);
  const char* times[] = {"0.000000", "60.000000"};
  for (int step = 0; step < 2; ++step) {
    // The catalogue's marked output comes first, the simulation's outputs after it.
    expected += stepStart(times[step]);
    const char* suffixes[] = {"_t", "_h", "_v", "_q", "_tau"};
    for (int i = 0; i < 5; ++i) expected += scalar(std::string("flood_tracking") + suffixes[i], 2, flood, 5, i);
    expected += scalar("water_surface", 2, hydState(step), 3, 0) + stepEnd();
  }
  expected += documentEnd();
  EXPECT_EQ(document(), expected);
}

TEST_F(ExportDocuments, StepsStoredOutOfTimeOrderAreWrittenInTimeOrder) {
  {
    ResultsFileMaker file(dir.file("run.h5"));
    file.archive(hydraulicsModelText(), {"water_surface"});
    file.unitSquareMesh();
    file.step("RESULTS/CellsAll/HydState/0000000", 20.0, 2, 3, {1, 0, 0, 1, 0, 0});
    file.step("RESULTS/CellsAll/HydState/0000001", 10.0, 2, 3, {2, 0, 0, 2, 0, 0});
    file.step("RESULTS/CellsAll/HydState/0000002", -1.0, 2, 3, {3, 0, 0, 3, 0, 0});
  }
  const auto run = exportRun();
  ASSERT_EQ(run.status, 0) << run.err;

  const std::string expected = documentStart("run.h5", "run.h5", 2, 4) + stepStart("-1.000000") +
                               scalar("water_surface", 2, hydState(2), 3, 0) + stepEnd() + stepStart("10.000000") +
                               scalar("water_surface", 2, hydState(1), 3, 0) + stepEnd() + stepStart("20.000000") +
                               scalar("water_surface", 2, hydState(0), 3, 0) + stepEnd() + documentEnd();
  EXPECT_EQ(document(), expected);
}

TEST_F(ExportDocuments, ReferencesAreRelativeToTheDocumentFolder) {
  {
    ResultsFileMaker file(dir.file("run.h5"));
    file.archive(hydraulicsModelText(), {"water_surface", "flow_velocity_abs"});
    file.unitSquareMesh();
    file.doubles("CellsAll/BottomEl", 2, 1, {1.0, 1.0});
    file.step("RESULTS/CellsAll/HydState/0000000", 1.0, 2, 3, {2, 1, 0, 2, 0, 1});
  }
  ASSERT_EQ(system(("mkdir " + dir.file("sub")).c_str()), 0);
  const auto run = exportRun({"-o", "sub/out.xdmf"});
  ASSERT_EQ(run.status, 0) << run.err;

  const std::string expected = documentStart("../run.h5", "run.h5", 2, 4) + stepStart("1.000000") +
                               scalar("water_surface", 2, "../run.h5:/RESULTS/CellsAll/HydState/0000000", 3, 0) +
                               scalar("flow_velocity_abs", 2, "out_aux.h5:flow_velocity_abs/0", 1, 0) + stepEnd() +
                               documentEnd();
  EXPECT_EQ(document("sub/out.xdmf"), expected);
}
