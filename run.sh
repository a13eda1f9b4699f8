#!/usr/bin/env bash
# Sets up and builds the suite, then starts Pelmar.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/scripts/setup.sh"
exec "$BUILD_DIR/bin/Pelmar" "$@"
