#!/usr/bin/env bash
# Starts the real program on a private Xvfb display, then lets another X client (xev) hold the keyboard focus
# while xclip copies a folder path to the clipboard. The program must run on the folder's files (its watcher
# looks every two seconds), and the focused client must have received no key press from it.
# The run is seen from outside through the list: a left click on a row copies that row's checksum, which
# xclip reads back and compares with md5sum (MD5 is the algorithm of a first start).
# Usage: clipboard_watcher.sh path/to/corvane
program=$(realpath "$1")
source "$(dirname "$0")/session.sh"
require_tools Xvfb xdotool xclip xev md5sum import python3
start_session

# The folder to copy, with a few small files of different content.
folder="$work/Copied Folder"
mkdir -p "$folder"
for i in 1 2 3 4 5 6; do echo "file number $i" >"$folder/file$i.txt"; done
sums=$(md5sum "$folder"/*.txt | cut -d' ' -f1)

start_program

# Another client in front: xev logs every key event its window receives.
xev -name corvane-e2e-other -event keyboard >"$work/xev.log" 2>&1 &
extra_pids+=($!)
other=""
for _ in $(seq 100); do
    other=$(xdotool search --onlyvisible --name "^corvane-e2e-other$" 2>/dev/null | head -n1)
    [ -n "$other" ] && break
    sleep 0.1
done
[ -n "$other" ] || fail "the xev window did not appear"
xdotool windowfocus --sync "$other" || fail "could not focus the xev window"

before=$(rows_picture)
printf '%s' "$folder" | xclip -selection clipboard >/dev/null 2>&1 || fail "xclip could not copy"
# The run begins after the watcher's paste, so once the list changes the paste has happened.
wait_for_rows_change "$before" || fail "the list did not change after the copy"

grep -qE "^Key(Press|Release) " "$work/xev.log" && fail "the focused client received a key event"
[ "$(xdotool getwindowfocus)" = "$other" ] || fail "the focus left the xev window"
echo "ok: the focused client received no key press"

copied=$(click_rows_until_copied "$sums") ||
    fail "no row of the copied folder's files (the clipboard holds \"$copied\")"
echo "ok: the copied folder was run"

# The check above means something only if xev does log key presses it receives.
xdotool windowfocus --sync "$other"
xdotool key x
for _ in $(seq 50); do
    grep -q "^KeyPress" "$work/xev.log" && break
    sleep 0.1
done
grep -q "^KeyPress" "$work/xev.log" || fail "xev logs no key presses, so their absence proves nothing"
kill -0 "$app_pid" 2>/dev/null || fail "corvane ended during the test"
