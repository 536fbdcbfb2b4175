#include "results/xdmf/XdmfFormat.hpp"

#include <algorithm>
#include <iostream>

#include "model/catalogue/Catalogue.hpp"
#include "model/outputs/ColumnForms.hpp"
#include "results/envelopes/EnvelopeDatasets.hpp"
#include "dataio/xdmf/EnvelopeXdmfWriter.hpp"
#include "results/console/ExportProgress.hpp"
#include "interfaces/Failure.hpp"
#include "results/files/FileReferences.hpp"
#include "dataio/hdf5/H5Writer.hpp"
#include "results/stored/OutputData.hpp"
#include "dataio/xdmf/PortableEnvelopeWriter.hpp"
#include "dataio/xdmf/PortableXdmfWriter.hpp"
#include "dataio/hdf5/ResultReader.hpp"
#include "dataio/xdmf/XdmfWriter.hpp"
#include "results/files/XmlSafeName.hpp"

namespace results {

namespace {

std::string documentFolder(const std::string& stem) { return folderOf(stem + ".xdmf"); }

std::string fileNameOf(const std::string& stem) { return stem.substr(stem.find_last_of('/') + 1); }

}  // namespace

XdmfFormat::XdmfFormat(api::IResultReader*& reader_, api::IModel*& model_, const ExportSelection& selection_,
                       const Mesh& mesh_, std::shared_ptr<api::IH5Writer> auxiliaryFile_,
                       const std::string& documentFile_, const std::string& envelopeDocumentFile_)
    : BaseFormat(reader_, model_, selection_.stem),
      selection(selection_),
      mesh(mesh_),
      documentFile(documentFile_),
      envelopeDocumentFile(envelopeDocumentFile_),
      hdfwriter(std::move(auxiliaryFile_)),
      resultsReference(referenceFrom(documentFolder(selection_.stem), reader_->getFileName())),
      auxiliaryReference(referenceFrom(documentFolder(selection_.stem), selection_.auxiliaryFile())),
      references(*reader_, mesh_.cells),
      stepData(*reader_),
      portableData(*reader_) {
  // Seen from the document's folder, a name can take up the working folder's.
  if (!selection.portable) requireXmlSafeName("results file", resultsReference);
  requireXmlSafeName("auxiliary file", auxiliaryReference);
  // The portable document names only its auxiliary file, and its collection
  // after itself.
  writer.reset(selection.portable ? createPortableXdmfWriter(fileNameOf(stem), auxiliaryReference)
                                  : createXdmfWriter(reader->getFileName(), resultsReference));
  RESULTS_CHECK(this->writer, "the factory failed to generate a valid Xdmf writer");
  RESULTS_CHECK(this->hdfwriter, "the factory failed to generate a valid HDF5 writer");
  if (selection.portable)
    portable = std::make_unique<PortableAttributes>(portableInputs(), *writer, *hdfwriter, auxiliaryReference);
  checkReferences();
}

PortableAttributes::Inputs XdmfFormat::portableInputs() {
  return {*reader, *model,
          [this](api::IOutput* out, const DataColumns& columns, DataColumns::const_iterator column, int step) {
            return selectDataPath(out, columns, column, step);
          },
          [this](const std::string& path) -> const api::DoubleTable& { return portableData.get(path); },
          [this] { return minimumWaterDepth(); }};
}

void XdmfFormat::exportData(const int&) {
  if (selection.announce) announce();
  const int nrCells = portable ? portable->addMesh() : addMesh();
  const std::vector<SelectedTime>& tInfo = selection.times;
  RESULTS_CHECK(tInfo.size() > 0, "no time varying data, therefore no output written");
  if (selection.envelopes) followEnvelopes(nrCells);

  ExportProgress progress;
  progress.begin(selection.document(), static_cast<int>(tInfo.size()));
  const std::uint64_t readBefore = reader->getBytesRead();
  int k = 0;
  for (const auto& [time, step] : tInfo) {
    progress.step(++k, time, reader->getBytesRead() - readBefore);
    if (portable) portableData.beginStep();
    writer->addTimeStep(time);
    for (const model::OutputID id : selection.outputs) {
      api::IOutput* out = model->getOutput(id);
      if (portable) {
        portable->addOutput(out, step);
        continue;
      }
      switch (kindOf(out)) {
        case Kind::direct: exportDirect(out, nrCells, step); break;
        case Kind::function: exportFunction(out, nrCells, step); break;
        case Kind::computed: exportTransformed(out, step); break;
      }
    }
    writeStepData(time, step);
  }
  writer->write(documentFile);
  if (envelopes) exportEnvelopes(nrCells);
  progress.end();
}

// Every selected time is folded in the pass that writes it. The speed keeps
// the run's dry threshold, as flow_velocity_abs has it; wetness takes the
// envelopes' own depth.
void XdmfFormat::followEnvelopes(int nrCells) {
  envelopes = std::make_unique<EnvelopeAccumulator>(static_cast<std::size_t>(std::max(nrCells, 0)),
                                                    selection.envelopeWetDepth);
  envelopeFold = std::make_unique<BackgroundConsumer>(*envelopes);
  addHydraulicConsumer(*envelopeFold);
}

// The envelopes go into the auxiliary file, and their document stands on the
// mesh that the time steps' document reads: the results file's, or in the
// portable form the auxiliary file's copy. Its one time is the last selected
// time, up to which the envelopes reach.
void XdmfFormat::exportEnvelopes(int nrCells) {
  envelopeFold->drain();
  writeEnvelopes(*hdfwriter, envelopes->finish(), nrCells);
  const api::IData* topo = model->getData(model::data_Topology);
  const api::IData* coords = model->getData(model::data_Coordnts_Nodes);
  const double lastTime = selection.times.back().time;
  std::unique_ptr<api::IEnvelopeWriter> document(selection.portable ? createPortableEnvelopeWriter(lastTime)
                                                                    : createEnvelopeWriter(lastTime));
  const std::string& meshFile = selection.portable ? auxiliaryReference : resultsReference;
  document->addMesh(meshFile, nrCells, topo->getPath(), mesh.nodes, coords->getPath());
  addEnvelopeAttributes(*document, auxiliaryReference);
  document->write(envelopeDocumentFile);
}

// " -> exporting 4 outputs at 12 of 61 stored times to flood.xdmf"
// " -> exporting 4 outputs at 12 of 61 stored times to flood.xdmf, the envelopes to flood_envelopes.xdmf"
void XdmfFormat::announce() const {
  const std::size_t outputs = selection.outputs.size();
  const std::size_t stored = selection.storedTimes;
  std::cout << " -> exporting " << outputs << (outputs == 1 ? " output" : " outputs") << " at "
            << selection.times.size() << " of " << stored << (stored == 1 ? " stored time" : " stored times")
            << " to " << selection.document();
  if (selection.envelopes) std::cout << ", the envelopes to " << selection.envelopeDocument();
  std::cout << std::endl;
}

// Stored columns are read where they lie; water_depth and delta_z are left to
// the viewer as functions of them; every other output with functions is
// computed here.
XdmfFormat::Kind XdmfFormat::kindOf(api::IOutput* out) const {
  if (out->getNrDataFunctions() == 0) return Kind::direct;
  if (out->getID() == model::water_depth || out->getID() == model::delta_z) return Kind::function;
  return Kind::computed;
}

// The datasets that the document's items read, at every step it holds; the
// portable form copies the same datasets into its auxiliary file.
void XdmfFormat::checkReferences() {
  for (const auto& [time, step] : selection.times)
    for (const model::OutputID id : selection.outputs) {
      api::IOutput* out = model->getOutput(id);
      if (kindOf(out) == Kind::computed) continue;
      for (const auto& [path, column] : storedColumns(out, step)) references.require(path, column, out->getName(), time);
    }
}

// The dataset and column of each item of a direct or function output at the
// step; the flood record's five are all read at the first stored step.
std::vector<std::pair<std::string, int>> XdmfFormat::storedColumns(api::IOutput* out, int step) {
  const DataColumns dataCols = out->getDataColumns();
  std::vector<std::pair<std::string, int>> columns;
  if (out->getID() == model::flood_tracking) {
    const std::string path = selectDataPath(out, dataCols, dataCols.begin(), 0);
    for (std::size_t i = 0; i < 5 && i < dataCols.size(); ++i) columns.emplace_back(path, dataCols[i].second);
    return columns;
  }
  for (auto entry = dataCols.begin(); entry != dataCols.end(); ++entry)
    columns.emplace_back(selectDataPath(out, dataCols, entry, step), entry->second);
  return columns;
}

// The mesh was checked: three values per row of each dataset.
int XdmfFormat::addMesh() {
  const std::string topology = model->getData(model::data_Topology)->getPath();
  const std::string coordinates = model->getData(model::data_Coordnts_Nodes)->getPath();
  writer->addMesh(mesh.cells, topology, 3 * mesh.cells, coordinates, 3 * mesh.nodes);
  return mesh.cells;
}

// A repeated column reads its first occurrence from the first stored step, so
// that an output can be a difference against the initial state.
std::string XdmfFormat::selectDataPath(api::IOutput* out, const DataColumns& dataCols,
                                       DataColumns::const_iterator selected, int step) {
  RESULTS_CHECK(out, "a valid output pointer is required");
  RESULTS_CHECK(selected != dataCols.end(), "a valid iterator is required");
  const api::IData* data = model->getData(selected->first);
  const std::string path = data->getPath();
  if (!data->isTimeDependent()) return path;
  const std::vector<int> repeated = out->getRepeatedColumns();
  const int position = static_cast<int>(selected - dataCols.begin());
  const bool readsInitialState = std::find(repeated.begin(), repeated.end(), position) != repeated.end();
  return dataio::resultStepPath(path, readsInitialState ? 0 : step);
}

void XdmfFormat::exportDirect(api::IOutput* out, int nrCells, int step) {
  RESULTS_CHECK(out->getNrDataFunctions() == 0, "functions are not supported here");
  const DataColumns dataCols = out->getDataColumns();
  RESULTS_CHECK(out->getSize() == static_cast<int>(dataCols.size()), "the output sizes are inconsistent");
  const std::string name = out->getName();

  if (out->getID() == model::flood_tracking) {
    const std::string path = selectDataPath(out, dataCols, dataCols.begin(), 0);
    const int nrColumns = references.columnsOf(path);
    const char* const suffixes[] = {"_t", "_h", "_v", "_q", "_tau"};
    for (int i = 0; i < 5; ++i)
      writer->addScalar(name + suffixes[i], nrCells, resultsReference, path, nrColumns, dataCols.at(i).second);
    return;
  }

  switch (out->getSize()) {
    case 1: {
      const auto first = dataCols.begin();
      const std::string path = selectDataPath(out, dataCols, first, step);
      writer->addScalar(name, nrCells, resultsReference, path, references.columnsOf(path), first->second);
      break;
    }
    case 2: {
      RESULTS_CHECK(dataCols.at(0).first == dataCols.at(1).first, "only a single type of data is supported");
      const std::string dataset_0 = selectDataPath(out, dataCols, dataCols.begin(), step);
      const std::string dataset_1 = selectDataPath(out, dataCols, dataCols.begin() + 1, step);
      RESULTS_CHECK(dataset_0 == dataset_1, "only data at a single location is supported");
      writer->addVector(name, nrCells, resultsReference, dataset_0, references.columnsOf(dataset_0),
                        {dataCols.at(0).second, dataCols.at(1).second});
      break;
    }
    default:
      RESULTS_CHECK(false, "only data of dimension 1 or 2 is supported");
  }
}

void XdmfFormat::exportFunction(api::IOutput* out, int nrCells, int step) {
  RESULTS_CHECK(out->getNrDataFunctions() == 1, "functions with multi-dimensional output are not supported");
  RESULTS_CHECK(out->getSize() == 1, "the output dimensions are inconsistent");
  const DataColumns dataCols = out->getDataColumns();
  std::vector<int> indices;
  std::vector<std::string> datasets;
  std::vector<std::string> filenames;
  std::vector<int> sizes;
  for (auto entry = dataCols.begin(); entry != dataCols.end(); ++entry) {
    indices.push_back(entry->second);
    datasets.push_back(selectDataPath(out, dataCols, entry, step));
    filenames.push_back(resultsReference);
    sizes.push_back(references.columnsOf(datasets.back()));
  }
  const std::string function = out->getDataFunction(0).first;
  writer->addFunction(out->getName(), nrCells, function, filenames, datasets, sizes, indices);
}

// A computed output is checked here, as a read of each of its columns would
// check it, and joins the step's other computed outputs, which writeStepData
// computes and writes in one pass over the step's datasets. When one fails,
// the outputs before it are written first, as they were when each output was
// written on its own.
void XdmfFormat::exportTransformed(api::IOutput* out, int step) {
  try {
    addTransformed(out, step);
  } catch (...) {
    if (!stepData.empty()) stepData.write(minimumWaterDepth(), *hdfwriter);
    throw;
  }
}

void XdmfFormat::addTransformed(api::IOutput* out, int step) {
  RESULTS_CHECK(out, "a valid output is required");
  const int nf = out->getNrDataFunctions();
  RESULTS_CHECK(out->getNrDataFunctions() > 0, "at least one function needs to be applied");

  const std::vector<StepInput> inputs = stepInputs(out, step);
  const int rows = stepData.input(inputs.front().path).rows();
  minimumWaterDepth();  // read before the functions are checked, where a failure to read it is reported
  std::vector<model::TransformFunction> transformers;
  for (int f = 0; f < nf; ++f) {
    const model::TransformFunction transformer = out->getDataFunction(f).second;
    RESULTS_CHECK(transformer, "failed to transform the data because the transformation is invalid");
    transformers.push_back(transformer);
  }

  const std::string path = out->getName() + "/" + std::to_string(step);
  stepData.addOutput(path, inputs, model::columnFormsFor(out->getID(), transformers), transformers);
  if (nf == 1) {
    writer->addScalar(out->getName(), rows, auxiliaryReference, path, 1, 0);
  } else if (nf == 2) {
    writer->addVector(out->getName(), rows, auxiliaryReference, path, 2, {0, 1});
  } else {
    // Its data reach the auxiliary file before the failure.
    stepData.write(minimumWaterDepth(), *hdfwriter);
    RESULTS_CHECK(false, "only transformed data of dimension 1 or 2 is supported");
  }
}

// The output's columns at this step, opened for streaming.
std::vector<StepInput> XdmfFormat::stepInputs(api::IOutput* out, int step) {
  const DataColumns dataCols = out->getDataColumns();
  std::vector<StepInput> inputs;
  int rows = 0;
  for (auto entry = dataCols.begin(); entry != dataCols.end(); ++entry) {
    const std::string path = selectDataPath(out, dataCols, entry, step);
    const api::IRowReader& dataset = stepData.input(path);
    if (entry->second < 0 || entry->second >= dataset.columns())
      failure::fail("dataset <", path, "> does not contain column ", entry->second, "!");
    if (inputs.empty()) rows = dataset.rows();
    inputs.push_back({path, entry->second});
    RESULTS_CHECK(rows == dataset.rows(), "failed to transform the data because the input data sizes are inconsistent");
  }
  RESULTS_CHECK(!inputs.empty(), "failed to transform the data because there is no input");
  return inputs;
}

void XdmfFormat::addHydraulicConsumer(HydraulicConsumer& consumer) { consumers.push_back(&consumer); }

// The consumers follow the hydraulic state from the columns that
// flow_velocity reads, whether or not it is exported.
void XdmfFormat::writeStepData(double time, int step) {
  if (!consumers.empty()) {
    const model::OutputID velocity = model->requireOutput(model::OutputProps.at(model::flow_velocity).name);
    stepData.addHydraulics(time, stepInputs(model->getOutput(velocity), step), consumers);
  }
  if (stepData.empty()) return;
  stepData.write(minimumWaterDepth(), *hdfwriter);
}

// Read once per export.
double XdmfFormat::minimumWaterDepth() {
  if (minDepthRead) return minDepth;
  minDepthRead = true;  // a failed read is reported once
  minDepth = results::minimumWaterDepth(*reader);
  return minDepth;
}

}  // namespace results
