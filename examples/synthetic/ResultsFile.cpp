#include "synthetic/ResultsFile.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "synthetic/FlowField.hpp"
#include "synthetic/H5Write.hpp"
#include "synthetic/Mesh.hpp"
#include "synthetic/ModelTexts.hpp"

namespace synthetic {
namespace {

// The simulation's own wet/dry threshold when the file does not store one.
constexpr double defaultMinDepth = 0.001;

std::string stepPath(const std::string& dataPath, int step) {
  char name[16];
  std::snprintf(name, sizeof name, "%07d", step);
  return "/RESULTS/" + dataPath + "/" + name;
}

void writeStep(hid_t file, const std::string& dataPath, int step, double time,
               const std::vector<double>& values, int columns) {
  Handle dataset = writeDoubleMatrix(file, stepPath(dataPath, step), values, columns);
  writeDoubleAttribute(dataset.get(), "t", time);
}

bool requested(const RunSettings& settings, const std::string& output) {
  return std::find(settings.outputs.begin(), settings.outputs.end(), output) != settings.outputs.end();
}

void writeStaticPart(hid_t file, const RunSettings& settings, const Channel& channel,
                     const Mesh& mesh, const std::vector<double>& times) {
  writeText(file, "/.config/model", modelText(settings.model, channel));
  writeText(file, "/.config/simulation", simulationText(settings.outputs, times));
  writeIntMatrix(file, "/CellsAll/Topology", mesh.topology, 3);
  writeDoubleMatrix(file, "/NodesAll/Coordnts", mesh.coordinates, 3);
  if (settings.minWaterDepth) {
    writeOneValue(file, "/Parameters/MinWaterDepth", *settings.minWaterDepth);
  }
}

void writeTimeSteps(hid_t file, const RunSettings& settings, FlowField& field,
                    const std::vector<double>& times) {
  // Without morphology the bed never changes, and the simulation stores it once.
  if (settings.model != ModelKind::morphology) {
    writeDoubleMatrix(file, "/CellsAll/BottomEl", field.bottom(), 1);
  }
  const bool withChezy = requested(settings, "friction_chezy");
  for (int k = 0; k < settings.steps; ++k) {
    field.advanceTo(times[k]);
    const int step = stepNumber(k, settings.steps, settings.order);
    writeStep(file, "CellsAll/HydState", step, times[k], field.hydState(), 3);
    if (settings.model == ModelKind::morphology) {
      writeStep(file, "CellsAll/BottomEl", step, times[k], field.bottom(), 1);
    }
    if (withChezy) {
      writeStep(file, "CellsAll/ChezyCoe", step, times[k], field.chezy(), 1);
    }
    if (settings.model == ModelKind::flood) {
      writeStep(file, "CellsAll/FloodVar", step, times[k], field.flood(), 5);
    }
  }
}

// A simulation is set up with an output interval of two significant digits,
// ticks / scale; each time is computed as k * ticks / scale so that it is the
// double nearest to the decimal value (29 * 1.7 gives 49.3, not 49.300000000000004).
struct Interval {
  double ticks = 0.0;
  double scale = 1.0;
};

Interval roundedInterval(double interval) {
  const double scale = std::pow(10.0, 1.0 - std::floor(std::log10(interval)));
  return {std::floor(interval * scale), scale};
}

}  // namespace

std::vector<double> outputTimes(int steps, const Channel& channel) {
  const Interval interval =
      steps > 1 ? roundedInterval(channel.endTime() / (steps - 1)) : Interval{};
  std::vector<double> times;
  for (int k = 0; k < steps; ++k) {
    times.push_back(k * interval.ticks / interval.scale);
  }
  return times;
}

int stepNumber(int k, int steps, StepOrder order) {
  return order == StepOrder::reversed ? steps - 1 - k : k;
}

void writeResultsFile(const std::string& path, const RunSettings& settings) {
  const Channel channel;
  const Mesh mesh = makeRectangleMesh(settings.cells, channel, settings.origin);
  const std::vector<double> times = outputTimes(settings.steps, channel);
  Handle file = createFile(path);
  writeStaticPart(file.get(), settings, channel, mesh, times);
  FlowField field(mesh, channel, settings.model, settings.minWaterDepth.value_or(defaultMinDepth));
  writeTimeSteps(file.get(), settings, field, times);
}

}  // namespace synthetic
