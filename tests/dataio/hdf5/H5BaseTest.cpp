#include <gtest/gtest.h>

#include <memory>

#include "dataio/hdf5/H5Base.hpp"
#include "dataio/hdf5/H5Writer.hpp"
#include "h5/H5Exceptions.hpp"
#include "support/ExceptionText.hpp"
#include "support/FailureReport.hpp"
#include "support/H5TestFile.hpp"
#include "support/TempDir.hpp"

namespace {

using testing_support::checkedSourceLine;
using testing_support::exceptionText;
using testing_support::failureReport;
using testing_support::H5TestFile;

class H5BaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    H5TestFile input(name);
    input.doubles("/mesh/Coordnts", {2, 3}, {1, 2, 3, 4, 5, 6});
    input.group("/mesh/empty");
    input.group("/top");
  }

  testing_support::TempDir dir;
  std::string name = dir.file("base.h5");
};

TEST_F(H5BaseTest, ModeWEmptiesTheFile) {
  dataio::H5Base base(name, "w");
  EXPECT_FALSE(base.exist("/mesh"));
  EXPECT_EQ(base.getNrObjects("/"), 0);
  EXPECT_EQ(base.getFileName(), name);
}

TEST_F(H5BaseTest, AttributesAreWrittenOverwrittenAndReadBack) {
  {
    dataio::H5Base base(name, "rw");
    base.writeAttribute("/mesh/Coordnts", "size", 5);
    base.writeAttribute("mesh/Coordnts", "size", 6);
    base.writeAttribute("/mesh/Coordnts", "t", 12.5);
  }
  dataio::H5Base base(name, "r");
  EXPECT_EQ(base.readIntAttribute("/mesh/Coordnts", "size"), 6);
  EXPECT_EQ(base.readDoubleAttribute("/mesh/Coordnts", "t"), 12.5);
}

TEST_F(H5BaseTest, MissingAttributesReadAsDefaults) {
  dataio::H5Base base(name, "r");
  EXPECT_EQ(base.readIntAttribute("/mesh/Coordnts", "size"), 0);
  EXPECT_EQ(base.readDoubleAttribute("/mesh/Coordnts", "t"), 2.2250738585072014e-308);
}

TEST_F(H5BaseTest, AttachingToAMissingObjectFailsTheCheck) {
  dataio::H5Base base(name, "rw");
  const std::string report = failureReport([&] { base.writeAttribute("/mesh/none", "size", 1); });
  EXPECT_EQ(report.rfind(" -> cannot attach attribute to dataset </mesh/none> in file <" + name +
                             ">, in file: src/dataio/hdf5/H5Base.cpp on line ",
                         0),
            0u)
      << report;
  EXPECT_NE(checkedSourceLine(report).find("RESULTS_CHECK(this->f5.exist(path), \"cannot attach"), std::string::npos);
  EXPECT_NE(failureReport([&] { base.writeAttribute("/no/group/x", "t", 1.0); }), "no BaseException");
}

TEST_F(H5BaseTest, ReadingFromAMissingObjectFailsTheCheck) {
  dataio::H5Base base(name, "r");
  const std::string report = failureReport([&] { base.readDoubleAttribute("/no/such", "t"); });
  EXPECT_EQ(report.rfind(" -> cannot read attribute to dataset </no/such> in file <" + name + ">, in file: ", 0), 0u);
  EXPECT_NE(checkedSourceLine(report).find("this->f5.exist(path)"), std::string::npos);
  EXPECT_NE(failureReport([&] { base.readIntAttribute("/none", "size"); }), "no BaseException");
}

// The attribute as stored: a string "size" or a "t" of two values is seen
// for what it is, without a conversion that would fail or pick one value.
TEST_F(H5BaseTest, AttributeInfoTellsClassAndCountBeforeAnyRead) {
  {
    H5TestFile input(name);
    input.doubles("/mesh/Coordnts", {2, 3}, {1, 2, 3, 4, 5, 6});
    input.doubleAttribute("/mesh/Coordnts", "t", 1.5, 2);
    const hid_t dataSet = H5Dopen2(input.id(), "/mesh/Coordnts", H5P_DEFAULT);
    const hid_t space = H5Screate(H5S_SCALAR);
    const hid_t text = H5Tcopy(H5T_C_S1);
    H5Tset_size(text, 4);
    const hid_t size = H5Acreate2(dataSet, "size", text, space, H5P_DEFAULT, H5P_DEFAULT);
    H5Awrite(size, text, "six");
    const hid_t count = H5Acreate2(dataSet, "count", H5T_STD_I64LE, space, H5P_DEFAULT, H5P_DEFAULT);
    const long long six = 6;
    H5Awrite(count, H5T_NATIVE_LLONG, &six);
    for (hid_t id : {size, count}) H5Aclose(id);
    H5Tclose(text);
    H5Sclose(space);
    H5Dclose(dataSet);
  }
  dataio::H5Base base(name, "r");
  const auto size = base.getAttributeInfo("/mesh/Coordnts", "size");
  ASSERT_TRUE(size);
  EXPECT_EQ(size->valueClass, api::ValueClass::String);
  EXPECT_EQ(size->values, 1u);
  const auto time = base.getAttributeInfo("mesh/Coordnts", "t");
  ASSERT_TRUE(time);
  EXPECT_EQ(time->valueClass, api::ValueClass::Float);
  EXPECT_EQ(time->values, 2u);
  const auto count = base.getAttributeInfo("mesh/Coordnts", "count");
  ASSERT_TRUE(count);
  EXPECT_EQ(count->valueClass, api::ValueClass::Integer);
  EXPECT_FALSE(base.getAttributeInfo("mesh/Coordnts", "absent"));
  const std::string report = failureReport([&] { base.getAttributeInfo("/no/such", "size"); });
  EXPECT_EQ(report.rfind(" -> cannot read attribute to dataset </no/such> in file <" + name + ">, in file: ", 0), 0u);
}

TEST_F(H5BaseTest, AttributesBelongToDatasetsOnly) {
  dataio::H5Base base(name, "rw");
  EXPECT_EQ(exceptionText([&] { base.writeAttribute("/top", "size", 1); }).rfind("Unable to open the dataset \"/top\": ", 0),
            0u);
}

TEST_F(H5BaseTest, ObjectCounts) {
  dataio::H5Base base(name, "r");
  EXPECT_EQ(base.getNrObjects("/none"), -1);
  EXPECT_EQ(base.getNrObjects("/none/deeper"), -1);
  EXPECT_EQ(base.getNrObjects("/mesh/empty"), 0);
  EXPECT_EQ(base.getNrObjects("/mesh"), 2);
  EXPECT_EQ(base.getNrObjects("/"), 2);
  EXPECT_THROW(base.getNrObjects("/mesh/Coordnts"), h5::GroupException);
}

TEST_F(H5BaseTest, Existence) {
  dataio::H5Base base(name, "r");
  EXPECT_TRUE(base.exist("/"));
  EXPECT_TRUE(base.exist("mesh/Coordnts"));
  EXPECT_FALSE(base.exist("/other/Coordnts"));
  EXPECT_FALSE(base.exist("/mesh/Coordnts/x"));
}

TEST_F(H5BaseTest, DeletedThroughTheInterface) {
  std::unique_ptr<api::IH5Base> base(dataio::createH5Writer(name));
  EXPECT_EQ(base->getFileName(), name);
  EXPECT_THROW(base->writeAttribute("/", "size", 1), h5::DataSetException);
}

}  // namespace
