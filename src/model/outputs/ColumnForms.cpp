// The loops must stay free of calls through pointers and of branches that the
// vectoriser cannot turn into selections. The library is built without errno
// for math functions (so that sqrt is one instruction) and without floating
// point contraction (so that no fused multiply-add rounds one form
// differently from the other where a build enables them).

#include "model/outputs/ColumnForms.hpp"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "model/outputs/OutputDefinitions.hpp"

namespace model {

using K = ColumnKernel;

const std::map<OutputID, std::vector<ColumnForm>> OutputColumnForms = {
    {water_depth,       {{K::Difference, {0, 1}}}},
    {delta_z,           {{K::Difference, {1, 0}}}},
    {flow_velocity,     {{K::Velocity, {0, 2, 3}}, {K::Velocity, {1, 2, 3}}}},
    {flow_velocity_abs, {{K::Speed, {0, 1, 2, 3}}}},
    {tracer1,           {{K::Column, {0}}}},
    {tracer2,           {{K::Column, {0}}}},
    {tracer3,           {{K::Column, {0}}}},
    {tracer4,           {{K::Column, {0}}}},
    {tracer5,           {{K::Column, {0}}}},
    {tracer1_drv,       {{K::Column, {0}}, {K::Column, {1}}}},
    {tracer5_drv,       {{K::Column, {0}}, {K::Column, {1}}}},
    {flow_radius,       {{K::Reciprocal, {0}}}},
    {trsp_capacity_abs, {{K::Magnitude, {0, 1}}}},
};

namespace {

using CellFunction = double (*)(const double&, const std::vector<double>&);

bool sameFunction(const TransformFunction& one, const TransformFunction& other) {
  const CellFunction* first = one.target<CellFunction>();
  const CellFunction* second = other.target<CellFunction>();
  return first != nullptr && second != nullptr && *first == *second;
}

}  // namespace

std::vector<ColumnForm> columnFormsFor(OutputID output, const std::vector<TransformFunction>& transformations) {
  const auto forms = OutputColumnForms.find(output);
  const auto functions = OutputFunctions.find(output);
  if (forms == OutputColumnForms.end() || functions == OutputFunctions.end()) return {};
  if (transformations.size() != functions->second.size()) return {};
  for (std::size_t f = 0; f < transformations.size(); ++f)
    if (!sameFunction(transformations[f], functions->second[f].second)) return {};
  return forms->second;
}

namespace columns {

namespace {

double everyBit() {
  const std::uint64_t bits = ~std::uint64_t(0);
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

}  // namespace

void difference(std::size_t cells, const double* a, const double* b, double* result) {
  for (std::size_t i = 0; i < cells; ++i) result[i] = a[i] - b[i];
}

void reciprocal(std::size_t cells, const double* a, double* result) {
  for (std::size_t i = 0; i < cells; ++i) result[i] = 1.0 / a[i];
}

void magnitude(std::size_t cells, const double* a, const double* b, double* result) {
  for (std::size_t i = 0; i < cells; ++i) result[i] = std::sqrt(std::pow(b[i], 2) + std::pow(a[i], 2));
}

void wetCells(std::size_t cells, double threshold, const double* depth, double* wet) {
  const double keep = everyBit();
  for (std::size_t i = 0; i < cells; ++i) wet[i] = threshold > depth[i] ? 0.0 : keep;
}

// The quotient of every cell, its bits kept where the cell is wet and cleared
// (to 0.0) where it is dry: a division under a condition would be a possible
// trap that the vectoriser must not execute speculatively, and would keep
// the loop scalar.
void velocity(std::size_t cells, const double* discharge, const double* depth, const double* wet, double* result) {
  for (std::size_t i = 0; i < cells; ++i) {
    const double quotient = discharge[i] / depth[i];
    std::uint64_t bits;
    std::uint64_t mask;
    std::memcpy(&bits, &quotient, sizeof bits);
    std::memcpy(&mask, &wet[i], sizeof mask);
    bits &= mask;
    std::memcpy(&result[i], &bits, sizeof bits);
  }
}

}  // namespace columns

}  // namespace model
