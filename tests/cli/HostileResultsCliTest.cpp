// The binary on broken results files, each made from a valid one, and on names and targets it cannot write, after a
// good export: every run ends with status 1 and its report, in time and without a crash, leaves every file as it was
// and no new file. The readers' and checks' cases are their unit tests' matter: here one case per kind of report.

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <regex>

#include "support/DocumentOutline.hpp"
#include "support/ExportFolder.hpp"
#include "support/HostileResults.hpp"
#include "support/ResultsFileMaker.hpp"
#include "support/TempDir.hpp"

using namespace testing_support;

namespace {

using Make = std::function<void(const std::string& folder)>;

// `make` breaks folder/run.h5 or adds files the broken run names; `report` is the first lines on the error stream
// ("<source>" for the place a check names); `names` are the broken run's arguments (the good export is made with the
// defaults); `members` follow the entry's format, for both runs.
struct HostileCase {
  std::string name;
  Make make;
  std::vector<std::string> report;
  std::vector<std::string> names;
  std::string members;
};

std::string run(const std::string& folder) { return folder + "/run.h5"; }

// A change of the results file in place.
Make edit(const std::function<void(ResultsFileMaker& file)>& change) {
  return [change](const std::string& folder) {
    ResultsFileMaker file(run(folder), ResultsFileMaker::Opening::Edit);
    change(file);
  };
}
Make onRun(const std::function<void(const std::string& fileName)>& change) {
  return [change](const std::string& folder) { change(run(folder)); };
}
Make replaced(const std::string& path, const std::string& text) {
  return edit([path, text](ResultsFileMaker& file) {
    file.remove(path);
    file.text(path, text);
  });
}
const Make nothing = [](const std::string&) {};

const std::string middleStep = "RESULTS/CellsAll/HydState/0000001";
const std::string lastStep = "RESULTS/CellsAll/HydState/0000002";
const std::string notJson = " -> the archived text <.config/model> of <run.h5> is not valid JSON: <";
std::vector<std::string> writing(const std::string& name) { return {"-r", "run.h5", "-o", name}; }
HostileCase c(const std::string& name, const Make& make, const std::vector<std::string>& report,
              const std::vector<std::string>& names = writing("out.xdmf"), const std::string& members = "") {
  return {name, make, report, names, members};
}

std::vector<HostileCase> hostileCases() {
  return {
      // Made when the case runs, not whenever the cases are listed.
      c("LongArchivedText",
        [](const std::string& folder) { replaced(".config/model", std::string(64u << 20, 'x'))(folder); },
        {notJson + std::string(200, 'x') + "... (67108864 bytes)>"}),
      c("ArchiveFromADamagedFile", onRun(corruptArchivedModelText),
        {" -> the results file <run.h5> is damaged: reading <.config/model> crashed the HDF5 library"},
        {"-r", "run.h5", "-a", "restored.json"}),
      c("ArchivedTextsDeclaredBeyondTheFile",
        onRun([](const std::string& file) { archivedModelTextsNeverWritten(file, 1241513985); }),
        {" -> the results file <run.h5> is damaged: dataset <.config/model> declares more values than the file holds "
         "for it"}),

      // The file itself (each refusal is the HDF5 reader's unit tests' matter).
      c("EmptyFile", onRun([](const std::string& file) { std::filesystem::resize_file(file, 0); }),
        {" -> HDF5 file <run.h5> is not an HDF5 file: it is empty"}),
      c("RandomBytesAfterTheSuperblock", onRun([](const std::string& file) { randomBytesAfterSuperblock(file, 1); }),
        {" -> unhandled exception (actually, this should never happen)",
         " -> Unable to open file run.h5: (Object header) Wrong version number"}),

      // The steps (the mesh's checks are the mesh check's unit tests' matter).
      c("NoStoredSteps", edit([](ResultsFileMaker& file) { file.remove("RESULTS"); }),
        {" -> no time varying data, therefore no output written<source>"}),
      c("StepRenamed", edit([](ResultsFileMaker& file) {
          H5Lmove(file.id(), lastStep.c_str(), file.id(), "RESULTS/CellsAll/HydState/abc", H5P_DEFAULT, H5P_DEFAULT);
        }),
        {" -> time step </" + lastStep +
         "> is not in file <run.h5>: its group </RESULTS/CellsAll/HydState> holds <abc> in its place, which is no step "
         "number"}),
      // An attribute without values is no time, not one value.
      c("TimeWithoutValues", edit([](ResultsFileMaker& file) { file.doubleAttribute(middleStep, "t", 10, 0); }),
        {" -> time step </" + middleStep + "> in file <run.h5> has a time that is not a number"}),
      c("StepWithMoreRowsThanCells", onRun([](const std::string& file) { replaceLastHydStateStep(file, 10, 3); }),
        {" -> dataset </" + lastStep +
         "> read by <water_surface> at t = 20 s in file <run.h5>: expected 8 rows (one per cell), found 10 rows"}),
      c("StepWithMoreRowsForATransformedOutput",
        onRun([](const std::string& file) { replaceLastHydStateStep(file, 10, 3); }),
        {" -> failed to transform the data because the input data sizes are inconsistent<source>"}, writing("out.xdmf"),
        R"(, "outputs": ["flow_velocity"])"),

      c("EmptyExportList", [](const std::string& f) { writeFile(f + "/cfg.json", R"({"RESULTS": {"EXPORT": []}})"); },
        {" -> path <RESULTS/EXPORT> not found.", " -> no outputs defined"}),
      // The envelope document is put in place with the entry's other files, only when every entry has succeeded.
      c("LaterEntryFailingAfterTheEnvelopes",
        [](const std::string& folder) {
          replaceLastHydStateStep(run(folder), validCells, 2);
          writeFile(folder + "/cfg.json", R"({"RESULTS": {"EXPORT": [{"format": "xdmf", "to": 10, "envelopes": {}}, )"
                                          R"({"format": "xdmf", "document": "late.xdmf"}]}})");
        },
        {" -> dataset </" + lastStep + "> does not contain column 2!"}),

      // The dry threshold stored as a text is no depth.
      c("MinWaterDepthStoredAsTextAtTheInfo", replaced("Parameters/MinWaterDepth", "0.01"),
        {" -> <Parameters/MinWaterDepth> in file <run.h5> is not one finite number >= 0: it must be the depth in "
         "metres below which a cell is dry"},
        {"-i", "-r", "run.h5"}),

      // Names that XML cannot carry (each offence is the name check's unit tests' matter). Echoed names are cut at 200
      // characters and show their control bytes.
      c("LongNameWithEscapes", nothing,
        {" -> the auxiliary file name <" + std::string(195, 'd') +
         "\\x1b[2J\\x07... (5211 bytes)> cannot be written into an XML document: it holds the control character \\x1b"},
        writing(std::string(195, 'd') + "\x1b[2J\x07" + std::string(5000, 'd') + "/out.xdmf")),

      // Targets that cannot be written (each reason is the transaction's unit tests' matter).
      c("StemTooLongForTheEnvelopesName", nothing,
        {" -> cannot write <" + std::string(200, 'n') +
         "... (260 bytes)>: its name has 260 bytes, more than the 255 the system allows for one name"},
        writing(std::string(245, 'n') + ".xdmf"), R"(, "envelopes": {"wet_depth": 0.01})"),
      c("DocumentNamedOnlyBySuffix", nothing,
        {" -> the document name <sub/.xdmf> has no stem (the name up to its first '.'): its files would be hidden "
         "files named <sub/.xdmf> and <sub/_aux.h5>"},
        writing("sub/.xdmf")),
      c("DocumentInTheProcessFolder", nothing,
        {" -> the document name </proc/self/out.xdmf> lies under </proc>, where the export writes no files"},
        writing("/proc/self/out.xdmf")),
      // Under any name of it, the results file is never overwritten.
      c("ResultsFileAsTheArchive", nothing, {" -> refusing to overwrite the results file <run.h5> with <run.h5>"},
        {"-r", "run.h5", "-a", "run.h5"}),
      c("ResultsFileLinkedAsTheDocument",
        [](const std::string& folder) { ASSERT_EQ(link(run(folder).c_str(), (folder + "/l.xdmf").c_str()), 0); },
        {" -> refusing to overwrite the results file <run.h5> with <l.xdmf>"}, writing("l.xdmf")),
      c("ArchiveOntoAFifo", [](const std::string& f) { ASSERT_EQ(mkfifo((f + "/model.json").c_str(), 0644), 0); },
        {" -> cannot write the archive to file <model.json>"}, {"-r", "run.h5", "-a", "model.json"}),
  };
}

// Every entry of the folder with its content; a link or an entry that is not a regular file (a FIFO would block a read)
// by its kind.
std::map<std::string, std::string> snapshot(const std::string& folder) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    entries[entry.path().filename().string()] =
        entry.is_symlink()        ? "a link to " + std::filesystem::read_symlink(entry.path()).string()
        : entry.is_regular_file() ? readFile(entry.path().string())
                                  : "a folder or a special file";
  return entries;
}

