#!/usr/bin/env bash
# Builds Velmora and starts it from its program folder build/dist/.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages
configure_and_build
exec "$BUILD_DIR/dist/velmora" "$@"
