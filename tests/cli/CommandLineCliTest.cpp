// The binary's frame and its inputs: banner, options, the configuration check (findings on the standard output, the
// terminating lines on the error stream) and inputs that are not regular files. The validator's cases one by one are
// its unit tests' matter: here one run per kind of message.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/ExportFolder.hpp"
#include "support/ResultsFileMaker.hpp"

using namespace testing_support;

namespace {

std::vector<std::string> bannerThen(const std::vector<std::string>& lines) {
  std::vector<std::string> all = bannerLines();
  all.insert(all.end(), lines.begin(), lines.end());
  return all;
}

const std::string joinedBanner = "TORVANEL v3.1.0\nVeldrix results binary\nv3.1.0\n\n";

bool contains(const std::string& text, const std::string& piece) { return text.find(piece) != std::string::npos; }

class CommandLine : public ExportFolder {
 protected:
  BinaryRun run(const std::vector<std::string>& arguments) {
    return runResults(arguments, dir.path(), RunLimits{30, {}});
  }
  BinaryRun runWith(const std::string& configuration) {
    writeFile(dir.file("cfg.json"), configuration);
    return run({"-f", "cfg.json", "-r", "run.h5"});
  }
  void writeResults(const std::string& modelText = hydraulicsModelText(), const std::string& name = "run.h5") {
    ResultsFileMaker file(dir.file(name));
    file.archive(modelText, {"water_surface"});
    file.unitSquareMesh();
    file.step("RESULTS/CellsAll/HydState/0000000", 0.0, 2, 3, {2, 0, 0, 2, 0, 0});
  }
};

}  // namespace

TEST_F(CommandLine, InformationRequestsExitZeroAfterTheBanner) {
  const BinaryRun version = run({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, joinedBanner + "\n" + RESULTS_BINARY + "  version: v3.1.0\n\n");
  const BinaryRun help = run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind(joinedBanner, 0), 0u);
  EXPECT_TRUE(contains(help.out, "\n   This is the 'results' binary of the TORVANEL framework.\n"));
  EXPECT_FALSE(contains(help.out, "successfully processed"));
}

// Only a real --info switch lifts the need for -f: not a value of another option, and not a word after "--".
TEST_F(CommandLine, BadCommandLinesAreParseFailures) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{}, "Required arguments missing: results, file"},
      {{"-f", "cfg.json"}, "Required argument missing: results"},
      {{"-r", "run.h5", "-o", "-i"}, "Required argument missing: file"},
      {{"-r", "run.h5", "--", "-i"}, "Required argument missing: file"},
      {{"-f", "cfg.json", "-r", "run.h5", "-n", "many"}, "Couldn't read argument value from string 'many'"},
      {{"-f", "cfg.json", "-r", "run.h5", "-x", "1"}, "PARSE ERROR:"},
  };
  for (const auto& [arguments, piece] : cases) {
    SCOPED_TRACE(piece);
    const BinaryRun result = run(arguments);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.outLines(), bannerLines());
    EXPECT_TRUE(contains(result.err, "PARSE ERROR:") && contains(result.err, piece)) << result.err;
  }
}

TEST_F(CommandLine, FindingsOfEachKindStopTheRunWithTheirExactLines) {
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"",
       {"Parsing the JSON data file failed: [json.exception.parse_error.101] parse error at line 1, column 1: "
        "syntax error while parsing value - unexpected end of input; expected '[', '{', or a literal"}},
      {"{}", {"/RESULTS: Error: This item is required but missing."}},
      {R"({"RESULTS": {"EXPORT": {"format": "xdmf"}}})",
       {"/RESULTS/EXPORT: Error: This value must be an array.",
        "/RESULTS/EXPORT/format: Warning: The value of this item will not be used."}},
  };
  for (const auto& [configuration, findings] : cases) {
    SCOPED_TRACE(configuration);
    const BinaryRun result = runWith(configuration);
    expectRefusal(result, " -> Terminating TORVANEL due to JSON validation errors.");
    EXPECT_EQ(result.outLines(), bannerThen(findings));
  }
}

// A warning alone stops nothing: the findings come first and the export runs to its end.
TEST_F(CommandLine, WarningsAloneLetTheRunGoOn) {
  writeResults();
  const BinaryRun result = runWith(R"({"RESULTS": {"EXPORT": [{"format": "xdmf"}]}, "SETUP": {}})");
  EXPECT_EQ(result.status, 0) << result.err;
  const std::string findings = joinedBanner + "/SETUP: Warning: The value of this item will not be used.\n";
  EXPECT_EQ(result.out.rfind(findings, 0), 0u) << result.out;
  EXPECT_TRUE(exists("results.xdmf"));
}

// A FIFO would make the binary wait for a writer for ever, a device read without end: each run has a time limit. An
// archived text that is not JSON is no name of a file: the FIFO it names is never opened.
TEST_F(CommandLine, InputsThatAreNoRegularFilesAreRefused) {
  writeResults();
  writeResults("pipe.json", "fifo.h5");
  writeFile(dir.file("cfg.json"), configurationText({"xdmf"}));
  ASSERT_EQ(mkdir(dir.file("cfg.d").c_str(), 0755), 0);
  for (const std::string extension : {".json", ".h5"}) {
    ASSERT_EQ(mkfifo(dir.file("pipe" + extension).c_str(), 0644), 0);
    std::filesystem::create_symlink("/dev/zero", dir.file("zero" + extension));
  }
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"-f", "absent.json", "-r", "run.h5"}, " -> configuration file not found: absent.json"},
      {{"-f", "cfg.d", "-r", "run.h5"}, " -> configuration file not found: cfg.d"},
      {{"-f", "pipe.json", "-r", "run.h5"}, " -> configuration file <pipe.json> is not a regular file"},
      {{"-f", "zero.json", "-r", "run.h5"}, " -> configuration file <zero.json> is not a regular file"},
      {{"-f", "cfg.json", "-r", "pipe.h5"}, " -> HDF5 file <pipe.h5> is not a regular file"},
      {{"-f", "cfg.json", "-r", "zero.h5"}, " -> HDF5 file <zero.h5> is not a regular file"},
      {{"-f", "cfg.json", "-r", "fifo.h5"},
       " -> the archived text <.config/model> of <fifo.h5> is not valid JSON: <pipe.json>"},
  };
  for (const auto& [arguments, line] : cases) {
    SCOPED_TRACE(line);
    const BinaryRun result = run(arguments);
    expectRefusal(result, line);
    // The configuration is refused before the validator reads it.
    EXPECT_TRUE(arguments[1] == "cfg.json" || result.outLines() == bannerLines()) << result.out;
  }
  EXPECT_FALSE(exists("results.xdmf"));
}
