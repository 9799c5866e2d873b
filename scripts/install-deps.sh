#!/usr/bin/env bash
# Installs the Debian packages Quillbox needs to build, test and run. Safe to run again: it only
# calls apt-get when something is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev libpng-dev
  qt6-multimedia-dev gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  googletest libgtest-dev libgmock-dev
  clang libfuzzer-14-dev
  fonts-dejavu-core xdg-utils
  xvfb dbus at-spi2-core python3-gi gir1.2-atspi-2.0
  chromium
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  echo "Installing: ${missing[*]}"
  $sudo_cmd apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -q "${missing[@]}"
fi

# Ruffle, the Flash player emulator that plays test games in today's browsers, comes from npm at a
# pinned version. It goes into third_party/ruffle (not committed: it is 30 MB); the build copies it
# beside the programs and `cmake --install` installs it with them.
ruffle_version=0.6.0
ruffle_prefix="$(cd "$(dirname "$0")/.." && pwd)/third_party/ruffle"
ruffle_package="$ruffle_prefix/node_modules/@ruffle-rs/ruffle/package.json"
if ! grep -Eq "\"version\": ?\"$ruffle_version\"" "$ruffle_package" 2>/dev/null; then
  if ! command -v npm >/dev/null; then
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    $sudo_cmd apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -q npm
  fi
  echo "Installing Ruffle $ruffle_version into $ruffle_prefix"
  mkdir -p "$ruffle_prefix"
  npm install --prefix "$ruffle_prefix" --no-save --no-package-lock --ignore-scripts \
    --no-audit --no-fund "@ruffle-rs/ruffle@$ruffle_version"
fi
