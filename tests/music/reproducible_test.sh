#!/usr/bin/env bash
# Making the sound files again gives the same bytes: the footsteps, a module and a track.
# Usage: reproducible_test.sh MUSIC_TOOL SOURCES_DIR BUILT_INTERFACE_DIR BUILT_MUSIC_DIR SCRATCH_DIR
set -euo pipefail
tool=$1 sources=$2 interface=$3 music=$4 scratch=$5
rm -rf "$scratch"
mkdir -p "$scratch"
"$tool" footsteps "$scratch"
"$tool" module "$sources/instruments.txt" "$sources/cracktro.song" "$scratch/CRACKTRO.IT" -3
"$tool" track "$sources/instruments.txt" "$sources/hornet_derby.song" "$scratch/04_Hornet_Derby.ogg" \
    "$scratch/04_Hornet_Derby.it"
status=0
for name in fs_v3_01_Q.wav fs_v3_02_Q.wav fs_v3_03_Q.wav fs_v3_04_Q.wav CRACKTRO.IT; do
    cmp -s "$scratch/$name" "$interface/$name" || { echo "$name differs from the build's"; status=1; }
done
cmp -s "$scratch/04_Hornet_Derby.ogg" "$music/04_Hornet_Derby.ogg" ||
    { echo "04_Hornet_Derby.ogg differs from the build's"; status=1; }
exit $status
