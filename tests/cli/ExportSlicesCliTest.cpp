// A run of more cells than the export reads at once: the computed outputs
// are streamed through slices of rows, and every row of the auxiliary file
// must still hold its cell's value, at the slice boundaries too.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "support/BinaryRun.hpp"
#include "support/ResultsFileMaker.hpp"
#include "support/StoredDatasets.hpp"
#include "support/TempDir.hpp"

using namespace testing_support;

namespace {

// More than two slices of 65,536 rows, and no whole number of blocks.
constexpr int cells = 140001;
constexpr double threshold = 0.001;

std::uint64_t bitsOf(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

double velocity(double q, double h) { return threshold > h ? 0.0 : q / h; }

}  // namespace

TEST(ExportSlices, EveryRowOfALargeRunHoldsItsCellsValues) {
  TempDir dir;
  std::vector<double> bed(cells);
  std::vector<double> state[2];
  for (int step = 0; step < 2; ++step) {
    for (int i = 0; i < cells; ++i) {
      bed[i] = 100.0 - 0.001 * i;
      // Every seventh cell stands exactly at the threshold, every eleventh is dry.
      const double h = i % 7 == 0 ? threshold : i % 11 == 0 ? threshold / 2 : 0.5 + 0.0001 * ((i * 31 + step) % 977);
      state[step].insert(state[step].end(), {bed[i] + h, 0.01 * (i % 101) - 0.5, -0.02 * (i % 53) + step});
    }
  }
  {
    ResultsFileMaker file(dir.file("run.h5"));
    file.archive(hydraulicsModelText(), {"flow_velocity_abs", "flow_velocity"});
    file.unitSquareMesh();
    file.scalar("Parameters/MinWaterDepth", threshold);
    file.doubles("CellsAll/BottomEl", cells, 1, bed);
    file.step("RESULTS/CellsAll/HydState/0000000", 0.0, cells, 3, state[0]);
    file.step("RESULTS/CellsAll/HydState/0000001", 60.0, cells, 3, state[1]);
  }
  writeFile(dir.file("cfg.json"), configurationText({"xdmf"}));
  const auto result = runResults({"-f", "cfg.json", "-r", "run.h5"}, dir.path());
  ASSERT_EQ(result.status, 0) << result.err;

  const std::string aux = dir.file("results_aux.h5");
  for (int step = 0; step < 2; ++step) {
    const std::vector<double> field = storedDoubles(aux, "flow_velocity/" + std::to_string(step));
    const std::vector<double> speed = storedDoubles(aux, "flow_velocity_abs/" + std::to_string(step));
    ASSERT_EQ(field.size(), 2u * cells);
    ASSERT_EQ(speed.size(), static_cast<std::size_t>(cells));
    const std::vector<double>& v = state[step];
    for (std::size_t i = 0; i < static_cast<std::size_t>(cells); ++i) {
      const double h = v[3 * i] - bed[i];
      const double u = velocity(v[3 * i + 1], h);
      const double w = velocity(v[3 * i + 2], h);
      ASSERT_EQ(bitsOf(field[2 * i]), bitsOf(u)) << step << " " << i;
      ASSERT_EQ(bitsOf(field[2 * i + 1]), bitsOf(w)) << step << " " << i;
      ASSERT_EQ(bitsOf(speed[i]), bitsOf(std::sqrt(std::pow(w, 2) + std::pow(u, 2)))) << step << " " << i;
    }
  }
}
