#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/ensure_packages.sh
ensure_packages "${LEAFSMITH_BUILD_PACKAGES[@]}" "${LEAFSMITH_TEST_PACKAGES[@]}"
cmake -S . -B build -G Ninja -DLEAFSMITH_WERROR=ON >/dev/null
cmake --build build
ctest --test-dir build --output-on-failure -j "$(nproc)"
