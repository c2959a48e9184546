#!/usr/bin/env bash
# Compares `vesper res list` with `wrestool -l` and `vesper deps --imports`
# with `objdump -p` on large PE files: a generated image with many resources
# and the largest libraries the cross compilers install.
#   bench/exeimage/run.sh [RUNS]     (VESPER=path/to/vesper to choose the build)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
vesper=${VESPER:-$root/build/bin/vesper}
runs=${1:-5}
objdump=x86_64-w64-mingw32-objdump
for tool in "$vesper" wrestool "$objdump" x86_64-w64-mingw32-gcc x86_64-w64-mingw32-windres; do
  command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 2; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# An image with 4000 resources over 40 types and 8 MB of data.
{
  for i in $(seq 1 4000); do echo "$i $((i % 40 + 100)) { \"resource $i\" }"; done
  echo "BLOB RCDATA \"blob.bin\""
} > "$work/many.rc"
head -c 8388608 /dev/zero > "$work/blob.bin"
echo 'int entry(void) { return 0; }' > "$work/many.c"
x86_64-w64-mingw32-windres -I"$work" "$work/many.rc" -O coff -o "$work/many.o"
x86_64-w64-mingw32-gcc -nostdlib -Wl,-e,entry -o "$work/many.exe" "$work/many.c" "$work/many.o"

# Milliseconds for `runs` runs of a command (output discarded, failures allowed).
time_ms() {
  local start end
  start=$(date +%s%N)
  for _ in $(seq 1 "$runs"); do "$@" >/dev/null 2>&1 || true; done
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}

compare() {  # label file ours... -- theirs...
  local label=$1 file=$2; shift 2
  local ours=() theirs=()
  while [ "$1" != "--" ]; do ours+=("$1"); shift; done
  shift
  theirs=("$@")
  local a b
  a=$(time_ms "${ours[@]}" "$file")
  b=$(time_ms "${theirs[@]}" "$file")
  printf '%-14s %-22s %9s bytes  vesper %6d ms  peer %6d ms  ratio %s\n' "$label" "$(basename "$file")" \
    "$(stat -c %s "$file")" "$a" "$b" "$(awk -v a="$a" -v b="$b" 'BEGIN { printf "%.2f", (b ? a / b : 0) }')"
}

echo "runs per command: $runs (ratio = vesper time / peer time; below 1 is faster)"
compare "res list" "$work/many.exe" "$vesper" res list -- wrestool -l
compare "deps imports" "$work/many.exe" "$vesper" deps --imports -- "$objdump" -p
for lib in $(ls -S /usr/lib/gcc/x86_64-w64-mingw32/*/libstdc++-6.dll /usr/lib/gcc/x86_64-w64-mingw32/*/libgfortran-5.dll \
             /usr/lib/gcc/i686-w64-mingw32/*/libstdc++-6.dll 2>/dev/null | head -3); do
  compare "deps imports" "$lib" "$vesper" deps --imports -- "$objdump" -p
done
