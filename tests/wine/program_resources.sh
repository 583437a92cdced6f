#!/usr/bin/env bash
# The resources of the Windows programs and their installer, read back from the files with
# the toolchain's resource compiler: each program has its icon (nine sizes, 16 to 256), its
# version information and its manifest; the installer has version information.
#   program_resources.sh PREFIX WINDOWS_DIR      (PREFIX is not used: no Wine needed)
set -euo pipefail
windows=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
version=$(sed -n 's/^project(PellwickQuistel VERSION \([0-9.]*\).*/\1/p' "$PQ_SOURCE_DIR/CMakeLists.txt")

resources() { x86_64-w64-mingw32-windres -i "$1" -O rc; }
has() {  # has RESOURCES TEXT WHAT
  grep -qF -- "$2" <<<"$1" || fail "$3"
}

for program in Pellwick/pellwick Quistel/quistel; do
  exe="$windows/deploy/$program.exe"
  name=$(basename "$program")
  rc=$(resources "$exe") || fail "cannot read the resources of $exe"
  # The icon: one group, its pictures the ones drawn for this program.
  [ "$(grep -c '/\* RT_GROUP_ICON \*/' <<<"$rc")" -eq 1 ] || fail "$name.exe: not one icon group"
  [ "$(grep -c '/\* RT_ICON \*/' <<<"$rc")" -eq 9 ] || fail "$name.exe: not nine icon pictures"
  icons=$(mktemp)
  printf '1 ICON "%s"\n' "$PQ_SOURCE_DIR/packaging/windows/$name.ico" >"$icons.rc"
  x86_64-w64-mingw32-windres -i "$icons.rc" -O rc >"$icons"
  # The pictures' bytes; the memory flags of a compiled resource are not kept in a program.
  pictures() { sed -n '/RT_ICON/,/^END/p' | sed 's|/\* RT_ICON \*/.*|/* RT_ICON */|'; }
  diff <(pictures <"$icons") <(pictures <<<"$rc") >/dev/null ||
    fail "$name.exe: its icon is not packaging/windows/$name.ico"
  rm -f "$icons" "$icons.rc"
  # Version information.
  has "$rc" "VALUE \"FileVersion\", \"$version\"" "$name.exe: no file version $version"
  has "$rc" "VALUE \"ProductVersion\", \"$version\"" "$name.exe: no product version $version"
  has "$rc" "VALUE \"OriginalFilename\", \"$name.exe\"" "$name.exe: no original file name"
  has "$rc" 'VALUE "LegalCopyright", "Copyright 2026 the Pellwick and Quistel developers"' \
    "$name.exe: no copyright line"
  has "$rc" 'VALUE "ProductName", "Pellwick and Quistel"' "$name.exe: no product name"
  # The manifest.
  has "$rc" '/* RT_MANIFEST */' "$name.exe: no manifest"
  has "$rc" 'level=""asInvoker""' "$name.exe: the manifest does not run it as the invoker"
  has "$rc" '>PerMonitorV2, PerMonitor</dpiAwareness>' "$name.exe: no per-monitor DPI awareness"
  has "$rc" '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}' "$name.exe: Windows 10/11 not supported"
  echo "$name.exe: icon, version $version, manifest"
  grep -E 'VALUE "|dpiAwareness|requestedExecutionLevel|supportedOS' <<<"$rc" | sed 's/^ */  /'
done

setup=$(resources "$windows/PellwickQuistel-Setup.exe")
has "$setup" "VALUE \"ProductVersion\", \"$version\"" "the installer has no version $version"
echo "PellwickQuistel-Setup.exe: version $version"
