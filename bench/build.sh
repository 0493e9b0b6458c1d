#!/usr/bin/env bash
# Times whole builds of a generated 2,000-topic project: CHM pages, FAQ and Single HTML without the
# help compiler, then the same with our compiler and with chmcmd compiling the CHM.
# Usage: bench/build.sh [BUILD_DIR] [TOPICS]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
topics=${2:-2000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bin/leafsmith-corpus" "$topics" "$work/corpus" --formats chm,faq,single >/dev/null
echo "== $topics topics, $(du -sb "$work/corpus/text" | cut -f1) bytes of text"
hyperfine --warmup 1 --runs 10 --style basic \
    -n "pages, FAQ, single page (no compiler)" \
    "LEAFSMITH_CHMCMD=/nonexistent $build/bin/leafsmith-build --yes --no-pause $work/corpus/corpus.lfx >/dev/null" \
    -n "the same with our help compiler" \
    "$build/bin/leafsmith-build --yes --no-pause $work/corpus/corpus.lfx >/dev/null" \
    -n "the same with chmcmd" \
    "$build/bin/leafsmith-build --compiler chmcmd --yes --no-pause $work/corpus/corpus.lfx >/dev/null"
