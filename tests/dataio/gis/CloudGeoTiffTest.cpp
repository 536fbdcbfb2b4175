// The rasters as GIS reads them: tiled, compressed, with overviews once they
// are larger than a tile, every row as its source gave it; a failure names
// the file as the user knows it.

#include <gdal.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "dataio/gis/CloudGeoTiff.hpp"
#include "support/FailureReport.hpp"
#include "support/TempDir.hpp"

namespace {

const dataio::RasterFrame frame{1300, 600, 1000.0, 5000.0, 0.5};

float valueAt(int band, int row, int column) { return static_cast<float>(band * 1e6 + row * 1000 + column); }

const dataio::RasterRows rows = [](const dataio::RowSpan& span, float* values) {
  for (int k = 0; k < span.columns; ++k) values[k] = valueAt(span.band, span.row, span.firstColumn + k);
};

}  // namespace

TEST(CloudGeoTiff, LargeRastersAreWrittenAsCloudOptimisedTiffs) {
  testing_support::TempDir dir;
  const std::string file = dir.file("big.tif");
  dataio::writeCloudGeoTiff({dir.file(".big.tif.partial"), file}, frame, "", {{"first", "1"}, {"second", "2"}}, rows,
                            false);
  ASSERT_EQ(std::rename(dir.file(".big.tif.partial").c_str(), file.c_str()), 0);
  GDALAllRegister();
  GDALDatasetH dataset = GDALOpen(file.c_str(), GA_ReadOnly);
  ASSERT_NE(dataset, nullptr);
  EXPECT_STREQ(GDALGetMetadataItem(dataset, "COMPRESSION", "IMAGE_STRUCTURE"), "DEFLATE");
  EXPECT_STREQ(GDALGetMetadataItem(dataset, "LAYOUT", "IMAGE_STRUCTURE"), "COG");
  ASSERT_EQ(GDALGetRasterCount(dataset), 2);
  for (int b = 1; b <= 2; ++b) {
    GDALRasterBandH band = GDALGetRasterBand(dataset, b);
    std::pair<int, int> block;
    GDALGetBlockSize(band, &block.first, &block.second);
    EXPECT_EQ(block, std::make_pair(512, 512));
    EXPECT_GE(GDALGetOverviewCount(band), 1);
    std::vector<float> values(static_cast<std::size_t>(frame.width) * frame.height);
    ASSERT_EQ(GDALRasterIO(band, GF_Read, 0, 0, frame.width, frame.height, values.data(), frame.width, frame.height,
                           GDT_Float32, 0, 0),
              CE_None);
    std::size_t wrong = 0;
    for (std::size_t k = 0; k < values.size(); ++k)
      wrong += values[k] != valueAt(b - 1, static_cast<int>(k) / frame.width, static_cast<int>(k) % frame.width);
    EXPECT_EQ(wrong, 0u) << "band " << b;
  }
  double transform[6];
  GDALGetGeoTransform(dataset, transform);
  EXPECT_EQ(std::vector<double>(transform, transform + 6), (std::vector<double>{1000.0, 0.5, 0, 5000.0, 0, -0.5}));
  GDALClose(dataset);
  EXPECT_FALSE(std::ifstream(dir.file(".big.tif.partial.ovr.tmp")).good());
  const std::string report = testing_support::failureReport([&] {
    dataio::writeCloudGeoTiff({dir.file("gone/.map.tif.partial"), "maps/map.tif"}, frame, "", {{"only", ""}}, rows,
                              false);
  });
  EXPECT_EQ(report.rfind(" -> cannot write <maps/map.tif>: ", 0), 0u) << report;
  EXPECT_EQ(report.find(".partial"), std::string::npos) << report;
}
