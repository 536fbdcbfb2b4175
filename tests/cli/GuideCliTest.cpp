// The user guide against what it describes: what the walkthrough shows the binary printing is what it prints on a
// freshly written example, and the document it exports renders.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "support/BinaryRun.hpp"
#include "support/TempDir.hpp"

using namespace testing_support;

namespace {

const std::string sourceDir = RESULTS_SOURCE_DIR;
const std::string binaryInGuide = "../../build/release/src/app/results ";
const std::string renderInGuide = "xvfb-run -a pvbatch scripts/render_example.py";

struct Block {
  std::string language;
  std::vector<std::string> lines;
  std::size_t first = 0, last = 0;  // line numbers of the fences
};

std::vector<Block> fencedBlocks(const std::vector<std::string>& text) {
  std::vector<Block> blocks;
  bool inside = false;
  for (std::size_t n = 0; n < text.size(); ++n) {
    const bool fence = text[n].rfind("```", 0) == 0;
    if (fence && !inside) blocks.push_back(Block{text[n].substr(3), {}, n, n});
    if (fence && inside) blocks.back().last = n;
    if (!fence && inside) blocks.back().lines.push_back(text[n]);
    inside = inside != fence;
  }
  return blocks;
}

class GuideCli : public ::testing::Test {
 protected:
  const std::vector<std::string> guide = splitLines(readFile(sourceDir + "/docs/guide.md"));
  const std::vector<Block> blocks = fencedBlocks(guide);
  TempDir dir;
};

}  // namespace

// A command block followed, past blank lines only, by a text block shows what its last command prints.
TEST_F(GuideCli, WalkthroughRunsAsTheGuideShows) {
  // The layout of the repository as the walkthrough sees it, with the example's results file written anew.
  const std::string workDir = dir.file("examples/out");
  std::filesystem::create_directories(workDir);
  std::filesystem::copy_file(sourceDir + "/examples/dambreak.json", dir.file("examples/dambreak.json"));
  const std::string example = std::string(MAKE_EXAMPLE_BINARY) + " " + workDir + "/dambreak.h5";
  ASSERT_EQ(std::system(example.c_str()), 0) << example;
  std::size_t compared = 0;
  for (std::size_t b = 0; b < blocks.size(); ++b) {
    if (blocks[b].language != "sh") continue;
    BinaryRun last;
    bool ranHere = false;
    for (const auto& line : blocks[b].lines) {
      if (line.rfind(binaryInGuide, 0) != 0) continue;
      std::istringstream words(line.substr(binaryInGuide.size()));
      std::vector<std::string> arguments;
      for (std::string word; words >> word;) arguments.push_back(word);
      last = runResults(arguments, workDir);
      EXPECT_EQ(last.status, 0) << line << "\n" << last.err;
      ranHere = true;
    }
    if (!ranHere || b + 1 == blocks.size()) continue;
    const Block& next = blocks[b + 1];
    bool adjacent = next.language == "text";
    for (std::size_t n = blocks[b].last + 1; n < next.first; ++n) adjacent = adjacent && guide[n].empty();
    if (!adjacent) continue;
    EXPECT_EQ(last.outLines(), next.lines)
        << "the guide shows another output for block at line " << blocks[b].first + 1;
    ++compared;
  }
  EXPECT_EQ(compared, 2u) << "the walkthrough shows the info report and the export";
  ASSERT_TRUE(std::filesystem::exists(workDir + "/dambreak.xdmf"));
  // The render command draws the exported document where ParaView is installed (it is no build requirement).
  if (std::system("command -v pvbatch >/dev/null 2>&1 && command -v xvfb-run >/dev/null 2>&1") != 0) return;
  const std::string picture = dir.file("example.png");
  const std::string command = "cd " + sourceDir + " && " + renderInGuide + " " + workDir + "/dambreak.xdmf " + picture +
                              " >" + dir.file("render.log") + " 2>&1";
  // Another program may take the virtual screen at the same moment: a retry is no fault of the script.
  int status = -1;
  for (int attempt = 0; attempt < 3 && status != 0; ++attempt) status = std::system(command.c_str());
  ASSERT_EQ(status, 0) << readFile(dir.file("render.log"));
  const std::string png = readFile(picture);
  ASSERT_GT(png.size(), 1000u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
}
