// The binary on broken results files, each made from a valid one, and on
// names and targets it cannot write: a good export of the valid file is made
// first, then the broken run goes over it. Every run must end with status 1
// and its report, within a time limit and without a crash, leave every file
// (the results file, the configuration, the earlier export) byte for byte as
// it was, and leave no new file.

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <regex>

#include "support/BinaryRun.hpp"
#include "support/HostileResults.hpp"
#include "support/ResultsFileMaker.hpp"
#include "support/TempDir.hpp"
#include "synthetic/ResultsFile.hpp"

using namespace testing_support;

namespace {

struct HostileCase {
  std::string name;
  // Breaks folder/run.h5, and may add files that the broken run names.
  std::function<void(const std::string& folder)> make;
  // The report's first lines on the error stream (the library's own
  // diagnostics aside), as regular expressions.
  std::vector<std::string> report;
  // The names the broken run is given; the good export is made with these
  // defaults.
  std::vector<std::string> names = {"-r", "run.h5", "-o", "out.xdmf"};
  // The members of the one export entry beside its format, for the good
  // export and the broken one.
  std::string members = "";
};

std::string run(const std::string& folder) { return folder + "/run.h5"; }

const std::string unhandled = " -> unhandled exception \\(actually, this should never happen\\)";
const std::string inFile = ", in file: src/[a-zA-Z0-9/]+\\.cpp on line [0-9]+, version v3\\.1\\.0";

std::string quotedPattern(const std::string& text) {
  return std::regex_replace(text, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)");
}

std::string meshReport(const std::string& dataset, const std::string& expected, const std::string& found) {
  return quotedPattern(" -> mesh dataset <" + dataset + "> in file <run.h5>: expected " + expected + ", found " + found);
}

std::string stepReport(const std::string& output, const std::string& rest) {
  return quotedPattern(" -> dataset </RESULTS/CellsAll/HydState/0000002> read by <" + output + "> at t = 20 s" + rest);
}

std::string nameReport(const std::string& what, const std::string& shown, const std::string& offence) {
  return quotedPattern(" -> the " + what + " name <" + shown + "> cannot be written into an XML document: it holds " +
                       offence);
}

// Two links that name each other.
std::function<void(const std::string&)> loopOfLinks(const std::string& first, const std::string& second) {
  return [first, second](const std::string& folder) {
    std::filesystem::create_symlink(second, folder + "/" + first);
    std::filesystem::create_symlink(first, folder + "/" + second);
  };
}

// The valid file under another name, for runs that name it so.
std::function<void(const std::string&)> copiedAs(const std::string& name) {
  return [name](const std::string& folder) { std::filesystem::copy_file(run(folder), folder + "/" + name); };
}

// The file's size, then what its superblock declares.
std::string cutShort(const std::string& held) {
  return " -> HDF5 file <run\\.h5> is cut short: it holds " + held + " bytes of the [0-9]+ its HDF5 superblock declares";
}

const std::string minWaterDepthReport = quotedPattern(
    " -> <Parameters/MinWaterDepth> in file <run.h5> is not one finite number >= 0: it must be the depth in metres "
    "below which a cell is dry");

const std::string onlyFlowVelocity = R"(, "outputs": ["flow_velocity"])";
const std::string sizeOf24 = "the attribute size = 24 (3 values per row)";

std::vector<HostileCase> hostileCases() {
  const auto nothing = [](const std::string&) {};
  return {
      // An archived text is read as text: never as the name of a file to open.
      {"ArchivedTextNamingAFifo",
       [](const std::string& folder) {
         replaceArchivedModelText(run(folder), "pipe");
         ASSERT_EQ(mkfifo((folder + "/pipe").c_str(), 0644), 0);
       },
       {quotedPattern(" -> the archived text <.config/model> of <run.h5> is not valid JSON: <pipe>")}},
      {"ArchivedTextNamingAModelFile",
       [](const std::string& folder) {
         writeFile(folder + "/model.json", hydraulicsModelText());
         replaceArchivedModelText(run(folder), folder + "/model.json");
       },
       {" -> the archived text <\\.config/model> of <run\\.h5> is not valid JSON: <.*/model\\.json>"}},
      // Made when the case runs: the cases are listed each time a test starts.
      {"LongArchivedText",
       [](const std::string& folder) { replaceArchivedModelText(run(folder), std::string(64u << 20, 'x')); },
       {quotedPattern(" -> the archived text <.config/model> of <run.h5> is not valid JSON: <" + std::string(200, 'x') +
                      "... (67108864 bytes)>")}},
      {"ArchivedTextWithControlBytes",
       [](const std::string& folder) { replaceArchivedModelText(run(folder), "\x1b[2J\x07not json"); },
       {quotedPattern(" -> the archived text <.config/model> of <run.h5> is not valid JSON: <\\x1b[2J\\x07not json>")}},
      {"CorruptedByteInTheArchivedText", [](const std::string& folder) { corruptArchivedModelText(run(folder)); },
       {" -> the results file <run\\.h5> is damaged: reading <\\.config/model> crashed the HDF5 library"}},
      {"ArchivedTextsDeclaredBeyondTheFile",
       [](const std::string& folder) { archivedModelTextsNeverWritten(run(folder), 1241513985); },
       {" -> the results file <run\\.h5> is damaged: dataset <\\.config/model> declares more values than the file "
        "holds for it"}},
      {"MissingArchive", [](const std::string& folder) { removeGroup(run(folder), ".config"); },
       {unhandled, quotedPattern(" -> Unable to open the dataset \".config/model\": (Symbol table) Object not found")}},
      {"EmptyFile", [](const std::string& folder) { truncateFile(run(folder), 0); },
       {quotedPattern(" -> HDF5 file <run.h5> is not an HDF5 file: it is empty")}},
      {"TruncatedAfterTheSuperblock", [](const std::string& folder) { truncateFile(run(folder), 512); },
       {cutShort("512")}},
      {"TruncatedToHalf",
       [](const std::string& folder) { truncateFile(run(folder), std::filesystem::file_size(run(folder)) / 2); },
       {cutShort("[0-9]+")}},
      {"LastByteCut",
       [](const std::string& folder) { truncateFile(run(folder), std::filesystem::file_size(run(folder)) - 1); },
       {cutShort("[0-9]+")}},
      {"TextInTheResultsFilesPlace", [](const std::string& folder) { writeFile(run(folder), "t,depth\n0,1\n"); },
       {quotedPattern(" -> HDF5 file <run.h5> is not an HDF5 file: it holds no HDF5 signature")}},
      {"FolderAsResultsFile", [](const std::string& folder) { std::filesystem::create_directory(folder + "/runs.h5"); },
       {quotedPattern(" -> HDF5 file <runs.h5> is a folder")}, {"-r", "runs.h5", "-o", "out.xdmf"}},
      {"LoopOfLinksAsResultsFile",
       loopOfLinks("a.h5", "b.h5"),
       {quotedPattern(" -> HDF5 file <a.h5> is a loop of symbolic links")}, {"-r", "a.h5", "-o", "out.xdmf"}},
      {"NoResultsFileName", nothing, {quotedPattern(" -> HDF5 file <> is no name of a file")},
       {"-r", "", "-o", "out.xdmf"}},
      {"RandomBytesAfterTheSuperblock", [](const std::string& folder) { randomBytesAfterSuperblock(run(folder), 1); },
       {unhandled, quotedPattern(" -> Unable to open file run.h5: (Object header) Wrong version number")}},
      {"OtherRandomBytesAfterTheSuperblock",
       [](const std::string& folder) { randomBytesAfterSuperblock(run(folder), 2); },
       {unhandled, quotedPattern(" -> Unable to open file run.h5: (Object header) Wrong version number")}},
      {"NoStoredSteps", [](const std::string& folder) { removeGroup(run(folder), "RESULTS"); },
       {" -> no time varying data, therefore no output written" + inFile}},
      {"StepStoredAsAGroup", [](const std::string& folder) { lastHydStateStepAsGroup(run(folder)); },
       {quotedPattern(" -> time step </RESULTS/CellsAll/HydState/0000002> in file <run.h5> is a group, not a dataset")}},
      {"StepThatLinksToAnotherFile", [](const std::string& folder) { lastHydStateStepAsExternalLink(run(folder)); },
       {quotedPattern(" -> time step </RESULTS/CellsAll/HydState/0000002> in file <run.h5> is a link to another file, "
                      "which the export does not follow")}},
      {"StepRenamed", [](const std::string& folder) { lastHydStateStepRenamed(run(folder), "abc"); },
       {quotedPattern(" -> time step </RESULTS/CellsAll/HydState/0000002> is not in file <run.h5>: its group "
                      "</RESULTS/CellsAll/HydState> holds <abc> in its place, which is no step number")}},
      {"ArchivedModelOfNumbers", [](const std::string& folder) { archivedModelAsNumbers(run(folder)); },
       {quotedPattern(" -> dataset <.config/model> in file <run.h5> holds no text but values of another type")}},
      {"ArrayTime", [](const std::string& folder) { arrayStepTime(run(folder)); },
       {quotedPattern(" -> time step </RESULTS/CellsAll/HydState/0000001> in file <run.h5> has a time that is not a "
                      "number")}},
      {"StringTime", [](const std::string& folder) { stringStepTime(run(folder)); },
       {quotedPattern(" -> time step </RESULTS/CellsAll/HydState/0000001> in file <run.h5> has a time that is not a "
                      "number")}},

      // The mesh.
      {"NoCells", [](const std::string& folder) { removeGroup(run(folder), "CellsAll"); },
       {" -> cannot read attribute to dataset <CellsAll/Topology> in file <run\\.h5>" + inFile}},
      {"NoNodes", [](const std::string& folder) { removeGroup(run(folder), "NodesAll"); },
       {" -> cannot read attribute to dataset <NodesAll/Coordnts> in file <run\\.h5>" + inFile}},
      {"StringSize", [](const std::string& folder) { stringTopologySize(run(folder)); },
       {meshReport("CellsAll/Topology", sizeOf24, "an attribute size of strings")}},
      {"NegativeSize", [](const std::string& folder) { setTopologySize(run(folder), -24); },
       {meshReport("CellsAll/Topology", sizeOf24, "size = -24")}},
      {"MissingSize", [](const std::string& folder) { removeTopologySize(run(folder)); },
       {meshReport("CellsAll/Topology", sizeOf24, "no attribute size")}},
      {"SizeOfMoreCells", [](const std::string& folder) { setTopologySize(run(folder), 30); },
       {meshReport("CellsAll/Topology", sizeOf24, "size = 30")}},
      {"TopologyWithFourColumns", [](const std::string& folder) { topologyWithFourColumns(run(folder)); },
       {meshReport("CellsAll/Topology", "3 columns", "4 columns")}},
      {"NegativeNodeNumber", [](const std::string& folder) { topologyNodeNumber(run(folder), -1); },
       {meshReport("CellsAll/Topology", "node numbers from 0 to 9", "-1 in row 7")}},
      {"NodeNumberBeyondTheNodes", [](const std::string& folder) { topologyNodeNumber(run(folder), 10); },
       {meshReport("CellsAll/Topology", "node numbers from 0 to 9", "10 in row 7")}},
      {"FloatTopology", [](const std::string& folder) { floatTopology(run(folder)); },
       {meshReport("CellsAll/Topology", "integers", "floating-point values")}},
      {"CoordinatesWithTwoColumns", [](const std::string& folder) { coordinatesWithTwoColumns(run(folder)); },
       {meshReport("NodesAll/Coordnts", "3 columns", "2 columns")}},

      // The stored steps that the document reads, and those that outputs are
      // computed from.
      {"StepWithMoreRowsThanCells", [](const std::string& folder) { hydStateStepWithRows(run(folder), 10); },
       {stepReport("water_surface", " in file <run.h5>: expected 8 rows (one per cell), found 10 rows")}},
      {"StepWithFewerRowsThanCells", [](const std::string& folder) { hydStateStepWithRows(run(folder), 4); },
       {stepReport("water_surface", " in file <run.h5>: expected 8 rows (one per cell), found 4 rows")}},
      {"StepWithMoreRowsThanCellsInThePortableForm",
       [](const std::string& folder) { hydStateStepWithRows(run(folder), 10); },
       {stepReport("water_surface", " in file <run.h5>: expected 8 rows (one per cell), found 10 rows")},
       {"-r", "run.h5", "-o", "out.xdmf"}, R"(, "portable": true)"},
      {"StepWithMoreRowsForATransformedOutput", [](const std::string& folder) { hydStateStepWithRows(run(folder), 10); },
       {" -> failed to transform the data because the input data sizes are inconsistent" + inFile},
       {"-r", "run.h5", "-o", "out.xdmf"}, onlyFlowVelocity},

      // Names that XML cannot carry.
      {"ControlByteInTheDocumentName", nothing,
       {nameReport("auxiliary file", "out\\x01_aux.h5", "the control character \\x01")},
       {"-r", "run.h5", "-o", "out\x01.xdmf"}},
      {"LineBreakInTheDocumentName", nothing,
       {nameReport("auxiliary file", "out\\x0a_aux.h5", "the control character \\x0a")},
       {"-r", "run.h5", "-o", "out\n.xdmf"}},
      {"ByteThatIsNotUtf8InTheDocumentName", nothing,
       {nameReport("auxiliary file", "out\\xff_aux.h5", "the byte \\xff, which is not UTF-8")},
       {"-r", "run.h5", "-o", "out\xff.xdmf"}},
      {"ControlByteInTheResultsFileName", copiedAs("run\x01.h5"),
       {nameReport("results file", "run\\x01.h5", "the control character \\x01")},
       {"-r", "run\x01.h5", "-o", "out.xdmf"}},
      {"LineBreakInTheResultsFileName", copiedAs("run\n.h5"),
       {nameReport("results file", "run\\x0a.h5", "the control character \\x0a")},
       {"-r", "run\n.h5", "-o", "out.xdmf"}},
      {"ByteThatIsNotUtf8InTheResultsFileName", copiedAs("run\xff.h5"),
       {nameReport("results file", "run\\xff.h5", "the byte \\xff, which is not UTF-8")},
       {"-r", "run\xff.h5", "-o", "out.xdmf"}},
      {"ControlByteInAnEntrysDocument",
       [](const std::string& folder) {
         writeFile(folder + "/cfg.json", R"({"RESULTS": {"EXPORT": [{"format": "xdmf", "document": "flood\u001f.xdmf"}]}})");
       },
       {nameReport("auxiliary file", "flood\\x1f_aux.h5", "the control character \\x1f")}},

      {"NonCharacterInTheDocumentName", nothing,
       {nameReport("auxiliary file", "out\xef\xbf\xbe_aux.h5", "the character U+FFFE, which XML does not carry")},
       {"-r", "run.h5", "-o", "out\xef\xbf\xbe.xdmf"}},
      {"NonCharacterInAnEntrysDocument",
       [](const std::string& folder) {
         writeFile(folder + "/cfg.json", R"({"RESULTS": {"EXPORT": [{"format": "xdmf", "document": "flood\uffff.xdmf"}]}})");
       },
       {nameReport("auxiliary file", "flood\xef\xbf\xbf_aux.h5", "the character U+FFFF, which XML does not carry")}},

      // The dry threshold: a value that is no depth would count every cell
      // wet, or none.
      {"MinWaterDepthStoredAsText",
       [](const std::string& folder) { replaceMinWaterDepthWithText(run(folder), "0.01"); },
       {minWaterDepthReport}},
      {"MinWaterDepthNotANumber",
       [](const std::string& folder) { replaceMinWaterDepth(run(folder), std::nan("")); }, {minWaterDepthReport}},
      {"NegativeMinWaterDepth", [](const std::string& folder) { replaceMinWaterDepth(run(folder), -0.5); },
       {minWaterDepthReport}},
      {"MinWaterDepthStoredAsTextAtTheInfo",
       [](const std::string& folder) { replaceMinWaterDepthWithText(run(folder), "0.01"); },
       {minWaterDepthReport}, {"-i", "-r", "run.h5"}},

      // Targets that cannot be replaced.
      {"FolderInTheDocumentsPlace",
       [](const std::string& folder) { std::filesystem::create_directory(folder + "/other.xdmf"); },
       {quotedPattern(" -> cannot write <other.xdmf>: it is a folder")}, {"-r", "run.h5", "-o", "other.xdmf"}},
      {"FifoInTheDocumentsPlace",
       [](const std::string& folder) { ASSERT_EQ(mkfifo((folder + "/other.xdmf").c_str(), 0644), 0); },
       {quotedPattern(" -> cannot write <other.xdmf>: it is not a regular file")},
       {"-r", "run.h5", "-o", "other.xdmf"}},
      {"DocumentWithoutAStem", nothing,
       {quotedPattern(" -> the document name <> has no stem (the name up to its first '.'): its files would be "
                      "hidden files named <.xdmf> and <_aux.h5>")},
       {"-r", "run.h5", "-o", ""}},
      {"DocumentNamedOnlyBySuffix", nothing,
       {quotedPattern(" -> the document name <sub/.xdmf> has no stem (the name up to its first '.'): its files would "
                      "be hidden files named <sub/.xdmf> and <sub/_aux.h5>")},
       {"-r", "run.h5", "-o", "sub/.xdmf"}},
      {"EntrysDocumentWithoutAStem",
       [](const std::string& folder) {
         writeFile(folder + "/cfg.json", R"({"RESULTS": {"EXPORT": [{"format": "xdmf", "document": ".."}]}})");
       },
       {quotedPattern(" -> the document name <..> has no stem (the name up to its first '.'): its files would be "
                      "hidden files named <.xdmf> and <_aux.h5>")}},
      {"DocumentInTheDeviceFolder", nothing,
       {quotedPattern(" -> the document name </dev/null> lies under </dev>, where the export writes no files")},
       {"-r", "run.h5", "-o", "/dev/null"}},
      {"DocumentInTheProcessFolder", nothing,
       {quotedPattern(" -> the document name </proc/self/out.xdmf> lies under </proc>, where the export writes no files")},
       {"-r", "run.h5", "-o", "/proc/self/out.xdmf"}},
      {"StemTooLongForTheEnvelopesName", nothing,
       {quotedPattern(" -> cannot write <" + std::string(200, 'n') +
                      "... (260 bytes)>: its name has 260 bytes, more than the 255 the system allows for one name")},
       {"-r", "run.h5", "-o", std::string(245, 'n') + ".xdmf"}, R"(, "envelopes": {"wet_depth": 0.01})"},
      // Echoed names are cut at 200 characters and show their control bytes.
      {"LongNameWithEscapes", nothing,
       {nameReport("auxiliary file", std::string(195, 'd') + "\\x1b[2J\\x07... (5211 bytes)",
                   "the control character \\x1b")},
       {"-r", "run.h5", "-o", std::string(195, 'd') + "\x1b[2J\x07" + std::string(5000, 'd') + "/out.xdmf"}},
      {"MissingDocumentFolder", nothing,
       {quotedPattern(" -> cannot write <missing/out_aux.h5>: its folder <missing> does not exist")},
       {"-r", "run.h5", "-o", "missing/out.xdmf"}},
      {"FileInTheFolderPlace", [](const std::string& folder) { writeFile(folder + "/plain", "a file"); },
       {quotedPattern(" -> cannot write <plain/out_aux.h5>: <plain> is not a folder")},
       {"-r", "run.h5", "-o", "plain/out.xdmf"}},
      {"ArchiveOntoAFifo",
       [](const std::string& folder) { ASSERT_EQ(mkfifo((folder + "/model.json").c_str(), 0644), 0); },
       {quotedPattern(" -> cannot write the archive to file <model.json>")},
       {"-r", "run.h5", "-a", "model.json"}},
      {"ArchiveOntoALoopOfLinks",
       loopOfLinks("a.json", "b.json"),
       {quotedPattern(" -> cannot write the archive to file <a.json>")}, {"-r", "run.h5", "-a", "a.json"}},
      {"DocumentOntoALoopOfLinks",
       loopOfLinks("a.xdmf", "b.xdmf"),
       {quotedPattern(" -> cannot write <a.xdmf>: it is a loop of symbolic links")}, {"-r", "run.h5", "-o", "a.xdmf"}},
      {"ArchiveFromADamagedFile", [](const std::string& folder) { corruptArchivedModelText(run(folder)); },
       {" -> the results file <run\\.h5> is damaged: reading <\\.config/model> crashed the HDF5 library"},
       {"-r", "run.h5", "-a", "restored.json"}},
  };
}

// Every entry of the folder with its content; entries that are not regular
// files (a FIFO would block a read) by their kind.
std::map<std::string, std::string> snapshot(const std::string& folder) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_symlink())
      entries[name] = "a link to " + std::filesystem::read_symlink(entry.path()).string();
    else if (entry.is_directory())
      entries[name] = "a folder";
    else if (!entry.is_regular_file())
      entries[name] = "a special file";
    else
      entries[name] = readFile(entry.path().string());
  }
  return entries;
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
  BinaryRun runWith(const std::vector<std::string>& names) {
    std::vector<std::string> arguments{"-f", "cfg.json"};
    arguments.insert(arguments.end(), names.begin(), names.end());
    return runResults(arguments, dir.path(), RunLimits{60, {sanitizerSettingForLibraryCrashes()}});
  }

  TempDir dir;
};

