#pragma once
// The cell values of the dam break at one stored time: the hydraulic state,
// the bed, the friction value and, in a flood model, the tracked maxima.

#include <vector>

#include "synthetic/Channel.hpp"
#include "synthetic/Mesh.hpp"
#include "synthetic/RunSettings.hpp"

namespace synthetic {

class FlowField {
 public:
  FlowField(const Mesh& mesh, const Channel& channel, ModelKind model, double minDepth);

  // Times must not decrease: the bed erodes and the flood maxima grow from
  // one call to the next.
  void advanceTo(double time);

  const std::vector<double>& hydState() const { return state; }  // H, qx, qy per cell
  const std::vector<double>& bottom() const { return bed; }       // zb per cell
  const std::vector<double>& chezy() const { return chezyValue; }
  const std::vector<double>& flood() const { return floodVar; }   // five columns per cell

 private:
  void advanceCell(std::size_t cell, double time, double interval);

  const Mesh& mesh;
  Channel channel;
  ModelKind model;
  double minDepth;
  double previousTime = 0.0;
  std::vector<double> state;
  std::vector<double> bed;
  std::vector<double> chezyValue;
  std::vector<double> floodVar;
};

}  // namespace synthetic
