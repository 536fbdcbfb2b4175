#pragma once
// The default document: its items point into the results file for stored
// columns, leave water_depth and delta_z to the viewer as XDMF functions of
// them, and read every other computed output from the auxiliary file, into
// which the step stream writes them.

#include <memory>
#include <string>

#include "dataio/xdmf/TimeNotation.hpp"
#include "interfaces/IH5Writer.hpp"
#include "interfaces/IModel.hpp"
#include "interfaces/IXdmfWriter.hpp"
#include "results/stored/MeshCheck.hpp"
#include "results/stored/ReferenceCheck.hpp"
#include "results/stream/StepStream.hpp"
#include "results/xdmf/DocumentForm.hpp"
#include "results/xdmf/DryDepth.hpp"

namespace results {

class DefaultForm : public DocumentForm {
 public:
  // What the form reads and writes: all owned by the export, which outlives
  // the form. The references are the files as the document's folder sees
  // them.
  struct Files {
    std::string results;           // the results file as the run names it
    std::string resultsReference;
    std::string auxiliaryReference;
  };
  // The document writes its times in notation.
  DefaultForm(api::IModel& model, const Mesh& mesh, const Files& files, const ReferenceCheck& references,
              StepStream& stepData, api::IH5Writer& auxiliaryFile, DryDepth& dryDepth, dataio::TimeNotation notation);

  int addMesh() override;
  void addTimeStep(double time) override;
  void addOutput(api::IOutput* out, int step) override;
  void write(const std::string& documentFile) override;
  std::unique_ptr<api::IEnvelopeWriter> envelopeDocument(double lastTime) const override;
  const std::string& meshFile() const override { return files.resultsReference; }

 private:
  void exportDirect(api::IOutput* out, int step);
  void exportFunction(api::IOutput* out, int step);
  void exportTransformed(api::IOutput* out, int step);
  void addTransformed(api::IOutput* out, int step);

  api::IModel& model;
  Mesh mesh;
  Files files;
  const ReferenceCheck& references;
  StepStream& stepData;
  api::IH5Writer& auxiliaryFile;
  DryDepth& dryDepth;
  std::unique_ptr<api::IXdmfWriter> writer;
};

}  // namespace results