// A good export and a restored archive are there before the broken run.
TEST_P(HostileResults, FailsCleanlyAndChangesNothing) {
  const HostileCase& hostile = GetParam();
  writeFile(dir.file("cfg.json"), R"({"RESULTS": {"EXPORT": [{"format": "xdmf")" + hostile.members + "}]}}");
  writeValidResults(dir.file("run.h5"));
  const BinaryRun good = runWith({"-r", "run.h5", "-o", "out.xdmf"});
  ASSERT_EQ(good.status, 0) << good.err;
  ASSERT_EQ(runWith({"-r", "run.h5", "-a", "restored.json"}).status, 0);
  hostile.make(dir.path());
  const std::map<std::string, std::string> before = snapshot(dir.path());

  const BinaryRun broken = runWith(hostile.names);
  ASSERT_FALSE(broken.timedOut);
  EXPECT_EQ(broken.status, 1) << broken.err;
  EXPECT_EQ(broken.out.find("successfully processed"), std::string::npos);
  const std::vector<std::string> lines = reportLines(broken.err);
  ASSERT_GE(lines.size(), hostile.report.size()) << broken.err;
  for (std::size_t i = 0; i < hostile.report.size(); ++i)
    EXPECT_TRUE(std::regex_match(lines[i], std::regex(hostile.report[i]))) << lines[i];
  const std::map<std::string, std::string> after = snapshot(dir.path());
  for (const auto& [name, content] : after) {
    ASSERT_EQ(before.count(name), 1u) << "a new file " << name;
    EXPECT_TRUE(content == before.at(name)) << name << " changed";
  }
  EXPECT_EQ(after.size(), before.size()) << "a file is gone";
}

