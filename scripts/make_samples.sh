#!/usr/bin/env bash
# Makes the 200 by 160 sample pictures of every template group in data/templates.ini: builds the
# first example with the group, photographs one page per format and shrinks it into a bitmap in
# the group's folder (chm.bmp, website.bmp, ebook.bmp, faq.bmp), which the group's templates.ini
# names as SampleImage; and the manual's pictures of each group's website and phone page
# (data/manual/images/look-NAME.png, look-NAME-phone.png). Needs Debian's chromium and python3-pil.
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
scale() {  # PNG TARGET WIDTH: a smaller copy, as a palette picture to keep the manual small
    /usr/bin/python3 - "$1" "$2" "$3" <<'PY'
import sys
from PIL import Image
picture = Image.open(sys.argv[1]).convert("RGB")
width = int(sys.argv[3])
picture = picture.resize((width, round(picture.height * width / picture.width)), Image.LANCZOS)
picture.quantize(colors=128, method=Image.Quantize.MEDIANCUT).save(sys.argv[2], "PNG", optimize=True)
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
    lower=$(echo "$name" | tr '[:upper:]' '[:lower:]')
    shoot "file://$work/$name/WEB/html/$page" "$work/$name-look.png" 1100 720
    shoot "file://$work/$name/WEB/html/$page" "$work/$name-phone.png" 390 700
    scale "$work/$name-look.png" "$ROOT/data/manual/images/look-$lower.png" 640
    scale "$work/$name-phone.png" "$ROOT/data/manual/images/look-$lower-phone.png" 234
    echo "$name: $folder/{chm,website,ebook,faq}.bmp"
done
