#!/usr/bin/env bash
# Measures the export of flow outputs from a large hydraulics run against the
# floor program (bench/export_floor.cpp), which reads each step's inputs whole,
# once, and writes what flow_velocity and flow_velocity_abs need, nothing
# more; and against the same export scripted with h5py and numpy
# (bench/numpy_export.py), as a user would write it.
#
#   bench/run_export_bench.sh [all|floor|scaling|portable|envelopes|hydrographs]
#
# all (default): one results file of BENCH_CELLS cells x BENCH_STEPS steps;
#   the tool, the floor and the numpy script run alternately. The numpy row is
#   skipped, with a note, where no python3 imports h5py and numpy.
# floor: the floor program only, on the same file.
# scaling: the tool and the floor alternately on 250k, 500k, 1M and 2M cells
#   x 60 steps and on 500k cells x 30, 60, 120 and 240 steps.
# portable: the tool's default and portable exports of the default file
#   alternately, with the bytes each writes (document and auxiliary file).
# envelopes: the tool's default export of the default file without and with
#   "envelopes" alternately: the ratios of the times, and the growth of the
#   peak memory against the envelope arrays.
# hydrographs: the default export without and with 20 gauges and 5 sections
#   of 50 pieces each, and with the 20 gauges alone, alternately; the time to
#   locate them (bench/locate_places.cpp); and QGIS's "Export time series
#   values from points of a mesh dataset" for the same points and outputs
#   over the same document and .2dm mesh (skipped, with a note, without
#   PyQGIS).
# maps: the default export with "envelopes" without and with "maps" at
#   BENCH_CELL_SIZE metres (default 2), and with the outline too, alternately; the ratios of the times
#   and the growth of the peak memory against one Float32 raster and the
#   envelope arrays; the maps alone (bench/rasterize_maps.cpp: the pixels'
#   cells by the tool's scan and by GDALRasterizeGeometries, one COG); and
#   QGIS's "Rasterize mesh dataset" of water_depth_max on the same grid, with
#   the pixels that differ (skipped, with a note, without PyQGIS).
#
# Environment: BENCH_DIR (scratch folder, default /tmp/results-bench),
# BENCH_RUNS (runs of each program per case, default 5), BENCH_CELLS (default
# 500000), BENCH_STEPS (default 60). Results files are generated once per cell
# and step count and kept for later runs. Every figure is of whole runs of the
# programs, measured with /usr/bin/time: wall time, user CPU time and peak
# resident memory; medians and minima over the runs, the spread as min..max.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mode=${1:-all}
cell_size=${BENCH_CELL_SIZE:-2}
scratch=${BENCH_DIR:-/tmp/results-bench}
runs=${BENCH_RUNS:-5}
cells=${BENCH_CELLS:-500000}
steps=${BENCH_STEPS:-60}
case "$mode" in
  all | floor | scaling | portable | envelopes | hydrographs | maps) ;;
  *) echo "usage: $0 [all|floor|scaling|portable|envelopes|hydrographs|maps]" >&2; exit 2 ;;
esac

bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build/release" -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$root/build/release" -j "$(nproc)" --target results make_results export_floor locate_places rasterize_maps
results="$root/build/release/src/app/results"
floor_program="$root/build/release/bench/export_floor"
numpy_script="$root/bench/numpy_export.py"

mkdir -p "$scratch"
cd "$scratch"
# The tool composes the model from the archive of a results file named with
# exactly two dot-separated pieces, so the files carry no other dot.
echo '{"RESULTS": {"EXPORT": [{"format": "xdmf"}]}}' > cfg.json
echo '{"RESULTS": {"EXPORT": [{"format": "xdmf", "portable": true}]}}' > portable.json
echo '{"RESULTS": {"EXPORT": [{"format": "xdmf", "envelopes": {}}]}}' > envelopes.json
echo "{\"RESULTS\": {\"EXPORT\": [{\"format\": \"xdmf\", \"envelopes\": {}, \"maps\": {\"cell_size\": $cell_size}}]}}" > maps.json
echo "{\"RESULTS\": {\"EXPORT\": [{\"format\": \"xdmf\", \"envelopes\": {}, \"maps\": {\"cell_size\": $cell_size, \"outline\": true}}]}}" > outline.json