INSTANTIATE_TEST_SUITE_P(Corpus, HostileResults, ::testing::ValuesIn(hostileCases()),
                         [](const ::testing::TestParamInfo<HostileCase>& tested) { return tested.param.name; });

// Inputs that look hostile and are sound: the export takes them as they are.
class SoundButOdd : public ::testing::Test {
 protected:
  void SetUp() override {
    writeFile(dir.file("cfg.json"), configurationText({"xdmf"}));
    writeValidResults(dir.file("run.h5"));
  }

  TempDir dir;
};

// A step with a column more than the others is declared with its own shape,
// so that readers take the selected column from the dataset as it is stored.
TEST_F(SoundButOdd, StepWithAnotherColumnIsDeclaredWithItsOwnShape) {
  hydStateStepWithFourColumns(dir.file("run.h5"));
  const BinaryRun run = runResults({"-f", "cfg.json", "-r", "run.h5"}, dir.path());
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string document = readFile(dir.file("results.xdmf"));
  const std::regex declared("Dimensions=\"([0-9 ]+)\"[^>]*>\n *run\\.h5:/RESULTS/CellsAll/HydState/000000([0-9])\n");
  std::map<std::string, std::string> shapes;
  for (auto it = std::sregex_iterator(document.begin(), document.end(), declared); it != std::sregex_iterator(); ++it)
    shapes[(*it)[2]] = (*it)[1];
  EXPECT_EQ(shapes, (std::map<std::string, std::string>{{"0", "8 3"}, {"1", "8 3"}, {"2", "8 4"}}));
}

