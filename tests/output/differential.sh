#!/usr/bin/env bash
# The page engine may change how it works, never what it writes: builds every example, the manual,
# a generated 500-topic project and a project with placeholders in its titles and bodies in all
# their formats with the old pages of the Classic group and the tree library (whose pages carry the
# whole tree and jump menu, as users' templates may), and compares every file written and the build
# logs with the hashes recorded in differential/outputs.sha256 by the engine that rendered one page
# at a time on one thread (re-recorded only where the output was meant to change: the title lists
# became indented blocks; the examples and the manual changed their texts and settings).
# Usage: tests/output/differential.sh BIN_DIR [--update]
# With --update, PROGRAMS=DIR takes leafsmith-build and leafsmith-corpus from an older build (the
# engine before the change) while the data stay those of BIN_DIR.
set -euo pipefail
bin=$(cd "$1" && pwd)
programs=$(cd "${PROGRAMS:-$bin}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)/differential
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

setup="$work/setup"
mkdir -p "$setup"
for item in Examples Templates icons manual default.lfx ebookjs.dat nopic.bmp sample templates.ini; do
    cp -r "$bin/$item" "$setup/"
done
# The Classic group, the single page and the tree library as they were when the hashes were
# recorded (pages that carry the whole tree and jump menu), so that new looks change nothing here.
rm -rf "$setup/Templates/Classic"
cp -r "$here/setup/Templates/Classic" "$setup/Templates/"
cp "$here/setup/webjs.dat" "$here/setup/singlehtml.htm" "$setup/"

build() {  # NAME PROJECT
    "$programs/leafsmith-build" --yes --no-pause --setup-dir "$setup" --out "$work/out/$1" "$2" > "$work/out/$1.log" \
        2> "$work/notices"
    # What the build told the user, in order, without the name of the work folder.
    sed "s#$work#WORK#g" "$work/notices" > "$work/out/$1.notices"
}
# Writes the hashes of one run's outputs to FILE.
run_all() {  # FILE
    rm -rf "$work/out" "$work/corpus"
    mkdir -p "$work/out"
    for n in 1 2 3 4; do
        build "example$n" "$setup/Examples/Example$n.lfx"
    done
    build manual "$setup/manual/manual.lfx"
    # Titles and bodies that hold placeholders, included files that are missing (notices in the
    # log of every format), expandable blocks.
    sed -e '/^lbFileList/d' -e "s#^cbRemoveDup=#lbFileList=1\nlbFileList.0=$here/tricky.txt\ncbRemoveDup=#" \
        "$setup/Examples/Example1.lfx" > "$work/tricky.lfx"
    build tricky "$work/tricky.lfx"
    "$programs/leafsmith-corpus" 500 "$work/corpus" --formats chm,web,ebook,faq,single --seed 5 >/dev/null
    build corpus500 "$work/corpus/corpus.lfx"
    # The help compiler is not the page engine: its files and lines are left out.
    find "$work/out" \( -name '*.chm' -o -path '*/CHM/*.log' \) -delete
    for log in "$work"/out/*.log; do
        sed -i -E '/^(Compiling .* into |Wrote |Warning: |[0-9,]+ pages?, )/d' "$log"
    done
    (cd "$work/out" && find . -type f -print0 | sort -z | xargs -0 sha256sum) > "$1"
}

if [ "${2:-}" = "--update" ]; then
    LEAFSMITH_WORKERS=1 run_all "$work/outputs.sha256"
    cp "$work/outputs.sha256" "$here/outputs.sha256"
    echo "recorded $(wc -l < "$here/outputs.sha256") files"
    exit 0
fi
# Pages rendered by several workers and by one give the same bytes and the same log.
for workers in 4 1; do
    LEAFSMITH_WORKERS=$workers run_all "$work/outputs.sha256"
    if ! diff "$here/outputs.sha256" "$work/outputs.sha256" > "$work/diff"; then
        echo "FAIL: with $workers page workers the engine wrote other bytes than before:"
        head -40 "$work/diff"
        exit 1
    fi
done
echo "ok: $(wc -l < "$work/outputs.sha256") files written byte for byte as before, with four page workers and with one"
