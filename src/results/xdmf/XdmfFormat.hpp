#pragma once
// The XDMF export: a document that points into the results file for stored
// data, and an auxiliary HDF5 file for the quantities computed here.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "results/xdmf/BaseFormat.hpp"
#include "results/stream/BackgroundConsumer.hpp"
#include "results/envelopes/EnvelopeAccumulator.hpp"
#include "results/selection/ExportSelection.hpp"
#include "interfaces/IFormat.hpp"
#include "interfaces/IH5Writer.hpp"
#include "interfaces/IXdmfWriter.hpp"
#include "results/stream/HydraulicConsumer.hpp"
#include "results/stored/MeshCheck.hpp"
#include "results/xdmf/PortableAttributes.hpp"
#include "results/stored/ReferenceCheck.hpp"
#include "results/xdmf/StepDatasets.hpp"
#include "results/stream/StepStream.hpp"

namespace results {

using DataColumns = std::vector<model::DataColumn>;

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

 private:
  std::string selectDataPath(api::IOutput* out, const DataColumns& dataCols, DataColumns::const_iterator selected,
                             int step);
  void exportDirect(api::IOutput* out, int nrCells, int step);
  void exportFunction(api::IOutput* out, int nrCells, int step);
  void exportTransformed(api::IOutput* out, int step);
  void addTransformed(api::IOutput* out, int step);
  std::vector<StepInput> stepInputs(api::IOutput* out, int step);
  void writeStepData(double time, int step);

  enum class Kind { direct, function, computed };
  Kind kindOf(api::IOutput* out) const;
  void checkReferences();
  std::vector<std::pair<std::string, int>> storedColumns(api::IOutput* out, int step);
  int addMesh();
  void followEnvelopes(int nrCells);
  void exportEnvelopes(int nrCells);
  void announce() const;
  PortableAttributes::Inputs portableInputs();
  double minimumWaterDepth();

  ExportSelection selection;
  Mesh mesh;
  std::string documentFile;
  std::string envelopeDocumentFile;
  std::unique_ptr<api::IXdmfWriter> writer;
  std::shared_ptr<api::IH5Writer> hdfwriter;
  std::string resultsReference;
  std::string auxiliaryReference;
  ReferenceCheck references;
  StepStream stepData;
  // The portable form copies whole stored datasets of the step.
  StepDatasets portableData;
  std::vector<HydraulicConsumer*> consumers;
  bool minDepthRead = false;
  double minDepth = 0.0;
  // Set for the portable form, which takes every output's values from it.
  std::unique_ptr<PortableAttributes> portable;
  // Set when the selection asks for the envelopes of its times; the fold runs
  // beside the export, and stops before the accumulator goes.
  std::unique_ptr<EnvelopeAccumulator> envelopes;
  std::unique_ptr<BackgroundConsumer> envelopeFold;
};

}  // namespace results
