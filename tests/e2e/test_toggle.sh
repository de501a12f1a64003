#!/usr/bin/env bash
# Monitoring toggled with F9 inside the window; switching category and applying a new
# category list.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

cats="$E2E_DOCUMENTS/Velmor Pasquill"
pad() { e2e_driver get "$E2E_CAPTION" mmoClipboard; }
caption() { e2e_driver get "$E2E_CAPTION" btnMonitor; }
settle() { sleep 0.7; }
# A saved file's text, when it begins with the UTF-8 byte-order mark.
saved_text() { e2e_has_bom "$1" && tail -c +4 "$1" | tr -d '\r'; }

e2e_not_first_run
e2e_driver setclip "at start"
e2e_start
win=$(e2e_xwindow "$E2E_CAPTION")
check "the main window appears" test -n "$win"
e2e_driver wait "$E2E_CAPTION" >/dev/null
sleep 1.5
check "monitoring is on after start-up" test "$(caption)" = "Stop monitoring"

xdotool windowfocus --sync "$win" 2>/dev/null || true
xdotool key --window "$win" F9
settle
check "F9 stops monitoring" test "$(caption)" = "Monitor clipboard"
e2e_driver click "$E2E_CAPTION" chkBackup
settle
e2e_driver setclip "while off"
settle
check "a copy while off is not collected" test "$(pad)" = $'[Main category]\nat start'
check "but it is backed up" \
    test "$(tr -d '\r' <"$cats/ ClipboardItems backup.temp")" = $'\nwhile off'
xdotool key --window "$win" F9
settle
check "F9 starts monitoring again" test "$(caption)" = "Stop monitoring"
check "starting collects the clipboard's text" test "$(pad)" = $'[Main category]\nat start\nwhile off'

e2e_driver click "$E2E_CAPTION" "Category 2"
settle
check "another category loads its file" test "$(pad)" = $'[Category 2]'
e2e_driver setclip "into two"
settle
check "the entry goes to that category's file" \
    test "$(saved_text "$cats/Category 2.txt")" = $'[Category 2]\ninto two'

e2e_driver settext "$E2E_CAPTION" mmoCategories $'Main category\r\n  Fresh one  \r\n'
settle
e2e_driver click "$E2E_CAPTION" btnApplyCateg
settle
check "Apply makes the new category's file" test -f "$cats/Fresh one.txt"
check "Apply selects the last category" test "$(pad)" = $'[Fresh one]'
check "Apply writes the cleaned list" \
    test "$(tail -c +4 "$cats/Categories.list" | tr -d '\r')" = $'Main category\nFresh one'
check "the old category's button is gone" \
    test -z "$(e2e_driver get "$E2E_CAPTION" "Category 2" || true)"
check "but its file keeps its text" \
    test "$(saved_text "$cats/Category 2.txt")" = $'[Category 2]\ninto two'

check "the window closes" test "$(e2e_driver close "$E2E_CAPTION")" = closed
check "the program ends" e2e_wait_exit
e2e_finish