# The results file of one case, generated when missing: prints its name.
results_file() {
  local n=$1 s=$2 name="c${1}_s${2}.h5"
  if [ ! -f "$name" ]; then
    echo "generating $name: $n cells, $s steps" >&2
    "$root/build/release/bench/make_results" "$name.part" "$n" "$s" hydraulics >&2
    mv "$name.part" "$name"
  fi
  echo "$name"
}

# A python3 that imports h5py and numpy, or nothing.
numpy_python() {
  local candidate
  for candidate in python3 /usr/bin/python3; do
    if command -v "$candidate" > /dev/null && "$candidate" -c 'import h5py, numpy' 2> /dev/null; then
      command -v "$candidate"
      return
    fi
  done
}

# Appends "<wall s> <user s> <peak KB>" of one run to the file $1.times; the
# run's own output goes to $1.log.
measure() {
  local name=$1
  shift
  if ! /usr/bin/time -f "%e %U %M" -o "$name.time" "$@" > "$name.log" 2>&1; then
    echo "$name run failed, its output ($scratch/$name.log):" >&2
    tail -n 20 "$name.log" >&2
    exit 1
  fi
  cat "$name.time" >> "$name.times"
}

# The previous run's written data reach the disk before the next run starts,
# so that no program pays for another's write-back.
clean() {
  rm -f bench.xdmf bench_aux.h5 floor_aux.h5 numpy.xdmf numpy_aux.h5 portable.xdmf portable_aux.h5 \
    envelopes.xdmf envelopes_aux.h5 envelopes_envelopes.xdmf envelopes_*.tif envelopes_outline.gpkg hydro.xdmf hydro_aux.h5 hydro_*.csv
  sync
}

# "<median> <minimum> <maximum>" of one column (1: wall, 2: user, 3: peak KB)
# of a .times file; the median of an even count is the mean of the middle two.
summary() {
  awk -v c="$2" '{ print $c }' "$1.times" | sort -g |
    awk '{ v[NR] = $1 } END {
      m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
      print m, v[1], v[NR] }'
}

declare -A wall_median wall_min user_median peak
# One row: wall median, min, spread; user median, min; peak RSS (the largest).
report() {
  local name=$1 label=$2 w_med w_min w_max u_med u_min u_max k_max
  read -r w_med w_min w_max <<< "$(summary "$name" 1)"
  read -r u_med u_min u_max <<< "$(summary "$name" 2)"
  read -r _ _ k_max <<< "$(summary "$name" 3)"
  wall_median[$name]=$w_med
  wall_min[$name]=$w_min
  user_median[$name]=$u_med
  peak[$name]=$k_max
  printf '%-7s wall median %6.2f s, min %6.2f s (spread %.2f..%.2f) | user median %6.2f s, min %6.2f s | peak RSS %7.1f MB\n' \
    "$label" "$w_med" "$w_min" "$w_min" "$w_max" "$u_med" "$u_min" "$(megabytes "$k_max")"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
megabytes() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }
per_cell_step() { awk -v t="$1" -v n="$2" -v s="$3" 'BEGIN { printf "%.1f", t / (n * s) * 1e9 }'; }

# Runs the programs named in $2.. alternately on results file $1, BENCH_RUNS
# times each, after one warm-up run of each that also fills the page cache.
alternate() {
  local file=$1 program run
  shift
  for program in "$@"; do rm -f "$program.times"; done
  cat "$file" > /dev/null
  for ((run = 0; run <= runs; run++)); do
    for program in "$@"; do
      clean
      case $program in
        tool) measure tool "$results" -f cfg.json -r "$file" -o bench.xdmf ;;
        floor) measure floor "$floor_program" "$file" floor_aux.h5 ;;
        numpy) measure numpy "$python" "$numpy_script" "$file" numpy.xdmf ;;
        default) measure default "$results" -f cfg.json -r "$file" -o bench.xdmf
          cat bench.xdmf bench_aux.h5 | wc -c > default.written ;;
        portable) measure portable "$results" -f portable.json -r "$file" -o portable.xdmf
          cat portable.xdmf portable_aux.h5 | wc -c > portable.written ;;
        without) measure without "$results" -f cfg.json -r "$file" -o bench.xdmf ;;
        with) measure with "$results" -f envelopes.json -r "$file" -o envelopes.xdmf ;;
        maps) measure maps "$results" -f maps.json -r "$file" -o envelopes.xdmf ;;
        outline) measure outline "$results" -f outline.json -r "$file" -o envelopes.xdmf ;;
        hydro) measure hydro "$results" -f hydro.json -r "$file" -o hydro.xdmf ;;
        gauges) measure gauges "$results" -f gauges.json -r "$file" -o hydro.xdmf ;;
      esac
      # The warm-up run is not counted.
      if [ "$run" -eq 0 ]; then rm -f "$program.times"; fi
    done
  done
  clean
}

