#!/usr/bin/env bash
# Times `vesper grep` against GNU grep (LC_ALL=C, -En / -rnE) and ripgrep
# (-j1) on one large source file and on a source tree, each tool writing
# its output to a file, and prints the time ratios.
#
#   bench/grep/run.sh [--quick]
#
# Environment: VESPER (the vesper program, default build/bin/vesper),
# DATA (data folder, default /tmp/vesper-grep-bench), RUNS (best of, 3),
# SIZE_MB (size of the single file, 200).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
VESPER=${VESPER:-$repo/build/bin/vesper}
DATA=${DATA:-/tmp/vesper-grep-bench}
RUNS=${RUNS:-3}
SIZE_MB=${SIZE_MB:-200}
if [[ "${1:-}" == "--quick" ]]; then RUNS=1; SIZE_MB=50; fi

[[ -x "$VESPER" ]] || { echo "build vesper first: $VESPER" >&2; exit 2; }
command -v rg >/dev/null || { echo "ripgrep (rg) is needed" >&2; exit 2; }

big="$DATA/big-$SIZE_MB.txt"
tree="$DATA/tree"
out="$DATA/out"
mkdir -p "$DATA" "$out"

# One large file of real source text: Pascal sources and C headers,
# repeated until it reaches SIZE_MB.
if [[ ! -s "$big" ]]; then
  echo "building $big ..." >&2
  list="$DATA/sources.lst"
  for src in /usr/share/fpcsrc /usr/include; do
    find "$src" -type f \( -name '*.pp' -o -name '*.pas' -o -name '*.inc' -o -name '*.h' \) -size -2M | sort
  done > "$list"
  : > "$big.tmp"
  while (( $(stat -c %s "$big.tmp") < SIZE_MB * 1024 * 1024 )); do
    xargs -d '\n' cat < "$list" >> "$big.tmp"
  done
  head -c $((SIZE_MB * 1024 * 1024)) "$big.tmp" > "$big"
  rm -f "$big.tmp"
fi

# A source tree: the Free Pascal sources and the C headers.
if [[ ! -d "$tree" ]]; then
  echo "building $tree ..." >&2
  mkdir -p "$tree"
  cp -r /usr/share/fpcsrc "$tree/fpcsrc"
  cp -r /usr/include "$tree/include"
  find "$tree" -type l -delete
fi
tree_files=$(find "$tree" -type f | wc -l)
tree_mb=$(( $(du -sm "$tree" | cut -f1) ))

# Per pattern: its name, the flag for all tools (or none), the pattern, and
# the pattern in ripgrep's syntax ("-P:" asks for its PCRE2 engine).
names=(); flags=(); pats=(); rgpats=()
add() { names+=("$1"); flags+=("$2"); pats+=("$3"); rgpats+=("$4"); }
add "rare literal" "" 'EInvalidPointerCompare' 'EInvalidPointerCompare'
add "common literal" "" 'procedure' 'procedure'
add "case-insensitive literal" "-i" 'tstringlist' 'tstringlist'
add "alternation of five" "" 'ERangeError|EOverflow|EIntOverflow|EAccessViolation|EConvertError' \
    'ERangeError|EOverflow|EIntOverflow|EAccessViolation|EConvertError'
add "[A-Za-z]+_[0-9]+" "" '[A-Za-z]+_[0-9]+' '[A-Za-z]+_[0-9]+'
add "^end;" "" '^end;' '^end;'
add "\\<inline\\>" "" '\<inline\>' '\binline\b'
add "(ab|cd)\\1" "" '(ab|cd)\1' '-P:(ab|cd)\1'
add "a.*b.*c.*d" "" 'a.*b.*c.*d' 'a.*b.*c.*d'

best() {  # best wall time of RUNS runs of "$@", in seconds
  local b="" t0 t1 t
  for ((i = 0; i < RUNS; i++)); do
    t0=$(date +%s.%N)
    "$@" || true
    t1=$(date +%s.%N)
    t=$(echo "$t1 - $t0" | bc -l)
    if [[ -z "$b" ]] || (( $(echo "$t < $b" | bc -l) )); then b=$t; fi
  done
  printf '%.3f' "$b"
}

run_set() {  # kind target
  local kind=$1 target=$2
  printf '\n%s\n' "$kind"
  printf '%-26s %9s %9s %9s %11s %11s %8s\n' pattern vesper grep "rg -j1" vesper/grep vesper/rg lines
  for ((k = 0; k < ${#names[@]}; k++)); do
    local name=${names[k]} flag=${flags[k]} pat=${pats[k]} rgpat=${rgpats[k]}
    local rgflags=()
    [[ -n "$flag" ]] && rgflags+=("$flag")
    if [[ "$rgpat" == -P:* ]]; then rgflags+=(-P); rgpat=${rgpat#-P:}; fi
    local gflags=(-En) vflags=() rflags=(-j1 -n --no-heading -uu --no-config)
    if [[ "$kind" == tree* ]]; then gflags=(-rnE); vflags=(-r); fi
    [[ -n "$flag" ]] && { gflags+=("$flag"); vflags+=("$flag"); }
    local tv tg tr
    tv=$(best sh -c '"$0" grep "$@" > "'"$out"'/vesper.txt" 2>/dev/null' "$VESPER" "${vflags[@]}" -- "$pat" "$target")
    tg=$(best sh -c 'LC_ALL=C grep "$@" > "'"$out"'/grep.txt" 2>/dev/null' grep "${gflags[@]}" -e "$pat" "$target")
    tr=$(best sh -c 'rg "$@" > "'"$out"'/rg.txt" 2>/dev/null' rg "${rflags[@]}" "${rgflags[@]}" -e "$rgpat" "$target")
    local lv lg
    lv=$(wc -l < "$out/vesper.txt")
    lg=$(wc -l < "$out/grep.txt")
    printf '%-26s %9s %9s %9s %11.2f %11.2f %8s\n' "$name" "$tv" "$tg" "$tr" \
      "$(echo "$tv / $tg" | bc -l)" "$(echo "$tv / $tr" | bc -l)" "$lv/$lg"
  done
}

# Warm the page cache.
cat "$big" > /dev/null
find "$tree" -type f -print0 | xargs -0 cat > /dev/null

start=$(date +%s)
big_mb=$(( $(stat -c %s "$big") / 1024 / 1024 ))
t_wc=$(best sh -c 'wc -l "$0" > /dev/null' "$big")
echo "single file: $big_mb MB; wc -l $t_wc s. tree: $tree_files files, $tree_mb MB. best of $RUNS."
echo "times in seconds; ratios below 1 mean vesper grep is faster; lines: vesper/grep output lines"
run_set "single file ($big_mb MB)" "$big"
run_set "tree ($tree_files files)" "$tree"
echo
echo "total $(( $(date +%s) - start )) s"
