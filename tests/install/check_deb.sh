#!/usr/bin/env bash
# Builds the Debian package with CPack into a temporary folder and checks its
# control data (name, maintainer, the Qt 6 runtime packages it depends on) and
# that the files a desktop and its software centre read are in it and validate.
# Usage: check_deb.sh BUILD_DIR
set -euo pipefail
build=$1
out=$(mktemp -d "${TMPDIR:-/tmp}/morvane-deb.XXXXXX")
trap 'rm -rf "$out"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1; then
  cat "$out/cpack.log" >&2
  echo "FAIL: cpack -G DEB" >&2
  exit 1
fi
debs=("$out"/morvane_*.deb)
if [ ! -f "${debs[0]}" ]; then
  echo "FAIL: no morvane_*.deb produced" >&2
  exit 1
fi
deb=${debs[0]}
info=$(dpkg-deb -I "$deb")
echo "$info"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = morvane ] || fail "Package field"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ -n "$(field Description)" ] || fail "no Description"
depends=$(field Depends)
for pkg in libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 libqt6network6 qt6-qpa-plugins qt6-translations-l10n libc6; do
  echo "$depends" | grep -Eq "(^|, )$pkg( |,|$)" || fail "Depends lacks $pkg: $depends"
done

contents=$(dpkg-deb -c "$deb")
for path in ./usr/bin/morvane ./usr/share/applications/morvane.desktop \
  ./usr/share/mime/packages/morvane.xml ./usr/share/icons/hicolor/scalable/apps/morvane.svg \
  ./usr/share/icons/hicolor/48x48/apps/morvane.png ./usr/share/doc/morvane/copyright \
  ./usr/share/kio/servicemenus/morvane.desktop ./usr/share/morvane/file-manager-script \
  ./usr/share/metainfo/org.morvane.morvane.metainfo.xml ./usr/share/man/man1/morvane.1.gz; do
  echo "$contents" | grep -q " $path\$" || fail "package lacks $path"
done

# The files as the package installs them validate, not only those of the build tree.
unpacked="$out/root"
dpkg-deb -x "$deb" "$unpacked"
desktop-file-validate "$unpacked/usr/share/applications/morvane.desktop" ||
  fail "desktop-file-validate rejected the packaged morvane.desktop"
appstreamcli validate --no-net "$unpacked/usr/share/metainfo/org.morvane.morvane.metainfo.xml" ||
  fail "appstreamcli validate rejected the packaged metainfo"
[ -x "$unpacked/usr/share/morvane/file-manager-script" ] || fail "the packaged script is not executable"

copyright=$(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/morvane/copyright)
echo "$copyright" | grep -q '^License: MIT$' || fail "copyright file names no MIT licence"
echo "$copyright" | grep -q '^Copyright: .*Morvane developers' || fail "copyright file has no copyright line"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "package OK: $(basename "$deb")"
