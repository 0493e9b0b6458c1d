#!/usr/bin/env bash
# Compares our help compiler with chmcmd side by side on the same help projects: the 2,000-topic
# peer corpus (small pages) and a project of about 25 MB of HTML. Prints wall time (median of
# RUNS), peak memory and the size of the .chm for each, and checks that both files read back.
# Usage: bench/chm_compile.sh [BUILD_DIR] [RUNS]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)
runs=${2:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A help project for each corpus, written by a build without compiling it.
help_project() {  # LFX OUTDIR -> path of the .hhp
    sed -i -e 's#^CompileChm=.*#CompileChm=0\nTempletChm={SetupDir}/Templates/Classic\nTempletNoChm=1#' \
        -e 's#^cb\(Website\|Ebook\|FAQ\|SingleHTML\)=1#cb\1=0#' "$1"
    "$build/bin/leafsmith-build" --yes --no-pause --out "$2" "$1" >/dev/null
    ls "$2"/CHM/*.hhp
}

/usr/bin/python3 "$here/../shared/peers/gen.py" -n 2000 -o "$work/peers" >/dev/null
lfx=$(/usr/bin/python3 "$here/../shared/peers/peer2lfx.py" "$work/peers" "$work/peers-lfx" | tail -1)
small=$(help_project "$lfx" "$work/small-out")

# About 25 MB of HTML: 2,000 pages of about 12 KB.
mkdir -p "$work/big-pages/html"
python3 - "$work/big-pages" <<'EOF'
import os, random, sys
root = sys.argv[1]
random.seed(11)
words = open('/usr/share/dict/words').read().split() if os.path.exists('/usr/share/dict/words') else \
    ("help page topic window compile index search contents table figure chapter section example value "
     "option file folder project template group output format build reader writer text word line").split()
files = []
for n in range(2000):
    paragraphs = []
    for p in range(24):
        paragraphs.append('<p>' + ' '.join(random.choice(words) for _ in range(80)) + '</p>')
    body = '\n'.join(paragraphs)
    page = ('<html><head><meta charset="utf-8"><title>Page %d</title></head>\n<body>\n'
            '<h1>Page %d</h1>\n%s\n<a href="%d.htm">next</a>\n</body></html>\n') % (n, n, body, (n + 1) % 2000)
    open(os.path.join(root, 'html', '%d.htm' % n), 'w').write(page)
    files.append('html\\%d.htm' % n)
with open(os.path.join(root, 'big.hhp'), 'w') as out:
    out.write('[OPTIONS]\r\nCompiled file=big.chm\r\nDefault topic=html\\0.htm\r\nFull-text search=Yes\r\n'
              'Language=0x409 English (United States)\r\nTitle=Big\r\n\r\n[FILES]\r\n' + '\r\n'.join(files) + '\r\n')
EOF
big="$work/big-pages/big.hhp"

measure() {  # NAME COMPILER HHP
    local name=$1 compiler=$2 hhp=$3 times=() peak=0 chm
    chm="$(dirname "$hhp")/$(sed -n 's/^Compiled file=\(.*\)\r$/\1/p' "$hhp")"
    for ((i = 0; i < runs; i++)); do
        rm -f "$chm"
        /usr/bin/time -f '%e %M' -o "$work/time" "$build/bin/leafsmith-build" --compiler "$compiler" --compile "$hhp" >/dev/null
        read -r wall kb < "$work/time"
        times+=("$wall")
        ((kb > peak)) && peak=$kb
    done
    local median
    median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p")
    local size
    size=$(stat -c %s "$chm")
    local html
    html=$(du -sb "$(dirname "$hhp")/html" | cut -f1)
    printf '%-34s %-9s %8s s %8d KB %12d bytes (HTML %d bytes)\n' "$name" "$compiler" "$median" "$peak" "$size" "$html"
    7zz t "$chm" >/dev/null || echo "  7-Zip cannot read $chm"
}

echo "project                            compiler   wall      peak RSS     .chm size"
for compiler in leafsmith chmcmd; do measure "2,000 topics (peer corpus)" "$compiler" "$small"; done
for compiler in leafsmith chmcmd; do measure "2,000 pages, ~25 MB of HTML" "$compiler" "$big"; done
