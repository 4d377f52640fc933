#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs:
# the program, the menu entry, the icons and the list-file MIME type.
# Usage: check_install.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d "${TMPDIR:-/tmp}/morvane-install.XXXXXX")
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" >/dev/null

[ -x "$prefix/bin/morvane" ] || fail "bin/morvane missing or not executable"

desktop="$prefix/share/applications/morvane.desktop"
if [ -f "$desktop" ]; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate rejected morvane.desktop"
  grep -qx 'Exec=morvane %F' "$desktop" || fail "Exec line"
  grep -qx 'Icon=morvane' "$desktop" || fail "Icon line"
  grep -qx 'MimeType=application/x-morvane-list;' "$desktop" || fail "MimeType line"
  grep -q '^GenericName\[ja\]=' "$desktop" || fail "no Japanese GenericName"
  grep -q '^Comment\[ja\]=' "$desktop" || fail "no Japanese Comment"
else
  fail "share/applications/morvane.desktop missing"
fi

icons="$prefix/share/icons/hicolor"
[ -s "$icons/scalable/apps/morvane.svg" ] || fail "scalable SVG icon missing"
for size in 16 24 32 48 64 128 256; do
  png="$icons/${size}x${size}/apps/morvane.png"
  if [ ! -f "$png" ]; then
    fail "icon ${size}x${size} missing"
  elif ! file "$png" | grep -q "PNG image data, $size x $size,"; then
    fail "icon ${size}x${size} is not a ${size}x${size} PNG: $(file -b "$png")"
  fi
done

# update-mime-database rebuilds the caches of the temporary tree only.
mime="$prefix/share/mime"
if [ -f "$mime/packages/morvane.xml" ]; then
  if ! XDG_DATA_HOME="$prefix/share" XDG_DATA_DIRS="$prefix/share" \
    update-mime-database "$mime" 2>"$prefix/mime.log" || [ -s "$prefix/mime.log" ]; then
    cat "$prefix/mime.log" >&2
    fail "update-mime-database reported a problem"
  fi
  grep -qx 'application/x-morvane-list' "$mime/types" 2>/dev/null || fail "type not in mime/types"
  grep -q ':application/x-morvane-list:\*\.mvf$' "$mime/globs2" 2>/dev/null ||
    fail "*.mvf not in mime/globs2"
  grep -aq 'application/x-morvane-list' "$mime/magic" 2>/dev/null || fail "type not in mime/magic"
  grep -aq 'MVF' "$mime/magic" 2>/dev/null || fail "MVF not in mime/magic"
  grep -q 'xml:lang="ja"' "$mime/application/x-morvane-list.xml" 2>/dev/null ||
    fail "no Japanese comment for the type"
else
  fail "share/mime/packages/morvane.xml missing"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "installed tree OK"
