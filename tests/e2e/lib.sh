# Helpers for end-to-end tests: each test gets a throwaway copy of the pristine Wine
# prefix, a temporary HOME and (when none is given) its own virtual display.
set -euo pipefail
VP_SOURCE=${VP_SOURCE:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
source "$VP_SOURCE/scripts/lib.sh"
VP_BUILD=${VP_BUILD:-$VP_WIN_BUILD}
VP_SHOTS=$VP_BUILD/screenshots
mkdir -p "$VP_SHOTS"

vp_wine_env
E2E_TMP=$(mktemp -d)
export HOME=$E2E_TMP/home
mkdir -p "$HOME"
export WINEPREFIX=$E2E_TMP/prefix
E2E_OWN_XVFB=
E2E_FAILURES=0

e2e_cleanup() {
    vp_kill_prefix "$WINEPREFIX"
    [ -n "$E2E_OWN_XVFB" ] && vp_stop_xvfb
    rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

vp_ensure_prefix "$VP_BUILD/wineprefix-template"
vp_clone_prefix "$VP_BUILD/wineprefix-template" "$WINEPREFIX"
if [ -z "${DISPLAY:-}" ]; then
    vp_start_xvfb
    E2E_OWN_XVFB=1
fi

E2E_USER_DIR=$(ls -d "$WINEPREFIX"/drive_c/users/* | grep -v /Public | head -n1)
E2E_DOCUMENTS=$E2E_USER_DIR/Documents
E2E_DESKTOP=$E2E_USER_DIR/Desktop
E2E_APPDATA=$E2E_USER_DIR/AppData/Roaming

E2E_VERSION=$(vp_version "$VP_BUILD" short)
E2E_CAPTION="Velmor Pasquill  v$E2E_VERSION"

e2e_start() {
    "$WINE" "$VP_BUILD/VelmorPasquill.exe" >"$E2E_TMP/program.log" 2>&1 &
    E2E_PID=$!
}

e2e_driver() { "$WINE" "$VP_BUILD/vp_driver.exe" "$@" 2>/dev/null | tr -d '\r'; }

# X window id of the top-level window whose title is exactly $1 (waits up to 30 s).
e2e_xwindow() {
    local pattern
    pattern="^$(printf '%s' "$1" | sed 's/[][\.*^$()+?{}|]/\\&/g')\$"
    timeout 30 xdotool search --sync --onlyvisible --name "$pattern" 2>/dev/null | head -n1
}

e2e_screenshot() {
    local file=$VP_SHOTS/$1.png
    sleep 0.5
    import -window root "$file"
    echo "screenshot: $file"
}

e2e_wait_exit() {
    local i
    for i in $(seq 1 100); do
        kill -0 "$E2E_PID" 2>/dev/null || { wait "$E2E_PID" 2>/dev/null || true; return 0; }
        sleep 0.1
    done
    return 1
}

check() {
    local what=$1
    shift
    if "$@"; then
        echo "ok: $what"
    else
        echo "FAILED: $what"
        E2E_FAILURES=$((E2E_FAILURES + 1))
    fi
}

e2e_finish() {
    if [ "$E2E_FAILURES" -ne 0 ]; then
        echo "$E2E_FAILURES check(s) failed"
        exit 1
    fi
    echo "all checks passed"
}

# True when the file begins with the UTF-8 byte-order mark (EF BB BF).
e2e_has_bom() { [ "$(head -c 3 "$1" 2>/dev/null | od -An -tx1 | tr -d ' \n')" = efbbbf ]; }

# A Unix path as the program sees it, through Wine's drive Z:.
e2e_winpath() { printf 'Z:%s' "${1//\//\\}"; }

# Settings left by an earlier orderly exit: the next start is not a first run.
e2e_not_first_run() {
    mkdir -p "$E2E_APPDATA/Velmor Pasquill"
    printf '[QRT/Soft]\r\n' >"$E2E_APPDATA/Velmor Pasquill/Velmor Pasquill.ini"
}
