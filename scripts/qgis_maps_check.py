"""Checks what QGIS shows of an export's maps against the results file.

Loads every raster <stem>_*.tif the export wrote as a QGIS raster layer
(GDAL provider) and the outline <stem>_outline.gpkg as a vector layer, as a
user adds them, and checks:
  - each layer is valid and carries the coordinate system given (--crs), or
    none when none is given;
  - at sampled pixel centres, every band shows the value of the mesh cell
    that holds the centre (on a shared edge or corner, the cell of the lowest
    index), nodata outside the mesh and where the value is NaN: the outputs'
    values at the band's time (TIME_S), the envelopes and the hazard classes
    over the times that <stem>.xdmf declares, all computed here from the
    HDF5 results file (stored_outputs.py);
  - the outline's features are valid polygons whose areas add up to the
    area of the cells whose maximum depth reached the wet depth.

Requirements (not part of CI): QGIS's Python bindings and its providers
(Debian 12: `python3-qgis`, `qgis-providers`), h5py and numpy, for Debian's
/usr/bin/python3. It runs headless (QT_QPA_PLATFORM=offscreen unless set).

Usage: python3 scripts/qgis_maps_check.py [--crs AUTHID] [--wet-depth D] STEM results.h5

Exits with status 1 when a value or a layer disagrees, 77 when QGIS or h5py
is not importable.
"""

import glob
import os
import sys
from fractions import Fraction

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
try:
    from stored_outputs import SKIP_STATUS, StoredEnvelopes, StoredRun, document_times, time_key
except ImportError as missing:
    print(f"skip: {missing} (install python3-h5py)")
    sys.exit(77)

os.environ.setdefault("QT_QPA_PLATFORM", "offscreen")
try:
    from qgis.core import QgsApplication, QgsPointXY, QgsRasterLayer, QgsVectorLayer
except ImportError as missing:
    print(f"skip: {missing} (install python3-qgis and qgis-providers)")
    sys.exit(SKIP_STATUS)

import numpy as np

SAMPLES = 400  # pixel centres per raster, spread over its rows and columns
NODATA = -9999.0
# The combined hazard curves: class, then the limits of D*V, D and V.
HAZARD_LIMITS = ((1, 0.3, 0.3, 2.0), (2, 0.6, 0.5, 2.0), (3, 0.6, 1.2, 2.0), (4, 1.0, 2.0, 2.0), (5, 4.0, 4.0, 4.0))


def hazard_classes(depth, speed):
    classes = np.full(depth.shape, 6.0)
    for hazard, product, deepest, fastest in reversed(HAZARD_LIMITS):
        classes[(depth * speed <= product) & (depth <= deepest) & (speed <= fastest)] = hazard
    classes[np.isnan(depth) | np.isnan(speed)] = 0.0
    return classes


def orientation(a, b, c):
    """The exact sign of (b - a) x (c - a)."""
    ax, ay, bx, by, cx, cy = (Fraction(v) for v in (*a, *b, *c))
    d = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax)
    return (d > 0) - (d < 0)


def cell_at(run, x, y):
    """The lowest cell whose closed triangle holds (x, y), or -1."""
    corners = run.coordinates[run.topology[:, :3].astype(int)][:, :, :2]
    low, high = corners.min(axis=1), corners.max(axis=1)
    for cell in np.nonzero((low[:, 0] <= x) & (x <= high[:, 0]) & (low[:, 1] <= y) & (y <= high[:, 1]))[0]:
        a, b, c = (tuple(corners[cell, k]) for k in range(3))
        turn = orientation(a, b, c)
        if turn != 0 and all(orientation(p, q, (x, y)) != -turn for p, q in ((a, b), (b, c), (c, a))):
            return int(cell)
    return -1


def expected_pixel(values, cell):
    if cell < 0 or np.isnan(values[cell]):
        return NODATA
    return float(np.float32(values[cell]))


