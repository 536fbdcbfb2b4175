"""Plots the hydrographs of the bundled example: the water depth at its two
gauges and the discharge through its two sections, with the discharge that
Ritter's dam-break solution gives at the dam.

Writes docs/hydrographs.png, the picture of the user guide's section "Gauges
and sections" (docs/guide.md). Run it again whenever the example changes.

Requirements (not part of CI): matplotlib (Debian 12: package
`python3-matplotlib`) and the exported example: run scripts/example.sh first.

Usage, from the repository's root:
  /usr/bin/python3 scripts/plot_hydrographs.py [folder [picture.png]]
The defaults are examples/out and docs/hydrographs.png.
"""

import csv
import math
import os
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

GRAVITY = 9.81
UPSTREAM_DEPTH = 2.0  # m, examples/synthetic/Channel.hpp
WIDTH = 300.0  # m


def columns(path):
    with open(path, newline="") as file:
        rows = list(csv.DictReader(file))
    return {name: [float(row[name]) if row[name] else math.nan for row in rows] for name in rows[0]}


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "examples/out"
    picture = sys.argv[2] if len(sys.argv) > 2 else "docs/hydrographs.png"
    gauges = {name: columns(os.path.join(folder, "dambreak_gauge_%s.csv" % name))
              for name in ("upstream", "downstream")}
    sections = columns(os.path.join(folder, "dambreak_sections.csv"))

    figure, (depth, discharge) = plt.subplots(1, 2, figsize=(11, 4.2))
    for name, series in gauges.items():
        depth.plot(series["time_s"], series["water_depth"], marker="o", markersize=3, label="gauge " + name)
    depth.set_xlabel("time [s]")
    depth.set_ylabel("water depth [m]")
    depth.set_title("Gauges")
    depth.grid(True, alpha=0.3)
    depth.legend()

    for name in ("dam", "front"):
        discharge.plot(sections["time_s"], sections[name + "_m3s"], marker="o", markersize=3, label="section " + name)
    ritter = 8.0 / 27.0 * UPSTREAM_DEPTH * math.sqrt(GRAVITY * UPSTREAM_DEPTH) * WIDTH
    discharge.axhline(ritter, color="grey", linestyle="--", label="Ritter at the dam, %.1f m³/s" % ritter)
    discharge.set_xlabel("time [s]")
    discharge.set_ylabel("discharge [m³/s]")
    discharge.set_title("Sections")
    discharge.grid(True, alpha=0.3)
    discharge.legend(loc="center right")

    figure.tight_layout()
    figure.savefig(picture, dpi=100)
    print("wrote " + picture)


if __name__ == "__main__":
    main()
