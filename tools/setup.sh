#!/usr/bin/env bash
# Shared by run.sh and test.sh: install what is missing, configure build/, build.
set -euo pipefail

MORVANE_PACKAGES=(
  g++ cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n qt6-qpa-plugins
  qt6-svg-dev
  libgtest-dev fonts-noto-cjk libfontconfig-dev
  xdg-utils libglib2.0-bin desktop-file-utils shared-mime-info appstream groff-base
  dpkg-dev file
  libpcre2-dev libicu-dev libexiv2-dev libblkid-dev
)

morvane_missing_packages() {
  local missing=()
  for p in "${MORVANE_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  echo "${missing[@]:-}"
}

morvane_install_packages() {
  local missing
  missing=$(morvane_missing_packages)
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Install them with:" >&2
    echo "  sudo apt-get install -y $missing" >&2
    exit 1
  fi
  echo "Installing: $missing"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # shellcheck disable=SC2086
  apt-get install -y -qq --no-install-recommends $missing
}

morvane_build() {
  local root="$1"
  local generator=()
  command -v ninja >/dev/null && generator=(-G Ninja)
  if [ ! -f "$root/build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$root/build" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo
  fi
  cmake --build "$root/build" -j "$(nproc)"
}