def check_raster(path, name, run, envelopes, crs):
    layer = QgsRasterLayer(path, name, "gdal")
    if not layer.isValid():
        print(f"{name}: QGIS cannot load it MISMATCH")
        return False
    ok = layer.crs().authid() == crs if crs else not layer.crs().isValid()
    provider = layer.dataProvider()
    width, height = layer.width(), layer.height()
    extent = layer.extent()
    size = extent.width() / width
    bands = []
    for band in range(1, layer.bandCount() + 1):
        if name in envelopes:
            bands.append(envelopes[name])
        else:
            # The GDAL provider names a band "Band 01: t = 2.5 s" after its description.
            label = provider.generateBandName(band)
            bands.append(run.expected(name, time_key(label.split("t = ")[1].split()[0])))
    step = max(1, int((width * height / SAMPLES) ** 0.5))
    differing = sampled = 0
    for row in range(0, height, step):
        for column in range(0, width, step):
            x = extent.xMinimum() + (column + 0.5) * size
            y = extent.yMaximum() - (row + 0.5) * size
            cell = cell_at(run, x, y)
            for band, values in enumerate(bands, start=1):
                shown, found = provider.sample(QgsPointXY(x, y), band)
                shown = shown if found else NODATA
                expected = expected_pixel(values, cell)
                sampled += 1
                if abs(shown - expected) > 1e-6 * max(1.0, abs(expected)):
                    differing += 1
    ok = ok and differing == 0
    print(f"{name}: {layer.bandCount()} bands, {width} x {height} at {size:g} m, crs {layer.crs().authid() or 'none'}, "
          f"{sampled} samples, {differing} differ" + ("" if ok else " MISMATCH"))
    return ok


def check_outline(path, run, envelopes, wet_depth, crs):
    layer = QgsVectorLayer(f"{path}|layername=flood_outline", "outline", "ogr")
    if not layer.isValid():
        print("outline: QGIS cannot load it MISMATCH")
        return False
    corners = run.coordinates[run.topology[:, :3].astype(int)][:, :, :2]
    areas = 0.5 * np.abs(np.cross(corners[:, 1] - corners[:, 0], corners[:, 2] - corners[:, 0]))
    wet = envelopes["water_depth_max"] >= wet_depth
    expected = float(areas[wet].sum())
    shown = sum(feature.geometry().area() for feature in layer.getFeatures())
    valid = all(feature.geometry().isGeosValid() for feature in layer.getFeatures())
    ok = valid and abs(shown - expected) <= 1e-9 * max(1.0, expected)
    ok = ok and (layer.crs().authid() == crs if crs else not layer.crs().isValid())
    print(f"outline: {layer.featureCount()} parts, {shown:.6f} m2 of {expected:.6f} m2 wet, "
          f"{'valid' if valid else 'invalid'}, crs {layer.crs().authid() or 'none'}" + ("" if ok else " MISMATCH"))
    return ok


def main(arguments):
    crs, wet_depth = None, None
    while arguments[:1] in (["--crs"], ["--wet-depth"]):
        if arguments[0] == "--crs":
            crs = arguments[1]
        else:
            wet_depth = float(arguments[1])
        arguments = arguments[2:]
    stem, results = arguments
    run = StoredRun(results)
    stored = StoredEnvelopes(run, document_times(stem + ".xdmf"), wet_depth)
    envelopes = dict(stored.values)
    times = stored.times
    depth = np.stack([run.expected("water_depth", t) for t in times])
    speed = np.stack([run.expected("flow_velocity_abs", t) for t in times])
    classes = np.nanmax(np.where(np.isnan(depth), np.nan, hazard_classes(depth, speed)), axis=0)
    classes[~(depth >= stored.wet_depth).any(axis=0)] = np.nan
    envelopes["hazard_class_max"] = classes

    application = QgsApplication([], False)
    application.initQgis()
    ok = True
    rasters = sorted(glob.glob(glob.escape(stem) + "_*.tif"))
    for path in rasters:
        ok = check_raster(path, path[len(stem) + 1:-4], run, envelopes, crs) and ok
    outline = stem + "_outline.gpkg"
    if os.path.exists(outline):
        ok = check_outline(outline, run, envelopes, stored.wet_depth, crs) and ok
    if not rasters:
        print(f"no raster {stem}_*.tif MISMATCH")
        ok = False
    application.exitQgis()
    print("all values agree" if ok else "values disagree")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
