#!/usr/bin/env bash
# Draws the room's pictures a second time into a folder of its own and fails unless every
# file is byte for byte the one the build made.
set -eu
tool=$1 sheets=$2 built=$3 again=$4
rm -rf "$again"
mkdir -p "$again"
"$tool" "$sheets" "$again"
status=0
count=0
for file in "$again"/*.png; do
    count=$((count + 1))
    if ! cmp -s "$file" "$built/$(basename "$file")"; then
        echo "differs from the build's copy: $(basename "$file")"
        status=1
    fi
done
if [ "$count" -eq 0 ]; then
    echo "room-art wrote no pictures"
    status=1
fi
exit $status
