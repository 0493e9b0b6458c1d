#!/usr/bin/env bash
# Photographs the website, e-book, FAQ and single page of the first example in two template
# groups, for a look at how they render. Usage: scripts/screenshots.sh [GROUP ...]
# (default: Classic Dark). Pictures go to out/screenshots/.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/scripts/shoot.sh"
groups=("$@")
[ ${#groups[@]} -eq 0 ] && groups=(Classic Dark)
target="$ROOT/out/screenshots"
mkdir -p "$target"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for group in "${groups[@]}"; do
    build_with_group "$ROOT/data" "$ROOT/data/Templates/$group" "$work/$group"
    page=$("$ROOT/build/bin/leafsmith-build" --setup-dir "$ROOT/data" --structure "$ROOT/data/Examples/Example1.lfx" |
        awk -F'\t' '$5 ~ /P/ && $2 == 2 { print $4; exit }')
    shoot "file://$work/$group/WEB/html/$page" "$target/$group-website.png"
    shoot "file://$work/$group/eBook/html/$page" "$target/$group-ebook.png"
    shoot "file://$work/$group/FAQ/html/faq.htm" "$target/$group-faq.png"
    shoot "file://$(ls "$work/$group"/SingleHTML/*.htm | head -1)" "$target/$group-single.png"
    echo "$group: $target/$group-{website,ebook,faq,single}.png"
done
