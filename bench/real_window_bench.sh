#!/usr/bin/env bash
# Runs the real program in a real (Xvfb) window on folders of small files and times each run from the worker
# thread's life in /proc: time per file beyond the 2 ms pause, main-thread CPU per file, and the resident
# memory after Clear Files (see real_window_runs.py). One program serves every run, so memory that stays
# behind from one run shows in the next.
# Usage: bench/real_window_bench.sh [-r RUNS] [path/to/corvane] [FILES...]
#   defaults: 3 runs, build/corvane, folders of 3000 and 20000 files of 1 KiB
runs=3
if [ "${1:-}" = "-r" ]; then
    runs=$2
    shift 2
fi
bench=$(cd "$(dirname "$0")" && pwd)
program=$(realpath "${1:-$bench/../build/corvane}")
shift || true
counts=("$@")
[ ${#counts[@]} -gt 0 ] || counts=(3000 20000)

source "$bench/../tests/e2e/session.sh"
require_tools Xvfb xdotool xclip python3
start_session

folders=()
for count in "${counts[@]}"; do
    folder="$work/files-$count"
    mkdir -p "$folder"
    python3 - "$folder" "$count" <<'EOF'
import os, sys
folder, count = sys.argv[1], int(sys.argv[2])
for i in range(count):
    with open(os.path.join(folder, f"file{i:06d}.bin"), "wb") as f:
        f.write(i.to_bytes(4, "little") + os.urandom(1020))
EOF
    folders+=("$folder")
done

echo "program: $program"
echo "machine: $(nproc) cores; $(uptime)"
start_program
python3 "$bench/real_window_runs.py" --pid "$app_pid" --window "$main" --runs "$runs" "${folders[@]}" ||
    fail "the benchmark stopped"
kill -0 "$app_pid" 2>/dev/null || fail "corvane ended during the benchmark"
echo "after: $(uptime)"
