#!/usr/bin/env bash
# Installs every Debian package the build, the tests, the fuzz run and the
# benchmarks need. Does nothing when they are all present.
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev libgl-dev zlib1g-dev
  # tests and fuzzing
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang llvm lld libclang-rt-14-dev
  xvfb xauth poppler-utils x11-apps imagemagick xdotool
  # reference tools used by tests and benchmarks
  grep ripgrep universal-ctags fpc-source icoutils
  gcc-mingw-w64-x86-64 gcc-mingw-w64-i686
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  xdg-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
