#!/usr/bin/env bash
# Draws every font a second time into a folder of its own and fails unless both files of each
# are byte for byte the ones the build made.
# Usage: font_reproducible_test.sh FONTGEN SHEETS_DIR BUILT_DIR AGAIN_DIR
set -eu
tool=$1 sheets=$2 built=$3 again=$4
rm -rf "$again"
mkdir -p "$again"
status=0
for name in c64font silkywonderland sfintermosaic; do
    "$tool" "$sheets/$name/glyphs.txt" "$again" "$name"
    for file in "$name.fnt" "${name}_0.png"; do
        if ! cmp -s "$again/$file" "$built/$file"; then
            echo "differs from the build's copy: $file"
            status=1
        fi
    done
done
exit $status
