# Debian packages the project needs, and a function that installs the missing ones.
BUILD_PACKAGES=(cmake ninja-build g++ qt6-base-dev libgl-dev fonts-dejavu-core)
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev)

install_missing_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}
