#!/usr/bin/env bash
# Makes the 200 by 160 sample pictures of every template group in data/templates.ini: builds the
# first example with the group, photographs one page per format and shrinks it into a bitmap in
# the group's folder (chm.bmp, website.bmp, ebook.bmp, faq.bmp), which the group's templates.ini
# names as SampleImage. Needs Debian's chromium and python3-pil.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/scripts/shoot.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
shrink() {  # PNG BMP
    /usr/bin/python3 - "$1" "$2" <<'PY'
import sys
from PIL import Image
picture = Image.open(sys.argv[1]).convert("RGB")
picture.thumbnail((200, 160 * 10), Image.LANCZOS)
picture = picture.crop((0, 0, 200, 160))
picture.save(sys.argv[2], "BMP")
PY
}
page=$("$ROOT/build/bin/leafsmith-build" --setup-dir "$ROOT/data" --structure "$ROOT/data/Examples/Example1.lfx" |
    awk -F'\t' '$5 ~ /P/ && $2 == 2 { print $4; exit }')
grep -o 'Position=.*' "$ROOT/data/templates.ini" | sed -e 's/^Position=//' -e 's/\r$//' | while read -r position; do
    folder=${position//\{SetupDir\}/$ROOT/data}
    name=$(basename "$folder")
    build_with_group "$ROOT/data" "$folder" "$work/$name"
    shoot "file://$work/$name/CHM/html/$page" "$work/$name-chm.png" 1000 800
    shoot "file://$work/$name/WEB/html/$page" "$work/$name-website.png" 1000 800
    shoot "file://$work/$name/eBook/html/$page" "$work/$name-ebook.png" 1000 800
    shoot "file://$work/$name/FAQ/html/faq.htm" "$work/$name-faq.png" 1000 800
    for format in chm website ebook faq; do
        shrink "$work/$name-$format.png" "$folder/$format.bmp"
    done
    echo "$name: $folder/{chm,website,ebook,faq}.bmp"
done
