#include <gtest/gtest.h>

#include "h5/H5Calls.hpp"
#include "h5/H5Exceptions.hpp"
#include "h5/H5File.hpp"
#include "support/BinaryRun.hpp"
#include "support/ExceptionText.hpp"
#include "support/H5TestFile.hpp"
#include "support/TempDir.hpp"

namespace {

using testing_support::exceptionText;
using testing_support::H5TestFile;
using testing_support::readFile;
using testing_support::TempDir;

bool startsWith(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }

class H5File : public ::testing::Test {
 protected:
  TempDir dir;
  std::string name = dir.file("data.h5");
};

TEST_F(H5File, ModeWEmptiesAnExistingFile) {
  H5TestFile(name).doubles("/a/b", {2}, {1.0, 2.0});
  h5::File file(name, "w");
  EXPECT_FALSE(file.exist("/a"));
  EXPECT_TRUE(file.exist("/"));
}

TEST_F(H5File, ModeRNeverModifiesTheFile) {
  H5TestFile(name).doubles("/a/b", {2}, {1.0, 2.0});
  const std::string before = readFile(name);
  {
    h5::File file(name, "r");
    EXPECT_TRUE(file.exist("/a/b"));
    EXPECT_THROW(h5::createGroup(file.id(), "/c", h5::createLinkCreationList()), h5::GroupException);
    file.close();
  }
  { h5::File other(name, "anything"); }
  EXPECT_EQ(readFile(name), before);
}

TEST_F(H5File, ModeRwOpensAnExistingFileForWriting) {
  H5TestFile(name).group("/a");
  {
    h5::File file(name, "rw");
    h5::createGroup(file.id(), "/c", h5::createLinkCreationList());
  }
  EXPECT_TRUE(h5::File(name, "r").exist("/a"));
  EXPECT_TRUE(h5::File(name, "r").exist("/c"));
}

TEST_F(H5File, MissingFileFailsInEveryOpeningMode) {
  EXPECT_TRUE(startsWith(exceptionText([&] { h5::File(name, "r"); }), "Unable to open file " + name + ": ("));
  EXPECT_THROW(h5::File(name, "rw"), h5::FileException);
  EXPECT_THROW(h5::File(dir.file("missing/x.h5"), "w"), h5::FileException);
}

TEST_F(H5File, FilesThatAreNotHdf5FailCleanly) {
  testing_support::writeFile(name, "not an HDF5 file\n");
  EXPECT_THROW(h5::File(name, "r"), h5::FileException);
  EXPECT_THROW(h5::File(dir.path(), "r"), h5::FileException);
  H5TestFile(dir.file("whole.h5")).doubles("/x", {100}, std::vector<double>(100, 1.0));
  const std::string whole = readFile(dir.file("whole.h5"));
  testing_support::writeFile(name, whole.substr(0, whole.size() / 2));
  EXPECT_THROW(h5::File(name, "r"), h5::FileException);
}

TEST_F(H5File, ExistenceTreatsMissingIntermediateGroupsAsMissing) {
  H5TestFile(name).doubles("/g/d", {1}, {1.0});
  const h5::File file(name, "r");
  EXPECT_TRUE(file.exist("/"));
  EXPECT_TRUE(file.exist("g"));
  EXPECT_TRUE(file.exist("/g/d"));
  EXPECT_FALSE(file.exist("/h/d"));
  EXPECT_FALSE(file.exist("/g/d/e"));
  EXPECT_FALSE(file.exist("/g/x/y/z"));
  EXPECT_FALSE(file.exist(""));
}

TEST_F(H5File, ClosedFileRefusesFurtherUse) {
  h5::File file(name, "w");
  file.close();
  EXPECT_FALSE(file.isOpen());
  EXPECT_EQ(exceptionText([&] { file.exist("/"); }), "Unable to use the closed file " + name);
  EXPECT_THROW(file.flush(), h5::FileException);
}

TEST_F(H5File, FailureTextNamesTheActionAndTheInnermostError) {
  const h5::File file(name, "w");
  const std::string text = exceptionText([&] { h5::openDataSet(file.id(), "/none"); });
  EXPECT_TRUE(startsWith(text, "Unable to open the dataset \"/none\": (")) << text;
  EXPECT_NE(text.find(") "), std::string::npos);
  EXPECT_THROW(h5::openDataSet(file.id(), "/none"), h5::DataSetException);
  EXPECT_THROW(h5::openGroup(file.id(), "/none"), h5::GroupException);
}

}  // namespace
