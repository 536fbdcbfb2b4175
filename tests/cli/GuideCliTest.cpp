// The user guide against what it describes: every command it shows is run
// by the example script or here, and what the walkthrough shows it printing
// is what the binary prints on a freshly written example.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include <sstream>

#include "app/ConfigurationSchema.hpp"
#include "support/BinaryRun.hpp"
#include "support/TempDir.hpp"
#include "validator/JsonValidator.hpp"

using namespace testing_support;

namespace {

const std::string sourceDir = RESULTS_SOURCE_DIR;
const std::string binaryInGuide = "../../build/release/src/app/results";
const std::string renderInGuide = "xvfb-run -a pvbatch scripts/render_example.py";
const std::string plotInGuide = "/usr/bin/python3 scripts/plot_hydrographs.py";
const std::string mapsPlotInGuide = "/usr/bin/python3 scripts/plot_maps.py";

struct Block {
  std::string language;
  std::vector<std::string> lines;
  std::size_t first = 0;  // line numbers of the fences
  std::size_t last = 0;
};

std::vector<Block> fencedBlocks(const std::vector<std::string>& text) {
  std::vector<Block> blocks;
  bool inside = false;
  for (std::size_t n = 0; n < text.size(); ++n) {
    if (text[n].rfind("```", 0) != 0) {
      if (inside) blocks.back().lines.push_back(text[n]);
      continue;
    }
    if (!inside) {
      blocks.push_back(Block{text[n].substr(3), {}, n, n});
    } else {
      blocks.back().last = n;
    }
    inside = !inside;
  }
  return blocks;
}

// The printed text of a command block: a text block right after it.
const Block* printedAfter(const std::vector<Block>& blocks, std::size_t index, const std::vector<std::string>& text) {
  if (index + 1 >= blocks.size() || blocks[index + 1].language != "text") return nullptr;
  for (std::size_t n = blocks[index].last + 1; n < blocks[index + 1].first; ++n)
    if (!text[n].empty()) return nullptr;
  return &blocks[index + 1];
}

std::vector<std::string> words(const std::string& line) {
  std::vector<std::string> all;
  std::size_t start = 0;
  while (start < line.size()) {
    const std::size_t end = std::min(line.find(' ', start), line.size());
    if (end > start) all.push_back(line.substr(start, end - start));
    start = end + 1;
  }
  return all;
}

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\n";
  return text;
}

bool hasLine(const std::vector<std::string>& lines, const std::string& wanted) {
  return std::find(lines.begin(), lines.end(), wanted) != lines.end();
}

bool onPath(const std::string& program) { return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0; }

}  // namespace

class GuideCli : public ::testing::Test {
 protected:
  void SetUp() override {
    guide = splitLines(readFile(sourceDir + "/docs/guide.md"));
    blocks = fencedBlocks(guide);
    exampleScript = splitLines(readFile(sourceDir + "/scripts/example.sh"));
  }

  // The layout of the repository as the walkthrough sees it, with the
  // example's results file written anew.
  std::string writeExample() {
    std::filesystem::create_directories(dir.file("examples/out"));
    std::filesystem::copy_file(sourceDir + "/examples/dambreak.json", dir.file("examples/dambreak.json"));
    const std::string command = std::string(MAKE_EXAMPLE_BINARY) + " " + dir.file("examples/out/dambreak.h5");
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return dir.file("examples/out");
  }

  std::vector<std::string> guide;
  std::vector<Block> blocks;
  std::vector<std::string> exampleScript;
  TempDir dir;
};

