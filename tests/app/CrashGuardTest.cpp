// A failed check's one arrow line; the crash guard, in a child process per case (it takes the signals over).

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/CrashGuard.hpp"
#include "h5/H5ReadRecord.hpp"
#include "interfaces/Failure.hpp"
#include "results/files/OutputTransaction.hpp"
#include "support/BinaryRun.hpp"
#include "support/CerrCapture.hpp"
#include "support/FailureReport.hpp"
#include "support/TempDir.hpp"

namespace {

struct Ending {
  int exitStatus;  // -1 when a signal ended the process
  int signal;
  std::string err;
};

// What was in place before the guard: it gets the crashes that are not the library's.
void previousHandler(int) {
  const char text[] = "previous handler\n";
  [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, text, sizeof(text) - 1);
  _exit(42);
}

// Processor time, which the guard watches.
void compute(double seconds) {
  const std::clock_t start = std::clock();
  while (static_cast<double>(std::clock() - start) < seconds * CLOCKS_PER_SEC) {
  }
}

class CrashGuard : public ::testing::Test {
 protected:
  Ending inChild(const std::function<void()>& body) {
    const pid_t pid = fork();
    if (pid == 0) {
      dup2(open(dir.file("err.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), STDERR_FILENO);
      body();
      _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, WIFSIGNALED(status) ? WTERMSIG(status) : 0,
            testing_support::readFile(dir.file("err.txt"))};
  }

  // out.xdmf, staged and never committed.
  std::unique_ptr<results::OutputTransaction> stage() const {
    auto transaction = std::make_unique<results::OutputTransaction>();
    testing_support::writeFile(transaction->stage(dir.file("out.xdmf")), "half a document");
    return transaction;
  }

  // The guard over previousHandler, out.xdmf staged; a read may compute `limit` seconds.
  Ending crash(const std::function<void()>& crashing, int limit = 60) {
    return inChild([&] {
      for (int guarded : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) std::signal(guarded, previousHandler);
      results::installCrashGuard(limit);
      const auto staged = stage();
      crashing();
    });
  }

  // The ending, and the folder holding err.txt only.
  void expectEnding(const Ending& ending, int exitStatus, const std::string& err) const {
    EXPECT_EQ(ending.exitStatus, exitStatus);
    EXPECT_EQ(ending.err, err);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1);
  }

  testing_support::TempDir dir;
};

using testing_support::failureReport;
const std::string at = ", in file: tests/app/CrashGuardTest.cpp on line ";

}  // namespace

// Probes and openings inside an operation belong to the operation's read.
TEST_F(CrashGuard, LibraryCrashInARecordedReadIsReportedAsDamage) {
  for (int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) {
    SCOPED_TRACE(signal);
    const Ending ending = crash([signal] {
      const h5::ReadScope reading("run.h5", "RESULTS/CellsAll/HydState/0000003");
      const h5::ReadScope probe("run.h5", "/");
      const h5::LibraryCall call;
      raise(signal);
    });
    expectEnding(ending, 1,
                 " -> the results file <run.h5> is damaged: reading <RESULTS/CellsAll/HydState/0000003> crashed the "
                 "HDF5 library\n");
  }
}

// In the program's own code during a read, in the library after the read or on a file the program writes.
TEST_F(CrashGuard, OtherCrashesTakeThePreviousHandlersCourse) {
  const std::function<void()> settings[] = {[] {
                                              const h5::ReadScope reading("run.h5", ".config/model");
                                              raise(SIGSEGV);
                                            },
                                            [] {
                                              { const h5::ReadScope reading("run.h5", ".config/model"); }
                                              const h5::LibraryCall call;
                                              raise(SIGSEGV);
                                            },
                                            [] {
                                              const h5::ReadScope writing("out_aux.h5", "flow_velocity/0", false);
                                              const h5::LibraryCall call;
                                              raise(SIGSEGV);
                                            }};
  for (const auto& setting : settings) expectEnding(crash(setting), 42, "previous handler\n");
}

// Only one read that runs on is a loop: not the program's own work, not many reads together.
TEST_F(CrashGuard, ReadThatComputesBeyondTheLimitEndsTheRun) {
  EXPECT_EQ(inChild([] {
    results::installCrashGuard(1);
    compute(1.5);
    for (int i = 0; i < 3; ++i) {
      const h5::ReadScope reading("run.h5", "RESULTS/CellsAll/HydState/000000" + std::to_string(i));
      const h5::LibraryCall call;
      compute(0.6);
    }
    const h5::ReadScope reading("run.h5", "CellsAll/Topology");
    compute(1.5);
  }).exitStatus, 0);
  const auto loops = [] {
    const h5::ReadScope reading("run.h5", ".config/model");
    const h5::LibraryCall call;
    compute(30);
  };
  expectEnding(crash(loops, 1), 1,
               " -> the results file <run.h5> is damaged: reading <.config/model> did not end after 1 s of computing "
               "in the HDF5 library\n");
}

// An interruption, a real-time signal, a crash with no previous handler: the staged files go and the signal
// ends the process. A signal that the starting shell ignored stays ignored.
TEST_F(CrashGuard, InterruptionEndsCleanlyByItsOwnSignal) {
  for (int signal : {SIGINT, SIGHUP, SIGXFSZ, SIGRTMIN, SIGFPE}) {
    SCOPED_TRACE(signal);
    const Ending ending = inChild([&] {
      const rlimit noCore{0, 0};
      setrlimit(RLIMIT_CORE, &noCore);
      std::signal(signal, SIG_DFL);
      results::installCrashGuard();
      const auto staged = stage();
      raise(signal);
    });
    EXPECT_EQ(ending.signal, signal);
    expectEnding(ending, -1, "");
  }
  const Ending ignored = inChild([&] {
    std::signal(SIGHUP, SIG_IGN);
    results::installCrashGuard();
    {
      const auto staged = stage();
      raise(SIGHUP);
    }
    _exit(7);
  });
  expectEnding(ignored, 7, "");
}

// Numbers take six significant digits; a check without a message shows its condition.
TEST(Failure, FailedCheckPrintsOneArrowLine) {
  EXPECT_STREQ(static_cast<const std::exception&>(BaseException()).what(), "... unfortunately TORVANEL is killed!");
  EXPECT_EQ(failureReport([] { failure::fail("kernel <", 21, "> at ", 12.5, " and ", 1.0 / 3.0); }),
            " -> kernel <21> at 12.5 and 0.333333\n");
  const double time = 30.0;
  const std::string withMessage = failureReport([&] { RESULTS_CHECK(time < 0.0, "for t=", time, "s"); });
  EXPECT_EQ(withMessage, " -> for t=30s" + at + std::to_string(__LINE__ - 1) + ", version v3.1.0\n");
  const std::string withoutMessage = failureReport([] { RESULTS_CHECK(1 + 1 == 3, ""); });
  EXPECT_EQ(withoutMessage, " -> 1 + 1 == 3" + at + std::to_string(__LINE__ - 1) + ", version v3.1.0\n");
  testing_support::CerrCapture capture;
  EXPECT_NO_THROW(RESULTS_CHECK(1 + 1 == 2, "never shown"));
  EXPECT_EQ(capture.text(), "");
}
