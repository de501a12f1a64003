#!/usr/bin/env bash
# Other programs change the selected category's file while the program collects: an editor
# appends in place, a sync tool renames its version over it, a tool rewrites the same
# bytes, the user types in the pad meanwhile, and a stream of outside edits meets a stream
# of copies. Every line either side wrote ends in the category file or a recovery file.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

cats="$E2E_DOCUMENTS/Velmor Pasquill"
main_file="$cats/Main category.txt"
error_box="Velmor Pasquill - Error"
warning_box="Velmor Pasquill - Warning"
text_of() { sed '1s/^\xEF\xBB\xBF//' "$1" | tr -d '\r'; }
pad() { e2e_driver get "$E2E_CAPTION" mmoClipboard; }
status() { e2e_driver status "$E2E_CAPTION"; }
settle() { sleep 1; }
no_box() { ! e2e_driver box "$1" 1500 >/dev/null; }
recovered() { ls "$cats" | grep '^Recovered - Main category - .*\.txt$' || true; }

e2e_not_first_run
e2e_start
e2e_driver wait "$E2E_CAPTION" >/dev/null
settle
e2e_driver setclip "first entry"
settle

printf 'appended by an editor\r\n' >>"$main_file"
sleep 2
check "the pad shows the outside line without waiting for a copy" \
    test "$(pad | tail -n 1)" = "appended by an editor"
check "the status bar says the file was reloaded" \
    grep -q 'was reloaded because another program changed it' <<<"$(status)"
e2e_driver setclip "after the append"
settle
check "an outside append and the next copy are both in the file" \
    test "$(text_of "$main_file" | tail -n 3)" = $'first entry\nappended by an editor\nafter the append'

{ cat "$main_file"; printf 'synced from elsewhere\r\n'; } >"$cats/.sync-part"
mv -f "$cats/.sync-part" "$main_file"
e2e_driver setclip "after the sync"
settle
check "a version renamed over the file and the next copy are both in the file" \
    test "$(text_of "$main_file" | tail -n 2)" = $'synced from elsewhere\nafter the sync'

# The same bytes written again, while the pad holds a typed edit: no reload, no message.
e2e_driver settext "$E2E_CAPTION" mmoClipboard "$(pad | sed 's/$/\r/')"$'\ntyped, same bytes\r\n'
cp "$main_file" "$E2E_TMP/same" && sleep 0.1 && cat "$E2E_TMP/same" >"$main_file"
e2e_driver setclip "after the touch"
settle
check "a rewrite of the same bytes changes nothing" grep -qx 'Collected items: [0-9]*' <<<"$(status)"
check "the typed line is saved with the copy" \
    test "$(text_of "$main_file" | tail -n 2)" = $'typed, same bytes\nafter the touch'
check "and no recovery file is made" test -z "$(recovered)"
check "and no message shows" no_box "$warning_box"

# Typed in the pad while another program changed the file.
e2e_driver settext "$E2E_CAPTION" mmoClipboard "$(pad | sed 's/$/\r/')"$'\ntyped by hand\r\n'
printf 'edited elsewhere\r\n' >>"$main_file"
e2e_driver setclip "after both edits"
box=$(e2e_driver box "$warning_box") || true
rec=$(recovered | head -n 1)
check "a recovery file is made" test -n "$rec"
check "it holds the typed line" grep -q '^typed by hand$' <<<"$(text_of "$cats/${rec:-none}" 2>/dev/null)"
check "the message names it" grep -qF "${rec:-no recovery file}" <<<"$box"
e2e_screenshot fault_outside_edit
e2e_driver answer "$warning_box" 1 >/dev/null || true
check "the file keeps the other program's line and gets the copy" \
    test "$(text_of "$main_file" | tail -n 2)" = $'edited elsewhere\nafter both edits'
check "the file does not get the typed line" test "$(grep -c 'typed by hand' "$main_file")" = 0
check "the pad shows the file" test "$(pad)" = "$(text_of "$main_file")"
check "the user is told once" no_box "$warning_box"

# Outside edits and copies at once: 50 of each, about 100 ms apart. The backup tells which
# copies the program saw: one that the next replaced on the clipboard before the program
# read it never reached the program at all.
e2e_driver click "$E2E_CAPTION" chkBackup
backup="$cats/ ClipboardItems backup.temp"
e2e_driver setclip-series "copy " 1 50 100 &
stream=$!
for i in $(seq 1 50); do
    printf 'outside %d\r\n' "$i" >>"$main_file"
    sleep 0.1
done
wait "$stream" || true
settle
boxes=0
while msg=$(e2e_driver box "$error_box" 1500); do
    echo "error message: $(tr '\n' ' ' <<<"$msg" | cut -c1-300)"
    e2e_driver answer "$error_box" 1 >/dev/null || true
    boxes=$((boxes + 1))
done
e2e_driver setclip "after the stream"
settle
everything=$(for f in "$main_file" "$cats"/Recovered*.txt; do [ ! -f "$f" ] || text_of "$f"; done)
# Wine now and then reports one copy twice: the backup gets it twice, the pad once.
seen=$(text_of "$backup" | grep '^copy [0-9]*$' | sort -u | wc -l)
missing=0
outside_lost=0
for i in $(seq 1 50); do
    grep -qx "outside $i" <<<"$everything" || { echo "lost: outside $i"; outside_lost=$((outside_lost + 1)); }
    if grep -qx "copy $i" <(text_of "$backup"); then
        grep -qx "copy $i" <<<"$everything" || { echo "lost: copy $i"; missing=$((missing + 1)); }
    fi
done
echo "note: the program saw $seen of the 50 copies"
text_of "$main_file" | grep '^copy [0-9]*$' | sort | uniq -d | sed 's/^/twice in the file: /'
recovered | sed 's/^/recovery file: /'
check "every copy seen is kept ($missing lost, $boxes error messages)" test "$missing" = 0
# The limit: a line appended to the old version after the move (through a file opened just
# before it) goes with the old version. That moment is met now and then here (under Wine a
# Linux program's append is never held off by a sharing mode); more than a rare one would
# mean the look before each write, or the watch over the moment of the move, is missing.
echo "note: $outside_lost of 50 outside lines met the moment after the move"
check "every outside line is kept but for that moment ($outside_lost lost)" test "$outside_lost" -le 2
in_file=$(text_of "$main_file" | grep -c '^copy [0-9]*$' || true)
check "each copy seen is in the category file once ($in_file of $seen)" test "$in_file" = "$seen"

check "the window closes" test "$(e2e_driver close "$E2E_CAPTION")" = closed
check "the program ends" e2e_wait_exit
check "the last copy is in the file" test "$(text_of "$main_file" | tail -n 1)" = "after the stream"
check "no temporary file is left" \
    test "$(ls -A "$cats" | grep -cE '^~vp[0-9a-f]+-[0-9a-f]+\.tmp$' || true)" = 0
e2e_finish
