#!/usr/bin/env bash
# Fuzzes the configuration check with clang's libFuzzer: the validator and the
# command-file reader, each for FUZZ_SECONDS (default 120). Not part of the
# CMake build or of CI; the sources are compiled here directly.
#   scripts/fuzz.sh [validate|reader|results]...
# "results" runs the binary of the sanitizer build on damaged results files
# (bytes changed, spans overwritten, files cut short), each in a folder that
# holds a good export of the valid file, until FUZZ_SECONDS have passed;
# FUZZ_SECONDS=600 or more for a real campaign. A failed run must leave that
# export, the results file and the configuration as they were, and no file.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-120}
out=build/fuzz
mkdir -p "$out"

flags=(-std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
       -Isrc)

build() {
  local name=$1; shift
  clang++ "${flags[@]}" -o "$out/$name" "$@" -labsl_bad_variant_access
}

run() {
  local name=$1
  mkdir -p "$out/corpus-$name" "$out/findings-$name"
  cp -n fuzz/seeds/"$name"/* "$out/corpus-$name/" 2>/dev/null || true
  (cd "$out" && ./"$name" "corpus-$name" -max_total_time="$seconds" -jobs=1 -max_len=65536 \
     -artifact_prefix="findings-$name/" > "$name.log" 2>&1) || true
  echo "== $name: $(grep -h 'Done' "$out"/fuzz-0.log "$out/$name.log" 2>/dev/null | tail -1)"
  [ -f "$out/fuzz-0.log" ] && mv "$out/fuzz-0.log" "$out/$name-job.log"
  echo "   corpus: $(ls "$out/corpus-$name" | wc -l) files; findings: $(ls "$out/findings-$name" | wc -l)"
}

# One damaged file: what the run left is sorted into a kind. A crash of the
# HDF5 library, or a read that loops in it, that the guard reports is the
# file's damage, not a finding. The folder held a good export of the valid
# file before the run (its checksums in $work/../.before).
classify() {
  local status=$1 err=$2 work=$3 kind
  if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then kind=hang
  elif grep -q -E 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$err"; then
    # A memory error that the sanitizer's interceptor caught in the library
    # itself (such as its free of a damaged cache entry) is the file's damage.
    if grep -m 1 -E '^ +#1 ' "$err" | grep -q libhdf5; then kind=library-memory-error; else kind=sanitizer; fi
  elif [ "$status" -ge 128 ]; then kind=signal
  elif [ "$status" -ne 0 ] && [ "$status" -ne 1 ]; then kind=status
  elif grep -q 'crashed the HDF5 library' "$err"; then kind=library-crash
  elif grep -q 'did not end after .* in the HDF5 library' "$err"; then kind=library-loop
  elif [ "$status" -eq 1 ]; then kind=failed
  else kind=exported
  fi
  # A failed run must leave nothing behind, and the earlier export as it was.
  if [ "$status" -ne 0 ]; then
    if [ -n "$(ls -A "$work" | grep -v -x -e cfg.json -e run.h5 -e results.xdmf -e results_aux.h5)" ]; then
      kind=$kind-leftover
    fi
    if ! (cd "$work" && md5sum --status -c ../.before); then kind=$kind-changed-export; fi
  fi
  echo "$kind"
}

run_results() {
  local sanitize=build/sanitize
  cmake -S . -B "$sanitize" -DCMAKE_BUILD_TYPE=Debug -DRESULTS_SANITIZE=ON > /dev/null
  cmake --build "$sanitize" -j 2 --target results make_results > /dev/null
  g++ -std=c++17 -O2 -o "$out/mutate-results" fuzz/ResultsFileMutator.cpp
  local seeds=$out/seeds-results work=$out/work-results findings=$out/findings-results
  mkdir -p "$seeds" "$findings"
  for model in hydraulics morphology flood; do
    [ -f "$seeds/$model.h5" ] || "$sanitize/bench/make_results" "$seeds/$model.h5" 24 3 "$model" > /dev/null
  done
  local binary suppressions
  binary=$(realpath "$sanitize/src/app/results")
  suppressions=$(realpath fuzz/hdf5-leaks.supp)
  local seedFiles=("$seeds"/*.h5)
  # A good export of each valid file, which every damaged run finds in its
  # folder and must leave as it was when it fails.
  for seedFile in "${seedFiles[@]}"; do
    local exported=${seedFile%.h5}-export
    [ -f "$exported/results_aux.h5" ] && continue
    rm -rf "$exported" && mkdir -p "$exported"
    cp "$seedFile" "$exported/run.h5"
    echo '{"RESULTS": {"EXPORT": [{"format": "xdmf"}]}}' > "$exported/cfg.json"
    (cd "$exported" && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$suppressions \
       "$binary" -f cfg.json -r run.h5 > /dev/null)
    rm "$exported/run.h5" "$exported/cfg.json"
  done
  declare -A counts=()
  local n=0 end=$((SECONDS + seconds))
  while [ $SECONDS -lt $end ]; do
    n=$((n + 1))
    rm -rf "$work" && mkdir -p "$work"
    echo '{"RESULTS": {"EXPORT": [{"format": "xdmf"}]}}' > "$work/cfg.json"
    local seedFile=${seedFiles[$((RANDOM % ${#seedFiles[@]}))]} stamp=$RANDOM$RANDOM
    "$out/mutate-results" "$seedFile" "$work/run.h5" "$stamp" > "$work/.mutation"
    cp "${seedFile%.h5}-export"/* "$work/"
    (cd "$work" && md5sum results.xdmf results_aux.h5 run.h5 cfg.json > ../.before)
    local status=0
    # The library's own copies are not checked (replace_intrin=0), so that its
    # crash on a damaged file reaches the guard as in a release build, and an
    # allocation of a damaged length fails as it would there.
    (cd "$work" && ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:replace_intrin=0:allocator_may_return_null=1 \
       LSAN_OPTIONS=suppressions=$suppressions UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
       timeout -k 5 150 "$binary" -f cfg.json -r run.h5 > .out 2> .err) || status=$?
    mv "$work/.mutation" "$work/.out" "$work/.err" "$out/"
    local kind
    kind=$(classify "$status" "$out/.err" "$work")
    counts[$kind]=$(( ${counts[$kind]:-0} + 1 ))
    case $kind in
      exported|failed) ;;
      *) local name=$findings/$kind-$n
         cp "$work/run.h5" "$name.h5"
         { echo "from $seedFile, mutation seed $stamp: $(cat "$out/.mutation")"; echo "status $status"
           echo "files left: $(ls -A "$work" | tr '\n' ' ')"; tail -n 40 "$out/.err"; } > "$name.txt" ;;
    esac
  done
  echo "== results: $n damaged files in $seconds s"
  for kind in "${!counts[@]}"; do echo "   $kind: ${counts[$kind]}"; done | sort
  echo "   findings (seed, mutation, status, files left, error tail): $findings"
}

targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(validate reader)
for target in "${targets[@]}"; do
  if [ "$target" = results ]; then run_results; continue; fi
  case $target in
    validate) build validate fuzz/ValidateFuzzer.cpp $(find src/validator -name '*.cpp') src/app/ConfigurationSchema.cpp ;;
    reader) build reader fuzz/CommandFileReaderFuzzer.cpp src/dataio/json/*.cpp ;;
    *) echo "unknown target: $target" >&2; exit 2 ;;
  esac
  run "$target"
done
