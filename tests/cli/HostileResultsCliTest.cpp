// The binary on broken results files, each made from a valid one: a good
// export of the valid file is made first, then the broken file is exported
// over it. Every run must end with status 1 and its report, within a time
// limit and without a crash, leave the results file and the configuration as
// they were, and leave no new file.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <regex>

#include "BinaryRun.hpp"
#include "HostileResults.hpp"
#include "ResultsFileMaker.hpp"
#include "TempDir.hpp"

using namespace testing_support;

namespace {

struct HostileCase {
  std::string name;
  // Breaks folder/run.h5, and may add files that the broken file names.
  std::function<void(const std::string& folder)> make;
  // The report's first lines on the error stream (the library's own
  // diagnostics aside), as regular expressions.
  std::vector<std::string> report;
  // False while a failure inside an export still empties the auxiliary file
  // of the previous export.
  bool keepsOutputs = true;
};

std::string run(const std::string& folder) { return folder + "/run.h5"; }

const std::string unhandled = " -> unhandled exception \\(actually, this should never happen\\)";
const std::string inFile = ", in file: src/[a-zA-Z0-9/]+\\.cpp on line [0-9]+, version v3\\.1\\.0";

std::string quotedPattern(const std::string& text) {
  return std::regex_replace(text, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)");
}

std::vector<HostileCase> hostileCases() {
  const std::string longText(64u << 20, 'x');
  return {
      {"ArchivedTextNamingAFifo",
       [](const std::string& folder) {
         replaceArchivedModelText(run(folder), "pipe");
         ASSERT_EQ(mkfifo((folder + "/pipe").c_str(), 0644), 0);
       },
       {" -> input file <pipe> is not a regular file\\."}},
      {"LongArchivedText", [longText](const std::string& folder) { replaceArchivedModelText(run(folder), longText); },
       {" -> input file <" + std::string(200, 'x') +
        "\\.\\.\\.> not found\\. \\(a text of 67108864 characters, the first 200 shown\\)"}},
      {"CorruptedByteInTheArchivedText", [](const std::string& folder) { corruptArchivedModelText(run(folder)); },
       {" -> the results file <run\\.h5> is damaged: reading <\\.config/model> crashed the HDF5 library"}},
      {"ArchivedTextsDeclaredBeyondTheFile",
       [](const std::string& folder) { archivedModelTextsNeverWritten(run(folder), 1241513985); },
       {" -> the results file <run\\.h5> is damaged: dataset <\\.config/model> declares more values than the file "
        "holds for it"}},
      {"MissingArchive", [](const std::string& folder) { removeGroup(run(folder), ".config"); },
       {unhandled, quotedPattern(" -> Unable to open the dataset \".config/model\": (Symbol table) Object not found")}},
      {"EmptyFile", [](const std::string& folder) { truncateFile(run(folder), 0); },
       {unhandled, quotedPattern(" -> Unable to open file run.h5: (File accessibility) Not an HDF5 file")}},
      {"TruncatedAfterTheSuperblock", [](const std::string& folder) { truncateFile(run(folder), 512); },
       {unhandled, quotedPattern(" -> Unable to open file run.h5: (File accessibility) File has been truncated")}},
      {"TruncatedToHalf",
       [](const std::string& folder) { truncateFile(run(folder), std::filesystem::file_size(run(folder)) / 2); },
       {unhandled, quotedPattern(" -> Unable to open file run.h5: (File accessibility) File has been truncated")}},
      {"LastByteCut",
       [](const std::string& folder) { truncateFile(run(folder), std::filesystem::file_size(run(folder)) - 1); },
       {unhandled, quotedPattern(" -> Unable to open file run.h5: (File accessibility) File has been truncated")}},
      {"RandomBytesAfterTheSuperblock", [](const std::string& folder) { randomBytesAfterSuperblock(run(folder), 1); },
       {unhandled, quotedPattern(" -> Unable to open file run.h5: (Object header) Wrong version number")}},
      {"OtherRandomBytesAfterTheSuperblock",
       [](const std::string& folder) { randomBytesAfterSuperblock(run(folder), 2); },
       {unhandled, quotedPattern(" -> Unable to open file run.h5: (Object header) Wrong version number")}},
      {"NoStoredSteps", [](const std::string& folder) { removeGroup(run(folder), "RESULTS"); },
       {" -> no time varying data, therefore no output written" + inFile}, false},
      {"NoCells", [](const std::string& folder) { removeGroup(run(folder), "CellsAll"); },
       {" -> cannot read attribute to dataset <CellsAll/Topology> in file <run\\.h5>" + inFile}, false},
      {"NoNodes", [](const std::string& folder) { removeGroup(run(folder), "NodesAll"); },
       {" -> cannot read attribute to dataset <NodesAll/Coordnts> in file <run\\.h5>" + inFile}, false},
      {"StringSize", [](const std::string& folder) { stringTopologySize(run(folder)); },
       {unhandled, quotedPattern(" -> Unable to read the attribute \"size\": (Datatype) Unable to initialize object")},
       false},
      {"StringTime", [](const std::string& folder) { stringStepTime(run(folder)); },
       {unhandled, quotedPattern(" -> Unable to read the attribute \"t\": (Datatype) Unable to initialize object")},
       false},
      {"LastStepMissingForATransformedOutput", [](const std::string& folder) { removeLastHydStateStep(run(folder)); },
       {unhandled, quotedPattern(" -> Unable to open the dataset \"/RESULTS/CellsAll/HydState/0000002\": "
                                 "(Symbol table) Object not found")},
       false},
      {"StepWithMoreRowsThanCells", [](const std::string& folder) { hydStateStepWithRows(run(folder), 10); },
       {" -> failed to transform the data because the input data sizes are inconsistent" + inFile}, false},
      {"StepWithFewerRowsThanCells", [](const std::string& folder) { hydStateStepWithRows(run(folder), 4); },
       {" -> failed to transform the data because the input data sizes are inconsistent" + inFile}, false},
  };
}

std::vector<std::string> filesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> reportLines(const std::string& err) {
  std::vector<std::string> lines;
  for (const std::string& line : splitLines(err))
    if (line.rfind(" -> ", 0) == 0) lines.push_back(line);
  return lines;
}

}  // namespace

