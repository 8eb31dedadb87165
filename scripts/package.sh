#!/usr/bin/env bash
# Builds Velmora and packs it as a Debian package (build/velmora_*.deb).
# Install it with: sudo apt install ./build/velmora_<version>_<arch>.deb
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages
configure_and_build
cd "$BUILD_DIR"
cpack -G DEB
ls -1 "$BUILD_DIR"/velmora_*.deb
