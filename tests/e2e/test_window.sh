#!/usr/bin/env bash
# The main window as the user meets it: every tab (screenshots), F9 and the button switching
# monitoring, "Save as...", opacity, and the tray. (Dropped files are tested under Wine in
# the window's own tests: Wine hands a drop between processes only from the X desktop.)
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

cats="$E2E_DOCUMENTS/Velmor Pasquill"
caption() { e2e_driver get "$E2E_CAPTION" btnMonitor; }
settle() { sleep 0.7; }
shot_tab() {
    e2e_driver select "$E2E_CAPTION" "$1"
    settle
    check "the \"$1\" tab is shown" test "$(e2e_driver tab "$E2E_CAPTION")" = "$1"
    e2e_screenshot "$2"
}

e2e_not_first_run
e2e_driver setclip "first snippet"
e2e_start
win=$(e2e_xwindow "$E2E_CAPTION")
check "the main window appears" test -n "$win"
e2e_driver wait "$E2E_CAPTION" >/dev/null
# The pointer rests outside the window, so no tooltip covers the screenshots.
xdotool mousemove 2 2
sleep 1.5
check "monitoring is on after start-up" test "$(caption)" = "Stop monitoring"
check "the window is alpha-blended at its design opacity" \
    test "$(e2e_driver layered "$E2E_CAPTION")" = "layered 252"
e2e_screenshot window_main_monitoring

xdotool windowfocus --sync "$win" 2>/dev/null || true
xdotool key --window "$win" F9
settle
check "F9 stops monitoring" test "$(caption)" = "Monitor clipboard"
e2e_screenshot window_main_stopped
e2e_driver click "$E2E_CAPTION" btnMonitor
settle
check "the button starts monitoring again" test "$(caption)" = "Stop monitoring"

shot_tab Categories window_categories
shot_tab Settings window_settings
shot_tab "Updates and news" window_updates
shot_tab About window_about
e2e_driver select "$E2E_CAPTION" Main
settle

# Moved to a monitor at 125 %, the window and all on it grow by a quarter; back at 100 %
# it is as it was.
read -r x y w h <<<"$(e2e_driver rect "$E2E_CAPTION")"
e2e_driver move "$E2E_CAPTION" 0 0 "$w" "$h"
e2e_driver dpi "$E2E_CAPTION" 96 120
settle
check "at another DPI the window takes the suggested size" \
    test "$(e2e_driver rect "$E2E_CAPTION")" = "0 0 $(((w * 120 + 48) / 96)) $(((h * 120 + 48) / 96))"
e2e_screenshot window_dpi120
e2e_driver dpi "$E2E_CAPTION" 120 96
settle
check "back at the first DPI it has its old size" \
    test "$(e2e_driver rect "$E2E_CAPTION")" = "0 0 $w $h"
e2e_driver move "$E2E_CAPTION" "$x" "$y" "$w" "$h"
settle

# "Save as...": the chosen file gets the pad, the status bar says where.
saved="$E2E_DOCUMENTS/saved copy.txt"
e2e_driver click "$E2E_CAPTION" btnSaveAs
e2e_driver savedlg "Save as..." 'C:\users\'"$(basename "$E2E_USER_DIR")"'\Documents\saved copy.txt'
for _ in $(seq 1 50); do [ -f "$saved" ] && break; sleep 0.1; done
settle
check "Save as writes the chosen file" test -f "$saved"
check "as UTF-8 with a byte-order mark" e2e_has_bom "$saved"
check "with the pad's text" \
    test "$(tail -c +4 "$saved" | tr -d '\r')" = $'[Main category]\nfirst snippet'
check "the status bar names it" \
    test "$(e2e_driver status "$E2E_CAPTION")" = 'File saved as: C:\users\'"$(basename "$E2E_USER_DIR")"'\Documents\saved copy.txt'
e2e_driver click "$E2E_CAPTION" btnSaveAs
e2e_driver canceldlg "Save as..."
settle
check "a cancelled Save as says so" test "$(e2e_driver status "$E2E_CAPTION")" = "File not saved!"

# Minimised with "Minimize to tray" on, the window leaves the taskbar for the tray.
e2e_driver minimize "$E2E_CAPTION"
settle
check "minimised to the tray, the window is hidden" \
    test "$(e2e_driver visible "$E2E_CAPTION")" = 0
e2e_screenshot window_tray
e2e_driver trayclick
settle
check "a click on the tray icon brings the window back" \
    test "$(e2e_driver visible "$E2E_CAPTION")" = 1

check "the window closes" test "$(e2e_driver close "$E2E_CAPTION")" = closed
check "the program ends" e2e_wait_exit
e2e_finish
