#!/usr/bin/env bash
# Minimising with "Minimize to tray" puts the window into the tray and a click on the icon
# brings it back; the scanner runs while monitoring; the window closes from the tray.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

visible() { e2e_driver visible "$E2E_CAPTION"; }
iconic() { e2e_driver iconic "$E2E_CAPTION"; }

e2e_not_first_run
e2e_driver setclip "tray start"
e2e_start
win=$(e2e_xwindow "$E2E_CAPTION")
check "the main window appears" test -n "$win"
e2e_driver wait "$E2E_CAPTION" >/dev/null
sleep 1.5
check "monitoring is on after start-up" \
    test "$(e2e_driver get "$E2E_CAPTION" btnMonitor)" = "Stop monitoring"
e2e_screenshot tray_main_monitoring

check "'Minimize to tray' is checked at first" \
    test "$(e2e_driver checked "$E2E_CAPTION" chkTrayIcon)" = 1
check "the window minimises" e2e_driver minimize "$E2E_CAPTION"
sleep 0.7
check "minimised to the tray, the window has no taskbar button" test "$(visible)" = 0
check "the tray icon is there to click" e2e_driver trayclick
sleep 0.7
check "a click on the tray icon shows the window again" test "$(visible)" = 1
check "and restores it" test "$(iconic)" = 0

e2e_driver click "$E2E_CAPTION" chkTrayIcon
sleep 0.5
check "the window minimises" e2e_driver minimize "$E2E_CAPTION"
sleep 0.7
check "without 'Minimize to tray' it stays on the taskbar" test "$(visible)$(iconic)" = 11

e2e_driver click "$E2E_CAPTION" chkTrayIcon
sleep 0.3
check "the window closes" test "$(e2e_driver close "$E2E_CAPTION")" = closed
check "the program ends" e2e_wait_exit
check "the setting is kept" \
    grep -q '^chkTrayIcon=1' "$E2E_APPDATA/Velmor Pasquill/Velmor Pasquill.ini"
e2e_finish
