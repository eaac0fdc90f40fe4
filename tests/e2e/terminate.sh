#!/usr/bin/env bash
# SIGTERM and SIGINT end the real program, on a private Xvfb display, with exit status 0 in the states where
# the main thread cannot handle an event: the update window while the download trickles or stalls, curl
# asking for the headers, the import, and a modal alert. Each time the update's files in /tmp/ are gone and
# the database and the settings file are as they were.
# Usage: terminate.sh path/to/corvane
program=$(realpath "$1")
source "$(dirname "$0")/session.sh"
require_tools Xvfb xdotool python3 sqlite3 md5sum
start_session
database="$HOME/.local/share/signatures.db"
preferences="$HOME/Library/Preferences/com.veltrane.Corvane.plist"
mkdir -p "$(dirname "$database")"

# A server of the case's own; its request log tells when a request has arrived.
serve() {
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
    rm -f "$work/requests"
    start_export_server --request-log "$work/requests" "$@"
}

rows() { sqlite3 "$database" 'SELECT COUNT(*) FROM malware_hashes;' 2>/dev/null || echo none; }
settings() { [ -e "$preferences" ] && md5sum <"$preferences" || echo absent; }

# Waits (30 s at most) until the shell condition $1 holds while the program runs.
wait_until() {
    for _ in $(seq 600); do
        kill -0 "$app_pid" 2>/dev/null || fail "corvane ended before: $1"
        eval "$1" && return 0
        sleep 0.05
    done
    fail "not within 30 s: $1"
}

# Starts the program, waits for the state, sends the signal and checks the end. $1 the case, $2 the signal,
# $3 the condition of the state, $4 the rows the database must have after (those it had before otherwise).
terminate_when() {
    local rows_before settings_before
    rows_before=${4:-$(rows)}
    settings_before=$(settings)
    "$program" >"$work/app.log" 2>&1 &
    app_pid=$!
    wait_until "$3"
    kill "-$2" "$app_pid"
    # The hang guard: without the fix the program goes on for minutes.
    wait_for_program_end 200 || fail "$1: corvane still running 20 s after SIG$2"
    local status=$app_status
    local pid=$app_pid
    app_pid=""
    [ "$status" -eq 0 ] || fail "$1: exit status $status after SIG$2"
    for file in /tmp/mb_headers.txt /tmp/download.zip /tmp/full_sha256.txt /tmp/malware_sha256.csv; do
        [ -e "$file" ] && fail "$1: $file is left"
    done
    compgen -G "/tmp/corvane-$pid-*" >/dev/null && fail "$1: a private folder of the program is left"
    [ -e "$database-journal" ] && fail "$1: the database's journal is left"
    [ "$(rows)" = "$rows_before" ] || fail "$1: the database had $rows_before rows, now $(rows)"
    [ "$(settings)" = "$settings_before" ] || fail "$1: the settings file changed"
    echo "ok: $1: SIG$2 ends corvane with status 0 and leaves everything as it was"
}

download_running='grep -q "^GET" "$work/requests" 2>/dev/null && [ -s /tmp/download.zip ]'

serve --mode trickle --hashes 100000
terminate_when "new database, trickling download" TERM "$download_running" 12

serve --mode stall
terminate_when "existing database, stalled download" INT "$download_running"

serve --mode stallhead
terminate_when "curl asking for the headers" TERM 'grep -q "^HEAD" "$work/requests" 2>/dev/null'

# The rollback journal exists only while the import writes into the database.
serve --hashes 1000000
terminate_when "the import" TERM '[ -e "$database-journal" ]'

rm -f "$database"
serve
export CORVANE_PROBE_HOST="127.0.0.1:9"  # nothing listens: the alert about the missing connection
# The new database holds its twelve test entries when the alert shows.
terminate_when "a modal alert" TERM 'xdotool search --onlyvisible --name "^Error!$" >/dev/null 2>&1' 12
