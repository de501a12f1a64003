#!/usr/bin/env bash
# A full disk: a small tmpfs is the categories folder. The save fails with an error, the
# old file stays whole and no temporary file is left; once there is room the entry that
# waited in the pad is written, once; a line another program added before the disk filled
# is kept as well.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

cats="$E2E_DOCUMENTS/Velmor Pasquill"
main_file="$cats/Main category.txt"
error_box="Velmor Pasquill - Error"
text_of() { sed '1s/^\xEF\xBB\xBF//' "$1" | tr -d '\r'; }
settle() { sleep 1; }

mkdir -p "$cats"
if [ "$(id -u)" != 0 ] || ! mount -t tmpfs -o size=512k,mode=0777 tmpfs "$cats" 2>/dev/null; then
    echo "skipped: a full disk needs root and a tmpfs mount; this run has neither"
    exit 0
fi
trap 'vp_kill_prefix "$WINEPREFIX"; umount "$cats" 2>/dev/null; e2e_cleanup' EXIT

e2e_not_first_run
e2e_start
e2e_driver wait "$E2E_CAPTION" >/dev/null
settle
e2e_driver setclip "before the disk filled"
settle
old=$(text_of "$main_file")
check "the entry is saved while there is room" grep -q '^before the disk filled$' <<<"$old"

# Fill what is left; the file is kept small so the pad's next save cannot fit.
dd if=/dev/zero of="$cats/filler" bs=4k 2>/dev/null || true
e2e_driver setclip "while the disk is full"
box=$(e2e_driver box "$error_box") || true
check "the failed save shows an error" test -n "$box"
check "the error names the category file" grep -q 'Main category.txt' <<<"$box"
check "the old file stays whole" test "$(text_of "$main_file")" = "$old"
check "no temporary file is left" \
    test "$(ls -A "$cats" | grep -cE '^~vp[0-9a-f]+-[0-9a-f]+\.tmp$' || true)" = 0
e2e_screenshot fault_disk_full
e2e_driver answer "$error_box" 1 >/dev/null || true
check "the window answers" test -n "$(e2e_driver status "$E2E_CAPTION")"

rm -f "$cats/filler"
e2e_driver setclip "after room was made"
settle
now=$(text_of "$main_file")
check "the waiting entry is written once there is room" \
    test "$(grep -c '^while the disk is full$' <<<"$now")" = 1
check "the next entry follows it" test "$(tail -n 1 <<<"$now")" = "after room was made"
check "the earlier entry is there once" test "$(grep -c '^before the disk filled$' <<<"$now")" = 1

# Another program adds a line, then the disk fills: the reload needs no room, the save
# that follows fails with an error, and both the line and the copy wait for room.
printf 'outside line\r\n' >>"$main_file"
dd if=/dev/zero of="$cats/filler" bs=4k 2>/dev/null || true
e2e_driver setclip "while full after the outside line"
box=$(e2e_driver box "$error_box") || true
check "the failed save after a reload shows an error" test -n "$box"
check "the file keeps the outside line" test "$(text_of "$main_file" | tail -n 1)" = "outside line"
e2e_driver answer "$error_box" 1 >/dev/null || true
rm -f "$cats/filler"
e2e_driver setclip "room again"
settle
check "once there is room the outside line, the waiting copy and the next are saved" \
    test "$(text_of "$main_file" | tail -n 3)" = $'outside line\nwhile full after the outside line\nroom again'
check "the window closes" test "$(e2e_driver close "$E2E_CAPTION")" = closed
check "the program ends" e2e_wait_exit
e2e_finish
