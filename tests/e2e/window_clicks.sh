#!/usr/bin/env bash
# Starts the real program on a private Xvfb display and clicks in its main window as a user would:
# - after the layout at the smallest width, the Exclusions button lies under the frame of the short-paths
#   check box and must still open the exclusions sheet;
# - a drag on the list from one row to another copies the checksum of the row where it ended;
# - a drag that leaves the window before the button comes up copies nothing.
# The program's handling is waited for through what it does on the display and the clipboard.
# Usage: window_clicks.sh path/to/corvane
program=$(realpath "$1")
source "$(dirname "$0")/session.sh"
require_tools Xvfb xdotool xclip xwininfo md5sum python3
start_session

folder="$work/Listed Folder"
mkdir -p "$folder"
for i in 1 2 3 4 5 6 7 8; do echo "listed file $i" >"$folder/file$i.txt"; done
sums=$(md5sum "$folder"/*.txt | cut -d' ' -f1)

start_program
xdotool windowfocus --sync "$main" || fail "could not focus the main window"

size() { xwininfo -id "$main" | awk '/Width:/ { w = $NF } /Height:/ { h = $NF } END { print w, h }'; }
size_is() { [ "$(size)" = "$1" ]; }
smallest=$(size)
menu_height=$((${smallest#* } - 500))

# Ctrl+R lays the window out for 800 x 500 content. It is done when the window has that size again, so the
# window is made larger first.
xdotool windowsize "$main" 900 600
wait_until 100 size_is "900 600" || fail "the window did not grow: $(size)"
xdotool key --clearmodifiers ctrl+r
wait_until 100 size_is "$smallest" || fail "Ctrl+R did not set the smallest size: $(size)"

# The Exclusions button at (440, 50, 100, 25) of the content; the check box's frame (240, 50, 320, 25) lies
# over it.
sheet_open() {
    sheet=$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | grep -vx "$main" | head -n1)
    [ -n "$sheet" ]
}
xdotool mousemove --window "$main" 490 $((menu_height + 62)) click 1
wait_until 100 sheet_open || fail "the Exclusions button under the check box's frame did not open the sheet"
echo "ok: the Exclusions button opens the sheet after the layout at the smallest width"
xdotool mousemove --window "$sheet" 285 172 click 1  # Cancel
sheet_closed() { ! sheet_open; }
wait_until 100 sheet_closed || fail "Cancel did not close the sheet"

# A run on the folder, pasted with Ctrl+V.
printf '%s' "$folder" | xclip -selection clipboard >/dev/null 2>&1 || fail "xclip could not copy"
xdotool windowfocus --sync "$main"
xdotool key --clearmodifiers ctrl+v

# The rows are 20 points high; below the column titles the first is centred 29 points under the list's top
# edge at y 130 of the content.
row_y() { echo $((menu_height + 130 + 29 + 20 * $1)); }
clipboard() { xclip -o -selection clipboard 2>/dev/null; }
clipboard_is_a_sum_but() { local c; c=$(clipboard); grep -qxF -- "$c" <<<"$sums" && [ "$c" != "$1" ]; }
# A click on row $1 copies its checksum once the run has ended; $2 is a checksum the clipboard holds before.
click_row() {
    xdotool mousemove --window "$main" 300 "$(row_y "$1")" click 1
    clipboard_is_a_sum_but "$2"
}
wait_until 300 click_row 6 "" || fail "no checksum from row 6 (the clipboard holds \"$(clipboard)\")"
sixth=$(clipboard)
wait_until 50 click_row 2 "$sixth" || fail "no other checksum from row 2"
second=$(clipboard)
wait_until 50 click_row 4 "$second" || fail "no other checksum from row 4"

# Press on row 2, drag over rows 3 to 6, release on row 6.
xdotool mousemove --window "$main" 300 "$(row_y 2)" mousedown 1
for row in 3 4 5 6; do xdotool mousemove --window "$main" 300 "$(row_y "$row")"; done
xdotool mouseup 1
clipboard_is() { [ "$(clipboard)" = "$1" ]; }
wait_until 100 clipboard_is "$sixth" ||
    fail "a drag from row 2 to row 6 copied \"$(clipboard)\", not row 6's \"$sixth\" (row 2's is \"$second\")"
echo "ok: a drag copies the checksum of the row where it ended"

# Press on row 3 and leave the window before the button comes up. Ctrl+R, which the program handles after
# the release, shows when it has been handled.
xdotool mousemove --window "$main" 300 "$(row_y 3)" mousedown 1
xdotool mousemove 5 5 mouseup 1
xdotool windowsize "$main" 900 600
wait_until 100 size_is "900 600" || fail "the window did not grow: $(size)"
xdotool windowfocus --sync "$main"
xdotool key --clearmodifiers ctrl+r
wait_until 100 size_is "$smallest" || fail "Ctrl+R did not set the smallest size: $(size)"
clipboard_is "$sixth" || fail "a drag out of the window copied \"$(clipboard)\""
echo "ok: a drag out of the window copies nothing"
kill -0 "$app_pid" 2>/dev/null || fail "corvane ended during the test"
