#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "dataio/xdmf/XdmfTagBuilder.hpp"
#include "interfaces/Failure.hpp"
#include "support/BinaryRun.hpp"
#include "support/CerrCapture.hpp"
#include "support/TempDir.hpp"

using testing_support::CerrCapture;
using dataio::XdmfTagBuilder;

namespace {

const std::string header = "<?xml version=\"1.0\" ?>\n<!DOCTYPE Xdmf SYSTEM \"Xdmf.dtd\" []>\n";

class XdmfTagBuilderTest : public ::testing::Test {
 protected:
  std::string documentOf(XdmfTagBuilder& written) {
    const std::string file = folder.file("doc.xdmf");
    written.generate(file);
    return testing_support::readFile(file);
  }

  // The message of the std::invalid_argument that call throws, "" when it throws none.
  template <typename Call>
  static std::string rejection(Call call) {
    try {
      call();
    } catch (const std::invalid_argument& e) {
      return e.what();
    }
    return "";
  }

  testing_support::TempDir folder;
  XdmfTagBuilder builder;
};

}  // namespace

TEST_F(XdmfTagBuilderTest, FreshBuilderWithVersionWritesHeaderAndRoot) {
  builder.setVersion("2.0");
  EXPECT_EQ(header.size(), 60u);
  EXPECT_EQ(documentOf(builder), header + "<Xdmf Version=\"2.0\">\n</Xdmf>\n");
}

TEST_F(XdmfTagBuilderTest, TopologyWithReferenceClosesAtItsOwnIndentation) {
  builder.beginTag("Domain");
  builder.beginTopology("", "Triangle");
  builder.setReference("/Xdmf/Domain/Topology[1]");
  builder.endTag("UnstructuredTopology");
  builder.endTag("Domain");
  EXPECT_EQ(documentOf(builder), header +
                                     "<Xdmf>\n"
                                     "    <Domain>\n"
                                     "        <Topology TopologyType=\"Triangle\" Reference=\"/Xdmf/Domain/Topology[1]\">\n"
                                     "        </Topology>\n"
                                     "    </Domain>\n"
                                     "</Xdmf>\n");
}

TEST_F(XdmfTagBuilderTest, AttributesFollowTheOrderOfCalls) {
  builder.beginDataItem("", "HyperSlab");
  builder.setDimensions(8);
  builder.endTag("DataItem");
  builder.beginDataItem("selection", "Uniform");
  builder.setDimensions(2, 3);
  builder.setFormat("XML");
  builder.setNumberType("Int");
  builder.setPrecision(4);
  builder.endTag("DataItem");
  builder.beginTag("Time");
  builder.setValue("1.5");
  builder.setNumberOfElements(7);
  builder.endTag("Time");
  EXPECT_EQ(documentOf(builder),
            header +
                "<Xdmf>\n"
                "    <DataItem ItemType=\"HyperSlab\" Dimensions=\"8\">\n"
                "    </DataItem>\n"
                "    <DataItem ItemType=\"Uniform\" Name=\"selection\" Dimensions=\"2 3\" Format=\"XML\" "
                "NumberType=\"Int\" Precision=\"4\">\n"
                "    </DataItem>\n"
                "    <Time Value=\"1.5\" NumberOfElements=\"7\">\n"
                "    </Time>\n"
                "</Xdmf>\n");
}

TEST_F(XdmfTagBuilderTest, EmptyTypeWritesNothingEvenForInnerText) {
  builder.beginAttribute("depth", "");
  builder.addItem("values");
  EXPECT_NO_THROW(builder.setType(""));
  builder.endTag("Attribute");
  EXPECT_EQ(documentOf(builder),
            header + "<Xdmf>\n    <Attribute Name=\"depth\">\n        values\n    </Attribute>\n</Xdmf>\n");
}

