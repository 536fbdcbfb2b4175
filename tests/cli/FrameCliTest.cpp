// The application frame through the built binary: banner, command line,
// run cycle and exit status.

#include <gtest/gtest.h>

#include "support/BinaryRun.hpp"
#include "support/TempDir.hpp"

using testing_support::bannerLines;
using testing_support::runResults;
using testing_support::TempDir;

namespace {

std::vector<std::string> firstLines(const std::vector<std::string>& lines, std::size_t n) {
  return std::vector<std::string>(lines.begin(), lines.begin() + std::min(n, lines.size()));
}

bool contains(const std::string& text, const std::string& piece) { return text.find(piece) != std::string::npos; }

}  // namespace

class FrameCli : public ::testing::Test {
 protected:
  TempDir dir;
};

TEST_F(FrameCli, VersionPrintsBannerThenVersionAndExitsZero) {
  const auto run = runResults({"--version"}, dir.path());
  EXPECT_EQ(run.status, 0);
  const auto lines = run.outLines();
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(firstLines(lines, 4), bannerLines());
  EXPECT_TRUE(contains(run.out, "v3.1.0"));
  EXPECT_FALSE(contains(run.out, "successfully processed"));
}

TEST_F(FrameCli, HelpListsEveryOptionAndExitsZero) {
  const auto run = runResults({"--help"}, dir.path());
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(firstLines(run.outLines(), 4), bannerLines());
  for (const char* piece : {"This is the 'results' binary of the TORVANEL framework.", "-f <string>",
                            "--file <string>", "the configuration file", "-l <int>", "--log <int>",
                            "level of debug messages", "-n <int>", "--nthreads <int>", "number of threads",
                            "-a <string>", "--archive <string>", "restore the archive", "-r <string>",
                            "--results <string>", "h5 file with simulation results", "-o <string>",
                            "--output <string>", "name of file for storing results", "--version", "-h,  --help"})
    EXPECT_TRUE(contains(run.out, piece)) << piece;
  EXPECT_FALSE(contains(run.out, "successfully processed"));
}

TEST_F(FrameCli, NoArgumentsIsAParseFailure) {
  const auto run = runResults({}, dir.path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.outLines(), bannerLines());
  EXPECT_TRUE(contains(run.err, "PARSE ERROR:"));
  EXPECT_TRUE(contains(run.err, "Required arguments missing: results, file"));
}

TEST_F(FrameCli, MissingResultsOrFileIsAParseFailure) {
  const auto noResults = runResults({"-f", "cfg.json"}, dir.path());
  EXPECT_EQ(noResults.status, 1);
  EXPECT_EQ(noResults.outLines(), bannerLines());
  EXPECT_TRUE(contains(noResults.err, "Required argument missing: results"));

  const auto noFile = runResults({"-r", "run.h5"}, dir.path());
  EXPECT_EQ(noFile.status, 1);
  EXPECT_EQ(noFile.outLines(), bannerLines());
  EXPECT_TRUE(contains(noFile.err, "Required argument missing: file"));
}

TEST_F(FrameCli, NonNumericLevelOrThreadsIsAParseFailure) {
  for (const char* flag : {"-l", "-n"}) {
    const auto run = runResults({"-f", "cfg.json", "-r", "run.h5", flag, "many"}, dir.path());
    EXPECT_EQ(run.status, 1) << flag;
    EXPECT_EQ(run.outLines(), bannerLines()) << flag;
    EXPECT_TRUE(contains(run.err, "PARSE ERROR:")) << flag;
    EXPECT_TRUE(contains(run.err, "Couldn't read argument value from string 'many'")) << flag;
  }
}

TEST_F(FrameCli, UnknownOptionIsAParseFailure) {
  const auto run = runResults({"-f", "cfg.json", "-r", "run.h5", "-x", "1"}, dir.path());
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(contains(run.err, "PARSE ERROR:"));
}

TEST_F(FrameCli, MissingConfigurationFileEndsWithTwoLinesAndStatusOne) {
  const auto run = runResults({"-f", "nowhere.json", "-r", "run.h5"}, dir.path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.outLines(), bannerLines());
  EXPECT_EQ(run.errLines(), (std::vector<std::string>{" -> configuration file not found: nowhere.json",
                                                      " -> ... unfortunately TORVANEL is killed!"}));
}