class HostileResults : public ::testing::TestWithParam<HostileCase> {
 protected:
  BinaryRun exportTo(const std::string& output) {
    return runResults({"-f", "cfg.json", "-r", "run.h5", "-o", output}, dir.path(),
                      RunLimits{60, {sanitizerSettingForLibraryCrashes()}});
  }

  TempDir dir;
};

TEST_P(HostileResults, FailsCleanlyAndChangesNothing) {
  const HostileCase& hostile = GetParam();
  writeFile(dir.file("cfg.json"), configurationText({"xdmf"}));
  writeValidResults(dir.file("run.h5"));
  const BinaryRun good = exportTo("out.xdmf");
  ASSERT_EQ(good.status, 0) << good.err;
  const std::string document = readFile(dir.file("out.xdmf"));
  const std::string auxiliary = readFile(dir.file("out_aux.h5"));
  hostile.make(dir.path());
  const std::string results = readFile(dir.file("run.h5"));
  const std::vector<std::string> files = filesIn(dir.path());

  const BinaryRun broken = exportTo("out.xdmf");
  ASSERT_FALSE(broken.timedOut);
  EXPECT_EQ(broken.status, 1) << broken.err;
  EXPECT_EQ(broken.out.find("successfully processed"), std::string::npos);
  const std::vector<std::string> lines = reportLines(broken.err);
  ASSERT_GE(lines.size(), hostile.report.size()) << broken.err;
  for (std::size_t i = 0; i < hostile.report.size(); ++i)
    EXPECT_TRUE(std::regex_match(lines[i], std::regex(hostile.report[i]))) << lines[i];
  EXPECT_TRUE(readFile(dir.file("run.h5")) == results) << "the results file changed";
  EXPECT_EQ(readFile(dir.file("cfg.json")), configurationText({"xdmf"}));
  EXPECT_EQ(filesIn(dir.path()), files);
  EXPECT_EQ(readFile(dir.file("out.xdmf")), document);
  if (hostile.keepsOutputs) {
    EXPECT_TRUE(readFile(dir.file("out_aux.h5")) == auxiliary) << "the auxiliary file changed";
  }
}

INSTANTIATE_TEST_SUITE_P(Corpus, HostileResults, ::testing::ValuesIn(hostileCases()),
                         [](const ::testing::TestParamInfo<HostileCase>& tested) { return tested.param.name; });
