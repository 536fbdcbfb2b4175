#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "dataio/xdmf/XdmfWriter.hpp"
#include "interfaces/Failure.hpp"
#include "support/BinaryRun.hpp"
#include "support/CerrCapture.hpp"
#include "support/TempDir.hpp"

using testing_support::CerrCapture;
namespace {

const std::string step1 = "/RESULTS/CellsAll/HydState/0000001";

const std::string documentStart = R"xml(<?xml version="1.0" ?>
<!DOCTYPE Xdmf SYSTEM "Xdmf.dtd" []>
<Xdmf Version="2.0">
    <Domain>
)xml";

const std::string mesh = R"xml(        <Topology TopologyType="Triangle" Name="Topology" NumberOfElements="2">
            <DataItem ItemType="Uniform" Dimensions="2 3" Format="HDF" NumberType="Int">
                run.h5:/CellsAll/Topology
            </DataItem>
        </Topology>
        <Geometry GeometryType="XYZ" Name="Coordinates">
            <DataItem ItemType="Uniform" Dimensions="4 3" Format="HDF" NumberType="Float" Precision="8">
                run.h5:/NodesAll/Coordnts
            </DataItem>
        </Geometry>
)xml";

const std::string collectionStart = R"xml(        <Grid GridType="Collection" Name="run.h5" CollectionType="Temporal">
)xml";

const std::string stepAt12_5 = R"xml(            <Grid GridType="Uniform" Name="Timestep">
                <Time TimeType="Single" Name="time = 12.500000" Value="12.500000">
                </Time>
                <Topology TopologyType="Triangle" Reference="/Xdmf/Domain/Topology[1]">
                </Topology>
                <Geometry GeometryType="XYZ" Reference="/Xdmf/Domain/Geometry[1]">
                </Geometry>
)xml";

const std::string documentEnd = R"xml(            </Grid>
        </Grid>
    </Domain>
</Xdmf>
)xml";

class XdmfWriterTest : public ::testing::Test {
 protected:
  std::string written() {
    const std::string file = folder.file("out.xdmf");
    writer->write(file);
    return testing_support::readFile(file);
  }

  void startStep() {
    writer->addMesh(2, "/CellsAll/Topology", 6, "/NodesAll/Coordnts", 12);
    writer->addTimeStep(12.5);
  }

  // The assertion line with any line number of the writer's source file.
  static void expectCheckLine(const std::string& err, const std::string& message) {
    const std::regex line(" -> " + message + ", in file: src/dataio/xdmf/(XdmfWriter|TimeStepDocument)\\.cpp on line [0-9]+, version v3\\.1\\.0\n");
    EXPECT_TRUE(std::regex_match(err, line)) << err;
  }

  template <typename Call>
  static void expectCheck(const std::string& message, Call call) {
    CerrCapture capture;
    EXPECT_THROW(call(), BaseException);
    expectCheckLine(capture.text(), message);
  }

  testing_support::TempDir folder;
  std::unique_ptr<api::IXdmfWriter> writer{createXdmfWriter("run.h5")};
};

}  // namespace

TEST_F(XdmfWriterTest, OneMeshOneStepOneScalar) {
  startStep();
  writer->addScalar("water_level", 2, "run.h5", step1, 3, 0);
  EXPECT_EQ(written(), documentStart + mesh + collectionStart + stepAt12_5 + R"xml(                <Attribute AttributeType="Scalar" Name="water_level" Center="Cell">
                    <DataItem ItemType="HyperSlab" Dimensions="2">
                        <DataItem ItemType="Uniform" Dimensions="3 2" Format="XML" NumberType="Int">
                            0 0 1 1 2 1
                        </DataItem>
                        <DataItem ItemType="Uniform" Dimensions="2 3" Format="HDF" NumberType="Float" Precision="8">
                            run.h5:/RESULTS/CellsAll/HydState/0000001
                        </DataItem>
                    </DataItem>
                </Attribute>
)xml" + documentEnd);
}

TEST_F(XdmfWriterTest, TwoTimeStepsShareOneCollection) {
  writer->addMesh(2, "/CellsAll/Topology", 6, "/NodesAll/Coordnts", 12);
  writer->addTimeStep(0.0);
  writer->addTimeStep(12.5);
  EXPECT_EQ(written(), documentStart + mesh + collectionStart + R"xml(            <Grid GridType="Uniform" Name="Timestep">
                <Time TimeType="Single" Name="time = 0.000000" Value="0.000000">
                </Time>
                <Topology TopologyType="Triangle" Reference="/Xdmf/Domain/Topology[1]">
                </Topology>
                <Geometry GeometryType="XYZ" Reference="/Xdmf/Domain/Geometry[1]">
                </Geometry>
            </Grid>
)xml" + stepAt12_5 + documentEnd);
}

