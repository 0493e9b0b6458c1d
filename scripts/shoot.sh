# Shared by the picture scripts: build a project with a template group and photograph its pages.
# Sourced; needs build/bin/leafsmith-build and Debian's chromium.

# shoot URL PNG [WIDTH HEIGHT]
shoot() {
    local profile
    profile=$(mktemp -d)
    chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run --disable-background-networking \
        --disable-component-update --disable-sync --user-data-dir="$profile" --hide-scrollbars \
        --window-size="${3:-1100},${4:-800}" --screenshot="$2" "$1" >/dev/null 2>&1
    rm -rf "$profile"
}

# build_with_group DATA_DIR GROUP_FOLDER OUT_DIR : Example1 in every format, from one group.
build_with_group() {
    local data=$1 group=$2 out=$3
    sed -e "s#{SetupDir}/Templates/Classic#$group#g" -e 's/^CompileChm=1/CompileChm=0/' \
        "$data/Examples/Example1.lfx" > "$out.lfx"
    "$ROOT/build/bin/leafsmith-build" --yes --no-pause --setup-dir "$data" --out "$out" "$out.lfx" > /dev/null
}
