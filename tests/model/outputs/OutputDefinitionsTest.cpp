#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/catalogue/Catalogue.hpp"
#include "model/outputs/OutputDefinitions.hpp"

using namespace model;

namespace {

double evaluate(OutputID output, std::size_t component, double threshold, const std::vector<double>& values) {
  return OutputFunctions.at(output).at(component).second(threshold, values);
}

std::string text(OutputID output, std::size_t component) { return OutputFunctions.at(output).at(component).first; }

}  // namespace

TEST(OutputDefinitions, EveryOutputHasColumnsWithinItsData) {
  for (const auto& output : OutputProps) {
    ASSERT_EQ(Output2DataColumns.count(output.first), 1u) << output.second.name;
    for (const DataColumn& column : Output2DataColumns.at(output.first)) {
      EXPECT_GE(column.second, 0);
      EXPECT_LT(column.second, DataProps.at(column.first).size) << output.second.name;
    }
  }
}

TEST(OutputDefinitions, FunctionEntriesNumberTheComponents) {
  for (const auto& entry : OutputFunctions) {
    EXPECT_EQ(static_cast<int>(entry.second.size()), OutputProps.at(entry.first).size) << entry.first;
  }
}

TEST(OutputDefinitions, StoredOutputsHaveOneColumnPerComponent) {
  const std::vector<OutputID> stored = {water_surface,  bottom_elevation, friction_chezy, spec_discharge,
                                        ns_hyd_discharge, ns_mor_discharge, flow_curvature, bed_gradient,
                                        theta,          theta_critical,   trsp_capacity,  flood_tracking};
  for (const auto& output : OutputProps) {
    const bool isStored = isListed(stored, output.first);
    EXPECT_EQ(OutputFunctions.count(output.first) == 0, isStored) << output.second.name;
    if (isStored) {
      EXPECT_EQ(static_cast<int>(Output2DataColumns.at(output.first).size()), output.second.size);
    }
  }
}

TEST(OutputDefinitions, TracerColumnsStandThreeApart) {
  const std::vector<OutputID> tracers = {tracer1, tracer2, tracer3, tracer4, tracer5};
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(Output2DataColumns.at(tracers[k]).front(), DataColumn(data_TrcState, 3 * k));
    EXPECT_EQ(text(tracers[k], 0), "$0");
  }
  EXPECT_EQ(Output2DataColumns.at(tracer5_drv).at(1), DataColumn(data_TrcState, 14));
}

TEST(Transformations, WaterDepthIsSurfaceMinusBottom) {
  EXPECT_EQ(text(water_depth, 0), "$0-$1");
  EXPECT_DOUBLE_EQ(evaluate(water_depth, 0, 0.01, {2.5, 1.0}), 1.5);
  EXPECT_EQ(text(delta_z, 0), "$1-$0");
  EXPECT_DOUBLE_EQ(evaluate(delta_z, 0, 0.0, {1.0, 0.75}), -0.25);
}

TEST(Transformations, VelocityDividesAtTheThresholdAndNotBelow) {
  EXPECT_EQ(text(flow_velocity, 0), "$0/($2-$3)");
  EXPECT_EQ(text(flow_velocity, 1), "$1/($2-$3)");
  // h = 2.5 - 2.0 = 0.5 equals the threshold: still divides.
  EXPECT_DOUBLE_EQ(evaluate(flow_velocity, 0, 0.5, {1.0, -2.0, 2.5, 2.0}), 2.0);
  EXPECT_DOUBLE_EQ(evaluate(flow_velocity, 1, 0.5, {1.0, -2.0, 2.5, 2.0}), -4.0);
  const double below = std::nextafter(0.5, 1.0);
  EXPECT_EQ(evaluate(flow_velocity, 0, below, {1.0, -2.0, 2.5, 2.0}), 0.0);
  EXPECT_EQ(evaluate(flow_velocity, 1, below, {1.0, -2.0, 2.5, 2.0}), 0.0);
  EXPECT_EQ(evaluate(flow_velocity_abs, 0, below, {3.0, 4.0, 2.5, 2.0}), 0.0);
}

TEST(Transformations, VelocityMagnitude) {
  EXPECT_EQ(text(flow_velocity_abs, 0), "sqrt($0/($2-$3)*$0/($2-$3) + $1/($2-$3)*$1/($2-$3))");
  EXPECT_DOUBLE_EQ(evaluate(flow_velocity_abs, 0, 0.5, {3.0, 4.0, 2.5, 2.0}), 10.0);
  EXPECT_EQ(text(trsp_capacity_abs, 0), "sqrt($0*$0 + $1*$1)");
  EXPECT_DOUBLE_EQ(evaluate(trsp_capacity_abs, 0, 0.0, {-3.0, 4.0}), 5.0);
}

TEST(Transformations, StoredColumnsPassUnchanged) {
  EXPECT_EQ(evaluate(tracer3, 0, 100.0, {0.25, 9.0, 8.0}), 0.25);
  EXPECT_EQ(text(tracer1_drv, 0), "$1");
  EXPECT_EQ(text(tracer1_drv, 1), "$2");
  EXPECT_EQ(evaluate(tracer5_drv, 0, 0.0, {0.5, -0.5, 9.0, 8.0}), 0.5);
  EXPECT_EQ(evaluate(tracer5_drv, 1, 0.0, {0.5, -0.5, 9.0, 8.0}), -0.5);
}

TEST(Transformations, FlowRadiusAtZeroCurvatureIsInfinite) {
  EXPECT_EQ(text(flow_radius, 0), "1.0/$0");
  EXPECT_EQ(evaluate(flow_radius, 0, 0.0, {0.0}), std::numeric_limits<double>::infinity());
  EXPECT_DOUBLE_EQ(evaluate(flow_radius, 0, 0.0, {0.25}), 4.0);
}

TEST(Transformations, TooFewValuesThrowOutOfRange) {
  EXPECT_THROW(evaluate(flow_velocity, 0, 0.0, {1.0, 2.0, 3.0}), std::out_of_range);
  EXPECT_THROW(evaluate(water_depth, 0, 0.0, {1.0}), std::out_of_range);
  EXPECT_THROW(evaluate(tracer1, 0, 0.0, {}), std::out_of_range);
  EXPECT_THROW(evaluate(tracer1_drv, 1, 0.0, {1.0}), std::out_of_range);
  EXPECT_THROW(evaluate(trsp_capacity_abs, 0, 0.0, {1.0}), std::out_of_range);
}
