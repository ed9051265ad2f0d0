#!/usr/bin/env bash
# The backup page and the partial backups window as a user meets them: the home page's
# backup button makes a full backup behind the wait window, which the page then lists
# with its date, time and size; the retention switch is written at once; the partial
# backups window restores a seeded partial backup, which brings its entries back and
# consumes the file. Run by CTest as
#   bash backup.sh KELVANE_EXE SOURCE_DIR BUILD_DIR
set -uo pipefail
source "$(dirname "$0")/lib/gui.sh"
gui_init "$@" backup

# A key the full backup must hold, and a partial backup as the fix writes it (CR LF) of
# two values the registry does not hold yet.
wine reg add 'HKCU\Software\KelvaneGuiSeed' /v Seed /d planted /f >/dev/null 2>&1
partial_file=$program/PartialBackup/2009-03-14_08-05-09.reg
mkdir -p "$program/PartialBackup"
printf 'REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\KelvaneGuiRestore]\r\n"Name"="Value"\r\n"Count"=dword:00000007\r\n' \
  >"$partial_file"
printf 'not a backup' >"$program/PartialBackup/notes.txt"

page=$(page_id 3)
state() { drv control-state "$main" "$page/$1"; }
# The whole export as text (the editor writes UTF-16).
export_text() { iconv -f UTF-16 -t UTF-8 "$1" 2>/dev/null | tr -d '\r'; }
# FormatFileSize of a byte count.
size_text() {
  awk -v n="$1" 'BEGIN {
    if (n < 1024) printf "%dB", n; else if (n < 1048576) printf "%.2fKB", n / 1024;
    else if (n < 1073741824) printf "%.2fMB", n / 1048576; else printf "%.2fGB", n / 1073741824 }'
}

echo "== a full backup from the home page"
start English.txt
drv click "$main" "$(page_id 0)/1333"
check "the wait window shows while the registry is exported" \
  drv wait-window "$(text English.txt L0005)" 30
drv shot "$(text English.txt L0005)" "$shots/backup-wait.png"
box=$(drv answer-box "$(text English.txt L0021)" 180)
check "a written backup says it is done, under the product name" same "$box" \
  "Kelvane	$(text English.txt L0021)"
check "the backup page is shown" same "$(state 1000)" "visible enabled"
folders=("$program"/Backup/*/)
check "one backup folder" same "${#folders[@]}" 1
folder=${folders[0]%/}
stamp=$(basename "$folder")
check "named by its stamp" grep -qE '^[0-9]{4}(-[0-9]{2}){5}$' <<<"$stamp"
check "it holds the exported registry" same "$(export_text "$folder/allbak.reg" | head -1)" \
  "Windows Registry Editor Version 5.00"
check "with the key planted before" grep -q KelvaneGuiSeed <(export_text "$folder/allbak.reg")
check "LastBackup is written" test -n "$(ini LastBackup)"
IFS=- read -r y mo d h mi s <<<"$stamp"
check "the list shows its date, time and size" same "$(drv list-rows "$main" "$page/1501")" \
  "unticked	$y-$mo-$d	$h:$mi:$s	$(size_text "$(stat -c %s "$folder/allbak.reg")")"
check "nothing selected: no restore" same "$(state 1502)" "visible disabled"
drv click-row "$main" "$page/1501" 0 cell
sleep 0.3
check "a selected backup can be restored" same "$(state 1502)" "visible enabled"
check "and deleted" same "$(state 1503)" "visible enabled"
look "$main" page-backup

echo "== retention"
drv click "$main" "$page/1504"
sleep 0.3
check "clearing the switch writes 0 at once" same "$(ini AutoDelFullBackup)" 0
check "and turns the day count off" same "$(state 1506)" "visible disabled"
drv shot "$main" "$shots/page-backup-no-retention.png"
drv click "$main" "$page/1504"
sleep 0.3
check "ticking it writes 1" same "$(ini AutoDelFullBackup)" 1
check "the day count shows its default" same "$(drv text "$main" "$page/1506")" 90

echo "== the partial backups window"
partial=$(text English.txt L0088)
drv click "$main" "$page/1508"
check "the button opens the partial backups window" drv wait-window "$partial" 10
look "$partial" partial-backups
check "one row, for the stamped file" same "$(drv list-rows "$partial" 1520)" \
  "unticked	{ICON:0}Backup of 03/14/2009 08:05:09"
drv click-row "$partial" 1520 0 cell
sleep 0.3
drv click "$partial" 1521
box=$(drv answer-box "$(text English.txt L0095)" 10)
check "a restore asks first" same "$box" "$partial	$(text English.txt L0095)"
done_text=$(text English.txt L0094)
for _ in $(seq 100); do [ "$(drv text "$partial" 1524)" = "$done_text" ] && break; sleep 0.3; done
check "and then says it is done" same "$(drv text "$partial" 1524)" "$done_text"
values=$(wine reg query 'HKCU\Software\KelvaneGuiRestore' 2>/dev/null | tr -d '\r' |
  awk 'NF == 3 { print $1, $2, $3 }' | sort)
check "the backup's entries are back" same "$values" "Count REG_DWORD 0x7
Name REG_SZ Value"
check "the restored backup is consumed" test ! -e "$partial_file"
check "a file that is no backup stays" test -e "$program/PartialBackup/notes.txt"
check "one row says there is none" same "$(drv list-rows "$partial" 1520)" \
  "unticked	{ICON:0}$(text English.txt L0091)"
check "restore is off" same "$(drv control-state "$partial" 1521)" "visible disabled"
drv shot "$partial" "$shots/partial-backups-restored.png"
drv click "$partial" 2
check "Close closes the window" drv wait-gone "$partial" 10

drv close "$main"
ends "the close box"
finish
