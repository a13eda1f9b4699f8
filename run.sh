#!/usr/bin/env bash
# Sets up and builds the suite, then starts Pelmar: with the sample NC program,
# or with the arguments given (e.g. ./run.sh /f PART.NC /g 20). Without a
# display Pelmar says so; run it then as xvfb-run -a ./run.sh.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/scripts/setup.sh"
if [ $# -eq 0 ]; then
  set -- /f "$BUILD_DIR/bin/samples/BRACKET.NC"
fi
exec "$BUILD_DIR/bin/Pelmar" "$@"
