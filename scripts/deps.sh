# Sourced by the scripts: installs the Debian packages a step needs when they are missing.
# need PACKAGE... : apt-get installs those that dpkg does not report as installed.
need() {
    missing=""
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing="$missing $pkg"
    done
    [ -z "$missing" ] && return 0
    echo "Installing:$missing"
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    if ! $sudo_cmd env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing \
        >/tmp/vlc-apt.log 2>&1; then
        $sudo_cmd apt-get update >/tmp/vlc-apt.log 2>&1
        $sudo_cmd env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing \
            >>/tmp/vlc-apt.log 2>&1 || { cat /tmp/vlc-apt.log; echo "could not install:$missing"; exit 1; }
    fi
}

# Packages of the Linux build and its tests.
need_linux_build() {
    need cmake ninja-build g++ make libgtest-dev googletest libbenchmark-dev libcli11-dev nlohmann-json3-dev time
}

# Packages of the Windows build (MinGW-w64, posix threads; vlconvert.exe takes the header-only CLI11 and
# nlohmann-json from Debian) and of running its tests under Wine on a private X display, with the X libraries
# Wine's display driver loads.
need_windows_build() {
    need cmake ninja-build googletest g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 fonts-wine \
        xvfb libxrender1 libxrandr2 libxi6 libxcursor1 libxfixes3 libxcomposite1 libxinerama1 libcli11-dev \
        nlohmann-json3-dev
}

# Packages of making the packages (scripts/package.sh): Debian's package tools with dpkg-shlibdeps, help2man
# for the manual page, NSIS for the Windows installer.
need_packaging() {
    need dpkg-dev file help2man nsis
}
