#!/usr/bin/env bash
# With "BackupWhenClean"=1, a partial backup that cannot be written stops the
# fix: the registry stays as it was, "ErrorCnt" keeps the number found and
# "LastClean" is not written.
set -u
source "$(dirname "$0")/lib/e2e.sh"
e2e_init "$@" backup_failure

create_present_files
ini_set BackupWhenClean 1
# PartialBackup is a file, so neither the folder nor a backup in it can be made.
block_backups() {
  rm -rf "$PROGRAM_DIR/PartialBackup"
  echo "not a folder" >"$PROGRAM_DIR/PartialBackup"
  chmod a-w "$PROGRAM_DIR/PartialBackup"
}
unblock_backups() { rm -f "$PROGRAM_DIR/PartialBackup"; }
fresh_run_settings() { for key in LastScan LastClean ErrorCnt; do ini_delete $key; done; }

echo "-- only the Run area: the number found is known"
for area in UserSoft CommonSoft SysSoft Com Uninstall Recent StartMenu Dll Language TimeZone; do
  set_area $area 0 || fail "switching $area off"
done
run_kelvane /fix  # clears wine's own dead start-up entries, if any
seed_registry "$E2E_DATA/seed-areas.reg"
dump_registry "$E2E_DIR/before-run.txt"
block_backups
fresh_run_settings
run_kelvane /fix
dump_registry "$E2E_DIR/after-run.txt"
check "the registry is as it was" $REGDIFF same "$E2E_DIR/before-run.txt" "$E2E_DIR/after-run.txt"
dead_run_values=$(grep -c '\\Run[A-Za-z]*"* "KelvaneE2EDead' "$E2E_DATA/dead-entries.txt")
check "ErrorCnt is the number found ($dead_run_values; Settings.ini: '$(ini_get ErrorCnt)')" \
  test "$(ini_get ErrorCnt)" = "$dead_run_values"
check "LastScan is written" test -n "$(ini_get LastScan)"
check "LastClean is not written ('$(ini_get LastClean)')" test -z "$(ini_get LastClean)"
check "PartialBackup is still the blocking file" test -f "$PROGRAM_DIR/PartialBackup"

echo "-- every area but TimeZone on the whole seed"
for area in UserSoft CommonSoft SysSoft Com Uninstall Recent StartMenu Dll Language; do
  set_area $area 1 || fail "switching $area on"
done
seed_registry "$E2E_DATA/seed-every-type.reg5"
dump_registry "$E2E_DIR/before-all.txt"
fresh_run_settings
run_kelvane /fix
dump_registry "$E2E_DIR/after-all.txt"
check "the registry is as it was" $REGDIFF same "$E2E_DIR/before-all.txt" "$E2E_DIR/after-all.txt"
check "ErrorCnt counts every issue found (>= the $(grep -c . "$E2E_DATA/dead-entries.txt") seeded; Settings.ini: '$(ini_get ErrorCnt)')" \
  test "$(ini_get ErrorCnt)" -ge "$(grep -vc 'Time Zones' "$E2E_DATA/dead-entries.txt")"
check "LastClean is not written" test -z "$(ini_get LastClean)"

echo "-- the same fix once the backup can be written"
unblock_backups
run_kelvane /fix
dump_registry "$E2E_DIR/after-unblocked.txt"
check "the dead entries are gone now" \
  $REGDIFF absent "$E2E_DIR/after-unblocked.txt" <(grep -v 'Time Zones' "$E2E_DATA/dead-entries.txt")
check "ErrorCnt=0 and LastClean are written" \
  test "$(ini_get ErrorCnt)" = 0 -a -n "$(ini_get LastClean)"

e2e_finish
