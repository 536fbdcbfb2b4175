"""Checks what QGIS shows of an exported mesh and document against the results file.

Loads the .2dm file as a mesh layer (QGIS's MDAL provider), adds the XDMF
document as its extra datasets, as a user does in QGIS, and compares:
  - the mesh's faces and vertices with the stored topology and coordinates;
  - "Bed Elevation", the group QGIS makes from the .2dm's z values, with the
    stored node elevations;
  - every other dataset group, at every time, with the values computed here
    from the HDF5 results file (stored_outputs.py).
The document may hold a selection: each group must show exactly the times
the document declares, each a stored time, and only the outputs it declares.

QGIS takes XDMF times as hours: a step at 1.7 s is shown at 1.7 h. The check
sets the provider's time unit to seconds, as the README tells users to do
(Layer Properties > Temporal > Provider Time Settings > Time unit), and then
matches every dataset to the stored step of its time.

Requirements (not part of CI): QGIS's Python bindings and its providers
(Debian 12: packages `python3-qgis` and `qgis-providers`), and h5py with
numpy (`python3-h5py`), all for the same Python (Debian's /usr/bin/python3).
It runs headless (QT_QPA_PLATFORM=offscreen unless set).

Usage, from the repository's root:
  python3 scripts/qgis_check.py [--envelopes-of TIMES.xdmf [--wet-depth D]] [mesh.2dm [document.xdmf [results.h5]]]
The defaults are examples/out/dambreak.2dm, examples/out/dambreak.xdmf and
examples/out/dambreak.h5.

With --envelopes-of, the document is an envelope document (<stem>_envelopes.xdmf),
added onto the mesh as the time-step document is, and every group is compared
with the envelopes computed here over the times that TIMES.xdmf (the
time-step document of the same export entry) declares; D is the entry's
"wet_depth", by default the run's minimum water depth, as the tool takes it.

Exits with status 1 when a value differs by more than 1e-9 times the largest
expected magnitude (at least 1e-9), or when a group, a step or a mesh entity
is missing; status 77 when QGIS or h5py is not importable.
"""

import os
import sys

# The tests run the checks from the source tree: leave no bytecode there.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
try:
    from stored_outputs import (SKIP_STATUS, StoredRun, attribute_names, document_times, envelope_options,
                                expected_values, report, time_key, times_report)
except ImportError as missing:
    print(f"skip: {missing} (install python3-h5py)")
    sys.exit(77)

os.environ.setdefault("QT_QPA_PLATFORM", "offscreen")
try:
    from qgis.core import (Qgis, QgsApplication, QgsMesh, QgsMeshDatasetIndex, QgsMeshLayer,
                           QgsUnitTypes)
except ImportError as missing:
    print(f"skip: {missing} (install python3-qgis and qgis-providers)")
    sys.exit(SKIP_STATUS)

import numpy as np

BED_GROUP = "Bed Elevation"
# The layer's time of a dataset that has none: QGIS gives a group of one
# dataset (an envelope) no time and shows it at every time of the layer.
NO_TIME_MS = -99999


def check_mesh(provider, run):
    mesh = QgsMesh()
    provider.populateMesh(mesh)
    faces, vertices = mesh.faceCount(), mesh.vertexCount()
    print(f"mesh: {faces} faces, {vertices} vertices; stored {len(run.topology)} cells, "
          f"{len(run.coordinates)} nodes")
    if (faces, vertices) != (len(run.topology), len(run.coordinates)):
        print("  MISMATCH")
        return False
    xyz = np.array([[mesh.vertex(i).x(), mesh.vertex(i).y(), mesh.vertex(i).z()] for i in range(vertices)])
    topology = np.array([mesh.face(i) for i in range(faces)])
    ok = np.array_equal(xyz, run.coordinates) and np.array_equal(topology, run.topology)
    print("  coordinates and node numbers as stored" if ok else "  coordinates or node numbers differ MISMATCH")
    return ok


def values(provider, index, count, vector):
    block = provider.datasetValues(index, 0, count)
    flat = np.array(block.values(), dtype=np.float64)
    return flat.reshape(count, 2) if vector else flat


