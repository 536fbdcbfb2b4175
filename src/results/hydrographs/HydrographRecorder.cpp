#include "results/hydrographs/HydrographRecorder.hpp"

#include <algorithm>
#include <iostream>
#include <memory>
#include <optional>

#include "interfaces/Failure.hpp"
#include "model/catalogue/Catalogue.hpp"
#include "results/hydrographs/CellRows.hpp"
#include "results/hydrographs/SeriesText.hpp"
#include "results/xdmf/StoredColumns.hpp"

namespace results {

namespace {

// One field per section: its discharge, or empty when the step has none.
template <typename Discharge>
void appendDischarges(std::vector<std::string>& row, const std::vector<SectionCut>& cuts, bool known,
                      const Discharge& dischargeOf) {
  for (const SectionCut& cut : cuts) row.push_back(known ? numberText(dischargeThrough(cut, dischargeOf)) : "");
}

void addSorted(std::vector<int>& cells, const std::vector<int>& more) {
  cells.insert(cells.end(), more.begin(), more.end());
  std::sort(cells.begin(), cells.end());
  cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
}

}  // namespace

// The rows a step's series read, per dataset; a dataset the step lacks has
// none, and what needs it shows an empty field at that time.
struct HydrographRecorder::StepRows {
  std::map<std::string, std::vector<int>> wanted;
  std::map<std::string, std::optional<CellRows>> read;

