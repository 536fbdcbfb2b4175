"""Checks what ParaView shows for the bundled example against the results file.

Opens the exported document with ParaView's "XDMF Reader" and, for every time
step, compares the cell data water_depth, water_surface, spec_discharge and
flow_velocity with the values computed here from the HDF5 results file.

Requirements (not part of CI; run where ParaView is installed):
  - ParaView 5.11 with Python, run through pvbatch (Debian 12: package
    `paraview`);
  - h5py and numpy importable from ParaView's Python (Debian 12: package
    `python3-h5py`, which brings numpy);
  - the exported example: run scripts/example.sh first.

Usage, from the repository's root:
  pvbatch scripts/paraview_check.py [document.xdmf [results.h5]]
The defaults are examples/out/dambreak.xdmf and examples/out/dambreak.h5.

Prints the largest absolute difference per time step and output, and exits
with status 1 when one of them exceeds 1e-9 times the largest expected
magnitude of that output at that step (at least 1e-9). The expected values
are rounded to the precision in which ParaView shows each array: documents
whose data items declare no precision are read in single precision.
"""

import os
import sys

import h5py
import numpy as np
from paraview import servermanager
from paraview.simple import ForceTime, XDMFReader
from paraview.vtk.numpy_interface import dataset_adapter as dsa

RELATIVE_TOLERANCE = 1e-9
CHECKED = ("water_depth", "water_surface", "spec_discharge", "flow_velocity")
HYD_STATE = "RESULTS/CellsAll/HydState"
BED_STEPS = "RESULTS/CellsAll/BottomEl"
BED_STATIC = "CellsAll/BottomEl"


def time_key(t):
    """The document labels times with six decimals ("%f")."""
    return round(float(t), 6)


class Results:
    """The stored steps of the results file and the outputs computed from them."""

    def __init__(self, path):
        self.file = h5py.File(path, "r")
        self.steps = {
            time_key(dataset.attrs["t"]): name
            for name, dataset in self.file[HYD_STATE].items()
        }
        depth = self.file.get("Parameters/MinWaterDepth")
        self.min_depth = float(depth[0]) if depth is not None else 0.0

    def expected(self, t, shown_types):
        """The outputs at the precision in which the viewer shows each one.

        The document's data items declare no precision, so XDMF reads the
        stored doubles as single precision: the stored columns are rounded
        first, and water_depth is the viewer's own difference of the rounded
        columns (exact in single precision, as surface and bed are close).
        """
        name = self.steps[time_key(t)]
        state = self.file[HYD_STATE][name][()]
        if BED_STEPS in self.file:
            bed = self.file[BED_STEPS][name][:, 0]
        else:
            bed = self.file[BED_STATIC][:, 0]
        surface, discharge = state[:, 0], state[:, 1:3]
        depth = surface - bed
        wet = ~(self.min_depth > depth)
        velocity = np.zeros_like(discharge)
        velocity[wet] = discharge[wet] / depth[wet, None]

        def rounded(output, values):
            return values.astype(shown_types[output]).astype(np.float64)

        return {
            "water_depth": rounded("water_depth", surface) - rounded("water_depth", bed),
            "water_surface": rounded("water_surface", surface),
            "spec_discharge": rounded("spec_discharge", discharge),
            "flow_velocity": rounded("flow_velocity", velocity),
        }


def first_dataset(data):
    """The reader may hand the grid of a time step inside a composite data set."""
    if data.IsA("vtkCompositeDataSet"):
        iterator = data.NewIterator()
        iterator.InitTraversal()
        return first_dataset(iterator.GetCurrentDataObject())
    return data


def shown(reader, t):
    forced = ForceTime(Input=reader, ForcedTime=t, IgnorePipelineTime=1)
    cells = dsa.WrapDataObject(first_dataset(servermanager.Fetch(forced))).CellData
    # A missing array counts as one without cells.
    return {
        name: np.asarray(cells[name]) if name in cells.keys() else np.empty((0,))
        for name in CHECKED
    }


def compare(name, actual, expected):
    """Largest difference and whether it is within the tolerance."""
    actual = actual.astype(np.float64)
    if actual.shape[0] != expected.shape[0]:
        print(f"  {name}: {actual.shape[0]} cells shown, {expected.shape[0]} expected")
        return float("inf"), False
    if expected.ndim == 2:
        # Vectors are shown with a third component, zero everywhere.
        padding = actual[:, expected.shape[1]:]
        actual = actual[:, : expected.shape[1]]
        if padding.size and np.abs(padding).max() != 0.0:
            return float(np.abs(padding).max()), False
    difference = float(np.abs(actual - expected).max()) if expected.size else 0.0
    scale = max(float(np.abs(expected).max()) if expected.size else 0.0, 1.0)
    return difference, difference <= RELATIVE_TOLERANCE * scale


def main(arguments):
    document = arguments[0] if arguments else "examples/out/dambreak.xdmf"
    results_path = arguments[1] if len(arguments) > 1 else "examples/out/dambreak.h5"
    for path in (document, results_path):
        if not os.path.isfile(path):
            print(f"missing {path}: run scripts/example.sh first")
            return 1
    results = Results(results_path)
    reader = XDMFReader(FileNames=[os.path.abspath(document)])
    times = list(reader.TimestepValues)
    ok = len(times) == len(results.steps)
    print(f"{len(times)} time steps shown, {len(results.steps)} stored")
    for t in times:
        if time_key(t) not in results.steps:
            print(f"t = {t}: no stored step has this time")
            ok = False
            continue
        actual = shown(reader, t)
        expected = results.expected(t, {name: values.dtype for name, values in actual.items()})
        report = []
        for name in CHECKED:
            difference, within = compare(name, actual[name], expected[name])
            ok = ok and within
            report.append(f"{name} {difference:.3e}" + ("" if within else " MISMATCH"))
        precision = actual["water_surface"].dtype
        print(f"t = {t:f} ({precision}): " + ", ".join(report))
    print("all values agree" if ok else "differences beyond the tolerance")
    return 0 if ok else 1


sys.exit(main(sys.argv[1:]))
