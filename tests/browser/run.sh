#!/usr/bin/env bash
# Builds the first example project twice (as it is, and with auto-collapse, lines and a tree from
# the root) and drives the website and e-book in Chromium.
# Usage: tests/browser/run.sh BIN_DIR
set -euo pipefail
bin=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
project="$bin/Examples/Example1.lfx"
"$bin/leafsmith-build" --structure "$project" > "$work/structure.txt"
"$bin/leafsmith-build" --yes --no-pause --out "$work/plain" "$project" > /dev/null
sed -e 's/^AutoCollapse=0/AutoCollapse=1/' -e 's/^DrawLine=0/DrawLine=1/' -e 's/^StartFromRoot=0/StartFromRoot=1/' \
    "$project" > "$work/auto.lfx"
"$bin/leafsmith-build" --yes --no-pause --out "$work/auto" "$work/auto.lfx" > /dev/null
if ! node -e 'process.exit(parseInt(process.versions.node) >= 20 ? 0 : 1)' 2>/dev/null; then
    echo "The browser test needs Node.js 20 or later (node --version: $(node --version 2>&1))." >&2
    exit 1
fi
if [ ! -d "$here/node_modules/playwright-core" ]; then
    npm ci --prefix "$here" --no-audit --no-fund > /dev/null
fi
node "$here/tree_test.mjs" "$work/structure.txt" "$work/plain" "$work/auto"
