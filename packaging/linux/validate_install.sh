#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what menus and software centres read:
# the desktop entries and the AppStream metainfo pass the freedesktop validators, and each
# entry names a program and a hicolor icon at every size that were installed.
#   validate_install.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d /tmp/pq-install.XXXXXX)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
entries=("$prefix"/share/applications/*.desktop)
[ ${#entries[@]} -eq 2 ] || fail "expected two desktop entries, found: ${entries[*]}"
desktop-file-validate "${entries[@]}"
appstreamcli validate-tree --no-net --explain "$prefix"

for entry in "${entries[@]}"; do
  program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
  icon=$(sed -n 's/^Icon=//p' "$entry")
  [ -x "$prefix/bin/$program" ] || fail "$entry starts $program, which is not in bin/"
  for size in 16 22 24 32 48 64 128 256; do
    picture="$prefix/share/icons/hicolor/${size}x${size}/apps/$icon.png"
    [ "$(identify -format '%wx%h' "$picture" 2>/dev/null)" = "${size}x${size}" ] ||
      fail "no ${size}x${size} picture for the icon $icon"
  done
done
echo "install tree valid: $(find "$prefix" -type f | wc -l) files"
