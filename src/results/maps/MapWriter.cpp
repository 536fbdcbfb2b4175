#include "results/maps/MapWriter.hpp"

#include <cmath>

#include "dataio/gis/CloudGeoTiff.hpp"
#include "dataio/gis/OutlineLayer.hpp"
#include "interfaces/Failure.hpp"
#include "results/envelopes/EnvelopeDatasets.hpp"
#include "results/hydrographs/SeriesText.hpp"
#include "results/maps/FloodOutline.hpp"

namespace results {
namespace {

dataio::RasterFrame frameOf(const RasterGrid& grid) {
  return {grid.width, grid.height, grid.left(), grid.top(), grid.cellSize};
}

// A pixel shows its cell's value; outside the mesh, and where the value is
// no number, it shows nodata.
template <typename Value>
void fillSpan(const CellRaster& raster, const dataio::RowSpan& span, const Value* cellValues, float* pixels) {
  const std::int32_t* cells = raster.row(span.row) + span.firstColumn;
  const float noData = static_cast<float>(dataio::rasterNoData);
  for (int column = 0; column < span.columns; ++column) {
    const std::int32_t cell = cells[column];
    const float value = cell == CellRaster::noCell ? noData : static_cast<float>(cellValues[cell]);
    pixels[column] = std::isnan(value) ? noData : value;
  }
}

const std::vector<double>& envelopeValues(const Envelopes& envelopes, const std::string& name) {
  if (name == hazardClassDataset().name) return envelopes.hazardClassMax;
  for (const EnvelopeDataset& dataset : envelopeDatasets())
    if (name == dataset.name) return envelopes.*dataset.values;
  RESULTS_CHECK(false, "no envelope is named ", name);
}

class MapFiles {
 public:
  MapFiles(const std::vector<std::string>& files_, const std::vector<std::string>& staged_, const MapProgress& progress_)
      : files(files_), staged(staged_), progress(progress_) {
    RESULTS_CHECK(files.size() == staged.size(), "every map file is staged");
  }
  dataio::RasterFile next() {
    RESULTS_CHECK(done < files.size(), "every map has a file");
    if (progress) progress(static_cast<int>(done) + 1, static_cast<int>(files.size()));
    const dataio::RasterFile file{staged[done], files[done]};
    ++done;
    return file;
  }

 private:
  const std::vector<std::string>& files;
  const std::vector<std::string>& staged;
  const MapProgress& progress;
  std::size_t done = 0;
};

void writeEnvelopeMaps(const MapSelection& maps, const CellRaster& raster, const Envelopes& envelopes,
                       MapFiles& files) {
  for (const std::string& name : mappedEnvelopes()) {
    const std::vector<double>& values = envelopeValues(envelopes, name);
    RESULTS_CHECK(!values.empty(), "the envelopes hold ", name);
    const dataio::RasterRows rows = [&](const dataio::RowSpan& span, float* pixels) {
      fillSpan(raster, span, values.data(), pixels);
    };
    dataio::writeCloudGeoTiff(files.next(), frameOf(raster.grid()), maps.crsWkt, {{name, ""}}, rows,
                              name == hazardClassDataset().name);
  }
}

void writeOutputMaps(const MapSelection& maps, const CellRaster& raster, const MapRecorder& recorder,
                     MapFiles& files) {
  for (const std::vector<MapBand>& bands : recorder.bands()) {
    std::vector<dataio::RasterBandText> texts;
    for (const MapBand& band : bands) texts.push_back({"t = " + numberText(band.time) + " s", numberText(band.time)});
    const dataio::RasterRows rows = [&](const dataio::RowSpan& span, float* pixels) {
      fillSpan(raster, span, bands[static_cast<std::size_t>(span.band)].values.data(), pixels);
    };
    dataio::writeCloudGeoTiff(files.next(), frameOf(raster.grid()), maps.crsWkt, texts, rows, false);
  }
}

}  // namespace

void writeMaps(const MapSelection& maps, const PlaneMesh& mesh, const CellRaster& raster, const MapSources& sources,
               const std::vector<std::string>& files, const std::vector<std::string>& stagedFiles,
               const MapProgress& progress) {
  MapFiles next(files, stagedFiles, progress);
  if (maps.envelopes) {
    RESULTS_CHECK(sources.envelopes, "the maps of the envelopes need the envelopes");
    writeEnvelopeMaps(maps, raster, *sources.envelopes, next);
  }
  if (!maps.outputs.empty()) {
    RESULTS_CHECK(sources.outputs, "the maps of outputs need their values");
    writeOutputMaps(maps, raster, *sources.outputs, next);
  }
  if (maps.outline) {
    RESULTS_CHECK(sources.envelopes, "the outline needs the envelopes");
    const std::vector<dataio::OutlinePart> parts =
        floodOutline(mesh, sources.envelopes->waterDepthMax, sources.wetDepth);
    dataio::writeOutlineLayer(next.next(), maps.crsWkt, parts, sources.wetDepth);
  }
}

}  // namespace results
