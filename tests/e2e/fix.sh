#!/usr/bin/env bash
# `Kelvane.exe /fix` on a registry seeded with a dead entry in every key a scan area reads (which
# texts are dead is for the checkers' unit tests) and values of every type: while its partial
# backup cannot be written nothing changes (exit code 2); then exactly the dead entries go but
# those that cannot (listed in tmp_rccantremove.lst), Settings.ini records the run, and importing
# the partial backup gives the registry back value for value.
set -u
source "$(dirname "$0")/lib/e2e.sh"
e2e_init "$@" fix

area 1 TimeZone
c=$WINEPREFIX/drive_c/KelvaneE2E
# The menu order is judged only while both Programs folders can be listed and one holds a folder.
mkdir -p "$c/Present" "$c/StartMenu/User/Accessories" "$c/StartMenu/Common"
echo e2e >"$c/Present/live.exe"
# Wine's own registry holds entries the scan rightly takes for dead (the zones not in
# effect, for one): a first fix removes them, so that the checked fixes meet the seed's only.
kelvane /fix
seed "$E2E_DATA/seed-areas.reg"
{ printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$E2E_DATA/seed-every-type.reg5"; } >"$E2E_DIR/every-type.reg"
seed "$E2E_DIR/every-type.reg"

# Dead entries that must stay: in a key the program may read but not change, an uninstall
# entry with a subkey nobody may open or named outside the ANSI code page (a REGEDIT4 backup
# would give it back as '?') and a string without its terminator (given back with one). Values
# whose name or data path lies outside the code page are not judged at all.
un='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall' gone='C:\KelvaneE2E\Gone'
set_values <<EOF
HKEY_CURRENT_USER\Software\KelvaneE2ELocked\ReadOnly DeadLocked 1 $(utf16 "$gone\\locked.exe")0000 D:P(A;;KR;;;WD)
$un\KelvaneE2ELockedEntry UninstallString 1 $(utf16 "\"$gone\\uninst.exe\"")0000
$un\KelvaneE2ELockedEntry\A%u0020Details Size 4 2a000000
$un\KelvaneE2ELockedEntry\Locked Secret 1 $(utf16 secret)0000 D:P
HKEY_CURRENT_USER\Software\KelvaneE2EUnicode Dead%u0020%u10d0 1 $(utf16 "$gone\\georgian.exe")0000
HKEY_CURRENT_USER\Software\KelvaneE2EUnicode DeadUnicodeData 1 $(utf16 "$gone\\ა.exe")0000
$un\KelvaneE2EUnicodeKey UninstallString 1 $(utf16 "$gone\\u.exe")0000
$un\KelvaneE2EUnicodeKey\%u10d0\%u10d1 Count 4 01000000
$un\KelvaneE2EUnterminated UninstallString 1 $(utf16 "$gone\\raw.exe")0000
$un\KelvaneE2EUnterminated Raw 1 $(utf16 raw)
EOF
dump "$E2E_DIR/before.txt"
$REGDIFF present "$E2E_DIR/before.txt" "$E2E_DATA/dead-entries.txt" || fail "the seed lacks dead entries"

echo "-- PartialBackup is a file: no partial backup can be written, so nothing is deleted"
rm -rf "$PROGRAM_DIR/PartialBackup"
echo blocked >"$PROGRAM_DIR/PartialBackup"
for key in LastScan LastClean ErrorCnt; do ini_set $key; done
kelvane /fix 2
dump "$E2E_DIR/blocked.txt"
check "the registry is as it was" $REGDIFF same "$E2E_DIR/before.txt" "$E2E_DIR/blocked.txt"
dead=$(grep -c . "$E2E_DATA/dead-entries.txt")
check "Settings.ini: LastScan is a time stamp" is_stamp "$(ini LastScan)"
check "Settings.ini: ErrorCnt ('$(ini ErrorCnt)') counts at least the $dead dead entries" \
  eval '[ "$(ini ErrorCnt)" -ge $dead ]'
check "Settings.ini: no LastClean" test -z "$(ini LastClean)"

echo "-- the fix that can back up"
rm "$PROGRAM_DIR/PartialBackup"
kelvane /fix
dump "$E2E_DIR/after.txt"
check "exactly the dead entries are removed, all others unchanged" \
  $REGDIFF removed "$E2E_DIR/before.txt" "$E2E_DIR/after.txt" "$E2E_DATA/dead-entries.txt"
zone=$(regtool info | head -n 1 | tr -d '\r')
check "the time zone in effect ($zone) is kept" grep -q "^\"Std\"=1:$(utf16 "$zone")0000$" "$E2E_DIR/after.txt"
check "Settings.ini: LastScan is a time stamp" is_stamp "$(ini LastScan)"
check "Settings.ini: LastClean is a time stamp" is_stamp "$(ini LastClean)"
check "Settings.ini: ErrorCnt=0" test "$(ini ErrorCnt)" = 0
backup=$(partial_backups)
check "one partial backup: $backup" test "$(partial_backups | wc -l)" = 1
check "it is named PartialBackup\\<yyyy-mm-dd_hh-mm-ss>.reg" \
  eval '[[ $backup =~ /PartialBackup/[0-9]{4}(-[0-9]{2}){2}_[0-9]{2}(-[0-9]{2}){2}\.reg$ ]]'
check "it is a REGEDIT4 file" test "$(head -c 8 "$backup")" = REGEDIT4
lst=$PROGRAM_DIR/tmp_rccantremove.lst
check "tmp_rccantremove.lst lists each entry that stayed once" has_lines "$lst" \
  'HKEY_CURRENT_USER\Software\KelvaneE2ELocked\ReadOnly\DeadLocked' "$un\\KelvaneE2ELockedEntry" \
  "$un\\KelvaneE2EUnicodeKey" "$un\\KelvaneE2EUnterminated"
# A name beyond the code page is never judged, nor is a path with such a letter.
check "the values with non-ANSI name or data are not listed" eval '! grep -iqF "KelvaneE2EUnicode\\Dead" "$lst"'
seed "$backup"
dump "$E2E_DIR/restored.txt"
check "importing the partial backup restores the registry exactly" \
  $REGDIFF same "$E2E_DIR/before.txt" "$E2E_DIR/restored.txt"
e2e_finish