load() { cut -d ' ' -f 1-3 /proc/loadavg; }

default_case() {
  local file programs=(tool floor)
  file=$(results_file "$cells" "$steps")
  python=$(numpy_python)
  if [ "$mode" = floor ]; then
    programs=(floor)
  elif [ -n "$python" ]; then
    programs+=(numpy)
    # The numpy script must write what the tool writes: the same values in
    # the auxiliary file, the same document apart from the auxiliary file's name.
    clean
    "$results" -f cfg.json -r "$file" -o bench.xdmf > /dev/null
    "$python" "$numpy_script" "$file" numpy.xdmf
    h5diff -q bench_aux.h5 numpy_aux.h5 || { echo "the numpy script wrote other values than the tool" >&2; exit 1; }
    sed 's/bench_aux\.h5/numpy_aux.h5/g' bench.xdmf | cmp -s - numpy.xdmf ||
      { echo "the numpy script wrote another document than the tool" >&2; exit 1; }
  else
    echo "no python3 here imports h5py and numpy: the numpy row is skipped"
  fi
  echo "load average before: $(load)"
  alternate "$file" "${programs[@]}"
  echo "load average after:  $(load)"
  echo "results file: $scratch/$file, $cells cells, $steps steps; $runs runs of each, alternating"
  if [ "$mode" = all ]; then report tool tool; fi
  report floor floor
  if [ "$mode" = floor ]; then return; fi
  if [ -n "$python" ]; then report numpy numpy; fi
  echo "tool / floor: wall medians $(ratio "${wall_median[tool]}" "${wall_median[floor]}")," \
    "wall minima $(ratio "${wall_min[tool]}" "${wall_min[floor]}")," \
    "user medians $(ratio "${user_median[tool]}" "${user_median[floor]}")," \
    "peak RSS $(ratio "${peak[tool]}" "${peak[floor]}")"
  if [ -n "$python" ]; then
    echo "numpy / tool: wall medians $(ratio "${wall_median[numpy]}" "${wall_median[tool]}")," \
      "wall minima $(ratio "${wall_min[numpy]}" "${wall_min[tool]}")"
  fi
  echo "one time step: inputs $((cells * 4 * 8)) bytes (HydState + BottomEl), outputs $((cells * 3 * 8)) bytes" \
    "(flow_velocity + flow_velocity_abs)"
}

