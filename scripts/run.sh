#!/usr/bin/env bash
# The run command: installs what is missing, builds, and starts Velmor Pasquill under Wine.
# With a display it runs there until closed. Without one it runs on a virtual display,
# shows what the program does, saves a screenshot in the build folder and ends the program.
# With --docs it also refreshes the README's screenshot, docs/screenshot.png.
set -euo pipefail
docs_shot=
[ "${1:-}" = --docs ] && docs_shot=1
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$VP_ROOT"

vp_ensure_packages
vp_build_win
vp_wine_env
vp_ensure_prefix "$VP_WIN_BUILD/wineprefix-template"
export WINEPREFIX=$VP_WIN_BUILD/wineprefix-run
# The README's picture shows a new user's first three copies, not what earlier runs left.
if [ -n "$docs_shot" ]; then
    WINEPREFIX=$VP_WIN_BUILD/wineprefix-docs
    vp_kill_prefix "$WINEPREFIX"
    rm -rf "$WINEPREFIX"
fi
if [ ! -f "$WINEPREFIX/.vp-ready" ]; then
    vp_clone_prefix "$VP_WIN_BUILD/wineprefix-template" "$WINEPREFIX"
fi
vp_prefix_fonts "$WINEPREFIX"
# The program's Wine prefix keeps its own home, never the user's.
export HOME=$VP_WIN_BUILD/run-home
mkdir -p "$HOME"

if [ -n "${DISPLAY:-}" ] && [ -z "$docs_shot" ]; then
    vp_log "starting Velmor Pasquill on $DISPLAY"
    exec "$WINE" "$VP_WIN_BUILD/VelmorPasquill.exe"
fi

cleanup() {
    vp_kill_prefix "$WINEPREFIX"
    vp_stop_xvfb
    [ -z "$docs_shot" ] || rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
vp_start_xvfb
vp_log "no display: running on the virtual display $DISPLAY"
driver() { "$WINE" "$VP_WIN_BUILD/vp_driver.exe" "$@" 2>/dev/null | tr -d '\r'; }
caption="Velmor Pasquill  v$(vp_version "$VP_WIN_BUILD" short)"
# The text already on the clipboard is collected when monitoring starts. The run's time
# keeps the texts new, so a second run does not meet them as duplicates.
stamp=$(date +%H:%M:%S)
driver setclip "Velmor Pasquill collects what you copy ($stamp)."
"$WINE" "$VP_WIN_BUILD/VelmorPasquill.exe" >/dev/null 2>&1 &
pid=$!
if ! timeout 60 xdotool search --sync --onlyvisible --name "^${caption//./\\.}\$" >/dev/null; then
    echo "the main window did not appear" >&2
    exit 1
fi
driver wait "$caption" >/dev/null
sleep 1.5
# A first run opens on the licence page; agreeing brings the pad into view.
driver click "$caption" btnAgree >/dev/null || true
driver setclip "A second snippet, copied a moment later ($stamp)."
sleep 0.7
driver setclip "And a third one ($stamp)."
sleep 1
docs=$(ls -d "$WINEPREFIX"/drive_c/users/* | grep -v /Public | head -n1)/Documents
category="$docs/Velmor Pasquill/Main category.txt"
echo "status bar: $(driver status "$caption")"
echo "content of $category:"
tail -c +4 "$category" | tr -d '\r'
echo
mkdir -p "$VP_WIN_BUILD/screenshots"
shot=$VP_WIN_BUILD/screenshots/run.png
import -window root "$shot"
echo "screenshot of the running program: $shot"
if [ -n "$docs_shot" ]; then
    # The main window alone, not the whole virtual screen.
    window=$(xdotool search --onlyvisible --name "^Velmor Pasquill  v4\.5\.0\$" | head -n1)
    mkdir -p "$VP_ROOT/docs"
    import -window "$window" -frame "$VP_ROOT/docs/screenshot.png" 2>/dev/null ||
        cp "$shot" "$VP_ROOT/docs/screenshot.png"
    echo "the README's screenshot: $VP_ROOT/docs/screenshot.png"
fi
driver close "$caption" >/dev/null || true
for _ in $(seq 1 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
wait $pid 2>/dev/null || true
vp_log "program ended"
