#!/usr/bin/env bash
# The file viewer control on a generated text file of VIEWER_MB megabytes
# (default 2048): first screen against `less FILE | head` (text) and
# `xxd FILE | head` (hex), full search against `grep -c`. Each figure is the
# best of three runs; peak memory from /usr/bin/time.
#
# Environment: BUILD_DIR (default <repo>/build), VIEWER_MB, VIEWER_FILE
# (default a temporary file, removed afterwards).
set -euo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD_DIR:-$repo/build}
bench=$build/bench/bench_uicontrols
[[ -x $bench ]] || { echo "missing $bench: build the bench_uicontrols target" >&2; exit 2; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
file=${VIEWER_FILE:-$tmp/big.txt}
[[ -f $file ]] || "$bench" generate "$file" "${VIEWER_MB:-2048}"
cat "$file" > /dev/null  # warm the page cache for every contender alike

# best-of-three wall time (ms) and peak KB of a shell command line
measure() {
  local best_ms=999999999 best_kb=0
  for _ in 1 2 3; do
    local start end
    start=$(date +%s%N)
    /usr/bin/time -f %M -o "$tmp/mem" bash -c "$1" > /dev/null 2>&1 || true
    end=$(date +%s%N)
    local ms=$(( (end - start) / 1000000 ))
    (( ms < best_ms )) && best_ms=$ms && best_kb=$(tail -1 "$tmp/mem")
  done
  echo "$best_ms $best_kb"
}

row() {  # name, ours, peer
  read -r a_ms a_kb <<< "$2"
  read -r b_ms b_kb <<< "$3"
  printf "%-22s ours %6d ms %8d KB | peer %6d ms %8d KB | time ratio %.2f\n" \
    "$1" "$a_ms" "$a_kb" "$b_ms" "$b_kb" "$(echo "scale=4; ($a_ms+0.5)/($b_ms+0.5)" | bc)"
}

echo "file: $(stat -c %s "$file") bytes"
row "first screen, text" "$(measure "'$bench' paint '$file'")" "$(measure "less '$file' | head -n 40")"
row "first screen, hex" "$(measure "'$bench' paint '$file' hex")" "$(measure "xxd '$file' | head -n 40")"
row "search to the end" "$(measure "'$bench' search '$file' NEEDLE-AT-THE-END")" \
  "$(measure "grep -c NEEDLE-AT-THE-END '$file'")"
row "count all lines" "$(measure "'$bench' count '$file'")" "$(measure "wc -l '$file'")"
