# Shared set-up for the run and test commands: packages, Wine prefix, virtual display.
# Sourced, not run.

VP_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VP_NATIVE_BUILD=${VP_NATIVE_BUILD:-$VP_ROOT/build/native}
VP_WIN_BUILD=${VP_WIN_BUILD:-$VP_ROOT/build/win}
VP_JOBS=${VP_JOBS:-$(nproc 2>/dev/null || echo 2)}

VP_PACKAGES=(cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev
    libbenchmark-dev g++-mingw-w64-x86-64-posix wine64 xvfb xclip xdotool imagemagick
    x11-utils python3 procps clang-format fonts-wine fonts-liberation)

vp_log() { printf '\033[1m==> %s\033[0m\n' "$*" >&2; }

vp_as_root() {
    if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs whatever Debian package of the list is missing.
vp_ensure_packages() {
    local missing=() p
    for p in "${VP_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    vp_log "installing ${missing[*]}"
    vp_as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q
    vp_as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

vp_wine_bin() {
    if [ -x /usr/lib/wine/wine64 ]; then echo /usr/lib/wine/wine64; else command -v wine64 || command -v wine; fi
}
vp_wineserver_bin() {
    if [ -x /usr/lib/wine/wineserver64 ]; then echo /usr/lib/wine/wineserver64; else command -v wineserver; fi
}

# Environment for every Wine call: quiet, 64-bit, no Mono or Gecko installers.
vp_wine_env() {
    export WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all}
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    export WINE=$(vp_wine_bin) WINESERVER=$(vp_wineserver_bin)
}

# Makes a Wine prefix once. HOME points at a throwaway folder while it is made, and
# the user's shell folders become real folders inside the prefix, so that nothing
# the program writes to Documents or Desktop ever reaches a real home folder.
vp_ensure_prefix() {
    local prefix=$1
    if [ -f "$prefix/.vp-ready" ]; then
        vp_prefix_fonts "$prefix"
        return 0
    fi
    vp_wine_env
    vp_log "creating Wine prefix $prefix"
    rm -rf "$prefix"
    mkdir -p "$prefix"
    local home
    home=$(mktemp -d)
    HOME=$home WINEPREFIX=$prefix "$WINE" wineboot -i >/dev/null 2>&1
    # Wine draws the windows' frames and captions itself: Xvfb has no window manager.
    HOME=$home WINEPREFIX=$prefix "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' \
        /v Managed /d N /f >/dev/null 2>&1
    HOME=$home WINEPREFIX=$prefix "$WINESERVER" -w
    local d
    for d in "$prefix"/drive_c/users/*/*; do
        if [ -L "$d" ]; then rm -f "$d"; mkdir -p "$d"; fi
    done
    rm -rf "$home"
    vp_prefix_fonts "$prefix"
    touch "$prefix/.vp-ready"
}

# Wine draws the caption buttons with the "Marlett" symbol font; Wine 8 does not find the
# copy that fonts-wine installs until it sits in the prefix's own Fonts folder. Arial and
# the other core faces come from fonts-liberation, which Wine finds through fontconfig.
vp_prefix_fonts() {
    local fonts=$1/drive_c/windows/Fonts f
    [ -d "$fonts" ] || return 0
    for f in marlett.ttf; do
        [ -f "/usr/share/wine/fonts/$f" ] && [ ! -f "$fonts/$f" ] && cp "/usr/share/wine/fonts/$f" "$fonts/"
    done
    return 0
}

# A throwaway copy of a prefix. The system files are hard links (Wine never rewrites
# them in place); the registry files, which it does rewrite, are real copies.
vp_clone_prefix() {
    local from=$1 to=$2 f
    rm -rf "$to"
    cp -al "$from" "$to"
    for f in "$to"/*.reg "$to"/.update-timestamp; do
        [ -f "$f" ] || continue
        cp --remove-destination "$from/$(basename "$f")" "$f"
    done
}

# Ends every Wine process of a prefix.
vp_kill_prefix() {
    [ -d "$1" ] || return 0
    WINEPREFIX=$1 "$(vp_wineserver_bin)" -k >/dev/null 2>&1 || true
}

# Starts Xvfb on a free display number and exports DISPLAY; VP_XVFB_PID holds its pid.
vp_start_xvfb() {
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    VP_XVFB_PID=$!
    local n
    read -r -t 20 n <"$fifo" || n=
    rm -f "$fifo"
    if [ -z "$n" ]; then
        echo "Xvfb did not start" >&2
        return 1
    fi
    export DISPLAY=:$n
}

vp_stop_xvfb() {
    if [ -n "${VP_XVFB_PID:-}" ]; then
        kill "$VP_XVFB_PID" 2>/dev/null || true
        wait "$VP_XVFB_PID" 2>/dev/null || true
        VP_XVFB_PID=
    fi
}

# The program's version as a build tree has it: CMakeLists.txt is its one home, and CMake
# writes it into every tree. "vp_version BUILD" gives all four numbers, "vp_version BUILD
# short" the first three (as the caption shows them).
vp_version() {
    local file=$1/generated/version.env key=VP_VERSION
    [ "${2:-}" = short ] && key=VP_VERSION_SHORT
    if [ ! -f "$file" ]; then
        echo "no $file: configure the build tree first" >&2
        return 1
    fi
    sed -n "s/^$key=//p" "$file"
}

vp_configure_and_build() {
    local build=$1
    shift
    if [ ! -f "$build/CMakeCache.txt" ]; then
        cmake -S "$VP_ROOT" -B "$build" -G Ninja "$@" >/dev/null
    fi
    cmake --build "$build" -j "$VP_JOBS"
}

vp_build_win() {
    vp_configure_and_build "$VP_WIN_BUILD" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$VP_ROOT/cmake/mingw-w64-x86_64.cmake"
}

vp_build_native() {
    vp_configure_and_build "$VP_NATIVE_BUILD" -DCMAKE_BUILD_TYPE=Debug -DVP_SANITIZE=ON \
        -DCMAKE_CXX_COMPILER=g++
}
