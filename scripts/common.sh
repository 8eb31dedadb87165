#!/usr/bin/env bash
# Shared set-up for run.sh and test.sh: packages, configure, build.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${VELMORA_BUILD_DIR:-$ROOT/build}"

PACKAGES=(
    g++ cmake ninja-build pkg-config ccache
    qt6-base-dev qt6-multimedia-dev qt6-translations-l10n
    libqt6sql6-sqlite qt6-charts-dev libqt6opengl6-dev
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good
    fonts-ipafont-gothic
    libbenchmark-dev
    xvfb xauth xdotool x11-utils imagemagick
    python3
    dpkg-dev file
)

# Only the sanitizer run (test.sh --sanitize) needs these: clang with its
# libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer run-times.
SANITIZE_PACKAGES=(clang libclang-rt-14-dev)

# Prints the packages of PACKAGES and of the arguments that are not installed.
missing_packages() {
    local p
    for p in "${PACKAGES[@]}" "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
            printf '%s\n' "$p"
        fi
    done
}

# Installs what missing_packages reports (as root), or says how to.
ensure_packages() {
    local missing
    missing=$(missing_packages "$@" | tr '\n' ' ')
    [ -z "${missing// /}" ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Velmora needs these Debian packages: $missing" >&2
        echo "Install them with:" >&2
        echo "  sudo apt-get update && sudo apt-get install -y --no-install-recommends $missing" >&2
        exit 1
    fi
    echo "Installing: $missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    # shellcheck disable=SC2086
    apt-get install -y -qq --no-install-recommends $missing
}

# Configures BUILD_DIR once (extra arguments go to that first cmake call) and
# builds everything in it.
configure_and_build() {
    local launcher=()
    if command -v ccache >/dev/null 2>&1; then
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    fi
    if [ ! -f "$BUILD_DIR/build.ninja" ]; then
        cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" \
            "$@"
    fi
    cmake --build "$BUILD_DIR"
}
