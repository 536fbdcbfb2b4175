"""One envelope as QGIS rasterises it: "Rasterize mesh dataset"
(native:meshrasterize) over a .2dm mesh with an export's envelope document
as its datasets, for the group water_depth_max, on the grid of the tool's
raster of it (same extent and pixel size). Prints the seconds the algorithm
took (QGIS started and the layers loaded beforehand), then how many pixels
differ from the tool's raster, and by how much.

  QT_QPA_PLATFORM=offscreen /usr/bin/python3 bench/qgis_rasterize.py mesh.2dm envelopes.xdmf tool.tif out.tif
"""

import os
import sys
import time

import numpy as np
from osgeo import gdal
from qgis.core import QgsCoordinateReferenceSystem, QgsRectangle

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from qgis_mesh import mesh_layer, start_processing  # noqa: E402


def main():
    mesh_path, document, ours = (os.path.abspath(name) for name in sys.argv[1:4])
    output = os.path.abspath(sys.argv[4])
    _app, processing = start_processing()  # held until the end
    layer = mesh_layer(mesh_path, document)
    provider = layer.dataProvider()
    group = next(g for g in range(provider.datasetGroupCount())
                 if provider.datasetGroupMetadata(g).name() == "water_depth_max")
    tool = gdal.Open(ours)
    left, size, _, top, _, _ = tool.GetGeoTransform()
    extent = QgsRectangle(left, top - size * tool.RasterYSize, left + size * tool.RasterXSize, top)
    start = time.perf_counter()
    processing.run("native:meshrasterize", {
        "INPUT": layer, "DATASET_GROUPS": [group],
        "DATASET_TIME": {"type": "dataset-time-step", "value": [group, 0]},
        "EXTENT": extent, "PIXEL_SIZE": size, "CRS_OUTPUT": QgsCoordinateReferenceSystem(), "OUTPUT": output})
    seconds = time.perf_counter() - start
    print(f"QGIS native:meshrasterize: {seconds:.3f} s")
    theirs = gdal.Open(output)
    a = tool.GetRasterBand(1).ReadAsArray().astype(np.float64)
    b = theirs.GetRasterBand(1).ReadAsArray().astype(np.float64)
    nodata_a, nodata_b = tool.GetRasterBand(1).GetNoDataValue(), theirs.GetRasterBand(1).GetNoDataValue()
    missing_a, missing_b = a == nodata_a, (b == nodata_b) | np.isnan(b)
    if a.shape != b.shape:
        print(f"QGIS wrote {b.shape[1]} x {b.shape[0]} pixels, the tool {a.shape[1]} x {a.shape[0]}")
        return
    both = ~missing_a & ~missing_b
    differ = both & (np.abs(a - b) > 1e-6 * np.maximum(1.0, np.abs(a)))
    print(f"{a.size} pixels: {int(differ.sum())} differ in value (largest difference "
          f"{float(np.abs(a - b)[both].max()) if both.any() else 0.0:.4g} m), {int((missing_a != missing_b).sum())} "
          f"nodata in one raster only")
    sys.stdout.flush()
    # QGIS 3.22 may crash as it shuts down headless; the figures are out.
    os._exit(0)


if __name__ == "__main__":
    main()
