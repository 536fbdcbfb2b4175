#!/usr/bin/env bash
# Fuzzes the configuration check with clang's libFuzzer: the validator and the
# command-file reader, each for FUZZ_SECONDS (default 120). Not part of the
# CMake build or of CI; the sources are compiled here directly.
#   scripts/fuzz.sh [validate|reader]...
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-120}
out=build/fuzz
mkdir -p "$out"

flags=(-std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
       -Isrc/interfaces -Isrc/dataio -Isrc/validator -Isrc/app)

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

targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(validate reader)
for target in "${targets[@]}"; do
  case $target in
    validate) build validate fuzz/ValidateFuzzer.cpp src/validator/*.cpp src/app/ConfigurationSchema.cpp ;;
    reader) build reader fuzz/CommandFileReaderFuzzer.cpp src/dataio/JSONReader.cpp src/dataio/JsonConversion.cpp \
              src/dataio/NestingLimitedParse.cpp ;;
    *) echo "unknown target: $target" >&2; exit 2 ;;
  esac
  run "$target"
done
