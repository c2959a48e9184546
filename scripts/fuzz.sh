#!/usr/bin/env bash
# Runs every fuzz target of the fuzz build for N seconds (default 60) on a
# copy of its seed corpus. Exits non-zero on the first crash.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=build-fuzz
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
targets=$(cat "$build/fuzz/targets.txt")
for t in $targets; do
  mkdir -p "$work/$t"
  [ -d "fuzz/corpus/$t" ] && cp -r "fuzz/corpus/$t/." "$work/$t/"
  echo "fuzz: $t (${seconds}s)"
  ASAN_OPTIONS=detect_leaks=1 "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=0 -artifact_prefix="$work/$t-" "$work/$t" \
    > "$work/$t.log" 2>&1 || { tail -50 "$work/$t.log"; echo "fuzz: $t FAILED"; exit 1; }
  grep -E '^#[0-9]+.*DONE' "$work/$t.log" | tail -1 || true
done
echo "fuzz: all targets clean"
