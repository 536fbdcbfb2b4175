#pragma once
// The data of a portable document: the mesh and every attribute of every
// exported step as a plain dataset of the auxiliary file, in the shape the
// document declares, so that the document needs no other file. Stored columns
// are copied, derived outputs computed with their transformation functions
// (also those the default document leaves to the viewer as XDMF functions),
// and vectors get a zero third component.
//
// Auxiliary file layout, beside the mesh under the data entries' own paths:
//   <attribute>/<step>    the values at that step, cells x 1 or cells x 3
//   <attribute>/0         values that hold the first stored step's record
//                         alone (flood_tracking_t, ...), written once
//   <attribute>/static    values of data stored once (a fixed bed), written once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dataio/xdmf/TimeNotation.hpp"
#include "interfaces/IH5Writer.hpp"
#include "interfaces/IModel.hpp"
#include "interfaces/IResultReader.hpp"
#include "interfaces/IXdmfWriter.hpp"
#include "results/xdmf/DocumentForm.hpp"
#include "results/xdmf/DryDepth.hpp"
#include "results/xdmf/StepDatasets.hpp"

namespace results {

class PortableForm : public DocumentForm {
 public:
  using Columns = std::vector<model::DataColumn>;

  // The document names its collection collectionName and its auxiliary file
  // auxiliaryReference, as the document's folder sees it. The reader, the
  // model, the auxiliary file and the dry depth belong to the export, which
  // outlives the form.
  // The document writes its times in notation.
  PortableForm(api::IResultReader& reader, api::IModel& model, api::IH5Writer& auxiliaryFile, DryDepth& dryDepth,
               const std::string& collectionName, std::string auxiliaryReference, dataio::TimeNotation notation);

  // Copies the mesh into the auxiliary file and declares it; the cell count.
  int addMesh() override;
  // A step's stored datasets are read anew.
  void addTimeStep(double time) override;
  // The form reads each step's tables whole; this one too, if no output has.
  const api::DoubleTable* heldTable(const std::string& path) override { return &tables.get(path); }
  void addOutput(api::IOutput* out, int step) override;
  void write(const std::string& documentFile) override;
  std::unique_ptr<api::IEnvelopeWriter> envelopeDocument(double lastTime) const override;
  const std::string& meshFile() const override { return auxiliaryReference; }

 private:
  // One input column of a stored dataset, as its rows.
  struct Column {
    const double* first;
    int stride;
    int rows;
    double operator[](int row) const { return first[static_cast<std::size_t>(row) * stride]; }
  };

  void addFloodTracking(api::IOutput* out, const Columns& columns);
  std::string stepKey(api::IOutput* out, const Columns& columns, int step) const;
  std::vector<Column> readColumns(api::IOutput* out, const Columns& columns, int step);
  void writeStored(const std::string& path, const std::vector<Column>& inputs);
  void writeTransformed(api::IOutput* out, const std::string& path, const std::vector<Column>& inputs);
  void writeValues(const std::string& path, int rows, int width);
  void declare(const std::string& name, const std::string& path, int components);

  api::IResultReader& reader;
  api::IModel& model;
  api::IH5Writer& auxiliary;
  DryDepth& dryDepth;
  std::string auxiliaryReference;
  StepDatasets tables;  // the stored datasets of the step, each read once
  std::unique_ptr<api::IXdmfWriter> document;
  std::map<std::string, int> written;  // auxiliary dataset -> its rows
  std::vector<double> values;          // rows x components, reused
};

}  // namespace results
