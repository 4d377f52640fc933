#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs:
# the program, the menu entry, the icons, the list-file MIME type, the entries
# of file managers, the AppStream metadata and the manual page.
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
  # Offered under "Open With" for folders and any file; a default handler only of list files.
  grep -qx 'MimeType=application/x-morvane-list;inode/directory;application/octet-stream;' \
    "$desktop" || fail "MimeType line"
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

# Dolphin's context menu: desktop-file-validate knows no service menus, so their keys are
# checked here.
servicemenu="$prefix/share/kio/servicemenus/morvane.desktop"
if [ -f "$servicemenu" ]; then
  key() { # GROUP KEY: the value of KEY in [GROUP]
    awk -v group="[$1]" -v key="$2" '
      /^\[/ { inside = ($0 == group); next }
      inside && index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }
    ' "$servicemenu"
  }
  [ "$(key 'Desktop Entry' Type)" = Service ] || fail "service menu: Type"
  [ "$(key 'Desktop Entry' MimeType)" = 'all/all;' ] || fail "service menu: MimeType"
  [ "$(key 'Desktop Entry' X-KDE-ServiceTypes)" = KonqPopupMenu/Plugin ] ||
    fail "service menu: X-KDE-ServiceTypes"
  action=$(key 'Desktop Entry' Actions)
  action=${action%;}
  [ -n "$action" ] || fail "service menu: no Actions"
  [ "$(key "Desktop Action $action" Name)" = 'Rename with Morvane' ] || fail "service menu: Name"
  [ "$(key "Desktop Action $action" 'Name[ja]')" = 'Morvane で名前を変更' ] ||
    fail "service menu: Name[ja]"
  [ "$(key "Desktop Action $action" Exec)" = 'morvane %F' ] || fail "service menu: Exec"
  [ "$(key "Desktop Action $action" Icon)" = morvane ] || fail "service menu: Icon"
  # No group or line the format does not know: a typo in a key name would go unseen.
  if grep -vEq '^(\[Desktop Entry\]|\[Desktop Action [A-Za-z]+\]|(Type|MimeType|Actions|X-KDE-ServiceTypes|Name|Name\[ja\]|Icon|Exec)=.+|)$' \
    "$servicemenu"; then
    fail "service menu: unknown line"
  fi
else
  fail "share/kio/servicemenus/morvane.desktop missing"
fi

# The script of Nautilus, Caja and Nemo hands the selection to morvane, names starting with a
# dash included.
script="$prefix/share/morvane/file-manager-script"
if [ -x "$script" ]; then
  mkdir -p "$prefix/fake-bin"
  printf '#!/bin/sh\nprintf "%%s|" "$@" > "%s"\n' "$prefix/script-args" >"$prefix/fake-bin/morvane"
  chmod +x "$prefix/fake-bin/morvane"
  PATH="$prefix/fake-bin:$PATH" "$script" 'a b.jpg' '-x'
  [ "$(cat "$prefix/script-args")" = '--|a b.jpg|-x|' ] ||
    fail "file-manager script passed: $(cat "$prefix/script-args")"
else
  fail "share/morvane/file-manager-script missing or not executable"
fi

# Software centres: the metadata validates offline and names the installed menu entry.
metainfo=("$prefix"/share/metainfo/*.metainfo.xml)
if [ -f "${metainfo[0]}" ]; then
  appstreamcli validate --no-net "${metainfo[0]}" || fail "appstreamcli validate rejected $(basename "${metainfo[0]}")"
  grep -q '<launchable type="desktop-id">morvane.desktop</launchable>' "${metainfo[0]}" ||
    fail "metainfo: launchable"
  grep -q '<summary xml:lang="ja">' "${metainfo[0]}" || fail "metainfo: no Japanese summary"
  grep -q '<project_license>MIT</project_license>' "${metainfo[0]}" || fail "metainfo: licence"
  grep -q '<content_rating type="oars-1.1"' "${metainfo[0]}" || fail "metainfo: content rating"
  grep -q '<screenshot type="default">' "${metainfo[0]}" || fail "metainfo: screenshot"
else
  fail "share/metainfo/*.metainfo.xml missing"
fi

# The manual page: groff finds nothing to warn about, and it covers what the program does.
manual="$prefix/share/man/man1/morvane.1.gz"
if [ -f "$manual" ]; then
  if ! warnings=$(zcat "$manual" | LC_ALL=C.UTF-8 groff -k -man -Tutf8 -ww -z 2>&1) || [ -n "$warnings" ]; then
    echo "$warnings" >&2
    fail "groff warns about morvane.1"
  fi
  text=$(zcat "$manual")
  for part in '.SH SYNOPSIS' '.SH OPTIONS' '.SH EXIT STATUS' '.SH FILES' '\-\-add' '\-\-null' \
    '\-\-help' '\-\-version' 'config.ini' 'presets.ini' 'XDG_STATE_HOME/morvane/'; do
    grep -qF -- "$part" <<<"$text" || fail "morvane.1 lacks $part"
  done
else
  fail "share/man/man1/morvane.1.gz missing"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "installed tree OK"
