#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "dataio/xdmf/PortableXdmfWriter.hpp"
#include "interfaces/Failure.hpp"
#include "support/BinaryRun.hpp"
#include "support/CerrCapture.hpp"
#include "support/TempDir.hpp"

using testing_support::CerrCapture;

namespace {

const std::string documentStart = R"xml(<?xml version="1.0" ?>
<!DOCTYPE Xdmf SYSTEM "Xdmf.dtd" []>
<Xdmf Version="3.0" xmlns:xi="http://www.w3.org/2001/XInclude">
    <Domain>
)xml";

const std::string meshGrid = R"xml(        <Grid GridType="Uniform" Name="mesh">
            <Topology TopologyType="Triangle" NumberOfElements="2">
                <DataItem ItemType="Uniform" Dimensions="2 3" Format="HDF" NumberType="Int">
                    out_aux.h5:/CellsAll/Topology
                </DataItem>
            </Topology>
            <Geometry GeometryType="XYZ">
                <DataItem ItemType="Uniform" Dimensions="4 3" Format="HDF" NumberType="Float" Precision="8">
                    out_aux.h5:/NodesAll/Coordnts
                </DataItem>
            </Geometry>
        </Grid>
)xml";

const std::string collectionStart = R"xml(        <Grid GridType="Collection" Name="out" CollectionType="Temporal">
)xml";

std::string stepStart(const std::string& time) {
  return R"xml(            <Grid GridType="Uniform" Name="Timestep">
                <xi:include xpointer="xpointer(//Grid[@Name=&quot;mesh&quot;]/*[self::Topology or self::Geometry])"/>
                <Time TimeType="Single" Name="time = )xml" +
         time + "\" Value=\"" + time + R"xml(">
                </Time>
)xml";
}

const std::string documentEnd = R"xml(            </Grid>
        </Grid>
    </Domain>
</Xdmf>
)xml";

class PortableXdmfWriterTest : public ::testing::Test {
 protected:
  std::string written() {
    const std::string file = folder.file("out.xdmf");
    writer->write(file);
    return testing_support::readFile(file);
  }

  void addMesh() { writer->addMesh(2, "CellsAll/Topology", 6, "NodesAll/Coordnts", 12); }

  void startStep() {
    addMesh();
    writer->addTimeStep(12.5);
  }

  // The check line with any line number of the writer's source file.
  template <typename Call>
  static void expectCheck(const std::string& message, Call call) {
    CerrCapture capture;
    EXPECT_THROW(call(), BaseException);
    const std::regex line(" -> " + message +
                          ", in file: src/dataio/xdmf/(PortableXdmfWriter|TimeStepDocument)\\.cpp on line [0-9]+, version v3\\.1\\.0\n");
    EXPECT_TRUE(std::regex_match(capture.text(), line)) << capture.text();
  }

  testing_support::TempDir folder;
  std::unique_ptr<api::IXdmfWriter> writer{createPortableXdmfWriter("out", "out_aux.h5")};
};

}  // namespace

TEST_F(PortableXdmfWriterTest, MeshGridThenStepsIncludingItWithPlainItems) {
  startStep();
  writer->addScalar("water_depth", 2, "out_aux.h5", "water_depth/3", 1, 0);
  writer->addVector("spec_discharge", 2, "out_aux.h5", "/spec_discharge/3", 3, {0, 1});
  EXPECT_EQ(written(), documentStart + meshGrid + collectionStart + stepStart("12.500000") +
                           R"xml(                <Attribute AttributeType="Scalar" Name="water_depth" Center="Cell">
                    <DataItem ItemType="Uniform" Dimensions="2 1" Format="HDF" NumberType="Float" Precision="8">
                        out_aux.h5:/water_depth/3
                    </DataItem>
                </Attribute>
                <Attribute AttributeType="Vector" Name="spec_discharge" Center="Cell">
                    <DataItem ItemType="Uniform" Dimensions="2 3" Format="HDF" NumberType="Float" Precision="8">
                        out_aux.h5:/spec_discharge/3
                    </DataItem>
                </Attribute>
)xml" + documentEnd);
}

