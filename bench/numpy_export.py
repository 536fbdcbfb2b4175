#!/usr/bin/env python3
"""The export of a hydraulics run as a user would script it with h5py and numpy.

    numpy_export.py <results file> <document>

Writes what the tool's default export writes for a run whose outputs are
among water_surface, water_depth, bottom_elevation, spec_discharge, delta_z,
flow_velocity and flow_velocity_abs: the XDMF document, and beside it the
auxiliary file <document stem>_aux.h5 with flow_velocity/<step> (cells x 2)
and flow_velocity_abs/<step> (cells x 1), each with its "size" attribute.
The benchmark (run_export_bench.sh) times it against the tool. Each step's
datasets are read whole, as a script naturally does.
"""

import json
import os
import sys

import h5py
import numpy as np

STATE = "CellsAll/HydState"
BED = "CellsAll/BottomEl"
TOPOLOGY = "CellsAll/Topology"
COORDINATES = "NodesAll/Coordnts"
SUPPORTED = ["water_surface", "water_depth", "bottom_elevation", "spec_discharge", "delta_z",
             "flow_velocity", "flow_velocity_abs"]
IND = "    "


def step_path(data, step):
    return "/RESULTS/%s/%07d" % (data, step)


def stored_times(results, groups):
    """Time to step number over every stored step of the groups."""
    times = {}
    for group in groups:
        for name in results["RESULTS/" + group]:
            times[float(results["RESULTS/%s/%s" % (group, name)].attrs["t"])] = int(name)
    return sorted(times.items())


def hyperslab(level, cells, column, columns, reference):
    pad = IND * level
    return (f'{pad}<DataItem ItemType="HyperSlab" Dimensions="{cells}">\n'
            f'{pad}{IND}<DataItem ItemType="Uniform" Dimensions="3 2" Format="XML" NumberType="Int">\n'
            f'{pad}{IND}{IND}0 {column} 1 1 {cells} 1\n'
            f'{pad}{IND}</DataItem>\n'
            f'{pad}{IND}<DataItem ItemType="Uniform" Dimensions="{cells} {columns}" Format="HDF" '
            f'NumberType="Float" Precision="8">\n'
            f'{pad}{IND}{IND}{reference}\n'
            f'{pad}{IND}</DataItem>\n'
            f'{pad}</DataItem>\n')


def attribute(kind, name, body):
    pad = IND * 4
    return f'{pad}<Attribute AttributeType="{kind}" Name="{name}" Center="Cell">\n{body}{pad}</Attribute>\n'


def function(dimensions, text, items):
    pad = IND * 5
    return (f'{pad}<DataItem ItemType="Function" Dimensions="{dimensions}" Function="{text}">\n'
            + "".join(items) + f'{pad}</DataItem>\n')


class Document:
    def __init__(self, results_name, aux_name, cells, bed_per_step):
        self.results = results_name
        self.aux = aux_name
        self.cells = cells
        self.bed_per_step = bed_per_step

    def state(self, step):
        return f"{self.results}:{step_path(STATE, step)}"

    def bed(self, step):
        return f"{self.results}:{step_path(BED, step)}" if self.bed_per_step else f"{self.results}:{BED}"

    def attribute(self, output, step):
        n = self.cells
        if output == "water_surface":
            return attribute("Scalar", output, hyperslab(5, n, 0, 3, self.state(step)))
        if output == "water_depth":
            return attribute("Scalar", output, function(n, "$0-$1", [hyperslab(6, n, 0, 3, self.state(step)),
                                                                      hyperslab(6, n, 0, 1, self.bed(step))]))
        if output == "bottom_elevation":
            return attribute("Scalar", output, hyperslab(5, n, 0, 1, self.bed(step)))
        if output == "spec_discharge":
            return attribute("Vector", output, function(f"{n} 3", "JOIN($0, $1, 0*$1)",
                                                        [hyperslab(6, n, 1, 3, self.state(step)),
                                                         hyperslab(6, n, 2, 3, self.state(step))]))
        if output == "delta_z":
            return attribute("Scalar", output, function(n, "$1-$0", [hyperslab(6, n, 0, 1, self.bed(0)),
                                                                      hyperslab(6, n, 0, 1, self.bed(step))]))
        if output == "flow_velocity":
            reference = f"{self.aux}:flow_velocity/{step}"
            return attribute("Vector", output, function(f"{n} 3", "JOIN($0, $1, 0*$1)",
                                                        [hyperslab(6, n, 0, 2, reference),
                                                         hyperslab(6, n, 1, 2, reference)]))
        return attribute("Scalar", output, hyperslab(5, n, 0, 1, f"{self.aux}:flow_velocity_abs/{step}"))


