#include "results/selection/ExportSelection.hpp"

#include <algorithm>

#include "interfaces/Failure.hpp"
#include "model/catalogue/Catalogue.hpp"
#include "results/files/DocumentName.hpp"
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

// What a member needs: an output of the model setup (named by its long
// description when the setup lacks it) whose data the results file holds.
// Without stored times the format reports the run's lack of them.
struct Need {
  const char* member;
  model::OutputID output;
  const char* setupText;
  const char* dataText;
};

void requireData(const ExportRequest& request, api::IModel& model, api::IResultReader& reader, bool timesSelected,
                 const Need& need) {
  const std::vector<model::OutputID> valid = model.getValidOutputs();
  if (std::find(valid.begin(), valid.end(), need.output) == valid.end())
    failure::fail(request.memberPath(need.member), " needs ", need.setupText, ", which this model setup does not have");
  if (!timesSelected) return;
  const model::OutputID output = model.requireOutput(model::OutputProps.at(need.output).name);
  const std::string missing = missingDataset(model, reader, output);
  if (!missing.empty())
    failure::fail(request.memberPath(need.member), " needs ", need.dataText, ", but its data <", missing,
                  "> are not in the results file <", reader.getFileName(), ">");
}

// The envelopes follow the hydraulic state through flow_velocity's columns:
// the water surface and the discharge of the hydraulic state, and the bed.
const Need envelopeNeed{"envelopes", model::flow_velocity,
                        "the hydraulic state (water surface, bed elevation and discharge)", "the hydraulic state"};
// The sections sum the stored discharge, spec_discharge's data.
const Need sectionNeed{"sections", model::spec_discharge, "the specific discharge", "the specific discharge"};

}  // namespace

std::vector<std::string> ExportSelection::seriesFiles() const {
  std::vector<std::string> files;
  for (const Gauge& gauge : hydrographs.gauges) files.push_back(gaugeFileOf(stem, gauge.name));
  if (!hydrographs.sections.empty()) files.push_back(sectionsFileOf(stem));
  return files;
}

bool ExportSelection::sameContent(const ExportSelection& other) const {
  return outputs == other.outputs && times == other.times && portable == other.portable &&
         envelopes == other.envelopes && (!envelopes || envelopeWetDepth == other.envelopeWetDepth) &&
         maps == other.maps;
}

std::vector<OutputFile> ExportSelection::outputFiles() const {
  std::vector<OutputFile> files{{"auxiliary file", auxiliaryFile()}, {"document", document()}};
  if (envelopes) files.push_back({"envelope document", envelopeDocument()});
  if (mesh2dm) files.push_back({"mesh file", meshFile()});
  for (const std::string& series : seriesFiles()) files.push_back({"series file", series});
  for (const std::string& map : mapFiles()) files.push_back({"map", map});
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
  const std::string documentName = request.document.value_or(outputFile);
  requireDocumentName(documentName);
  selection.stem = outputStem(documentName);
  selection.mesh2dm = request.mesh2dm;
  selection.portable = request.portable;
  selection.outputs = requestedOutputs(request, model, reader);
  const api::TimeTable stored = reader.getTimes(dataPathsOf(model, selection.outputs), false);
  selection.storedTimes = stored.size();
  selection.times = window(request, stored);
  if (request.envelopes) {
    requireData(request, model, reader, !selection.times.empty(), envelopeNeed);
    selection.envelopes = true;
    selection.envelopeWetDepth = request.wetDepth ? *request.wetDepth : minimumWaterDepth(reader);
  }
  if (!request.hydrographs.sections.empty()) requireData(request, model, reader, !selection.times.empty(), sectionNeed);
  selection.hydrographs = request.hydrographs;
  if (request.maps)
    selection.maps = resolveMaps(*request.maps, {request.memberPath("maps"), selection.envelopes, selection.outputs},
                                 model);
  return selection;
}

}  // namespace results
