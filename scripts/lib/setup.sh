# Shared by scripts/run and scripts/test: the Debian packages the build needs, and the
# configure-and-build step.

# Each line says why: a fresh Debian 12 (even a minimal root) gets everything from here.
TR640_PACKAGES=(
    build-essential cmake ninja-build pkg-config # the compiler and the build
    qt6-base-dev qt6-serialport-dev libgl-dev    # Qt: Core, Gui, Widgets, PrintSupport, Test, SerialPort
    qt6-qpa-plugins                              # the windows' platform plugins (xcb, offscreen)
    fonts-wqy-microhei                           # the Chinese texts (the first-start language)
    poppler-utils                                # tests read the channel sheet back with pdftotext
    xvfb xauth xdotool openbox x11-utils         # the test that clicks with the X server's pointer
)

# Installs missing packages when run as root; otherwise prints the exact command and stops.
tr640_ensure_packages() {
    local missing=()
    local p
    for p in "${TR640_PACKAGES[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -eq 0 ]; then
        echo "Installing: ${missing[*]}"
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq
        apt-get install -y -qq --no-install-recommends "${missing[@]}"
    else
        echo "Missing Debian packages. Install them with:" >&2
        echo "  sudo apt-get install -y ${missing[*]}" >&2
        exit 1
    fi
}

# tr640_build BUILD_DIR [cmake options...]
tr640_build() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    cmake --build "$dir" --parallel "$(nproc)"
}
