#!/usr/bin/env bash
# The odd files a user may have: NUL characters in a category file, a 300-line list of
# odd names, a settings file of random bytes and a category file in the ANSI code page.
# The window comes up, names what it could not use in one message that fits the screen,
# and loses no text, also when another program puts such a file in place meanwhile.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

cats="$E2E_DOCUMENTS/Velmor Pasquill"
data="$E2E_APPDATA/Velmor Pasquill"
main_file="$cats/Main category.txt"
error_box="Velmor Pasquill - Error"
pad() { e2e_driver get "$E2E_CAPTION" mmoClipboard; }
settle() { sleep 1; }
text_of() { sed '1s/^\xEF\xBB\xBF//' "$1" | tr -d '\r'; }
no_box() { ! e2e_driver box "$1" 1500 >/dev/null; }

mkdir -p "$cats" "$data"
printf 'before nul\r\nx\r\n\0\r\ny\r\nafter nul\r\n' >"$main_file"
printf '[Category 2]\r\nCaf\xe9 cr\xe8me\r\n' >"$cats/Category 2.txt"
head -c 4096 /dev/urandom >"$data/Velmor Pasquill.ini"
# A folder where one category's file would go: that name cannot have its file.
mkdir "$cats/blocked.txt"
long=$(printf 'L%.0s' $(seq 1 240))
{
    printf 'Main category\r\nCategory 2\r\nblocked\r\n%s\r\n' "$long"
    printf '%s\r\n' CON nul COM1 'LPT9.old' 'a<b>c|d' 'what?' 'star*' '"quoted"' 'tab	in' \
        '   ' '' 'x:y' 'back\slash' 'dots...' '.' '..'
    for i in $(seq 1 280); do printf 'name %d\r\n' "$i"; done
} >"$cats/Categories.list"

e2e_start
check "the main window appears" test -n "$(e2e_xwindow "$E2E_CAPTION")"
box=$(e2e_driver box "$error_box" 20000) || true
check "one message names what got no file" grep -q '^blocked$' <<<"$box"
check "the message says the lines stay" grep -q 'Their lines stay in the list' <<<"$box"
read -r _ _ width _ < <(e2e_driver rect "$error_box")
check "the message fits the screen (width ${width:-?})" test "${width:-9999}" -lt 1280
e2e_screenshot fault_odd_names
e2e_driver answer "$error_box" 1 >/dev/null || true
check "no second message follows" no_box "$error_box"

shown=$'before nul\nx\n\u2400\ny\nafter nul'
check "the text after a NUL is in the pad, the NUL as a symbol" test "$(pad)" = "$shown"
e2e_driver setclip "collected after the NUL"
settle
saved=$(sed '1s/^\xEF\xBB\xBF//' "$main_file" | tr -d '\r')
check "the save keeps the text after the NUL" \
    test "${saved:0:${#shown}}" = "$shown"
check "and adds the new entry" test "$(tail -n 1 <<<"$saved")" = "collected after the NUL"

for f in _CON.txt _nul.txt _COM1.txt _LPT9.old.txt a_b_c_d.txt what_.txt star_.txt _quoted_.txt \
    tab_in.txt x_y.txt back_slash.txt dots....txt ..txt ...txt 'name 1.txt' 'name 280.txt'; do
    check "$f is made" test -f "$cats/$f"
done
cut=$(ls "$cats" | grep -E '^L+\.txt$') || true
check "the over-long name gets a shortened file" test -n "$cut"
check "which holds the whole name" grep -qF "[$long]" "$cats/$cut"
check "the list keeps every line but the blank ones" \
    test "$(grep -c . "$cats/Categories.list")" = 298
check "the list keeps the names that got no file" grep -q '^blocked' "$cats/Categories.list"

e2e_driver click "$E2E_CAPTION" "Category 2"
settle
if [ "$(e2e_driver acp)" = 1252 ]; then
    check "an ANSI category file reads in the code page" test "$(pad)" = $'[Category 2]\nCafé crème'
else
    echo "skipped: the ANSI check needs code page 1252"
fi

# Another program replaces the selected file with one in the ANSI code page holding a NUL:
# it is read as any such file is, and its text stays when the next copy is saved on top.
printf '[Category 2]\r\nna\xefve\r\nx\0y\r\n' >"$cats/.replacement"
mv -f "$cats/.replacement" "$cats/Category 2.txt"
e2e_driver setclip "after the odd replacement"
settle
replaced=$(text_of "$cats/Category 2.txt")
check "the file's line with a NUL stays, the NUL as a symbol" grep -qx $'x\u2400y' <<<"$replaced"
check "and the copy follows" test "$(tail -n 1 <<<"$replaced")" = "after the odd replacement"
if [ "$(e2e_driver acp)" = 1252 ]; then
    check "its ANSI line stays, now in UTF-8" grep -qx 'naïve' <<<"$replaced"
fi
check "the window closes" test "$(e2e_driver close "$E2E_CAPTION")" = closed
check "the program ends" e2e_wait_exit
check "the settings file of random bytes was written anew" \
    grep -q '^\[QRT/Soft\]' <(sed '1s/^\xEF\xBB\xBF//' "$data/Velmor Pasquill.ini" | tr -d '\r')
e2e_finish
