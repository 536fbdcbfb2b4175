#include "support/ExportFolder.hpp"

#include <algorithm>
#include <filesystem>

#include "support/ResultsFileMaker.hpp"

namespace testing_support {

BinaryRun ExportFolder::exportWith(const std::vector<std::string>& entries, const std::vector<std::string>& extra,
                                   const std::string& results, const std::string& configuration) {
  writeFile(dir.file(configuration), xdmfEntriesText(entries));
  std::vector<std::string> arguments{"-f", configuration, "-r", results};
  arguments.insert(arguments.end(), extra.begin(), extra.end());
  return runResults(arguments, dir.path());
}

bool ExportFolder::exists(const std::string& name) const { return std::filesystem::exists(dir.file(name)); }

std::vector<std::string> ExportFolder::filesLeft() const {
  std::vector<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) left.push_back(entry.path().filename());
  std::sort(left.begin(), left.end());
  return left;
}

std::vector<std::string> ExportFolder::announced(const BinaryRun& run) {
  std::vector<std::string> lines;
  for (const auto& line : run.outLines())
    if (line.rfind(" -> exporting ", 0) == 0) lines.push_back(line);
  return lines;
}

void ExportFolder::expectRefusal(const BinaryRun& run, const std::string& line) {
  EXPECT_EQ(run.status, 1) << run.out;
  EXPECT_EQ(run.errLines(), (std::vector<std::string>{line, killedLine}));
}

}  // namespace testing_support
