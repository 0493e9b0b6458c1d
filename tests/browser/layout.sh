#!/usr/bin/env bash
# Builds the first example in every format with each shipped template group (the CHM left
# uncompiled) and checks in Chromium that every page fits a phone's width and that all its text
# is readable against its background, in light and dark colour schemes.
# Usage: tests/browser/layout.sh BIN_DIR [NAME=FOLDER ...]  (each FOLDER: more pages, all *.htm under it)
# LAYOUT_GROUPS="Classic Dark" checks only those groups; LAYOUT_TEMPLATES=DIR takes the groups from
# DIR (data/Templates of the source tree, say) instead of BIN_DIR/Templates.
set -euo pipefail
bin=$(cd "$1" && pwd)
shift
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sets=()
templates=${LAYOUT_TEMPLATES:-$bin/Templates}
for group in ${LAYOUT_GROUPS:-Classic Modern Dark Compact Print}; do
    out="$work/$group"
    sed -e "s#{SetupDir}/Templates/Classic#$templates/$group#g" -e 's/^CompileChm=1/CompileChm=0/' \
        "$bin/Examples/Example1.lfx" > "$out.lfx"
    "$bin/leafsmith-build" --yes --no-pause --setup-dir "$bin" --out "$out" "$out.lfx" > /dev/null
    sets+=("$group:chm=$out/CHM/html" "$group:web=$out/WEB/html" "$group:ebook=$out/eBook/html"
        "$group:faq=$out/FAQ/html" "$group:single=$out/SingleHTML")
done

if [ ! -d "$here/node_modules/playwright-core" ]; then
    npm ci --prefix "$here" --no-audit --no-fund > /dev/null
fi
node "$here/layout_test.mjs" "${sets[@]}" "$@"
