#!/usr/bin/env bash
# Draws every font a second time into a folder of its own and fails unless both files of each
# are byte for byte the ones the build made.
# Usage: font_reproducible_test.sh FONTGEN SHEETS_DIR BUILT_DIR AGAIN_DIR
set -eu
tool=$1 sheets=$2 built=$3 again=$4
source "$(dirname "$0")/../support/same_as_built.sh"
rm -rf "$again"
mkdir -p "$again"
for name in c64font silkywonderland sfintermosaic; do
    "$tool" "$sheets/$name/glyphs.txt" "$again" "$name"
done
same_as_built "$again" "$built" fontgen
