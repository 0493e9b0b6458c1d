#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main job on the example project.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/ensure_packages.sh
ensure_packages "${LEAFSMITH_BUILD_PACKAGES[@]}"
cmake -S . -B build -G Ninja -DLEAFSMITH_WERROR=ON >/dev/null
cmake --build build
echo
echo "Topic tree of the example project (index, level, number, page, flags, icon, context id, alias, title):"
build/bin/leafsmith-build --structure build/bin/Examples/Example1.lfx
