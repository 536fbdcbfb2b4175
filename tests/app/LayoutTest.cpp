// Every include is written from src/, resolves there and points down the arrows between areas, and no
// file grows past what one idea needs.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

const fs::path sources = fs::path(RESULTS_SOURCE_DIR) / "src";

// The areas each area may include, besides itself.
const std::map<std::string, std::set<std::string>> allowed = {
    {"app", {"results", "model", "dataio", "validator", "h5", "interfaces"}},
    {"results", {"model", "dataio", "validator", "interfaces"}},
    {"model", {"dataio", "interfaces"}},
    {"validator", {"interfaces"}},
    {"dataio", {"h5", "interfaces"}},
    {"h5", {"interfaces"}},
    {"interfaces", {}}};

}  // namespace

TEST(Layout, IncludesResolveFromTheRootAndPointDownTheArrows) {
  const std::regex quoted(R"re(^\s*#\s*include\s+"([^"]+)")re");
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(sources)) {
    const std::string extension = entry.path().extension().string();
    if (extension != ".cpp" && extension != ".hpp") continue;
    ++files;
    const fs::path relative = fs::relative(entry.path(), sources);
    const std::string area = relative.begin()->string();
    ASSERT_TRUE(allowed.count(area)) << relative << " lies in no known area";
    std::ifstream source(entry.path());
    int lines = 0;
    for (std::string line; std::getline(source, line); ++lines) {
      std::smatch include;
      if (!std::regex_search(line, include, quoted)) continue;
      const fs::path target = include[1].str();
      EXPECT_TRUE(fs::exists(sources / target)) << relative << " includes " << target << ", not written from src/";
      const std::string targetArea = target.begin()->string();
      EXPECT_TRUE(targetArea == area || allowed.at(area).count(targetArea))
          << relative << " includes " << target << ": an arrow from " << area << " up to " << targetArea;
    }
    EXPECT_LE(lines, 350) << relative << " holds more than one idea";
  }
  EXPECT_GT(files, 100);
}
