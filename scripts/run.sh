#!/usr/bin/env bash
# Builds Vesper and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh default
exec build/bin/vesper --help
