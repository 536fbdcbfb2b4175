// -n 1 folds the envelopes in the export's own pass, -n 2 beside it: the
// example's files are the same either way (the auxiliary file by its
// contents, as HDF5 stamps its objects with the time they were written).

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/BinaryRun.hpp"
#include "support/TempDir.hpp"

using namespace testing_support;

namespace {

// The example's export in a folder of its own, with -n threads.
void exportExample(const std::string& folder, const std::string& threads) {
  std::filesystem::create_directory(folder);
  const std::string make = std::string(MAKE_EXAMPLE_BINARY) + " " + folder + "/dambreak.h5 > /dev/null";
  ASSERT_EQ(std::system(make.c_str()), 0);
  std::filesystem::copy_file(std::string(RESULTS_SOURCE_DIR) + "/examples/dambreak.json", folder + "/dambreak.json");
  const BinaryRun run =
      runResults({"-f", "dambreak.json", "-r", "dambreak.h5", "-o", "dambreak.xdmf", "-n", threads}, folder);
  ASSERT_EQ(run.status, 0) << run.err;
}

}  // namespace

TEST(Threads, OneThreadWritesWhatTwoWrite) {
  TempDir dir;
  exportExample(dir.file("one"), "1");
  exportExample(dir.file("two"), "2");
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.file("one"))) {
    const std::string name = entry.path().filename();
    SCOPED_TRACE(name);
    ASSERT_TRUE(std::filesystem::exists(dir.file("two/" + name)));
    ++files;
    if (entry.path().extension() == ".h5" && name != "dambreak.h5") {
      if (std::system("command -v h5diff > /dev/null 2>&1") != 0) continue;
      const std::string diff = "h5diff '" + entry.path().string() + "' '" + dir.file("two/" + name) + "' > /dev/null";
      EXPECT_EQ(std::system(diff.c_str()), 0) << diff;
    } else if (name != "dambreak.h5") {
      EXPECT_TRUE(readFile(entry.path().string()) == readFile(dir.file("two/" + name)));
    }
  }
  EXPECT_GE(files, 10);  // the document, its auxiliary file, the window, the envelopes, the mesh, the series
}
