#!/usr/bin/env bash
# Builds Morvane and starts it; arguments are list files to load.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
source "$root/tools/setup.sh"
morvane_install_packages
morvane_build "$root"
exec "$root/build/morvane" "$@"