scaling() {
  local cases=("250000 60" "500000 60" "1000000 60" "2000000 60" "500000 30" "500000 120" "500000 240")
  local rows=() ratios=() peaks=() entry n s file
  local t_med t_min t_max f_med f_min f_max tu fu tk fk
  echo "load average before: $(load)"
  for entry in "${cases[@]}"; do
    read -r n s <<< "$entry"
    file=$(results_file "$n" "$s")
    alternate "$file" tool floor
    read -r t_med t_min t_max <<< "$(summary tool 1)"
    read -r f_med f_min f_max <<< "$(summary floor 1)"
    read -r tu _ _ <<< "$(summary tool 2)"
    read -r fu _ _ <<< "$(summary floor 2)"
    read -r _ _ tk <<< "$(summary tool 3)"
    read -r _ _ fk <<< "$(summary floor 3)"
    rows+=("$(printf '%8s x %3s | %6.2f %6.2f (%.2f..%.2f) | %6.2f %6.2f (%.2f..%.2f) | %5s %5s | %5.1f %5.1f | %5.2f %5.2f %5s | %7s %7s %5s' \
      "$n" "$s" "$t_med" "$t_min" "$t_min" "$t_max" "$f_med" "$f_min" "$f_min" "$f_max" \
      "$(ratio "$t_med" "$f_med")" "$(ratio "$t_min" "$f_min")" \
      "$(per_cell_step "$t_min" "$n" "$s")" "$(per_cell_step "$f_min" "$n" "$s")" "$tu" "$fu" "$(ratio "$tu" "$fu")" \
      "$(megabytes "$tk")" "$(megabytes "$fk")" "$(ratio "$tk" "$fk")")")
    ratios+=("$(ratio "$t_med" "$f_med")")
    peaks+=("$n $s $tk")
  done
  echo "load average after:  $(load)"
  echo "$runs runs of each program per case, alternating; wall and user times in s"
  echo "   cells x steps | tool wall median min (spread) | floor wall median min (spread) | tool/floor med min |" \
    "ns per cell and step (minima) tool floor | user median tool floor ratio | peak MB tool floor ratio"
  printf '%s\n' "${rows[@]}"
  printf '%s\n' "${ratios[@]}" | sort -g | awk '{ v[NR] = $1 } END {
    printf "tool / floor (wall medians) across the cases: %.2f .. %.2f, the largest %.0f %% above the smallest\n",
      v[1], v[NR], (v[NR] / v[1] - 1) * 100 }'
  printf '%s\n' "${peaks[@]}" | awk '$1 == 500000 { printf "tool peak RSS at 500000 cells and %s steps: %.1f MB\n", $2, $3 / 1024 }'
}

# The portable form copies the stored columns and computes every derived
# output into its auxiliary file, which the default form leaves in the
# results file or to the viewer.
portable_case() {
  local file
  file=$(results_file "$cells" "$steps")
  echo "load average before: $(load)"
  alternate "$file" default portable
  echo "load average after:  $(load)"
  echo "results file: $scratch/$file, $cells cells, $steps steps; $runs runs of each, alternating"
  report default default
  report portable portable
  echo "written: default $(awk -v b="$(cat default.written)" 'BEGIN { printf "%.1f", b / 1e6 }') MB," \
    "portable $(awk -v b="$(cat portable.written)" 'BEGIN { printf "%.1f", b / 1e6 }') MB;" \
    "portable / default: wall medians $(ratio "${wall_median[portable]}" "${wall_median[default]}")"
}

# The envelopes fold each step's hydraulic state as the export computes it,
# so that they cost the fold alone: no dataset is read again. Their state is
# the ten envelope arrays of doubles (one of them three wide, 96 bytes per
# cell), which are written as they are, a byte of wet flags per cell, and the
# blocks waiting for the fold's thread (16 of 2,048 rows of five columns):
# the peak memory may grow by these and no more.
envelopes_case() {
  local file arrays envelopes growth
  file=$(results_file "$cells" "$steps")
  echo "load average before: $(load)"
  alternate "$file" without with
  echo "load average after:  $(load)"
  echo "results file: $scratch/$file, $cells cells, $steps steps; $runs runs of each, alternating"
  report without without
  report with with
  envelopes=$((cells * 12 * 8))
  arrays=$((envelopes + cells + 16 * 2048 * 5 * 8))
  growth=$(awk -v a="${peak[with]}" -v b="${peak[without]}" 'BEGIN { printf "%.1f", (a - b) / 1024 }')
  echo "with / without: wall medians $(ratio "${wall_median[with]}" "${wall_median[without]}")," \
    "wall minima $(ratio "${wall_min[with]}" "${wall_min[without]}") (target at most 1.15);" \
    "user medians $(ratio "${user_median[with]}" "${user_median[without]}")"
  echo "peak RSS grows by $growth MB; the envelope arrays take" \
    "$(awk -v b="$envelopes" 'BEGIN { printf "%.1f", b / 1048576 }') MB (96 bytes per cell), with the" \
    "fold's own $(awk -v b="$arrays" 'BEGIN { printf "%.1f", b / 1048576 }') MB (wet flags and waiting blocks included)"
}

