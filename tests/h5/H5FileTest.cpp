// The HDF5 layer: files, datasets, attributes and groups, with the failure
// texts that carry the library's innermost error.

#include <gtest/gtest.h>
#include <hdf5.h>

#include "h5/H5Attributes.hpp"
#include "h5/H5Calls.hpp"
#include "h5/H5Data.hpp"
#include "h5/H5Exceptions.hpp"
#include "h5/H5File.hpp"
#include "h5/H5Groups.hpp"
#include "h5/H5Types.hpp"
#include "support/BinaryRun.hpp"
#include "support/ExceptionText.hpp"
#include "support/H5TestFile.hpp"
#include "support/TempDir.hpp"

namespace {

using testing_support::exceptionText;
using testing_support::H5TestFile;
using testing_support::readFile;

class H5Layer : public ::testing::Test {
 protected:
  testing_support::TempDir dir;
  std::string name = dir.file("data.h5");
};

// A path through a missing group or through a dataset does not exist.
TEST_F(H5Layer, OpeningModesDecideWhatTheFileKeeps) {
  H5TestFile(name).doubles("/a/b", {2}, {1.0, 2.0});
  const std::string before = readFile(name);
  {
    h5::File file(name, "r");
    EXPECT_THROW(h5::createGroup(file.id(), "/c", h5::createLinkCreationList()), h5::GroupException);
  }
  { h5::File other(name, "anything"); }
  EXPECT_EQ(readFile(name), before);
  { h5::createGroup(h5::File(name, "rw").id(), "/c", h5::createLinkCreationList()); }
  {
    const h5::File file(name, "r");
    for (const char* path : {"/", "a", "/a/b", "/c"}) EXPECT_TRUE(file.exist(path)) << path;
    for (const char* path : {"/a/b/e", "/a/x/y/z", ""}) EXPECT_FALSE(file.exist(path)) << path;
  }
  EXPECT_FALSE(h5::File(name, "w").exist("/a"));
}

TEST_F(H5Layer, FailureTextsNameTheActionAndTheInnermostError) {
  const std::string open = exceptionText([&] { h5::File(name, "r"); });
  EXPECT_EQ(open.rfind("Unable to open file " + name + ": (", 0), 0u) << open;
  h5::File file(name, "w");
  const std::string text = exceptionText([&] { h5::openDataSet(file.id(), "/none"); });
  EXPECT_EQ(text.rfind("Unable to open the dataset \"/none\": (", 0), 0u) << text;
  EXPECT_THROW(h5::openGroup(file.id(), "/none"), h5::GroupException);
  file.close();
  EXPECT_EQ(exceptionText([&] { file.exist("/"); }), "Unable to use the closed file " + name);
  const std::string rank = exceptionText([] { h5::requireRank({2, 3, 4}, 2, "x"); });
  EXPECT_EQ(rank, "Impossible to read the dataset \"x\" of rank 3 into arrays of rank 2");
  const std::string ragged = exceptionText([] { h5::packRows<int>({{1, 2}, {3}}, 2); });
  EXPECT_EQ(ragged, "Mismatch between vector size (1) and dataset size (2) on dimension 1");
}

// Texts are stored as variable-length UTF-8, as the viewers read them.
TEST_F(H5Layer, ValuesRoundTripInRowOrderAndStringsAsUtf8) {
  const h5::File file(name, "w");
  const auto ints = h5::createDataSet(file.id(), "i", h5::nativeTypeOf<int>(), h5::createSimpleSpace({3, 2}));
  h5::writeValues(ints, std::vector<int>{1, 2, 3, 4, 5, 6}.data(), "i");
  EXPECT_EQ(h5::readColumnSlice(ints, "i", 3, 1), (std::vector<std::vector<double>>{{2}, {4}, {6}}));
  EXPECT_THROW(h5::readColumnSlice(ints, "i", 3, 2), h5::DataSetException);
  EXPECT_THROW(h5::readStrings(ints, "i"), h5::DataTypeException);
  const auto texts = h5::createDataSet(file.id(), "s", h5::utf8StringType(), h5::createSimpleSpace({3}));
  const std::vector<std::string> written{"Veldrix", "", "Wasserhöhe"};
  h5::writeStrings(texts, written, "s");
  EXPECT_EQ(h5::readStrings(texts, "s"), written);
  const h5::DataTypeHandle stored(H5Dget_type(texts.id()));
  EXPECT_TRUE(H5Tis_variable_str(stored.id()) > 0);
  EXPECT_EQ(H5Tget_cset(stored.id()), H5T_CSET_UTF8);
}

// Several values would overrun the one-value buffer; none would leave it as
// it was, and a time of 0 would look read.
TEST_F(H5Layer, AttributesHoldOneValueEach) {
  {
    H5TestFile input(name);
    input.doubles("v", {1}, {0.0});
    input.doubleAttribute("v", "t", 1.0, 3);
    input.doubleAttribute("v", "empty", 1.0, 0);
  }
  const h5::File file(name, "rw");
  const auto values = h5::openDataSet(file.id(), "v");
  EXPECT_EQ(exceptionText([&] { h5::readAttribute<double>(values, "t"); }),
            "Unable to use the attribute \"t\" as one value: it holds 3");
  EXPECT_EQ(exceptionText([&] { h5::readAttribute<int>(values, "empty"); }),
            "Unable to use the attribute \"empty\" as one value: it holds 0");
  EXPECT_THROW(h5::writeAttribute(values, "t", 1.0), h5::DataSpaceException);
  EXPECT_FALSE(h5::hasAttribute(values, "size"));
  h5::writeAttribute(values, "size", 1);
  h5::writeAttribute(values, "size", 7);
  EXPECT_EQ(h5::readAttribute<int>(values, "size"), 7);
  const std::string missing = exceptionText([&] { h5::readAttribute<int>(values, "none"); });
  EXPECT_EQ(missing.rfind("Unable to open the attribute \"none\": (", 0), 0u) << missing;
}

TEST(H5Handle, MovesOwnershipAndClosesOnce) {
  h5::DataSpaceHandle first = h5::createSimpleSpace({4});
  const h5::Id id = first.id();
  h5::DataSpaceHandle second = std::move(first);
  EXPECT_FALSE(first.valid());
  EXPECT_GT(H5Iis_valid(id), 0);
  second = h5::createSimpleSpace({2});
  EXPECT_EQ(H5Iis_valid(id), 0);
}

}  // namespace
