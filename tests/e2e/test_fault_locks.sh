#!/usr/bin/env bash
# Files that cannot be written and a clipboard that another program holds: each fault gives
# an error and keeps the old file whole, the waiting entry is saved once the fault ends, and
# switching away from a category that cannot be written keeps the pad's text in a recovery
# file and tells where.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

cats="$E2E_DOCUMENTS/Velmor Pasquill"
main_file="$cats/Main category.txt"
error_box="Velmor Pasquill - Error"
warning_box="Velmor Pasquill - Warning"
text_of() { sed '1s/^\xEF\xBB\xBF//' "$1" | tr -d '\r'; }
pad() { e2e_driver get "$E2E_CAPTION" mmoClipboard; }
answers() { test -n "$(e2e_driver status "$E2E_CAPTION")"; }
settle() { sleep 1; }

e2e_not_first_run
e2e_start
e2e_driver wait "$E2E_CAPTION" >/dev/null
settle
e2e_driver setclip "first entry"
settle

# Read-only: Wine shows a file without write permission as read-only.
old=$(text_of "$main_file")
chmod a-w "$main_file"
e2e_driver setclip "while read-only"
box=$(e2e_driver box "$error_box") || true
check "a read-only file gives an error naming it" grep -q 'Main category.txt' <<<"$box"
check "the read-only file keeps its text" test "$(text_of "$main_file")" = "$old"
e2e_driver answer "$error_box" 1 >/dev/null || true
check "the entry waits in the pad" grep -q '^while read-only$' <<<"$(pad)"
chmod u+w "$main_file"
e2e_driver setclip "after read-only"
settle
check "once writable, the waiting entry and the next are saved" \
    test "$(text_of "$main_file" | tail -n 2)" = $'while read-only\nafter read-only'

# Held open by another program, sharing nothing.
old=$(text_of "$main_file")
# Straight to a file: e2e_driver's filter would hold "locked" back until the end.
"$WINE" "$VP_BUILD/vp_driver.exe" lock "$(e2e_winpath "$main_file")" 5000 >"$E2E_TMP/lock.out" 2>/dev/null &
locker=$!
for _ in $(seq 1 100); do grep -q locked "$E2E_TMP/lock.out" 2>/dev/null && break; sleep 0.1; done
e2e_driver setclip "while locked"
box=$(e2e_driver box "$error_box") || true
check "a file held open gives an error naming it" grep -q 'Main category.txt' <<<"$box"
check "the held file keeps its text" test "$(text_of "$main_file")" = "$old"
e2e_driver answer "$error_box" 1 >/dev/null || true
wait "$locker" || true
e2e_driver setclip "after the lock"
settle
check "once released, the waiting entry and the next are saved" \
    test "$(text_of "$main_file" | tail -n 2)" = $'while locked\nafter the lock'
check "each entry is there once" test "$(text_of "$main_file" | sort | uniq -d)" = ""

# The clipboard held open when a change arrives: a short hold is waited out.
e2e_driver setclip-hold "held for a moment" 250
settle
check "a text held for a moment still arrives" grep -q '^held for a moment$' <<<"$(text_of "$main_file")"
e2e_driver setclip-hold "held for long" 3000
settle
check "a long hold leaves the window answering" answers
check "and the category file whole" grep -q '^held for a moment$' <<<"$(text_of "$main_file")"

# A category that cannot be written, with an entry waiting in the pad: switching away
# keeps the text in a recovery file and says where it went.
chmod a-w "$main_file"
e2e_driver setclip "waiting when switching"
e2e_driver box "$error_box" >/dev/null || true
e2e_driver answer "$error_box" 1 >/dev/null || true
e2e_driver click "$E2E_CAPTION" "Category 2"
box=$(e2e_driver box "$warning_box") || true
recovered=$(ls "$cats" | grep '^Recovered - Main category - .*\.txt$' | head -n 1) || true
check "a recovery file is written beside the categories" test -n "$recovered"
check "it holds the waiting entry" grep -q '^waiting when switching$' <<<"$(text_of "$cats/$recovered")"
check "the message tells where the text went" grep -qF "$recovered" <<<"$box"
e2e_screenshot fault_recovery
e2e_driver answer "$warning_box" 1 >/dev/null || true
settle
check "the other category is selected" test "$(pad)" = "[Category 2]"
check "the read-only file keeps its text" test "$(grep -c 'waiting when switching' "$main_file")" = 0
e2e_driver setclip "in category 2"
settle
check "collecting goes on in the other category" \
    grep -q '^in category 2$' <<<"$(text_of "$cats/Category 2.txt")"
chmod u+w "$main_file"

check "the window closes" test "$(e2e_driver close "$E2E_CAPTION")" = closed
check "the program ends" e2e_wait_exit
check "no temporary file is left" \
    test "$(ls -A "$cats" | grep -cE '^~vp[0-9a-f]+-[0-9a-f]+\.tmp$' || true)" = 0
e2e_finish
