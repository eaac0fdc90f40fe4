#!/usr/bin/env bash
# Whole-process times of hash_file (ComputeChecksum) against `openssl dgst` on one file, interleaved round by
# round so that the machine's other load falls on both alike; prints the median of each and their ratio.
#
#   bench/compare_hash_speed.sh [-n ROUNDS] [-c] FILE HASH_FILE [HASH_FILE...]
#
# -c drops the page cache before every single run (as root): cold-cache times, with `cat FILE >/dev/null`
# as a further contender. Without -c the file is read (untimed) before every run so that it sits in the
# page cache. More than one HASH_FILE (say, the program before and after a change) are timed in the same
# rounds. ALGORITHMS="SHA256 CRC32" limits the algorithms.
set -euo pipefail
rounds=5
cold=0
while getopts "n:c" opt; do
    case $opt in
        n) rounds=$OPTARG ;;
        c) cold=1 ;;
        *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
file=$1
shift
programs=("$@")
algorithms=${ALGORITHMS:-"MD5 SHA1 SHA256 SHA512 CRC32"}

seconds() {  # runs the command, prints its wall time in seconds
    # Cold: nothing cached. Warm: all of it, also when another program on the machine dropped the cache.
    if [ "$cold" = 1 ]; then
        sync
        echo 1 >/proc/sys/vm/drop_caches
    else
        cat "$file" >/dev/null
    fi
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    awk -v s="$start" -v e="$end" 'BEGIN { printf "%.4f\n", (e - s) / 1e9 }'
}

median() {
    sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

results=$(mktemp)
trap 'rm -f "$results"' EXIT
for ((r = 1; r <= rounds; ++r)); do
    for alg in $algorithms; do
        for i in "${!programs[@]}"; do
            echo "$alg prog$i $(seconds "${programs[$i]}" "$alg" "$file")" >>"$results"
        done
        lower=$(echo "$alg" | tr 'A-Z' 'a-z')
        [ "$alg" = CRC32 ] || echo "$alg openssl $(seconds openssl dgst "-$lower" "$file")" >>"$results"
        [ "$cold" = 1 ] && echo "$alg cat $(seconds cat "$file")" >>"$results"
    done
done

bytes=$(stat -L -c %s "$file")
printf "%-7s %-28s %9s %10s %7s\n" algorithm program median_s vs_openssl GB/s
for alg in $algorithms; do
    ref=$(awk -v a="$alg" '$1 == a && $2 == "openssl" { print $3 }' "$results" | median)
    for who in $(for i in "${!programs[@]}"; do echo "prog$i"; done) openssl cat; do
        times=$(awk -v a="$alg" -v w="$who" '$1 == a && $2 == w { print $3 }' "$results")
        [ -n "$times" ] || continue
        m=$(echo "$times" | median)
        name=$who
        [[ $who == prog* ]] && name=${programs[${who#prog}]}
        ratio="-"
        if [ -n "$ref" ] && [ "$ref" != 0 ]; then
            ratio=$(awk -v m="$m" -v r="$ref" 'BEGIN { printf "%.3f", m / r }')
        fi
        rate=$(awk -v b="$bytes" -v m="$m" 'BEGIN { printf "%.2f", b / m / 1e9 }')
        printf "%-7s %-28s %9s %10s %7s\n" "$alg" "$name" "$m" "$ratio" "$rate"
    done
done
