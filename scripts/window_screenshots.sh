#!/usr/bin/env bash
# Photographs the desktop program on a virtual X display: each page with the first example loaded,
# the structure preview, the about box and a build, at 100% and at 200% scaling. Pictures go to
# out/screenshots/window/100 and .../200. Needs Debian's xvfb and a build of the tests.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
bin="$ROOT/build/bin"
work=$(mktemp -d)
trap 'kill "${server:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
cp "$bin/Examples/Example1.lfx" "$work/Example1.lfx"
for scale in 100 200; do
    display=:$((70 + scale / 100))
    size=$((1280 * scale / 100))x$((900 * scale / 100))x24
    Xvfb "$display" -screen 0 "$size" -nolisten tcp >/dev/null 2>&1 &
    server=$!
    sleep 1
    target="$ROOT/out/screenshots/window/$scale"
    rm -rf "$target"
    DISPLAY=$display QT_SCALE_FACTOR=$((scale / 100)) XDG_RUNTIME_DIR="$work/runtime" \
        "$bin/window_tour" "$work/Example1.lfx" "$target"
    kill "$server"
    wait "$server" 2>/dev/null || true
done
