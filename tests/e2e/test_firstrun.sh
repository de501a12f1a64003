#!/usr/bin/env bash
# The first run: the licence page alone with updates and About, the desktop shortcut and
# the default categories; "ok" opens the working tabs. A second start only brings the
# running window back. A run that never ended in order leaves the next start a first run,
# without losing what it collected.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

cats="$E2E_DOCUMENTS/Velmor Pasquill"
ini="$E2E_APPDATA/Velmor Pasquill/Velmor Pasquill.ini"
shortcut="$E2E_DESKTOP/Velmor Pasquill.lnk"
tabs() { e2e_driver tabs "$E2E_CAPTION"; }
first_run_tabs=$'License\nUpdates and news\nAbout'

e2e_start
check "the main window appears" test -n "$(e2e_xwindow "$E2E_CAPTION")"
e2e_driver wait "$E2E_CAPTION" >/dev/null
sleep 1.5
check "only the licence, updates and About tabs show" test "$(tabs)" = "$first_run_tabs"
check "the licence tab is the active one" test "$(e2e_driver tab "$E2E_CAPTION")" = License
check "the desktop shortcut is made" test -s "$shortcut"
for f in "Main category.txt" "Category 2.txt" "Category 3.txt" "etc.txt" "Categories.list"; do
    check "the default categories have '$f'" test -f "$cats/$f"
done
check "nothing is written to the settings file while running" test ! -e "$ini"
e2e_screenshot firstrun

# A second start while the first is minimised: it ends at once and the first comes back.
check "the window minimises" e2e_driver minimize "$E2E_CAPTION"
"$WINE" "$VP_BUILD/VelmorPasquill.exe" >"$E2E_TMP/second.log" 2>&1 &
second=$!
ended=
for _ in $(seq 1 80); do
    kill -0 "$second" 2>/dev/null || { ended=1; break; }
    sleep 0.1
done
check "the second start ends within a few seconds" test -n "$ended"
[ -n "$ended" ] || kill "$second" 2>/dev/null || true
sleep 1
check "there is still exactly one main window" test "$(e2e_driver count "$E2E_CAPTION")" = 1
check "the first window is no longer minimised" test "$(e2e_driver iconic "$E2E_CAPTION")" = 0

check "the licence page has its ok button" e2e_driver click "$E2E_CAPTION" btnAgree
sleep 0.7
check "'ok' shows the working tabs and hides the licence" \
    test "$(tabs)" = $'Main\nCategories\nSettings\nUpdates and news\nAbout'
check "'ok' makes Main the active tab" test "$(e2e_driver tab "$E2E_CAPTION")" = Main

# Killed before any orderly shutdown: no settings file, so the next start is a first run,
# which must not greet over what was collected.
e2e_driver setclip "collected before the kill"
sleep 0.7
check "the text is collected into the first category" \
    grep -q "collected before the kill" "$cats/Main category.txt"
rm -f "$shortcut"
"$WINESERVER" -k
check "the killed program is gone" e2e_wait_exit
check "a killed run leaves no settings file" test ! -e "$ini"
e2e_driver setclip "on the clipboard at the next start"
e2e_start
e2e_driver wait "$E2E_CAPTION" >/dev/null
sleep 1.5
check "after a kill the next start is a first run again" test "$(tabs)" = "$first_run_tabs"
check "and the shortcut is made again" test -s "$shortcut"
check "the first category keeps what the killed run collected" \
    grep -q "collected before the kill" "$cats/Main category.txt"

check "the window closes" test "$(e2e_driver close "$E2E_CAPTION")" = closed
check "the program ends" e2e_wait_exit
check "an orderly end writes the settings file" test -s "$ini"
check "with the default hotkey, Ctrl+F9, as its stored code" \
    test "$(sed '1s/^\xEF\xBB\xBF//' "$ini" | tr -d '\r' |
        awk '$0 == "[QRT/Soft]" { f = 1; next } /^\[/ { f = 0 } f && /^hotMonitor=/')" = \
    hotMonitor=16504
e2e_finish
