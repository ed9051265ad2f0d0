#!/usr/bin/env bash
# The main window shell as a user meets it: Kelvane.exe started without words in a fresh
# prefix, driven from a second process by gui_driver: the home page, the five pages, the
# page shown again at the next start, a second start that hands over to the first, the
# help page, the about box and the language chooser. Run by CTest as
#   bash shell.sh KELVANE_EXE SOURCE_DIR BUILD_DIR
set -uo pipefail
source "$(dirname "$0")/lib/gui.sh"
gui_init "$@" shell
# Pages ending in .html open with a command that only notes which file it was given, so
# no browser starts.
wine reg add 'HKCR\.html' /ve /d KelvaneTestPage /f >/dev/null 2>&1
wine reg add 'HKCR\KelvaneTestPage\shell\open\command' /ve /f \
  /d 'C:\windows\system32\cmd.exe /c echo %1> C:\Kelvane\opened.txt' >/dev/null 2>&1
german() { text German.txt "$1"; }  # as the driver prints it: bytes of the ANSI code page

page_names=(home scan defrag backup options)
# Page N is the one shown: it is visible, the others are hidden, and only its button is off.
shows_page() {
  local n state want
  for n in 0 1 2 3 4; do
    state=$(drv control-state "$main" "$(page_id $n)")
    if [ $n -eq "$1" ]; then want="visible enabled"; else want="hidden enabled"; fi
    [ "$state" = "$want" ] || { echo "  page $n is \"$state\""; return 1; }
    state=$(drv control-state "$main" "${nav_ids[$n]}")
    if [ $n -eq "$1" ]; then want="visible disabled"; else want="visible enabled"; fi
    [ "$state" = "$want" ] || { echo "  button ${nav_ids[$n]} is \"$state\""; return 1; }
  done
}
help_menu() {  # help_menu ENTRY_TEXT POSITION: opens the help menu and picks an entry
  drv click "Kelvane v3.0" 9
  drv wait-window "#32768" 10
  [ -z "${3:-}" ] || drv shot "Kelvane v3.0" "$shots/$3.png"
  check "the help menu offers \"$1\"" drv menu-pick "$1" "$2" 10
}

echo "== first start: English"
start English.txt
captions=$(drv captions "Kelvane v3.0")
check "no caption of the main window is a bare key" no_bare_key "$captions"
check "the help button reads L0220" same "$(drv text "Kelvane v3.0" 9)" "$(text English.txt L0220)"
drv shot "Kelvane v3.0" "$shots/main.png"

check "the first start shows the home page" shows_page 0
titles=(L0152 L0166 L0168)
for panel in 0 1 2; do
  check "home panel $panel is titled ${titles[$panel]}" same \
    "$(drv text "$main" "$(page_id 0)/$((1310 + 10 * panel))")" "$(text English.txt "${titles[$panel]}")"
done
check "cleanup never done: L0144" same "$(drv text "$main" "$(page_id 0)/1311")" \
  "$(text English.txt L0144)"
check "and L0151 under it" same "$(drv text "$main" "$(page_id 0)/1312")" "$(text English.txt L0151)"
for n in 1 2 3 4 0; do
  drv click "$main" "${nav_ids[$n]}"
  sleep 0.3
  check "button ${nav_ids[$n]} shows the ${page_names[$n]} page" shows_page $n
  drv shot "$main" "$shots/page-${page_names[$n]}.png"
done
drv click "$main" "$(page_id 0)/1313"
sleep 0.3
check "the cleanup panel's button shows the scan page" shows_page 1
drv click "$main" 1000

help_menu "$(text English.txt L0221)" 1
check "the help page ships in the program folder" test -f "$program/Help/Kelvane.html"
for _ in $(seq 50); do [ -s "$program/opened.txt" ] && break; sleep 0.2; done
check "the help menu opens Help\\Kelvane.html by its full path" same \
  "$(tr -d '\r' <"$program/opened.txt" 2>/dev/null | sed 's/ *$//')" 'C:\Kelvane\Help\Kelvane.html'

