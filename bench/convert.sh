#!/usr/bin/env bash
# Times the converter on a generated 20,000-topic project (about 10 MB of text).
# Usage: bench/convert.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bin/leafsmith-corpus" 20000 "$work/corpus" >/dev/null
echo "== $(du -sb "$work/corpus/text" | cut -f1) bytes of text"
"$build/bin/convert_benchmark" "$work/corpus/corpus.lfx"
