# Shared by run.sh and test.sh: install what is missing, then configure and build.
set -euo pipefail

PACKAGES=(g++ cmake ninja-build qt6-base-dev qt6-base-dev-tools libgl-dev libqcustomplot-dev
          libgtest-dev libgmock-dev libbenchmark-dev fonts-ipafont-gothic
          desktop-file-utils)

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
        as_root apt-get update
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
    fi
}

# build <dir> <build type> [extra cmake arguments...]
build() {
    local dir=$1 type=$2
    shift 2
    cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" "$@"
    cmake --build "$dir" -j"$(nproc)"
}
