#!/usr/bin/env bash
# `Kelvane.exe /fix` against entries made to lead it astray: registry links in and as
# uninstall entries (one a loop), a value of type 0xFFFFFFFF, names and paths that the ANSI
# API only approximates; settings that are no valid number; the exit codes of unattended runs.
set -u
source "$(dirname "$0")/lib/e2e.sh"
e2e_init "$@" hostile

area 0 CommonSoft SysSoft Com Recent StartMenu Language TimeZone Run
c=$WINEPREFIX/drive_c/KelvaneE2E
mkdir -p "$c/Present" "$c/Ġood"
echo e2e >"$c/Ġood/app.exe"
for f in live.dll typeless.dll uninst.exe; do echo e2e >"$c/Present/$f"; done
kelvane /fix  # wine's own dead entries, as in fix.sh

un='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall' gone='C:\KelvaneE2E\Gone'
dlls='HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\SharedDlls'
odd='HKEY_CURRENT_USER\Software\KelvaneE2EOdd'
dead() { echo "1 $(utf16 "$gone\\$1")0000"; }
# A plain dead entry in each area shows that the area ran. The ANSI API spells U+FF3C as a
# backslash, U+0100 as A and U+0120 as G: the odd names read as their healthy namesakes do, and
# the path to app.exe as one that is missing. KelvaneE2EApp has no value, but a subkey: no
# empty entry.
set_values <<EOF
$un\KelvaneE2EDead UninstallString $(dead dead.exe)
$un\KelvaneE2ELinkMachine UninstallString $(dead machine.exe)
HKEY_LOCAL_MACHINE\Software\KelvaneE2ETarget Keep 1 $(utf16 machine)0000
HKEY_LOCAL_MACHINE\Software\KelvaneE2ETarget\Sub Count 4 2a000000
$un\KelvaneE2ELinkUser UninstallString $(dead user.exe)
HKEY_USERS\.DEFAULT\Software\KelvaneE2ETarget Keep 1 $(utf16 user)0000
$un\KelvaneE2ELoop UninstallString $(dead loop.exe)
HKEY_LOCAL_MACHINE\Software\KelvaneE2ELinkedApp UninstallString $(dead linked.exe)
$dlls C:\KelvaneE2E\Present\live.dll 4 01000000
$dlls C:\KelvaneE2E\Present\typeless.dll 0xffffffff 02000000
$dlls $gone\typeless.dll 0xffffffff 01000000
$un\KelvaneE2EApp\Components UninstallString 1 $(utf16 'C:\KelvaneE2E\Present\uninst.exe')0000
$un\KelvaneE2EApp%uff3cComponents UninstallString $(dead components.exe)
$odd AAB 1 $(utf16 'C:\KelvaneE2E\Present')0000
$odd %u0100AB $(dead aab.exe)
$odd Tool 1 $(utf16 'C:\KelvaneE2E\Ġood\app.exe')0000
$odd Dead $(dead odd.exe)
EOF
seeded=("[$un\\KelvaneE2EApp\\uff3cComponents]" "[$odd] \"\\u0100AB\"=$(dead aab.exe | tr ' ' :)")
# Links in dead entries, to HKLM, to a user hive and to the entry itself; an entry that is
# itself a link, to a key whose uninstall string names a missing file.
while read -r key target how; do
  regtool link "$key" "$target" $how || fail "linking $key"
  seeded+=("[$key] \"SymbolicLinkValue\"=6:$(utf16 "$target")")
done <<EOF
$un\KelvaneE2ELinkMachine\Link \Registry\Machine\Software\KelvaneE2ETarget
$un\KelvaneE2ELinkUser\Link \Registry\User\.Default\Software\KelvaneE2ETarget volatile
$un\KelvaneE2ELoop\Loop \Registry\Machine\Software\Microsoft\Windows\CurrentVersion\Uninstall\KelvaneE2ELoop
$un\KelvaneE2ELinked \Registry\Machine\Software\KelvaneE2ELinkedApp
EOF
dump "$E2E_DIR/before.txt"
check "the dump shows the links, not their targets, and the odd names" \
  has_lines <(awk '/^\[/ { key = $0; print; next } { print key " " $0 }' "$E2E_DIR/before.txt") "${seeded[@]}"

echo "-- BackupWhenClean=yes is no number: the default, a partial backup first"
ini_set BackupWhenClean yes
rm -rf "$PROGRAM_DIR/PartialBackup"
kelvane /fix
dump "$E2E_DIR/after.txt"
cat >"$E2E_DIR/dead.txt" <<'EOF'
key HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\KelvaneE2EDead
value HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\SharedDlls "C:\\KelvaneE2E\\Gone\\typeless.dll"
value HKEY_CURRENT_USER\Software\KelvaneE2EOdd "Dead"
EOF
check "only the plain dead entries are gone: links, their targets, odd names, SharedDlls' siblings stay" \
  $REGDIFF removed "$E2E_DIR/before.txt" "$E2E_DIR/after.txt" "$E2E_DIR/dead.txt"
lst=$PROGRAM_DIR/tmp_rccantremove.lst
check "the dead entries that hold a link are listed as not removable" \
  has_lines "$lst" "$un\\KelvaneE2ELinkMachine" "$un\\KelvaneE2ELinkUser" "$un\\KelvaneE2ELoop"
check "no odd name, no path beyond the code page and no SharedDlls value is listed" \
  eval '! grep -iq -e KelvaneE2EApp -e KelvaneE2EOdd -e SharedDlls "$lst"'
backup=$(partial_backups)
check "one partial backup: '$backup'" test "$(partial_backups | wc -l)" = 1
[ -z "$backup" ] || seed "$backup"
dump "$E2E_DIR/restored.txt"
check "importing it restores the registry, the 0xFFFFFFFF value with its type and bytes" \
  $REGDIFF same "$E2E_DIR/before.txt" "$E2E_DIR/restored.txt"

echo "-- AutoDelBackupDays=0 is out of 1..60: the default 60; stamps ahead are never old"
ini_set BackupWhenClean
ini_set AutoDelBackupDays 0
stamp() { date -d "$1" +%Y-%m-%d_%H-%M-%S.reg; }
partial=$PROGRAM_DIR/PartialBackup old=$(stamp '61 days ago')
rm -rf "$partial"
mkdir "$partial"
for name in "$old" "$(stamp '59 days ago')" "$(stamp '400 days')"; do echo x >"$partial/$name"; done
before=$(ls "$partial")
kelvane /fix
check "retention deleted only the backup of 61 days" \
  test "$(comm -23 <(echo "$before") <(ls "$partial"))" = "$old"
check "the run's own backup, the one new file, stays" \
  test "$(comm -13 <(echo "$before") <(ls "$partial") | wc -l)" = 1

echo "-- exit codes: 1 the full backup failed, 2 the fix's backup failed, 4 nothing compacted"
regtool set "$odd" Dead $(dead odd.exe)
while IFS='|' read -r tail code blocked; do
  rm -rf "$PROGRAM_DIR/Backup" "$partial" && ini_set LastDefrag
  for f in $blocked; do echo blocked >"$PROGRAM_DIR/$f"; done
  kelvane "$tail" "$code"
  [ $((code & 2)) = 0 ] || check "'$tail' deleted nothing" eval 'wine reg query "$odd" /v Dead >/dev/null </dev/null'
done <<'EOF'
nojob|0|
/backup|1|Backup
/fix|2|PartialBackup
/fix /backup|3|Backup PartialBackup
/defrag|4|
EOF
check "a /defrag that analysed no hive wrote no LastDefrag" test -z "$(ini LastDefrag)"
e2e_finish
