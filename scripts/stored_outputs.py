"""The outputs of a results file as the export should show them, computed here
with h5py and numpy from the stored data alone, for the reader checks
(paraview_check.py, qgis_check.py, meshio_check.py); and the flood envelopes
of a selection of its stored times, as an envelope document should show them.

Not part of CI: it needs h5py and numpy (Debian 12: python3-h5py).
"""

import xml.etree.ElementTree as ET

import h5py
import numpy as np

RELATIVE_TOLERANCE = 1e-9
SKIP_STATUS = 77  # the scripts' exit status when a reader is not installed
CELLS = "RESULTS/CellsAll"
FLOOD_SUFFIXES = ("_t", "_h", "_v", "_q", "_tau")


def time_key(t):
    """The documents label times with six decimals ("%f")."""
    return round(float(t), 6)


def attribute_names(document):
    """The attribute names of the document's steps, in their order."""
    names = []
    for element in ET.parse(document).getroot().iter("Attribute"):
        if element.get("Name") not in names:
            names.append(element.get("Name"))
    return names


def document_times(document):
    """The times of the document's steps, in their order: all stored times or
    a selection of them (a window, a stride)."""
    return [time_key(element.get("Value")) for element in ET.parse(document).getroot().iter("Time")]


def times_report(shown, declared, run):
    """One "n shown, n declared, n stored" text, and whether the shown times
    are the declared ones and each of them a stored time."""
    unstored = [t for t in declared if t not in run.steps]
    ok = [time_key(t) for t in shown] == declared and not unstored
    text = f"{len(shown)} times shown, {len(declared)} declared, {len(run.steps)} stored"
    if unstored:
        text += f"; {unstored[0]:g} is not a stored time"
    return text + ("" if ok else " MISMATCH"), ok


class StoredRun:
    """The stored steps of a results file and the outputs derived from them."""

    def __init__(self, path):
        self.file = h5py.File(path, "r")
        state = f"{CELLS}/HydState"
        group = state if state in self.file else f"{CELLS}/{next(iter(self.file[CELLS]))}"
        self.steps = {time_key(d.attrs["t"]): name for name, d in self.file[group].items()}
        self.first_step = min(self.file[group])
        depth = self.file.get("Parameters/MinWaterDepth")
        self.min_depth = float(depth[0]) if depth is not None else 0.0
        self.topology = self.file["CellsAll/Topology"][()]
        self.coordinates = self.file["NodesAll/Coordnts"][()]

    def times(self):
        return sorted(self.steps)

    def column(self, data, t, column=0, step=None):
        """A stored column at the step of time t (or the named step); a
        dataset that is not stored per step is the same at every time."""
        if f"{CELLS}/{data}" in self.file:
            name = step if step is not None else self.steps[time_key(t)]
            return self.file[f"{CELLS}/{data}/{name}"][:, column]
        return self.file[f"CellsAll/{data}"][:, column]

    def expected(self, name, t):
        """The output's values per cell: shape (cells,) or (cells, 2) for
        vectors; None for an output these checks know no formula for."""
        surface = lambda: self.column("HydState", t, 0)
        bed = lambda: self.column("BottomEl", t, 0)
        if name == "water_surface":
            return surface()
        if name == "bottom_elevation":
            return bed()
        if name == "water_depth":
            return surface() - bed()
        if name == "delta_z":
            return bed() - self.column("BottomEl", t, 0, step=self.first_step)
        if name == "friction_chezy":
            return self.column("ChezyCoe", t, 0)
        if name == "spec_discharge":
            return np.stack([self.column("HydState", t, 1), self.column("HydState", t, 2)], axis=1)
        if name in ("flow_velocity", "flow_velocity_abs"):
            return self._velocity(t, name == "flow_velocity_abs")
        for k, suffix in enumerate(FLOOD_SUFFIXES):
            if name == "flood_tracking" + suffix:
                return self.column("FloodVar", t, k, step=self.first_step)
        return None

    def _velocity(self, t, magnitude):
        """A cell shallower than the minimum depth has no velocity; a depth
        equal to it still divides."""
        qx, qy = self.column("HydState", t, 1), self.column("HydState", t, 2)
        depth = self.column("HydState", t, 0) - self.column("BottomEl", t, 0)
        wet = ~(self.min_depth > depth)
        vx, vy = np.zeros_like(qx), np.zeros_like(qy)
        vx[wet], vy[wet] = qx[wet] / depth[wet], qy[wet] / depth[wet]
        if magnitude:
            return np.sqrt(vy**2 + vx**2)
        return np.stack([vx, vy], axis=1)


