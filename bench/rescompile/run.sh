#!/bin/sh
# Times `vesper rc compile` against llvm-rc (and windres) compiling the same
# project's resource script. The project (5,000 strings, 200 icons and 50 MB of
# RCDATA by default) is generated in a temporary folder outside the tree.
# Usage: bench/rescompile/run.sh [BUILD_DIR] [RCDATA_MB]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../build}
mb=${2:-50}
vesper=$build/bin/vesper
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VESPER_HOME=$work/home

"$vesper" rc new "$work/p.vrf"
python3 "$here/genproject.py" "$work/p.vrf" "$work" 5000 200 "$mb"
# The version part names header constants that only a preprocessing compiler knows.
"$vesper" rc set "$work/p.vrf" setting DefaultsInVrf=1 NoVerResource=1
"$vesper" rc compile "$work/p.vrf" --script "$work/p.rc" --consts

now() { date +%s.%N; }
time_it() {
  t0=$(now)
  "$@" >/dev/null
  t1=$(now)
  echo "$t1 - $t0" | bc
}

ours=$(time_it "$vesper" rc compile "$work/p.vrf")
echo "vesper rc compile: ${ours}s ($(stat -c %s "$work/p.R32") bytes)"
for peer in llvm-rc-14 llvm-rc; do
  if command -v $peer >/dev/null; then
    theirs=$(time_it $peer /FO "$work/llvm.res" "$work/p.rc")
    echo "$peer on the script: ${theirs}s (ratio $(echo "scale=1; $theirs / $ours" | bc))"
    break
  fi
done
if command -v x86_64-w64-mingw32-windres >/dev/null; then
  theirs=$(time_it x86_64-w64-mingw32-windres -i "$work/p.rc" -O res -o "$work/windres.res")
  echo "windres on the script: ${theirs}s (ratio $(echo "scale=1; $theirs / $ours" | bc))"
fi
