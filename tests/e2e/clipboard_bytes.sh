#!/usr/bin/env bash
# Starts the real program on a private Xvfb display, then lets xclip copy the path of a file whose name is
# not UTF-8 (the byte E9), once for each of the text targets X programs offer. Each time the program must
# run on that very file: a left click on the list's row copies its checksum, which xclip reads back and
# compares with md5sum (MD5 is the algorithm of a first start).
# Usage: clipboard_bytes.sh path/to/corvane
program=$(realpath "$1")
source "$(dirname "$0")/session.sh"
require_tools Xvfb xdotool xclip md5sum import python3
start_session
start_program

index=0
for target in UTF8_STRING STRING text/plain; do
    index=$((index + 1))
    file="$work/caf"$'\xe9'"$index.txt"
    echo "content for $target" >"$file"
    sum=$(md5sum <"$file" | cut -d' ' -f1)
    before=$(rows_picture)
    printf '%s' "$file" | xclip -selection clipboard -t "$target" >/dev/null 2>&1 || fail "xclip could not copy"
    # The watcher looks every two seconds. Only once the list has changed may a click copy a checksum:
    # a click before the watcher took the path would replace it.
    wait_for_rows_change "$before" || fail "the list did not change after the copy as $target"
    copied=$(click_rows_until_copied "$sum") ||
        fail "no row with the checksum of the file copied as $target (the clipboard holds \"$copied\")"
    echo "ok: the path copied as $target named the file"
done
kill -0 "$app_pid" 2>/dev/null || fail "corvane ended during the test"
