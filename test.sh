#!/usr/bin/env bash
# Builds Morvane and runs every test headless.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
source "$root/tools/setup.sh"
morvane_install_packages
morvane_build "$root"
export QT_QPA_PLATFORM=offscreen
cd "$root/build"
ctest --output-on-failure -j "$(nproc)" "$@"
