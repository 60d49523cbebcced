#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for SECONDS seconds each, starting from freshly
# written seeds and the corpus that earlier runs kept. A fault stops the run with the input
# that caused it saved under FUZZ_BUILD/fuzz/artifacts/.
# Usage: run.sh FUZZ_BUILD SECONDS
set -euo pipefail
build=$(cd "$1" && pwd) seconds=$2
fuzz=$build/fuzz

rm -rf "$fuzz/seeds"
"$fuzz/fuzz-seeds" "$fuzz/seeds"
mkdir -p "$fuzz/artifacts"
while read -r name; do
    [ -n "$name" ] || continue
    mkdir -p "$fuzz/corpus/$name"
    echo "== $name-fuzz for ${seconds}s"
    "$fuzz/$name-fuzz" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$fuzz/artifacts/$name-" "$fuzz/corpus/$name" "$fuzz/seeds/$name" \
        2>"$fuzz/$name.log" || { tail -n 60 "$fuzz/$name.log"; exit 1; }
    grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|Done)' "$fuzz/$name.log" || true
done <"$fuzz/targets.txt"
