"""The gauges' series as QGIS gives them: "Export time series values from
points of a mesh dataset" (native:meshexporttimeseries) over a .2dm mesh with
an export's document as its datasets, for points given as "x y" lines, every
dataset group of the document and every stored time. Prints the seconds the algorithm took
(wall time, QGIS started and the layers loaded beforehand) and its CSV's rows.

  QT_QPA_PLATFORM=offscreen /usr/bin/python3 bench/qgis_timeseries.py mesh.2dm document.xdmf points.txt out.csv
"""

import os
import sys
import time

from qgis.core import QgsFeature, QgsGeometry, QgsPointXY, QgsVectorLayer

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from qgis_mesh import mesh_layer, start_processing  # noqa: E402


def main():
    # Absolute names: QGIS's XDMF reader resolves the document's references
    # against the folder of the name it is given, and takes a bare name for
    # that folder.
    mesh_path, document = (os.path.abspath(name) for name in sys.argv[1:3])
    points_path, output = sys.argv[3:5]
    app, processing = start_processing()
    layer = mesh_layer(mesh_path, document)
    provider = layer.dataProvider()
    points = QgsVectorLayer("Point", "gauges", "memory")
    features = []
    with open(points_path) as lines:
        for line in lines:
            x, y = (float(v) for v in line.split())
            feature = QgsFeature()
            feature.setGeometry(QgsGeometry.fromPointXY(QgsPointXY(x, y)))
            features.append(feature)
    points.dataProvider().addFeatures(features)
    # The document's outputs: the .2dm's own static "Bed Elevation" is none.
    groups = [g for g in range(provider.datasetGroupCount()) if provider.datasetGroupMetadata(g).isTemporal()]
    # From the first stored time to the last, at the stored interval (a time
    # step of 0 hours takes the interval of the first two datasets).
    last = provider.datasetCount(groups[0]) - 1
    start = time.perf_counter()
    processing.run("native:meshexporttimeseries", {
        "INPUT": layer, "DATASET_GROUPS": groups, "INPUT_POINTS": points,
        "STARTING_TIME": {"type": "dataset-time-step", "value": [groups[0], 0]},
        "FINISHING_TIME": {"type": "dataset-time-step", "value": [groups[0], last]},
        "TIME_STEP": 0, "COORDINATES_DIGITS": 2, "DATASET_DIGITS": 6, "OUTPUT": output})
    seconds = time.perf_counter() - start
    with open(output) as csv:
        rows = sum(1 for _ in csv) - 1
    print(f"native:meshexporttimeseries: {seconds:.3f} s for {len(features)} points, {len(groups)} dataset groups, "
          f"{rows} rows")
    app.exitQgis()


if __name__ == "__main__":
    main()