std::string quoted(const std::string& text) {
  return std::regex_replace(text, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)");
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
TEST_P(HostileResults, IsRefusedLeavingEveryFileAsItWas) {
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
  const std::string source = ", in file: src/[a-zA-Z0-9/]+\\.cpp on line [0-9]+, version v3\\.1\\.0";
  for (std::size_t i = 0; i < hostile.report.size(); ++i) {
    const std::string pattern = std::regex_replace(quoted(hostile.report[i]), std::regex("<source>"), source);
    EXPECT_TRUE(std::regex_match(lines[i], std::regex(pattern))) << lines[i];
  }
  EXPECT_TRUE(snapshot(dir.path()) == before) << "a file changed, went or came";
}

INSTANTIATE_TEST_SUITE_P(Corpus, HostileResults, ::testing::ValuesIn(hostileCases()),
                         [](const ::testing::TestParamInfo<HostileCase>& tested) { return tested.param.name; });

// Input that looks hostile and is sound: a step with a column more than the others is declared with its own shape, so
// that readers take the selected column from the dataset as it is stored; a tab is a character XML carries, in an
// attribute value as &#9;, in text as it is.
using SoundButOdd = ExportFolder;
TEST_F(SoundButOdd, OddButSoundInputIsExportedAsItIs) {
  writeValidResults(dir.file("run\t.h5"));
  replaceLastHydStateStep(dir.file("run\t.h5"), validCells, 4);
  const BinaryRun run = exportWith({""}, {"-o", "out\tx.xdmf"}, "run\t.h5");
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string document = readFile(dir.file("out\tx.xdmf"));
  EXPECT_NE(document.find("<Grid GridType=\"Collection\" Name=\"run&#9;.h5\" CollectionType"), std::string::npos);
  EXPECT_NE(document.find("out\tx_aux.h5:flow_velocity/2\n"), std::string::npos) << document;
  EXPECT_TRUE(exists("out\tx_aux.h5"));
  // The selected column from the stored dataset's own shape, not the others'.
  EXPECT_EQ(describe(outlineOf(document).steps.at(2).attributes.at(0).items.at(0)),
            "run\t.h5:/RESULTS/CellsAll/HydState/0000002 (8 4) column 0");
}

// A document its owner protected from writing is refused, though the folder would let the commit's rename replace it.
// Root may write any file: a run as root runs the binary as nobody.
TEST(ProtectedTarget, ADocumentThatMayNotBeWrittenIsRefused) {
  TempDir dir;
  writeValidResults(dir.file("run.h5"));
  writeFile(dir.file("cfg.json"), configurationText({"xdmf"}));
  writeFile(dir.file("o.xdmf"), "earlier export");
  namespace fs = std::filesystem;
  fs::permissions(dir.file("o.xdmf"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::permissions(dir.path(), fs::perms::all);
  const std::string user = geteuid() == 0 ? "setpriv --reuid=nobody --regid=nogroup --clear-groups " : "";
  const std::string command = "cd '" + dir.path() + "' && " + user + RESULTS_BINARY +
                              " -f cfg.json -r run.h5 -o o.xdmf >out.txt 2>err.txt";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_EQ(splitLines(readFile(dir.file("err.txt"))),
            (std::vector<std::string>{" -> cannot write <o.xdmf>: the file may not be written", killedLine}));
  EXPECT_EQ(readFile(dir.file("o.xdmf")), "earlier export");
  EXPECT_FALSE(fs::exists(dir.file("o_aux.h5")));
}

// A run that finds no room on the disk of its export (a small tmpfs, filled) names the file it was writing and leaves
// the earlier export there as it was.
using FullDisk = ExportFolder;
TEST_F(FullDisk, EarlierExportSurvivesARunThatFindsNoRoom) {
  if (geteuid() != 0) GTEST_SKIP() << "mounting a tmpfs needs root";
  const std::string disk = dir.file("disk");
  std::filesystem::create_directory(disk);
  ASSERT_EQ(mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=1m"), 0) << std::strerror(errno);
  const std::unique_ptr<const std::string, void (*)(const std::string*)> mounted(
      &disk, [](const std::string* folder) { umount2(folder->c_str(), MNT_DETACH); });
  writeValidResults(dir.file("run.h5"));
  ASSERT_EQ(exportWith({""}, {"-o", "disk/out.xdmf"}).status, 0);
  std::ofstream filler(disk + "/filler", std::ios::binary);
  const std::string block(4096, 'f');
  while (filler.write(block.data(), block.size()).flush()) {
  }
  filler.close();
  const std::map<std::string, std::string> before = snapshot(disk);
  const BinaryRun full = exportWith({""}, {"-o", "disk/out.xdmf"});
  EXPECT_EQ(full.status, 1) << full.err;
  EXPECT_EQ(reportLines(full.err),
            (std::vector<std::string>{" -> no space left on the device while writing <disk/out_aux.h5>", killedLine}));
  EXPECT_TRUE(snapshot(disk) == before) << "the disk's files changed";
}