TEST_F(XdmfWriterTest, VectorJoinsTwoColumnsWithZero) {
  startStep();
  writer->addVector("spec_discharge", 2, "run.h5", step1, 3, {1, 2});
  EXPECT_EQ(written(), documentStart + mesh + collectionStart + stepAt12_5 + R"xml(                <Attribute AttributeType="Vector" Name="spec_discharge" Center="Cell">
                    <DataItem ItemType="Function" Dimensions="2 3" Function="JOIN($0, $1, 0*$1)">
                        <DataItem ItemType="HyperSlab" Dimensions="2">
                            <DataItem ItemType="Uniform" Dimensions="3 2" Format="XML" NumberType="Int">
                                0 1 1 1 2 1
                            </DataItem>
                            <DataItem ItemType="Uniform" Dimensions="2 3" Format="HDF" NumberType="Float" Precision="8">
                                run.h5:/RESULTS/CellsAll/HydState/0000001
                            </DataItem>
                        </DataItem>
                        <DataItem ItemType="HyperSlab" Dimensions="2">
                            <DataItem ItemType="Uniform" Dimensions="3 2" Format="XML" NumberType="Int">
                                0 2 1 1 2 1
                            </DataItem>
                            <DataItem ItemType="Uniform" Dimensions="2 3" Format="HDF" NumberType="Float" Precision="8">
                                run.h5:/RESULTS/CellsAll/HydState/0000001
                            </DataItem>
                        </DataItem>
                    </DataItem>
                </Attribute>
)xml" + documentEnd);
}

TEST_F(XdmfWriterTest, FunctionOverThreeDatasetsInListOrder) {
  startStep();
  writer->addFunction("delta_z", 2, "$1-$0+$2", {"run.h5", "run.h5", "out_aux.h5"},
                      {"/RESULTS/CellsAll/BottomEl/0000000", "/RESULTS/CellsAll/BottomEl/0000001", "dz/1"}, {1, 1, 2},
                      {0, 0, 1});
  EXPECT_EQ(written(), documentStart + mesh + collectionStart + stepAt12_5 + R"xml(                <Attribute AttributeType="Scalar" Name="delta_z" Center="Cell">
                    <DataItem ItemType="Function" Dimensions="2" Function="$1-$0+$2">
                        <DataItem ItemType="HyperSlab" Dimensions="2">
                            <DataItem ItemType="Uniform" Dimensions="3 2" Format="XML" NumberType="Int">
                                0 0 1 1 2 1
                            </DataItem>
                            <DataItem ItemType="Uniform" Dimensions="2 1" Format="HDF" NumberType="Float" Precision="8">
                                run.h5:/RESULTS/CellsAll/BottomEl/0000000
                            </DataItem>
                        </DataItem>
                        <DataItem ItemType="HyperSlab" Dimensions="2">
                            <DataItem ItemType="Uniform" Dimensions="3 2" Format="XML" NumberType="Int">
                                0 0 1 1 2 1
                            </DataItem>
                            <DataItem ItemType="Uniform" Dimensions="2 1" Format="HDF" NumberType="Float" Precision="8">
                                run.h5:/RESULTS/CellsAll/BottomEl/0000001
                            </DataItem>
                        </DataItem>
                        <DataItem ItemType="HyperSlab" Dimensions="2">
                            <DataItem ItemType="Uniform" Dimensions="3 2" Format="XML" NumberType="Int">
                                0 1 1 1 2 1
                            </DataItem>
                            <DataItem ItemType="Uniform" Dimensions="2 2" Format="HDF" NumberType="Float" Precision="8">
                                out_aux.h5:dz/1
                            </DataItem>
                        </DataItem>
                    </DataItem>
                </Attribute>
)xml" + documentEnd);
}

TEST_F(XdmfWriterTest, WithoutTimeStepsOnlyDomainAndRootAreClosed) {
  writer->addMesh(2, "/CellsAll/Topology", 6, "/NodesAll/Coordnts", 12);
  EXPECT_EQ(written(), documentStart + mesh + "    </Domain>\n</Xdmf>\n");
  std::unique_ptr<api::IXdmfWriter> empty(createXdmfWriter("run.h5"));
  const std::string file = folder.file("empty.xdmf");
  empty->write(file);
  EXPECT_EQ(testing_support::readFile(file), documentStart + "    </Domain>\n</Xdmf>\n");
}

