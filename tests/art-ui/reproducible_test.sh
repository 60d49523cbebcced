#!/usr/bin/env bash
# Draws every group of the interface's pictures a second time into a folder of its own and
# fails unless each file is byte for byte the one the build made. The fonts the labels are set
# in are read from the build's folder.
set -eu
tool=$1 sources=$2 built=$3 again=$4
rm -rf "$again"
mkdir -p "$again"
for group in logo scroller overlay player verbs end; do
    "$tool" "$group" "$sources" "$built" "$again"
done
status=0
count=0
for file in "$again"/*; do
    count=$((count + 1))
    if ! cmp -s "$file" "$built/$(basename "$file")"; then
        echo "differs from the build's copy: $(basename "$file")"
        status=1
    fi
done
if [ "$count" -eq 0 ]; then
    echo "ui-art wrote no files"
    status=1
fi
exit $status