TEST_F(XdmfTagBuilderTest, CenterOnlyOnAnAttribute) {
  CerrCapture capture;
  builder.beginAttribute("h", "Scalar");
  builder.setCenter("Cell");
  builder.addItem("x");
  builder.setCenter("Cell");
  builder.endTag("Attribute");
  EXPECT_EQ(capture.text(), "[SIMPLE XDMF ERROR] setCenter() cannot be called when current Tag is not Attribute.\n");
  EXPECT_EQ(documentOf(builder), header +
                                     "<Xdmf>\n"
                                     "    <Attribute AttributeType=\"Scalar\" Name=\"h\" Center=\"Cell\">\n"
                                     "        x\n"
                                     "    </Attribute>\n"
                                     "</Xdmf>\n");
}

TEST_F(XdmfTagBuilderTest, KindRestrictedSettersComplainElsewhere) {
  CerrCapture capture;
  builder.beginTag("Domain");
  builder.setVersion("2.0");
  builder.setCollectionType("Temporal");
  builder.setFunction("$0");
  builder.setValue("1");
  builder.beginTag("Information");
  builder.setValue("note");
  EXPECT_EQ(capture.text(),
            "[SIMPLE XDMF ERROR] setVersion() cannot be called when current Tag is not Xdmf.\n"
            "[SIMPLE XDMF ERROR] setCollectionType() cannot be called when current Tag is not Grid.\n"
            "[SIMPLE XDMF ERROR] setFunction() cannot be called when current Tag is not DataItem.\n"
            "[SIMPLE XDMF ERROR] setValue() cannot be called when current Tag is not Time and Information.\n");
  builder.endTag("Information");
  builder.endTag("Domain");
  EXPECT_EQ(documentOf(builder), header +
                                     "<Xdmf>\n    <Domain>\n        <Information Value=\"note\">\n"
                                     "        </Information>\n    </Domain>\n</Xdmf>\n");
}

TEST_F(XdmfTagBuilderTest, CollectionTypeIsTemporalOnly) {
  builder.beginGrid("run.h5", "Collection");
  for (const std::string value : {"Spatial", "temporal", "", "Temporal "})
    EXPECT_EQ(rejection([&] { builder.setCollectionType(value); }),
              "[SIMPLE XDMF ERROR] Invalid Collection type = " + value + " is passed to setCollectionType().");
  builder.setCollectionType("Temporal");
  builder.endTag("Grid");
  EXPECT_EQ(documentOf(builder), header +
                                     "<Xdmf>\n"
                                     "    <Grid GridType=\"Collection\" Name=\"run.h5\" CollectionType=\"Temporal\">\n"
                                     "    </Grid>\n"
                                     "</Xdmf>\n");
}

TEST_F(XdmfTagBuilderTest, VocabularyErrorMessages) {
  const std::string start = "[SIMPLE XDMF ERROR] Invalid ";
  builder.beginTopology("", "");
  EXPECT_EQ(rejection([&] { builder.setType("3DSMesh"); }), start + "Topology type = 3DSMesh is passed to.");
  builder.beginTag("StructuredTopology");
  EXPECT_EQ(rejection([&] { builder.setType("Triangle"); }), start + "Topology type = Triangle is passed to.");
  builder.beginDataItem("", "");
  EXPECT_EQ(rejection([&] { builder.setType("uniform"); }), start + "DataItem type = uniform is passed to.");
  builder.beginTag("Set");
  EXPECT_EQ(rejection([&] { builder.setType("Grid"); }), start + "Set type = Grid is passed to.");
  builder.beginTag("Time");
  EXPECT_EQ(rejection([&] { builder.setType("Once"); }), start + "Time type = Once is passed to.");
  builder.beginAttribute("", "");
  EXPECT_EQ(rejection([&] { builder.setCenter("Cells"); }), start + "Center type = Cells is passed to setCenter().");
  builder.addItem("text");
  EXPECT_EQ(rejection([&] { builder.setType("Scalar"); }), start + "Inner type = Scalar is passed to.");
  EXPECT_EQ(rejection([&] { builder.setFormat("HDF5"); }), start + "Format type = HDF5 is passed to setFormat().");
  EXPECT_EQ(rejection([&] { builder.setNumberType("Double"); }),
            start + "Number type = Double is passed to setNumberType().");
  EXPECT_EQ(rejection([&] { builder.setPrecision("16"); }),
            start + "Precision type = 16 is passed to setPrecision().");
  EXPECT_EQ(rejection([&] { builder.setPrecision(3); }), start + "Precision type = 3 is passed to setPrecision().");
}

