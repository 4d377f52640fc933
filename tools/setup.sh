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
  libpcre2-dev libicu-dev libexiv2-dev libtag1-dev libblkid-dev
)

# What the tests on real file systems (ctest label realfs) mount with. Only root mounts, so
# only test.sh run as root installs them; as another user those tests are left out.
MORVANE_REALFS_PACKAGES=(
  e2fsprogs xfsprogs btrfs-progs dosfstools exfatprogs ntfs-3g
  fuse3 exfat-fuse fusefat sshfs openssh-client openssh-server
)

# The packages of MORVANE_PACKAGES and of the arguments that are not installed.
morvane_missing_packages() {
  local missing=() p
  for p in "${MORVANE_PACKAGES[@]}" "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  echo "${missing[@]:-}"
}

# Installs MORVANE_PACKAGES and the packages given as arguments, those that are missing.
morvane_install_packages() {
  local missing
  missing=$(morvane_missing_packages "$@")
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
  # The tests start an SSH server of their own on 127.0.0.1 from the package's program; the
  # system service the package brings along is not wanted.
  if [[ " $missing " == *" openssh-server "* ]] && command -v systemctl >/dev/null; then
    systemctl disable --now ssh.service ssh.socket >/dev/null 2>&1 || true
  fi
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
