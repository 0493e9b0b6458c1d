#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main job: builds the example project into its
# output formats in out/Example1.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/ensure_packages.sh
ensure_packages "${LEAFSMITH_BUILD_PACKAGES[@]}" libgtest-dev
cmake -S . -B build -G Ninja -DLEAFSMITH_WERROR=ON >/dev/null
cmake --build build
echo
build/bin/leafsmith-build --yes --no-pause --out out/Example1 build/bin/Examples/Example1.lfx
echo
echo "The example's output is in $(pwd)/out/Example1:"
for entry in out/Example1/CHM/*.chm out/Example1/WEB/html/index.htm out/Example1/eBook/html/index.htm \
    out/Example1/FAQ/html/faq.htm out/Example1/SingleHTML/*.htm; do
    [ -e "$entry" ] && echo "  $entry"
done
