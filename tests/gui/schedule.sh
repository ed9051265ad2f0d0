#!/usr/bin/env bash
# The scheduled tasks strip of the home page as a user meets it: with the Task Scheduler's
# service stopped the strip is off and says so; with it running, ticking the cleanup's box
# makes a task that runs Kelvane.exe with /fix on the default days, and clearing it deletes
# the task again. Run by CTest as
#   bash schedule.sh KELVANE_EXE SOURCE_DIR BUILD_DIR
# Screenshots of the home page go to BUILD_DIR/gui-shots/.
set -uo pipefail
source "$(dirname "$0")/lib/gui.sh"
gui_init "$@" schedule

home=$(page_id 0)
boxes=(1041 1080 1081) buttons=(1000 1006 1002) labels=(1072 1073 1074)
# The tasks that run the program: "NAME<tab>APPLICATION<tab>PARAMETERS" lines.
our_tasks() { drv tasks | grep -F 'Kelvane.exe'; }
# A click is posted: waits (bounded) until the cleanup's box reads $1.
box_reads() {
  local _
  for _ in $(seq 40); do
    [ "$(drv checked "$main" "$home/1041")" = "$1" ] && return 0
    sleep 0.25
  done
  false
}

echo "== the Task Scheduler's service is not running"
start English.txt
look "$main" home-schedule-unavailable
check "the strip is titled L0213" same "$(drv text "$main" "$home/1800")" "$(text English.txt L0213)"
for n in 0 1 2; do
  check "button ${buttons[$n]} reads L0219" same "$(drv text "$main" "$home/${buttons[$n]}")" \
    "$(text English.txt L0219)"
  for id in "${boxes[$n]}" "${labels[$n]}" "${buttons[$n]}"; do
    check "control $id is off" same "$(drv control-state "$main" "$home/$id")" "visible disabled"
  done
done
drv close "$main"
ends "the close box"

echo "== the service runs"
wine net start schedule >/dev/null 2>&1
start English.txt
check "no task of the cleanup yet: its box is clear" same "$(drv checked "$main" "$home/1041")" unchecked
check "and its button reads L0217 L0218" same "$(drv text "$main" "$home/1000")" \
  "$(text English.txt L0217) $(text English.txt L0218)"
check "the button is off" same "$(drv control-state "$main" "$home/1000")" "visible disabled"

drv click "$main" "$home/1041"
check "ticking the cleanup's box ticks it" box_reads checked
check "the task runs Kelvane.exe with /fix" same "$(our_tasks)" \
  "Kelvane_Clean_Registry.job	C:\\Kelvane\\Kelvane.exe	/fix"
schedule=$(drv text "$main" "$home/1000")
check "the button shows the default days and time" grep -qE \
  "^$(text English.txt L0217) 12:29 on Mon, Wed, Fri every 1 week\(s\) from [0-9]{4}-[0-9]{2}-[0-9]{2}; \$" \
  <<<"$schedule"
check "the button is on" same "$(drv control-state "$main" "$home/1000")" "visible enabled"
check "the other jobs have no task" same "$(drv checked "$main" "$home/1080")$(drv checked "$main" "$home/1081")" \
  uncheckedunchecked
look "$main" home-schedule-ticked

drv click "$main" "$home/1041"
check "clearing the box clears it" box_reads unchecked
check "and deletes the task" same "$(our_tasks)" ""
check "the button is off again" same "$(drv control-state "$main" "$home/1000")" "visible disabled"
look "$main" home-schedule-cleared
drv close "$main"
ends "the close box"

finish
