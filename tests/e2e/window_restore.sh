#!/usr/bin/env bash
# Starts the real program under the openbox window manager and takes its main window to maximised and to full
# screen and back. Each return must give the window its smallest size at the place it had before; a window
# whose title bar was above the screen comes back with the whole title bar on the screen.
# Usage: window_restore.sh path/to/corvane
program=$(realpath "$1")
source "$(dirname "$0")/session.sh"
require_tools Xvfb openbox xdotool xwininfo xprop wmctrl python3
start_session
start_window_manager
start_program

# The main window's content position and size, as "x y width height".
geometry() {
    xwininfo -id "$main" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
                                /Width:/ { w = $NF } /Height:/ { h = $NF } END { print x, y, w, h }'
}
geometry_is() { [ "$(geometry)" = "$1" ]; }
size_is() { [ "$(geometry | cut -d' ' -f3-)" = "$1" ]; }
width_is() { [ "$(geometry | cut -d' ' -f3)" = "$1" ]; }
# The height of the title bar above the content.
title_height() { xprop -id "$main" _NET_FRAME_EXTENTS | sed 's/.*= *//' | cut -d, -f3 | tr -d ' '; }

smallest=$(geometry | cut -d' ' -f3-)  # the first size: 800 x 500 content below the menu bar
screen_size=$(xwininfo -root | awk '/Width:/ { w = $NF } /Height:/ { h = $NF } END { print w, h }')

# Waits until openbox has handled every request made before: it handles them in order, and a toggle of the
# window's "above" state shows when it has come to this one.
window_manager_caught_up() {
    local before
    before=$(xprop -id "$main" _NET_WM_STATE | grep -c _NET_WM_STATE_ABOVE)
    wmctrl -i -r "$main" -b toggle,above || fail "wmctrl could not toggle the above state"
    above_changed() { [ "$(xprop -id "$main" _NET_WM_STATE | grep -c _NET_WM_STATE_ABOVE)" != "$before" ]; }
    wait_until 100 above_changed || fail "openbox did not toggle the above state"
}

# Moves the window to $1 $2 and gives it the size $3 x $4; sets `place` to where it is then, as "x y".
move_and_size() {
    xdotool windowmove "$main" "$1" "$2" windowsize "$main" "$3" "$4"
    window_manager_caught_up
    size_is "$3 $4" || fail "the window did not take the size $3 x $4: $(geometry)"
    place=$(geometry | cut -d' ' -f1-2)
}

# $1: the state (maximized_vert,maximized_horz or fullscreen); $2: how wide the window is then.
enter_and_leave() {
    wmctrl -i -r "$main" -b add,"$1" || fail "wmctrl could not set $1"
    wait_until 100 width_is "$2" || fail "no $1: $(geometry)"
    wmctrl -i -r "$main" -b remove,"$1" || fail "wmctrl could not leave $1"
}

screen_width=${screen_size% *}
# At its smallest size, and larger: then the window manager's own return gives back the larger size, and
# only the program's return to the smallest size can match.
x=150
for size in "$smallest" "1000 700"; do
    for state in maximized_vert,maximized_horz fullscreen; do
        x=$((x + 20))
        move_and_size "$x" 150 $size
        enter_and_leave "$state" "$screen_width"
        wait_until 150 geometry_is "$place $smallest" ||
            fail "after $state from $size the window is at $(geometry), not at $place $smallest"
        echo "ok: after $state from $size the window is back at $place at its smallest size"
    done
done

# A title bar above the screen: the window comes back as far down as needed, at the same x.
move_and_size 200 -10 1000 700
title=$(title_height)
[ "${place#* }" -lt "$title" ] || fail "openbox kept the title bar on the screen itself ($place)"
enter_and_leave maximized_vert,maximized_horz "$screen_width"
wait_until 150 geometry_is "${place% *} $title $smallest" ||
    fail "the window is at $(geometry), not at ${place% *} $title $smallest with its title bar on the screen"
echo "ok: a window whose title bar was above the screen comes back with it on the screen"
kill -0 "$app_pid" 2>/dev/null || fail "corvane ended during the test"
