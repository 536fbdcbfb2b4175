// The envelope document in both forms, as text.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <regex>
#include <string>

#include "dataio/xdmf/EnvelopeXdmfWriter.hpp"
#include "dataio/xdmf/PortableEnvelopeWriter.hpp"
#include "support/BinaryRun.hpp"
#include "support/FailureReport.hpp"
#include "support/TempDir.hpp"

namespace {

const std::string collection = R"xml(    <Domain>
        <Grid GridType="Collection" Name="envelopes" CollectionType="Temporal">
            <Grid GridType="Uniform" Name="envelopes">
                <Time TimeType="Single" Name="time = 30.000000" Value="30.000000">
                </Time>
)xml";

std::string mesh(const std::string& file, const std::string& topology, const std::string& geometry) {
  return R"xml(                <Topology TopologyType="Triangle" Name="Topology" NumberOfElements="2">
                    <DataItem ItemType="Uniform" Dimensions="2 3" Format="HDF" NumberType="Int">
                        )xml" +
         file + ":" + topology + R"xml(
                    </DataItem>
                </Topology>
                <Geometry GeometryType="XYZ" Name="Coordinates">
                    <DataItem ItemType="Uniform" Dimensions="4 3" Format="HDF" NumberType="Float" Precision="8">
                        )xml" +
         file + ":" + geometry + R"xml(
                    </DataItem>
                </Geometry>
)xml";
}

const std::string documentEnd = R"xml(            </Grid>
        </Grid>
    </Domain>
</Xdmf>
)xml";

std::string written(api::IEnvelopeWriter& writer, const testing_support::TempDir& folder) {
  const std::string file = folder.file("out_envelopes.xdmf");
  writer.write(file);
  return testing_support::readFile(file);
}

void expectRefusal(const std::string& report, const std::string& message) {
  const std::regex line(" -> " + message +
                        ", in file: src/dataio/xdmf/EnvelopeDocument\\.cpp on line [0-9]+, version v3\\.1\\.0\n");
  EXPECT_TRUE(std::regex_match(report, line)) << report;
}

}  // namespace

TEST(EnvelopeDocument, HyperSlabsOverTheAuxiliaryFileOnTheResultsMesh) {
  testing_support::TempDir folder;
  std::unique_ptr<api::IEnvelopeWriter> writer(createEnvelopeWriter(30.0));
  writer->addMesh("run.h5", 2, "/CellsAll/Topology", 4, "/NodesAll/Coordnts");
  writer->addScalar("water_depth_max", "out_aux.h5", "/envelopes/water_depth_max");
  writer->addVector("flow_velocity_at_max", "out_aux.h5", "/envelopes/flow_velocity_at_max");
  const std::string start = R"xml(<?xml version="1.0" ?>
<!DOCTYPE Xdmf SYSTEM "Xdmf.dtd" []>
<Xdmf Version="2.0">
)xml";
  EXPECT_EQ(written(*writer, folder), start + collection + mesh("run.h5", "/CellsAll/Topology", "/NodesAll/Coordnts") +
                                          R"xml(                <Attribute AttributeType="Scalar" Name="water_depth_max" Center="Cell">
                    <DataItem ItemType="HyperSlab" Dimensions="2">
                        <DataItem ItemType="Uniform" Dimensions="3 2" Format="XML" NumberType="Int">
                            0 0 1 1 2 1
                        </DataItem>
                        <DataItem ItemType="Uniform" Dimensions="2 1" Format="HDF" NumberType="Float" Precision="8">
                            out_aux.h5:/envelopes/water_depth_max
                        </DataItem>
                    </DataItem>
                </Attribute>
                <Attribute AttributeType="Vector" Name="flow_velocity_at_max" Center="Cell">
                    <DataItem ItemType="HyperSlab" Dimensions="2 3">
                        <DataItem ItemType="Uniform" Dimensions="3 2" Format="XML" NumberType="Int">
                            0 0 1 1 2 3
                        </DataItem>
                        <DataItem ItemType="Uniform" Dimensions="2 3" Format="HDF" NumberType="Float" Precision="8">
                            out_aux.h5:/envelopes/flow_velocity_at_max
                        </DataItem>
                    </DataItem>
                </Attribute>
)xml" + documentEnd);
}

