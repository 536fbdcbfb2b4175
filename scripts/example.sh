#!/usr/bin/env bash
# Builds the tool, writes the bundled dam-break results file and exports it
# to examples/out/dambreak.xdmf (with dambreak_aux.h5 beside it, the mesh as
# dambreak.2dm for QGIS, the flood envelopes as dambreak_envelopes.xdmf and
# their maps for GIS as dambreak_*.tif with the outline dambreak_outline.gpkg).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release
cmake --build build/release -j "$(nproc)" --target results make_example

mkdir -p examples/out
build/release/examples/make_example examples/out/dambreak.h5

# The results file is named without a folder: the tool composes the model
# from the archive of a name made of exactly two dot-separated pieces.
# docs/guide.md shows these commands; a test runs them as the guide shows
# them, so keep both in step.
cd examples/out
../../build/release/src/app/results -i -r dambreak.h5
../../build/release/src/app/results -f ../dambreak.json -r dambreak.h5 -o dambreak.xdmf
if [ -f dambreak.xdmf ]; then
  echo "open examples/out/dambreak.xdmf (every stored time) or examples/out/dambreak_front.xdmf (the front between 20 s and 40 s) in ParaView with the \"XDMF Reader\" (see docs/guide.md)"
  echo "in QGIS, add examples/out/dambreak.2dm as a mesh layer and examples/out/dambreak.xdmf as its datasets"
  echo "the flood envelopes (maxima, arrival time, wet duration) are in examples/out/dambreak_envelopes.xdmf, for both"
  echo "their maps for GIS are examples/out/dambreak_*.tif (EPSG:2056), with the flood outline examples/out/dambreak_outline.gpkg"
else
  echo "no document was written: examples/out/dambreak.xdmf is missing" >&2
  exit 1
fi
