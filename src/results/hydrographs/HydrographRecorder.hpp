#pragma once
// The series of an export entry, gathered in the pass that exports its
// steps: per selected time one row per gauge, the values the document shows
// for the gauge's cell, and one row of the sections' discharges. The cells
// are found once, before the first step; at each step only the gauges' rows
// of the datasets they need are read, and the sections take their discharge
// from the export's own pass over the hydraulic state.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "interfaces/IModel.hpp"
#include "interfaces/IResultReader.hpp"
#include "results/hydrographs/GaugeOutput.hpp"
#include "results/hydrographs/MeshGeometry.hpp"
#include "results/hydrographs/SectionCut.hpp"
#include "results/hydrographs/SectionDischarge.hpp"
#include "results/selection/ExportSelection.hpp"
#include "results/stored/ReferenceCheck.hpp"
#include "results/xdmf/DryDepth.hpp"

namespace results {

class HydrographRecorder {
 public:
  // stagedFiles: where to write selection.seriesFiles(), in that order. Fails
  // for a gauge outside the mesh; warns of a section partly outside it.
  HydrographRecorder(api::IResultReader& reader, api::IModel& model, const ExportSelection& selection,
                     const MeshGeometry& geometry, std::vector<std::string> stagedFiles);

  // To be fed by the export's pass over the hydraulic state, before each
  // addStep; nothing when the entry has no sections.
  HydraulicConsumer* sectionDischarge() { return discharge.get(); }

  // The times arrive in ascending order.
  void addStep(double time, int step);
  void write() const;

 private:
  struct StepRows;
  void locateGauges(const MeshGeometry& geometry);
  void cutSections(const MeshGeometry& geometry);
  void addGaugeRows(double time, int step, const StepRows& rows);
  std::vector<StepInput> dischargeInputs(int step) const;
  void addSectionRow(double time, int step, const StepRows* read);

  api::IResultReader& reader;
  api::IModel& model;
  ExportSelection selection;
  std::vector<std::string> stagedFiles;
  DryDepth dryDepth;
  ReferenceCheck references;
  std::vector<GaugeOutput> outputs;
  std::vector<std::pair<std::size_t, std::size_t>> fieldOrder;  // output, component: scalars, then vectors
  std::vector<int> gaugeCells;
  std::vector<SectionCut> cuts;
  std::vector<int> sectionCells;  // of every cut, ascending, each once
  std::unique_ptr<SectionDischarge> discharge;
  std::vector<std::string> gaugeTexts;
  std::string sectionText;
};

}  // namespace results
