#!/usr/bin/env bash
# Context-sensitive help in a real viewer: builds the first example, then asks Wine's hh.exe to
# open every context number of its help file (hh.exe -mapid N) and checks in Wine's trace that the
# number leads to its page and the page is found inside the file.
# Usage: tests/chm/wine_context_ids.sh BIN_DIR
set -euo pipefail
bin=$(cd "$1" && pwd)
if ! command -v wine >/dev/null || ! command -v xvfb-run >/dev/null; then
    echo "SKIP: wine or xvfb-run is missing (Debian packages wine, xvfb)"
    exit 77
fi
work=$(mktemp -d)
export WINEPREFIX="$work/prefix" WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
cleanup() {
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

unset LEAFSMITH_CHMCMD
"$bin/leafsmith-build" --yes --no-pause --out "$work/out" "$bin/Examples/Example1.lfx" >/dev/null
chm="$work/out/CHM/quicktour.chm"
header="$work/out/CHM/quicktour.h"
[ -s "$chm" ] || { echo "FAIL: no help file"; exit 1; }

xvfb-run -a wineboot -i >/dev/null 2>&1 || true
failures=0
count=0
while read -r _ name number; do
    [ -n "$number" ] || continue
    count=$((count + 1))
    log="$work/$name.log"
    page=$(sed -n "s/^$name *= *//p" "$work/out/CHM/quicktour.hhp" | tr -d '\r' | tr '\\' '/')
    WINEDEBUG=+htmlhelp,+itss xvfb-run -a wine hh.exe -mapid "$number" "$chm" >"$log" 2>&1 &
    viewer=$!
    # The viewer stays open; stop it once it has looked the page up, or after 30 seconds.
    for _ in $(seq 60); do
        grep -q "Resolving L\"/$page\"" "$log" 2>/dev/null && break
        sleep 0.5
    done
    sleep 1
    wineserver -k 2>/dev/null || true
    wait "$viewer" 2>/dev/null || true
    if ! grep -q "FindContextAlias returning \"$page\"" "$log"; then
        echo "FAIL: $name ($number) does not lead to $page"
        failures=$((failures + 1))
    # (A help file without an index makes the viewer look for one by the file's name: no fault.)
    elif ! grep -q "Resolving L\"/$page\"" "$log" ||
        grep -A1 "Resolving L\"/$page\"" "$log" | grep -q "Could not resolve object"; then
        echo "FAIL: $name ($number): $page is not found in the help file"
        grep -E "Resolving|Could not resolve" "$log" | head -5
        failures=$((failures + 1))
    else
        echo "ok: $name ($number) opens $page"
    fi
done < <(grep '^#define' "$header")
[ "$count" -gt 0 ] || { echo "FAIL: the example has no context numbers"; exit 1; }
exit $((failures > 0))
