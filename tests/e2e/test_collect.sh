#!/usr/bin/env bash
# The main job: texts copied from Windows programs and from Linux land in the pad and in
# the selected category's file; duplicates, the date prefix, the separator, clearing
# after copy, the backup and private copies behave as set.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

cats="$E2E_DOCUMENTS/Velmor Pasquill"
main_file="$cats/Main category.txt"
pad() { e2e_driver get "$E2E_CAPTION" mmoClipboard; }
status() { e2e_driver status "$E2E_CAPTION"; }
# The text of the category file without its byte-order mark and carriage returns.
file_text() { tail -c +4 "$main_file" | tr -d '\r'; }
settle() { sleep 0.7; }

# Monitoring starts on its own and collects what the clipboard already holds.
e2e_not_first_run
e2e_driver setclip "first text"
e2e_start
check "the main window appears" test -n "$(e2e_xwindow "$E2E_CAPTION")"
e2e_driver wait "$E2E_CAPTION" >/dev/null
sleep 1.5
# Wine reports a copy made on the X side twice; the second report is a duplicate.
printf 'second text from Linux' | xclip -selection clipboard
sleep 1.5
e2e_driver setclip "third text"
settle
check "three copies, three entries" test "$(pad)" = $'[Main category]\nfirst text\nsecond text from Linux\nthird text'
check "the status counts 3" test "$(status)" = "Collected items: 3"
check "the category file holds the pad, with a byte-order mark" \
    test "$(head -c 3 "$main_file" | od -An -tx1 | tr -d ' ')" = efbbbf
check "the category file holds the three entries" \
    test "$(file_text)" = $'[Main category]\nfirst text\nsecond text from Linux\nthird text'
e2e_screenshot collect

e2e_driver setclip "THIRD TEXT"
settle
check "a duplicate line is ignored" test "$(status)" = "Duplicate item: THIRD TEXT"
e2e_driver click "$E2E_CAPTION" chkWeakDupe
settle
e2e_driver setclip "ird te"
settle
check "anywhere mode finds a part of a line" test "$(status)" = "Duplicate item: ird te"

e2e_driver setclip-private "ExcludeClipboardContentFromMonitorProcessing" "my password"
settle
check "a private copy is skipped" test "$(status)" = "Duplicate item: ird te"

e2e_driver click "$E2E_CAPTION" chkBackup
e2e_driver click "$E2E_CAPTION" chkDate
e2e_driver click "$E2E_CAPTION" chkClearClpbrd
e2e_driver settext "$E2E_CAPTION" mmoSeparator " ;"
settle
check "the date option switches anywhere mode on" test "$(e2e_driver checked "$E2E_CAPTION" chkWeakDupe)" = 1
today=$(date +%m/%d/%Y)
e2e_driver setclip "dated"
settle
check "the date prefix and the separator" test "$(pad | tail -n 1)" = "$today dated ;"
check "the clipboard is emptied after the copy" test -z "$(e2e_driver getclip)"
check "the status counts 4" test "$(status)" = "Collected items: 4"
check "the backup file receives the text" \
    test "$(tr -d '\r' <"$cats/ ClipboardItems backup.temp")" = $'\ndated'
check "the private copy never reached the backup" \
    bash -c "! grep -q password \"$cats/ ClipboardItems backup.temp\""

check "the window closes" test "$(e2e_driver close "$E2E_CAPTION")" = closed
check "the program ends" e2e_wait_exit
e2e_finish
