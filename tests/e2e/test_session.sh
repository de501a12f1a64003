#!/usr/bin/env bash
# The end of a Windows session saves everything at once while the program still runs,
# and only once, and leaves no icon in the tray. The auto-start entry follows its box;
# the shortcut button makes the desktop shortcut.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

data="$E2E_APPDATA/Velmor Pasquill"
ini="$data/Velmor Pasquill.ini"
main_file="$E2E_DOCUMENTS/Velmor Pasquill/Main category.txt"
shortcut="$E2E_DESKTOP/Velmor Pasquill.lnk"
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
pad() { e2e_driver get "$E2E_CAPTION" mmoClipboard; }
settle() { sleep 0.7; }
run_value() { "$WINE" reg query "$run_key" /v VelmorPasquill 2>/dev/null | tr -d '\r' || true; }
run_entry_is() { [[ "$(run_value)" == *"VelmorPasquill    REG_SZ    \"$1\""* ]]; }
no_run_entry() { [[ "$(run_value)" != *VelmorPasquill* ]]; }
file_text() { sed '1s/^\xEF\xBB\xBF//' "$1" | tr -d '\r'; }

e2e_driver setclip "collected"
e2e_start
check "the main window appears" test -n "$(e2e_xwindow "$E2E_CAPTION")"
e2e_driver wait "$E2E_CAPTION" >/dev/null
sleep 1.5

exe=$("$WINE" winepath -w "$VP_BUILD/VelmorPasquill.exe" 2>/dev/null | tr -d '\r')
e2e_driver click "$E2E_CAPTION" chkAutoStartUp
settle
check "ticking auto-start enters the quoted program path" run_entry_is "$exe"
e2e_driver click "$E2E_CAPTION" chkAutoStartUp
settle
check "unticking auto-start removes the entry" no_run_entry

rm -f "$shortcut"
e2e_driver click "$E2E_CAPTION" btnDesktopShortcut
settle
check "the shortcut button makes the desktop shortcut" test -s "$shortcut"

# An end of session that another program vetoes saves, and collecting goes on as before.
e2e_driver settext "$E2E_CAPTION" mmoClipboard $'[Main category]\r\ncollected\r\nbefore the veto'
settle
check "a vetoed end is answered" test "$(e2e_driver endsession "$E2E_CAPTION" veto)" = agreed
check "the vetoed end saves the pad" \
    test "$(file_text "$main_file")" = $'[Main category]\ncollected\nbefore the veto'
e2e_driver setclip "after the veto"
settle
check "copies are still collected after the veto" \
    test "$(pad)" = $'[Main category]\ncollected\nbefore the veto\nafter the veto'
check "and saved" \
    test "$(file_text "$main_file")" = $'[Main category]\ncollected\nbefore the veto\nafter the veto'

# Edits that nothing has saved yet: the pad typed into, a separator, an option.
e2e_driver settext "$E2E_CAPTION" mmoClipboard $'[Main category]\r\ncollected\r\ntyped by hand'
e2e_driver settext "$E2E_CAPTION" mmoSeparator ' ;'
e2e_driver click "$E2E_CAPTION" chkTrim
settle
# In the tray, as a program often is when the session ends.
check "the window minimises" e2e_driver minimize "$E2E_CAPTION"
settle
check "the tray icon shows" test "$(e2e_driver trayicon)" = 1
check "the session's end is agreed to" test "$(e2e_driver endsession "$E2E_CAPTION")" = agreed
check "the program still runs" kill -0 "$E2E_PID"
check "no tray icon is left behind" test "$(e2e_driver trayicon)" = 0
check "the pad is written to its category file" \
    test "$(file_text "$main_file")" = $'[Main category]\ncollected\ntyped by hand'
check "the settings file is written" grep -q '^chkTrim=0' "$ini"
check "the separator file is written" test "$(cat "$data/Separator.data")" = ' ;'

# Saved is final: no more collecting, and a later close writes nothing again.
e2e_driver setclip "after the session's end"
e2e_driver settext "$E2E_CAPTION" mmoSeparator ' changed'
e2e_driver click "$E2E_CAPTION" chkTrim
settle
check "nothing is collected after the save" \
    test "$(pad)" = $'[Main category]\ncollected\ntyped by hand'
check "the window closes" test "$(e2e_driver close "$E2E_CAPTION")" = closed
check "the program ends" e2e_wait_exit
check "the close saves no second time: the separator file" \
    test "$(cat "$data/Separator.data")" = ' ;'
check "the close saves no second time: the settings file" grep -q '^chkTrim=0' "$ini"
e2e_finish
