// Times that "%f" would merge: 30 steps 1e-7 s apart stay 30 distinct times
// in the document and in -i; the envelope document's one time follows its
// own magnitude.

#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "support/BinaryRun.hpp"
#include "support/ResultsFileMaker.hpp"
#include "support/TempDir.hpp"

using namespace testing_support;

namespace {

std::vector<std::string> documentTimes(const std::string& document) {
  std::vector<std::string> times;
  const std::regex time(R"re(<Time TimeType="Single" Name="time = ([^"]*)" Value="([^"]*)")re");
  for (auto it = std::sregex_iterator(document.begin(), document.end(), time); it != std::sregex_iterator(); ++it) {
    EXPECT_EQ((*it)[1], (*it)[2]);
    times.push_back((*it)[2]);
  }
  return times;
}

// A hydraulics run on the unit square whose steps hold the given times.
void writeRunAt(const std::string& file, const std::vector<double>& times) {
  ResultsFileMaker maker(file);
  maker.archive(hydraulicsModelText(), {"water_surface"});
  maker.unitSquareMesh();
  maker.doubles("CellsAll/BottomEl", 2, 1, {0.0, 0.0});
  for (std::size_t k = 0; k < times.size(); ++k) {
    char name[24];
    std::snprintf(name, sizeof name, "%07zu", k);
    maker.step(std::string("RESULTS/CellsAll/HydState/") + name, times[k], 2, 3, {1.0, 0.0, 0.0, 1.0, 0.0, 0.0});
  }
}

}  // namespace

TEST(TimeText, TimesThatSixDecimalsWouldMergeAreWrittenExactly) {
  TempDir dir;
  std::vector<double> stored;
  for (int k = 0; k < 30; ++k) stored.push_back(k * 1e-7);
  writeRunAt(dir.file("run.h5"), stored);
  writeFile(dir.file("cfg.json"),
            R"({"RESULTS": {"EXPORT": [{"format": "xdmf"}, {"format": "xdmf", "document": "p.xdmf", "portable": true}]}})");
  const BinaryRun run = runResults({"-f", "cfg.json", "-r", "run.h5"}, dir.path());
  ASSERT_EQ(run.status, 0) << run.err;
  for (const std::string document : {"results.xdmf", "p.xdmf"}) {
    const std::vector<std::string> times = documentTimes(readFile(dir.file(document)));
    ASSERT_EQ(times.size(), 30u) << document;
    EXPECT_EQ(std::set<std::string>(times.begin(), times.end()).size(), 30u) << document;
    EXPECT_EQ(times[0], "0");
    EXPECT_EQ(times[1], "1e-07");
    EXPECT_EQ(times[3], "3e-07");
  }
  const BinaryRun info = runResults({"-i", "-r", "run.h5"}, dir.path());
  ASSERT_EQ(info.status, 0) << info.err;
  EXPECT_NE(info.out.find("  CellsAll/HydState: 30 times, from 0 to 2.9e-06, every "), std::string::npos) << info.out;
}

// A run that counts its time from an epoch: ten digits show both times alike.
TEST(TimeText, InfoShowsTimesExactlyWhereTenDigitsMergeThem) {
  TempDir dir;
  writeRunAt(dir.file("run.h5"), {1.7e9, 1.7e9 + 0.25});
  const BinaryRun info = runResults({"-i", "-r", "run.h5"}, dir.path());
  ASSERT_EQ(info.status, 0) << info.err;
  EXPECT_NE(info.out.find("  CellsAll/HydState: 2 times, from 1.7e+09 to 1700000000.25, every 0.25\n"),
            std::string::npos)
      << info.out;
}

TEST(TimeText, TimesBeyondFifteenDigitsAreWrittenShort) {
  TempDir dir;
  writeRunAt(dir.file("run.h5"), {0.0, 1e300});
  writeFile(dir.file("cfg.json"), R"({"RESULTS": {"EXPORT": [{"format": "xdmf", "envelopes": {}}]}})");
  const BinaryRun run = runResults({"-f", "cfg.json", "-r", "run.h5"}, dir.path());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(documentTimes(readFile(dir.file("results.xdmf"))), (std::vector<std::string>{"0", "1e+300"}));
  EXPECT_EQ(documentTimes(readFile(dir.file("results_envelopes.xdmf"))), std::vector<std::string>{"1e+300"});
}
