#!/usr/bin/env bash
# Starts the real program on a private Xvfb display, then lets another X client (xev) hold the keyboard focus
# while xclip copies a folder path to the clipboard. Within three seconds the program must have run on the
# folder's files, and the focused client must have received no key press from it.
# The run is seen from outside through the list: a left click on a row copies that row's checksum, which
# xclip reads back and compares with md5sum (MD5 is the algorithm of a first start).
# Usage: clipboard_watcher.sh path/to/corvane
set -uo pipefail

program=$(realpath "$1")
support=$(cd "$(dirname "$0")/../support" && pwd)
work=$(mktemp -d /tmp/corvane-e2e-XXXXXX)
xvfb_pid=""
app_pid=""
server_pid=""
xev_pid=""

cleanup() {
    [ -n "$app_pid" ] && kill -KILL "$app_pid" 2>/dev/null
    [ -n "$xev_pid" ] && kill "$xev_pid" 2>/dev/null
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
    # xclip serves the clipboard in the background until the display goes away.
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [ -f "$work/app.log" ] && sed 's/^/  corvane: /' "$work/app.log" >&2
    [ -f "$work/xev.log" ] && sed 's/^/  xev: /' "$work/xev.log" >&2
    exit 1
}

for tool in Xvfb xdotool xclip xev md5sum python3; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/setup --test installs it)"
done

# Waits up to $1 tenths of a second for the file $2 to have content.
wait_for_file() {
    for _ in $(seq "$1"); do
        [ -s "$2" ] && return 0
        sleep 0.1
    done
    return 1
}

# A display of our own: Xvfb picks a free number and writes it to the descriptor given.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
wait_for_file 100 "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"

# A loopback stand-in for the hash export, so that the first start never needs the Internet.
python3 "$support/export_server.py" --port 0 --lifetime 300 >"$work/port" 2>/dev/null &
server_pid=$!
wait_for_file 100 "$work/port" || fail "the export server did not start"
port=$(head -n1 "$work/port")
export CORVANE_EXPORT_URL="http://127.0.0.1:$port/export/txt/sha256/full/"
export CORVANE_PROBE_HOST="127.0.0.1:$port"

export HOME="$work/home"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM

# The folder to copy, with a few small files of different content.
folder="$work/Copied Folder"
mkdir -p "$folder"
for i in 1 2 3 4 5 6; do echo "file number $i" >"$folder/file$i.txt"; done
sums=$(md5sum "$folder"/*.txt | cut -d' ' -f1)

"$program" >"$work/app.log" 2>&1 &
app_pid=$!
main=""
for _ in $(seq 600); do
    kill -0 "$app_pid" 2>/dev/null || fail "corvane ended before its window appeared"
    # The main window's title begins with the name and version; the update window's does not.
    main=$(xdotool search --onlyvisible --name "^Corvane v" 2>/dev/null | head -n1)
    [ -n "$main" ] && break
    sleep 0.1
done
[ -n "$main" ] || fail "no main window within 60 s"
sleep 1  # let the event loop start and take the clipboard's state

# Another client in front: xev logs every key event its window receives.
xev -name corvane-e2e-other -event keyboard >"$work/xev.log" 2>&1 &
xev_pid=$!
other=""
for _ in $(seq 100); do
    other=$(xdotool search --onlyvisible --name "^corvane-e2e-other$" 2>/dev/null | head -n1)
    [ -n "$other" ] && break
    sleep 0.1
done
[ -n "$other" ] || fail "the xev window did not appear"
xdotool windowfocus --sync "$other" || fail "could not focus the xev window"

printf '%s' "$folder" | xclip -selection clipboard >/dev/null 2>&1 || fail "xclip could not copy"
sleep 3

grep -qE "^Key(Press|Release) " "$work/xev.log" && fail "the focused client received a key event"
[ "$(xdotool getwindowfocus)" = "$other" ] || fail "the focus left the xev window"
echo "ok: the focused client received no key press"

# Click rows of the list (its top lies 130 points below the content's top, below a menu bar and the column
# titles) until one copies a checksum.
copied=""
for y in 200 220 180 240; do
    xdotool mousemove --window "$main" 200 "$y" click 1
    for _ in $(seq 20); do
        copied=$(xclip -o -selection clipboard 2>/dev/null)
        [ "$copied" != "$folder" ] && break
        sleep 0.1
    done
    grep -qxF -- "$copied" <<<"$sums" && break
done
grep -qxF -- "$copied" <<<"$sums" ||
    fail "no row of the copied folder's files within three seconds (the clipboard holds \"$copied\")"
echo "ok: the copied folder was run within three seconds"

# The check above means something only if xev does log key presses it receives.
xdotool windowfocus --sync "$other"
xdotool key x
for _ in $(seq 50); do
    grep -q "^KeyPress" "$work/xev.log" && break
    sleep 0.1
done
grep -q "^KeyPress" "$work/xev.log" || fail "xev logs no key presses, so their absence proves nothing"
kill -0 "$app_pid" 2>/dev/null || fail "corvane ended during the test"