# 20 gauges along the flume and 5 sections across it, zigzags of 50 pieces,
# laid out on the mesh's extent as results -i reports it: gauges.txt and
# sections.txt ("x y" per point) and the configurations that name them.
hydrograph_places() {
  local file=$1 x0 x1 y0 y1
  read -r x0 x1 <<< "$("$results" -i -r "$file" | awk '$1 == "x" && $2 == "from" { print $3, $5 }')"
  read -r y0 y1 <<< "$("$results" -i -r "$file" | awk '$1 == "y" && $2 == "from" { print $3, $5 }')"
  awk -v x0="$x0" -v x1="$x1" -v y0="$y0" -v y1="$y1" 'BEGIN {
    for (k = 0; k < 20; k++) printf "%.3f %.3f\n", x0 + (k + 0.5) / 20 * (x1 - x0), y0 + (0.3 + 0.02 * k) * (y1 - y0) }' > gauges.txt
  awk -v x0="$x0" -v x1="$x1" -v y0="$y0" -v y1="$y1" 'BEGIN {
    for (j = 0; j < 5; j++) { line = ""
      for (i = 0; i <= 50; i++)
        line = line sprintf("%s%.3f %.3f", i ? " " : "", x0 + ((j + 1) / 6 + (i % 2) * 0.005) * (x1 - x0), y0 + i / 50 * (y1 - y0))
      print line } }' > sections.txt
  local gauges sections
  gauges=$(awk '{ printf "%s{\"name\": \"g%d\", \"x\": %s, \"y\": %s}", (NR > 1 ? ", " : ""), NR, $1, $2 }' gauges.txt)
  sections=$(awk '{ printf "%s{\"name\": \"s%d\", \"points\": [", (NR > 1 ? ", " : ""), NR
    for (i = 1; i < NF; i += 2) printf "%s[%s, %s]", (i > 1 ? ", " : ""), $i, $(i + 1)
    printf "]}" }' sections.txt)
  echo "{\"RESULTS\": {\"EXPORT\": [{\"format\": \"xdmf\", \"gauges\": [$gauges], \"sections\": [$sections]}]}}" > hydro.json
  echo "{\"RESULTS\": {\"EXPORT\": [{\"format\": \"xdmf\", \"gauges\": [$gauges]}]}}" > gauges.json
  echo "{\"RESULTS\": {\"EXPORT\": [{\"format\": \"xdmf\", \"mesh_2dm\": true}]}}" > qgis.json
}

# A python3 that imports PyQGIS, or nothing.
qgis_python() {
  if QT_QPA_PLATFORM=offscreen /usr/bin/python3 -c 'import qgis.core' 2> /dev/null; then echo /usr/bin/python3; fi
}

# The series cost the reads of their cells' rows at every step and their
# evaluation; the cells are found once. QGIS reads the document's every
# dataset for every point and time through its mesh layer.
hydrographs_case() {
  local file qgis qgis_runs=$(( runs < 3 ? runs : 3 )) k
  file=$(results_file "$cells" "$steps")
  hydrograph_places "$file"
  echo "load average before: $(load)"
  alternate "$file" without hydro gauges
  echo "load average after:  $(load)"
  echo "results file: $scratch/$file, $cells cells, $steps steps; $runs runs of each, alternating"
  report without without
  report hydro "+20g+5s"
  report gauges "+20g"
  echo "with 20 gauges and 5 sections / without: wall medians $(ratio "${wall_median[hydro]}" "${wall_median[without]}")," \
    "wall minima $(ratio "${wall_min[hydro]}" "${wall_min[without]}") (target at most 1.05);" \
    "user medians $(ratio "${user_median[hydro]}" "${user_median[without]}")"
  "$root/build/release/bench/locate_places" "$file" gauges.txt sections.txt
  qgis=$(qgis_python)
  if [ -z "$qgis" ]; then
    echo "QGIS: skipped, no python3 here imports qgis.core (packages python3-qgis qgis-providers)"
    return
  fi
  "$results" -f qgis.json -r "$file" -o qgisdoc.xdmf > qgisdoc.log 2>&1
  rm -f qgis.times
  for ((k = 0; k < qgis_runs; k++)); do
    QT_QPA_PLATFORM=offscreen "$qgis" "$root/bench/qgis_timeseries.py" qgisdoc.2dm qgisdoc.xdmf gauges.txt qgis.csv |
      tee -a qgis.log | awk '{ print $2 }' >> qgis.times
  done
  awk -v q="$(sort -g qgis.times | head -n 1)" -v g="${wall_min[gauges]}" -v w="${wall_min[without]}" 'BEGIN {
    printf "QGIS native:meshexporttimeseries, 20 points, every group and time: %.2f s (minimum of the algorithm alone)\n", q
    printf "the tool: the whole export with the 20 gauges %.2f s (%.1f times faster than QGIS); the gauges own %.2f s\n", g, q / g, g - w }'
  tail -n 1 qgis.log
  rm -f qgisdoc.xdmf qgisdoc_aux.h5 qgisdoc.2dm qgis.csv
}

