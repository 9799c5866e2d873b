#!/usr/bin/env bash
# Redraws the editor's pictures (command buttons, panel background, splash), the application
# icon and the help page's button pictures. Commit the results.
#   scripts/make-art.sh
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target quillbox-art -j "$(nproc)"
QT_QPA_PLATFORM=offscreen build/bin/quillbox-art .