// A tab is a character XML carries: in an attribute value as &#9;, in text as
// it is.
TEST_F(SoundButOdd, TabInTheNamesIsWrittenAndReadBack) {
  std::filesystem::rename(dir.file("run.h5"), dir.file("run\t.h5"));
  const BinaryRun run = runResults({"-f", "cfg.json", "-r", "run\t.h5", "-o", "out\tx.xdmf"}, dir.path());
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string document = readFile(dir.file("out\tx.xdmf"));
  EXPECT_NE(document.find("Name=\"run&#9;.h5\""), std::string::npos) << document;
  EXPECT_NE(document.find("\n                run\t.h5:CellsAll/Topology\n"), std::string::npos) << document;
  EXPECT_NE(document.find("out\tx_aux.h5:flow_velocity/2\n"), std::string::npos) << document;
  EXPECT_TRUE(std::filesystem::exists(dir.file("out\tx_aux.h5")));
  // The attribute value reads back as the name.
  std::smatch collection;
  ASSERT_TRUE(std::regex_search(document, collection, std::regex("<Grid [^>]*Name=\"([^\"]*)\" CollectionType")))
      << document;
  EXPECT_EQ(std::regex_replace(collection[1].str(), std::regex("&#9;"), "\t"), "run\t.h5");
}

