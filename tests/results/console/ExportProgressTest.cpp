// The progress line of an export: its text, and what a terminal receives
// while it is shown, redrawn, interrupted by messages and taken away.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <thread>

#include "interfaces/Failure.hpp"
#include "results/console/ExportProgress.hpp"
#include "results/console/TerminalLine.hpp"
#include "support/BinaryRun.hpp"
#include "support/TempDir.hpp"
#include "support/TerminalRun.hpp"

using namespace testing_support;
using results::ExportProgress;
using results::ProgressState;

namespace {

// A clock the test moves by hand.
struct HandClock {
  double now = 100.0;
  ExportProgress::Clock clock() {
    return [this] { return now; };
  }
};

std::string erased(std::size_t width) { return "\r" + std::string(width, ' ') + "\r"; }

}  // namespace

TEST(ProgressText, EstimatesTheTimeLeftFromTheStepsDone) {
  ProgressState state{"dambreak.xdmf", 3, 5, 12.5, 4.0, 10000000};
  // Two steps took 4 s, three are left.
  EXPECT_EQ(results::progressText(state), "dambreak.xdmf: step 3 of 5, t = 12.5 s, 0:04 elapsed, 0:06 left, 2.5 MB/s");
}

TEST(ExportProgressOnTerminal, TheMapsFollowTheLastStepOnTheSameLine) {
  TempDir dir;
  const auto run = runOnTerminal(
      [] {
        HandClock hand;
        ExportProgress progress(STDERR_FILENO, hand.clock());
        progress.begin("run.xdmf", 1);
        progress.step(1, 0.0, 0);
        hand.now += 4.2;
        progress.map(1, 2);
        hand.now += 0.1;
        progress.map(2, 2);  // drawn however soon
        progress.end();
        return 0;
      },
      dir.file("out.txt"));
  ASSERT_EQ(run.status, 0);
  const std::string step = "run.xdmf: step 1 of 1, t = 0 s, 0:00 elapsed, --:-- left, -- MB/s";
  const std::string first = "run.xdmf: map 1 of 2, 0:04 elapsed";
  const std::string second = "run.xdmf: map 2 of 2, 0:04 elapsed";
  EXPECT_EQ(run.terminal, step + erased(step.size()) + first + erased(first.size()) + second + erased(second.size()));
}

TEST(ProgressText, FirstStepHasNoEstimateAndNoRate) {
  ProgressState state{"out.xdmf", 1, 30, 0.0, 0.0, 0};
  EXPECT_EQ(results::progressText(state), "out.xdmf: step 1 of 30, t = 0 s, 0:00 elapsed, --:-- left, -- MB/s");
}

TEST(ProgressText, ClockShowsHoursOnlyFromAnHourOn) {
  EXPECT_EQ(results::clockText(59.99), "0:59");
  EXPECT_EQ(results::clockText(600.0), "10:00");
  EXPECT_EQ(results::clockText(3599.5), "59:59");
  EXPECT_EQ(results::clockText(3725.9), "1:02:05");
  EXPECT_EQ(results::clockText(-1.0), "0:00");
}

TEST(ExportProgressWithoutTerminal, WritesNothingAndLeavesTheStreamsAlone) {
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  HandClock hand;
  std::streambuf* const cerrBuffer = std::cerr.rdbuf();
  std::FILE* const cStderr = stderr;
  {
    ExportProgress progress(ends[1], hand.clock());
    progress.begin("run.xdmf", 2);
    progress.step(1, 0.0, 0);
    EXPECT_EQ(std::cerr.rdbuf(), cerrBuffer);
    EXPECT_EQ(stderr, cStderr);
    hand.now += 1.0;
    progress.step(2, 10.0, 100);
    progress.end();
  }
  close(ends[1]);
  char byte;
  EXPECT_EQ(read(ends[0], &byte, 1), 0) << "the progress wrote to a pipe";
  close(ends[0]);
}

TEST(ExportProgressOnTerminal, RedrawsAtMostFourTimesASecondButAlwaysFirstAndLastStep) {
  TempDir dir;
  const auto run = runOnTerminal(
      [] {
        HandClock hand;
        ExportProgress progress(STDERR_FILENO, hand.clock());
        progress.begin("run.xdmf", 4);
        progress.step(1, 0.0, 0);
        hand.now += 0.1;
        progress.step(2, 10.0, 1000000);  // too soon after the first
        hand.now += 0.4;
        progress.step(3, 20.0, 2000000);
        hand.now += 0.1;
        progress.step(4, 30.0, 3000000);  // the last, however soon
        progress.end();
        std::cout << "closing" << std::endl;
        return 0;
      },
      dir.file("out.txt"));
  ASSERT_EQ(run.status, 0);
  const std::string first = "run.xdmf: step 1 of 4, t = 0 s, 0:00 elapsed, --:-- left, -- MB/s";
  const std::string third = "run.xdmf: step 3 of 4, t = 20 s, 0:00 elapsed, 0:00 left, 4.0 MB/s";
  const std::string last = "run.xdmf: step 4 of 4, t = 30 s, 0:00 elapsed, 0:00 left, 5.0 MB/s";
  EXPECT_EQ(run.terminal, first + erased(first.size()) + third + erased(third.size()) + last + erased(last.size()));
  EXPECT_EQ(readFile(dir.file("out.txt")), "closing\n");
}

