#!/usr/bin/env bash
# Saves screenshots of the editor's windows and dialogs into docs/screenshots/ (or the folder
# given), on the offscreen platform, so no display is needed.
#   scripts/screenshots.sh [OUTDIR] [SCENE...]
set -euo pipefail
cd "$(dirname "$0")/.."

out="${1:-docs/screenshots}"
[ $# -gt 0 ] && shift

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target quillbox-screenshots pixbridge -j "$(nproc)"
QT_QPA_PLATFORM=offscreen build/bin/quillbox-screenshots "$out" "$@"
echo "Screenshots in $out"
