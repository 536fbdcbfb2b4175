#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "results/files/FileReferences.hpp"
#include "support/TempDir.hpp"

using namespace results;

TEST(OutputStem, CutsAtTheFirstPointOfTheFileName) {
  EXPECT_EQ(outputStem("results.xdmf"), "results");
  EXPECT_EQ(outputStem("out"), "out");
  EXPECT_EQ(outputStem("a.b.xdmf"), "a");
  EXPECT_EQ(outputStem(".xdmf"), "");
}

TEST(OutputStem, PointsInFoldersDoNotCut) {
  EXPECT_EQ(outputStem("./out/res.xdmf"), "./out/res");
  EXPECT_EQ(outputStem("../res.xdmf"), "../res");
  EXPECT_EQ(outputStem("/data/v1.2/run"), "/data/v1.2/run");
  EXPECT_EQ(outputStem("dir/.xdmf"), "dir/");
}

TEST(FileReference, UnchangedInTheWorkingFolderOrWhenAbsolute) {
  EXPECT_EQ(referenceFrom("", "run.h5"), "run.h5");
  EXPECT_EQ(referenceFrom("", "./data/../run.h5"), "./data/../run.h5");
  EXPECT_EQ(referenceFrom("sub", "/abs/run.h5"), "/abs/run.h5");
}

TEST(FileReference, RelativeToTheDocumentFolder) {
  EXPECT_EQ(referenceFrom("sub", "run.h5"), "../run.h5");
  EXPECT_EQ(referenceFrom("sub", "sub/run.h5"), "run.h5");
  EXPECT_EQ(referenceFrom("./sub", "sub/out_aux.h5"), "out_aux.h5");
  EXPECT_EQ(referenceFrom("a/b", "x/run.h5"), "../../x/run.h5");
  const std::string working = std::filesystem::current_path().filename().string();
  EXPECT_EQ(referenceFrom("../elsewhere", "run.h5"), "../" + working + "/run.h5");
}

TEST(FolderOf, KeepsTheFolderPartWithoutItsLastSlash) {
  EXPECT_EQ(folderOf("out.xdmf"), "");
  EXPECT_EQ(folderOf("sub/out.xdmf"), "sub");
  EXPECT_EQ(folderOf("/out.xdmf"), "/");
}

TEST(SameExistingFile, ComparesIdentityNotNames) {
  testing_support::TempDir dir;
  const std::string a = dir.file("a.h5");
  std::filesystem::create_directory(dir.file("sub"));
  { std::ofstream(a) << "x"; }
  EXPECT_TRUE(sameExistingFile(a, dir.path() + "/sub/../a.h5"));
  std::filesystem::create_symlink(a, dir.file("b.h5"));
  EXPECT_TRUE(sameExistingFile(dir.file("b.h5"), a));
  EXPECT_FALSE(sameExistingFile(dir.file("absent.h5"), a));
  EXPECT_FALSE(sameExistingFile(dir.file("sub"), a));
}
