#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the unit
# and GUI tests (offscreen), the seed corpora, then a short fuzz run.
# VESPER_FUZZ_SECONDS sets the fuzz time per target (default 8; 0 skips).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh default
export QT_QPA_PLATFORM=offscreen
ctest --preset default -j "$(nproc)" --timeout 600
if [ "${VESPER_FUZZ_SECONDS:-8}" != 0 ]; then
  bash scripts/build.sh fuzz
  bash scripts/fuzz.sh "${VESPER_FUZZ_SECONDS:-8}"
fi
