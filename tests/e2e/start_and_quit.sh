#!/usr/bin/env bash
# Starts the real program on a private Xvfb display three times: the first run ends with Ctrl+Q, the second
# with SIGTERM; both must show the main window and end with exit status 0. The third finds FIFOs in place
# of the preferences and exclusions files, which must not hold up its start.
# Usage: start_and_quit.sh path/to/corvane
program=$(realpath "$1")
source "$(dirname "$0")/session.sh"
require_tools Xvfb xdotool python3
start_session

# Waits up to 30 s for the program to end and checks its exit status.
expect_exit_0() {
    wait_for_program_end 300 || fail "corvane still running 30 s after $1"
    status=$app_status
    app_pid=""
    [ "$status" -eq 0 ] || fail "exit status $status after $1"
    echo "ok: $1 ends corvane with status 0"
}

start_program
xdotool windowfocus --sync "$main" 2>/dev/null || true
xdotool key --clearmodifiers ctrl+q
expect_exit_0 "Ctrl+Q"

start_program
kill -TERM "$app_pid"
expect_exit_0 "SIGTERM"

preferences="$HOME/Library/Preferences"
mkdir -p "$preferences"
rm -f "$preferences/com.veltrane.Corvane.plist" "$preferences/Corvane_ExclusionsConfig.txt"
mkfifo "$preferences/com.veltrane.Corvane.plist" "$preferences/Corvane_ExclusionsConfig.txt" ||
    fail "could not make the FIFOs"
start_program
kill -TERM "$app_pid"
expect_exit_0 "SIGTERM after a start with FIFOs for the settings files"