TEST(EnvelopeDocument, PortableFormReadsPlainItemsOfTheAuxiliaryFileOnly) {
  testing_support::TempDir folder;
  std::unique_ptr<api::IEnvelopeWriter> writer(createPortableEnvelopeWriter(30.0));
  writer->addMesh("out_aux.h5", 2, "/mesh/topology", 4, "/mesh/coordinates");
  writer->addScalar("water_depth_max", "out_aux.h5", "/envelopes/water_depth_max");
  writer->addVector("flow_velocity_at_max", "out_aux.h5", "/envelopes/flow_velocity_at_max");
  const std::string start = R"xml(<?xml version="1.0" ?>
<!DOCTYPE Xdmf SYSTEM "Xdmf.dtd" []>
<Xdmf Version="3.0">
)xml";
  EXPECT_EQ(written(*writer, folder), start + collection + mesh("out_aux.h5", "/mesh/topology", "/mesh/coordinates") +
                                          R"xml(                <Attribute AttributeType="Scalar" Name="water_depth_max" Center="Cell">
                    <DataItem ItemType="Uniform" Dimensions="2 1" Format="HDF" NumberType="Float" Precision="8">
                        out_aux.h5:/envelopes/water_depth_max
                    </DataItem>
                </Attribute>
                <Attribute AttributeType="Vector" Name="flow_velocity_at_max" Center="Cell">
                    <DataItem ItemType="Uniform" Dimensions="2 3" Format="HDF" NumberType="Float" Precision="8">
                        out_aux.h5:/envelopes/flow_velocity_at_max
                    </DataItem>
                </Attribute>
)xml" + documentEnd);
}

TEST(EnvelopeDocument, TimeIsWrittenAsTheTimeStepsWriteIt) {
  testing_support::TempDir folder;
  std::unique_ptr<api::IEnvelopeWriter> writer(createPortableEnvelopeWriter(-12.5));
  writer->addMesh("a.h5", 2, "t", 4, "g");
  EXPECT_NE(written(*writer, folder).find(R"(<Time TimeType="Single" Name="time = -12.500000" Value="-12.500000">)"),
            std::string::npos);
}

TEST(EnvelopeDocument, AttributesNeedTheMeshFirst) {
  std::unique_ptr<api::IEnvelopeWriter> writer(createEnvelopeWriter(0.0));
  expectRefusal(testing_support::failureReport([&] { writer->addScalar("arrival_time", "a.h5", "e/a"); }),
                "the envelope document needs its mesh before its attributes");
  expectRefusal(testing_support::failureReport([&] { writer->addVector("flow_velocity_at_max", "a.h5", "e/v"); }),
                "the envelope document needs its mesh before its attributes");
}

TEST(EnvelopeDocument, OneMeshOnly) {
  std::unique_ptr<api::IEnvelopeWriter> writer(createPortableEnvelopeWriter(0.0));
  writer->addMesh("a.h5", 2, "t", 4, "g");
  expectRefusal(testing_support::failureReport([&] { writer->addMesh("a.h5", 2, "t", 4, "g"); }),
                "the envelope document has its mesh already");
}

TEST(EnvelopeDocument, NoDocumentWithoutAMesh) {
  testing_support::TempDir folder;
  std::unique_ptr<api::IEnvelopeWriter> writer(createEnvelopeWriter(0.0));
  const std::string file = folder.file("out_envelopes.xdmf");
  expectRefusal(testing_support::failureReport([&] { writer->write(file); }), "the envelope document needs its mesh");
  EXPECT_FALSE(std::filesystem::exists(file));
}