def compare(actual, expected):
    """The largest difference and whether it is within the tolerance. A
    scalar may come as one column; a vector may carry a third component,
    which must be zero everywhere. NaN (no value, as in the envelopes of a
    cell that was never wet) must stand where it is expected, and only there."""
    actual = np.asarray(actual, dtype=np.float64)
    if expected.ndim == 1 and actual.ndim == 2 and actual.shape[1] == 1:
        actual = actual[:, 0]
    if expected.ndim == 2 and actual.ndim == 2 and actual.shape[1] == 3:
        third = float(np.abs(actual[:, 2]).max()) if actual.size else 0.0
        if third != 0.0:
            return third, False
        actual = actual[:, :2]
    if actual.shape != expected.shape:
        return float("inf"), False
    missing = np.isnan(expected)
    if not np.array_equal(np.isnan(actual), missing):
        return float("nan"), False
    actual, expected = actual[~missing], expected[~missing]
    difference = float(np.abs(actual - expected).max()) if expected.size else 0.0
    scale = max(float(np.abs(expected).max()) if expected.size else 0.0, 1.0)
    return difference, difference <= RELATIVE_TOLERANCE * scale


def report(name, actual, expected):
    """One "name difference" entry of a step line, and whether it agrees."""
    if expected is None:
        return f"{name} has no reference MISMATCH", False
    if actual is None:
        return f"{name} missing MISMATCH", False
    difference, within = compare(actual, expected)
    return f"{name} {difference:.3e}" + ("" if within else " MISMATCH"), within


ENVELOPES = ("water_depth_max", "water_depth_tmax", "water_surface_max", "water_surface_tmax",
             "flow_velocity_abs_max", "flow_velocity_abs_tmax", "flow_velocity_at_max", "depth_velocity_max",
             "arrival_time", "wet_duration")


def first_maximum(values, times):
    """The largest number of each column of a (times, cells) array and the
    first time it is reached, with its row; NaN and -inf are no maximum."""
    filled = np.where(np.isnan(values), -np.inf, values)
    row = np.argmax(filled, axis=0)
    maximum = filled[row, np.arange(values.shape[1])]
    none = maximum == -np.inf
    return np.where(none, np.nan, maximum), np.where(none, np.nan, times[row]), row


class StoredEnvelopes:
    """The envelopes over the given stored times of a results file, computed
    with whole (times, cells) arrays: the maxima with the first time reached,
    the velocity at the largest speed, depth times speed, the first wet time
    and the wet duration (trapezoids of the wet flags over the intervals). A
    cell is wet at a depth of at least wet_depth (default: the run's minimum
    depth); a cell never wet has no time of any maximum. It stands in for a
    StoredRun in the checks: expected() gives the envelope of the name at any
    time, since the document shows the envelopes at one time."""

    def __init__(self, run, times, wet_depth=None):
        self.steps, self.topology, self.coordinates = run.steps, run.topology, run.coordinates
        self.wet_depth = run.min_depth if wet_depth is None else float(wet_depth)
        self.times = sorted(time_key(t) for t in times)
        t = np.array(self.times, dtype=np.float64)
        surface = np.stack([run.column("HydState", x, 0) for x in self.times])
        depth = surface - np.stack([run.column("BottomEl", x, 0) for x in self.times])
        velocity = np.stack([run.expected("flow_velocity", x) for x in self.times])
        speed = np.stack([run.expected("flow_velocity_abs", x) for x in self.times])
        cells = np.arange(depth.shape[1])

        wet = depth >= self.wet_depth
        ever_wet = wet.any(axis=0)
        values = {}
        for name, series in (("water_depth", depth), ("water_surface", surface), ("flow_velocity_abs", speed)):
            maximum, when, row = first_maximum(series, t)
            values[name + "_max"] = maximum
            values[name + "_tmax"] = np.where(ever_wet, when, np.nan)
            if name == "flow_velocity_abs":
                at_maximum = velocity[row, cells]
                at_maximum[np.isnan(maximum)] = np.nan
                values["flow_velocity_at_max"] = at_maximum
        values["depth_velocity_max"] = first_maximum(depth * speed, t)[0]
        values["arrival_time"] = np.where(ever_wet, t[np.argmax(wet, axis=0)], np.nan)
        flags = wet.astype(np.float64)
        values["wet_duration"] = (0.5 * np.diff(t)[:, None] * (flags[:-1] + flags[1:])).sum(axis=0)
        self.values = values

    def expected(self, name, _t):
        return self.values.get(name)


def envelope_options(arguments):
    """Takes "--envelopes-of DOCUMENT [--wet-depth D]" off the front of the
    arguments: the time-step document whose declared times the envelopes
    cover, and their wet depth. Returns (document or None, wet depth or None,
    the other arguments)."""
    of, wet_depth = None, None
    while arguments[:1] in (["--envelopes-of"], ["--wet-depth"]):
        if arguments[0] == "--envelopes-of":
            of = arguments[1]
        else:
            wet_depth = float(arguments[1])
        arguments = arguments[2:]
    return of, wet_depth, arguments


def expected_values(run, envelopes_of, wet_depth):
    """What the checked document must show: the run's outputs at every time,
    or the envelopes over the times that the document envelopes_of declares."""
    if envelopes_of is None:
        return run
    return StoredEnvelopes(run, document_times(envelopes_of), wet_depth)
