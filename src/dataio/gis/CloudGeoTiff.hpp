#pragma once
// A GeoTIFF in the Cloud Optimized layout (tiled, DEFLATE-compressed, with
// overviews once it is larger than a tile), of Float32 bands whose rows are
// asked for one at a time: a map of any size costs no more memory than the
// values it is made from: no pixel is held longer than GDAL takes to
// compress its tile.

#include <functional>
#include <string>
#include <vector>

namespace dataio {

// North up, square pixels; left and top are the outer edges.
struct RasterFrame {
  int width = 0;
  int height = 0;
  double left = 0.0;
  double top = 0.0;
  double cellSize = 0.0;
};

struct RasterBandText {
  std::string description;
  std::string timeSeconds;  // the band's TIME_S metadata item, none when ""
};

// The value of every pixel that has none.
inline constexpr double rasterNoData = -9999.0;

// A run of pixels of one row of one band: row 0 at the top, band 0 first.
struct RowSpan {
  int band = 0;
  int row = 0;
  int firstColumn = 0;
  int columns = 0;
};

// Fills span.columns values, the pixels of the span.
using RasterRows = std::function<void(const RowSpan& span, float* values)>;

struct RasterFile {
  std::string stagedFile;  // where it is written
  std::string fileName;    // as the user knows it
};

// crsWkt "" writes no coordinate system. Classes take the nearest value in
// the overviews, other values the mean. A failure names fileName.
void writeCloudGeoTiff(const RasterFile& file, const RasterFrame& frame, const std::string& crsWkt,
                       const std::vector<RasterBandText>& bands, const RasterRows& rows, bool classes);

}  // namespace dataio
