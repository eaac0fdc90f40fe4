# Shared by the end-to-end scripts (sourced, not run): a private Xvfb display, a loopback stand-in for the
# hash export, a fresh home folder, and the real program started on them.
# The sourcing script sets `program`, may set `export_mode` (a mode of export_server.py, "ok" by default) and
# may add to `extra_pids` (killed on exit).
set -uo pipefail

work=$(mktemp -d /tmp/corvane-e2e-XXXXXX)
support=$(cd "$(dirname "${BASH_SOURCE[0]}")/../support" && pwd)
xvfb_pid=""
app_pid=""
server_pid=""
extra_pids=()

cleanup() {
    [ -n "$app_pid" ] && kill -KILL "$app_pid" 2>/dev/null
    for pid in "${extra_pids[@]}"; do kill "$pid" 2>/dev/null; done
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
    # Clients such as xclip serve until the display goes away.
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    for log in "$work"/*.log; do
        [ -f "$log" ] && sed "s/^/  $(basename "$log" .log): /" "$log" >&2
    done
    exit 1
}

require_tools() {
    for tool in "$@"; do
        command -v "$tool" >/dev/null || fail "$tool is missing (scripts/setup --test installs it)"
    done
}

# Waits up to $1 tenths of a second for the file $2 to have content.
wait_for_file() {
    for _ in $(seq "$1"); do
        [ -s "$2" ] && return 0
        sleep 0.1
    done
    return 1
}

# Waits up to $1 tenths of a second for the program to end; then, if it has, sets app_status to its exit
# status and returns 0.
wait_for_program_end() {
    for _ in $(seq "$1"); do
        kill -0 "$app_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$app_pid" 2>/dev/null && return 1
    wait "$app_pid"
    app_status=$?
    return 0
}

# The export server on a free loopback port, with the given arguments, and the program pointed at it.
start_export_server() {
    rm -f "$work/port"
    python3 "$support/export_server.py" --port 0 --lifetime 300 "$@" >"$work/port" 2>/dev/null &
    server_pid=$!
    wait_for_file 300 "$work/port" || fail "the export server did not start"
    local port
    port=$(head -n1 "$work/port")
    export CORVANE_EXPORT_URL="http://127.0.0.1:$port/export/txt/sha256/full/"
    export CORVANE_PROBE_HOST="127.0.0.1:$port"
}

# A display of our own (Xvfb picks a free number and writes it to the descriptor given), the export server
# on a free loopback port, and HOME in the work folder.
start_session() {
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.out" &
    xvfb_pid=$!
    wait_for_file 100 "$work/display" || fail "Xvfb did not start"
    export DISPLAY=":$(head -n1 "$work/display")"

    start_export_server --mode "${export_mode:-ok}"

    export HOME="$work/home"
    export XDG_RUNTIME_DIR="$work/runtime"
    mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    unset WAYLAND_DISPLAY QT_QPA_PLATFORM
}

# Runs until $1 tenths of a second have passed or the command after it succeeds; fails when it never does.
wait_until() {
    local tenths=$1
    shift
    for _ in $(seq "$tenths"); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# Starts the openbox window manager on the display and waits until it has taken charge of the screen.
start_window_manager() {
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    extra_pids+=($!)
    wait_until 100 window_manager_running || fail "openbox did not start"
}

window_manager_running() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"
}

# Starts the program and sets `main` to its main window (the title begins with the name and version;
# neither the update window's nor Qt's hidden helper windows' do).
start_program() {
    "$program" >"$work/app.log" 2>&1 &
    app_pid=$!
    main=""
    for _ in $(seq 600); do
        kill -0 "$app_pid" 2>/dev/null || fail "corvane ended before its window appeared"
        main=$(xdotool search --onlyvisible --name "^Corvane v" 2>/dev/null | head -n1)
        [ -n "$main" ] && break
        sleep 0.1
    done
    [ -n "$main" ] || fail "no main window within 60 s"
    # The clipboard watcher took its starting count before the window was shown; what reaches the window
    # from now on waits in the X connection until the event loop runs.
}

# The first rows of the list, as the main window shows them (its top lies 130 points below the content's
# top, below a menu bar and the column titles): a checksum of the pixels, to see the list change.
rows_picture() {
    import -window "$main" -crop 600x90+0+170 +repage rgb:- 2>/dev/null | md5sum | cut -d' ' -f1
}

# Waits up to 60 s for the first rows to show something else than the picture $1.
wait_for_rows_change() {
    for _ in $(seq 300); do
        [ "$(rows_picture)" != "$1" ] && return 0
        sleep 0.2
    done
    return 1
}

# Left-clicks the first rows, which copies a row's checksum, until the clipboard holds one of the lines of
# $1; up to 30 s. Prints what the clipboard held last.
click_rows_until_copied() {
    local copied=""
    for _ in $(seq 60); do
        for y in 200 220 180; do
            xdotool mousemove --window "$main" 200 "$y" click 1
            copied=$(xclip -o -selection clipboard 2>/dev/null | tr -d '\0')
            if grep -qxF -- "$copied" <<<"$1"; then
                printf '%s' "$copied"
                return 0
            fi
        done
        sleep 0.5
    done
    printf '%s' "$copied"
    return 1
}