TEST_F(GuideCli, EveryCommandShownIsRunByTheExampleScriptOrByThisTest) {
  std::size_t commands = 0;
  for (const auto& block : blocks) {
    if (block.language != "sh") continue;
    for (const auto& line : block.lines) {
      ++commands;
      if (line == "bash scripts/test.sh") {
        EXPECT_TRUE(hasLine(splitLines(readFile(sourceDir + "/.ci/run")), line)) << "CI no longer runs " << line;
      } else if (line == "bash scripts/example.sh") {
        EXPECT_TRUE(std::filesystem::exists(sourceDir + "/scripts/example.sh"));
      } else if (line.rfind(binaryInGuide + " ", 0) == 0 || line == "cd examples/out") {
        EXPECT_TRUE(hasLine(exampleScript, line)) << "scripts/example.sh does not run: " << line;
      } else if (line == plotInGuide) {
        EXPECT_TRUE(std::filesystem::exists(sourceDir + "/scripts/plot_hydrographs.py"));
      } else if (line == mapsPlotInGuide) {
        EXPECT_TRUE(std::filesystem::exists(sourceDir + "/scripts/plot_maps.py"));
      } else {
        EXPECT_EQ(line, renderInGuide) << "nothing runs this command of the guide";
      }
    }
  }
  EXPECT_GE(commands, 6u);
  // And the other way round: the guide shows what the example script runs.
  for (const auto& line : exampleScript) {
    if (line.rfind(binaryInGuide + " ", 0) == 0) {
      EXPECT_TRUE(hasLine(guide, line)) << "the guide lacks: " << line;
    }
  }
}

TEST_F(GuideCli, WalkthroughPrintsWhatTheGuideShows) {
  const std::string workDir = writeExample();
  std::size_t compared = 0;
  for (std::size_t b = 0; b < blocks.size(); ++b) {
    if (blocks[b].language != "sh") continue;
    BinaryRun last;
    bool ranHere = false;
    for (const auto& line : blocks[b].lines) {
      if (line.rfind(binaryInGuide + " ", 0) != 0) continue;
      const auto all = words(line);
      last = runResults(std::vector<std::string>(all.begin() + 1, all.end()), workDir);
      EXPECT_EQ(last.status, 0) << line << "\n" << last.err;
      ranHere = true;
    }
    const Block* printed = printedAfter(blocks, b, guide);
    if (!ranHere || !printed) continue;
    EXPECT_EQ(last.out, joined(printed->lines)) << "the guide shows another output for block at line "
                                                << blocks[b].first + 1;
    ++compared;
  }
  EXPECT_EQ(compared, 2u) << "the walkthrough shows the info report and the export";
  EXPECT_TRUE(std::filesystem::exists(workDir + "/dambreak.xdmf"));
}

// The walkthrough's configuration is the example's own; every other one the
// guide shows passes the tool's check without a finding.
TEST_F(GuideCli, ConfigurationsShownAreTheExamplesOwnAndValid) {
  std::size_t shown = 0;
  for (const auto& block : blocks) {
    if (block.language != "json") continue;
    if (shown++ == 0) {
      EXPECT_EQ(joined(block.lines), readFile(sourceDir + "/examples/dambreak.json"));
    }
    std::ostringstream findings;
    std::istringstream document(joined(block.lines));
    std::istringstream schema{std::string(resultsConfigurationSchema)};
    EXPECT_EQ(jsv::JsonValidator(&findings).validate(document, schema), jsv::ValidationStatus::NoIssues)
        << "the configuration at line " << block.first + 1 << " draws: " << findings.str();
  }
  EXPECT_GE(shown, 2u);
}

// ParaView is no build requirement; a machine without it skips this.
TEST_F(GuideCli, RenderCommandDrawsThePicture) {
  if (!onPath("pvbatch") || !onPath("xvfb-run")) GTEST_SKIP() << "pvbatch or xvfb-run is not installed";
  const std::string workDir = writeExample();
  ASSERT_EQ(runResults({"-f", "../dambreak.json", "-r", "dambreak.h5", "-o", "dambreak.xdmf"}, workDir).status, 0);
  const std::string picture = dir.file("example.png");
  const std::string command = "cd " + sourceDir + " && " + renderInGuide + " " + workDir + "/dambreak.xdmf " +
                              picture + " >" + dir.file("render.log") + " 2>&1";
  // A virtual screen that another program took at the same moment fails to
  // open now and then; that is no fault of the script.
  int status = -1;
  for (int attempt = 0; attempt < 3 && status != 0; ++attempt) status = std::system(command.c_str());
  ASSERT_EQ(status, 0) << readFile(dir.file("render.log"));
  const std::string png = readFile(picture);
  ASSERT_GT(png.size(), 1000u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
}
