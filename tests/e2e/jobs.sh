#!/usr/bin/env bash
# The unattended jobs: the job words in every dress, each job once, the full backup before
# the fix; /backup and the retention of old backups; /defrag on hive list entries that point
# at hive files the test made.
set -u
source "$(dirname "$0")/lib/e2e.sh"
e2e_init "$@" jobs

# Only the Run area, so that each fix is quick: one dead start-up value shows whether it ran.
area 0 UserSoft CommonSoft SysSoft Com Uninstall Recent StartMenu Dll Language TimeZone
run_key='HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run'
kelvane /fix  # wine's own dead start-up entries, if any
fresh() {  # a dead value to fix, no backups and no time stamps of earlier runs
  regtool set "$run_key" KelvaneE2EDead 1 "$(utf16 '"C:\KelvaneE2E\Gone\cmd.exe" /min')0000"
  for key in LastScan LastClean ErrorCnt LastBackup LastDefrag; do ini_set $key; done
  rm -rf "$PROGRAM_DIR/PartialBackup" "$PROGRAM_DIR/Backup"
}
dead_left() { wine reg query "$run_key" /v KelvaneE2EDead >/dev/null 2>&1; }
for words in /fix -fix --FIX %u0022fix%u0022 /Fix/ '/fix /fix' fix/defrag; do
  fresh
  kelvane "$words"
  shown=${words//%u0022/\"}
  if [ "$words" = fix/defrag ]; then
    check "'$shown' runs no job: the dead value stays" dead_left
    check "'$shown' runs no job: no LastScan" test -z "$(ini LastScan)"
    check "'$shown' runs no job: no LastDefrag" test -z "$(ini LastDefrag)"
    check "'$shown' runs no job: no partial backup" test -z "$(partial_backups)"
  else
    check "'$shown' runs the fix: the dead value is gone" eval '! dead_left'
    check "'$shown' runs the fix: LastClean is a time stamp" is_stamp "$(ini LastClean)"
    check "'$shown' runs the fix once: one partial backup" test "$(partial_backups | wc -l)" = 1
  fi
done

echo "-- '/fix /backup': the full backup first; retention deletes the backups old enough"
base=$(date '+%F %T')
stamp() { date -d "$base $2" "+%Y-%m-%d$1%H-%M-%S"; }  # stamp SEPARATOR AGE
seed_backups() {  # backups around the default ages (60 days partial, 90 full), other names
  local p=$PROGRAM_DIR/PartialBackup f=$PROGRAM_DIR/Backup age
  mkdir -p "$p/$(stamp _ '300 days ago')" "$f/old"
  for age in '61 days ago' '60 days ago' '59 days ago 23 hours ago' '2 hours ago'; do echo x >"$p/$(stamp _ "$age").reg"; done
  for age in '91 days ago' '90 days ago' '89 days ago 23 hours ago'; do
    mkdir -p "$f/$(stamp - "$age")" && echo x >"$f/$(stamp - "$age")/allbak.reg"
  done
  echo x | tee "$p/notes.txt" "$f/$(stamp - '300 days ago')" >/dev/null
}
listing() { (cd "$PROGRAM_DIR" && find PartialBackup Backup -mindepth 1 -maxdepth 1 | sort); }
fresh
seed_backups
before=$(listing)
kelvane '/fix /backup'
full=$(comm -13 <(echo "$before") <(listing) | grep '^Backup/')
check "one new Backup\\<yyyy-mm-dd-hh-mm-ss>: $full" grep -Eqx 'Backup/[0-9]{4}(-[0-9]{2}){5}' <<<"$full"
iconv -f UTF-16LE -t UTF-8 "$PROGRAM_DIR/$full/allbak.reg" 2>/dev/null | tr -d '\r' >"$E2E_DIR/allbak.txt"
check "its allbak.reg exports the whole registry" \
  grep -qxF "[HKEY_LOCAL_MACHINE\Software\Microsoft]" "$E2E_DIR/allbak.txt"
check "it holds the dead value: the backup ran before the fix" \
  grep -q "^\"KelvaneE2EDead\"=" "$E2E_DIR/allbak.txt"
check "the fix ran after it: the dead value is gone" eval '! dead_left'
check "LastBackup is a time stamp" is_stamp "$(ini LastBackup)"
check "retention deleted exactly the partial backups of 60 days and more, the full ones of 90" \
  diff <(printf '%s\n' "PartialBackup/$(stamp _ '61 days ago').reg" "PartialBackup/$(stamp _ '60 days ago').reg" \
    "Backup/$(stamp - '91 days ago')" "Backup/$(stamp - '90 days ago')" | sort) <(comm -23 <(echo "$before") <(listing))
seed_backups
ini_set AutoDelBackup 0
ini_set AutoDelFullBackup 0
before=$(listing)
kelvane nojob
check "AutoDelBackup=0 and AutoDelFullBackup=0 keep every backup" test "$before" = "$(listing)"

# Wine saves keys in its own text format, and its RegReplaceKeyA reports success without
# doing anything: a leftover .regbk109 goes once the request for its hive is made, and only then.
echo "-- /defrag"
hives=$WINEPREFIX/drive_c/KelvaneE2E/Hives at=$(regtool info | sed -n '2s/\r//p')\\KelvaneE2E\\Hives\\
list='HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\hivelist'
mkdir -p "$hives"
for f in machine default nokey; do echo "hive $f" >"$hives/$f.hiv"; done
echo stale >"$hives/machine.hiv.regan613"
echo old | tee "$hives"/{machine,nokey}.hiv.regbk109 >/dev/null
set_values <<EOF
HKEY_LOCAL_MACHINE\KelvaneE2EHive Marker 1 $(utf16 'machine hive marker')0000
HKEY_LOCAL_MACHINE\KelvaneE2EHive\Sub Count 4 2a000000
HKEY_USERS\.DEFAULT\Software\KelvaneE2EDefrag Marker 4 07000000
HKEY_LOCAL_MACHINE\KelvaneE2ENoFile Marker 4 01000000
$list \REGISTRY\MACHINE\KELVANEE2EHIVE 1 $(utf16 "${at}machine.hiv")0000
$list \REGISTRY\USER\.DEFAULT 1 $(utf16 "${at}default.hiv")0000
$list \REGISTRY\MACHINE\KELVANEE2ENOKEY 1 $(utf16 "${at}nokey.hiv")0000
$list \REGISTRY\MACHINE\KELVANEE2ENOFILE 1 $(utf16 "${at}nofile.hiv")0000
$list \REGISTRY\MACHINE\KELVANEE2EVOLATILE 1
EOF
dump "$E2E_DIR/before.txt"
kelvane /defrag
copy=$hives/machine.hiv.regan613
check "the HKLM key's compact copy replaced the stale one beside the hive" \
  eval 'head -n 3 "$copy" | grep -q KelvaneE2EHive'
check "the copy holds the key's value" grep -q "^\"Marker\"=" "$copy"
check "the copy holds the key's subkey" grep -q "^\[Sub\]" "$copy"
check "the user hive's copy holds its keys" grep -qi KelvaneE2EDefrag "$hives/default.hiv.regan613"
check "no copy for a hive without key" test ! -e "$hives/nokey.hiv.regan613"
check "no copy for a hive without file" test ! -e "$hives/nofile.hiv.regan613"
check "the replaced hive's leftover .regbk109 is gone, no new one" \
  test "$(cd "$hives" && echo *.regbk109)" = nokey.hiv.regbk109
check "the hive files are untouched" \
  test "$(cat "$hives"/{machine,default}.hiv)" = $'hive machine\nhive default'
check "LastDefrag is written (hives were analysed)" is_stamp "$(ini LastDefrag)"
dump "$E2E_DIR/after.txt"
check "the live registry is unchanged" $REGDIFF same "$E2E_DIR/before.txt" "$E2E_DIR/after.txt"
e2e_finish
