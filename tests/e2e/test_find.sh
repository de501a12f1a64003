#!/usr/bin/env bash
# Finding in the pad from the keyboard alone: Ctrl+F, a text, Enter in the system's Find
# dialog, then Shift+F3 without it; and the list of Ctrl+Shift+F (screenshot).
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

settle() { sleep 0.7; }
sel() { e2e_driver sel "$E2E_CAPTION" mmoClipboard; }

e2e_not_first_run
cats="$E2E_DOCUMENTS/Velmor Pasquill"
mkdir -p "$cats"
printf 'Main category\r\nRecipes\r\n' >"$cats/Categories.list"
printf 'Recipes\r\napple pie\r\nbaked beta apples\r\n' >"$cats/Recipes.txt"
e2e_start
win=$(e2e_xwindow "$E2E_CAPTION")
check "the main window appears" test -n "$win"
e2e_driver wait "$E2E_CAPTION" >/dev/null
xdotool mousemove 2 2
sleep 1
e2e_driver settext "$E2E_CAPTION" mmoClipboard $'alpha beta\r\ngamma Beta delta'
settle

xdotool windowfocus --sync "$win" 2>/dev/null || true
xdotool key --window "$win" ctrl+f
dlg=$(e2e_xwindow "Find")
check "Ctrl+F opens the Find dialog" test -n "$dlg"
settle
xdotool type --delay 60 "beta"
xdotool key Return
settle
check "Enter selects the first match" test "$(sel)" = "6 10"
xdotool key Return
settle
check "Enter again selects the next one, in capitals" \
    test "$(sel)" = "18 22"
e2e_screenshot find_dialog
xdotool key Return
settle
check "past the last match the search wraps" test "$(sel)" = "6 10"
check "and the status bar says so" \
    test "$(e2e_driver status "$E2E_CAPTION")" = "Passed the end of the text; searched on from the beginning"
xdotool key Escape
settle
check "Esc closes the dialog" test -z "$(xdotool search --onlyvisible --name '^Find$' 2>/dev/null)"

xdotool windowfocus --sync "$win" 2>/dev/null || true
xdotool key --window "$win" shift+F3
settle
check "Shift+F3 goes back without the dialog" test "$(sel)" = "18 22"

xdotool key ctrl+shift+f
list=$(e2e_xwindow "Find in all categories")
check "Ctrl+Shift+F opens the list" test -n "$list"
sleep 1.5
check "for the pad's selection" test "$(e2e_driver get "Find in all categories" edtFind)" = "Beta"
rows=$(e2e_driver get "Find in all categories" lblProgress)
check "it lists the pad's matches and the other category's" \
    test "$rows" = "3 matches in 2 categories."
e2e_screenshot find_all
check "no category file was changed" \
    test "$(cat "$cats/Recipes.txt")" = $'Recipes\r\napple pie\r\nbaked beta apples\r'

check "the window closes" test "$(e2e_driver close "$E2E_CAPTION")" = closed
check "the program ends" e2e_wait_exit
e2e_finish
