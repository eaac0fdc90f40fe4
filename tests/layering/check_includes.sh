#!/usr/bin/env bash
# Fails when a source file includes a folder that stands above its own, or when Qt is included outside the Qt
# backend. The layers, top to bottom: app, inputs, engine, malwaredb, program, platform; each folder may include
# itself and any folder below it. src/main.cpp stands above them all.
set -uo pipefail
src=${1:-$(cd "$(dirname "$0")/../../src" && pwd)}
layers=(app inputs engine malwaredb program platform)

rank() {
    local i
    for i in "${!layers[@]}"; do
        [ "${layers[$i]}" = "$1" ] && { echo "$i"; return; }
    done
    echo -1
}

status=0
while IFS= read -r file; do
    relative=${file#"$src"/}
    own=${relative%%/*}
    [ "$own" = "$relative" ] && continue  # src/main.cpp may include anything
    own_rank=$(rank "$own")
    while IFS= read -r line; do
        included=$(sed -E 's/^#include "([^/"]+)\/.*/\1/' <<<"$line")
        included_rank=$(rank "$included")
        [ "$included_rank" -lt 0 ] && continue
        if [ "$own_rank" -lt 0 ] || [ "$included_rank" -lt "$own_rank" ]; then
            echo "$relative includes $included/, which stands above $own/: ${line}"
            status=1
        fi
    done < <(grep -E '^#include "[^/"]+/' "$file")
    if [[ $relative != platform/qt/* ]] && grep -qE '^#include <Q' "$file"; then
        echo "$relative includes Qt, which only platform/qt/ may"
        status=1
    fi
done < <(find "$src" -type f \( -name '*.cpp' -o -name '*.h' \) | sort)

[ "$status" -eq 0 ] && echo "Every include runs downwards."
exit "$status"
