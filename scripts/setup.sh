#!/usr/bin/env bash
# Installs the Debian packages the build needs (when missing), then configures
# and builds the suite into build/. Sourced by run.sh and test.sh.
set -euo pipefail

TOP="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$TOP/build}"

PACKAGES=(cmake ninja-build g++ qt6-base-dev libqscintilla2-qt6-dev fonts-dejavu-core
          xvfb xauth x11-utils poppler-utils fonts-liberation2 shared-mime-info libglib2.0-bin acl strace)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
  else
    echo "Missing packages. Run as root:"
    echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}"
    exit 1
  fi
fi

# Options for the configure step (test.sh sets some) come in SETUP_CMAKE_ARGS.
cmake -S "$TOP" -B "$BUILD_DIR" -G Ninja ${SETUP_CMAKE_ARGS[@]+"${SETUP_CMAKE_ARGS[@]}"}
cmake --build "$BUILD_DIR"
