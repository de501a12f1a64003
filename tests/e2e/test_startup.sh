#!/usr/bin/env bash
# The program starts, shows its main window with the versioned caption, and closes.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

e2e_start
win=$(e2e_xwindow "$E2E_CAPTION")
check "a window titled exactly '$E2E_CAPTION' appears" test -n "$win"
check "the driver finds it by its Windows title" test "$(e2e_driver wait "$E2E_CAPTION")" = found
e2e_screenshot startup
check "the window closes on WM_CLOSE" test "$(e2e_driver close "$E2E_CAPTION")" = closed
check "the program ends after its window closes" e2e_wait_exit
e2e_finish