  const CellRows* of(const std::string& path) const {
    const auto found = read.find(path);
    return found == read.end() || !found->second ? nullptr : &*found->second;
  }
};

HydrographRecorder::HydrographRecorder(api::IResultReader& reader_, api::IModel& model_,
                                       const ExportSelection& selection_, const MeshGeometry& geometry,
                                       std::vector<std::string> stagedFiles_)
    : reader(reader_),
      model(model_),
      selection(selection_),
      stagedFiles(std::move(stagedFiles_)),
      dryDepth(reader_),
      references(reader_, geometry.mesh().cellCount()) {
  RESULTS_CHECK(stagedFiles.size() == selection.seriesFiles().size(), "every series file is staged");
  for (const model::OutputID id : selection.outputs) outputs.emplace_back(model, model.getOutput(id));
  for (const bool vectors : {false, true})
    for (std::size_t o = 0; o < outputs.size(); ++o)
      if (outputs[o].isVector() == vectors)
        for (std::size_t c = 0; c < outputs[o].headers().size(); ++c) fieldOrder.emplace_back(o, c);
  locateGauges(geometry);
  cutSections(geometry);
}

void HydrographRecorder::locateGauges(const MeshGeometry& geometry) {
  std::vector<std::string> header{"time_s"};
  for (const auto& [o, c] : fieldOrder) header.push_back(outputs[o].headers()[c]);
  for (std::size_t g = 0; g < selection.hydrographs.gauges.size(); ++g) {
    const Gauge& gauge = selection.hydrographs.gauges[g];
    const int cell = geometry.locator().locate(gauge.point);
    if (cell < 0)
      failure::fail(exportListPath, "[", selection.entry, "]/gauges/", g, ": gauge <", gauge.name, "> at (",
                    numberText(gauge.point.x), ", ", numberText(gauge.point.y), ") lies outside the mesh");
    gaugeCells.push_back(cell);
    gaugeTexts.emplace_back();
    appendRow(gaugeTexts.back(), header);
  }
}

// " -> section <outlet> runs 12.5 m outside the mesh, where it carries no discharge"
void HydrographRecorder::cutSections(const MeshGeometry& geometry) {
  if (selection.hydrographs.sections.empty()) return;
  std::vector<std::string> header{"time_s"};
  for (const Section& section : selection.hydrographs.sections) {
    cuts.push_back(cutSection(geometry, section));
    if (cuts.back().outside > 0.0)
      std::cout << " -> section <" << section.name << "> runs " << numberText(cuts.back().outside)
                << " m outside the mesh, where it carries no discharge" << std::endl;
    std::vector<int> cells;
    for (const FluxPiece& piece : cuts.back().pieces) cells.push_back(piece.cell);
    addSorted(sectionCells, cells);
    header.push_back(section.name + "_m3s");
  }
  appendRow(sectionText, header);
  discharge = std::make_unique<SectionDischarge>(sectionCells);
}

// The stored qx, qy of the hydraulic state, spec_discharge's columns.
std::vector<StepInput> HydrographRecorder::dischargeInputs(int step) const {
  api::IOutput* specific = model.getOutput(model.requireOutput(model::OutputProps.at(model::spec_discharge).name));
  std::vector<StepInput> inputs;
  for (const auto& [path, column] : storedColumns(model, specific, step)) inputs.push_back({path, column});
  return inputs;
}

// The sections read their cells' rows only at a time the export's pass did
// not follow (one that stores the state but not the bed).
void HydrographRecorder::addStep(double time, int step) {
  StepRows rows;
  std::vector<int> gaugeRows = gaugeCells;
  addSorted(gaugeRows, {});
  if (!gaugeCells.empty())
    for (const GaugeOutput& output : outputs)
      for (const StepInput& input : output.inputs(step)) addSorted(rows.wanted[input.path], gaugeRows);
  const bool sectionsRead = !cuts.empty() && !discharge->heldAt(time);
  if (sectionsRead)
    for (const StepInput& input : dischargeInputs(step)) addSorted(rows.wanted[input.path], sectionCells);
  for (const auto& [path, cells] : rows.wanted) {
    if (!reader.exist(path)) {
      rows.read[path];
      continue;
    }
    references.require(path, 0, "the gauges and sections", time);
    const std::unique_ptr<api::IRowReader> dataset = reader.openRows(path);
    rows.read[path].emplace(*dataset, cells);
  }
  addGaugeRows(time, step, rows);
  addSectionRow(time, step, sectionsRead ? &rows : nullptr);
}

void HydrographRecorder::addGaugeRows(double time, int step, const StepRows& rows) {
  if (gaugeCells.empty()) return;
  std::vector<std::vector<StepInput>> inputs;
  for (const GaugeOutput& output : outputs) inputs.push_back(output.inputs(step));
  for (std::size_t g = 0; g < gaugeCells.size(); ++g) {
    std::vector<std::vector<std::string>> fields(outputs.size());
    for (std::size_t o = 0; o < outputs.size(); ++o) {
      std::vector<double> stored;
      for (const StepInput& input : inputs[o]) {
        const CellRows* read = rows.of(input.path);
        if (!read) break;
        if (input.column < 0 || input.column >= read->columns())
          failure::fail("dataset <", input.path, "> does not contain column ", input.column, "!");
        stored.push_back(read->row(gaugeCells[g])[input.column]);
      }
      if (stored.size() < inputs[o].size()) {
        fields[o].assign(outputs[o].headers().size(), std::string());
        continue;
      }
      for (const double value : outputs[o].values(dryDepth.value(), stored)) fields[o].push_back(numberText(value));
    }
    std::vector<std::string> row{numberText(time)};
    for (const auto& [o, c] : fieldOrder) row.push_back(fields[o][c]);
    appendRow(gaugeTexts[g], row);
  }
}

// From the pass, or from the rows read; a time without the stored state has
// an empty field per section.
void HydrographRecorder::addSectionRow(double time, int step, const StepRows* read) {
  if (cuts.empty()) return;
  std::vector<std::string> row{numberText(time)};
  if (!read) {
    appendDischarges(row, cuts, discharge->heldAt(time),
                     [&](int cell) { return std::pair<double, double>{discharge->qx(cell), discharge->qy(cell)}; });
  } else {
    const std::vector<StepInput> inputs = dischargeInputs(step);
    for (const StepInput& input : inputs) {
      const CellRows* rows = read->of(input.path);
      if (rows && (input.column < 0 || input.column >= rows->columns()))
        failure::fail("dataset <", input.path, "> does not contain column ", input.column, "!");
    }
    const CellRows* qx = read->of(inputs.at(0).path);
    const CellRows* qy = read->of(inputs.at(1).path);
    appendDischarges(row, cuts, qx && qy, [&](int cell) {
      return std::pair<double, double>{qx->row(cell)[inputs[0].column], qy->row(cell)[inputs[1].column]};
    });
  }
  appendRow(sectionText, row);
}

void HydrographRecorder::write() const {
  const std::vector<std::string> names = selection.seriesFiles();
  for (std::size_t g = 0; g < gaugeTexts.size(); ++g) writeSeriesFile(stagedFiles[g], names[g], gaugeTexts[g]);
  if (!cuts.empty()) writeSeriesFile(stagedFiles.back(), names.back(), sectionText);
}

}  // namespace results
