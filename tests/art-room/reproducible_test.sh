#!/usr/bin/env bash
# Draws the room's pictures a second time into a folder of its own and fails unless every
# file is byte for byte the one the build made.
set -eu
tool=$1 sheets=$2 built=$3 again=$4
source "$(dirname "$0")/../support/same_as_built.sh"
rm -rf "$again"
mkdir -p "$again"
"$tool" "$sheets" "$again"
same_as_built "$again" "$built" room-art
