#!/usr/bin/env bash
# The shipped program: a 32-bit GUI executable with its manifest and version
# resource, needing no mingw DLLs.
set -u
exe=$1
fail() { echo "FAIL: $*"; exit 1; }
[ -f "$exe" ] || fail "$exe was not built"
kind=$(file -b "$exe")
echo "$kind"
case "$kind" in
  "PE32 executable (GUI) Intel 80386"*) ;;
  *) fail "not a PE32 GUI executable for Intel 80386" ;;
esac
grep -q 'requireAdministrator' "$exe" || fail "manifest without requireAdministrator"
grep -q 'Microsoft.Windows.Common-Controls' "$exe" || fail "manifest without common controls 6"
strings -n 3 -el "$exe" > /tmp/kelvane-exe-strings.$$
for s in ProductName Kelvane ProductVersion 3.0 040904B0 Translation; do
  grep -qx "$s" /tmp/kelvane-exe-strings.$$ || { rm -f /tmp/kelvane-exe-strings.$$; fail "version resource lacks $s"; }
done
rm -f /tmp/kelvane-exe-strings.$$
dlls=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/.*DLL Name: //p' | tr 'A-Z' 'a-z')
for dll in $dlls; do
  case "$dll" in
    libgcc*|libstdc*|libwinpthread*) fail "needs the mingw DLL $dll" ;;
  esac
done
echo "ok: $(echo $dlls | tr '\n' ' ')"
