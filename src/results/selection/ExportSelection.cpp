#include "results/selection/ExportSelection.hpp"

#include <algorithm>

#include "interfaces/Failure.hpp"
#include "model/catalogue/Catalogue.hpp"
#include "results/files/FileReferences.hpp"
#include "results/stored/OutputData.hpp"

namespace results {

namespace {

std::vector<model::OutputID> requestedOutputs(const ExportRequest& request, api::IModel& model,
                                              api::IResultReader& reader) {
  if (!request.outputs) return model.getOutputs();
  if (request.outputs->empty()) failure::fail(request.memberPath("outputs"), " lists no output");
  std::vector<model::OutputID> outputs;
  for (const std::string& name : *request.outputs) {
    const model::OutputID output = model.requireOutput(name);
    if (std::find(outputs.begin(), outputs.end(), output) != outputs.end())
      failure::fail("output <", name, "> is listed twice in ", request.memberPath("outputs"));
    const std::string missing = missingDataset(model, reader, output);
    if (!missing.empty())
      failure::fail("output <", name, "> cannot be exported: its data <", missing, "> are not in the results file <",
                    reader.getFileName(), ">");
    outputs.push_back(output);
  }
  return outputs;
}

// The stored times in [from, to], every n-th from the first; a run without
// stored times is left to the format, which reports it.
std::vector<SelectedTime> window(const ExportRequest& request, const api::TimeTable& stored) {
  std::vector<SelectedTime> times;
  if (stored.empty()) return times;
  const double from = request.from.value_or(stored.begin()->first);
  const double to = request.to.value_or(stored.rbegin()->first);
  for (const auto& [time, step] : stored)
    if (from <= time && time <= to) times.push_back({time, step});
  if (times.empty())
    failure::fail("no stored time in [", from, ", ", to, "]; the run stored ", stored.begin()->first, " to ",
                  stored.rbegin()->first, " (", stored.size(), stored.size() == 1 ? " time)" : " times)");
  std::vector<SelectedTime> kept;
  for (std::size_t i = 0; i < times.size(); i += request.every) kept.push_back(times[i]);
  return kept;
}

// The envelopes follow the hydraulic state through flow_velocity's columns:
// the water surface and the discharge of the hydraulic state, and the bed.
// Without stored times the format reports the run's lack of them.
void requireHydraulicState(const ExportRequest& request, api::IModel& model, api::IResultReader& reader,
                           bool timesSelected) {
  const std::vector<model::OutputID> valid = model.getValidOutputs();
  if (std::find(valid.begin(), valid.end(), model::flow_velocity) == valid.end())
    failure::fail(request.memberPath("envelopes"),
                  " needs the hydraulic state (water surface, bed elevation and discharge), which this model setup "
                  "does not have");
  if (!timesSelected) return;
  const model::OutputID velocity = model.requireOutput(model::OutputProps.at(model::flow_velocity).name);
  const std::string missing = missingDataset(model, reader, velocity);
  if (!missing.empty())
    failure::fail(request.memberPath("envelopes"), " needs the hydraulic state, but its data <", missing,
                  "> are not in the results file <", reader.getFileName(), ">");
}

}  // namespace

bool ExportSelection::sameContent(const ExportSelection& other) const {
  return outputs == other.outputs && times == other.times && portable == other.portable &&
         envelopes == other.envelopes && (!envelopes || envelopeWetDepth == other.envelopeWetDepth);
}

std::vector<OutputFile> ExportSelection::outputFiles() const {
  std::vector<OutputFile> files{{"auxiliary file", auxiliaryFile()}, {"document", document()}};
  if (envelopes) files.push_back({"envelope document", envelopeDocument()});
  if (mesh2dm) files.push_back({"mesh file", meshFile()});
  return files;
}

std::vector<std::string> dataPathsOf(api::IModel& model, const std::vector<model::OutputID>& outputs) {
  std::vector<std::string> paths;
  for (const model::OutputID id : outputs)
    for (const model::DataID dataId : model.getOutput(id)->getDataIDs()) paths.push_back(model.getData(dataId)->getPath());
  std::sort(paths.begin(), paths.end());
  paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
  return paths;
}

ExportSelection resolveSelection(const ExportRequest& request, const std::string& outputFile, api::IModel& model,
                                 api::IResultReader& reader) {
  ExportSelection selection;
  selection.entry = request.entry;
  selection.stem = outputStem(request.document.value_or(outputFile));
  selection.mesh2dm = request.mesh2dm;
  selection.portable = request.portable;
  selection.outputs = requestedOutputs(request, model, reader);
  const api::TimeTable stored = reader.getTimes(dataPathsOf(model, selection.outputs), false);
  selection.storedTimes = stored.size();
  selection.times = window(request, stored);
  if (request.envelopes) {
    requireHydraulicState(request, model, reader, !selection.times.empty());
    selection.envelopes = true;
    selection.envelopeWetDepth = request.wetDepth ? *request.wetDepth : minimumWaterDepth(reader);
  }
  return selection;
}

}  // namespace results
