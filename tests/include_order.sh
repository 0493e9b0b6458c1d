#!/usr/bin/env bash
# The library's folders form a chain; an include never runs back up it.
set -euo pipefail
cd "$(dirname "$0")/../src"
chain=(core text templates chm helpproject output build)
status=0
for ((i = 0; i < ${#chain[@]}; i++)); do
    [ -d "${chain[i]}" ] || continue
    for ((j = i + 1; j < ${#chain[@]}; j++)); do
        if grep -n "#include \"${chain[j]}/" "${chain[i]}"/* 2>/dev/null; then
            echo "^ ${chain[i]} includes ${chain[j]}, which builds on it"
            status=1
        fi
    done
    if grep -n "#include <Q" "${chain[i]}"/* 2>/dev/null; then
        echo "^ ${chain[i]} includes Qt"
        status=1
    fi
done
exit $status
