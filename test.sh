#!/usr/bin/env bash
# Builds Morvane and runs every test headless.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
source "$root/tools/setup.sh"
select=()
if [ "$(id -u)" -eq 0 ]; then
  morvane_install_packages "${MORVANE_REALFS_PACKAGES[@]}"
else
  morvane_install_packages
  # They would skip one by one; leave them out and say so once.
  echo "Not root: the tests on real file systems (label realfs) are skipped; they mount file systems."
  select=(-LE realfs)
fi
morvane_build "$root"
export QT_QPA_PLATFORM=offscreen
cd "$root/build"
ctest --output-on-failure -j "$(nproc)" "${select[@]}" "$@"