def write_velocities(aux, step, state, bed, min_depth):
    depth = state[:, 0] - bed
    dry = min_depth > depth
    with np.errstate(divide="ignore", invalid="ignore"):
        u = state[:, 1] / depth
        v = state[:, 2] / depth
    u[dry] = 0.0
    v[dry] = 0.0
    velocity = aux.create_dataset(f"flow_velocity/{step}", data=np.stack((u, v), axis=1))
    velocity.attrs["size"] = np.array([velocity.size], dtype=np.int32)
    speed = aux.create_dataset(f"flow_velocity_abs/{step}", data=np.sqrt(v * v + u * u).reshape(-1, 1))
    speed.attrs["size"] = np.array([speed.size], dtype=np.int32)


def main(results_path, document_path):
    stem = document_path.split(".")[0]
    aux_path = stem + "_aux.h5"
    folder = os.path.dirname(os.path.abspath(document_path))
    with h5py.File(results_path, "r") as results, h5py.File(aux_path, "w") as aux:
        outputs = json.loads(results[".config/simulation"][0])["SIMULATION"]["OUTPUT"]
        unknown = [name for name in outputs if name not in SUPPORTED]
        if unknown:
            sys.exit("this script exports " + ", ".join(SUPPORTED) + " only, not " + ", ".join(unknown))
        bed_per_step = "RESULTS/" + BED in results
        min_depth = float(results["Parameters/MinWaterDepth"][0]) if "Parameters/MinWaterDepth" in results else 0.0
        topology_size = int(results[TOPOLOGY].attrs["size"])
        cells = topology_size // 3
        document = Document(os.path.relpath(os.path.abspath(results_path), folder),
                            os.path.relpath(os.path.abspath(aux_path), folder), cells, bed_per_step)
        static_bed = None if bed_per_step else results[BED][:, 0]
        computed = "flow_velocity" in outputs or "flow_velocity_abs" in outputs

        text = ['<?xml version="1.0" ?>\n<!DOCTYPE Xdmf SYSTEM "Xdmf.dtd" []>\n<Xdmf Version="2.0">\n',
                f'{IND}<Domain>\n',
                f'{IND * 2}<Topology TopologyType="Triangle" Name="Topology" NumberOfElements="{cells}">\n'
                f'{IND * 3}<DataItem ItemType="Uniform" Dimensions="{cells} 3" Format="HDF" NumberType="Int">\n'
                f'{IND * 4}{document.results}:{TOPOLOGY}\n{IND * 3}</DataItem>\n{IND * 2}</Topology>\n',
                f'{IND * 2}<Geometry GeometryType="XYZ" Name="Coordinates">\n'
                f'{IND * 3}<DataItem ItemType="Uniform" Dimensions="{int(results[COORDINATES].attrs["size"]) // 3} 3" '
                f'Format="HDF" NumberType="Float" Precision="8">\n'
                f'{IND * 4}{document.results}:{COORDINATES}\n{IND * 3}</DataItem>\n{IND * 2}</Geometry>\n',
                f'{IND * 2}<Grid GridType="Collection" Name="{os.path.basename(results_path)}" '
                f'CollectionType="Temporal">\n']
        groups = [STATE] + ([BED] if bed_per_step else [])
        for time, step in stored_times(results, groups):
            if computed:
                bed = results[step_path(BED, step)][:, 0] if bed_per_step else static_bed
                write_velocities(aux, step, results[step_path(STATE, step)][...], bed, min_depth)
            text.append(f'{IND * 3}<Grid GridType="Uniform" Name="Timestep">\n'
                        f'{IND * 4}<Time TimeType="Single" Name="time = {time:f}" Value="{time:f}">\n'
                        f'{IND * 4}</Time>\n'
                        f'{IND * 4}<Topology TopologyType="Triangle" Reference="/Xdmf/Domain/Topology[1]">\n'
                        f'{IND * 4}</Topology>\n'
                        f'{IND * 4}<Geometry GeometryType="XYZ" Reference="/Xdmf/Domain/Geometry[1]">\n'
                        f'{IND * 4}</Geometry>\n')
            text.extend(document.attribute(output, step) for output in outputs)
            text.append(f'{IND * 3}</Grid>\n')
        text.append(f'{IND * 2}</Grid>\n{IND}</Domain>\n</Xdmf>\n')
    with open(document_path, "w") as out:
        out.write("".join(text))


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: numpy_export.py <results file> <document>")
    main(sys.argv[1], sys.argv[2])
