#!/usr/bin/env bash
# Options, the separator, the backup path, the hotkey and the window's place survive a
# restart through the settings file; the second start is no first run and opens on the
# first category.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

data="$E2E_APPDATA/Velmor Pasquill"
ini="$data/Velmor Pasquill.ini"
checked() { e2e_driver checked "$E2E_CAPTION" "$1"; }
pad() { e2e_driver get "$E2E_CAPTION" mmoClipboard; }
settle() { sleep 0.7; }
# A key's value in a section of the settings file (UTF-8, CR LF).
ini_value() {
    sed '1s/^\xEF\xBB\xBF//' "$ini" | tr -d '\r' |
        awk -v s="[$1]" -v k="$2" '$0 == s { f = 1; next } /^\[/ { f = 0 }
            f && index($0, k "=") == 1 { print substr($0, length(k) + 2); exit }'
}

# Options that differ from the defaults; each pair is a box and its state after the change.
toggled=(chkAutoMonitor 0 chkMonitorWarn 0 chkTrim 0 chkDate 1 chkClearClpbrd 1
    chkBackup 1 chkDuplicateBip 0)
separator=$'\r\n— ; é —'
backup='C:\Temp\Sammlung ü\clips.txt'
hotkey=887 # Ctrl+Shift+F8 as the hotkey box holds it
shortcut_code=24695 # the same as a stored shortcut code: scCtrl + scShift + VK_F8

e2e_start
check "the main window appears" test -n "$(e2e_xwindow "$E2E_CAPTION")"
e2e_driver wait "$E2E_CAPTION" >/dev/null
sleep 1.5
check "the licence page has its ok button" e2e_driver click "$E2E_CAPTION" btnAgree
toggle_all() {
    local i
    for ((i = 0; i < ${#toggled[@]}; i += 2)); do
        e2e_driver click "$E2E_CAPTION" "${toggled[i]}" || return 1
    done
}
check "the options can be changed" toggle_all
e2e_driver settext "$E2E_CAPTION" mmoSeparator "$separator"
e2e_driver settext "$E2E_CAPTION" PathBackup "$backup"
e2e_driver hotkey "$E2E_CAPTION" hotMonitor "$hotkey"
e2e_driver move "$E2E_CAPTION" 120 90 860 640
settle
rect=$(e2e_driver rect "$E2E_CAPTION")
check "the window took its new place" test "$rect" = "120 90 860 640"
check "the window closes" test "$(e2e_driver close "$E2E_CAPTION")" = closed
check "the program ends" e2e_wait_exit

check "the settings file is written" test -s "$ini"
for ((i = 0; i < ${#toggled[@]}; i += 2)); do
    check "the file holds ${toggled[i]}=${toggled[i + 1]}" \
        test "$(ini_value QRT/Soft "${toggled[i]}")" = "${toggled[i + 1]}"
done
check "the date option switched anywhere mode on" test "$(ini_value QRT/Soft chkWeakDupe)" = 1
check "the file holds the backup path" test "$(ini_value QRT/Soft PathBackup)" = "$backup"
check "the file holds the hotkey as a shortcut code" \
    test "$(ini_value QRT/Soft hotMonitor)" = "$shortcut_code"
check "the file holds the window's left and top" \
    test "$(ini_value QRT/Soft MainForm-Left) $(ini_value QRT/Soft MainForm-Top)" = "120 90"
check "the file holds the normal window state" test "$(ini_value QRT/Soft MainForm-WindowState)" = 0
for key in PageControl MainForm-ClWidth MainForm-ClHeight; do
    check "the file holds $key" test -n "$(ini_value QRT/Soft "$key")"
done
check "the file holds the window's font" test -n "$(ini_value MainForm FormFontName)"
check "the separator file holds the box's text as UTF-8 without a mark" \
    cmp -s "$data/Separator.data" <(printf '%s' "$separator")

# The start-up applies the list, which selects the last category, then picks the first.
printf '[Main category]\r\nkept in the first category\r\n' \
    >"$E2E_DOCUMENTS/Velmor Pasquill/Main category.txt"
e2e_driver setclip "not collected after the restart"
e2e_start
e2e_driver wait "$E2E_CAPTION" >/dev/null
sleep 1.5
check "the second start is no first run" \
    test "$(e2e_driver tabs "$E2E_CAPTION")" = $'Main\nCategories\nSettings\nUpdates and news\nAbout'
check "it opens on Main" test "$(e2e_driver tab "$E2E_CAPTION")" = Main
for ((i = 0; i < ${#toggled[@]}; i += 2)); do
    check "${toggled[i]} comes back as ${toggled[i + 1]}" \
        test "$(checked "${toggled[i]}")" = "${toggled[i + 1]}"
done
check "the separator comes back" \
    test "$(e2e_driver get "$E2E_CAPTION" mmoSeparator)" = "$(tr -d '\r' <<<"$separator")"
check "the backup path comes back" test "$(e2e_driver get "$E2E_CAPTION" PathBackup)" = "$backup"
check "the hotkey comes back" test "$(e2e_driver hotkey "$E2E_CAPTION" hotMonitor)" = "$hotkey"
check "the window's place and size come back" test "$(e2e_driver rect "$E2E_CAPTION")" = "$rect"
check "the first category is selected, with its text" \
    test "$(pad)" = $'[Main category]\nkept in the first category'
check "monitoring stays off without auto-monitoring" \
    test "$(e2e_driver get "$E2E_CAPTION" btnMonitor)" = "Monitor clipboard"
e2e_screenshot restored

check "the window closes" test "$(e2e_driver close "$E2E_CAPTION")" = closed
check "the program ends" e2e_wait_exit
e2e_finish
