#!/usr/bin/env bash
# "Check for news" downloads the news file (through the prefix's proxy setting, which points
# at a server of this test on 127.0.0.1), the tab shows the news, the status and the
# announced version, and the news and the time of the check outlive the program. The server
# holds its answer back for a while, and the window answers meanwhile. A later check meets
# a network's sign-in page instead: it fails and the news stays.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

data="$E2E_APPDATA/Velmor Pasquill"
ini="$data/Velmor Pasquill.ini"
get() { e2e_driver get "$E2E_CAPTION" "$1"; }

# The request must never leave this machine: no proxy from the environment either.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY no_proxy NO_PROXY
news=$'!TAnnouncer\r\nVelmor Pasquill news\r\n4.6.0.0\r\n12\r\nVersion 4.6 is out: faster capture and a new tray menu.\r\n\r\nDownload it from our web site.\r\n'
printf '%s' "$news" >"$E2E_TMP/updater.bin"
printf '<!DOCTYPE html>\r\n<html><head><title>Sign in to the free Wi-Fi</title></head></html>\r\n' \
    >"$E2E_TMP/signin.html"
python3 "$VP_SOURCE/tests/e2e/news_server.py" "$E2E_TMP/port" "$E2E_TMP/updater.bin" \
    "$E2E_TMP/requests.log" 8 "$E2E_TMP/signin.html" &
server_pid=$!
news_cleanup() {
    kill "$server_pid" 2>/dev/null || true
    wait "$server_pid" 2>/dev/null || true
    e2e_cleanup
}
trap news_cleanup EXIT
trap 'exit 143' INT TERM
for _ in $(seq 1 100); do
    [ -s "$E2E_TMP/port" ] && break
    sleep 0.1
done
port=$(cat "$E2E_TMP/port" 2>/dev/null || true)
check "the news server listens on 127.0.0.1" test -n "$port"

settings='HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings'
"$WINE" reg add "$settings" /v ProxyEnable /t REG_DWORD /d 1 /f >/dev/null 2>&1
"$WINE" reg add "$settings" /v ProxyServer /d "127.0.0.1:$port" /f >/dev/null 2>&1

# A later start, on the "Updates and news" tab.
e2e_not_first_run
printf '[QRT/Soft]\r\nPageControl=4\r\n' >"$ini"

e2e_start
check "the main window appears" test -n "$(e2e_xwindow "$E2E_CAPTION")"
e2e_driver wait "$E2E_CAPTION" >/dev/null
sleep 1.5
check "the updates tab is the active one" test "$(e2e_driver tab "$E2E_CAPTION")" = "Updates and news"
check "the status line waits" test "$(get lblStatus)" = "."
check "the version line has no online version yet" \
    test "$(get lblVersion)" = "You are running version: $E2E_VERSION.  Online version: ?"

check "the check button is there" e2e_driver click "$E2E_CAPTION" btnCheckManually
for _ in $(seq 1 20); do
    grep -q '^GET ' "$E2E_TMP/requests.log" 2>/dev/null && break
    sleep 0.2
done
# The server holds its answer for 8 s: a window that waited for it could not say this.
status=$(timeout 5 "$WINE" "$VP_BUILD/vp_driver.exe" get "$E2E_CAPTION" lblStatus 2>/dev/null |
    tr -d '\r' || true)
check "while the server holds its answer the window answers: checking (was '$status')" \
    test "$status" = "Checking for news..."
e2e_screenshot news_checking
status=
for _ in $(seq 1 100); do
    status=$(get lblStatus)
    [ "$status" = "We have news for you!" ] && break
    sleep 0.2
done
check "the status says there is news (was '$status')" test "$status" = "We have news for you!"
log=$(get Log)
check "the news text is shown" \
    test "$log" = $'Version 4.6 is out: faster capture and a new tray menu.\n\nDownload it from our web site.'
check "the version line shows the announced version" \
    test "$(get lblVersion)" = "You are running version: $E2E_VERSION.  Online version: 4.6.0.0"
