#!/usr/bin/env bash
# Started without a display, the real program says so in one line and ends with exit status 1 (Qt on its
# own aborts with several lines). Once with no display named, once with a display nobody serves.
# Usage: no_display.sh path/to/corvane
set -uo pipefail
program=$(realpath "$1")
work=$(mktemp -d /tmp/corvane-e2e-XXXXXX)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM

status=0
check() {  # $1: what; the rest: the environment change
    local what=$1
    shift
    env "$@" "$program" >"$work/out" 2>"$work/err" </dev/null
    local code=$?
    local lines
    lines=$(wc -l <"$work/err")
    if [ "$code" -ne 1 ] || [ "$lines" -ne 1 ] || ! grep -q '^Corvane needs a graphical display' "$work/err"; then
        echo "FAIL: $what: exit status $code, standard error:" >&2
        sed 's/^/  /' "$work/err" >&2
        status=1
    else
        echo "ok: $what: $(cat "$work/err")"
    fi
}

check "no DISPLAY" -u DISPLAY
# A display number far beyond any server's, so that no socket answers.
check "a display nobody serves" DISPLAY=:65001
exit $status
