#!/usr/bin/env bash
# Measures the export of flow outputs from a large hydraulics run against the
# floor program (bench/export_floor.cpp), which reads each step's inputs once
# and writes what flow_velocity and flow_velocity_abs need, nothing more.
#
#   bench/run_export_bench.sh [all|floor|portable]
#
# all (default) runs the tool's export and the floor alternately; floor runs
# the floor only; portable runs the tool's default and portable exports of
# the same file alternately and compares their time and the bytes written. Environment: BENCH_DIR (scratch folder, default
# /tmp/results-bench), BENCH_RUNS (runs of each, default 5), BENCH_CELLS
# (default 500000), BENCH_STEPS (default 60). The results file is generated
# once per cell and step count and kept for later runs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mode=${1:-all}
scratch=${BENCH_DIR:-/tmp/results-bench}
runs=${BENCH_RUNS:-5}
cells=${BENCH_CELLS:-500000}
steps=${BENCH_STEPS:-60}
case "$mode" in
  all | floor | portable) ;;
  *) echo "usage: $0 [all|floor|portable]" >&2; exit 2 ;;
esac

bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build/release" -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$root/build/release" -j "$(nproc)" --target results make_results export_floor
results="$root/build/release/src/app/results"
floor_program="$root/build/release/bench/export_floor"

mkdir -p "$scratch"
cd "$scratch"
if [ ! -f bench.h5 ] || [ "$(cat bench.settings 2>/dev/null)" != "$cells $steps" ]; then
  echo "generating bench.h5: $cells cells, $steps steps"
  rm -f bench.settings
  "$root/build/release/bench/make_results" bench.h5 "$cells" "$steps" hydraulics
  echo "$cells $steps" > bench.settings
fi
# The results file is named without a folder: the tool composes the model from
# the archive of a name made of exactly two dot-separated pieces.
echo '{"RESULTS": {"EXPORT": [{"format": "xdmf"}]}}' > cfg.json
# Both sides read a warm page cache.
cat bench.h5 > /dev/null

# Prints "<seconds> <kilobytes>" of one run; the run's own output goes to $1.log.
measure() {
  local name=$1
  shift
  if ! /usr/bin/time -f "%e %M" -o "$name.time" "$@" > "$name.log" 2>&1; then
    echo "$name run failed, its output ($scratch/$name.log):" >&2
    tail -n 20 "$name.log" >&2
    exit 1
  fi
  cat "$name.time"
}

# The previous run's written data reach the disk before the next run starts,
# so that neither side pays for the other's write-back.
clean() {
  rm -f bench.xdmf bench_aux.h5 floor_aux.h5
  sync
}

# The portable form copies the stored columns and computes every derived
# output into its auxiliary file, which the default form leaves in the
# results file or to the viewer.
if [ "$mode" = portable ]; then
  echo '{"RESULTS": {"EXPORT": [{"format": "xdmf", "portable": true}]}}' > portable.json
  rm -f default.runs portable.runs
  for ((run = 1; run <= runs; run++)); do
    for form in default portable; do
      rm -f bench.xdmf bench_aux.h5 portable.xdmf portable_aux.h5
      sync
      if [ "$form" = default ]; then
        measured=$(measure default "$results" -f cfg.json -r bench.h5 -o bench.xdmf)
        written=$(cat bench.xdmf bench_aux.h5 | wc -c)
      else
        measured=$(measure portable "$results" -f portable.json -r bench.h5 -o portable.xdmf)
        written=$(cat portable.xdmf portable_aux.h5 | wc -c)
      fi
      echo "$measured $written" >> "$form.runs"
      echo "run $run: $form $measured (s, KB), $written bytes written"
    done
  done
  rm -f bench.xdmf bench_aux.h5 portable.xdmf portable_aux.h5
  n=$(h5ls bench.h5/CellsAll/Topology | sed -E 's/.*\{([0-9]+),.*/\1/')
  echo "results file: $scratch/bench.h5, $n cells, $steps steps, $runs runs each"
  for form in default portable; do
    sort -g "$form.runs" | awk -v form="$form" '{ t[NR] = $1; if ($2 > m) m = $2; w = $3 } END {
      median = (NR % 2) ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2
      printf "%-8s wall time median %8.2f s, min %8.2f s; peak RSS %8.1f MB; written %9.1f MB\n",
        form, median, t[1], m / 1024, w / 1e6 }'
  done
  exit 0
fi

tool_times=()
floor_times=()
for ((run = 1; run <= runs; run++)); do
  tool="skipped"
  if [ "$mode" = all ]; then
    clean
    tool=$(measure tool "$results" -f cfg.json -r bench.h5 -o bench.xdmf)
    [ -f bench.xdmf ] && [ -f bench_aux.h5 ] || { echo "the tool wrote no export" >&2; exit 1; }
    tool_times+=("$tool")
  fi
  clean
  floor=$(measure floor "$floor_program" bench.h5 floor_aux.h5)
  floor_times+=("$floor")
  echo "run $run: tool $tool, floor $floor (s, KB)"
done
clean

# "<median> <minimum> <maximum>" of one column (1: seconds, 2: kilobytes) of
# the measured lines; the median of an even count is the mean of the middle two.
summary() {
  local column=$1
  shift
  printf '%s\n' "$@" | awk -v c="$column" '{ print $c }' | sort -g |
    awk '{ v[NR] = $1 } END {
      m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
      print m, v[1], v[NR] }'
}
declare -A medians minima
report() {
  local label=$1 median minimum peak
  shift
  read -r median minimum _ <<< "$(summary 1 "$@")"
  read -r _ _ peak <<< "$(summary 2 "$@")"
  printf '%-6s wall time median %8.2f s, min %8.2f s; peak RSS %8.1f MB\n' \
    "$label" "$median" "$minimum" "$(awk -v k="$peak" 'BEGIN { print k / 1024 }')"
  medians[$label]=$median
  minima[$label]=$minimum
}

n=$(h5ls bench.h5/CellsAll/Topology | sed -E 's/.*\{([0-9]+),.*/\1/')
echo "results file: $scratch/bench.h5, $n cells, $steps steps, $runs runs each"
if [ "$mode" = all ]; then
  report tool "${tool_times[@]}"
fi
report floor "${floor_times[@]}"
if [ "$mode" = all ]; then
  awk -v t="${medians[tool]}" -v f="${medians[floor]}" 'BEGIN { printf "ratio of medians (tool / floor): %.2f\n", t / f }'
  awk -v t="${minima[tool]}" -v f="${minima[floor]}" 'BEGIN { printf "ratio of minima (tool / floor): %.2f\n", t / f }'
fi
echo "one time step: inputs $((n * 4 * 8)) bytes (HydState + BottomEl), outputs $((n * 3 * 8)) bytes (flow_velocity + flow_velocity_abs), total $((n * 7 * 8)) bytes"
