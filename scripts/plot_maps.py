"""Draws the maps of the bundled example as GIS shows them: the raster of the
maximum water depth, with the flood outline on top and the hazard classes
beside it.

Writes docs/maps.png, the picture of the user guide's section "Maps for GIS"
(docs/guide.md). Run it again whenever the example changes.

Requirements (not part of CI): GDAL's Python bindings and matplotlib (Debian
12: packages `python3-gdal` and `python3-matplotlib`) and the exported
example: run scripts/example.sh first.

Usage, from the repository's root:
  /usr/bin/python3 scripts/plot_maps.py [folder [picture.png]]
The defaults are examples/out and docs/maps.png.
"""

import os
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402
from matplotlib.colors import BoundaryNorm, ListedColormap  # noqa: E402
from osgeo import gdal, ogr  # noqa: E402

gdal.UseExceptions()
ogr.UseExceptions()

HAZARD_COLOURS = ["#2c7bb6", "#abd9e9", "#ffffbf", "#fdae61", "#f46d43", "#a50026"]


def raster(path):
    dataset = gdal.Open(path)
    band = dataset.GetRasterBand(1)
    values = band.ReadAsArray().astype(float)
    values[values == band.GetNoDataValue()] = np.nan
    left, size, _, top, _, _ = dataset.GetGeoTransform()
    extent = (left, left + size * dataset.RasterXSize, top - size * dataset.RasterYSize, top)
    return values, extent, dataset.GetSpatialRef().GetName()


def outline_rings(path):
    rings = []
    source = ogr.Open(path)  # held while its layer is read
    layer = source.GetLayerByName("flood_outline")
    for feature in layer:
        polygon = feature.GetGeometryRef()
        for k in range(polygon.GetGeometryCount()):
            ring = polygon.GetGeometryRef(k)
            rings.append(np.array([ring.GetPoint_2D(i) for i in range(ring.GetPointCount())]))
    return rings


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "examples/out"
    picture = sys.argv[2] if len(sys.argv) > 2 else "docs/maps.png"
    depth, extent, crs = raster(os.path.join(folder, "dambreak_water_depth_max.tif"))
    hazard, _, _ = raster(os.path.join(folder, "dambreak_hazard_class_max.tif"))
    rings = outline_rings(os.path.join(folder, "dambreak_outline.gpkg"))
    figure, (top, bottom) = plt.subplots(2, 1, figsize=(10, 6.6), constrained_layout=True)
    shown = top.imshow(depth, extent=extent, cmap="Blues", vmin=0.0, vmax=2.0, interpolation="nearest")
    figure.colorbar(shown, ax=top, label="maximum water depth (m)", shrink=0.9)
    classes = ListedColormap(HAZARD_COLOURS)
    shown = bottom.imshow(hazard, extent=extent, cmap=classes, norm=BoundaryNorm(np.arange(0.5, 7.5), 6),
                          interpolation="nearest")
    bar = figure.colorbar(shown, ax=bottom, ticks=range(1, 7), shrink=0.9)
    bar.set_ticklabels([f"H{k}" for k in range(1, 7)])
    bar.set_label("highest hazard class")
    for axes, title in ((top, "dambreak_water_depth_max.tif, with dambreak_outline.gpkg"),
                        (bottom, "dambreak_hazard_class_max.tif")):
        for ring in rings:
            axes.plot(ring[:, 0], ring[:, 1], color="#d7191c", linewidth=1.6)
        axes.set_title(title, fontsize=10)
        axes.set_aspect("equal")
        axes.ticklabel_format(useOffset=False, style="plain")
        axes.set_xlabel(f"x (m, {crs})")
        axes.set_ylabel("y (m)")
    figure.savefig(picture, dpi=110)
    print(f"wrote {picture}")


if __name__ == "__main__":
    main()