TEST(ExportProgressOnTerminal, EveryMessageWhileShownStartsOnACleanLine) {
  const auto run = runOnTerminal([] {
    HandClock hand;
    std::streambuf* const cerrBuffer = std::cerr.rdbuf();
    std::streambuf* const coutBuffer = std::cout.rdbuf();
    std::FILE* const cStderr = stderr;
    {
      ExportProgress progress(STDERR_FILENO, hand.clock());
      progress.begin("a.xdmf", 3);
      progress.step(1, 0.0, 0);
      std::cout << " -> a progress line" << std::endl;
      hand.now += 1.0;
      progress.step(2, 5.0, 0);
      std::fprintf(stderr, "HDF5-DIAG: Error detected\n");
      hand.now += 1.0;
      progress.step(3, 10.0, 0);
      try {
        failure::fail("cannot read <", "x", ">");
      } catch (const BaseException&) {
        std::cerr << " -> " << BaseException().what() << std::endl;
      }
      progress.end();
    }
    const bool restored = std::cerr.rdbuf() == cerrBuffer && std::cout.rdbuf() == coutBuffer && stderr == cStderr;
    std::cerr << "after" << std::endl;
    return restored ? 0 : 1;
  });
  EXPECT_EQ(run.status, 0) << "the streams were not given back";
  const std::string first = "a.xdmf: step 1 of 3, t = 0 s, 0:00 elapsed, --:-- left, -- MB/s";
  const std::string second = "a.xdmf: step 2 of 3, t = 5 s, 0:01 elapsed, 0:02 left, 0.0 MB/s";
  const std::string third = "a.xdmf: step 3 of 3, t = 10 s, 0:02 elapsed, 0:01 left, 0.0 MB/s";
  EXPECT_EQ(run.terminal, first + erased(first.size()) + " -> a progress line\n" +  //
                              second + erased(second.size()) + "HDF5-DIAG: Error detected\n" +  //
                              third + erased(third.size()) + " -> cannot read <x>\n" +
                              " -> ... unfortunately TORVANEL is killed!\nafter\n");
}

TEST(ExportProgressOnTerminal, LineIsCutToTheTerminalWidth) {
  const auto run = runOnTerminal(
      [] {
        HandClock hand;
        ExportProgress progress(STDERR_FILENO, hand.clock());
        progress.begin("a_rather_long_document_name.xdmf", 10);
        progress.step(1, 0.0, 0);
        return 0;
      },
      "/dev/null", 40);
  ASSERT_EQ(run.status, 0);
  const std::string cut = "a_rather_long_document_name.xdmf: step ";
  ASSERT_EQ(cut.size(), 39u);
  EXPECT_EQ(run.terminal, cut + erased(cut.size()));
}

// The last column stays free however the text meets it: a line that fills
// it wraps, and could not be drawn over again.
TEST(ExportProgressOnTerminal, ALineAsWideAsTheTerminalLeavesTheLastColumnFree) {
  for (const std::size_t length : {39u, 40u, 41u}) {
    const std::string text(length, 'w');
    const auto run = runOnTerminal(
        [&] {
          results::TerminalLine line(STDERR_FILENO);
          line.draw(text);
          return 0;
        },
        "/dev/null", 40);
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.terminal, std::string(39, 'w') + erased(39)) << length;
  }
}

// A failure of the envelopes' fold is reported from the fold's thread while
// the export's thread draws: every report reaches the terminal whole, on a
// line of its own.
TEST(ExportProgressOnTerminal, FailuresFromAnotherThreadArriveWholeOnCleanLines) {
  constexpr int reports = 200;
  const auto run = runOnTerminal(
      [] {
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
      },
      "/dev/null", 80);
  ASSERT_EQ(run.status, 0);
  for (int k = 0; k < reports; ++k) {
    const std::string report = " -> the fold failed at cell " + std::to_string(k) + " of <flood.xdmf>\n";
    const std::size_t at = run.terminal.find(report);
    ASSERT_NE(at, std::string::npos) << k;
    // Before it: the start of the output, the end of another report, or an erased line.
    EXPECT_TRUE(at == 0 || run.terminal[at - 1] == '\n' || run.terminal[at - 1] == '\r') << k;
  }
}

TEST(ExportProgressOnTerminal, DestroyedWithoutEndStillTakesTheLineAway) {
  const auto run = runOnTerminal(
      [] {
        HandClock hand;
        try {
          ExportProgress progress(STDERR_FILENO, hand.clock());
          progress.begin("b.xdmf", 2);
          progress.step(1, 0.0, 0);
          throw BaseException();
        } catch (const BaseException& e) {
          std::cerr << " -> " << e.what() << std::endl;
        }
        return 0;
      },
      "/dev/null");
  const std::string first = "b.xdmf: step 1 of 2, t = 0 s, 0:00 elapsed, --:-- left, -- MB/s";
  EXPECT_EQ(run.terminal, first + erased(first.size()) + " -> ... unfortunately TORVANEL is killed!\n");
}