help_menu "$(text English.txt L0222)" 3 help-menu
about=$(text English.txt L0222)
check "the help menu opens the about box" drv wait-window "$about" 10
captions=$(drv captions "$about")
check "no caption of the about box is a bare key" no_bare_key "$captions"
check "the about box names product and version" same "$(drv text "$about" 1101)" "Kelvane v3.0"
drv shot "$about" "$shots/about.png"
drv click "$about" 1
check "OK closes the about box" drv wait-gone "$about" 10

help_menu "$(text English.txt L0223)" 2
chooser=$(text English.txt L0225)
check "the help menu opens the language chooser" drv wait-window "$chooser" 10
captions=$(drv captions "$chooser")
check "no caption of the language chooser is a bare key" no_bare_key "$captions"
check "no language is chosen yet" same "$(drv text "$chooser" 1200)" ""
drv select-combo "$chooser" 1200 German
drv shot "$chooser" "$shots/language.png"
drv click "$chooser" 1
check "a note follows the change" drv wait-window Kelvane 10
drv shot Kelvane "$shots/language-note.png"
box=$(drv answer-box "$(text English.txt L0120)" 10)
check "the note says L0120 under the product name" same "$box" "Kelvane	$(text English.txt L0120)"
check "no caption of the note is a bare key" no_bare_key "$box"
check "OK wrote LanguageFile=German.txt" same "$(ini LanguageFile)" German.txt
drv click "$main" 1004
drv close "Kelvane v3.0"
ends "the close box"
check "the page shown at the close is kept" same "$(ini InitPage)" 3

echo "== second start: German"
# Jobs done meanwhile: a cleanup two days ago (recent), a backup twenty days ago (due).
stamp() { date -d "$1" '+%Y-%m-%d %H:%M:%S'; }
printf 'LastClean=%s\r\nLastBackup=%s\r\n' "$(stamp '2 days ago')" "$(stamp '20 days ago')" \
  >>"$program/Settings.ini"
start German.txt
check "the texts now come from German.txt" same "$(drv text "Kelvane v3.0" 9)" "$(german L0220)"
check "the page shown at the last close is shown again" shows_page 3
drv shot "Kelvane v3.0" "$shots/main-german.png"

drv minimize "$main"
second=$(drv run-windowless 'C:\Kelvane\Kelvane.exe' 30)
check "a second start shows no window and ends" test $? -eq 0
check "a second start ends with exit code 0" same "$second" "exit 0"
sleep 0.5
check "it brought the first window back and to the front" same "$(drv state "$main")" \
  "normal foreground"
check "the first window still shows its page" shows_page 3
for n in 1 2 3 4; do
  drv click "$main" "${nav_ids[$n]}"
  sleep 0.3
  look "$main" "page-${page_names[$n]}-german"
done

drv click "$main" 1000
sleep 0.3
check "a cleanup two days ago needs no action" same "$(drv text "$main" "$(page_id 0)/1312")" \
  "$(german L0150)"
check "a backup twenty days ago is due" same "$(drv text "$main" "$(page_id 0)/1332")" \
  "$(german L0151)"
check "a defragmentation never done says so" same "$(drv text "$main" "$(page_id 0)/1321")" \
  "$(german L0148)"
drv shot "$main" "$shots/page-home-states.png"
help_menu "$(german L0223)" 2
chooser=$(german L0225)
check "the chooser's caption comes from German.txt" drv wait-window "$chooser" 10
check "the chooser shows the language in use" same "$(drv text "$chooser" 1200)" German
drv select-combo "$chooser" 1200 English
drv click "$chooser" 2
check "Cancel closes the chooser" drv wait-gone "$chooser" 10
check "Cancel wrote nothing" same "$(ini LanguageFile)" German.txt
drv key "Kelvane v3.0" tab  # the focus rectangle shows once the keyboard is used
sleep 0.5
drv shot "Kelvane v3.0" "$shots/main-keyboard.png"
drv key "Kelvane v3.0" escape
ends "Escape"

finish
