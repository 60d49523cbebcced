#!/usr/bin/env bash
# Draws every group of the interface's pictures a second time into a folder of its own and
# fails unless each file is byte for byte the one the build made. The fonts the labels are set
# in are read from the build's folder.
set -eu
tool=$1 sources=$2 built=$3 again=$4
source "$(dirname "$0")/../support/same_as_built.sh"
rm -rf "$again"
mkdir -p "$again"
for group in logo scroller overlay player verbs end; do
    "$tool" "$group" "$sources" "$built" "$again"
done
same_as_built "$again" "$built" ui-art
