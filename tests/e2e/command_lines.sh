#!/usr/bin/env bash
# The words of the command line select the unattended jobs: any case, with
# leading and trailing "/" and "-", quoted; "fix/defrag" is no job word; the
# jobs run once each, the backup before the fix.
set -u
source "$(dirname "$0")/lib/e2e.sh"
e2e_init "$@" command_lines

# Only the Run area, so that each fix is quick; one dead start-up value shows
# whether a fix ran.
for area in UserSoft CommonSoft SysSoft Com Uninstall Recent StartMenu Dll Language TimeZone; do
  set_area $area 0 || fail "switching $area off"
done
run_key='HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run'
dead_value() {
  regtool set "$run_key" KelvaneE2ECommandLine 1 \
    "$(printf '"C:\\KelvaneE2E\\Gone\\cmd.exe" /min' | iconv -t UTF-16LE | od -An -tx1 | tr -d ' \n')0000"
}
dead_value_left() { wine reg query "$run_key" /v KelvaneE2ECommandLine >/dev/null 2>&1; }
backup_count() { partial_backups | grep -c .; }
fresh() {  # a dead value to fix, no time stamps of earlier runs
  dead_value
  for key in LastScan LastClean ErrorCnt LastBackup LastDefrag; do ini_delete $key; done
  backups_before=$(backup_count)
}
run_kelvane /fix  # wine's own dead start-up entries, if any

for words in /fix -fix --FIX %x22fix%x22 /Fix/; do
  fresh
  run_kelvane "$words"
  check "'${words//%x22/\"}' runs the fix" \
    eval '! dead_value_left && test -n "$(ini_get LastClean)" && test $(backup_count) -eq $((backups_before + 1))'
done

fresh
run_kelvane fix/defrag
check "'fix/defrag' runs no job" \
  eval 'dead_value_left && test -z "$(ini_get LastScan)$(ini_get LastClean)$(ini_get LastDefrag)" &&
        test $(backup_count) -eq $backups_before'

fresh
run_kelvane '/fix /fix'
check "'/fix /fix' runs the fix once (one partial backup)" \
  eval '! dead_value_left && test $(backup_count) -eq $((backups_before + 1))'

fresh
run_kelvane '/fix /backup'
full_backup=$(find "$PROGRAM_DIR/Backup" -name allbak.reg | head -n 1)
partial_backup=$(partial_backups | tail -n 1)
check "'/fix /backup' runs both jobs" \
  eval '! dead_value_left && test -n "$full_backup" && test -n "$(ini_get LastBackup)"'
check "the backup runs first: LastBackup ($(ini_get LastBackup)) <= LastScan ($(ini_get LastScan))" \
  eval '[[ ! "$(ini_get LastBackup)" > "$(ini_get LastScan)" ]]'
check "the full backup was written before the partial backup" \
  eval 'python3 -c "import sys; sys.exit(not float(sys.argv[1]) < float(sys.argv[2]))" \
        "$(stat -c %.9Y "$full_backup")" "$(stat -c %.9Y "$partial_backup")"'

e2e_finish
