#!/usr/bin/env bash
# Shared set-up of scripts/run and scripts/test: installs the Debian packages the game, its
# tests and its checks need (only those missing), then configures and builds into the given
# folder.
# Usage: source scripts/setup.sh; vallorn_install_packages; vallorn_build DIR [cmake args...]
#        (or vallorn_build_targets DIR TARGET...; vallorn_fuzz SECONDS)
set -euo pipefail

VALLORN_SOURCE="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

VALLORN_PACKAGES=(
  pkg-config cmake g++ ninja-build
  libsdl2-dev libgl-dev libgl1-mesa-dri libglu1-mesa-dev libglm-dev libstb-dev libimgui-dev
  fonts-dejavu-core libjpeg62-turbo-dev libassimp-dev libopenal-dev
  libsdl2-mixer-dev libmpg123-dev libmp3lame-dev lame liblitehtml-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-dev clang-format
  xvfb xauth xdotool imagemagick x11-apps mesa-utils
  desktop-file-utils appstream dpkg-dev
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

# vallorn_build_targets DIR TARGET...: configure DIR as vallorn_build does and build only the
# named targets (and what they need); a name the project does not define is skipped.
vallorn_build_targets() {
  local dir="$1"
  shift
  cmake -S "$VALLORN_SOURCE" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release
  local known targets=() t
  known="$(ninja -C "$dir" -t targets all)"
  for t in "$@"; do
    if grep -q "^$t: " <<<"$known"; then targets+=("$t"); fi
  done
  cmake --build "$dir" -j "$(nproc)" --target "${targets[@]}"
}

# vallorn_fuzz SECONDS: builds the fuzz targets with clang++ in build-fuzz/ and runs each for
# SECONDS on a copy of its seed corpus (tests/fuzz/corpus/<target>/). Inputs that fail are
# kept in build-fuzz/artifacts/<target>/; any failure makes the function fail after every
# target has run. Without clang++ or its libFuzzer runtime (packages clang and libclang-rt-dev,
# which vallorn_install_packages installs) it fails at once: the targets are never skipped.
vallorn_fuzz() {
  local seconds="$1"
  local dir="$VALLORN_SOURCE/build-fuzz"
  if ! command -v clang++ >/dev/null 2>&1; then
    echo "vallorn_fuzz: clang++ not found, the fuzz targets cannot run (install the package clang)"
    return 1
  fi
  local probe
  probe="$(mktemp -d)"
  echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' \
    >"$probe/probe.cpp"
  if ! clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" \
      >"$probe/log" 2>&1; then
    tail -n 5 "$probe/log"
    rm -rf "$probe"
    echo "vallorn_fuzz: clang++ cannot link a libFuzzer target, the fuzz targets cannot run" \
      "(install the package libclang-rt-dev)"
    return 1
  fi
  rm -rf "$probe"
  cmake -S "$VALLORN_SOURCE" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DVALLORN_FUZZ=ON -DVALLORN_TESTS=OFF -DVALLORN_BENCHMARKS=OFF
  cmake --build "$dir" -j "$(nproc)" --target vallorn_fuzz
  local failed=()
  local target
  for target in ini saved_game level mesh_cache terrain_mesh script profile wav jpeg help_link; do
    local corpus="$dir/corpus/$target" artifacts="$dir/artifacts/$target" log="$dir/$target.log"
    rm -rf "$corpus"
    mkdir -p "$corpus" "$artifacts"
    cp -r "$VALLORN_SOURCE/tests/fuzz/corpus/$target/." "$corpus/"
    echo "Fuzzing $target for $seconds s"
    if ASAN_OPTIONS=detect_leaks=1 "$dir/fuzz/fuzz_$target" -max_total_time="$seconds" \
        -rss_limit_mb=2048 -timeout=20 -print_final_stats=1 \
        -artifact_prefix="$artifacts/" "$corpus" >"$log" 2>&1; then
      grep -a -E '^#[0-9]+[[:space:]]+DONE' "$log" || true
    else
      grep -a -m 8 -E '^broken:|ERROR:|runtime error|SUMMARY:' "$log" || tail -n 20 "$log"
      echo "fuzz_$target failed; its input is in $artifacts/ (log: $log)"
      failed+=("$target")
    fi
  done
  if [ ${#failed[@]} -ne 0 ]; then
    echo "Fuzz targets that failed: ${failed[*]}"
    return 1
  fi
}
