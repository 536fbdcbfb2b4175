"""Checks what meshio reads of a portable document against the results file.

Reads the document with meshio's XDMF time-series reader
(meshio.xdmf.TimeSeriesReader) and compares the mesh with the stored one and,
at every step, every cell attribute the document declares with the values
computed here from the HDF5 results file (stored_outputs.py); the steps must
be the times the document declares (all stored times or a selection), each a
stored time. meshio reads
XDMF 3 documents of plain data items only: the portable form, not the
default one.

Requirements (not part of CI): meshio and h5py with numpy (Debian 12:
packages `python3-meshio` and `python3-h5py`), for the same Python (Debian's
/usr/bin/python3).

Usage, from the repository's root:
  python3 scripts/meshio_check.py [--envelopes-of TIMES.xdmf [--wet-depth D]] document.xdmf results.h5

With --envelopes-of, the document is a portable envelope document
(<stem>_envelopes.xdmf) and its attributes are compared with the envelopes
computed here over the times that TIMES.xdmf (the time-step document of the
same export entry) declares; D is the entry's "wet_depth", by default the
run's minimum water depth, as the tool takes it.

Exits with status 1 when a value differs by more than 1e-9 times the largest
expected magnitude (at least 1e-9), or when an output, a step or the mesh
differs; status 77 when meshio or h5py is not importable.
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

try:
    import meshio
except ImportError as missing:
    print(f"skip: {missing} (install python3-meshio)")
    sys.exit(SKIP_STATUS)

import numpy as np


def check_mesh(points, cells, run):
    triangles = [block.data for block in cells if block.type == "triangle"]
    ok = (len(cells) == 1 and len(triangles) == 1 and np.array_equal(triangles[0], run.topology)
          and np.array_equal(points, run.coordinates))
    print(f"mesh: {sum(len(block.data) for block in cells)} cells, {len(points)} points"
          + ("; as stored" if ok else " MISMATCH"))
    return ok


def main(arguments):
    envelopes_of, wet_depth, arguments = envelope_options(arguments)
    if len(arguments) != 2:
        print("usage: meshio_check.py [--envelopes-of TIMES.xdmf [--wet-depth D]] document.xdmf results.h5")
        return 2
    document, results_path = arguments
    for path in [document, results_path] + ([envelopes_of] if envelopes_of else []):
        if not os.path.isfile(path):
            print(f"missing {path}")
            return 1
    run = expected_values(StoredRun(results_path), envelopes_of, wet_depth)
    names = attribute_names(document)
    print(f"meshio {meshio.__version__}; {len(names)} outputs in {document}: {', '.join(names)}")
    if envelopes_of:
        print(f"envelopes over the {len(run.times)} times of {envelopes_of}, wet at a depth of at least {run.wet_depth:g}")
    with meshio.xdmf.TimeSeriesReader(document) as reader:
        points, cells = reader.read_points_cells()
        ok = check_mesh(points, cells, run)
        times = []
        for k in range(reader.num_steps):
            t, _, cell_data = reader.read_data(k)
            times.append(time_key(t))
            entries = []
            for name in names:
                actual = cell_data[name][0] if name in cell_data else None
                expected = run.expected(name, t) if time_key(t) in run.steps else None
                entry, within = report(name, actual, expected)
                entries.append(entry)
                ok = ok and within
            print(f"  t = {t:f}: " + ", ".join(entries))
    text, times_ok = times_report(times, document_times(document), run)
    print(text)
    ok = ok and times_ok
    print("all values agree" if ok else "differences beyond the tolerance")
    return 0 if ok else 1


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv[1:]))
    except meshio.ReadError as refusal:
        print(f"meshio refuses the document: {refusal} MISMATCH")
        sys.exit(1)
