# What the scripts share: the build folders, the Debian packages the project needs, and the
# functions that install the missing ones and run clang-tidy.

# The build folders, each in the repository's root (git ignores /build*/).
BUILD_DIR=build                   # RelWithDebInfo: the tests, the benchmarks, the .deb
SANITIZE_BUILD_DIR=build-sanitize # the tests under AddressSanitizer and UBSan
FUZZ_BUILD_DIR=build-fuzz         # the libFuzzer targets (clang), and what they find
WINDOWS_BUILD_DIR=build-windows   # mingw-w64: the .exe, its tests, the Wine prefix, the .zip
RELEASE_BUILD_DIR=build-release   # Release: the benchmarks as figures are taken (scripts/bench)
RUN_BUILD_DIR=build-run           # Release: the program alone, for scripts/run

BUILD_PACKAGES=(cmake ninja-build g++ qt6-base-dev libgl-dev libxcb1-dev fonts-dejavu-core)
# The dialogs' pinned font, Liberation Sans Narrow, is in fonts-liberation; the folder chooser's
# Russian texts in qt6-translations-l10n.
RUN_PACKAGES=(fonts-liberation qt6-translations-l10n)
# locales: the GUI tests also run with a Russian desktop's locale, ru_RU.UTF-8.
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev fonts-liberation locales)
# The project's code checked by clang-tidy (.clang-tidy), in both builds.
TIDY_PACKAGES=(clang-tidy)
# The project's own sources, as clang-tidy's runner selects them from a build's compile commands.
OWN_SOURCES='/(app|bench|common|config|fuel|fuzz|payload|res|tests|tools|ui)/.*\.cpp$'

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

# install_missing_packages package...: installs with apt-get (through sudo when not root) the
# packages that are not installed, saying which first. With LOADER_NO_INSTALL=1 (the scripts'
# --no-install) it installs nothing and fails, naming what is missing.
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
        if [ "${LOADER_NO_INSTALL:-0}" = 1 ]; then
            echo "Missing Debian packages: ${missing[*]}" >&2
            echo "Install them (apt-get install ${missing[*]}) or run without --no-install." >&2
            exit 1
        fi
        echo "Missing Debian packages: ${missing[*]}"
        echo "Installing them: ${sudo[*]}${sudo:+ }apt-get install (--no-install to install by hand)"
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
        if [ "${LOADER_NO_INSTALL:-0}" = 1 ]; then
            echo "Missing locale: $locale (localedef -i $name -f UTF-8 $locale)" >&2
            exit 1
        fi
        echo "Generating the locale $locale"
        "$@" localedef -i "$name" -f UTF-8 "$locale"
    done
}

# run_clang_tidy build-dir [clang-tidy option...]: clang-tidy over the project's own sources
# as that build compiles them; on any finding prints them and fails.
run_clang_tidy() {
    local dir=$1
    shift
    if ! run-clang-tidy -p "$dir" -j "$(nproc)" -quiet "$@" "^$PWD$OWN_SOURCES" \
        >"$dir/tidy.log" 2>&1; then
        sed 's/\x1b\[[0-9;]*m//g' "$dir/tidy.log" | grep -E '(warning|error): ' | sort -u >&2
        echo "clang-tidy found the above in $dir (log: $dir/tidy.log)" >&2
        return 1
    fi
    echo "clang-tidy: nothing found in $dir"
}
