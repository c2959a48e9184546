#!/usr/bin/env bash
# Builds Vesper, registers the host package with the stand-in IDE and every
# wizard module of the build, and starts the IDE. Arguments go to vesper-ide
# (for example --cbuilder, or files and projects to open).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh default

build=$PWD/build
vesper=$build/bin/vesper
base='Software\Borland\Delphi\3.0'
for a in "$@"; do [ "$a" = --cbuilder ] && base='Software\Borland\C++Builder\3.0'; done

if [ -f "$build/lib/vesper/vesper.dpl" ]; then
  "$vesper" reg set "HKEY_CURRENT_USER\\$base\\Known Packages" "$build/lib/vesper/vesper.dpl" \
    string "Vesper Wizard Manager"
fi
shopt -s nullglob
for module in "$build"/lib/vesper/wizards/*.vwz; do
  "$vesper" regsvr "$module"
done

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]; then
  echo "There is no display to show the IDE on. Start it in a virtual one with:"
  echo "  xvfb-run -a $build/bin/vesper-ide"
  exit 0
fi
exec "$build/bin/vesper-ide" "$@"