# The maps cost the hazard classes in the fold, the mesh in the plane, the
# index of the cell of each pixel (4 bytes a pixel) and the rasters, which
# are made row by row from the envelopes the export holds anyway.
maps_case() {
  local file raster growth qgis
  file=$(results_file "$cells" "$steps")
  echo "load average before: $(load)"
  alternate "$file" with maps outline
  echo "load average after:  $(load)"
  echo "results file: $scratch/$file, $cells cells, $steps steps; $runs runs of each, alternating"
  report with envelopes
  report maps "+maps"
  report outline "+outline"
  echo "with maps / envelopes only: wall medians $(ratio "${wall_median[maps]}" "${wall_median[with]}")," \
    "wall minima $(ratio "${wall_min[maps]}" "${wall_min[with]}") (target at most 1.25);" \
    "user medians $(ratio "${user_median[maps]}" "${user_median[with]}")"
  echo "with maps and the outline / envelopes only: wall medians $(ratio "${wall_median[outline]}" "${wall_median[with]}")," \
    "wall minima $(ratio "${wall_min[outline]}" "${wall_min[with]}")"
  "$results" -f maps.json -r "$file" -o envelopes.xdmf > maps.log
  grep ' -> exporting' maps.log
  "$root/build/release/bench/rasterize_maps" "$file" envelopes_aux.h5 "$cell_size" alone.tif | tee rasterize.log
  raster=$(awk '/^grid/ { print $6 * 4 }' rasterize.log)
  growth=$(awk -v a="${peak[maps]}" -v b="${peak[with]}" 'BEGIN { printf "%.1f", (a - b) / 1024 }')
  echo "peak RSS grows by $growth MB; one Float32 raster takes $(awk -v b="$raster" 'BEGIN { printf "%.1f", b / 1048576 }') MB" \
    "and the envelope arrays $(awk -v b="$((cells * 12 * 8))" 'BEGIN { printf "%.1f", b / 1048576 }') MB"
  qgis=$(qgis_python)
  if [ -z "$qgis" ]; then
    echo "QGIS: skipped, no python3 here imports qgis.core (packages python3-qgis qgis-providers)"
    return
  fi
  echo "{\"RESULTS\": {\"EXPORT\": [{\"format\": \"xdmf\", \"mesh_2dm\": true, \"envelopes\": {}, \"maps\": {\"cell_size\": $cell_size}}]}}" > qgismaps.json
  "$results" -f qgismaps.json -r "$file" -o qgismaps.xdmf > qgismaps.log 2>&1
  QT_QPA_PLATFORM=offscreen "$qgis" "$root/bench/qgis_rasterize.py" qgismaps.2dm qgismaps_envelopes.xdmf \
    qgismaps_water_depth_max.tif qgis.tif 2> /dev/null | tee qgisraster.log || true
  awk -v q="$(awk '/meshrasterize/ { print $3 }' qgisraster.log)" \
    -v s="$(awk '/scan:/ { print $4 }' rasterize.log)" -v w="$(awk '/one COG/ { print $5 }' rasterize.log)" 'BEGIN {
    printf "the tool rasterises water_depth_max (scan and COG) in %.3f s: %.1f times faster than QGIS\n", s + w, q / (s + w) }'
  rm -f qgismaps.xdmf qgismaps_aux.h5 qgismaps.2dm qgismaps_*.tif qgismaps_envelopes.xdmf qgis.tif alone.tif
}

if [ "$mode" = scaling ]; then
  scaling
elif [ "$mode" = portable ]; then
  portable_case
elif [ "$mode" = envelopes ]; then
  envelopes_case
elif [ "$mode" = hydrographs ]; then
  hydrographs_case
elif [ "$mode" = maps ]; then
  maps_case
else
  default_case
fi
