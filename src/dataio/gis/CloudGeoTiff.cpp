#include "dataio/gis/CloudGeoTiff.hpp"

#include <gdal_priv.h>
#include <ogr_spatialref.h>

#include <cstring>
#include <memory>
#include <vector>

#include "dataio/gis/GdalSession.hpp"
#include "interfaces/Failure.hpp"

namespace dataio {
namespace {

// A dataset that holds no pixel: GDAL's copy asks it for rows, and each is
// made on request.
class RowDataset : public GDALDataset {
 public:
  RowDataset(const RasterFrame& frame_, const std::string& crsWkt, const std::vector<RasterBandText>& bands,
             const RasterRows& rows);

  CPLErr GetGeoTransform(double* transform) override {
    const double values[6] = {frame.left, frame.cellSize, 0.0, frame.top, 0.0, -frame.cellSize};
    std::copy(values, values + 6, transform);
    return CE_None;
  }
  const OGRSpatialReference* GetSpatialRef() const override { return hasReference ? &reference : nullptr; }

 private:
  RasterFrame frame;
  OGRSpatialReference reference;
  bool hasReference = false;
};

class RowBand : public GDALRasterBand {
 public:
  RowBand(RowDataset* owner, int number, const RasterRows& rows_) : rows(rows_) {
    poDS = owner;
    nBand = number;
    eDataType = GDT_Float32;
    nRasterXSize = owner->GetRasterXSize();
    nRasterYSize = owner->GetRasterYSize();
    nBlockXSize = nRasterXSize;
    nBlockYSize = 1;
  }

  CPLErr IReadBlock(int, int row, void* values) override {
    rows({nBand - 1, row, 0, nRasterXSize}, static_cast<float*>(values));
    return CE_None;
  }
  // Windows are made on request, past the block cache: the cache would
  // otherwise keep every row of the source until the copy ends.
  CPLErr IRasterIO(GDALRWFlag direction, int x, int y, int width, int height, void* buffer, int bufferWidth,
                   int bufferHeight, GDALDataType type, GSpacing pixelSpacing, GSpacing lineSpacing,
                   GDALRasterIOExtraArg* extra) override {
    if (direction != GF_Read || bufferWidth != width || bufferHeight != height || type != GDT_Float32)
      return GDALRasterBand::IRasterIO(direction, x, y, width, height, buffer, bufferWidth, bufferHeight, type,
                                       pixelSpacing, lineSpacing, extra);
    const bool packed = pixelSpacing == static_cast<GSpacing>(sizeof(float));
    std::vector<float> span(packed ? 0 : static_cast<std::size_t>(width));
    for (int r = 0; r < height; ++r) {
      auto* line = static_cast<GByte*>(buffer) + r * lineSpacing;
      if (packed) {
        rows({nBand - 1, y + r, x, width}, reinterpret_cast<float*>(line));
        continue;
      }
      rows({nBand - 1, y + r, x, width}, span.data());
      for (int c = 0; c < width; ++c)
        std::memcpy(line + c * pixelSpacing, &span[static_cast<std::size_t>(c)], sizeof(float));
    }
    return CE_None;
  }
  double GetNoDataValue(int* found) override {
    if (found != nullptr) *found = TRUE;
    return rasterNoData;
  }

 private:
  const RasterRows& rows;
};

RowDataset::RowDataset(const RasterFrame& frame_, const std::string& crsWkt,
                       const std::vector<RasterBandText>& bands, const RasterRows& rows)
    : frame(frame_) {
  nRasterXSize = frame.width;
  nRasterYSize = frame.height;
  if (!crsWkt.empty()) {
    reference.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    hasReference = reference.importFromWkt(crsWkt.c_str()) == OGRERR_NONE;
  }
  for (std::size_t b = 0; b < bands.size(); ++b) {
    const int number = static_cast<int>(b) + 1;
    auto* band = new RowBand(this, number, rows);
    SetBand(number, band);
    band->SetDescription(bands[b].description.c_str());
    if (!bands[b].timeSeconds.empty()) band->SetMetadataItem("TIME_S", bands[b].timeSeconds.c_str());
  }
}

}  // namespace

void writeCloudGeoTiff(const RasterFile& file, const RasterFrame& frame, const std::string& crsWkt,
                       const std::vector<RasterBandText>& bands, const RasterRows& rows, bool classes) {
  const GdalSession session;
  GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("COG");
  if (driver == nullptr) failure::fail("cannot write <", file.fileName, ">: GDAL has no COG driver");
  RowDataset source(frame, crsWkt, bands, rows);
  const char* const options[] = {"COMPRESS=DEFLATE",
                                 "BLOCKSIZE=512",
                                 "OVERVIEWS=AUTO",
                                 classes ? "RESAMPLING=NEAREST" : "RESAMPLING=AVERAGE",
                                 "NUM_THREADS=ALL_CPUS",
                                 "STATISTICS=NO",
                                 nullptr};
  // The overviews are built in a scratch file: in memory, so that nothing
  // but the staged file itself ever lies in the user's folder.
  CPLSetThreadLocalConfigOption("CPL_TMPDIR", "/vsimem");
  GDALDataset* written = driver->CreateCopy(file.stagedFile.c_str(), &source, FALSE,
                                            const_cast<char**>(options), nullptr, nullptr);
  CPLSetThreadLocalConfigOption("CPL_TMPDIR", nullptr);
  if (written != nullptr) GDALClose(written);
  const std::string reason = session.lastError(file.stagedFile, file.fileName);
  if (written == nullptr || session.failed())
    failure::fail("cannot write <", file.fileName, ">: ", reason.empty() ? "GDAL failed" : reason);
}

}  // namespace dataio
