#pragma once
// What one export writes, resolved once from its request against the run
// before any file is touched; the format takes it and never looks at the
// configuration.

#include <cstddef>
#include <string>
#include <vector>

#include "interfaces/IModel.hpp"
#include "interfaces/IResultReader.hpp"
#include "results/files/OutputNames.hpp"
#include "results/hydrographs/HydrographPlaces.hpp"
#include "results/maps/MapSelection.hpp"
#include "results/selection/ExportRequest.hpp"

namespace results {

struct SelectedTime {
  double time;
  int step;
  bool operator==(const SelectedTime& other) const { return time == other.time && step == other.step; }
};

// A file that an export writes, with what it is to the user ("document").
struct OutputFile {
  std::string role;
  std::string name;
};

struct ExportSelection {
  int entry = 0;
  std::vector<model::OutputID> outputs;  // in the order they are written
  std::vector<SelectedTime> times;       // ascending
  std::size_t storedTimes = 0;           // of the outputs' data, before the window
  std::string stem;                      // of the document's name
  bool announce = false;                 // print what was chosen
  bool mesh2dm = false;                  // also write meshFile()
  bool portable = false;                 // the portable document form
  bool envelopes = false;                // also write envelopeDocument() and the envelopes
  bool oneThread = false;                // fold the envelopes in the export's own pass (-n 1)
  double envelopeWetDepth = 0.0;         // a cell is wet at a depth at least this
  HydrographPlaces hydrographs;          // the series written beside the document
  MapSelection maps;                     // the rasters and the outline for GIS

  std::string document() const { return documentOf(stem); }
  std::string auxiliaryFile() const { return auxiliaryFileOf(stem); }
  std::string meshFile() const { return meshFileOf(stem); }
  std::string envelopeDocument() const { return envelopeDocumentOf(stem); }
  // One file per gauge, in the entry's order, then the sections' file.
  std::vector<std::string> seriesFiles() const;
  // The rasters, then the outline.
  std::vector<std::string> mapFiles() const { return mapFilesOf(stem, maps); }
  // Every file the entry writes, each before the files that name it: the
  // order in which a run puts them in place.
  std::vector<OutputFile> outputFiles() const;
  // Whether two selections write the same datasets and document text (the
  // mesh file is the results file's mesh whoever asks for it).
  bool sameContent(const ExportSelection& other) const;
};

// outputFile is the -o name, used unless the request names its document.
// Refuses outputs the model setup cannot produce and, for outputs the request
// names, data the results file lacks, a window holding no stored time, and
// envelopes of a model or results file without the hydraulic state, and
// sections of one without the stored discharge.
ExportSelection resolveSelection(const ExportRequest& request, const std::string& outputFile, api::IModel& model,
                                 api::IResultReader& reader);

// The stored data paths of the outputs, sorted, each once.
std::vector<std::string> dataPathsOf(api::IModel& model, const std::vector<model::OutputID>& outputs);

}  // namespace results
