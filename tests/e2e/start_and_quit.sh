#!/usr/bin/env bash
# Starts the real program on a private Xvfb display twice: the first run ends with Ctrl+Q, the second with
# SIGTERM; both must show the main window and end with exit status 0.
# Usage: start_and_quit.sh path/to/corvane
set -uo pipefail

program=$(realpath "$1")
work=$(mktemp -d /tmp/corvane-e2e-XXXXXX)
xvfb_pid=""
app_pid=""
server_pid=""

cleanup() {
    [ -n "$app_pid" ] && kill -KILL "$app_pid" 2>/dev/null
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [ -f "$work/app.log" ] && sed 's/^/  corvane: /' "$work/app.log" >&2
    exit 1
}

for tool in Xvfb xdotool python3; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/setup --test installs it)"
done

# A display of our own: Xvfb picks a free number and writes it to the descriptor given.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"

# A loopback stand-in for the hash export, so that a first start never needs the Internet.
cat >"$work/server.py" <<'PY'
import http.server, io, sys, zipfile
payload = io.BytesIO()
with zipfile.ZipFile(payload, "w") as archive:
    archive.writestr("full_sha256.txt", "# test export\n" + "0" * 64 + "\n")
body = payload.getvalue()
class Handler(http.server.BaseHTTPRequestHandler):
    def headers_out(self):
        self.send_response(200)
        self.send_header("Last-Modified", "Wed, 09 Dec 2026 00:00:00 GMT")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
    def do_HEAD(self):
        self.headers_out()
    def do_GET(self):
        self.headers_out()
        self.wfile.write(body)
    def log_message(self, *args):
        pass
server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
print(server.server_port, flush=True)
server.serve_forever()
PY
python3 "$work/server.py" >"$work/port" &
server_pid=$!
for _ in $(seq 50); do
    [ -s "$work/port" ] && break
    sleep 0.1
done
port=$(head -n1 "$work/port")
export CORVANE_EXPORT_URL="http://127.0.0.1:$port/export/txt/sha256/full/"
export CORVANE_PROBE_HOST="127.0.0.1:$port"

export HOME="$work/home"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM

start_program() {
    "$program" >"$work/app.log" 2>&1 &
    app_pid=$!
    window=""
    for _ in $(seq 600); do
        kill -0 "$app_pid" 2>/dev/null || fail "corvane ended before its window appeared"
        window=$(xdotool search --name "Corvane" 2>/dev/null | head -n1)
        [ -n "$window" ] && return 0
        sleep 0.1
    done
    fail "no window named Corvane within 60 s"
}

# Waits up to 30 s for the program to end and checks its exit status.
expect_exit_0() {
    for _ in $(seq 300); do
        kill -0 "$app_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$app_pid" 2>/dev/null && fail "corvane still running 30 s after $1"
    wait "$app_pid"
    status=$?
    app_pid=""
    [ "$status" -eq 0 ] || fail "exit status $status after $1"
    echo "ok: $1 ends corvane with status 0"
}

start_program
sleep 1  # let the event loop start
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key --clearmodifiers ctrl+q
expect_exit_0 "Ctrl+Q"

start_program
sleep 1
kill -TERM "$app_pid"
expect_exit_0 "SIGTERM"
