#!/usr/bin/env bash
# Photographs a topic page of the first example in every format (CHM page, website, e-book, FAQ,
# single page) with each template group, at 1280×900 and 390×844, from the groups in data/.
# Usage: scripts/screenshots.sh [GROUP ...]  (default: all five). Pictures go to
# out/screenshots/GROUP-FORMAT-WIDTH.png.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/scripts/shoot.sh"
groups=("$@")
[ ${#groups[@]} -eq 0 ] && groups=(Classic Modern Dark Compact Print)
target="$ROOT/out/screenshots"
mkdir -p "$target"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
builds=()
for group in "${groups[@]}"; do
    build_with_group "$ROOT/data" "$ROOT/data/Templates/$group" "$work/$group"
    builds+=("$group=$work/$group")
done
# A level-2 page with a code block or a table, and a note box too where one has both.
page=
for file in $("$ROOT/build/bin/leafsmith-build" --setup-dir "$ROOT/data" --structure "$ROOT/data/Examples/Example1.lfx" |
    awk -F'\t' '$5 ~ /P/ && $2 == 2 { print $4 }'); do
    html="$work/${groups[0]}/CHM/html/$file"
    grep -qi '<pre\|<table' "$html" || continue
    [ -z "$page" ] && page=$file
    if grep -q 'class="reminder' "$html"; then page=$file; break; fi
done
browser="$ROOT/tests/browser"
[ -d "$browser/node_modules/playwright-core" ] || npm ci --prefix "$browser" --no-audit --no-fund > /dev/null
node "$browser/screenshots.mjs" "$target" "$page" "${builds[@]}"
echo "$page in ${groups[*]}: $target/{GROUP}-{chm,website,ebook,faq,single}-{1280,390}.png"
