#!/usr/bin/env bash
# A scan and a fix as a user does them in the window: dead and healthy start-up entries are
# seeded, the scan page scans, one dead row is unticked (its tick box and the context menu
# each flip it once), an entry is looked at in the detail pop-up, and the fix runs behind
# the wait window. Then the registry holds the unticked and the healthy entries only, the
# partial backup gives the removed ones back exactly and Settings.ini records the run.
# Last, closing the window while a scan runs ends the program cleanly. Run by CTest as
#   bash scan.sh KELVANE_EXE SOURCE_DIR BUILD_DIR
set -uo pipefail
source "$(dirname "$0")/lib/gui.sh"
gui_init "$@" scan

# Only the start-up area is scanned, so that the rows are the seeded ones.
sed -i -E 's/(<[A-Za-z]+ default="[01]" custom=")1"/\10"/; s/(<Run [^>]*custom=")0"/\11"/' \
  "$program/Settings.xml"
user='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
machine='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
seeded=("$user KelvaneGuiDeadA C:\\KelvaneGone\\a.exe"
  "$user KelvaneGuiDeadB \"C:\\KelvaneGone\\b.exe\" /min"
  "$machine KelvaneGuiDeadC C:\\KelvaneGone\\c.exe"
  "$user KelvaneGuiLive C:\\windows\\regedit.exe")
for entry in "${seeded[@]}"; do
  read -r key name data <<<"$entry"
  wine reg add "$key" /v "$name" /d "$data" /f >/dev/null 2>&1
done
# Many more, so that the fix lasts long enough for its wait window to be seen.
bulk=2000
{
  printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n'
  for n in $(seq $bulk); do printf '"KelvaneGuiBulk%d"="C:\\\\KelvaneGone\\\\bulk%d.exe"\r\n' "$n" "$n"; done
} >"$program/bulk.reg"
wine regedit /s 'C:\Kelvane\bulk.reg' >/dev/null 2>&1
# The value's data as `reg query` shows it, or nothing when the value is gone.
value() { wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_SZ *//p"; }
before=$(for entry in "${seeded[@]}"; do read -r key name _ <<<"$entry"; value "$key" "$name"; done)

scan_page=$(page_id 1)
list=$scan_page/1342
rows() { drv list-rows "$main" "$list" | cut -f1,2,4 | grep KelvaneGuiDead | sort -t$'\t' -k3; }
row_of() { drv list-rows "$main" "$list" | awk -F'\t' -v n="$1" '$4 == n { print NR - 1; exit }'; }
scan_ends() {  # until the stop button is disabled again
  for _ in $(seq 100); do
    [ "$(drv control-state "$main" "$scan_page/1022")" = "visible disabled" ] && return 0
    sleep 0.3
  done
  false
}

start English.txt
goto_page 1
look "$main" scan-start

echo "== the area dialog"
drv click "$main" "$scan_page/1045"
areas=$(text English.txt L0125)
check "the areas link opens the area dialog" drv wait-window "$areas" 10
look "$areas" area-dialog
drv click "$areas" 2
check "Cancel closes it" drv wait-gone "$areas" 10

echo "== the scan"
drv click "$main" "$scan_page/1000"
check "the scan ends" scan_ends
check "the status line counts the rows" same "$(drv text "$main" "$scan_page/1345")" \
  "$(text English.txt L0046 | sed "s/%d/$((bulk + 3))/")"
check "the three dead entries are listed ticked, the healthy one is not" same "$(rows)" \
  "$(printf 'ticked\tHKEY_CURRENT_USER\tKelvaneGuiDeadA\nticked\tHKEY_CURRENT_USER\tKelvaneGuiDeadB\nticked\tHKEY_LOCAL_MACHINE\tKelvaneGuiDeadC')"
look "$main" scan-results

b=$(row_of KelvaneGuiDeadB)
ticked_b() { drv list-rows "$main" "$list" | sed -n "$((b + 1))p" | cut -f1; }
drv click-row "$main" "$list" "$b" tick
sleep 0.3
check "a click in the tick box unticks the row once" same "$(ticked_b)" unticked
drv click-row "$main" "$list" "$b" menu
check "the row's context menu opens" drv wait-window "#32768" 10
drv shot "$main" "$shots/scan-context-menu.png"
check "its first entry ticks the unticked row" drv menu-pick "$(text English.txt L0080)" 1 10
sleep 0.3
check "and it is ticked again" same "$(ticked_b)" ticked
drv click-row "$main" "$list" "$b" tick
sleep 0.3
check "the next click unticks it again" same "$(ticked_b)" unticked

drv click-row "$main" "$list" "$b" cell
detail=$(text English.txt L0065)
check "a click on a row shows its detail pop-up" drv wait-window "$detail" 10
check "the pop-up shows the row's value" same "$(drv text "$detail" 1417)" KelvaneGuiDeadB
look "$detail" issue-detail-scan
drv click "$detail" 2
check "the pop-up closes" drv wait-gone "$detail" 10

echo "== the fix"
drv click "$main" "$scan_page/1023"
wait_title=$(text English.txt L0044)
check "the fix runs behind the wait window" drv wait-window "$wait_title" 10 &&
  look "$wait_title" wait-fix
check "the wait window closes when the fix is done" drv wait-gone "$wait_title" 30
sleep 0.5
check "only the unticked row is left" same "$(rows)" \
  "$(printf 'unticked\tHKEY_CURRENT_USER\tKelvaneGuiDeadB')"
check "the count follows" same "$(drv text "$main" "$scan_page/1345")" \
  "$(text English.txt L0046 | sed 's/%d/1/')"
look "$main" scan-after-fix
check "the ticked dead entries are gone" same "$(value "$user" KelvaneGuiDeadA)$(value "$machine" KelvaneGuiDeadC)" ""
check "the unticked one stays" same "$(value "$user" KelvaneGuiDeadB)" '"C:\KelvaneGone\b.exe" /min'
check "the healthy one stays" same "$(value "$user" KelvaneGuiLive)" 'C:\windows\regedit.exe'
backups=("$program"/PartialBackup/*.reg)
check "one partial backup was written" test ${#backups[@]} -eq 1 -a -f "${backups[0]}"
wine regedit /s "C:\\Kelvane\\PartialBackup\\$(basename "${backups[0]}")" >/dev/null 2>&1
after=$(for entry in "${seeded[@]}"; do read -r key name _ <<<"$entry"; value "$key" "$name"; done)
check "importing it gives the removed entries back exactly" same "$after" "$before"
check "Settings.ini: ErrorCnt is the rows left" same "$(ini ErrorCnt)" 1
check "Settings.ini: LastScan is a time stamp" grep -Eqx '[0-9]{4}(-[0-9]{2}){2} [0-9:]{8}' <<<"$(ini LastScan)"

echo "== closing while a scan runs"
sed -i -E 's/(custom=")0"/\11"/' "$program/Settings.xml"  # every area: a longer scan
drv click "$main" "$scan_page/1051"
sleep 0.3
drv click "$main" "$scan_page/1000"
sleep 0.5
check "the scan runs" same "$(drv control-state "$main" "$scan_page/1022")" "visible enabled"
drv close "$main"
box=$(drv answer-box "$(text English.txt L0057)" 10)
check "closing asks first" same "$box" "$(text English.txt L0025)	$(text English.txt L0057)"
ends "closing during a scan"

finish
