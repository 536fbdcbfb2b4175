// cmake --install into a prefix of its own: the tool runs from the prefix's bin, and its manual page, which man
// renders, names every option --help lists with the words --help gives it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>

#include "support/BinaryRun.hpp"
#include "support/TempDir.hpp"

using namespace testing_support;

// What a shell command printed on its standard output, and its status.
static std::string outputOf(const std::string& command, int& status) {
  std::string text;
  FILE* pipe = popen(command.c_str(), "r");
  char buffer[4096];
  for (std::size_t read = 0; (read = fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, read);
  status = pclose(pipe);
  return text;
}

// Runs of white space as one blank: the page and the help text wrap alike.
static std::string squeezed(const std::string& text) { return std::regex_replace(text, std::regex("\\s+"), " "); }

TEST(Install, PutsTheToolAndItsManualPageUnderThePrefix) {
  TempDir prefix;
  int status = -1;
  outputOf("cmake --install '" + std::string(RESULTS_BUILD_DIR) + "' --prefix '" + prefix.path() + "' 2>&1", status);
  ASSERT_EQ(status, 0);
  const std::string tool = prefix.file("bin/results");
  const std::string page = prefix.file("share/man/man1/results.1");
  ASSERT_TRUE(std::filesystem::exists(page));
  EXPECT_NE(outputOf("'" + tool + "' --version", status).find("v3.1.0"), std::string::npos);
  EXPECT_EQ(status, 0);

  if (std::system("command -v man > /dev/null 2>&1") != 0) GTEST_SKIP() << "no man (package man-db) to render the page";
  const std::string rendered = squeezed(outputOf("MANWIDTH=200 man -l '" + page + "' 2> /dev/null | col -b", status));
  ASSERT_EQ(status, 0);
  EXPECT_NE(rendered.find("results - export the results of a TORVANEL simulation run"), std::string::npos) << rendered;
  // Each option of --help, with its description: "-o <string>, --output <string>" then its text.
  const std::string help = outputOf("'" + tool + "' --help", status);
  const std::regex option(R"re(\n   (-\w)?(?: <\w+>)?,?\s*(--\w+)(?: <\w+>)?\n((?:     .*\n)+))re");
  int options = 0;
  for (auto it = std::sregex_iterator(help.begin(), help.end(), option); it != std::sregex_iterator(); ++it) {
    if ((*it)[2] == "--ignore_rest") continue;
    ++options;
    EXPECT_NE(rendered.find((*it)[2]), std::string::npos) << (*it)[2];
    EXPECT_NE(rendered.find(squeezed((*it)[3]).substr(1)), std::string::npos) << (*it)[2] << ": " << (*it)[3];
  }
  EXPECT_EQ(options, 9);
}
