# Qt for 64-bit Windows, built once from Debian's qtbase source as a static MinGW build with
# Debian's own Qt as the host tools, and kept outside the checkout. Sourced by scripts/windows.

TR640_QT_VERSION=6.4.2
TR640_QT_CACHE=${TR640_QT_CACHE:-/var/cache/tr640}
TR640_QT_MINGW=$TR640_QT_CACHE/qt-$TR640_QT_VERSION-mingw-static

# The deb-src entry that `apt-get source` needs, beside the machine's own sources.
tr640_enable_deb_src() {
    local list=/etc/apt/sources.list.d/tr640-src.sources
    [ -f "$list" ] && return 0
    cat >"$list" <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    apt-get update -qq
}

# Builds and installs the static Qt unless a finished install is already there.
tr640_build_qt_mingw() {
    local repo=$1
    # One build at a time: a second caller waits for the first, then takes its result.
    mkdir -p "$TR640_QT_CACHE"
    exec 9>"$TR640_QT_CACHE/.lock"
    flock 9
    if [ -x "$TR640_QT_MINGW/bin/qt-cmake" ] && [ -f "$TR640_QT_MINGW/.complete" ]; then
        echo "Qt for MinGW: $TR640_QT_MINGW (kept from an earlier build)"
        return 0
    fi
    tr640_enable_deb_src
    local src=$TR640_QT_CACHE/src
    mkdir -p "$src"
    if [ ! -d "$src/qtbase" ]; then
        (cd "$src" && apt-get source -qq --download-only qt6-base &&
            dpkg-source -x --no-check "qt6-base_$TR640_QT_VERSION"+*.dsc qtbase >/dev/null)
    fi
    # An interrupted build is resumed: ninja picks up where it stopped.
    local build=$TR640_QT_CACHE/build-qt-mingw
    rm -rf "$TR640_QT_MINGW"
    # Qt remembers its toolchain file: keep a copy that outlives this checkout.
    cp "$repo/cmake/mingw-w64-x86_64.cmake" "$TR640_QT_CACHE/"
    [ -f "$build/build.ninja" ] || cmake -S "$src/qtbase" -B "$build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$TR640_QT_CACHE/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$TR640_QT_MINGW" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DBUILD_SHARED_LIBS=OFF -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
        -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_xml=OFF -DFEATURE_concurrent=OFF \
        -DFEATURE_openssl=OFF -DFEATURE_icu=OFF -DFEATURE_tabletevent=OFF \
        -DFEATURE_printsupport=ON \
        -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
        -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
    cmake --build "$build" --parallel "$(nproc)"
    cmake --install "$build"
    touch "$TR640_QT_MINGW/.complete"
    rm -rf "$build"
}
