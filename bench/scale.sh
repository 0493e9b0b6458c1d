#!/usr/bin/env bash
# How builds grow with the project: the peer corpus at 1,000 ... 20,000 topics, each format built on
# its own (pauses off, no compile) with the shipped Classic group: wall time and bytes written. Then,
# side by side on 2,000 topics, all five formats against Hugo's one website of the same corpus.
# Usage: [TMPDIR=/dev/shm] bench/scale.sh [BUILD_DIR] [SIZES...]
# The work folder is made in $TMPDIR. On a file system that is slow to make inodes right after
# many were deleted (ext4 without a journal spends most of such a build in the kernel), TMPDIR=/dev/shm
# measures the programs rather than the disk.
set -euo pipefail
shopt -s inherit_errexit
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)
shift || true
sizes=("${@:-1000 2000 4000 8000 20000}")
# shellcheck disable=SC2206
sizes=(${sizes[*]})
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
peers="$here/../shared/peers"

corpus() {  # N -> the .lfx, all formats on, the Classic group, no compile
    local n=$1
    /usr/bin/python3 "$peers/gen.py" -n "$n" -o "$work/c$n" >/dev/null
    local lfx
    lfx=$(/usr/bin/python3 "$peers/peer2lfx.py" "$work/c$n" "$work/l$n" | tail -1)
    sed -i -e 's#^CompileChm=.*#CompileChm=0\nTempletChm={SetupDir}/Templates/Classic\nTempletNoChm=1\nTempletChm_WebSite={SetupDir}/Templates/Classic\nTempletNoChm_WebSite=2\nTempletChm_Ebook={SetupDir}/Templates/Classic\nTempletNoChm_Ebook=3\nTempletChm_Faq={SetupDir}/Templates/Classic\nTempletNoChm_Faq=4#' "$lfx"
    echo "$lfx"
}

only() {  # LFX FORMAT -> a copy of the project that builds only that format
    local copy="${1%.lfx}-$2.lfx"
    sed -e 's/^cb\(Chm\|Website\|Ebook\|FAQ\|SingleHTML\)=1/cb\1=0/' -e "s/^cb$2=0/cb$2=1/" "$1" > "$copy"
    echo "$copy"
}

seconds() {  # COMMAND... -> wall seconds
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1  # the generated corpus lacks settings of new projects: a warning each run
    end=$(date +%s.%N)
    echo "$end - $start" | bc
}

median() { printf '%s\n' "$@" | sort -n | sed -n "$(( ($# + 1) / 2 ))p"; }
fastest() { printf '%s\n' "$@" | sort -n | head -1; }

# Each point is the fastest of five runs (what else runs on the machine only ever adds time);
# "x" is the growth over the size before.
printf '%-8s %-11s %9s %6s %14s %6s\n' topics format seconds x bytes x
declare -A last_wall last_bytes
for n in "${sizes[@]}"; do
    lfx=$(corpus "$n")
    for format in Chm Website Ebook FAQ SingleHTML; do
        project=$(only "$lfx" "$format")
        walls=()
        for _ in 1 2 3 4 5; do
            rm -rf "$work/out"
            walls+=("$(seconds "$build/bin/leafsmith-build" --yes --no-pause --out "$work/out" "$project")")
        done
        wall=$(fastest "${walls[@]}")
        bytes=$(du -sb "$work/out" | cut -f1)
        growth_wall=- growth_bytes=-
        if [ -n "${last_wall[$format]:-}" ]; then
            growth_wall=$(echo "scale=2; $wall / ${last_wall[$format]}" | bc)
            growth_bytes=$(echo "scale=2; $bytes / ${last_bytes[$format]}" | bc)
        fi
        last_wall[$format]=$wall last_bytes[$format]=$bytes
        printf '%-8s %-11s %9.3f %6s %14d %6s\n' "$n" "$format" "$wall" "$growth_wall" "$bytes" "$growth_bytes"
    done
    rm -rf "$work/c$n" "$work/l$n"
done

if command -v hugo >/dev/null; then
    lfx=$(corpus 2000)
    echo
    echo "2,000 topics, side by side (median of 5):"
    ours=() theirs=()
    for _ in 1 2 3 4 5; do
        rm -rf "$work/out" "$work/c2000/hugo-out"
        ours+=("$(seconds "$build/bin/leafsmith-build" --yes --no-pause --out "$work/out" "$lfx")")
        theirs+=("$(cd "$work/c2000/hugo" && seconds hugo --quiet -d ../hugo-out)")
    done
    printf 'leafsmith, all five formats: %s s, %d bytes\n' "$(median "${ours[@]}")" "$(du -sb "$work/out" | cut -f1)"
    printf 'hugo, one website:           %s s, %d bytes\n' "$(median "${theirs[@]}")" \
        "$(du -sb "$work/c2000/hugo-out" | cut -f1)"
fi
