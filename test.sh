#!/usr/bin/env bash
# Sets up and builds the suite, then runs its tests headless: once as built
# for use, then again built with AddressSanitizer and UndefinedBehaviorSanitizer
# (in build-sanitize/, halting on the first report, leak checks on).
# Arguments go to ctest (e.g. ./test.sh -R nc). TALVEX_SANITIZE=0 skips the
# second run.
set -euo pipefail
# Both trees are built whole here: Qt's common headers are parsed once per tree.
SETUP_CMAKE_ARGS=(-DTALVEX_PCH=ON)
source "$(dirname "${BASH_SOURCE[0]}")/scripts/setup.sh"
(cd "$BUILD_DIR" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" "$@")

if [ "${TALVEX_SANITIZE:-1}" != 0 ]; then
  SANITIZE_DIR="${SANITIZE_DIR:-$BUILD_DIR-sanitize}"
  # The fuzzers ran in the first tree; they build alike in both.
  cmake -S "$TOP" -B "$SANITIZE_DIR" -G Ninja -DTALVEX_SANITIZE=ON -DTALVEX_BENCHMARKS=OFF -DTALVEX_FUZZERS=OFF \
        -DTALVEX_PCH=ON -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="-O1 -g1" > /dev/null
  cmake --build "$SANITIZE_DIR"
  export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:abort_on_error=0:detect_odr_violation=0"
  export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
  (cd "$SANITIZE_DIR" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" "$@")
fi
