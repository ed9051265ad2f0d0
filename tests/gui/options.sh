#!/usr/bin/env bash
# The options page as a user meets it: the backup switches and the day count are written
# to Settings.ini the moment they change; the exclusion dialog takes a typed path (a blank
# one is refused) and a key ticked in the registry path picker, and OK writes both to
# Settings.xml, after which the page counts them; the skin chooser stores its choice. Run
# by CTest as
#   bash options.sh KELVANE_EXE SOURCE_DIR BUILD_DIR
set -uo pipefail
source "$(dirname "$0")/lib/gui.sh"
gui_init "$@" options

wine reg add 'HKCU\Software\KelvaneGui\Inner' /f >/dev/null 2>&1
options=$(page_id 4)
custom_items() {  # the values of the user's exclusion items, one a line
  tr -d '\r' <"$program/Settings.xml" | sed -n '/<custom>/,/<\/custom>/p' |
    sed -n 's/.*<item value="\([^"]*\)".*/\1/p'
}

start English.txt
goto_page 4
look "$main" page-options
check "the backup switch starts ticked" same "$(drv checked "$main" "$options/1041")" checked
check "the day count shows its default" same "$(drv text "$main" "$options/1049")" 60
check "with no language chosen the one in use is shown" same \
  "$(drv text "$main" "$options/1708")" English
check "no exclusions are counted" same "$(drv text "$main" "$options/1703")" \
  "$(text English.txt L0101 | sed 's/%d/0/')"

echo "== switches and the day count"
drv click "$main" "$options/1041"
sleep 0.3
check "unticking the backup switch writes BackupWhenClean=0" same "$(ini BackupWhenClean)" 0
drv click "$main" "$options/1011"
sleep 0.3
check "unticking deletion writes AutoDelBackup=0" same "$(ini AutoDelBackup)" 0
check "and disables the day count" same "$(drv control-state "$main" "$options/1049")" \
  "visible disabled"
look "$main" page-options-switched-off
drv click "$main" "$options/1011"
sleep 0.3
check "ticking it again writes AutoDelBackup=1" same "$(ini AutoDelBackup)" 1
check "and enables the day count" same "$(drv control-state "$main" "$options/1049")" \
  "visible enabled"
drv set-text "$main" "$options/1049" 30
sleep 0.3
check "a typed day count is written" same "$(ini AutoDelBackupDays)" 30
drv set-text "$main" "$options/1049" 99
sleep 0.3
check "one beyond the range is not" same "$(ini AutoDelBackupDays)" 30

echo "== the exclusion dialog and the path picker"
exclusions=$(text English.txt L0100)
picker=$(text English.txt L0109)
drv click "$main" "$options/1704"
check "the page's button opens the exclusion dialog" drv wait-window "$exclusions" 10
look "$exclusions" exclusions-empty
drv click "$exclusions" 1723
check "Add opens the path picker" drv wait-window "$picker" 10
look "$picker" picker
drv click "$picker" 1745
sleep 0.3
check "choosing the text enables its field" same "$(drv control-state "$picker" 1746)" \
  "visible enabled"
check "and disables the tree" same "$(drv control-state "$picker" 1744)" "visible disabled"
drv set-text "$picker" 1746 "   "
drv click "$picker" 1
box=$(drv answer-box "$(text English.txt L0115)" 10)
check "blanks alone are no path: L0115" same "$box" "Kelvane	$(text English.txt L0115)"
check "the picker stays open" drv wait-window "$picker" 2
drv set-text "$picker" 1746 '  HKEY_CURRENT_USER\Software\KelvaneTyped  '
look "$picker" picker-typed
drv click "$picker" 1
check "OK with a path closes the picker" drv wait-gone "$picker" 10

drv click "$exclusions" 1723
check "Add opens the picker again" drv wait-window "$picker" 10
drv tree-tick "$picker" 1744 HKEY_CURRENT_USER/Software/KelvaneGui
sleep 0.3
check "the key is ticked" same "$(drv tree-state "$picker" 1744 HKEY_CURRENT_USER/Software/KelvaneGui)" ticked
check "its parent partly" same "$(drv tree-state "$picker" 1744 HKEY_CURRENT_USER/Software)" partly
check "the key below it too" same \
  "$(drv tree-state "$picker" 1744 HKEY_CURRENT_USER/Software/KelvaneGui/Inner)" ticked
drv tree-state "$picker" 1744 HKEY_CURRENT_USER/Software/KelvaneGui >/dev/null
look "$picker" picker-ticked
drv click "$picker" 1
check "OK with a tick closes the picker" drv wait-gone "$picker" 10
rows=$(drv list-rows "$exclusions" 1722 | cut -f2)
check "the dialog lists the typed path, trimmed, and the ticked key" same "$rows" \
  "$(printf 'HKEY_CURRENT_USER\\Software\\KelvaneTyped\nHKEY_CURRENT_USER\\Software\\KelvaneGui')"
look "$exclusions" exclusions
check "nothing is saved before OK" same "$(custom_items)" ""
drv click "$exclusions" 1
check "OK closes the exclusion dialog" drv wait-gone "$exclusions" 10
check "Settings.xml holds both, in the list's order" same "$(custom_items)" \
  "$(printf 'HKEY_CURRENT_USER\\Software\\KelvaneTyped\nHKEY_CURRENT_USER\\Software\\KelvaneGui')"
check "the page counts them" same "$(drv text "$main" "$options/1703")" \
  "$(text English.txt L0101 | sed 's/%d/2/')"

echo "== language and skin"
language=$(text English.txt L0225)
drv click "$main" "$options/1709"
check "the language button opens the chooser" drv wait-window "$language" 10
drv click "$language" 2
check "Cancel closes it" drv wait-gone "$language" 10
skin=$(text English.txt L0264)
drv click "$main" "$options/1712"
check "the skin button opens the skin chooser" drv wait-window "$skin" 10
drv select-combo "$skin" 1761 Default
look "$skin" skin
drv click "$skin" 1
box=$(drv answer-box "$(text English.txt L0124)" 10)
check "a new skin comes with the next start: L0124" same "$box" \
  "Kelvane	$(text English.txt L0124)"
check "OK wrote SkinName=Default" same "$(ini SkinName)" Default
check "the page shows it" same "$(drv text "$main" "$options/1711")" Default
look "$main" page-options-after

drv close "$main"
ends "the close box"
finish
