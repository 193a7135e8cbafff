# Debian packages the project needs, and a function that installs the missing ones.
BUILD_PACKAGES=(cmake ninja-build g++ qt6-base-dev libgl-dev fonts-dejavu-core)
# The dialogs' pinned font, Liberation Sans Narrow, is in fonts-liberation; the folder chooser's
# Russian texts in qt6-translations-l10n.
RUN_PACKAGES=(fonts-liberation qt6-translations-l10n)
# locales: the GUI tests also run with a Russian desktop's locale, ru_RU.UTF-8.
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev fonts-liberation locales)

# Making the .deb (cpack): dpkg-shlibdeps finds the program's library dependencies. Checking it
# as a distribution would: lintian, appstreamcli (appstream), desktop-file-validate
# (desktop-file-utils), man (man-db).
PACKAGE_PACKAGES=(dpkg-dev file lintian appstream desktop-file-utils man-db)

# The Windows build and its tests under Wine (scripts/test-windows).
WINDOWS_PACKAGES=(cmake ninja-build googletest g++-mingw-w64-x86-64 wine wine64 fonts-wine xvfb xauth)
# The fuzz targets (clang with libFuzzer).
FUZZ_PACKAGES=(clang libclang-rt-14-dev)

# The locales the tests use, generated once the locales package is there.
TEST_LOCALES=(ru_RU.UTF-8)

install_missing_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$pkg")
    done
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    if [ ${#missing[@]} -ne 0 ]; then
        echo "Installing: ${missing[*]}"
        "${sudo[@]}" apt-get update -qq
        DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
            "${missing[@]}"
    fi
    case " $* " in
    *" locales "*) generate_missing_locales "${sudo[@]}" ;;
    esac
}

# generate_missing_locales [sudo]: every locale of TEST_LOCALES that the system lacks.
generate_missing_locales() {
    local locale name
    for locale in "${TEST_LOCALES[@]}"; do
        name=${locale%%.*}
        # locale -a writes "ru_RU.utf8" for ru_RU.UTF-8.
        locale -a 2>/dev/null | grep -qix "$name.utf-\?8" && continue
        echo "Generating the locale $locale"
        "$@" localedef -i "$name" -f UTF-8 "$locale"
    done
}
