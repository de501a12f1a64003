#!/usr/bin/env bash
# The run command: installs what is missing, builds, and starts Velmor Pasquill under Wine.
# With a display it runs there until closed. Without one it runs on a virtual display,
# shows what the program does, saves a screenshot in the build folder and ends the program.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$VP_ROOT"

vp_ensure_packages
vp_build_win
vp_wine_env
vp_ensure_prefix "$VP_WIN_BUILD/wineprefix-template"
export WINEPREFIX=$VP_WIN_BUILD/wineprefix-run
if [ ! -f "$WINEPREFIX/.vp-ready" ]; then
    vp_clone_prefix "$VP_WIN_BUILD/wineprefix-template" "$WINEPREFIX"
fi
# The program's Wine prefix keeps its own home, never the user's.
export HOME=$VP_WIN_BUILD/run-home
mkdir -p "$HOME"

if [ -n "${DISPLAY:-}" ]; then
    vp_log "starting Velmor Pasquill on $DISPLAY"
    exec "$WINE" "$VP_WIN_BUILD/VelmorPasquill.exe"
fi

cleanup() {
    vp_kill_prefix "$WINEPREFIX"
    vp_stop_xvfb
}
trap cleanup EXIT
vp_start_xvfb
vp_log "no display: running on the virtual display $DISPLAY"
"$WINE" "$VP_WIN_BUILD/VelmorPasquill.exe" >/dev/null 2>&1 &
pid=$!
caption="Velmor Pasquill  v4.5.0"
if ! timeout 60 xdotool search --sync --onlyvisible --name "^Velmor Pasquill  v4\.5\.0\$" >/dev/null; then
    echo "the main window did not appear" >&2
    exit 1
fi
sleep 1
mkdir -p "$VP_WIN_BUILD/screenshots"
shot=$VP_WIN_BUILD/screenshots/run.png
import -window root "$shot"
echo "screenshot of the running program: $shot"
"$WINE" "$VP_WIN_BUILD/vp_driver.exe" close "$caption" >/dev/null 2>&1 || true
for _ in $(seq 1 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
wait $pid 2>/dev/null || true
vp_log "program ended"
