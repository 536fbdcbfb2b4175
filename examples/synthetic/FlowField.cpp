#include "synthetic/FlowField.hpp"

#include <algorithm>
#include <cmath>

#include "synthetic/FloodTracking.hpp"
#include "synthetic/Ritter.hpp"

namespace synthetic {
namespace {

constexpr double pi = 3.14159265358979323846;
// A weak cross flow, zero at both walls, so that qy is not identically zero.
constexpr double crossFlowShare = 0.05;
// Bed erosion rate alpha * (u - uc)^2 where the flow is fast; slight by intent.
constexpr double erosionFactor = 2.0e-5;  // s/m
constexpr double criticalSpeed = 1.0;     // m/s

double erosionRate(double speed) {
  const double excess = std::max(0.0, speed - criticalSpeed);
  return erosionFactor * excess * excess;
}

}  // namespace

FlowField::FlowField(const Mesh& cells, const Channel& flume, ModelKind kind, double threshold)
    : mesh(cells),
      channel(flume),
      model(kind),
      minDepth(threshold),
      state(3 * cells.centreX.size()),
      bed(cells.centreX.size()),
      chezyValue(cells.centreX.size()) {
  for (std::size_t cell = 0; cell < bed.size(); ++cell) {
    bed[cell] = channel.bed(mesh.centreX[cell]);
  }
  if (model == ModelKind::flood) {
    floodVar = untrackedFlood(bed.size());
  }
}

void FlowField::advanceTo(double time) {
  const double interval = std::max(0.0, time - previousTime);
  for (std::size_t cell = 0; cell < bed.size(); ++cell) {
    advanceCell(cell, time, interval);
  }
  previousTime = time;
}

void FlowField::advanceCell(std::size_t cell, double time, double interval) {
  const DepthVelocity flow = ritter(mesh.centreX[cell] - channel.damPosition, time,
                                    channel.upstreamDepth, Channel::gravity);
  const double qx = flow.h * flow.u;
  const double qy = crossFlowShare * qx * std::sin(2.0 * pi * mesh.centreY[cell] / mesh.width());
  const double discharge = std::hypot(qx, qy);
  const bool wet = flow.h > minDepth;
  const double speed = wet ? discharge / flow.h : 0.0;
  if (model == ModelKind::morphology && wet) {
    bed[cell] -= interval * erosionRate(speed);
  }
  state[3 * cell] = bed[cell] + flow.h;
  state[3 * cell + 1] = qx;
  state[3 * cell + 2] = qy;
  // c^2 = C^2 / g = h^(1/3) / (g n^2), Manning's closure.
  chezyValue[cell] = std::cbrt(std::max(flow.h, minDepth)) /
                     (Channel::gravity * channel.manning * channel.manning);
  if (model == ModelKind::flood) {
    trackFlood(&floodVar[5 * cell], time, {flow.h, speed, discharge, chezyValue[cell]}, minDepth);
  }
}

}  // namespace synthetic
