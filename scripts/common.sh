# Shared by run.sh and test.sh: install what is missing, then configure and build.
set -euo pipefail

PACKAGES=(g++ cmake ninja-build qt6-base-dev qt6-base-dev-tools libgl-dev libqcustomplot-dev
          libgtest-dev libgmock-dev libbenchmark-dev fonts-ipafont-gothic fonts-ipafont-mincho
          desktop-file-utils appstream qt6-multimedia-dev)
# The real-window suite (tests/e2e), installed by test.sh only.
DESKTOP_PACKAGES=(xvfb openbox dunst dbus at-spi2-core python3-pyatspi xdotool wmctrl x11-utils
                  imagemagick pulseaudio pulseaudio-utils trayer)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_missing_packages() {
    local missing=()
    for p in "${PACKAGES[@]}" "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        # A mirror that stumbles once must not fail the whole run.
        local try
        for try in 1 2 3; do
            as_root apt-get -o Acquire::Retries=3 update && break
            [ "$try" -lt 3 ] && sleep 10
        done
        as_root env DEBIAN_FRONTEND=noninteractive apt-get -o Acquire::Retries=3 install -y \
            --no-install-recommends "${missing[@]}"
    fi
}

# build <preset> [extra cmake arguments...]: configures build/<preset> from CMakePresets.json and
# builds it. MITORAN_WERROR=ON in the environment (CI) turns warnings into errors.
build() {
    local preset=$1
    shift
    (cd "$ROOT" && cmake --preset "$preset" -DMITORAN_WERROR="${MITORAN_WERROR:-OFF}" "$@" &&
        cmake --build --preset "$preset" -j"$(nproc)")
}
