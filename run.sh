#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main job: builds the example project into its
# output formats in out/Example1. Prints only what to open; the full logs are kept in out/.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/ensure_packages.sh
ensure_packages "${LEAFSMITH_BUILD_PACKAGES[@]}" libgtest-dev
mkdir -p out

# run_logged LOG DESCRIPTION COMMAND...: the command's output goes into LOG; its end is shown when it fails.
run_logged() {
    local log=$1 what=$2
    shift 2
    echo "$what (log: $log)"
    if ! "$@" > "$log" 2>&1; then
        tail -n 25 "$log" >&2
        echo "Failed: $what. The full log is $log." >&2
        exit 1
    fi
}
run_logged out/build.log "Building Leafsmith" \
    sh -c 'cmake -S . -B build -G Ninja -DLEAFSMITH_WERROR=ON && cmake --build build'
run_logged out/Example1.log "Building the example project" \
    build/bin/leafsmith-build --yes --no-pause --out out/Example1 build/bin/Examples/Example1.lfx

cat <<EOF

Done. The example's five outputs are in out/Example1:
  Help file      $(ls out/Example1/CHM/*.chm)   (open with a CHM viewer: sudo apt install xchm)
  Website        out/Example1/WEB/html/index.htm
  E-book         out/Example1/eBook/html/index.htm
  FAQ            out/Example1/FAQ/html/faq.htm
  Single page    $(ls out/Example1/SingleHTML/*.htm)
Open the web pages in a browser, for example: xdg-open out/Example1/WEB/html/index.htm

The programs are in build/bin:
  build/bin/leafsmith build/bin/Examples/Example1.lfx     the desktop window with this project
  build/bin/leafsmith-build --init ~/docs/mine            a new project of your own
The manual: build/bin/manual-html/index.htm (website) or build/bin/manual.chm
EOF
