#!/usr/bin/env bash
# Lines per second of `vesper procs` against `ctags -x --languages=Pascal`
# over the Free Pascal sources (every .pas and .pp unit; ctags is told that
# .pp is Pascal too, so both read the same input). Different work, same input.
#
#   per file  one process per unit for both programs, over an even sample of
#             PROCS_SAMPLE units (default 500; 0 for all)
#   one run   every unit in one process: bench_procs (the engine of
#             `vesper procs`, files opened and scanned, no output) against
#             `ctags -L` writing its cross reference to /dev/null
#
# Environment: BUILD_DIR (default <repo>/build), PROCS_SRC (default
# /usr/share/fpcsrc), PROCS_SAMPLE.
set -euo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD_DIR:-$repo/build}
src=${PROCS_SRC:-/usr/share/fpcsrc}
sample=${PROCS_SAMPLE:-500}
vesper=$build/bin/vesper
bench=$build/bench/bench_procs
ctags=(ctags -x --languages=Pascal --langmap=Pascal:+.pp)

for p in "$vesper" "$bench"; do
  [[ -x $p ]] || { echo "missing $p: build the vesper and bench_procs targets" >&2; exit 2; }
done
command -v ctags >/dev/null || { echo "ctags (universal-ctags) is not installed" >&2; exit 2; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
find "$src" -type f \( -iname '*.pas' -o -iname '*.pp' \) | LC_ALL=C sort > "$tmp/all"
total=$(wc -l < "$tmp/all")
[[ $total -gt 0 ]] || { echo "no Pascal units under $src" >&2; exit 2; }
if [[ $sample -gt 0 && $sample -lt $total ]]; then
  awk -v step=$((total / sample)) -v k="$sample" '(NR - 1) % step == 0 && n++ < k' "$tmp/all" > "$tmp/sample"
else
  cp "$tmp/all" "$tmp/sample"
fi

lines_of() { xargs -d '\n' cat < "$1" | wc -l; }
now() { date +%s.%N; }
# seconds COMMAND...: wall time of one run, output and exit status ignored.
seconds() {
  local start end
  start=$(now)
  "$@" >/dev/null 2>&1 || true
  end=$(now)
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }'
}
vesper_each() { xargs -d '\n' -n 1 "$vesper" procs --both < "$1"; }
ctags_each() { xargs -d '\n' -n 1 "${ctags[@]}" < "$1"; }
ctags_all() { "${ctags[@]}" -L "$1"; }
rate() { awk -v l="$1" -v s="$2" 'BEGIN { printf "%.0f", l / s }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

sample_files=$(wc -l < "$tmp/sample")
sample_lines=$(lines_of "$tmp/sample")
all_lines=$(lines_of "$tmp/all")
cat "$tmp/all" | xargs -d '\n' cat > /dev/null  # warm the page cache

echo "per file: $sample_files units, $sample_lines lines"
tv=$(seconds vesper_each "$tmp/sample")
tc=$(seconds ctags_each "$tmp/sample")
v1=$(rate "$sample_lines" "$tv")
c1=$(rate "$sample_lines" "$tc")
printf '  vesper procs  %8ss  %10s lines/s\n' "$tv" "$v1"
printf '  ctags         %8ss  %10s lines/s\n' "$tc" "$c1"
printf '  ratio vesper/ctags: %s\n' "$(ratio "$v1" "$c1")"

echo "one run: $total units, $all_lines lines"
ms=$(PROCS_FILE_LIST="$tmp/all" "$bench" --benchmark_filter='BM_ScanUnits/params:0' \
       --benchmark_min_time=1 --benchmark_format=csv 2>/dev/null |
     awk -F, '/BM_ScanUnits/ { print $3 }')
tv=$(awk -v m="$ms" 'BEGIN { printf "%.3f", m / 1000 }')
best=""
for _ in 1 2 3; do
  t=$(seconds ctags_all "$tmp/all")
  if [[ -z $best ]] || awk -v a="$t" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$t; fi
done
v2=$(rate "$all_lines" "$tv")
c2=$(rate "$all_lines" "$best")
printf '  routine finder %7ss  %10s lines/s\n' "$tv" "$v2"
printf '  ctags -L      %8ss  %10s lines/s (best of 3)\n' "$best" "$c2"
printf '  ratio vesper/ctags: %s\n' "$(ratio "$v2" "$c2")"
