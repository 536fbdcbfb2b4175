// Output columns and transformations. The XDMF text lets the viewer compute a
// component over the selected columns ($0 is the first); the transformation
// computes the same value for the auxiliary file. Values are read with at(), so
// a column list shorter than a function needs fails instead of reading past it.

#include "model/outputs/OutputDefinitions.hpp"

#include <cmath>

namespace model {
namespace {

using Values = std::vector<double>;

double firstColumn(const double&, const Values& v) { return v.at(0); }
double secondColumn(const double&, const Values& v) { return v.at(1); }
double firstMinusSecond(const double&, const Values& v) { return v.at(0) - v.at(1); }
double secondMinusFirst(const double&, const Values& v) { return v.at(1) - v.at(0); }
double inverse(const double&, const Values& v) { return 1.0 / v.at(0); }

// Columns qx, qy, H, zb. A cell shallower than the threshold depth has no
// velocity; a depth equal to the threshold still divides.
double velocityX(const double& d, const Values& v) {
  const double h = v.at(2) - v.at(3);
  if (d > h) return 0.0;
  return v.at(0) / h;
}

double velocityY(const double& d, const Values& v) {
  const double h = v.at(2) - v.at(3);
  if (d > h) return 0.0;
  return v.at(1) / h;
}

double velocityMagnitude(const double& d, const Values& v) {
  const double h = v.at(2) - v.at(3);
  if (d > h) return 0.0;
  return std::sqrt(std::pow(v.at(1) / h, 2) + std::pow(v.at(0) / h, 2));
}

double vectorMagnitude(const double&, const Values& v) {
  return std::sqrt(std::pow(v.at(1), 2) + std::pow(v.at(0), 2));
}

}  // namespace

const std::map<OutputID, std::vector<DataColumn>> Output2DataColumns = {
    {water_surface,     {{data_HydState, 0}}},
    {water_depth,       {{data_HydState, 0}, {data_BottomEl, 0}}},
    {bottom_elevation,  {{data_BottomEl, 0}}},
    {friction_chezy,    {{data_ChezyCoe, 0}}},
    {spec_discharge,    {{data_HydState, 1}, {data_HydState, 2}}},
    {delta_z,           {{data_BottomEl, 0}, {data_BottomEl, 0}}},
    {flow_velocity,     {{data_HydState, 1}, {data_HydState, 2}, {data_HydState, 0}, {data_BottomEl, 0}}},
    {flow_velocity_abs, {{data_HydState, 1}, {data_HydState, 2}, {data_HydState, 0}, {data_BottomEl, 0}}},
    {tracer1,           {{data_TrcState, 0}, {data_HydState, 0}, {data_BottomEl, 0}}},
    {tracer2,           {{data_TrcState, 3}, {data_HydState, 0}, {data_BottomEl, 0}}},
    {tracer3,           {{data_TrcState, 6}, {data_HydState, 0}, {data_BottomEl, 0}}},
    {tracer4,           {{data_TrcState, 9}, {data_HydState, 0}, {data_BottomEl, 0}}},
    {tracer5,           {{data_TrcState, 12}, {data_HydState, 0}, {data_BottomEl, 0}}},
    {tracer1_drv,       {{data_TrcState, 1}, {data_TrcState, 2}, {data_HydState, 0}, {data_BottomEl, 0}}},
    {tracer5_drv,       {{data_TrcState, 13}, {data_TrcState, 14}, {data_HydState, 0}, {data_BottomEl, 0}}},
    {ns_hyd_discharge,  {{data_StateVar, 1}}},
    {ns_mor_discharge,  {{data_StateVar, 8}}},
    {flow_curvature,    {{data_FlowCurv, 0}}},
    {flow_radius,       {{data_FlowCurv, 0}}},
    {bed_gradient,      {{data_BedGrdnt, 0}, {data_BedGrdnt, 1}}},
    {theta,             {{data_ThetaShd, 0}}},
    {theta_critical,    {{data_ThetaCrt, 0}}},
    {trsp_capacity,     {{data_BedTrCap, 0}, {data_BedTrCap, 1}}},
    {trsp_capacity_abs, {{data_BedTrCap, 0}, {data_BedTrCap, 1}}},
    {flood_tracking,    {{data_FloodVar, 0}, {data_FloodVar, 1}, {data_FloodVar, 2}, {data_FloodVar, 3}, {data_FloodVar, 4}}},
};

// The derivative texts name $1 and $2 while their transformations read the
// first two columns; the export uses the transformations for them.
const std::map<OutputID, std::vector<OutputFunction>> OutputFunctions = {
    {water_depth,       {{"$0-$1", firstMinusSecond}}},
    {delta_z,           {{"$1-$0", secondMinusFirst}}},
    {flow_velocity,     {{"$0/($2-$3)", velocityX}, {"$1/($2-$3)", velocityY}}},
    {flow_velocity_abs, {{"sqrt($0/($2-$3)*$0/($2-$3) + $1/($2-$3)*$1/($2-$3))", velocityMagnitude}}},
    {tracer1,           {{"$0", firstColumn}}},
    {tracer2,           {{"$0", firstColumn}}},
    {tracer3,           {{"$0", firstColumn}}},
    {tracer4,           {{"$0", firstColumn}}},
    {tracer5,           {{"$0", firstColumn}}},
    {tracer1_drv,       {{"$1", firstColumn}, {"$2", secondColumn}}},
    {tracer5_drv,       {{"$1", firstColumn}, {"$2", secondColumn}}},
    {flow_radius,       {{"1.0/$0", inverse}}},
    {trsp_capacity_abs, {{"sqrt($0*$0 + $1*$1)", vectorMagnitude}}},
};

}  // namespace model
