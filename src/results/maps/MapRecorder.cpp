#include "results/maps/MapRecorder.hpp"

#include <map>

#include "interfaces/Failure.hpp"

namespace results {

MapRecorder::MapRecorder(api::IResultReader& reader_, api::IModel& model_, const MapSelection& maps_, int cells_)
    : reader(reader_), model(model_), maps(maps_), cells(cells_), dryDepth(reader_), storedSteps(reader_, model_) {
  for (const model::OutputID id : maps.outputs) outputs.emplace_back(model, model.getOutput(id));
  recorded.resize(outputs.size());
}

// Each input dataset of the step is read whole once, whichever outputs
// share it (water_depth and water_surface both read the hydraulic state).
void MapRecorder::addStep(double time, int step) {
  std::map<std::string, api::DoubleTable> tables;
  for (std::size_t o = 0; o < outputs.size(); ++o) {
    if (!storedSteps.holds(model.getOutput(maps.outputs[o]), step)) continue;
    recorded[o].push_back({time, valuesAt(outputs[o], step, tables)});
  }
}

// The columns are taken from the step's tables cell by cell.
std::vector<float> MapRecorder::valuesAt(const GaugeOutput& output, int step,
                                         std::map<std::string, api::DoubleTable>& tables) {
  const std::vector<StepInput> inputs = output.inputs(step);
  for (const StepInput& input : inputs) {
    if (tables.count(input.path) == 0) reader.readDoubleTable(input.path, tables[input.path]);
    const api::DoubleTable& read = tables.at(input.path);
    RESULTS_CHECK(read.rows >= cells && input.column < read.columns, "the data of a map do not cover the mesh");
  }
  const double dry = dryDepth.value();
  std::vector<float> values(static_cast<std::size_t>(cells));
  std::vector<const api::DoubleTable*> source;
  for (const StepInput& input : inputs) source.push_back(&tables.at(input.path));
  std::vector<double> stored(inputs.size());
  for (std::size_t cell = 0; cell < values.size(); ++cell) {
    for (std::size_t k = 0; k < inputs.size(); ++k)
      stored[k] = source[k]->values[cell * static_cast<std::size_t>(source[k]->columns) +
                                    static_cast<std::size_t>(inputs[k].column)];
    values[cell] = static_cast<float>(output.values(dry, stored).front());
  }
  return values;
}

}  // namespace results
