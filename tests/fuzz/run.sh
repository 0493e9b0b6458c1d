#!/usr/bin/env bash
# Runs every fuzz target for a number of seconds each, starting from the saved inputs.
# Usage: tests/fuzz/run.sh BUILD_DIR [SECONDS]
set -euo pipefail
build=${1:?build folder of a -DLEAFSMITH_FUZZ=ON configuration}
seconds=${2:-120}
here=$(cd "$(dirname "$0")" && pwd)
for target in ${TARGETS:-ini splitter convert build lzx help_compile}; do
    work=$(mktemp -d)
    echo "== fuzz_$target for ${seconds}s"
    "$build/bin/fuzz_$target" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
        -artifact_prefix="$work/" "$work" "$here/corpus/$target" || {
        echo "fuzz_$target found a fault; inputs in $work"; exit 1; }
    rm -rf "$work"
done