check "the request reached the test's server through the proxy" \
    grep -qE '^GET http://velmorpasquill\.com(:80)?/downloads/pasquill/updater\.bin HTTP/1\.1$' \
    "$E2E_TMP/requests.log"
check "it presents itself with the fixed user agent" grep -q \
    '^User-Agent: Mozilla/5.0 (Windows; U; Windows NT 5.1; en-US; rv:1.9.0.10) Gecko/2009042316 Firefox/3.0.10$' \
    "$E2E_TMP/requests.log"
e2e_screenshot news

check "the window closes" test "$(e2e_driver close "$E2E_CAPTION")" = closed
check "the program ends" e2e_wait_exit
check "the news is kept in the local copy, as downloaded" cmp -s "$data/OnlineNews" "$E2E_TMP/updater.bin"
check "the time of the check is stored" \
    grep -qE '^LastUpdate=[0-9]{5}' <(sed -n '/^\[Velmor Pasquill\]/,/^\[/p' "$ini" | tr -d '\r')
check "the panel's settings are stored after the main window's" \
    test "$(tr -d '\r' <"$ini" | grep -nE '^(actSortLines|pgControl)=' | cut -d: -f2 | cut -d= -f1 | tr '\n' ' ')" = "actSortLines pgControl "

# The next start shows the stored news at once, here on the panel's settings page.
sed -i 's/^pgControl=0/pgControl=1/' "$ini"
e2e_start
check "the main window appears again" test -n "$(e2e_xwindow "$E2E_CAPTION")"
e2e_driver wait "$E2E_CAPTION" >/dev/null
sleep 1.5
check "the stored news is shown at start" test "$(get Log)" = "$(printf '%s' "$log")"
check "the version line compares with the stored news" \
    test "$(get lblVersion)" = "You are running version: $E2E_VERSION.  Online version: 4.6.0.0"
check "every time the program starts is the interval chosen" \
    test "$(e2e_driver checked "$E2E_CAPTION" radEveryTime)" = 1
e2e_screenshot news_settings
check "the window closes again" test "$(e2e_driver close "$E2E_CAPTION")" = closed
check "the program ends again" e2e_wait_exit
check "only the one check reached the server" test "$(grep -c '^GET ' "$E2E_TMP/requests.log")" = 1

# The next check meets a sign-in page, answered with status 200.
last_update() { tr -d '\r' <"$ini" | sed -n '/^\[Velmor Pasquill\]/,/^\[/p' | grep '^LastUpdate='; }
stored=$(last_update)
sed -i 's/^pgControl=1/pgControl=0/' "$ini"
e2e_start
check "the main window appears a third time" test -n "$(e2e_xwindow "$E2E_CAPTION")"
e2e_driver wait "$E2E_CAPTION" >/dev/null
sleep 1.5
e2e_driver click "$E2E_CAPTION" btnCheckManually
box=$(e2e_driver box "Velmor Pasquill - Error" 20000 | tr -d '\n') || true
check "a sign-in page is a failed check, and says so (was '$box')" \
    test "$box" = "Cannot check for news & updates!The server sent a page that is not a news file."
e2e_driver answer "Velmor Pasquill - Error" 1 >/dev/null || true
check "the status says the check failed" test "$(get lblStatus)" = \
    "Cannot check for news! Make sure this program is not blocked by your firewall!"
check "the news shown stays" test "$(get Log)" = "$(printf '%s' "$log")"
check "the announced version stays" \
    test "$(get lblVersion)" = "You are running version: 4.5.0.  Online version: 4.6.0.0"
e2e_screenshot news_signin
check "the window closes a third time" test "$(e2e_driver close "$E2E_CAPTION")" = closed
check "the program ends a third time" e2e_wait_exit
check "the local copy stays" cmp -s "$data/OnlineNews" "$E2E_TMP/updater.bin"
check "the time of the last check stays" test "$(last_update)" = "$stored"
check "the second check reached the server" test "$(grep -c '^GET ' "$E2E_TMP/requests.log")" = 2
e2e_finish
