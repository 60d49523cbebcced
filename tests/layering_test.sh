#!/usr/bin/env bash
# The folder is the layer: only src/platform and src/audio include SDL, only src/audio the
# audio codecs. Prints every include that breaks the rule and fails if there is one.
set -u
src=$1
status=0
while IFS= read -r line; do
    echo "SDL outside the platform and audio layers: $line"
    status=1
done < <(grep -rnE '#include\s*[<"](SDL2?/|SDL[_a-z]*\.h)' "$src" \
             --include='*.h' --include='*.cpp' | grep -vE "^$src/(platform|audio)/")
while IFS= read -r line; do
    echo "audio codec outside the audio layer: $line"
    status=1
done < <(grep -rnE '#include\s*[<"](libopenmpt|vorbis/)' "$src" \
             --include='*.h' --include='*.cpp' | grep -vE "^$src/audio/")
exit $status
