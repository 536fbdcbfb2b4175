#include "results/xdmf/XdmfFormat.hpp"

#include <algorithm>
#include <iostream>

#include "dataio/xdmf/TimeNotation.hpp"
#include "interfaces/EchoedText.hpp"
#include "interfaces/Failure.hpp"
#include "model/catalogue/Catalogue.hpp"
#include "results/console/ExportProgress.hpp"
#include "results/envelopes/EnvelopeDatasets.hpp"
#include "results/files/FileReferences.hpp"
#include "results/files/OutputNames.hpp"
#include "results/files/XmlSafeName.hpp"
#include "results/hydrographs/HydrographAnnouncement.hpp"
#include "results/maps/CellRaster.hpp"
#include "results/maps/MapAnnouncement.hpp"
#include "results/maps/MapWriter.hpp"
#include "results/xdmf/DefaultForm.hpp"
#include "results/xdmf/PortableForm.hpp"
#include "results/xdmf/StoredColumns.hpp"

namespace results {

namespace {

std::string documentFolder(const std::string& stem) { return folderOf(documentOf(stem)); }

std::string fileNameOf(const std::string& stem) { return stem.substr(stem.find_last_of('/') + 1); }

dataio::TimeNotation notationOf(const std::vector<SelectedTime>& selected) {
  std::vector<double> times;
  for (const SelectedTime& at : selected) times.push_back(at.time);
  return dataio::notationFor(times);
}

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
      references(*reader_, mesh_.cells),
      storedSteps(*reader_, *model_),
      stepData(*reader_),
      dryDepth(*reader_) {
  const std::string folder = documentFolder(selection.stem);
  const std::string resultsReference = referenceFrom(folder, reader->getFileName());
  const std::string auxiliaryReference = referenceFrom(folder, selection.auxiliaryFile());
  // Seen from the document's folder, a name can take up the working folder's.
  if (!selection.portable) requireXmlSafeName("results file", resultsReference);
  requireXmlSafeName("auxiliary file", auxiliaryReference);
  RESULTS_CHECK(this->hdfwriter, "the factory failed to generate a valid HDF5 writer");
  // The portable document names only its auxiliary file, and its collection
  // after itself.
  const dataio::TimeNotation notation = notationOf(selection.times);
  if (selection.portable)
    form = std::make_unique<PortableForm>(*reader, *model, *hdfwriter, dryDepth, fileNameOf(stem), auxiliaryReference,
                                          notation);
  else
    form = std::make_unique<DefaultForm>(
        *model, mesh, DefaultForm::Files{reader->getFileName(), resultsReference, auxiliaryReference}, references,
        stepData, *hdfwriter, dryDepth, notation);
  checkReferences();
}

void XdmfFormat::exportData(const int&) {
  if (selection.announce) announce();
  if (selection.maps.enabled && selection.maps.crsWkt.empty()) warnOfMapsWithoutCrs(selection.entry);
  const int nrCells = form->addMesh();
  const std::vector<SelectedTime>& tInfo = selection.times;
  RESULTS_CHECK(tInfo.size() > 0, "no time varying data, therefore no output written");
  if (selection.envelopes) followEnvelopes(nrCells);

  warnOfMissingSteps();

  ExportProgress progress;
  progress.begin(selection.document(), static_cast<int>(tInfo.size()));
  const std::uint64_t readBefore = reader->getBytesRead();
  int k = 0;
  for (const auto& [time, step] : tInfo) {
    progress.step(++k, time, reader->getBytesRead() - readBefore);
    form->addTimeStep(time);
    for (const model::OutputID id : selection.outputs)
      if (storedSteps.holds(model->getOutput(id), step)) form->addOutput(model->getOutput(id), step);
    writeStepData(time, step);
    if (hydrographs) hydrographs->addStep(time, step);
    if (mapValues) mapValues->addStep(time, step);
  }
  form->write(documentFile);
  if (hydrographs) hydrographs->write();
  if (envelopes) exportEnvelopes(nrCells);
  if (maps) writeMaps(progress);
  progress.end();
}

// Every selected time is folded in the pass that writes it. The speed keeps
// the run's dry threshold, as flow_velocity_abs has it; wetness takes the
// envelopes' own depth.
void XdmfFormat::followEnvelopes(int nrCells) {
  envelopes = std::make_unique<EnvelopeAccumulator>(static_cast<std::size_t>(std::max(nrCells, 0)),
                                                    selection.envelopeWetDepth, selection.maps.enabled);
  if (selection.oneThread) {
    addHydraulicConsumer(*envelopes);
    return;
  }
  envelopeFold = std::make_unique<BackgroundConsumer>(*envelopes);
  addHydraulicConsumer(*envelopeFold);
}

// The envelopes go into the auxiliary file, and their document stands on the
// mesh that the time steps' document reads: the results file's, or in the
// portable form the auxiliary file's copy. Its one time is the last selected
// time, up to which the envelopes reach.
void XdmfFormat::exportEnvelopes(int nrCells) {
  if (envelopeFold) envelopeFold->drain();
  folded = envelopes->finish();
  writeEnvelopes(*hdfwriter, folded, nrCells);
  const api::IData* topo = model->getData(model::data_Topology);
  const api::IData* coords = model->getData(model::data_Coordnts_Nodes);
  const std::unique_ptr<api::IEnvelopeWriter> document = form->envelopeDocument(selection.times.back().time);
  document->addMesh(form->meshFile(), nrCells, topo->getPath(), mesh.nodes, coords->getPath());
  addEnvelopeAttributes(*document, referenceFrom(documentFolder(selection.stem), selection.auxiliaryFile()),
                        selection.maps.enabled);
  document->write(envelopeDocumentFile);
}

void XdmfFormat::drawMaps(const PlaneMesh& plane, const RasterGrid& grid, std::vector<std::string> stagedFiles) {
  RESULTS_CHECK(selection.maps.enabled, "maps are drawn for an entry that asks for them");
  maps = std::make_unique<MapPlan>(MapPlan{&plane, grid, std::move(stagedFiles)});
  if (!selection.maps.outputs.empty())
    mapValues = std::make_unique<MapRecorder>(*reader, *model, selection.maps, plane.cellCount());
}

// The index of the cell each pixel shows is made once for all the entry's
// maps, and only now, when the steps' buffers are gone.
void XdmfFormat::writeMaps(ExportProgress& progress) {
  const CellRaster raster(*maps->mesh, maps->grid);
  const MapSources sources{envelopes ? &folded : nullptr, selection.envelopeWetDepth, mapValues.get()};
  results::writeMaps(selection.maps, *maps->mesh, raster, sources, selection.mapFiles(), maps->stagedFiles,
                     [&progress](int k, int count) { progress.map(k, count); });
}

// " -> exporting 4 outputs at 12 of 61 stored times to flood.xdmf"
// " -> exporting 4 outputs at 12 of 61 stored times to flood.xdmf, the envelopes to flood_envelopes.xdmf"
// " -> exporting 4 outputs at 12 of 61 stored times to flood.xdmf, 3 gauges and 2 sections to flood_*.csv"
void XdmfFormat::announce() const {
  const std::size_t outputs = selection.outputs.size();
  const std::size_t stored = selection.storedTimes;
  std::cout << " -> exporting " << outputs << (outputs == 1 ? " output" : " outputs") << " at "
            << selection.times.size() << " of " << stored << (stored == 1 ? " stored time" : " stored times")
            << " to " << text::echoed(selection.document());
  if (selection.envelopes) std::cout << ", the envelopes to " << text::echoed(selection.envelopeDocument());
  announceHydrographs(std::cout, selection);
  announceMaps(std::cout, selection);
  std::cout << std::endl;
}

// The datasets that the document's items read, at every step that stores
// them; the portable form copies the same datasets into its auxiliary file.
// An output stored at none of the selected times is refused, naming its
// first missing dataset.
void XdmfFormat::checkReferences() {
  missingTimes.assign(selection.outputs.size(), 0);
  for (std::size_t o = 0; o < selection.outputs.size(); ++o) {
    api::IOutput* out = model->getOutput(selection.outputs[o]);
    for (const auto& [time, step] : selection.times) {
      if (!storedSteps.holds(out, step)) {
        ++missingTimes[o];
        continue;
      }
      if (kindOf(out) == OutputKind::computed) continue;
      for (const auto& [path, column] : storedColumns(*model, out, step))
        references.require(path, column, out->getName(), time);
    }
    if (!selection.times.empty() && missingTimes[o] == selection.times.size()) {
      const SelectedTime& first = selection.times.front();
      references.require(storedSteps.missingAt(out, first.step), 0, out->getName(), first.time);
    }
  }
}

// " -> bottom_elevation is not stored at 1 of the 3 selected times: those steps are written without it"
void XdmfFormat::warnOfMissingSteps() const {
  for (std::size_t o = 0; o < selection.outputs.size(); ++o)
    if (missingTimes[o] > 0)
      std::cout << " -> " << model->getOutput(selection.outputs[o])->getName() << " is not stored at "
                << missingTimes[o] << " of the " << selection.times.size()
                << " selected times: those steps are written without it" << std::endl;
}

void XdmfFormat::addHydraulicConsumer(HydraulicConsumer& consumer) { consumers.push_back(&consumer); }

void XdmfFormat::recordHydrographs(std::unique_ptr<HydrographRecorder> recorder) {
  hydrographs = std::move(recorder);
  if (HydraulicConsumer* sections = hydrographs->sectionDischarge()) addHydraulicConsumer(*sections);
}

// The consumers follow the hydraulic state from the columns that
// flow_velocity reads, whether or not it is exported.
// A step without the hydraulic state or the bed adds nothing to them.
void XdmfFormat::writeStepData(double time, int step) {
  if (!consumers.empty()) {
    api::IOutput* velocity = model->getOutput(model->requireOutput(model::OutputProps.at(model::flow_velocity).name));
    if (storedSteps.holds(velocity, step)) {
      // What the form holds whole is not read from the file again.
      for (const auto& column : storedColumns(*model, velocity, step))
        if (const api::DoubleTable* table = form->heldTable(column.first)) stepData.hold(column.first, *table);
      stepData.addHydraulics(time, streamedColumns(stepData, *model, velocity, step), consumers);
    }
  }
  if (stepData.empty()) return;
  stepData.write(dryDepth.value(), *hdfwriter);
}

}  // namespace results
