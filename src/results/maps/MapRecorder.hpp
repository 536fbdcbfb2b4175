#pragma once
// The values of the outputs an entry maps, gathered at every selected time
// the export passes: one value per cell and time, as the document shows it,
// kept as Float32 (the raster's own type) until the maps are drawn.

#include <map>
#include <string>
#include <vector>

#include "interfaces/IModel.hpp"
#include "interfaces/IResultReader.hpp"
#include "results/hydrographs/GaugeOutput.hpp"
#include "results/maps/MapSelection.hpp"
#include "results/xdmf/DryDepth.hpp"
#include "results/xdmf/StoredSteps.hpp"

namespace results {

struct MapBand {
  double time = 0.0;
  std::vector<float> values;  // per cell
};

class MapRecorder {
 public:
  MapRecorder(api::IResultReader& reader, api::IModel& model, const MapSelection& maps, int cells);

  // The times arrive in ascending order; an output not stored at the step
  // gets no band for it.
  void addStep(double time, int step);
  // Per output of the selection, its bands in time order.
  const std::vector<std::vector<MapBand>>& bands() const { return recorded; }

 private:
  std::vector<float> valuesAt(const GaugeOutput& output, int step, std::map<std::string, api::DoubleTable>& tables);

  api::IResultReader& reader;
  api::IModel& model;
  MapSelection maps;
  int cells;
  DryDepth dryDepth;
  StoredSteps storedSteps;
  std::vector<GaugeOutput> outputs;
  std::vector<std::vector<MapBand>> recorded;
};

}  // namespace results
