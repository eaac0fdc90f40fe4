#!/usr/bin/env bash
# Fails when a layer's library calls into a library that stands above it. The arguments are the static
# libraries from the top down; "--" starts another such chain. Within a chain, a library may use any symbol
# that a library after it defines, never one that a library before it defines (and does not define itself).
# A static library does not refuse such a use on its own: an object that calls upwards still links when the
# program happens to pull in the object it calls.
set -uo pipefail
export LC_ALL=C  # one collation for sort, comm and join

defined() {  # library
    nm --defined-only --format=posix "$1" 2>/dev/null | awk 'NF >= 2 && $2 ~ /^[A-TV-Zuvw]$/ { print $1 }' | sort -u
}

undefined() {  # library: "symbol object" for each call out of one of its objects
    nm --undefined-only --format=posix --print-file-name "$1" 2>/dev/null |
        sed -E 's/^[^[]*\[([^]]*)\]: ([^ ]+) .*/\2 \1/' | sort -u
}

status=0
check_chain() {  # libraries, top down
    local libraries=("$@") i j symbol object
    for ((i = 1; i < ${#libraries[@]}; i++)); do
        local lower=${libraries[$i]}
        local own
        own=$(defined "$lower")
        for ((j = 0; j < i; j++)); do
            local upper=${libraries[$j]}
            while read -r symbol object; do
                [ -z "$symbol" ] && continue
                echo "$(basename "$lower") ($object) uses $(c++filt "$symbol"), which $(basename "$upper") defines above it"
                status=1
            done < <(join <(undefined "$lower") <(comm -23 <(defined "$upper") <(printf '%s\n' "$own")))
        done
    done
}

chain=()
for argument in "$@"; do
    if [ "$argument" = "--" ]; then
        check_chain "${chain[@]}"
        chain=()
    else
        chain+=("$argument")
    fi
done
[ ${#chain[@]} -gt 0 ] && check_chain "${chain[@]}"

[ "$status" -eq 0 ] && echo "Every library links downwards."
exit "$status"
