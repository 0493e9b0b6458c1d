#!/usr/bin/env bash
# Runs one golden case of leafsmith-build and compares what it prints with the expected output.
# Usage: run_case.sh LEAFSMITH_BUILD CASE_FOLDER
# The case folder holds "args" (one argument a line) and "expected": standard output, then the
# standard error after a line "--- stderr", then "--- exit N". The program runs inside the case
# folder. LEAFSMITH_UPDATE_GOLDEN=1 rewrites "expected" instead of comparing.
set -u
program=$1
case_dir=$2
cd "$case_dir" || exit 2
mapfile -t args < args
actual=$(mktemp)
stderr=$(mktemp)
trap 'rm -f "$actual" "$stderr"' EXIT
"$program" "${args[@]}" >"$actual" 2>"$stderr"
status=$?
if [ -s "$stderr" ]; then
    printf -- '--- stderr\n' >>"$actual"
    cat "$stderr" >>"$actual"
fi
printf -- '--- exit %d\n' "$status" >>"$actual"
if [ "${LEAFSMITH_UPDATE_GOLDEN:-0}" = 1 ]; then
    cp "$actual" expected
    echo "updated $case_dir/expected"
    exit 0
fi
if ! diff -u expected "$actual"; then
    echo "golden case $(basename "$case_dir") differs (expected above with -, actual with +)"
    exit 1
fi