TEST_F(PortableXdmfWriterTest, TwoStepsEachIncludeTheMesh) {
  addMesh();
  writer->addTimeStep(0.0);
  writer->addTimeStep(12.5);
  EXPECT_EQ(written(), documentStart + meshGrid + collectionStart + stepStart("0.000000") + "            </Grid>\n" +
                           stepStart("12.500000") + documentEnd);
}

TEST_F(PortableXdmfWriterTest, WithoutStepsOnlyTheMeshGrid) {
  addMesh();
  EXPECT_EQ(written(), documentStart + meshGrid + "    </Domain>\n</Xdmf>\n");
}

TEST_F(PortableXdmfWriterTest, NamesAreEscapedAndDatasetPathsMadeAbsolute) {
  writer.reset(createPortableXdmfWriter("R&D", "sub/R&D_aux.h5"));
  writer->addMesh(1, "/T", 3, "C", 9);
  writer->addTimeStep(1.0);
  writer->addScalar("h<0>", 1, "sub/R&D_aux.h5", "h/0", 1, 0);
  const std::string document = written();
  EXPECT_NE(document.find("\n                    sub/R&amp;D_aux.h5:/T\n"), std::string::npos);
  EXPECT_NE(document.find("\n                    sub/R&amp;D_aux.h5:/C\n"), std::string::npos);
  EXPECT_NE(document.find("<Grid GridType=\"Collection\" Name=\"R&amp;D\" CollectionType=\"Temporal\">"),
            std::string::npos);
  EXPECT_NE(document.find(" Name=\"h&lt;0&gt;\" Center=\"Cell\">"), std::string::npos);
  EXPECT_NE(document.find("\n                        sub/R&amp;D_aux.h5:/h/0\n"), std::string::npos);
}

TEST_F(PortableXdmfWriterTest, OrderOfCallsIsCheckedAndFailedCallsWriteNothing) {
  expectCheck("you must define a mesh before adding a time step!", [this] { writer->addTimeStep(0.0); });
  addMesh();
  expectCheck("a portable document holds one mesh", [this] { addMesh(); });
  const std::string message = "you must add a time step before adding data!";
  expectCheck(message, [this] { writer->addScalar("h", 2, "out_aux.h5", "h/0", 1, 0); });
  expectCheck(message, [this] { writer->addVector("q", 2, "out_aux.h5", "q/0", 3, {0, 1}); });
  EXPECT_EQ(written(), documentStart + meshGrid + "    </Domain>\n</Xdmf>\n");
}

TEST_F(PortableXdmfWriterTest, AttributesTakeWholeDatasetsAndNoFunctions) {
  startStep();
  const std::string scalar = "a portable scalar takes the one column of its own dataset";
  expectCheck(scalar, [this] { writer->addScalar("h", 2, "out_aux.h5", "state/0", 3, 0); });
  expectCheck(scalar, [this] { writer->addScalar("h", 2, "out_aux.h5", "h/0", 1, 1); });
  const std::string vector = "a portable vector takes the three columns of its own dataset";
  expectCheck(vector, [this] { writer->addVector("q", 2, "out_aux.h5", "q/0", 2, {0, 1}); });
  expectCheck(vector, [this] { writer->addVector("q", 2, "out_aux.h5", "q/0", 3, {1, 2}); });
  expectCheck(vector, [this] { writer->addVector("q", 2, "out_aux.h5", "q/0", 3, {0}); });
  expectCheck("a portable document holds no functions: store the function's values as a dataset",
              [this] { writer->addFunction("d", 2, "$0-$1", {"a.h5", "a.h5"}, {"x", "y"}, {1, 1}, {0, 0}); });
  EXPECT_EQ(written(), documentStart + meshGrid + collectionStart + stepStart("12.500000") + documentEnd);
}
