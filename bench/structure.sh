#!/usr/bin/env bash
# Times `leafsmith-build --structure` on generated projects of 20,000 and 40,000 topics.
# Usage: bench/structure.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for topics in 20000 40000; do
    "$build/bin/leafsmith-corpus" "$topics" "$work/c$topics" >/dev/null
    size=$(du -sb "$work/c$topics/text" | cut -f1)
    echo "== $topics topics, $((size / 1024)) KiB of text"
    if command -v hyperfine >/dev/null; then
        hyperfine --warmup 1 --runs 10 --style basic \
            "$build/bin/leafsmith-build --structure $work/c$topics/corpus.lfx >/dev/null"
    else
        for run in 1 2 3; do
            /usr/bin/time -f "%e s, %M KiB peak" "$build/bin/leafsmith-build" --structure "$work/c$topics/corpus.lfx" >/dev/null
        done
    fi
done
