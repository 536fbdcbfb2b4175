// What each XDMF writer alone is responsible for, and the tag builder's
// layout. Whole documents are the binary's golden files, attributes the export
// tests' outlines: the writers' lines are compared without their indentation.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "dataio/xdmf/EnvelopeXdmfWriter.hpp"
#include "dataio/xdmf/PortableXdmfWriter.hpp"
#include "dataio/xdmf/TimeNotation.hpp"
#include "dataio/xdmf/XdmfTagBuilder.hpp"
#include "dataio/xdmf/XdmfWriter.hpp"
#include "interfaces/Failure.hpp"
#include "support/BinaryRun.hpp"
#include "support/CerrCapture.hpp"
#include "support/ExceptionText.hpp"
#include "support/FailureReport.hpp"
#include "support/TempDir.hpp"

using dataio::XdmfTagBuilder;
using testing_support::CerrCapture;
using testing_support::exceptionText;

namespace {

// Whether the document holds the lines of `wanted` in this order, others
// between them allowed.
::testing::AssertionResult inOrder(const std::string& document, const std::vector<std::string>& wanted) {
  std::istringstream stream(document);
  auto next = wanted.begin();
  for (std::string line; next != wanted.end() && std::getline(stream, line);)
    if (line.substr(std::min(line.find_first_not_of(' '), line.size())) == *next) ++next;
  if (next == wanted.end()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "no line <" << *next << "> in its place in\n" << document;
}

std::string item(const std::string& dimensions, const std::string& type = "Float") {
  return "<DataItem ItemType=\"Uniform\" Dimensions=\"" + dimensions + "\" Format=\"HDF\" NumberType=\"" + type +
         (type == "Float" ? "\" Precision=\"8\">" : "\">");
}

std::string time(const std::string& text) {
  return "<Time TimeType=\"Single\" Name=\"time = " + text + "\" Value=\"" + text + "\">";
}

// The call fails with its check line, with any line number, of one of the
// writer's sources.
void expectRefusal(const std::string& source, const std::string& message, const std::function<void()>& call) {
  const std::string report = testing_support::failureReport(call);
  EXPECT_EQ(report.rfind(" -> " + message + ", in file: src/dataio/xdmf/" + source + ".cpp on line ", 0), 0u) << report;
}

const std::string header = "<?xml version=\"1.0\" ?>\n<!DOCTYPE Xdmf SYSTEM \"Xdmf.dtd\" []>\n";

class XdmfWritersTest : public ::testing::Test {
 protected:
  template <typename Writer>
  std::string written(Writer& writer) {
    writer.write(file);
    return testing_support::readFile(file);
  }
  std::string documentOf(XdmfTagBuilder& built) {
    built.generate(file);
    return testing_support::readFile(file);
  }

  testing_support::TempDir folder;
  const std::string file = folder.file("out.xdmf");
  const std::string step1 = "/RESULTS/CellsAll/HydState/0000001";
  XdmfTagBuilder builder;
};

using XdmfTagBuilderTest = XdmfWritersTest;

}  // namespace

// The mesh items, declared as rows of corners and of coordinates, name the
// mesh file as the document refers to it, the collection the results file
// (that the mesh is written once is pinned by the golden document). A vector
// is declared as rows of three, its third column zero.
TEST_F(XdmfWritersTest, MeshItemsAreDeclaredWithEscapedNamesAndShapes) {
  std::unique_ptr<api::IXdmfWriter> writer(createXdmfWriter("/data/R&D.h5", "../data/R&D.h5"));
  writer->addMesh(2, "/CellsAll/Topology", 6, "/NodesAll/Coordnts", 12);
  writer->addTimeStep(0.0);
  writer->addTimeStep(12.5);
  writer->addVector("q", 2, "run.h5", step1, 3, {1, 2});
  const std::string topology = "<Topology TopologyType=\"Triangle\" Reference=\"/Xdmf/Domain/Topology[1]\">";
  EXPECT_TRUE(
      inOrder(written(*writer), {"<Domain>", item("2 3", "Int"), "../data/R&amp;D.h5:/CellsAll/Topology", item("4 3"),
                                 "../data/R&amp;D.h5:/NodesAll/Coordnts",
                                 "<Grid GridType=\"Collection\" Name=\"/data/R&amp;D.h5\" CollectionType=\"Temporal\">",
                                 time("0.000000"), topology, time("12.500000"), topology,
                                 "<DataItem ItemType=\"Function\" Dimensions=\"2 3\" Function=\"JOIN($0, $1, 0*$1)\">",
                                 "<DataItem ItemType=\"HyperSlab\" Dimensions=\"2\">", "0 1 1 1 2 1", item("2 3"),
                                 "run.h5:" + step1, "0 2 1 1 2 1"}));
}

// Every step includes the mesh grid's topology and geometry; attributes are
// plain items of whole datasets, their paths made absolute (the binary's
// tests pin each item's shape against its dataset).
TEST_F(XdmfWritersTest, PortableMeshGridThenStepsIncludingItWithPlainItems) {
  std::unique_ptr<api::IXdmfWriter> writer(createPortableXdmfWriter("out", "out_aux.h5"));
  writer->addMesh(2, "CellsAll/Topology", 6, "NodesAll/Coordnts", 12);
  writer->addTimeStep(0.0);
  writer->addTimeStep(12.5);
  writer->addScalar("water_depth", 2, "out_aux.h5", "water_depth/3", 1, 0);
  const std::string include =
      "<xi:include xpointer=\"xpointer(//Grid[@Name=&quot;mesh&quot;]/*[self::Topology or self::Geometry])\"/>";
  EXPECT_TRUE(
      inOrder(written(*writer),
              {"<Xdmf Version=\"3.0\" xmlns:xi=\"http://www.w3.org/2001/XInclude\">",
               "<Grid GridType=\"Uniform\" Name=\"mesh\">", item("2 3", "Int"), "out_aux.h5:/CellsAll/Topology",
               item("4 3"), "out_aux.h5:/NodesAll/Coordnts", "</Grid>",
               "<Grid GridType=\"Collection\" Name=\"out\" CollectionType=\"Temporal\">", include, time("0.000000"),
               "</Grid>", include, time("12.500000"), item("2 1"), "out_aux.h5:/water_depth/3"}));
}

// The program never makes these calls: one representative of the refusals
// of each writer, which then writes nothing of the call.
TEST_F(XdmfWritersTest, BrokenCallsAreRefusedAndWriteNothing) {
  std::unique_ptr<api::IXdmfWriter> writer(createXdmfWriter("run.h5"));
  expectRefusal("TimeStepDocument", "you must define a mesh before adding a time step!",
                [&] { writer->addTimeStep(0.0); });
  writer->addMesh(2, "/CellsAll/Topology", 6, "/NodesAll/Coordnts", 12);
  writer->addTimeStep(12.5);
  expectRefusal("XdmfWriter", "a vector needs two dataset columns",
                [&] { writer->addVector("q", 2, "run.h5", step1, 3, {1}); });
  EXPECT_EQ(written(*writer).find("<Attribute"), std::string::npos);
  std::unique_ptr<api::IXdmfWriter> portable(createPortableXdmfWriter("out", "out_aux.h5"));
  portable->addMesh(2, "CellsAll/Topology", 6, "NodesAll/Coordnts", 12);
  portable->addTimeStep(12.5);
  expectRefusal("PortableXdmfWriter", "a portable vector takes the three columns of its own dataset", [&] {
    portable->addVector("q", 2, "out_aux.h5", "q/0", 3, {1, 2});
  });
  EXPECT_EQ(written(*portable).find("<Attribute"), std::string::npos);
  std::unique_ptr<api::IEnvelopeWriter> envelope(createEnvelopeWriter(0.0));
  const std::string document = folder.file("envelopes.xdmf");
  expectRefusal("EnvelopeDocument", "the envelope document needs its mesh", [&] { envelope->write(document); });
  EXPECT_FALSE(std::filesystem::exists(document));
}

// Ordinary runs keep "%f"; a document whose times it would merge or spell
// out in hundreds of digits writes them all in the shortest exact form.
TEST(TimeNotation, SixDecimalsUnlessTheyMergeTimesOrGrowTooLong) {
  using dataio::TimeNotation;
  const struct {
    std::vector<double> times;
    TimeNotation expected;
  } cases[] = {
      {{-10.0, 0.0, 1e-6, 999999999999999.9}, TimeNotation::fixed},
      {{}, TimeNotation::fixed},
      {{0.0, 1e-7, 2e-7}, TimeNotation::shortest},  // all three print 0.000000
      {{0.0, 1e15}, TimeNotation::shortest},
      {{-1e300}, TimeNotation::shortest},
  };
  for (const auto& c : cases) EXPECT_EQ(dataio::notationFor(c.times), c.expected) << testing::PrintToString(c.times);
  EXPECT_EQ(dataio::timeText(12.5, TimeNotation::fixed), "12.500000");
  EXPECT_EQ(dataio::timeText(1e-7, TimeNotation::shortest), "1e-07");
  EXPECT_EQ(dataio::timeText(0.1 + 0.2, TimeNotation::shortest), "0.30000000000000004");
}

// Attributes follow the order of calls; a rejected value keeps what was
// written before; ten integers a line; a tab in an attribute value is a
// character reference (a parser would read a blank), in inner text a tab.
// The elements the writers use are pinned by the golden documents.
TEST_F(XdmfTagBuilderTest, ElementsAttributesAndTextAsCalled) {
  builder.setVersion("3.0");
  builder.setNamespace("xi", "http://www.w3.org/2001/XInclude");
  builder.beginGrid("run\t1.h5", "Collection");
  builder.addInclude("xpointer(//Grid[@Name=\"mesh\"]/*)");
  builder.beginDataItem("selection", "Uniform");
  builder.setDimensions(2, 3);
  EXPECT_THROW(builder.setFormat("CSV"), std::invalid_argument);
  builder.setFormat("XML");
  builder.setPrecision(4);
  builder.addItem(std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
  builder.addItem(std::vector<int>{-1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  builder.endTag("DataItem");
  builder.beginAttribute("a&b \"c\" <d>", "");
  builder.addItem("x<y>&z\t.h5:/p");
  builder.endTag("Attribute");
  builder.endTag("Grid");
  EXPECT_EQ(documentOf(builder), header +
                                     "<Xdmf Version=\"3.0\" xmlns:xi=\"http://www.w3.org/2001/XInclude\">\n"
                                     "    <Grid GridType=\"Collection\" Name=\"run&#9;1.h5\">\n"
                                     "        <xi:include xpointer=\"xpointer(//Grid[@Name=&quot;mesh&quot;]/*)\"/>\n"
                                     "        <DataItem ItemType=\"Uniform\" Name=\"selection\" Dimensions=\"2 3\" "
                                     "Format=\"XML\" Precision=\"4\">\n"
                                     "            0 1 2 3 4 5 6 7 8 9 \n"
                                     "            10 11\n"
                                     "            -1 2 3 4 5 6 7 8 9 10\n"
                                     "        </DataItem>\n"
                                     "        <Attribute Name=\"a&amp;b &quot;c&quot; &lt;d&gt;\">\n"
                                     "            x&lt;y&gt;&amp;z\t.h5:/p\n"
                                     "        </Attribute>\n"
                                     "    </Grid>\n"
                                     "</Xdmf>\n");
}

// A setter outside its element complains and writes nothing; a value
// outside its vocabulary is an exception.
TEST_F(XdmfTagBuilderTest, SettersOutsideTheirElementOrVocabularyAreRejected) {
  CerrCapture capture;
  builder.beginTag("Domain");
  builder.setVersion("2.0");
  builder.setCenter("Cell");
  builder.endTag("Domain");
  EXPECT_EQ(capture.text(),
            "[SIMPLE XDMF ERROR] setVersion() cannot be called when current Tag is not Xdmf.\n"
            "[SIMPLE XDMF ERROR] setCenter() cannot be called when current Tag is not Attribute.\n");
  EXPECT_EQ(documentOf(builder), header + "<Xdmf>\n    <Domain>\n    </Domain>\n</Xdmf>\n");
  const std::string invalid = "[SIMPLE XDMF ERROR] Invalid ";
  builder.beginGrid("g", "Collection");
  EXPECT_EQ(exceptionText([&] { builder.setCollectionType("temporal"); }),
            invalid + "Collection type = temporal is passed to setCollectionType().");
  EXPECT_EQ(exceptionText([&] { builder.setPrecision(3); }),
            invalid + "Precision type = 3 is passed to setPrecision().");
}

// A topology element of either kind is written, and named in the path, as
// Topology; an indentation of 0 means tabs.
TEST_F(XdmfTagBuilderTest, IndentationUnitsLineEndsAndTagPaths) {
  EXPECT_EQ(builder.getTagPath(), "/Xdmf");
  builder.setIndentation(0);
  builder.setNewLine("\r\n");
  builder.beginTag("Domain");
  builder.beginTag("StructuredTopology");
  builder.addItem("t");
  EXPECT_EQ(builder.getTagPath(), "/Xdmf/Domain/Topology");
  builder.endTag("StructuredTopology");
  EXPECT_EQ(builder.getTagPath(), "/Xdmf/Domain");
  builder.endTag("Domain");
  EXPECT_EQ(
      documentOf(builder),
      header + "<Xdmf>\r\n\t<Domain>\r\n\t\t<Topology>\r\n\t\t\tt\r\n\t\t</Topology>\r\n\t</Domain>\r\n</Xdmf>\r\n");
}

TEST_F(XdmfTagBuilderTest, GenerateRewritesTheFileOrReportsIt) {
  EXPECT_EQ(documentOf(builder), header + "<Xdmf>\n</Xdmf>\n");
  EXPECT_EQ(documentOf(builder), header + "<Xdmf>\n</Xdmf>\n");
  for (const std::string& target : {folder.file("missing/doc.xdmf"), std::string("/dev/full")}) {
    CerrCapture capture;
    EXPECT_THROW(builder.generate(target), BaseException) << target;
    EXPECT_EQ(capture.text(), " -> cannot write the XDMF document <" + target + ">\n");
  }
  EXPECT_FALSE(std::filesystem::exists(folder.file("missing")));
}
