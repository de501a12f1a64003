#!/usr/bin/env bash
# Killed (SIGKILL) at random moments while a stream of copies arrives, round after round:
# the category file always holds its old text followed by whole entries, and every start
# removes what an interrupted save left behind, and nothing else.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

cats="$E2E_DOCUMENTS/Velmor Pasquill"
data="$E2E_APPDATA/Velmor Pasquill"
main_file="$cats/Main category.txt"
rounds=${VP_KILL_ROUNDS:-8}
# Temporary files of a save, but for the one of a copy that still runs ($running).
running=
leftovers() {
    ls -A "$cats" "$data" 2>/dev/null | grep -E '^~vp[0-9a-f]+-[0-9a-f]+\.tmp$' |
        grep -cvxF "${running:-/}" || true
}
# The file's text without its byte-order mark.
text_of() { sed '1s/^\xEF\xBB\xBF//' "$1"; }
started() { e2e_driver wait "$E2E_CAPTION" >/dev/null && sleep 1.5; }

e2e_not_first_run
mkdir -p "$cats"
# What a crash left, and files that only look like it.
for d in "$cats" "$data"; do
    printf 'half a save' >"$d/~vpfffffff0-1.tmp"
    printf 'mine' >"$d/~vpfffffff0-1.tmp.keep"
    printf 'mine' >"$d/~VPFFFFFFF0-2.TMP"
done
e2e_start
started
check "start-up removes the leftover temporary files" test "$(leftovers)" = 0
check "files that only look like them stay" \
    test "$(cat "$cats/~vpfffffff0-1.tmp.keep" "$data/~VPFFFFFFF0-2.TMP")" = minemine

next=1
whole=0
left=0
for round in $(seq 1 "$rounds"); do
    [ "$round" -eq 1 ] || { e2e_start; started; }
    check "round $round starts without temporary files" test "$(leftovers)" = 0
    before=$(text_of "$main_file"; printf x)
    # About two seconds of copies, 40 ms apart; the kill falls somewhere inside them.
    e2e_driver setclip-series "entry " "$next" 50 40 &
    stream=$!
    sleep "$(awk -v r="$RANDOM" 'BEGIN { printf "%.2f", 0.3 + r / 32767 * 1.6 }')"
    kill -KILL "$E2E_PID"
    wait "$E2E_PID" 2>/dev/null || true
    wait "$stream" || true
    next=$((next + 50))
    [ "$(leftovers)" = 0 ] || left=$((left + 1))
    # The old text, then only whole "entry N" lines, each number above the one before.
    if python3 - "$main_file" "${before%x}" <<'PY'; then whole=$((whole + 1)); else echo "FAILED: round $round: the category file is not whole"; fi
import re, sys
raw = open(sys.argv[1], "rb").read()
text = raw[3:] if raw.startswith(b"\xef\xbb\xbf") else raw
old = sys.argv[2].encode()
if not text.startswith(old):
    sys.exit(1)
rest = text[len(old):].decode()
lines = re.findall(r"entry (\d+)\r\n", rest)
if "".join(f"entry {n}\r\n" for n in lines) != rest:
    sys.exit(1)
numbers = [int(n) for n in lines]
sys.exit(0 if numbers == sorted(set(numbers)) else 1)
PY
done
check "the category file was whole after each of $rounds kills" test "$whole" = "$rounds"
echo "note: $left of $rounds kills left a temporary file behind"

# A copy of the program that still runs may be in the middle of a save: its temporary
# files stay. A suspended copy runs as far as anyone can tell and holds no lock; the
# clean-up ends it with the prefix.
"$WINE" "$VP_BUILD/vp_driver.exe" suspended "$(e2e_winpath "$VP_BUILD/VelmorPasquill.exe")" \
    60000 >"$E2E_TMP/copy.pid" 2>/dev/null &
for _ in $(seq 1 100); do [ -s "$E2E_TMP/copy.pid" ] && break; sleep 0.1; done
copy_pid=$(tr -d '\r\n' <"$E2E_TMP/copy.pid")
check "a suspended copy of the program runs" test -n "$copy_pid"
running=$(printf '~vp%x-1.tmp' "${copy_pid:-0}")
for d in "$cats" "$data"; do
    printf 'being saved' >"$d/$running"
    printf 'half a save' >"$d/~vpfffffff0-3.tmp"
done
e2e_start
started
check "the last start removed every temporary file" test "$(leftovers)" = 0
check "but those of a copy that still runs" \
    test "$(cat "$cats/$running" "$data/$running" 2>/dev/null)" = "being savedbeing saved"
check "the window answers" test -n "$(e2e_driver status "$E2E_CAPTION")"
check "the window closes" test "$(e2e_driver close "$E2E_CAPTION")" = closed
check "the program ends" e2e_wait_exit
check "the category file holds entries of the stream" grep -q '^entry [0-9]' "$main_file"
e2e_finish
