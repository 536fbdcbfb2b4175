// Two runs that export to one name at the same time: one waits for the
// other, so the document always stands beside its own auxiliary file.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <regex>
#include <vector>

#include "support/BinaryRun.hpp"
#include "support/StoredDatasets.hpp"
#include "support/HostileResults.hpp"
#include "support/TempDir.hpp"

using namespace testing_support;

namespace {

// Started without waiting, its console discarded.
pid_t startResults(const std::string& folder, const std::string& configuration) {
  std::vector<std::string> words{RESULTS_BINARY, "-f", configuration, "-r", "run.h5", "-o", "out.xdmf"};
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const std::string previous = std::filesystem::current_path();
  std::filesystem::current_path(folder);
  pid_t pid = -1;
  const int started = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  std::filesystem::current_path(previous);
  posix_spawn_file_actions_destroy(&actions);
  return started == 0 ? pid : -1;
}

int statusOf(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// The auxiliary datasets the document names, each as "out_aux.h5:<path>".
std::vector<std::string> auxiliaryReferences(const std::string& document) {
  std::vector<std::string> paths;
  const std::regex reference(R"(out_aux\.h5:(/?[A-Za-z_0-9/]+))");
  for (auto it = std::sregex_iterator(document.begin(), document.end(), reference); it != std::sregex_iterator(); ++it)
    paths.push_back((*it)[1]);
  return paths;
}

}  // namespace

TEST(ConcurrentExports, TheDocumentAlwaysStandsBesideItsOwnAuxiliaryFile) {
  TempDir dir;
  writeValidResults(dir.file("run.h5"));
  // Each run's document names datasets that only its own auxiliary file holds.
  writeFile(dir.file("a.json"), R"({"RESULTS": {"EXPORT": [{"format": "xdmf", "outputs": ["flow_velocity"]}]}})");
  writeFile(dir.file("b.json"), R"({"RESULTS": {"EXPORT": [{"format": "xdmf", "outputs": ["flow_velocity_abs"]}]}})");
  for (int round = 0; round < 50; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    // Four at once, so that their commits meet often without the lock.
    std::vector<pid_t> runs;
    for (int k = 0; k < 4; ++k) runs.push_back(startResults(dir.path(), (round + k) % 2 ? "a.json" : "b.json"));
    for (const pid_t pid : runs) {
      ASSERT_GT(pid, 0);
      EXPECT_EQ(statusOf(pid), 0);
    }
    const std::vector<std::string> references = auxiliaryReferences(readFile(dir.file("out.xdmf")));
    ASSERT_FALSE(references.empty());
    for (const std::string& path : references)
      ASSERT_TRUE(readStoredDataset(dir.file("out_aux.h5"), path).found) << path << " is not in the auxiliary file";
  }
}