namespace {

// A small tmpfs over a folder for as long as the object lives.
class SmallDisk {
 public:
  explicit SmallDisk(const std::string& folder) : mountPoint(folder) {
    std::filesystem::create_directory(folder);
    if (geteuid() != 0) {
      reason = "mounting a tmpfs needs root";
    } else if (mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=1m") != 0) {
      reason = std::string("mount -t tmpfs failed: ") + std::strerror(errno);
    }
  }
  ~SmallDisk() {
    if (reason.empty()) umount2(mountPoint.c_str(), MNT_DETACH);
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  // Why there is no disk, or "".
  const std::string& unavailable() const { return reason; }

  // Writes a file that leaves `room` bytes of the disk free, or none.
  void fillLeaving(const std::string& name, std::size_t room) const {
    struct statvfs disk {};
    ASSERT_EQ(statvfs(mountPoint.c_str(), &disk), 0);
    const std::size_t free = static_cast<std::size_t>(disk.f_bavail) * disk.f_frsize;
    std::FILE* file = std::fopen((mountPoint + "/" + name).c_str(), "wb");
    ASSERT_NE(file, nullptr);
    const std::string block(4096, 'f');
    for (std::size_t written = 0; written + room < free; written += block.size())
      if (std::fwrite(block.data(), 1, block.size(), file) != block.size() || std::fflush(file) != 0) break;
    std::fclose(file);
  }

 private:
  std::string mountPoint;
  std::string reason;
};

}  // namespace

// The run finds no room for its files, or room for the start of them: the
// earlier export on that disk stays as it was, nothing of the run is left
// there, and the report names the file the run was writing as the user knows
// it.
TEST(FullDisk, EarlierExportSurvivesARunThatFindsNoRoom) {
  TempDir dir;
  const SmallDisk disk(dir.file("disk"));
  if (!disk.unavailable().empty()) GTEST_SKIP() << "no small disk to fill: " << disk.unavailable();
  synthetic::RunSettings settings;
  settings.cells = 3000;
  settings.steps = 4;
  settings.model = synthetic::ModelKind::morphology;
  settings.outputs = {"water_surface", "flow_velocity", "flow_velocity_abs"};
  synthetic::writeResultsFile(dir.file("run.h5"), settings);
  writeFile(dir.file("cfg.json"), configurationText({"xdmf"}));
  const std::vector<std::string> arguments{"-f", "cfg.json", "-r", "run.h5", "-o", "disk/out.xdmf"};
  const BinaryRun good = runResults(arguments, dir.path());
  ASSERT_EQ(good.status, 0) << good.err;

  for (const std::size_t room : {std::size_t{0}, std::size_t{48} << 10}) {
    std::filesystem::remove(dir.file("disk/filler"));
    disk.fillLeaving("filler", room);
    const std::map<std::string, std::string> before = snapshot(dir.file("disk"));
    const BinaryRun full = runResults(arguments, dir.path(), RunLimits{60, {}});
    ASSERT_FALSE(full.timedOut);
    EXPECT_EQ(full.status, 1) << full.err;
    EXPECT_EQ(reportLines(full.err), (std::vector<std::string>{
                                         " -> no space left on the device while writing <disk/out_aux.h5>",
                                         " -> ... unfortunately TORVANEL is killed!"}))
        << room << ": " << full.err;
    EXPECT_TRUE(snapshot(dir.file("disk")) == before) << room << ": the disk's files changed";
  }
}
