// The configuration check through the built binary: validator findings on the
// standard output, the terminating lines on the error stream, the status.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "support/BinaryRun.hpp"
#include "support/TempDir.hpp"

using testing_support::bannerLines;
using testing_support::BinaryRun;
using testing_support::runResults;
using testing_support::TempDir;
using testing_support::writeFile;

namespace {

const std::vector<std::string> terminatingLines{" -> Terminating TORVANEL due to JSON validation errors.",
                                                " -> ... unfortunately TORVANEL is killed!"};

std::vector<std::string> bannerThen(const std::vector<std::string>& lines) {
  std::vector<std::string> all = bannerLines();
  all.insert(all.end(), lines.begin(), lines.end());
  return all;
}

}  // namespace

class ConfigurationCli : public ::testing::Test {
 protected:
  BinaryRun runWith(const std::string& configuration) {
    writeFile(dir.file("cfg.json"), configuration);
    return runResults({"-f", "cfg.json", "-r", "run.h5"}, dir.path());
  }

  void expectRejected(const BinaryRun& run, const std::vector<std::string>& findings) {
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.outLines(), bannerThen(findings));
    EXPECT_EQ(run.errLines(), terminatingLines);
  }

  void expectNotFound(const std::string& configuration) {
    const auto run = runResults({"-f", configuration, "-r", "run.h5"}, dir.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.outLines(), bannerLines());
    EXPECT_EQ(run.errLines(), (std::vector<std::string>{" -> configuration file not found: " + configuration,
                                                        " -> ... unfortunately TORVANEL is killed!"}));
  }

  TempDir dir;
};

TEST_F(ConfigurationCli, MissingFileIsNotFoundWithoutValidatorOutput) { expectNotFound("absent.json"); }

TEST_F(ConfigurationCli, DirectoryIsNotFound) {
  ASSERT_EQ(mkdir(dir.file("cfg.d").c_str(), 0755), 0);
  expectNotFound("cfg.d");
}

TEST_F(ConfigurationCli, EmptyFileIsAParseFailure) {
  expectRejected(runWith(""), {"Parsing the JSON data file failed: [json.exception.parse_error.101] parse error at "
                               "line 1, column 1: syntax error while parsing value - unexpected end of input; "
                               "expected '[', '{', or a literal"});
}

TEST_F(ConfigurationCli, InvalidJsonIsAParseFailure) {
  expectRejected(runWith("{\"RESULTS\": [}"),
                 {"Parsing the JSON data file failed: [json.exception.parse_error.101] parse error at line 1, "
                  "column 14: syntax error while parsing value - unexpected '}'; expected '[', '{', or a literal"});
}

TEST_F(ConfigurationCli, EmptyObjectMissesResults) {
  expectRejected(runWith("{}"), {"/RESULTS: Error: This item is required but missing."});
}

TEST_F(ConfigurationCli, ArrayIsNotAnObject) {
  expectRejected(runWith("[]"), {"/: Error: This value must be an object."});
}

TEST_F(ConfigurationCli, FormatsOtherThanLowerCaseXdmfAreRejected) {
  for (const char* format : {"Binary", "XDMF"}) {
    expectRejected(runWith(std::string(R"({"RESULTS": {"EXPORT": [{"format": ")") + format + "\"}]}}"),
                   {"/RESULTS/EXPORT/0/format: Error: This value must be equal to one of the following: 'xdmf'."});
  }
}

TEST_F(ConfigurationCli, FileFormSwitchesThatAreNotBooleansAreRejected) {
  expectRejected(runWith(R"({"RESULTS": {"EXPORT": [{"format": "xdmf", "mesh_2dm": "yes", "portable": 0}]}})"),
                 {"/RESULTS/EXPORT/0/mesh_2dm: Error: This value must be a boolean.",
                  "/RESULTS/EXPORT/0/portable: Error: This value must be a boolean."});
}

TEST_F(ConfigurationCli, ExportAsObjectGivesTwoLines) {
  expectRejected(runWith(R"({"RESULTS": {"EXPORT": {"format": "xdmf"}}})"),
                 {"/RESULTS/EXPORT: Error: This value must be an array.",
                  "/RESULTS/EXPORT/format: Warning: The value of this item will not be used."});
}

TEST_F(ConfigurationCli, ExtraTopLevelMemberWarnsAndTheRunGoesOn) {
  const auto run = runWith(R"({"RESULTS": {"EXPORT": [{"format": "xdmf"}]}, "SETUP": {}})");
  const auto lines = run.outLines();
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 5),
            bannerThen({"/SETUP: Warning: The value of this item will not be used."}));
  EXPECT_EQ(run.err.find("Terminating TORVANEL"), std::string::npos);
}

TEST_F(ConfigurationCli, RepeatedMemberWarnsAndTheRunGoesOn) {
  const auto run = runWith(R"({"RESULTS": {"EXPORT": [{"format": "xdmf", "document": "a.xdmf", "document": "b.xdmf"}]}})");
  const auto lines = run.outLines();
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 5),
            bannerThen({"/RESULTS/EXPORT/0/document: Warning: This member is given more than once; only its last "
                        "value is used."}));
  EXPECT_EQ(run.err.find("Terminating TORVANEL"), std::string::npos);
}

TEST_F(ConfigurationCli, HostileFilesAreParseFailures) {
  expectRejected(runWith(std::string(100000, '[')),
                 {"Parsing the JSON data file failed: nesting deeper than 512 levels"});
  expectRejected(runWith("{\"RESULTS\": \"\xff\"}"),
                 {"Parsing the JSON data file failed: [json.exception.parse_error.101] parse error at line 1, "
                  "column 14: syntax error while parsing value - invalid string: ill-formed UTF-8 byte; "
                  "last read: '\"\xff'"});
}
