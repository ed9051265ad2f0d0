#!/usr/bin/env bash
# The six release artefacts as tools/package leaves them, looked into without
# running them: sums, the files of each (the zips are the reference), the
# architecture and version of every executable, the MSI properties an
# upgrade depends on, and the 32-bit packages' refusal of 64-bit Windows.
# Usage: check_packages.sh ARTEFACT_DIR SOURCE_DIR
set -u
out=$(realpath "$1") root=$(realpath "$2")
version=$(sed -n 's/^project(Kelvane VERSION \([0-9][0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failed=0
ok() { echo "ok: $*"; }
bad() { echo "FAIL: $*"; failed=1; }
check() { if "${@:2}"; then ok "$1"; else bad "$1"; fi; }
for tool in msiinfo msiextract 7zz unzip; do
  command -v $tool >/dev/null || { echo "FAIL: $tool missing (tools/bootstrap)"; exit 1; }
done

# Upgrades find the installed version by these: they never change.
declare -A upgrade_code=([win32]='{5D0C7A38-3B5E-4C4F-9E55-2F1B8D6A7C41}'
                         [win64]='{B7E2F1A4-6C3D-4E8B-A0F9-4D5C2E1B9A63}')
declare -A exe_kind=([win32]='PE32 executable (GUI) Intel 80386' [win64]='PE32+ executable (GUI) x86-64')
declare -A msi_template=([win32]='Intel;1033' [win64]='x64;1033')

# The program folder every package ships: package/, README, LICENSE and the exe.
(cd "$root/package" && find . -type f | sed 's|^\./||'; printf '%s\n' README.txt LICENSE.txt Kelvane.exe) |
  sort >"$tmp/expected"

version_string() { strings -n 3 -el "$1" | grep -A1 -x "$2" | sed -n 2p; }
is_kind() { [[ "$(file -b "$1")" == "$2"* ]] || { file -b "$1"; false; }; }
has_manifest() {
  grep -q requireAdministrator "$1" && grep -q Microsoft.Windows.Common-Controls "$1" &&
    grep -q "name=\"Kelvane.Kelvane\" version=\"$version.0.0\"" "$1"
}
check_exe() {  # check_exe FILE KIND LABEL
  check "$3 is a $2 program" is_kind "$1" "$2"
  check "$3 carries ProductVersion $version" test "$(version_string "$1" ProductVersion)" = "$version"
  check "$3 carries FileVersion $version" test "$(version_string "$1" FileVersion)" = "$version"
  check "$3 carries the manifest (administrator, common controls 6, version $version.0.0)" has_manifest "$1"
}
same_files() {  # same_files DIR LIST: DIR holds exactly LIST, with the sources' contents
  diff "$2" <(cd "$1" && find . -type f | sed 's|^\./||' | sort) || return 1
  local f
  for f in $(cd "$root/package" && find . -type f | sed 's|^\./||'); do
    cmp -s "$root/package/$f" "$1/$f" || { echo "differs from package/: $f"; return 1; }
  done
  cmp -s "$root/README.md" "$1/README.txt" && cmp -s "$root/LICENSE" "$1/LICENSE.txt"
}

product_code=()
for arch in win32 win64; do
  mkdir -p "$tmp/zip-$arch" && unzip -q "$out/Kelvane-$version-$arch.zip" -d "$tmp/zip-$arch"
done
for arch in win32 win64; do
  base=Kelvane-$version-$arch
  for f in $base.zip $base.msi $base-setup.exe; do
    check "$f and its SHA-256 sum" eval '(cd "$out" && sha256sum --quiet -c "$f.sha256")'
  done

  echo "-- $base.zip"
  zip=$tmp/zip-$arch/Kelvane
  list=$tmp/expected
  if [ $arch = win32 ]; then
    # Beside the 32-bit program, the 64-bit one it hands a WOW64 run to.
    sort "$tmp/expected" - <<<Kelvane64.exe >"$tmp/expected-zip32" && list=$tmp/expected-zip32
    check_exe "$zip/Kelvane64.exe" "${exe_kind[win64]}" "the 32-bit zip's Kelvane64.exe"
    check "it is the 64-bit zip's Kelvane.exe" cmp -s "$zip/Kelvane64.exe" "$tmp/zip-win64/Kelvane/Kelvane.exe"
  fi
  check "$base.zip holds the program folder Kelvane\\ as shipped" same_files "$zip" "$list"
  check_exe "$zip/Kelvane.exe" "${exe_kind[$arch]}" "$base.zip's Kelvane.exe"

  echo "-- $base.msi"
  msi=$out/$base.msi
  property() { msiinfo export "$msi" Property | tr -d '\r' | awk -F'\t' -v n="$1" '$1 == n { print $2 }'; }
  check "ProductVersion $version" test "$(property ProductVersion)" = "$version"
  check "ProductName and Manufacturer" test "$(property ProductName)/$(property Manufacturer)" = Kelvane/Kelvane
  check "UpgradeCode ${upgrade_code[$arch]}" test "$(property UpgradeCode)" = "${upgrade_code[$arch]}"
  check "a per-machine installation" test "$(property ALLUSERS)" = 1
  check "platform ${msi_template[$arch]}" eval \
    '[ "$(msiinfo suminfo "$msi" | sed -n "s/^Template: //p")" = "${msi_template[$arch]}" ]'
  product_code+=("$(property ProductCode)")
  mkdir -p "$tmp/msi-$arch" && (cd "$tmp/msi-$arch" && msiextract "$msi" >/dev/null)
  msi_dir=$(dirname "$(find "$tmp/msi-$arch" -name Kelvane.exe | head -n 1)")
  check "it installs the program folder as shipped" same_files "$msi_dir" "$tmp/expected"
  check "its Kelvane.exe is the zip's" cmp -s "$msi_dir/Kelvane.exe" "$tmp/zip-$arch/Kelvane/Kelvane.exe"
  refuses=$(msiinfo export "$msi" LaunchCondition | grep -c '^NOT VersionNT64')
  if [ $arch = win32 ]; then
    check "it refuses 64-bit Windows" test "$refuses" = 1
  else
    check "it does not refuse 64-bit Windows" test "$refuses" = 0
  fi

  echo "-- $base-setup.exe"
  setup=$out/$base-setup.exe
  check "a ${exe_kind[$arch]%% executable*} setup program" is_kind "$setup" "${exe_kind[$arch]%% (GUI)*}"
  check "its version resource says $version" test "$(version_string "$setup" ProductVersion)" = "$version"
  check "it asks for administrator rights" grep -q requireAdministrator "$setup"
  mkdir -p "$tmp/setup-$arch" && (cd "$tmp/setup-$arch" && 7zz x -y "$setup" >/dev/null)
  rm -rf "$tmp/setup-$arch/\$PLUGINSDIR"
  sort "$tmp/expected" - <<<uninstall.exe >"$tmp/expected-setup"
  check "it installs the program folder as shipped, and its uninstaller" \
    same_files "$tmp/setup-$arch" "$tmp/expected-setup"
  check "its Kelvane.exe is the zip's" cmp -s "$tmp/setup-$arch/Kelvane.exe" "$tmp/zip-$arch/Kelvane/Kelvane.exe"
done
check "each architecture's MSI is a product of its own" test "${product_code[0]}" != "${product_code[1]}"
[ $failed = 0 ] && echo "ok: the packages are as shipped"
exit $failed