TEST_F(XdmfWriterTest, MeshItemsNameTheMeshFileReference) {
  writer.reset(createXdmfWriter("/data/run.h5", "../data/run.h5"));
  writer->addMesh(1, "/T", 3, "/C", 9);
  writer->addTimeStep(1.0);
  const std::string document = written();
  EXPECT_NE(document.find("\n                ../data/run.h5:/T\n"), std::string::npos);
  EXPECT_NE(document.find("\n                ../data/run.h5:/C\n"), std::string::npos);
  EXPECT_NE(document.find("<Grid GridType=\"Collection\" Name=\"/data/run.h5\" CollectionType=\"Temporal\">"),
            std::string::npos);
  EXPECT_EQ(document.find("/data/run.h5:"), document.find("../data/run.h5:") + 2);
}

TEST_F(XdmfWriterTest, SpecialCharactersInNamesAreEscaped) {
  writer.reset(createXdmfWriter("R&D \"v2\".h5"));
  writer->addMesh(1, "/T", 3, "/C", 9);
  writer->addTimeStep(1.0);
  writer->addScalar("h<0>", 1, "R&D \"v2\".h5", "/S", 1, 0);
  const std::string document = written();
  EXPECT_NE(document.find("\n                R&amp;D &quot;v2&quot;.h5:/T\n"), std::string::npos);
  EXPECT_NE(document.find(" Name=\"R&amp;D &quot;v2&quot;.h5\" CollectionType=\"Temporal\">"), std::string::npos);
  EXPECT_NE(document.find(" Name=\"h&lt;0&gt;\" Center=\"Cell\">"), std::string::npos);
  EXPECT_NE(document.find("\n                            R&amp;D &quot;v2&quot;.h5:/S\n"), std::string::npos);
  EXPECT_EQ(document.find("R&D"), std::string::npos);
}

TEST_F(XdmfWriterTest, TimeStepBeforeMeshFailsAndWritesNothing) {
  expectCheck("you must define a mesh before adding a time step!", [this] { writer->addTimeStep(0.0); });
  EXPECT_EQ(written(), documentStart + "    </Domain>\n</Xdmf>\n");
}

TEST_F(XdmfWriterTest, DataBeforeTimeStepFail) {
  writer->addMesh(2, "/CellsAll/Topology", 6, "/NodesAll/Coordnts", 12);
  const std::string message = "you must add a time step before adding data!";
  expectCheck(message, [this] { writer->addScalar("h", 2, "run.h5", step1, 3, 0); });
  expectCheck(message, [this] { writer->addVector("q", 2, "run.h5", step1, 3, {1, 2}); });
  expectCheck(message, [this] { writer->addFunction("d", 2, "$0", {"run.h5"}, {step1}, {3}, {0}); });
  EXPECT_EQ(written(), documentStart + mesh + "    </Domain>\n</Xdmf>\n");
}

TEST_F(XdmfWriterTest, FunctionListsMustAgree) {
  startStep();
  const std::vector<std::string> one = {"run.h5"};
  const std::vector<std::string> two = {"run.h5", "run.h5"};
  expectCheck("invalid dataset path descriptions provided",
              [&] { writer->addFunction("d", 2, "$0", two, one, {3}, {0}); });
  expectCheck("invalid dataset size descriptions provided",
              [&] { writer->addFunction("d", 2, "$0", one, one, {3, 3}, {0}); });
  expectCheck("invalid dataset column descriptions provided",
              [&] { writer->addFunction("d", 2, "$0", one, one, {3}, {}); });
}

TEST_F(XdmfWriterTest, MalformedAttributeRequestsFailBeforeWriting) {
  startStep();
  expectCheck("a vector needs two dataset columns", [this] { writer->addVector("q", 2, "run.h5", step1, 3, {1}); });
  expectCheck("a function attribute needs a function text",
              [this] { writer->addFunction("d", 2, "", {"run.h5"}, {step1}, {3}, {0}); });
  EXPECT_EQ(written(), documentStart + mesh + collectionStart + stepAt12_5 + documentEnd);
}

TEST_F(XdmfWriterTest, UnwritableDocumentFailsWithItsName) {
  for (const std::string& target : {folder.file("no/such/folder/out.xdmf"), folder.path()}) {
    std::unique_ptr<api::IXdmfWriter> failing(createXdmfWriter("run.h5"));
    CerrCapture capture;
    EXPECT_THROW(failing->write(target), BaseException);
    EXPECT_EQ(capture.text(), " -> cannot write the XDMF document <" + target + ">\n");
  }
  EXPECT_FALSE(std::filesystem::exists(folder.file("no")));
}
