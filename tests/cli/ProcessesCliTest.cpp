// The binary among other processes: ended by a signal while it writes, it leaves only what was there before; runs
// exporting to one name at once wait for each other.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <thread>

#include "support/ExportFolder.hpp"
#include "support/HostileResults.hpp"
#include "support/ResultsFileMaker.hpp"
#include "support/StoredDatasets.hpp"
#include "synthetic/ResultsFile.hpp"

using namespace testing_support;

namespace {

// Started without waiting in folder, its console discarded, without a core file.
pid_t startExport(const std::string& folder, const std::string& configuration) {
  const pid_t pid = fork();
  if (pid == 0) {
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    if (chdir(folder.c_str()) != 0 || !freopen("/dev/null", "w", stdout) || !freopen("/dev/null", "w", stderr))
      _exit(127);
    execl(RESULTS_BINARY, RESULTS_BINARY, "-f", configuration.c_str(), "-r", "run.h5", "-o", "out.xdmf",
          static_cast<char*>(nullptr));
    _exit(127);
  }
  return pid;
}

bool holdsAStagedFile(const std::string& folder) {
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.path().filename().string().find(".partial-") != std::string::npos) return true;
  return false;
}

using Processes = ExportFolder;

}  // namespace

TEST_F(Processes, EachSignalThatEndsTheRunLeavesNothingOfIt) {
  synthetic::RunSettings settings;
  settings.cells = 200000;
  settings.steps = 40;
  synthetic::writeResultsFile(dir.file("run.h5"), settings);
  writeFile(dir.file("cfg.json"), xdmfEntriesText({R"("envelopes": {})"}));
  const std::vector<std::string> before = filesLeft();
  for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGALRM, SIGUSR1, SIGUSR2, SIGXFSZ, SIGPIPE}) {
    SCOPED_TRACE(strsignal(signal));
    const pid_t pid = startExport(dir.path(), "cfg.json");
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
    EXPECT_EQ(filesLeft(), before);
  }
}

// Each run's document names datasets that only its own auxiliary file holds; four at once, so that their commits meet
// often without the lock.
TEST_F(Processes, ConcurrentExportsLeaveTheDocumentBesideItsOwnAuxiliaryFile) {
  writeValidResults(dir.file("run.h5"));
  writeFile(dir.file("a.json"), xdmfEntriesText({R"("outputs": ["flow_velocity"])"}));
  writeFile(dir.file("b.json"), xdmfEntriesText({R"("outputs": ["flow_velocity_abs"])"}));
  const std::regex reference(R"(out_aux\.h5:(/?[A-Za-z_0-9/]+))");
  for (int round = 0; round < 50; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    std::vector<pid_t> runs;
    for (int k = 0; k < 4; ++k) runs.push_back(startExport(dir.path(), (round + k) % 2 ? "a.json" : "b.json"));
    for (const pid_t pid : runs) {
      int status = 0;
      ASSERT_EQ(waitpid(pid, &status, 0), pid);
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    const std::string document = readFile(dir.file("out.xdmf"));
    auto it = std::sregex_iterator(document.begin(), document.end(), reference);
    ASSERT_NE(it, std::sregex_iterator());
    for (; it != std::sregex_iterator(); ++it)
      ASSERT_TRUE(readStoredDataset(dir.file("out_aux.h5"), (*it)[1]).found) << (*it)[1] << " is not in out_aux.h5";
  }
}

// -n 1 folds the envelopes in the export's own pass, -n 2 beside it: the example's files are the same either way
// (an auxiliary file by its contents, as HDF5 stamps its objects with the time they were written).
TEST_F(Processes, OneThreadWritesWhatTwoWrite) {
  for (const std::string threads : {"1", "2"}) {
    const std::string folder = dir.file(threads);
    std::filesystem::create_directory(folder);
    ASSERT_EQ(std::system((std::string(MAKE_EXAMPLE_BINARY) + " " + folder + "/dambreak.h5 > /dev/null").c_str()), 0);
    std::filesystem::copy_file(std::string(RESULTS_SOURCE_DIR) + "/examples/dambreak.json", folder + "/dambreak.json");
    const BinaryRun run = runResults({"-f", "dambreak.json", "-r", "dambreak.h5", "-o", "dambreak.xdmf", "-n", threads},
                                     folder);
    ASSERT_EQ(run.status, 0) << run.err;
  }
  const bool h5diff = std::system("command -v h5diff > /dev/null 2>&1") == 0;
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.file("1"))) {
    const std::string name = entry.path().filename();
    const std::string other = dir.file("2/" + name);
    SCOPED_TRACE(name);
    ASSERT_TRUE(std::filesystem::exists(other));
    ++files;
    if (name == "dambreak.h5") continue;
    if (entry.path().extension() != ".h5") {
      EXPECT_TRUE(readFile(entry.path()) == readFile(other));
    } else if (h5diff) {
      EXPECT_EQ(std::system(("h5diff '" + entry.path().string() + "' '" + other + "' > /dev/null").c_str()), 0);
    }
  }
  EXPECT_GE(files, 10);  // the document, its auxiliary file, the window, the envelopes, the mesh, the series, the maps
}
