"""Checks what ParaView shows of an exported document against the results file.

Opens the document with one or more of ParaView's XDMF readers and, for every
time step, compares every cell attribute the document declares with the
values computed here from the HDF5 results file (stored_outputs.py), and the
mesh with the stored one. The document may hold a selection: the readers must
show exactly the times it declares, each a stored time, and the outputs it
declares.

Readers: "XDMFReader" (ParaView's "XDMF Reader") opens both document forms;
"Xdmf3ReaderS" and "Xdmf3ReaderT" open portable documents only (they do not
evaluate HyperSlab or Function items nor resolve references, so they show
the default form's mesh without arrays).

Requirements (not part of CI; run where ParaView is installed):
  - ParaView 5.11 with Python, run through pvbatch (Debian 12: package
    `paraview`);
  - h5py and numpy importable from ParaView's Python (Debian 12: package
    `python3-h5py`, which brings numpy);
  - an exported document: run scripts/example.sh first for the defaults.

Usage, from the repository's root:
  pvbatch scripts/paraview_check.py [--readers NAMES] [--envelopes-of TIMES.xdmf [--wet-depth D]]
                                    [document.xdmf [results.h5]]
NAMES is a comma-separated list of the readers above, or "all"; the default
is XDMFReader. The defaults are examples/out/dambreak.xdmf and
examples/out/dambreak.h5.

With --envelopes-of, the document is an envelope document (<stem>_envelopes.xdmf)
and its attributes are compared with the envelopes computed here over the
times that TIMES.xdmf (the time-step document of the same export entry)
declares; D is the entry's "wet_depth", by default the run's minimum water
depth, as the tool takes it.

Prints, per reader and time step, the largest absolute difference per output,
and exits with status 1 when one exceeds 1e-9 times the largest expected
magnitude of that output at that step (at least 1e-9), or when an output or a
declared step is missing or a step is not stored; status 77 when ParaView's Python lacks h5py or numpy.
"""

import os
import sys

# The tests run the checks from the source tree: leave no bytecode there.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
try:
    from stored_outputs import (StoredRun, attribute_names, document_times, envelope_options, expected_values,
                                report, time_key, times_report)
except ImportError as missing:
    print(f"skip: {missing} (install python3-h5py)")
    sys.exit(77)

import numpy as np
from paraview import servermanager
from paraview import simple
from paraview.vtk.numpy_interface import dataset_adapter as dsa

READERS = ("XDMFReader", "Xdmf3ReaderS", "Xdmf3ReaderT")


def open_reader(name, document):
    # The Xdmf3 readers find the HDF5 files from the document's folder only
    # when they are given an absolute name.
    if name == "XDMFReader":
        return simple.XDMFReader(FileNames=[document])
    return getattr(simple, name)(FileName=[document])


def leaves(data):
    """The grids of a composite data set; a portable document's mesh grid
    shows as a block of its own, without arrays."""
    if data.IsA("vtkCompositeDataSet"):
        iterator = data.NewIterator()
        iterator.InitTraversal()
        while not iterator.IsDoneWithTraversal():
            yield from leaves(iterator.GetCurrentDataObject())
            iterator.GoToNextItem()
    elif data is not None:
        yield data


def shown(reader, t):
    """The grid of time t with the most cell arrays."""
    forced = simple.ForceTime(Input=reader, ForcedTime=t, IgnorePipelineTime=1)
    grids = list(leaves(servermanager.Fetch(forced)))
    simple.Delete(forced)
    if not grids:
        return None
    return max(grids, key=lambda grid: grid.GetCellData().GetNumberOfArrays())


def check_mesh(grid, run):
    """Cells and points as stored; the points' coordinates exactly."""
    cells, points = grid.GetNumberOfCells(), grid.GetNumberOfPoints()
    if (cells, points) != (len(run.topology), len(run.coordinates)):
        print(f"  mesh: {cells} cells and {points} points shown, "
              f"{len(run.topology)} and {len(run.coordinates)} stored MISMATCH")
        return False
    difference = float(np.abs(dsa.WrapDataObject(grid).Points - run.coordinates).max())
    if difference != 0.0:
        print(f"  mesh: points differ by {difference:.3e} MISMATCH")
    return difference == 0.0


def check_reader(name, document, run, names):
    reader = open_reader(name, document)
    # One time comes as a number, not as a list of one.
    values = reader.TimestepValues
    times = [values] if isinstance(values, (int, float)) else list(values or [])
    text, ok = times_report(times, document_times(document), run)
    print(f"{name}: {text}")
    for position, t in enumerate(times):
        grid = shown(reader, t)
        if grid is None:
            print(f"  t = {t:f}: nothing shown MISMATCH")
            ok = False
            continue
        if position == 0:
            ok = check_mesh(grid, run) and ok
        cells = dsa.WrapDataObject(grid).CellData
        entries = []
        for output in names:
            actual = np.asarray(cells[output]) if output in cells.keys() else None
            expected = run.expected(output, t) if time_key(t) in run.steps else None
            entry, within = report(output, actual, expected)
            entries.append(entry)
            ok = ok and within
        print(f"  t = {t:f}: " + ", ".join(entries))
    simple.Delete(reader)
    return ok


def main(arguments):
    readers = ["XDMFReader"]
    if arguments[:1] == ["--readers"]:
        readers = list(READERS) if arguments[1] == "all" else arguments[1].split(",")
        arguments = arguments[2:]
    unknown = [name for name in readers if name not in READERS]
    if unknown:
        print(f"unknown reader {unknown[0]}: choose from {', '.join(READERS)} or all")
        return 2
    envelopes_of, wet_depth, arguments = envelope_options(arguments)
    document = arguments[0] if arguments else "examples/out/dambreak.xdmf"
    results_path = arguments[1] if len(arguments) > 1 else "examples/out/dambreak.h5"
    for path in [document, results_path] + ([envelopes_of] if envelopes_of else []):
        if not os.path.isfile(path):
            print(f"missing {path}: run scripts/example.sh first")
            return 1
    run = expected_values(StoredRun(results_path), envelopes_of, wet_depth)
    names = attribute_names(document)
    manager = servermanager.vtkSMProxyManager
    version = f"{manager.GetVersionMajor()}.{manager.GetVersionMinor()}.{manager.GetVersionPatch()}"
    print(f"ParaView {version}; "
          f"{len(names)} outputs in {document}: {', '.join(names)}")
    if envelopes_of:
        print(f"envelopes over the {len(run.times)} times of {envelopes_of}, wet at a depth of at least {run.wet_depth:g}")
    ok = True
    for name in readers:
        ok = check_reader(name, os.path.abspath(document), run, names) and ok
    print("all values agree" if ok else "differences beyond the tolerance")
    return 0 if ok else 1


sys.exit(main(sys.argv[1:]))
