#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every libFuzzer target of a build folder for a set time each.
# Usage: scripts/fuzz.sh BUILD_DIR SECONDS [RUNS] [TARGET...]
# With RUNS, each target stops after that many inputs instead (a campaign);
# naming targets (save_fuzz ...) runs only those.
# The corpus each target grows is kept in BUILD_DIR/corpus/<target> and reused by
# the next run; tests/fuzz/seeds/<target> (the seeds and every crasher found so
# far, kept as regression inputs) is read as well. A crash stops the run with the
# input written to BUILD_DIR/crashes/<target>/: copy it into the seeds once fixed.
set -euo pipefail
build=${1:?build folder}
seconds=${2:-300}
limit=(-max_total_time="$seconds")
[ -n "${3:-}" ] && limit=(-runs="$3")
root="$(cd "$(dirname "$0")/.." && pwd)"
shift $(( $# < 3 ? $# : 3 ))
names=("$@")
[ ${#names[@]} -gt 0 ] || for src in "$root"/tests/fuzz/*_fuzz.cpp; do names+=("$(basename "$src" .cpp)"); done
status=0
for name in "${names[@]}"; do
  exe="$build/$name"
  [ -x "$exe" ] || { echo "missing $exe"; status=1; continue; }
  corpus="$build/corpus/$name"
  crashes="$build/crashes/$name/"
  mkdir -p "$corpus" "$crashes"
  seeds=()
  [ -d "$root/tests/fuzz/seeds/$name" ] && seeds=("$root/tests/fuzz/seeds/$name")
  echo "== $name: ${limit[*]}"
  if ! "$exe" "${limit[@]}" -print_final_stats=1 -artifact_prefix="$crashes" \
      -timeout=10 -rss_limit_mb=2048 "$corpus" "${seeds[@]}" 2>"$build/$name.log"; then
    echo "!! $name failed; see $build/$name.log and $crashes"
    status=1
  fi
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' "$build/$name.log" || true
  echo "corpus_files: $(find "$corpus" -type f | wc -l)  crashes: $(find "$crashes" -type f | wc -l)"
done
exit $status
