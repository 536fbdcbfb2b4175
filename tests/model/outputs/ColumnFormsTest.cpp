// The column forms against the per-cell transformations, bit for bit, on cells
// made to sit where the two could part: around the dry threshold, at zero
// and negative depth, with zero, infinite and NaN values and signed zeros.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
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

double fromBits(std::uint64_t bits) {
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

std::string hex(double value) {
  std::ostringstream text;
  text << std::hexfloat << value << " (0x" << std::hex << bitsOf(value) << ")";
  return text.str();
}

// Values of every kind a stored column could hold, ordinary ones most often.
class ValueSource {
 public:
  explicit ValueSource(unsigned seed) : random(seed) {}

  double any() {
    switch (pick(17)) {
      case 0: return 0.0;
      case 1: return -0.0;
      case 2: return infinity;
      case 3: return -infinity;
      case 4: return nan();
      case 5: return std::numeric_limits<double>::denorm_min() * static_cast<double>(pick(1000) + 1) * sign();
      case 6: return 1e300 * uniform(0.5, 2.0) * sign();
      case 7: return 1e-300 * uniform(0.5, 2.0) * sign();
      case 8: return static_cast<double>(pick(1000)) * sign();
      // 27 significant bits: the exact square of such a value often lies
      // halfway between two doubles, where pow(x, 2) and x * x may round apart.
      case 9: return std::ldexp(static_cast<double>((1u << 26) + pick(1u << 26)), static_cast<int>(pick(40)) - 30);
      default: return uniform(-50.0, 50.0);
    }
  }

  // A quiet NaN of either sign with a payload, or the default one.
  double nan() {
    if (pick(2) == 0) return std::numeric_limits<double>::quiet_NaN() * sign();
    const std::uint64_t payload = (random() & 0x7ffffffffffffull) | 1u;
    return fromBits(0x7ff8000000000000ull | payload | (pick(2) == 0 ? 0 : 0x8000000000000000ull));
  }

  double uniform(double low, double high) { return std::uniform_real_distribution<double>(low, high)(random); }
  double sign() { return pick(2) == 0 ? 1.0 : -1.0; }
  unsigned pick(unsigned choices) { return static_cast<unsigned>(random() % choices); }

 private:
  std::mt19937_64 random;
};

// The positions of an output's column list that hold the hydraulic state.
struct HydraulicPositions {
  std::vector<std::size_t> surface, bottom, discharge;
};

HydraulicPositions hydraulicPositions(OutputID output) {
  HydraulicPositions positions;
  const std::vector<DataColumn>& columns = Output2DataColumns.at(output);
  for (std::size_t p = 0; p < columns.size(); ++p) {
    if (columns[p] == DataColumn(data_HydState, 0)) positions.surface.push_back(p);
    if (columns[p] == DataColumn(data_BottomEl, 0)) positions.bottom.push_back(p);
    if (columns[p] == DataColumn(data_HydState, 1) || columns[p] == DataColumn(data_HydState, 2))
      positions.discharge.push_back(p);
  }
  return positions;
}

// A depth for one cell, chosen around the threshold: exactly at it, one ulp
// below and above, clearly wet or dry, zero or negative; sometimes not finite.
double depthAround(ValueSource& values, double threshold) {
  switch (values.pick(10)) {
    case 0: return threshold;
    case 1: return std::nextafter(threshold, -infinity);
    case 2: return std::nextafter(threshold, infinity);
    case 3: return threshold * values.uniform(0.0, 1.0);
    case 4: return -values.uniform(0.0, 5.0);
    case 5: return values.pick(2) == 0 ? 0.0 : -0.0;
    case 6: return values.any();
    default: return threshold + values.uniform(0.0, 20.0);
  }
}

// The bed under a cell of depth h, chosen so that H - zb gives h back exactly
// where possible: the dry test must see the depth the cell was made with.
double bedUnder(ValueSource& values, double depth) {
  if (!std::isfinite(depth) || values.pick(4) == 0) return 0.0;
  const double bed = static_cast<double>(values.pick(900)) - 400.0;
  return (bed + depth) - bed == depth ? bed : 0.0;
}

// cells x (the output's column count) values, column by column.
std::vector<std::vector<double>> generatedColumns(OutputID output, double threshold, unsigned seed) {
  ValueSource values(seed);
  const std::size_t width = Output2DataColumns.at(output).size();
  const HydraulicPositions hydraulic = hydraulicPositions(output);
  std::vector<std::vector<double>> columns(width, std::vector<double>(generatedCells));
  for (std::size_t cell = 0; cell < generatedCells; ++cell) {
    for (std::size_t p = 0; p < width; ++p) columns[p][cell] = values.any();
    if (!hydraulic.surface.empty() && !hydraulic.bottom.empty() && values.pick(8) != 0) {
      const double depth = depthAround(values, threshold);
      const double bed = bedUnder(values, depth);
      for (std::size_t p : hydraulic.bottom) columns[p][cell] = bed;
      for (std::size_t p : hydraulic.surface) columns[p][cell] = bed + depth;
    }
    for (std::size_t p : hydraulic.discharge) {
      if (values.pick(5) == 0) columns[p][cell] = values.pick(2) == 0 ? 0.0 : -0.0;
    }
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
  for (std::size_t p = 0; p < width; ++p) positions[p] = static_cast<int>(p);
  return positions;
}

// Equal bits, or NaN both. Which NaN a sum of two NaNs gives is the choice
// of the compiler, which orders the operands of an addition as it likes: the
// per-cell speed itself keeps the NaN of the x term in an optimised build and
// that of the y term in an unoptimised one, and the column form follows the
// optimised build. Every other result, signed zeros and infinities included,
// must have the same bits.
bool sameResult(double expected, double computed) {
  if (std::isnan(expected)) return std::isnan(computed);
  return bitsOf(expected) == bitsOf(computed);
}

// Every cell of one component, both ways; the first few cells that differ
// are named with their inputs.
void expectSameBits(OutputID output, std::size_t component, double threshold,
                    const std::vector<std::vector<double>>& columns, const double* computed) {
  const TransformFunction& reference = OutputFunctions.at(output).at(component).second;
  std::size_t differing = 0;
  std::vector<double> cell(columns.size());
  for (std::size_t i = 0; i < generatedCells; ++i) {
    for (std::size_t p = 0; p < columns.size(); ++p) cell[p] = columns[p][i];
    const double expected = reference(threshold, cell);
    if (sameResult(expected, computed[i])) continue;
    if (++differing > 5) continue;
    std::ostringstream inputs;
    for (double value : cell) inputs << " " << hex(value);
    ADD_FAILURE() << OutputProps.at(output).name << " component " << component << ", threshold " << threshold
                  << ", cell " << i << ":" << inputs.str() << "\n  per cell " << hex(expected) << "\n  column   "
                  << hex(computed[i]);
  }
  EXPECT_EQ(differing, 0u) << OutputProps.at(output).name << " component " << component;
}

const std::vector<double> thresholds = {0.001, 0.0, 0.05};

}  // namespace

TEST(ColumnForms, EveryComputedOutputHasOneFormPerComponentOverItsColumns) {
  ASSERT_EQ(OutputColumnForms.size(), OutputFunctions.size());
  for (const auto& [output, forms] : OutputColumnForms) {
    ASSERT_EQ(OutputFunctions.count(output), 1u) << OutputProps.at(output).name;
    EXPECT_EQ(forms.size(), OutputFunctions.at(output).size()) << OutputProps.at(output).name;
    const int width = static_cast<int>(Output2DataColumns.at(output).size());
    for (const ColumnForm& form : forms) {
      for (int operand : form.operands) {
        EXPECT_GE(operand, 0);
        EXPECT_LT(operand, width) << OutputProps.at(output).name;
      }
    }
  }
}

TEST(ColumnForms, EveryComponentMatchesItsTransformationBitForBit) {
  unsigned seed = 1;
  for (const double threshold : thresholds) {
    for (const auto& [output, forms] : OutputColumnForms) {
      const std::vector<std::vector<double>> columns = generatedColumns(output, threshold, seed++);
      ColumnEvaluator evaluator;
      evaluator.beginRun(threshold, sourcesOf(columns));
      for (std::size_t f = 0; f < forms.size(); ++f)
        expectSameBits(output, f, threshold, columns, evaluator.evaluate(forms[f], identity(columns.size())));
    }
  }
}

// flow_velocity_abs first computes both velocities; flow_velocity then takes
// them as they are, and a second run with other cells computes afresh.
TEST(ColumnForms, SharedResultsAreThoseOfTheirOwnRun) {
  const double threshold = 0.001;
  ColumnEvaluator evaluator;
  const std::vector<int> positions = identity(4);
  for (unsigned seed : {11u, 12u}) {
    const std::vector<std::vector<double>> columns = generatedColumns(flow_velocity, threshold, seed);
    evaluator.beginRun(threshold, sourcesOf(columns));
    const double* speed = evaluator.evaluate(OutputColumnForms.at(flow_velocity_abs).at(0), positions);
    const double* x = evaluator.evaluate(OutputColumnForms.at(flow_velocity).at(0), positions);
    const double* y = evaluator.evaluate(OutputColumnForms.at(flow_velocity).at(1), positions);
    expectSameBits(flow_velocity_abs, 0, threshold, columns, speed);
    expectSameBits(flow_velocity, 0, threshold, columns, x);
    expectSameBits(flow_velocity, 1, threshold, columns, y);
  }
}

// water_depth's H and zb are flow_velocity's third and fourth sources: the
// velocities use the depth that water_depth computed.
TEST(ColumnForms, OutputsOfOtherColumnListsShareTheSourcesTheyHaveInCommon) {
  const double threshold = 0.001;
  const std::vector<std::vector<double>> columns = generatedColumns(flow_velocity, threshold, 21);
  ColumnEvaluator evaluator;
  evaluator.beginRun(threshold, sourcesOf(columns));
  const double* depth = evaluator.evaluate(OutputColumnForms.at(water_depth).at(0), {2, 3});
  const double* x = evaluator.evaluate(OutputColumnForms.at(flow_velocity).at(0), identity(4));
  expectSameBits(flow_velocity, 0, threshold, columns, x);
  for (std::size_t i = 0; i < generatedCells; ++i) {
    ASSERT_EQ(bitsOf(depth[i]), bitsOf(columns[2][i] - columns[3][i])) << i;
  }
  EXPECT_EQ(evaluator.evaluate(ColumnForm{ColumnKernel::Difference, {0, 1}}, {2, 3}), depth);
}

TEST(ColumnForms, StoredColumnsAreTheSourcesThemselves) {
  const std::vector<double> tracer = {1.0, -2.0, 3.0};
  ColumnEvaluator evaluator;
  evaluator.beginRun(0.0, {{tracer.data(), tracer.size()}});
  EXPECT_EQ(evaluator.evaluate(OutputColumnForms.at(tracer1).at(0), {0}), tracer.data());
}

TEST(ColumnForms, OperandsOfDifferentLengthsAreRefused) {
  const std::vector<double> surface = {2.0, 3.0};
  const std::vector<double> bottom = {1.0};
  ColumnEvaluator evaluator;
  evaluator.beginRun(0.0, {{surface.data(), surface.size()}, {bottom.data(), bottom.size()}});
  const std::string report = testing_support::failureReport(
      [&] { evaluator.evaluate(OutputColumnForms.at(water_depth).at(0), {0, 1}); });
  EXPECT_EQ(report.rfind(" -> the columns of a computed component differ in length, in file: "
                         "src/model/outputs/ColumnEvaluator.cpp on line ",
                         0),
            0u)
      << report;
}
