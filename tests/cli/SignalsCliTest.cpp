// The binary interrupted while it writes, by each signal whose default action
// ends a process: it ends by that signal, and leaves only what was there
// before (no staged file, no part of the export).

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "support/BinaryRun.hpp"
#include "support/TempDir.hpp"
#include "synthetic/ResultsFile.hpp"

using namespace testing_support;

namespace {

// Started in folder without a core file; its console discarded.
pid_t startExport(const std::string& folder) {
  const pid_t pid = fork();
  if (pid == 0) {
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    if (chdir(folder.c_str()) != 0 || !freopen("/dev/null", "w", stdout) || !freopen("/dev/null", "w", stderr))
      _exit(127);
    execl(RESULTS_BINARY, RESULTS_BINARY, "-f", "cfg.json", "-r", "run.h5", "-o", "out.xdmf", static_cast<char*>(nullptr));
    _exit(127);
  }
  return pid;
}

bool holdsAStagedFile(const std::string& folder) {
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.path().filename().string().find(".partial-") != std::string::npos) return true;
  return false;
}

std::vector<std::string> namesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

TEST(Signals, EachSignalThatEndsTheRunLeavesNothingOfIt) {
  TempDir dir;
  synthetic::RunSettings settings;
  settings.cells = 200000;
  settings.steps = 40;
  synthetic::writeResultsFile(dir.file("run.h5"), settings);
  writeFile(dir.file("cfg.json"), R"({"RESULTS": {"EXPORT": [{"format": "xdmf", "envelopes": {}}]}})");
  const std::vector<std::string> before = namesIn(dir.path());
  for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGALRM, SIGUSR1, SIGUSR2, SIGXFSZ, SIGPIPE}) {
    SCOPED_TRACE(strsignal(signal));
    const pid_t pid = startExport(dir.path());
    ASSERT_GT(pid, 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!holdsAStagedFile(dir.path()) && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    kill(pid, signal);
    int status = 0;
    waitpid(pid, &status, 0);
    if (signal == SIGPIPE) {
      // Ignored: the run goes on to its end.
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
      for (const std::string name : {"out.xdmf", "out_aux.h5", "out_envelopes.xdmf"})
        std::filesystem::remove(dir.file(name));
    } else {
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
    }
    EXPECT_EQ(namesIn(dir.path()), before);
  }
}
