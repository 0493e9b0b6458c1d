#!/usr/bin/env bash
# Builds the first example project twice (as it is, and with auto-collapse, lines and a tree from
# the root), then its website and e-book with a group that holds the tree in every page and with
# each of the other shipped groups, and drives them in Chromium from the disk and from a local web
# server.
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
# A group like the users' own: the library and the tree calls in every website page.
cp -r "$bin/Templates/Classic" "$work/inline-group"
sed -i -e 's#<link rel="stylesheet" href="classic.css">#&\n($WEBSITEJS$)#' \
    -e 's#<script type="text/javascript" src="tree.js"></script>#<script type="text/javascript">\n($NAVIGATION$)\n</script>#' \
    "$work/inline-group/web_page.htm"
sed -e "s#{SetupDir}/Templates/Classic#$work/inline-group#" -e 's/^cbChm=1/cbChm=0/' "$project" > "$work/inline.lfx"
"$bin/leafsmith-build" --yes --no-pause --out "$work/inline" "$work/inline.lfx" > /dev/null
groups=("inline=$work/inline")
for group in Modern Dark Compact Print; do
    sed -e "s#/Templates/Classic#/Templates/$group#" -e 's/^cbChm=1/cbChm=0/' -e 's/^cbFAQ=1/cbFAQ=0/' \
        -e 's/^cbSingleHTML=1/cbSingleHTML=0/' "$project" > "$work/$group.lfx"
    "$bin/leafsmith-build" --yes --no-pause --out "$work/$group" "$work/$group.lfx" > /dev/null
    groups+=("$group=$work/$group")
done

if ! node -e 'process.exit(parseInt(process.versions.node) >= 20 ? 0 : 1)' 2>/dev/null; then
    echo "The browser test needs Node.js 20 or later (node --version: $(node --version 2>&1))." >&2
    exit 1
fi
if [ ! -d "$here/node_modules/playwright-core" ]; then
    npm ci --prefix "$here" --no-audit --no-fund > /dev/null
fi
node "$here/tree_test.mjs" "$work/structure.txt" "$work/plain" "$work/auto" "${groups[@]}"
