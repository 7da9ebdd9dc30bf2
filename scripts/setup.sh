#!/usr/bin/env bash
# Shared set-up of scripts/run and scripts/test: installs the Debian packages the game needs
# (only those missing), then configures and builds into the given folder.
# Usage: source scripts/setup.sh; vallorn_install_packages; vallorn_build DIR [cmake args...]
set -euo pipefail

VALLORN_SOURCE="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

VALLORN_PACKAGES=(
  pkg-config cmake g++ ninja-build
  libsdl2-dev libgl-dev libgl1-mesa-dri libglu1-mesa-dev libglm-dev libstb-dev libimgui-dev
  fonts-dejavu-core libjpeg62-turbo-dev libassimp-dev libopenal-dev
  libsdl2-mixer-dev libmpg123-dev libmp3lame-dev lame liblitehtml-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool imagemagick x11-apps mesa-utils
)

vallorn_install_packages() {
  local missing=()
  local p
  for p in "${VALLORN_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "Installing: ${missing[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
  fi
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# vallorn_build DIR [extra cmake arguments]: configure (Ninja) and build everything in DIR.
vallorn_build() {
  local dir="$1"
  shift
  cmake -S "$VALLORN_SOURCE" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@"
  cmake --build "$dir" -j "$(nproc)"
}
