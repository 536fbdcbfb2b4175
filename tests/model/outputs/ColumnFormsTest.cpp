// The column forms against the per-cell transformations, bit for bit, where the two could differ.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <numeric>
#include <random>
#include <sstream>

#include "model/catalogue/Catalogue.hpp"
#include "model/outputs/ColumnEvaluator.hpp"
#include "model/outputs/ColumnForms.hpp"
#include "model/outputs/OutputDefinitions.hpp"
#include "support/FailureReport.hpp"

using namespace model;

namespace {

constexpr std::size_t generatedCells = 40000;
const double infinity = std::numeric_limits<double>::infinity();

std::uint64_t bitsOf(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// Values of every kind a stored column could hold, ordinary ones most often.
class ValueSource {
 public:
  explicit ValueSource(unsigned seed) : random(seed) {}

  double any() {
    const unsigned kind = pick(17);
    // The last: 27 significant bits, whose exact square often lies halfway, where pow(x, 2) and x * x differ.
    const double kinds[] = {
        0.0,
        -0.0,
        infinity,
        -infinity,
        std::numeric_limits<double>::quiet_NaN(),
        std::numeric_limits<double>::denorm_min() * static_cast<double>(pick(1000) + 1) * sign(),
        1e300 * uniform(0.5, 2.0) * sign(),
        1e-300 * uniform(0.5, 2.0) * sign(),
        static_cast<double>(pick(1000)) * sign(),
        std::ldexp(static_cast<double>((1u << 26) + pick(1u << 26)), static_cast<int>(pick(40)) - 30)};
    return kind < 10 ? kinds[kind] : uniform(-50.0, 50.0);
  }

  // Exactly at the threshold, one ulp off, clearly wet or dry, zero or negative; sometimes not finite.
  double depthAround(double threshold) {
    const unsigned kind = pick(10);
    const double kinds[] = {threshold,
                            std::nextafter(threshold, -infinity),
                            std::nextafter(threshold, infinity),
                            threshold * uniform(0.0, 1.0),
                            -uniform(0.0, 5.0),
                            pick(2) == 0 ? 0.0 : -0.0,
                            any()};
    return kind < 7 ? kinds[kind] : threshold + uniform(0.0, 20.0);
  }

  // H - zb gives the depth back exactly where possible: the dry test sees the depth the cell was made with.
  double bedUnder(double depth) {
    if (!std::isfinite(depth) || pick(4) == 0) return 0.0;
    const double bed = static_cast<double>(pick(900)) - 400.0;
    return (bed + depth) - bed == depth ? bed : 0.0;
  }

  double uniform(double low, double high) { return std::uniform_real_distribution<double>(low, high)(random); }
  double sign() { return pick(2) == 0 ? 1.0 : -1.0; }
  unsigned pick(unsigned choices) { return static_cast<unsigned>(random() % choices); }

 private:
  std::mt19937_64 random;
};

// Column by column; where the output reads the water surface and the bed, a depth around the threshold.
std::vector<std::vector<double>> generatedColumns(OutputID output, double threshold, unsigned seed) {
  ValueSource values(seed);
  const std::vector<DataColumn>& list = Output2DataColumns.at(output);
  std::vector<std::vector<double>> columns(list.size(), std::vector<double>(generatedCells));
  const auto positionsOf = [&](DataColumn column) {
    std::vector<std::size_t> positions;
    for (std::size_t p = 0; p < list.size(); ++p)
      if (list[p] == column) positions.push_back(p);
    return positions;
  };
  const std::vector<std::size_t> surface = positionsOf({data_HydState, 0});
  const std::vector<std::size_t> bottom = positionsOf({data_BottomEl, 0});
  std::vector<std::size_t> discharge = positionsOf({data_HydState, 1});
  for (std::size_t p : positionsOf({data_HydState, 2})) discharge.push_back(p);
  for (std::size_t cell = 0; cell < generatedCells; ++cell) {
    for (std::vector<double>& column : columns) column[cell] = values.any();
    if (!surface.empty() && !bottom.empty() && values.pick(8) != 0) {
      const double depth = values.depthAround(threshold);
      const double bed = values.bedUnder(depth);
      for (std::size_t p : bottom) columns[p][cell] = bed;
      for (std::size_t p : surface) columns[p][cell] = bed + depth;
    }
    for (std::size_t p : discharge)
      if (values.pick(5) == 0) columns[p][cell] = values.pick(2) == 0 ? 0.0 : -0.0;
  }
  return columns;
}

std::vector<ColumnEvaluator::Source> sourcesOf(const std::vector<std::vector<double>>& columns) {
  std::vector<ColumnEvaluator::Source> sources;
  for (const std::vector<double>& column : columns) sources.push_back({column.data(), column.size()});
  return sources;
}

std::vector<int> identity(std::size_t width) {
  std::vector<int> positions(width);
  std::iota(positions.begin(), positions.end(), 0);
  return positions;
}

// The first cell that differs is named with its inputs. Equal bits, or NaN both: which NaN a sum of
// two NaNs gives is the compiler's choice of operand order.
void expectSameBits(OutputID output, std::size_t component, double threshold,
                    const std::vector<std::vector<double>>& columns, const double* computed) {
  const TransformFunction& reference = OutputFunctions.at(output).at(component).second;
  std::vector<double> cell(columns.size());
  for (std::size_t i = 0; i < generatedCells; ++i) {
    for (std::size_t p = 0; p < columns.size(); ++p) cell[p] = columns[p][i];
    const double expected = reference(threshold, cell);
    if (std::isnan(expected) ? std::isnan(computed[i]) : bitsOf(expected) == bitsOf(computed[i])) continue;
    std::ostringstream values;
    values << std::hexfloat;
    for (double value : cell) values << " " << value;
    values << "\n  per cell " << expected << "\n  column   " << computed[i];
    FAIL() << OutputProps.at(output).name << " component " << component << ", threshold " << threshold << ", cell " << i
           << ":" << values.str();
  }
}

}  // namespace

// Each computed output has a form per component: forms.at fails where one is missing.
TEST(ColumnForms, EveryComponentMatchesItsTransformationBitForBit) {
  ASSERT_EQ(OutputColumnForms.size(), OutputFunctions.size());
  unsigned seed = 1;
  for (const double threshold : {0.001, 0.0, 0.05}) {
    for (const auto& [output, functions] : OutputFunctions) {
      const std::vector<std::vector<double>> columns = generatedColumns(output, threshold, seed++);
      ColumnEvaluator evaluator;
      evaluator.beginRun(threshold, sourcesOf(columns));
      for (std::size_t f = 0; f < functions.size(); ++f)
        expectSameBits(output, f, threshold, columns,
                       evaluator.evaluate(OutputColumnForms.at(output).at(f), identity(columns.size())));
    }
  }
}

// A depth equal to the threshold is wet and divides; one ulp less is dry.
TEST(ColumnForms, DepthEqualToTheThresholdIsWet) {
  const std::vector<double> depth = {0.5, std::nextafter(0.5, 0.0)};
  const std::vector<double> discharge = {1.0, 1.0};
  std::vector<double> wet(2);
  std::vector<double> velocity(2);
  columns::wetCells(2, 0.5, depth.data(), wet.data());
  columns::velocity(2, discharge.data(), depth.data(), wet.data(), velocity.data());
  EXPECT_EQ(velocity, (std::vector<double>{2.0, 0.0}));
}

// flow_velocity takes the velocities flow_velocity_abs computed, and the depth water_depth computed
// from flow_velocity's third and fourth sources; a second run with other cells computes afresh.
TEST(ColumnForms, SharedResultsAreThoseOfTheirOwnRun) {
  const double threshold = 0.001;
  ColumnEvaluator evaluator;
  for (unsigned seed : {11u, 12u}) {
    const std::vector<std::vector<double>> columns = generatedColumns(flow_velocity, threshold, seed);
    evaluator.beginRun(threshold, sourcesOf(columns));
    const double* depth = evaluator.evaluate(OutputColumnForms.at(water_depth).at(0), {2, 3});
    expectSameBits(flow_velocity_abs, 0, threshold, columns,
                   evaluator.evaluate(OutputColumnForms.at(flow_velocity_abs).at(0), identity(4)));
    for (std::size_t f : {0u, 1u})
      expectSameBits(flow_velocity, f, threshold, columns,
                     evaluator.evaluate(OutputColumnForms.at(flow_velocity).at(f), identity(4)));
    for (std::size_t i = 0; i < generatedCells; ++i)
      ASSERT_EQ(bitsOf(depth[i]), bitsOf(columns[2][i] - columns[3][i])) << i;
    EXPECT_EQ(evaluator.evaluate(ColumnForm{ColumnKernel::Difference, {0, 1}}, {2, 3}), depth);
  }
}

// A stored column is handed on as it is; a computed one needs equal lengths.
TEST(ColumnForms, StoredColumnsPassThroughUnlessLengthsDiffer) {
  const std::vector<double> surface = {2.0, 3.0};
  const std::vector<double> bottom = {1.0};
  ColumnEvaluator evaluator;
  evaluator.beginRun(0.0, {{surface.data(), surface.size()}, {bottom.data(), bottom.size()}});
  EXPECT_EQ(evaluator.evaluate(OutputColumnForms.at(tracer1).at(0), {0}), surface.data());
  const std::string report =
      testing_support::failureReport([&] { evaluator.evaluate(OutputColumnForms.at(water_depth).at(0), {0, 1}); });
  const std::string line = " -> the columns of a computed component differ in length, in file: "
                           "src/model/outputs/ColumnEvaluator.cpp on line ";
  EXPECT_EQ(report.rfind(line, 0), 0u) << report;
}

// A computed output has one function per component, a stored one a column per component.
TEST(OutputDefinitions, ComponentsFitTheOutputSize) {
  for (const auto& [output, props] : OutputProps) {
    SCOPED_TRACE(props.name);
    ASSERT_EQ(Output2DataColumns.count(output), 1u);
    for (const DataColumn& column : Output2DataColumns.at(output))
      EXPECT_TRUE(column.second >= 0 && column.second < DataProps.at(column.first).size) << column.first;
    const bool computed = OutputFunctions.count(output) == 1;
    const std::size_t components = computed ? OutputFunctions.at(output).size() : Output2DataColumns.at(output).size();
    EXPECT_EQ(static_cast<int>(components), props.size);
  }
}

// Velocities take qx, qy, H, zb; h = 0.5 equal to the threshold divides, one ulp above it is dry.
TEST(Transformations, EachTextComputesItsValue) {
  struct Case {
    OutputID output;
    std::size_t component;
    const char* text;
    double threshold;
    std::vector<double> values;
    double expected;
  };
  const Case cases[] = {
      {water_depth, 0, "$0-$1", 0.01, {2.5, 1.0}, 1.5},
      {delta_z, 0, "$1-$0", 0.0, {1.0, 0.75}, -0.25},
      {flow_velocity, 0, "$0/($2-$3)", 0.5, {1.0, -2.0, 2.5, 2.0}, 2.0},
      {flow_velocity, 1, "$1/($2-$3)", 0.5, {1.0, -2.0, 2.5, 2.0}, -4.0},
      {flow_velocity, 0, "$0/($2-$3)", std::nextafter(0.5, 1.0), {1.0, -2.0, 2.5, 2.0}, 0.0},
      {flow_velocity_abs, 0, "sqrt($0/($2-$3)*$0/($2-$3) + $1/($2-$3)*$1/($2-$3))", 0.5, {3.0, 4.0, 2.5, 2.0}, 10.0},
      {trsp_capacity_abs, 0, "sqrt($0*$0 + $1*$1)", 0.0, {-3.0, 4.0}, 5.0},
      {tracer5_drv, 1, "$2", 0.0, {0.5, -0.5, 9.0, 8.0}, -0.5},
      {flow_radius, 0, "1.0/$0", 0.0, {0.0}, std::numeric_limits<double>::infinity()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(OutputFunctions.at(c.output).at(c.component).first, c.text);
    EXPECT_EQ(OutputFunctions.at(c.output).at(c.component).second(c.threshold, c.values), c.expected);
  }
}
