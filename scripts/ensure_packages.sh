# Installs the Debian packages named as arguments that are not installed yet.
# Sourced by run.sh and test.sh.
ensure_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo=(sudo)
    fi
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# What building needs: Qt 6 Widgets makes the window, and its platform plugins show it on an X
# display. The help compiler is our own; chmcmd (fp-utils) is needed only when a user asks for it.
LEAFSMITH_BUILD_PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-qpa-plugins)
# What the tests need on top: GoogleTest; chmcmd (fp-utils), the other help compiler; three
# independent readers of compiled help files (chmlib's tools, 7-Zip, libmspack) and python3-chm for
# their search index; Wine's help viewer under Xvfb for context numbers; Sphinx for a help project
# written by another tool; chattr and script for locked files and terminal questions; and Chromium,
# which the browser test drives through playwright-core (from npm, with the machine's Node.js 20 or
# later).
LEAFSMITH_TEST_PACKAGES=(libgtest-dev fp-utils libchm-bin 7zip libmspack-dev python3-chm wine wine64 xvfb xauth
    python3-sphinx python3-sphinxcontrib.htmlhelp e2fsprogs bsdutils chromium fonts-dejavu-core)
