// The progress line of an export: its text, and what a terminal receives while it is shown and taken away.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <thread>

#include "interfaces/Failure.hpp"
#include "results/console/ExportProgress.hpp"
#include "results/console/TerminalLine.hpp"
#include "support/TerminalRun.hpp"

using namespace testing_support;
using results::ExportProgress;

// A line drawn, then taken away.
static std::string drawn(const std::string& line) { return line + "\r" + std::string(line.size(), ' ') + "\r"; }

// Two steps took 4 s, three are left; the first step has no estimate and no rate. Hours show only from an hour on.
TEST(ProgressText, EstimatesTheTimeLeftFromTheStepsDone) {
  EXPECT_EQ(results::progressText({"dambreak.xdmf", 3, 5, 12.5, 4.0, 10000000}),
            "dambreak.xdmf: step 3 of 5, t = 12.5 s, 0:04 elapsed, 0:06 left, 2.5 MB/s");
  EXPECT_EQ(results::progressText({"out.xdmf", 1, 30, 0.0, 0.0, 0}),
            "out.xdmf: step 1 of 30, t = 0 s, 0:00 elapsed, --:-- left, -- MB/s");
  const std::pair<double, std::string> clocks[] = {
      {59.99, "0:59"}, {600.0, "10:00"}, {3599.5, "59:59"}, {3725.9, "1:02:05"}, {-1.0, "0:00"}};
  for (const auto& [seconds, text] : clocks) EXPECT_EQ(results::clockText(seconds), text);
}

// Redrawn at most four times a second, but always at the first and the last step and at each map, which follow the
// last step on the same line. Every message while it is shown starts on a clean line, and the streams are given back.
TEST(ExportProgressOnTerminal, RedrawsAtMostFourTimesASecondOnCleanLines) {
  const auto run = runOnTerminal([] {
    double now = 100.0;  // a clock the test moves by hand
    std::streambuf* const cerrBuffer = std::cerr.rdbuf();
    std::streambuf* const coutBuffer = std::cout.rdbuf();
    std::FILE* const cStderr = stderr;
    {
      ExportProgress progress(STDERR_FILENO, [&] { return now; });
      progress.begin("run.xdmf", 4);
      progress.step(1, 0.0, 0);
      std::cout << " -> a progress line" << std::endl;
      now += 0.1;
      progress.step(2, 10.0, 1000000);  // too soon after the first
      now += 0.4;
      progress.step(3, 20.0, 2000000);
      std::fprintf(stderr, "HDF5-DIAG: Error detected\n");
      now += 0.1;
      progress.step(4, 30.0, 3000000);  // the last, however soon
      now += 4.2;
      progress.map(1, 2);
      now += 0.1;
      progress.map(2, 2);
      progress.end();
    }
    const bool restored = std::cerr.rdbuf() == cerrBuffer && std::cout.rdbuf() == coutBuffer && stderr == cStderr;
    return restored ? 0 : 1;
  });
  EXPECT_EQ(run.status, 0) << "the streams were not given back";
  EXPECT_EQ(run.terminal,
            drawn("run.xdmf: step 1 of 4, t = 0 s, 0:00 elapsed, --:-- left, -- MB/s") + " -> a progress line\n" +
                drawn("run.xdmf: step 3 of 4, t = 20 s, 0:00 elapsed, 0:00 left, 4.0 MB/s") +
                "HDF5-DIAG: Error detected\n" +
                drawn("run.xdmf: step 4 of 4, t = 30 s, 0:00 elapsed, 0:00 left, 5.0 MB/s") +
                drawn("run.xdmf: map 1 of 2, 0:04 elapsed") + drawn("run.xdmf: map 2 of 2, 0:04 elapsed"));
}

// A line that fills the terminal's width wraps, and could not be drawn over again.
TEST(TerminalLine, LeavesTheLastColumnFree) {
  for (const std::size_t length : {39u, 40u, 41u}) {
    const auto drawOnce = [&] {
      results::TerminalLine line(STDERR_FILENO);
      line.draw(std::string(length, 'w'));
      return 0;
    };
    EXPECT_EQ(runOnTerminal(drawOnce, "/dev/null", 40).terminal, drawn(std::string(39, 'w'))) << length;
  }
}

// A failure of the envelopes' fold is reported from the fold's thread while the export's thread draws: every report
// reaches the terminal whole, on a line of its own.
TEST(ExportProgressOnTerminal, FailuresFromAnotherThreadArriveWhole) {
  constexpr int reports = 200;
  const auto drawWhileFailing = [] {
    results::TerminalLine line(STDERR_FILENO);
    std::thread fold([] {
      for (int k = 0; k < reports; ++k) try {
          failure::fail("the fold failed at cell ", k, " of <flood.xdmf>");
        } catch (const BaseException&) {
        }
    });
    for (int k = 0; k < 4 * reports; ++k) line.draw("flood.xdmf: step " + std::to_string(k));
    fold.join();
    return 0;
  };
  const auto run = runOnTerminal(drawWhileFailing, "/dev/null", 80);
  for (int k = 0; k < reports; ++k) {
    const std::size_t at = run.terminal.find(" -> the fold failed at cell " + std::to_string(k) + " of <flood.xdmf>\n");
    ASSERT_NE(at, std::string::npos) << k;
    // Before it: the start of the output, the end of another report, or an erased line.
    EXPECT_TRUE(at == 0 || run.terminal[at - 1] == '\n' || run.terminal[at - 1] == '\r') << k;
  }
}
