# Sourced by the tests that make generated files a second time: same_as_built AGAIN BUILT WHAT
# compares every file in the folder AGAIN with the file of its name in BUILT, names each one
# that differs, and fails when one differs or AGAIN holds none (WHAT then names the tool).
same_as_built() {
    local again=$1 built=$2 what=$3 status=0 count=0 file
    for file in "$again"/*; do
        [ -e "$file" ] || continue
        count=$((count + 1))
        if ! cmp -s "$file" "$built/$(basename "$file")"; then
            echo "differs from the build's copy: $(basename "$file")"
            status=1
        fi
    done
    if [ "$count" -eq 0 ]; then
        echo "$what wrote no files"
        status=1
    fi
    return $status
}
