#pragma once
// The XDMF export: a document that points into the results file for stored
// data, and an auxiliary HDF5 file for the quantities computed here; or, in
// the portable form, a document whose every value lies in the auxiliary file.

#include <memory>
#include <string>
#include <vector>

#include "interfaces/IFormat.hpp"
#include "interfaces/IH5Writer.hpp"
#include "results/console/ExportProgress.hpp"
#include "results/envelopes/EnvelopeAccumulator.hpp"
#include "results/hydrographs/HydrographRecorder.hpp"
#include "results/maps/MapRecorder.hpp"
#include "results/maps/RasterGrid.hpp"
#include "results/selection/ExportSelection.hpp"
#include "results/stored/MeshCheck.hpp"
#include "results/stored/ReferenceCheck.hpp"
#include "results/stream/BackgroundConsumer.hpp"
#include "results/stream/HydraulicConsumer.hpp"
#include "results/stream/StepStream.hpp"
#include "results/xdmf/BaseFormat.hpp"
#include "results/xdmf/DocumentForm.hpp"
#include "results/xdmf/DryDepth.hpp"
#include "results/xdmf/StoredSteps.hpp"

namespace results {

class XdmfFormat : public BaseFormat, public api::IFormat {
 public:
  // The run opens the auxiliary file, which exports of the same file share,
  // and says where to write the document: both under the names they have
  // until the run puts them in place; the document names the final ones.
  // Every stored dataset that the document will read is checked here, before
  // anything is written.
  XdmfFormat(api::IResultReader*& reader, api::IModel*& model, const ExportSelection& selection, const Mesh& mesh,
             std::shared_ptr<api::IH5Writer> auxiliaryFile, const std::string& documentFile,
             const std::string& envelopeDocumentFile = std::string());

  void exportData(const int& debugLevel) override;

  std::shared_ptr<api::IH5Writer> auxiliaryFile() const { return hdfwriter; }

  // Fed with the hydraulic state of every exported stored time, in the pass
  // that writes the step's computed outputs; the consumer must outlive the
  // export.
  void addHydraulicConsumer(HydraulicConsumer& consumer);

  // The gauges' and sections' series, gathered at every exported stored time
  // and written after the last.
  void recordHydrographs(std::unique_ptr<HydrographRecorder> recorder);

  // The selection's maps, drawn on grid over mesh (which must outlive the
  // export) once the steps and the envelopes are written; stagedFiles: where
  // to write selection.mapFiles(), in that order.
  void drawMaps(const PlaneMesh& mesh, const RasterGrid& grid, std::vector<std::string> stagedFiles);

 private:
  void checkReferences();
  void warnOfMissingSteps() const;
  void writeStepData(double time, int step);
  void followEnvelopes(int nrCells);
  void exportEnvelopes(int nrCells);
  void announce() const;
  void writeMaps(ExportProgress& progress);

  ExportSelection selection;
  Mesh mesh;
  std::string documentFile;
  std::string envelopeDocumentFile;
  std::shared_ptr<api::IH5Writer> hdfwriter;
  ReferenceCheck references;
  StoredSteps storedSteps;
  // Per output of the selection, how many selected times lack its data.
  std::vector<std::size_t> missingTimes;
  StepStream stepData;
  DryDepth dryDepth;
  std::vector<HydraulicConsumer*> consumers;
  std::unique_ptr<DocumentForm> form;
  // Set when the selection asks for the envelopes of its times; the fold runs
  // beside the export, and stops before the accumulator goes.
  std::unique_ptr<EnvelopeAccumulator> envelopes;
  std::unique_ptr<BackgroundConsumer> envelopeFold;
  std::unique_ptr<HydrographRecorder> hydrographs;
  struct MapPlan {
    const PlaneMesh* mesh;
    RasterGrid grid;
    std::vector<std::string> stagedFiles;
  };
  std::unique_ptr<MapPlan> maps;
  std::unique_ptr<MapRecorder> mapValues;  // of the outputs the maps show
  Envelopes folded;                        // kept for the maps
};

}  // namespace results
