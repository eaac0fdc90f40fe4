#!/usr/bin/env bash
# Starts the real program with a fresh home folder under the openbox window manager, with an export server
# that stalls the download, so that the update window stays open. The window must ask for a title bar and a
# border only, with moving as its one function, at a fixed size; openbox must then offer no resizing,
# maximising or full screen. A close request leaves it open, and a minimised window comes straight back.
# Usage: update_window.sh path/to/corvane
program=$(realpath "$1")
export_mode=stall
source "$(dirname "$0")/session.sh"
require_tools Xvfb openbox xdotool xprop wmctrl python3
start_session
start_window_manager

"$program" >"$work/app.log" 2>&1 &
app_pid=$!
window=""
find_update_window() {
    window=$(xdotool search --onlyvisible --name '^Updating the Malware Database\.\.\.$' 2>/dev/null | head -n1)
    [ -n "$window" ]
}
wait_until 600 find_update_window || fail "no update window within 60 s"
managed() { xprop -id "$window" _NET_WM_ALLOWED_ACTIONS 2>/dev/null | grep -q "_NET_WM_ACTION_"; }
wait_until 100 managed || fail "openbox did not manage the update window"

# The Motif hints: flags, functions, decorations. Functions: 1 all, 2 resize, 4 move, 8 minimise,
# 16 maximise, 32 close. Decorations: 1 all, 2 border, 4 resize handles, 8 title, 16 menu, 32 minimise,
# 64 maximise.
motif=$(xprop -id "$window" _MOTIF_WM_HINTS)
read -r flags functions decorations _ <<<"$(sed 's/^[^=]*= *//; s/,/ /g' <<<"$motif")"
[ -n "$decorations" ] || fail "no Motif hints: $motif"
((flags & 1 && flags & 2)) || fail "the Motif hints do not give functions and decorations: $motif"
((functions == 4)) || fail "the Motif functions are not moving alone: $motif"
((decorations == (2 | 8))) || fail "the Motif decorations are not a title bar and a border: $motif"
echo "ok: Motif hints $motif"

sizes=$(xprop -id "$window" WM_NORMAL_HINTS)
grep -q "minimum size: 400 by 120" <<<"$sizes" && grep -q "maximum size: 400 by 120" <<<"$sizes" ||
    fail "the size is not fixed at 400 by 120: $sizes"
xprop -id "$window" _NET_WM_NAME | grep -qF '"Updating the Malware Database..."' || fail "the title is wrong"

allowed=$(xprop -id "$window" _NET_WM_ALLOWED_ACTIONS)
for action in RESIZE MAXIMIZE_HORZ MAXIMIZE_VERT FULLSCREEN; do
    grep -q "_NET_WM_ACTION_$action\b" <<<"$allowed" && fail "openbox allows $action: $allowed"
done
echo "ok: openbox allows neither resizing, maximising nor full screen"

# openbox offers closing and minimising whatever the hints say. A close request is ignored, and a minimised
# window comes back; the window's state is followed as the window manager records it.
xprop -spy -id "$window" WM_STATE >"$work/wm_state" 2>&1 &
extra_pids+=($!)
wait_until 100 grep -q "window state: Normal" "$work/wm_state" || fail "no WM_STATE on the update window"
wmctrl -i -c "$window" || fail "wmctrl could not ask to close the window"
xdotool windowminimize "$window" || fail "xdotool could not minimise the window"
# xprop reads the state afresh on each change, so a quick return may show as Normal twice: it has come back
# when the state changed twice after the first report and ends as Normal.
came_back() {
    local states
    states=$(grep "window state:" "$work/wm_state")
    [ "$(wc -l <<<"$states")" -ge 3 ] && tail -n1 <<<"$states" | grep -q Normal
}
wait_until 300 came_back || fail "the minimised update window did not come back: $(cat "$work/wm_state")"
find_update_window || fail "the update window is gone"
echo "ok: the update window stays after a close request and comes back from minimised"
kill -0 "$app_pid" 2>/dev/null || fail "corvane ended during the test"
