// The crash guard runs in a child process per case: it takes over the
// process's signal handling, and a crash ends the process.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <ctime>
#include <filesystem>
#include <functional>

#include "app/CrashGuard.hpp"
#include "h5/H5ReadRecord.hpp"
#include "results/files/OutputTransaction.hpp"
#include "support/BinaryRun.hpp"
#include "support/TempDir.hpp"

using testing_support::readFile;
using testing_support::writeFile;
namespace fs = std::filesystem;

namespace {

struct Ending {
  int exitStatus = -1;  // -1 when a signal ended the process
  int signal = 0;
  std::string err;
};

// What was in place before the guard: it must get the crashes that are not
// the library's.
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

Ending inChild(const std::string& errFile, const std::function<void()>& body) {
  const pid_t pid = fork();
  if (pid == 0) {
    const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(err, STDERR_FILENO);
    body();
    _exit(0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  Ending ending;
  if (WIFEXITED(status)) ending.exitStatus = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) ending.signal = WTERMSIG(status);
  ending.err = readFile(errFile);
  return ending;
}

}  // namespace

class CrashGuard : public ::testing::Test {
 protected:
  // Stages and writes out.xdmf, installs the guard over previousHandler, then
  // raises the signal inside what `during` sets up.
  Ending crash(int signal, const std::function<void(const std::function<void()>&)>& during) {
    return inChild(dir.file("err.txt"), [&] {
      for (int guarded : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) std::signal(guarded, previousHandler);
      results::installCrashGuard();
      results::OutputTransaction transaction;
      writeFile(transaction.stage(dir.file("out.xdmf")), "half a document");
      during([signal] { raise(signal); });
    });
  }

  std::vector<std::string> leftFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path()))
      if (entry.path().filename() != "err.txt") names.push_back(entry.path().filename().string());
    return names;
  }

  testing_support::TempDir dir;
};

TEST_F(CrashGuard, LibraryCrashInARecordedReadEndsWithOneLineAndStatusOne) {
  for (int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) {
    const Ending ending = crash(signal, [](const std::function<void()>& raiseIt) {
      const h5::ReadScope reading("run.h5", ".config/model");
      const h5::LibraryCall call;
      raiseIt();
    });
    EXPECT_EQ(ending.exitStatus, 1) << "signal " << signal;
    EXPECT_EQ(ending.err,
              " -> the results file <run.h5> is damaged: reading <.config/model> crashed the HDF5 library\n");
    EXPECT_TRUE(leftFiles().empty()) << "signal " << signal;
  }
}

// Probes and openings inside an operation belong to the operation's read.
TEST_F(CrashGuard, TheOutermostReadNamesTheObject) {
  const Ending ending = crash(SIGSEGV, [](const std::function<void()>& raiseIt) {
    const h5::ReadScope reading("run.h5", "RESULTS/CellsAll/HydState/0000003");
    const h5::ReadScope probe("run.h5", "/");
    const h5::LibraryCall call;
    raiseIt();
  });
  EXPECT_EQ(ending.err, " -> the results file <run.h5> is damaged: reading <RESULTS/CellsAll/HydState/0000003> "
                        "crashed the HDF5 library\n");
}

TEST_F(CrashGuard, OtherCrashesRemoveTheStagedFilesAndTakeTheirPreviousCourse) {
  const std::vector<std::function<void(const std::function<void()>&)>> settings = {
      // outside any read
      [](const std::function<void()>& raiseIt) { raiseIt(); },
      // in the program's own code during a read
      [](const std::function<void()>& raiseIt) {
        const h5::ReadScope reading("run.h5", ".config/model");
        raiseIt();
      },
      // in the library, after the read is over
      [](const std::function<void()>& raiseIt) {
        { const h5::ReadScope reading("run.h5", ".config/model"); }
        const h5::LibraryCall call;
        raiseIt();
      },
      // in the library, on a file that the program writes
      [](const std::function<void()>& raiseIt) {
        const h5::ReadScope writing("out_aux.h5", "flow_velocity/0", false);
        const h5::LibraryCall call;
        raiseIt();
      }};
  for (std::size_t i = 0; i < settings.size(); ++i) {
    const Ending ending = crash(SIGSEGV, settings[i]);
    EXPECT_EQ(ending.exitStatus, 42) << "setting " << i;
    EXPECT_EQ(ending.err, "previous handler\n") << "setting " << i;
    EXPECT_TRUE(leftFiles().empty()) << "setting " << i;
  }
}

