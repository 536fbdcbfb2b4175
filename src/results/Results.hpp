#pragma once
// The results driver of one run: it opens the configuration, the results file
// and the model composed from its archive, then exports or restores.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "interfaces/ICommandFileReader.hpp"
#include "interfaces/IFormat.hpp"
#include "interfaces/IH5Writer.hpp"
#include "interfaces/IModel.hpp"
#include "interfaces/IResultReader.hpp"
#include "interfaces/IResults.hpp"
#include "results/files/OutputTransaction.hpp"
#include "results/hydrographs/MeshGeometry.hpp"
#include "results/maps/RasterGrid.hpp"
#include "results/selection/ExportSelection.hpp"
#include "results/stored/MeshCheck.hpp"

namespace results {

class Results : public api::IResults {
 public:
  Results(const std::string& configFile, const std::string& resultsFile);
  ~Results() override;

  Results(const Results&) = delete;
  Results& operator=(const Results&) = delete;

  // -n 1: the envelopes are folded in the export's own pass.
  void useOneThread(bool one) { oneThread = one; }

  void restoreArchive(const std::string& archiveFile) override;
  void exportResults(const int& debugLevel, const std::string& outputFile) override;

 private:
  void addFormat(const ExportSelection& selection, const Mesh& mesh, OutputTransaction& transaction,
                 const RasterGrid* mapGrid);
  // The pixel grid of every entry's maps (none for an entry without), each
  // checked against the limits before anything is written.
  std::vector<std::optional<RasterGrid>> mapGrids(const std::vector<ExportSelection>& selections);
  const MeshGeometry& meshGeometry();
  // The mesh in the plane: the gauges' when they have one, else read alone.
  const PlaneMesh& planeMesh();

  // Owned; a constructor that fails half-way still releases what it opened.
  std::unique_ptr<api::IResultReader> reader;
  std::unique_ptr<api::ICommandFileReader> config;
  std::unique_ptr<api::IModel> model;
  std::vector<std::unique_ptr<api::IFormat>> formats;
  // The formats refer to these two pointers, not to the owners.
  api::IResultReader* readerView = nullptr;
  api::IModel* modelView = nullptr;
  std::string configurationFile;
  // Exports of one auxiliary file share it: it is created once and closed
  // (with its errors reported) before the run counts as done.
  std::map<std::string, std::shared_ptr<api::IH5Writer>> auxiliaryFiles;
  // The mesh in the plane, read at the first entry with gauges or sections.
  std::unique_ptr<MeshGeometry> geometry;
  std::unique_ptr<PlaneMesh> plane;
  bool oneThread = false;
};

}  // namespace results

api::IResults* createResults(const std::string& configFile, const std::string& resultsFile);
// With oneThread the whole export runs on the calling thread (-n 1); the
// files are the same either way.
api::IResults* createResults(const std::string& configFile, const std::string& resultsFile, bool oneThread);