def check_group(provider, group, run, cells, times):
    meta = provider.datasetGroupMetadata(group)
    name, vector = meta.name(), not meta.isScalar()
    count = provider.datasetCount(group)
    ok = True
    entries = []
    shown = []
    for i in range(count):
        index = QgsMeshDatasetIndex(group, i)
        # The document's number, which QGIS calls hours; with the time unit
        # set to seconds the layer's time (in milliseconds) must agree.
        t = provider.datasetMetadata(index).time()
        shown.append(t)
        shown_ms = provider.temporalCapabilities().datasetTime(index)
        shown_at = shown_ms / 1000.0
        actual = values(provider, index, cells, vector)
        expected = run.expected(name, t) if time_key(t) in run.steps else None
        entry, within = report(f"t = {t:g}", actual, expected)
        static = count == 1 and shown_ms == NO_TIME_MS
        if within and not static and abs(shown_at - t) > 0.001:
            entry, within = f"t = {t:g} shown at {shown_at:g} s MISMATCH", False
        ok = ok and within
        if not within:
            entries.append(entry)
    text, times_ok = times_report(shown, times, run)
    if count == 1 and provider.temporalCapabilities().datasetTime(QgsMeshDatasetIndex(group, 0)) == NO_TIME_MS:
        text += ", shown at every time"
    worst = "" if ok else ": " + ", ".join(entries[:5])
    print(f"{name}: {text}" + worst)
    return ok and times_ok


def main(arguments):
    envelopes_of, wet_depth, arguments = envelope_options(arguments)
    mesh_path = arguments[0] if arguments else "examples/out/dambreak.2dm"
    document = arguments[1] if len(arguments) > 1 else "examples/out/dambreak.xdmf"
    results_path = arguments[2] if len(arguments) > 2 else "examples/out/dambreak.h5"
    for path in [mesh_path, document, results_path] + ([envelopes_of] if envelopes_of else []):
        if not os.path.isfile(path):
            print(f"missing {path}: export the example with its .2dm first")
            return 1
    run = expected_values(StoredRun(results_path), envelopes_of, wet_depth)
    if envelopes_of:
        print(f"envelopes over the {len(run.times)} times of {envelopes_of}, wet at a depth of at least {run.wet_depth:g}")
    app = QgsApplication([], False)
    app.initQgis()
    try:
        return check(os.path.abspath(mesh_path), os.path.abspath(document), run)
    finally:
        app.exitQgis()


def check(mesh_path, document, run):
    print(f"QGIS {Qgis.QGIS_VERSION}")
    layer = QgsMeshLayer(mesh_path, "mesh", "mdal")
    if not layer.isValid():
        print(f"{mesh_path}: not a valid mesh layer MISMATCH")
        return 1
    provider = layer.dataProvider()
    ok = check_mesh(provider, run)
    if not provider.addDataset(document):
        print(f"{document}: not added as datasets MISMATCH")
        return 1
    first = provider.datasetGroupCount() - 1
    if provider.datasetCount(first) > 1:
        hours = provider.temporalCapabilities().datasetTime(QgsMeshDatasetIndex(first, 1)) / 3.6e6
        read = f"as read, the second time is {hours:g} h"
    else:
        read = "one time per group"
    provider.setTemporalUnit(QgsUnitTypes.TemporalSeconds)
    print(f"{read}; time unit set to seconds")

    names = attribute_names(document)
    declared = document_times(document)
    groups = {provider.datasetGroupMetadata(g).name(): g for g in range(provider.datasetGroupCount())}
    for name in [BED_GROUP] + names:
        if name not in groups:
            print(f"{name}: no dataset group MISMATCH")
            ok = False
    for name in [n for n in groups if n not in names and n != BED_GROUP]:
        print(f"{name}: a group the document does not declare MISMATCH")
        ok = False
    if BED_GROUP in groups:
        bed = values(provider, QgsMeshDatasetIndex(groups[BED_GROUP], 0), len(run.coordinates), False)
        entry, within = report(BED_GROUP, bed, run.coordinates[:, 2])
        print(entry)
        ok = ok and within
    for name in names:
        if name in groups:
            ok = check_group(provider, groups[name], run, len(run.topology), declared) and ok
    print("all values agree" if ok else "differences beyond the tolerance")
    return 0 if ok else 1


sys.exit(main(sys.argv[1:]))
