#!/usr/bin/env bash
# Packs the files a second time and fails unless the archive is byte for byte the build's.
set -eu
qar=$1 built=$2 again=$3
shift 3
"$qar" pack "$again" "$@"
if ! cmp -s "$again" "$built"; then
    echo "packing again gives another archive than $built"
    exit 1
fi
