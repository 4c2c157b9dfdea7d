# Sourced by scripts/run and scripts/test: installs the Debian packages the program, its build and
# its tests need, but only those that are missing, so a second run costs nothing.

porukano_packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev ccache
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-multimedia-dev qt6-image-formats-plugins
    qt6-qpa-plugins libgl-dev qt6-translations-l10n
    fonts-ipafont-gothic
    xvfb xdotool openbox wmctrl x11-utils imagemagick
    dbus-daemon dbus-bin at-spi2-core python3-pyatspi
    pulseaudio pulseaudio-utils
    python3 desktop-file-utils zip
    dpkg-dev lintian appstream
)

porukano_install_deps() {
    local missing=()
    local pkg
    for pkg in "${porukano_packages[@]}"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
