#!/usr/bin/env bash
# Builds Velmora and runs every test; exits non-zero on any failure.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages
configure_and_build
cd "$BUILD_DIR"
ctest --output-on-failure -j"$(nproc)" "$@"
