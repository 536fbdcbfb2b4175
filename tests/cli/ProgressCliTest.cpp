// The export's progress line through the binary: on a terminal it is drawn, redrawn in place and taken away before
// anything else is printed; without a terminal the console stays as it always was, which every other test of the
// binary's console pins.

#include <gtest/gtest.h>
#include <unistd.h>

#include <regex>

#include "support/ExportFolder.hpp"
#include "support/ResultsFileMaker.hpp"
#include "support/TerminalRun.hpp"

using namespace testing_support;

namespace {

// What the terminal shows at the end: every "\r" returns to the line's start, so only the text after the last one on
// each line remains visible.
std::string visible(const std::string& bytes) {
  std::string shown;
  std::string line;
  for (const char c : bytes) {
    if (c == '\n') shown += line + "\n";
    line = c == '\r' || c == '\n' ? std::string() : line + c;
  }
  return shown + line;
}

class ProgressCli : public ExportFolder {
 protected:
  // Twelve steps 10 s apart; step `broken`'s HydState has two columns.
  void writeRun(int broken = -1) {
    ResultsFileMaker file(dir.file("run.h5"));
    file.archive(hydraulicsModelText(), {"water_surface", "flow_velocity"});
    file.unitSquareMesh();
    file.doubles("CellsAll/BottomEl", 2, 1, {1.0, 1.0});
    for (int step = 0; step < 12; ++step) {
      const std::string path = "RESULTS/CellsAll/HydState/" + std::string(step < 10 ? "000000" : "00000") +
                               std::to_string(step);
      const std::vector<double> state = step == broken ? std::vector<double>{2, 0, 2, 0}
                                                       : std::vector<double>{2, 0.5, 0, 2, 0, 0.5};
      file.step(path, 10.0 * step, 2, step == broken ? 2 : 3, state);
    }
    writeFile(dir.file("cfg.json"), configurationText({"xdmf"}));
  }
  TerminalRun exportOnTerminal() {
    const std::string workDir = dir.path();
    return runOnTerminal(
        [workDir] {
          if (chdir(workDir.c_str()) != 0) return 126;
          execl(RESULTS_BINARY, RESULTS_BINARY, "-f", "cfg.json", "-r", "run.h5", "-o", "flood.xdmf",
                static_cast<char*>(nullptr));
          return 127;
        },
        dir.file("stdout.txt"));
  }
};

}  // namespace

TEST_F(ProgressCli, LineIsRedrawnInPlaceUntilTheRunEnds) {
  writeRun();
  const TerminalRun run = exportOnTerminal();
  ASSERT_EQ(run.status, 0) << run.terminal;
  EXPECT_NE(run.terminal.find("flood.xdmf: step 1 of 12, t = 0 s, 0:00 elapsed, --:-- left"), std::string::npos)
      << run.terminal;
  EXPECT_NE(run.terminal.find("\rflood.xdmf: step 12 of 12, t = 110 s"), std::string::npos) << run.terminal;
  // Redrawn in place: no line break anywhere, and nothing left in sight.
  EXPECT_EQ(run.terminal.find('\n'), std::string::npos);
  EXPECT_EQ(visible(run.terminal).find_first_not_of(' '), std::string::npos) << visible(run.terminal);
  // The closing lines, on standard output, are the usual ones.
  const std::vector<std::string> out = splitLines(readFile(dir.file("stdout.txt")));
  ASSERT_GE(out.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(out.end() - 4, out.end()), closingLines());
}

TEST_F(ProgressCli, FailureMidExportStartsOnACleanLine) {
  writeRun(7);
  const TerminalRun run = exportOnTerminal();
  EXPECT_EQ(run.status, 1);
  // Drawn for the first step; later ones come at most four times a second.
  const std::size_t drawn = run.terminal.find("flood.xdmf: step 1 of 12");
  ASSERT_NE(drawn, std::string::npos) << run.terminal;
  EXPECT_LT(drawn, run.terminal.find(" -> dataset"));
  EXPECT_EQ(splitLines(visible(run.terminal)),
            (std::vector<std::string>{" -> dataset </RESULTS/CellsAll/HydState/0000007> does not contain column 2!",
                                      killedLine}));
  // The message line was preceded by the line being wiped, not glued to it.
  EXPECT_TRUE(std::regex_search(run.terminal, std::regex("\r +\r -> dataset")));
}
