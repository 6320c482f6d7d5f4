# Debian 12 packages Corvane needs, and a helper that installs what is missing.
# Sourced by scripts/run, scripts/test and scripts/bench.

BUILD_PACKAGES=(cmake g++ make pkg-config qt6-base-dev libsecret-1-dev libxcb1-dev libxcb-xtest0-dev libgl-dev libgcrypt20-dev
    libzxing-dev libprotobuf-dev protobuf-compiler libqrencode-dev libsodium-dev qt6-svg-dev libzip-dev
    qt6-translations-l10n qt6-l10n-tools qt6-tools-dev)
KEYRING_PACKAGES=(dbus dbus-x11 gnome-keyring libglib2.0-bin libsecret-tools)
DISPLAY_PACKAGES=(xvfb xauth openbox xterm xcompmgr trayer xdotool xclip x11-utils imagemagick fonts-noto-cjk)
TEST_PACKAGES=("${BUILD_PACKAGES[@]}" "${KEYRING_PACKAGES[@]}" "${DISPLAY_PACKAGES[@]}" oathtool python3-cryptography clang-format qrencode appstream desktop-file-utils)
BENCH_PACKAGES=("${TEST_PACKAGES[@]}" libbenchmark-dev python3-nacl python3-gi)
# scripts/wayland-check: both desktops' compositors and portals, Wayland's clipboard tools,
# and what its fake keyboard for KWin is built from.
WAYLAND_CHECK_PACKAGES=("${TEST_PACKAGES[@]}" gnome-shell kwin-wayland xwayland xdg-desktop-portal
    xdg-desktop-portal-gnome xdg-desktop-portal-kde wl-clipboard zenity libcap2-bin libwayland-dev libwayland-bin
    plasma-wayland-protocols qtwayland5 gjs
    # Plasma's tray watcher (a kded module) and the QML the KDE portal's screenshot dialog needs.
    plasma-workspace qml-module-org-kde-kirigami2 qml-module-qtquick-layouts qml-module-qtquick-controls2)

# ensure_packages PKG...: installs the missing ones as root; otherwise prints the
# one command that would and returns 1.
ensure_packages() {
    local missing=() pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages. Install them with:"
        echo "sudo apt-get install -y ${missing[*]}"
        return 1
    fi
    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