TEST_F(XdmfTagBuilderTest, InformationDomainAndXdmfTakeAnyType) {
  builder.setType("anything");
  builder.beginTag("Domain");
  builder.setType("Main");
  builder.endTag("Domain");
  EXPECT_EQ(documentOf(builder),
            header + "<Xdmf XdmfType=\"anything\">\n    <Domain DomainType=\"Main\">\n    </Domain>\n</Xdmf>\n");
}

TEST_F(XdmfTagBuilderTest, RejectedValueKeepsWhatWasWrittenBefore) {
  builder.beginDataItem("", "Uniform");
  EXPECT_THROW(builder.setFormat("CSV"), std::invalid_argument);
  builder.setFormat("Binary");
  builder.endTag("DataItem");
  EXPECT_EQ(documentOf(builder),
            header + "<Xdmf>\n    <DataItem ItemType=\"Uniform\" Format=\"Binary\">\n    </DataItem>\n</Xdmf>\n");
}

TEST_F(XdmfTagBuilderTest, TwelveIntegersOnTwoLines) {
  builder.beginDataItem("", "");
  builder.addItem(std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
  builder.addItem(std::vector<int>{-1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  builder.endTag("DataItem");
  EXPECT_EQ(documentOf(builder), header +
                                     "<Xdmf>\n"
                                     "    <DataItem>\n"
                                     "        0 1 2 3 4 5 6 7 8 9 \n"
                                     "        10 11\n"
                                     "        -1 2 3 4 5 6 7 8 9 10\n"
                                     "    </DataItem>\n"
                                     "</Xdmf>\n");
}

TEST_F(XdmfTagBuilderTest, IndentationUnitsAtDepthTwo) {
  const auto depthTwo = [this](int indentation) {
    XdmfTagBuilder nested;
    nested.setIndentation(indentation);
    nested.beginTag("Domain");
    nested.beginTag("Grid");
    nested.addItem("t");
    nested.endTag("Grid");
    nested.endTag("Domain");
    return documentOf(nested).substr(header.size());
  };
  EXPECT_EQ(depthTwo(4), "<Xdmf>\n    <Domain>\n        <Grid>\n            t\n        </Grid>\n    </Domain>\n</Xdmf>\n");
  EXPECT_EQ(depthTwo(0), "<Xdmf>\n\t<Domain>\n\t\t<Grid>\n\t\t\tt\n\t\t</Grid>\n\t</Domain>\n</Xdmf>\n");
  EXPECT_EQ(depthTwo(-3), "<Xdmf>\n<Domain>\n<Grid>\nt\n</Grid>\n</Domain>\n</Xdmf>\n");
  EXPECT_EQ(depthTwo(1), "<Xdmf>\n <Domain>\n  <Grid>\n   t\n  </Grid>\n </Domain>\n</Xdmf>\n");
}

TEST_F(XdmfTagBuilderTest, LineEndAppliesToElementsNotToTheHeader) {
  builder.setNewLine("\r\n");
  builder.beginTag("Domain");
  builder.endTag("Domain");
  EXPECT_EQ(documentOf(builder), header + "<Xdmf>\r\n    <Domain>\r\n    </Domain>\r\n</Xdmf>\r\n");
}

TEST_F(XdmfTagBuilderTest, TagPathAndDepthFollowTheOpenElements) {
  EXPECT_EQ(builder.getTagPath(), "/Xdmf");
  EXPECT_EQ(builder.getDepth(), 0);
  builder.beginTag("Domain");
  builder.beginTag("StructuredTopology");
  builder.addItem("x");
  EXPECT_EQ(builder.getTagPath(), "/Xdmf/Domain/Topology");
  EXPECT_EQ(builder.getDepth(), 2);
  builder.endTag("StructuredTopology");
  EXPECT_EQ(builder.getTagPath(), "/Xdmf/Domain");
  EXPECT_EQ(builder.getDepth(), 1);
}

TEST_F(XdmfTagBuilderTest, SpecialCharactersAreEscaped) {
  builder.beginAttribute("a&b \"c\" <d>", "Scalar");
  builder.addItem("x<y>&z.h5:/p");
  builder.endTag("Attribute");
  EXPECT_EQ(documentOf(builder), header +
                                     "<Xdmf>\n"
                                     "    <Attribute AttributeType=\"Scalar\" Name=\"a&amp;b &quot;c&quot; &lt;d&gt;\">\n"
                                     "        x&lt;y&gt;&amp;z.h5:/p\n"
                                     "    </Attribute>\n"
                                     "</Xdmf>\n");
}

// A parser reads a tab in an attribute value as a blank unless it is a
// character reference; in inner text it stays a tab.
TEST_F(XdmfTagBuilderTest, TabsInAttributeValuesAreCharacterReferences) {
  builder.beginGrid("run\t1.h5", "Collection");
  builder.addItem("run\t1.h5:/Topology");
  builder.endTag("Grid");
  const std::string document = documentOf(builder);
  EXPECT_NE(document.find("<Grid GridType=\"Collection\" Name=\"run&#9;1.h5\">\n        run\t1.h5:/Topology\n"),
            std::string::npos)
      << document;
}

TEST_F(XdmfTagBuilderTest, SecondGenerateOnlyRewritesTheFile) {
  const std::string first = documentOf(builder);
  EXPECT_EQ(documentOf(builder), first);
  EXPECT_EQ(first, header + "<Xdmf>\n</Xdmf>\n");
}

TEST_F(XdmfTagBuilderTest, UnwritableFilesAreReported) {
  std::vector<std::string> targets = {folder.file("missing/doc.xdmf"), folder.path()};
  if (std::filesystem::exists("/dev/full")) targets.push_back("/dev/full");
  for (const std::string& target : targets) {
    CerrCapture capture;
    EXPECT_THROW(builder.generate(target), BaseException) << target;
    EXPECT_EQ(capture.text(), " -> cannot write the XDMF document <" + target + ">\n");
  }
  EXPECT_FALSE(std::filesystem::exists(folder.file("missing")));
}

TEST_F(XdmfTagBuilderTest, NamespaceOnTheRootAndIncludeOnItsOwnLine) {
  builder.setVersion("3.0");
  builder.setNamespace("xi", "http://www.w3.org/2001/XInclude");
  builder.beginGrid("step", "Uniform");
  builder.addInclude("xpointer(//Grid[@Name=\"mesh\"]/*)");
  {
    CerrCapture capture;
    builder.setNamespace("xi", "http://www.w3.org/2001/XInclude");
    EXPECT_EQ(capture.text(), "[SIMPLE XDMF ERROR] setNamespace() cannot be called when current Tag is not Xdmf.\n");
  }
  builder.beginTag("Time");
  builder.endTag("Time");
  builder.endTag("Grid");
  EXPECT_EQ(documentOf(builder),
            header +
                "<Xdmf Version=\"3.0\" xmlns:xi=\"http://www.w3.org/2001/XInclude\">\n"
                "    <Grid GridType=\"Uniform\" Name=\"step\">\n"
                "        <xi:include xpointer=\"xpointer(//Grid[@Name=&quot;mesh&quot;]/*)\"/>\n"
                "        <Time>\n"
                "        </Time>\n"
                "    </Grid>\n"
                "</Xdmf>\n");
}
