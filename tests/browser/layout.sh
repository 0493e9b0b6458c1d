#!/usr/bin/env bash
# Builds the first example in every format with each shipped template group (the CHM left
# uncompiled) and checks in Chromium that every page fits a phone's width and that all its text
# is readable against its background, in light and dark colour schemes.
# Usage: tests/browser/layout.sh BIN_DIR [NAME=FOLDER ...]  (each FOLDER: more pages, all *.htm under it)
set -euo pipefail
bin=$(cd "$1" && pwd)
shift
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sets=()
for group in Classic Modern Dark Compact Print; do
    out="$work/$group"
    sed -e "s#{SetupDir}/Templates/Classic#$bin/Templates/$group#g" -e 's/^CompileChm=1/CompileChm=0/' \
        "$bin/Examples/Example1.lfx" > "$out.lfx"
    "$bin/leafsmith-build" --yes --no-pause --setup-dir "$bin" --out "$out" "$out.lfx" > /dev/null
    sets+=("$group:chm=$out/CHM/html" "$group:web=$out/WEB/html" "$group:ebook=$out/eBook/html"
        "$group:faq=$out/FAQ/html" "$group:single=$out/SingleHTML")
done

if [ ! -d "$here/node_modules/playwright-core" ]; then
    npm ci --prefix "$here" --no-audit --no-fund > /dev/null
fi
node "$here/layout_test.mjs" "${sets[@]}" "$@"
