#!/usr/bin/env bash
# The committed pictures are exactly what the generator draws.
set -euo pipefail
generator=$1 pictures=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
QT_QPA_PLATFORM=offscreen "$generator" "$out"
diff -r -x .keep "$out" "$pictures"
