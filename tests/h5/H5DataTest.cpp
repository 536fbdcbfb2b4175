#include <gtest/gtest.h>

#include <hdf5.h>

#include "h5/H5Attributes.hpp"
#include "h5/H5Calls.hpp"
#include "h5/H5Data.hpp"
#include "h5/H5File.hpp"
#include "h5/H5Groups.hpp"
#include "h5/H5Types.hpp"
#include "support/ExceptionText.hpp"
#include "support/H5TestFile.hpp"
#include "support/TempDir.hpp"

namespace {

using testing_support::exceptionText;
using testing_support::H5TestFile;

class H5Data : public ::testing::Test {
 protected:
  testing_support::TempDir dir;
  std::string name = dir.file("data.h5");

  h5::DataSetHandle create(const h5::File& file, const std::string& path, std::vector<h5::Extent> dims,
                           const h5::DataTypeHandle& type) {
    return h5::createDataSet(file.id(), path, type, h5::createSimpleSpace(dims));
  }
};

TEST_F(H5Data, NumbersRoundTripInRowOrder) {
  const h5::File file(name, "w");
  const auto ints = create(file, "i", {2, 2}, h5::nativeTypeOf<int>());
  const std::vector<int> written{1, 2, 3, 4};
  h5::writeValues(ints, written.data(), "i");
  EXPECT_EQ(h5::readValues<int>(ints, "i"), written);
  EXPECT_EQ(h5::readValues<double>(ints, "i"), (std::vector<double>{1.0, 2.0, 3.0, 4.0}));
  EXPECT_EQ(h5::dimensionsOf(ints, "i"), (std::vector<h5::Extent>{2, 2}));
}

TEST_F(H5Data, StringsAreVariableLengthUtf8) {
  const h5::File file(name, "w");
  const auto texts = create(file, "s", {3}, h5::utf8StringType());
  const std::vector<std::string> written{"Veldrix", "", "Wasserhöhe"};
  h5::writeStrings(texts, written, "s");
  EXPECT_EQ(h5::readStrings(texts, "s"), written);
  const h5::DataTypeHandle stored(H5Dget_type(texts.id()));
  EXPECT_TRUE(H5Tis_variable_str(stored.id()) > 0);
  EXPECT_EQ(H5Tget_cset(stored.id()), H5T_CSET_UTF8);
}

TEST_F(H5Data, AsciiStringsAndNumbersAsStrings) {
  {
    H5TestFile input(name);
    input.strings("ascii", {"a", "bc"});
    input.doubles("numbers", {2}, {1.0, 2.0});
  }
  const h5::File file(name, "r");
  EXPECT_EQ(h5::readStrings(h5::openDataSet(file.id(), "ascii"), "ascii"), (std::vector<std::string>{"a", "bc"}));
  EXPECT_THROW(h5::readStrings(h5::openDataSet(file.id(), "numbers"), "numbers"), h5::DataTypeException);
}

TEST_F(H5Data, ColumnSliceHoldsOneValuePerRow) {
  H5TestFile(name).doubles("t", {3, 2}, {1, 2, 3, 4, 5, 6});
  const h5::File file(name, "r");
  const auto table = h5::openDataSet(file.id(), "t");
  EXPECT_EQ(h5::readColumnSlice(table, "t", 3, 1), (std::vector<std::vector<double>>{{2}, {4}, {6}}));
  EXPECT_TRUE(h5::readColumnSlice(table, "t", 0, 1).empty());
  EXPECT_THROW(h5::readColumnSlice(table, "t", 3, 2), h5::DataSetException);
}

TEST_F(H5Data, RankMismatchIsADataSpaceFailure) {
  EXPECT_NO_THROW(h5::requireRank({2, 3}, 2, "x"));
  EXPECT_EQ(exceptionText([] { h5::requireRank({2, 3, 4}, 2, "x"); }),
            "Impossible to read the dataset \"x\" of rank 3 into arrays of rank 2");
}

TEST_F(H5Data, PackRowsChecksEveryRowLength) {
  EXPECT_EQ(h5::packRows<int>({{1, 2}, {3, 4}}, 2), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(exceptionText([] { h5::packRows<int>({{1, 2}, {3}}, 2); }),
            "Mismatch between vector size (1) and dataset size (2) on dimension 1");
  EXPECT_THROW(h5::packRows<double>({{1.0}, {2.0, 3.0}}, 1), h5::DataSetException);
}

TEST_F(H5Data, AttributesAreCreatedOverwrittenAndChecked) {
  const h5::File file(name, "w");
  const auto values = create(file, "v", {1}, h5::nativeTypeOf<double>());
  EXPECT_FALSE(h5::hasAttribute(values, "size"));
  h5::writeAttribute(values, "size", 1);
  h5::writeAttribute(values, "size", 7);
  h5::writeAttribute(values, "t", 2.5);
  EXPECT_EQ(h5::readAttribute<int>(values, "size"), 7);
  EXPECT_EQ(h5::readAttribute<double>(values, "t"), 2.5);
  EXPECT_TRUE(h5::readAttribute<double>(values, "size") == 7.0);
  EXPECT_EQ(exceptionText([&] { h5::readAttribute<int>(values, "none"); }).rfind("Unable to open the attribute \"none\": (", 0),
            0u);
}

// Several values would overrun the one-value buffer; none would leave it as
// it was, and a time of 0 would look read.
TEST_F(H5Data, AttributesOfSeveralValuesOrNoneAreRefused) {
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
}

TEST_F(H5Data, GroupsAreCreatedWithParentsAndCounted) {
  const h5::File file(name, "w");
  h5::createGroupWithParents(file.id(), "/a/b/c");
  create(file, "/a/d", {1}, h5::nativeTypeOf<int>());
  EXPECT_EQ(h5::countObjects(file.id(), "/a"), 2u);
  EXPECT_EQ(h5::countObjects(file.id(), "/a/b/c"), 0u);
  EXPECT_EQ(h5::countObjects(file.id(), "/"), 1u);
  EXPECT_THROW(h5::countObjects(file.id(), "/a/d"), h5::GroupException);
}

TEST(H5Handle, MovesOwnershipAndClosesOnce) {
  h5::DataSpaceHandle first = h5::createSimpleSpace({4});
  const h5::Id id = first.id();
  h5::DataSpaceHandle second = std::move(first);
  EXPECT_FALSE(first.valid());
  EXPECT_EQ(second.id(), id);
  EXPECT_GT(H5Iis_valid(id), 0);
  second = h5::createSimpleSpace({2});
  EXPECT_EQ(H5Iis_valid(id), 0);
}

}  // namespace