TEST_F(CrashGuard, WithoutPreviousHandlerTheSignalEndsTheProcess) {
  const Ending ending = inChild(dir.file("err.txt"), [] {
    std::signal(SIGFPE, SIG_DFL);
    results::installCrashGuard();
    raise(SIGFPE);
  });
  EXPECT_EQ(ending.signal, SIGFPE);
  EXPECT_EQ(ending.err, "");
}

TEST_F(CrashGuard, ReadThatComputesBeyondTheLimitEndsTheRun) {
  const Ending ending = inChild(dir.file("err.txt"), [&] {
    results::installCrashGuard(1);
    results::OutputTransaction transaction;
    writeFile(transaction.stage(dir.file("out.xdmf")), "half a document");
    const h5::ReadScope reading("run.h5", ".config/model");
    const h5::LibraryCall call;
    compute(30);
  });
  EXPECT_EQ(ending.exitStatus, 1);
  EXPECT_EQ(ending.err, " -> the results file <run.h5> is damaged: reading <.config/model> did not end after 1 s of "
                        "computing in the HDF5 library\n");
  EXPECT_TRUE(leftFiles().empty());
}

// Only one read that runs on is a loop: not the program's own work, not many
// reads that together take longer than the limit.
TEST_F(CrashGuard, LongWorkOutsideOneReadGoesOn) {
  const Ending ending = inChild(dir.file("err.txt"), [] {
    results::installCrashGuard(1);
    compute(1.5);
    for (int i = 0; i < 3; ++i) {
      const h5::ReadScope reading("run.h5", "RESULTS/CellsAll/HydState/000000" + std::to_string(i));
      const h5::LibraryCall call;
      compute(0.6);
    }
    {
      const h5::ReadScope reading("run.h5", "CellsAll/Topology");
      compute(1.5);
    }
  });
  EXPECT_EQ(ending.exitStatus, 0);
  EXPECT_EQ(ending.err, "");
}

// Ctrl-C, a kill, a closed terminal, a file size limit, a stray timer or
// user signal: the staged files go, the process ends by the signal as it
// would have. A signal that the starting shell ignored stays ignored.
TEST_F(CrashGuard, InterruptionRemovesTheStagedFilesAndEndsByItsSignal) {
  for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGALRM, SIGUSR1, SIGUSR2, SIGXFSZ, SIGVTALRM, SIGRTMIN}) {
    const Ending ending = inChild(dir.file("err.txt"), [&] {
      const rlimit noCore{0, 0};
      setrlimit(RLIMIT_CORE, &noCore);
      std::signal(signal, SIG_DFL);
      results::installCrashGuard();
      results::OutputTransaction transaction;
      writeFile(transaction.stage(dir.file("out.xdmf")), "half a document");
      raise(signal);
    });
    EXPECT_EQ(ending.signal, signal);
    EXPECT_EQ(ending.err, "");
    EXPECT_TRUE(leftFiles().empty()) << "signal " << signal;
  }
  const Ending ignored = inChild(dir.file("err.txt"), [&] {
    std::signal(SIGHUP, SIG_IGN);
    results::installCrashGuard();
    {
      results::OutputTransaction transaction;
      writeFile(transaction.stage(dir.file("out.xdmf")), "half a document");
      raise(SIGHUP);
    }
    _exit(7);
  });
  EXPECT_EQ(ignored.exitStatus, 7);
  EXPECT_TRUE(leftFiles().empty());
}
