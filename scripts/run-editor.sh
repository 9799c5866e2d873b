#!/usr/bin/env bash
# Installs what is needed, builds the editor and starts it.
#   scripts/run-editor.sh
# The editor keeps its application folder (preferences, Projects, default assets, engine
# templates) in ~/.local/share/quillbox, seeded from assets/ on the first start.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target quillbox pixbridge -j "$(nproc)"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found (DISPLAY/WAYLAND_DISPLAY are empty): start it from a desktop session." >&2
  exit 1
fi
exec build/bin/quillbox
