#!/usr/bin/env bash
# Configures and builds a preset (default: "default") into build*/.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-default}
# Compiler cache entries keyed by paths relative to the tree, so that every
# clone of the repository shares them.
export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
cmake --preset "$preset" > /dev/null
cmake --build --preset "$preset" -j "$(nproc)"
