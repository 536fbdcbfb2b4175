// The export's progress line through the binary: on a terminal it is drawn,
// redrawn in place and taken away before anything else is printed; without a
// terminal the console stays as it always was.

#include <gtest/gtest.h>
#include <unistd.h>

#include <regex>

#include "support/BinaryRun.hpp"
#include "support/ResultsFileMaker.hpp"
#include "support/TempDir.hpp"
#include "support/TerminalRun.hpp"

using namespace testing_support;

namespace {

// What the terminal shows at the end: every "\r" returns to the line's start,
// so only the text after the last one on each line remains visible.
std::string visible(const std::string& bytes) {
  std::string shown;
  std::string line;
  for (const char c : bytes) {
    if (c == '\r') {
      line.clear();
    } else if (c == '\n') {
      shown += line + "\n";
      line.clear();
    } else {
      line += c;
    }
  }
  return shown + line;
}

bool blank(const std::string& text) { return text.find_first_not_of(" \r\n") == std::string::npos; }

}  // namespace

class ProgressCli : public ::testing::Test {
 protected:
  // A run of `steps` steps; from step `broken` on, HydState has two columns.
  void writeRun(int steps, int broken = -1) {
    ResultsFileMaker file(dir.file("run.h5"));
    file.archive(hydraulicsModelText(), {"water_surface", "flow_velocity"});
    file.unitSquareMesh();
    file.doubles("CellsAll/BottomEl", 2, 1, {1.0, 1.0});
    for (int step = 0; step < steps; ++step) {
      char name[16];
      std::snprintf(name, sizeof name, "%07d", step);
      if (step == broken)
        file.step("RESULTS/CellsAll/HydState/" + std::string(name), 10.0 * step, 2, 2, {2, 0, 2, 0});
      else
        file.step("RESULTS/CellsAll/HydState/" + std::string(name), 10.0 * step, 2, 3, {2, 0.5, 0, 2, 0, 0.5});
    }
    writeFile(dir.file("cfg.json"), configurationText({"xdmf"}));
  }
  TerminalRun exportOnTerminal() {
    const std::string workDir = dir.path();
    return runOnTerminal(
        [workDir] {
          if (chdir(workDir.c_str()) != 0) return 126;
          std::vector<std::string> words{RESULTS_BINARY, "-f", "cfg.json", "-r", "run.h5", "-o", "flood.xdmf"};
          std::vector<char*> argv;
          for (auto& word : words) argv.push_back(word.data());
          argv.push_back(nullptr);
          execv(argv[0], argv.data());
          return 127;
        },
        dir.file("stdout.txt"));
  }

  TempDir dir;
};

TEST_F(ProgressCli, LineIsDrawnRedrawnAndGoneBeforeTheRunEnds) {
  writeRun(12);
  const auto run = exportOnTerminal();
  ASSERT_EQ(run.status, 0) << run.terminal;
  EXPECT_NE(run.terminal.find("flood.xdmf: step 1 of 12, t = 0 s, 0:00 elapsed, --:-- left"), std::string::npos) << run.terminal;
  EXPECT_NE(run.terminal.find("\rflood.xdmf: step 12 of 12, t = 110 s"), std::string::npos) << run.terminal;
  // Redrawn in place: no line break anywhere, and nothing left in sight.
  EXPECT_EQ(run.terminal.find('\n'), std::string::npos);
  EXPECT_TRUE(blank(visible(run.terminal))) << visible(run.terminal);
  // The closing message, on standard output, is the usual one.
  const auto out = splitLines(readFile(dir.file("stdout.txt")));
  ASSERT_GE(out.size(), 2u);
  EXPECT_EQ(out[out.size() - 2], " TORVANEL successfully processed all necessary jobs!");
}

TEST_F(ProgressCli, FailureMidExportStartsOnACleanLine) {
  writeRun(12, 7);
  const auto run = exportOnTerminal();
  EXPECT_EQ(run.status, 1);
  // Drawn for the first step; later ones come at most four times a second.
  const std::size_t drawn = run.terminal.find("flood.xdmf: step 1 of 12");
  ASSERT_NE(drawn, std::string::npos) << run.terminal;
  EXPECT_LT(drawn, run.terminal.find(" -> dataset"));
  const std::string shown = visible(run.terminal);
  const auto lines = splitLines(shown);
  ASSERT_EQ(lines.size(), 2u) << shown;
  EXPECT_EQ(lines[0], " -> dataset </RESULTS/CellsAll/HydState/0000007> does not contain column 2!");
  EXPECT_EQ(lines[1], " -> ... unfortunately TORVANEL is killed!");
  // Each message line was preceded by the line being wiped, not glued to it.
  EXPECT_TRUE(std::regex_search(run.terminal, std::regex("\r +\r -> dataset")));
}

TEST_F(ProgressCli, WithoutATerminalNothingIsAdded) {
  writeRun(12);
  const auto run = runResults({"-f", "cfg.json", "-r", "run.h5", "-o", "flood.xdmf"}, dir.path());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out.find("step"), std::string::npos);
}
