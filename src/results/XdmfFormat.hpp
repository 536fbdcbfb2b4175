#pragma once
// The XDMF export: a document that points into the results file for stored
// data, and an auxiliary HDF5 file for the quantities computed here.

#include <memory>
#include <string>
#include <vector>

#include "BaseFormat.hpp"
#include "IFormat.hpp"
#include "IH5Writer.hpp"
#include "IXdmfWriter.hpp"
#include "HydraulicConsumer.hpp"
#include "StepStream.hpp"

namespace results {

using DataColumns = std::vector<model::DataColumn>;

class XdmfFormat : public BaseFormat, public api::IFormat {
 public:
  // Creates (or empties) the auxiliary file stem + "_aux.h5" at once.
  XdmfFormat(api::IResultReader*& reader, api::IModel*& model, const std::string& stem);
  // Shares an auxiliary file that another export of the same stem already
  // holds open.
  XdmfFormat(api::IResultReader*& reader, api::IModel*& model, const std::string& stem,
             std::shared_ptr<api::IH5Writer> auxiliaryFile);

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

  int addMesh();
  std::vector<std::string> datasetPaths(const std::vector<model::OutputID>& ids) const;
  double minimumWaterDepth();

  std::unique_ptr<api::IXdmfWriter> writer;
  std::shared_ptr<api::IH5Writer> hdfwriter;
  std::string resultsReference;
  std::string auxiliaryReference;
  StepStream stepData;
  std::vector<HydraulicConsumer*> consumers;
  bool minDepthRead = false;
  double minDepth = 0.0;
};

}  // namespace results
