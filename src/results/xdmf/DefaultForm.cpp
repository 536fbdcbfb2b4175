#include "results/xdmf/DefaultForm.hpp"

#include "dataio/xdmf/EnvelopeXdmfWriter.hpp"
#include "dataio/xdmf/XdmfWriter.hpp"
#include "interfaces/Failure.hpp"
#include "model/outputs/ColumnForms.hpp"
#include "results/xdmf/FloodRecord.hpp"
#include "results/xdmf/StoredColumns.hpp"

namespace results {

DefaultForm::DefaultForm(api::IModel& model_, const Mesh& mesh_, const Files& files_,
                         const ReferenceCheck& references_, StepStream& stepData_, api::IH5Writer& auxiliaryFile_,
                         DryDepth& dryDepth_, dataio::TimeNotation notation)
    : model(model_),
      mesh(mesh_),
      files(files_),
      references(references_),
      stepData(stepData_),
      auxiliaryFile(auxiliaryFile_),
      dryDepth(dryDepth_),
      writer(createXdmfWriter(files_.results, files_.resultsReference, notation)) {
  RESULTS_CHECK(this->writer, "the factory failed to generate a valid Xdmf writer");
}

// The mesh was checked: three values per row of each dataset.
int DefaultForm::addMesh() {
  const std::string topology = model.getData(model::data_Topology)->getPath();
  const std::string coordinates = model.getData(model::data_Coordnts_Nodes)->getPath();
  writer->addMesh(mesh.cells, topology, 3 * mesh.cells, coordinates, 3 * mesh.nodes);
  return mesh.cells;
}

void DefaultForm::addTimeStep(double time) { writer->addTimeStep(time); }

void DefaultForm::addOutput(api::IOutput* out, int step) {
  switch (kindOf(out)) {
    case OutputKind::direct: exportDirect(out, step); break;
    case OutputKind::function: exportFunction(out, step); break;
    case OutputKind::computed: exportTransformed(out, step); break;
  }
}

void DefaultForm::write(const std::string& documentFile) { writer->write(documentFile); }

std::unique_ptr<api::IEnvelopeWriter> DefaultForm::envelopeDocument(double lastTime) const {
  return std::unique_ptr<api::IEnvelopeWriter>(createEnvelopeWriter(lastTime));
}

void DefaultForm::exportDirect(api::IOutput* out, int step) {
  RESULTS_CHECK(out->getNrDataFunctions() == 0, "functions are not supported here");
  const DataColumns dataCols = out->getDataColumns();
  RESULTS_CHECK(out->getSize() == static_cast<int>(dataCols.size()), "the output sizes are inconsistent");
  const std::string name = out->getName();
  const std::string& source = files.resultsReference;

  if (out->getID() == model::flood_tracking) {
    const std::string path = columnDatasetPath(model, out, dataCols, dataCols.begin(), 0);
    const int nrColumns = references.columnsOf(path);
    for (int i = 0; i < floodRecordColumns; ++i)
      writer->addScalar(name + floodRecordSuffixes[i], mesh.cells, source, path, nrColumns, dataCols.at(i).second);
    return;
  }

  switch (out->getSize()) {
    case 1: {
      const auto first = dataCols.begin();
      const std::string path = columnDatasetPath(model, out, dataCols, first, step);
      writer->addScalar(name, mesh.cells, source, path, references.columnsOf(path), first->second);
      break;
    }
    case 2: {
      RESULTS_CHECK(dataCols.at(0).first == dataCols.at(1).first, "only a single type of data is supported");
      const std::string dataset_0 = columnDatasetPath(model, out, dataCols, dataCols.begin(), step);
      const std::string dataset_1 = columnDatasetPath(model, out, dataCols, dataCols.begin() + 1, step);
      RESULTS_CHECK(dataset_0 == dataset_1, "only data at a single location is supported");
      writer->addVector(name, mesh.cells, source, dataset_0, references.columnsOf(dataset_0),
                        {dataCols.at(0).second, dataCols.at(1).second});
      break;
    }
    default:
      RESULTS_CHECK(false, "only data of dimension 1 or 2 is supported");
  }
}

void DefaultForm::exportFunction(api::IOutput* out, int step) {
  RESULTS_CHECK(out->getNrDataFunctions() == 1, "functions with multi-dimensional output are not supported");
  RESULTS_CHECK(out->getSize() == 1, "the output dimensions are inconsistent");
  const DataColumns dataCols = out->getDataColumns();
  std::vector<int> indices;
  std::vector<std::string> datasets;
  std::vector<std::string> filenames;
  std::vector<int> sizes;
  for (auto entry = dataCols.begin(); entry != dataCols.end(); ++entry) {
    indices.push_back(entry->second);
    datasets.push_back(columnDatasetPath(model, out, dataCols, entry, step));
    filenames.push_back(files.resultsReference);
    sizes.push_back(references.columnsOf(datasets.back()));
  }
  const std::string function = out->getDataFunction(0).first;
  writer->addFunction(out->getName(), mesh.cells, function, filenames, datasets, sizes, indices);
}

// A computed output is checked here, as a read of each of its columns would
// check it, and joins the step's other computed outputs, which the export
// computes and writes in one pass over the step's datasets. When one fails,
// the outputs before it are written first, as they were when each output was
// written on its own.
void DefaultForm::exportTransformed(api::IOutput* out, int step) {
  try {
    addTransformed(out, step);
  } catch (...) {
    if (!stepData.empty()) stepData.write(dryDepth.value(), auxiliaryFile);
    throw;
  }
}

void DefaultForm::addTransformed(api::IOutput* out, int step) {
  RESULTS_CHECK(out, "a valid output is required");
  const int nf = out->getNrDataFunctions();
  RESULTS_CHECK(out->getNrDataFunctions() > 0, "at least one function needs to be applied");

  const std::vector<StepInput> inputs = streamedColumns(stepData, model, out, step);
  const int rows = stepData.input(inputs.front().path).rows();
  dryDepth.value();  // read before the functions are checked, where a failure to read it is reported
  std::vector<model::TransformFunction> transformers;
  for (int f = 0; f < nf; ++f) {
    const model::TransformFunction transformer = out->getDataFunction(f).second;
    RESULTS_CHECK(transformer, "failed to transform the data because the transformation is invalid");
    transformers.push_back(transformer);
  }

  const std::string path = out->getName() + "/" + std::to_string(step);
  stepData.addOutput(path, inputs, model::columnFormsFor(out->getID(), transformers), transformers);
  if (nf == 1) {
    writer->addScalar(out->getName(), rows, files.auxiliaryReference, path, 1, 0);
  } else if (nf == 2) {
    writer->addVector(out->getName(), rows, files.auxiliaryReference, path, 2, {0, 1});
  } else {
    // Its data reach the auxiliary file before the failure.
    stepData.write(dryDepth.value(), auxiliaryFile);
    RESULTS_CHECK(false, "only transformed data of dimension 1 or 2 is supported");
  }
}

}  // namespace results
