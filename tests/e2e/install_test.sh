#!/usr/bin/env bash
# Checks the downloads that scripts/package wrote, then installs them under Wine as a Windows user would:
# silently, without administrator rights, in fresh prefixes; starts both installed programs, upgrades over
# an older version and uninstalls, which must leave the user's settings behind.
# Usage: install_test.sh DIST_DIR
# Ends with "N passed, N failed"; exits 77 when nothing failed but this machine cannot run the installer.
set -u

[ $# -eq 1 ] || { echo "usage: $0 DIST_DIR" >&2; exit 2; }
dist=$(realpath "$1") || exit 2
root=$(cd "$(dirname "$0")/../.." && pwd)
launcher=$root/cmake/wine-run.sh

setup=$(cd "$dist" && ls Vantorel-*-setup.exe 2>/dev/null | head -n 1)
version=${setup#Vantorel-}
version=${version%-setup.exe}
if [ -z "$setup" ] || [ -z "$version" ]; then
  echo "not ok - no Vantorel-<version>-setup.exe in $dist"
  echo "0 passed, 1 failed"
  exit 1
fi
name=Vantorel-$version
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantorel'

work=$(mktemp -d)
xvfb_pid=
prefixes=()
cleanup() {
  for prefix in "${prefixes[@]}"; do WINEPREFIX=$prefix wineserver -k 2>/dev/null; done
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

passed=0 failed=0
begin() { case_name=$1 reasons=(); }
fail() { reasons+=("$1"); }
end() {
  if [ ${#reasons[@]} -eq 0 ]; then
    echo "ok - $case_name"; passed=$((passed + 1))
  else
    local IFS=';'
    echo "not ok - $case_name: ${reasons[*]}"; failed=$((failed + 1))
  fi
}
expect_same() {  # expect_same ACTUAL EXPECTED WHAT
  [ "$1" = "$2" ] || fail "$3 is '$1', expected '$2'"
}

# The zips unpacked, one folder per architecture, to compare the installed files with.
for arch in win32 win64; do
  mkdir -p "$work/zip-$arch"
  python3 -m zipfile -e "$dist/$name-$arch.zip" "$work/zip-$arch" 2>/dev/null
done

begin "SHA256SUMS matches the three downloads"
listed=$(cut -d' ' -f3 "$dist/SHA256SUMS" 2>/dev/null | sort | tr '\n' ' ')
expect_same "$listed" "$name-setup.exe $name-win32.zip $name-win64.zip " "the files listed"
(cd "$dist" && sha256sum --quiet -c SHA256SUMS) >/dev/null 2>&1 || fail "a checksum does not match"
end

for arch in win32 win64; do
  begin "$name-$arch.zip holds one folder with the programs and texts"
  entries=$(python3 -c 'import sys, zipfile; print(" ".join(zipfile.ZipFile(sys.argv[1]).namelist()))' \
    "$dist/$name-$arch.zip" 2>&1)
  expect_same "$entries" "$name/LICENSE.txt $name/README.txt $name/hoardix.exe $name/vantorel.exe" "the entries"
  # 32-bit programs are PE32 (magic 0x10b), 64-bit ones PE32+ (0x20b).
  want_magic=$([ $arch = win64 ] && echo 0b02 || echo 0b01)
  for program in vantorel hoardix; do
    exe=$work/zip-$arch/$name/$program.exe
    pe=$(od -An -tu4 -j60 -N4 "$exe" 2>/dev/null | tr -d ' ')
    magic=$(od -An -tx1 -j$((${pe:-0} + 24)) -N2 "$exe" 2>/dev/null | tr -d ' ')
    expect_same "$magic" "$want_magic" "the optional header magic of $program.exe"
  done
  # Texts for Notepad: every line ends in CR LF, and the version is filled in.
  for text in README.txt LICENSE.txt; do
    file=$work/zip-$arch/$name/$text
    [ -s "$file" ] || { fail "$text is missing or empty"; continue; }
    bare=$(tr -d '\r' <"$file" | wc -l)
    crlf=$(grep -c $'\r$' "$file")
    expect_same "$crlf" "$bare" "the count of CR LF line ends in $text"
  done
  grep -q "^Vantorel $version"$'\r$' "$work/zip-$arch/$name/README.txt" || fail "README.txt does not start with the version"
  for notice in "MIT License" "Olaf Frohn"; do
    grep -q "$notice" "$work/zip-$arch/$name/LICENSE.txt" || fail "LICENSE.txt lacks '$notice'"
  done
  end
done

# Anything else would make Windows ask for an administrator before installing.
begin "the installer asks for no elevation"
grep -aq 'requestedExecutionLevel level="asInvoker"' "$dist/$setup" || fail "its manifest does not ask for asInvoker"
end

# NSIS installers are 32-bit programs, so without 32-bit Wine the download cannot run. The installer script
# is then compiled for 64-bit Windows from the same files and the 64-bit prefix installs that: what the
# script does is still tried, the download itself is not, and the test ends as skipped when nothing failed.
setup_exe=$dist/$setup
arches=(win64 win32)
makensis_target=()
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo "ok - the download under Wine # skip: this kernel cannot run 32-bit Linux programs, so no 32-bit installer can run"
  echo "ok - win32 prefix # skip: likewise"
  echo "# win64 prefix: the installer script compiled for 64-bit Windows stands in for the download"
  arches=(win64)
  makensis_target=(-X"Target amd64-unicode")
  setup_exe=$work/$setup
  makensis -V1 -NOCD "${makensis_target[@]}" -DVERSION="$version" -DWIN32_DIR="$work/zip-win32/$name" \
    -DWIN64_DIR="$work/zip-win64/$name" -DDOCS_DIR="$work/zip-win64/$name" \
    -DICON="$root/src/resources/icons/vantorel.ico" -DOUTFILE="$setup_exe" "$root/packaging/vantorel.nsi" \
    >"$work/makensis.log" 2>&1 ||
    { cat "$work/makensis.log"; echo "not ok - the 64-bit installer could not be made"; failed=$((failed + 1)); }
fi

if [ -z "${DISPLAY:-}" ]; then
  Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$work/display" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
  DISPLAY=:$(cat "$work/display")
  export DISPLAY
fi

# An "older version" for the upgrade case: the same installer script, version 0.9.0, with programs that
# differ from the real ones (bytes appended), so a file the upgrade failed to replace is seen, and with the
# names earlier versions gave the texts and the uninstaller, which the upgrade must remove.
old_version=0.9.0
for arch in win32 win64; do
  mkdir -p "$work/old-$arch"
  for program in vantorel hoardix; do
    { cat "$work/zip-$arch/$name/$program.exe"; echo "version $old_version"; } >"$work/old-$arch/$program.exe"
  done
done
sed -e 's/^!define README_NAME .*/!define README_NAME "README.txt"/' \
  -e 's/^!define LICENSE_NAME .*/!define LICENSE_NAME "LICENSE.txt"/' \
  -e 's/^!define UNINSTALLER_NAME .*/!define UNINSTALLER_NAME "uninstall.exe"/' \
  "$root/packaging/vantorel.nsi" >"$work/old.nsi"
makensis -V1 -NOCD "${makensis_target[@]}" -DVERSION=$old_version -DWIN32_DIR="$work/old-win32" \
  -DWIN64_DIR="$work/old-win64" -DDOCS_DIR="$work/zip-win64/$name" \
  -DICON="$root/src/resources/icons/vantorel.ico" -DOUTFILE="$work/old-setup.exe" "$work/old.nsi" \
  >"$work/makensis.log" 2>&1 ||
  { cat "$work/makensis.log"; echo "not ok - the older installer could not be made"; failed=$((failed + 1)); }

# Runs a Windows program in the current prefix; its output lands in $work/out, its status in $status.
# A stuck installer must fail the test, not hang it.
w() {
  timeout 120 "$launcher" "$prefix" "$arch" "$@" >"$work/out" 2>"$work/err"
  status=$?
}
# Waits until every process of the prefix has ended: the uninstaller relaunches itself from a temporary copy.
settle() { WINEPREFIX=$prefix timeout 60 wineserver -w; }
# A C: path in the prefix, as a Linux path.
to_unix() {
  local path=${1#[Cc]:\\}
  echo "$prefix/drive_c/${path//\\//}"
}
# The value of NAME under the key as "TYPE VALUE", empty when missing.
reg_value() {
  w reg query "$1" /v "$2"
  [ "$status" -eq 0 ] || return 0
  tr -d '\r' <"$work/out" | sed -n "s/^    $2    \(REG_[A-Z_]*\)    \(.*\)$/\1 \2/p"
}
# What folder DIR (a Linux path) holds, sorted, each entry followed by a space.
listing() { (cd "$1" 2>/dev/null && find . -mindepth 1 | LC_ALL=C sort | tr '\n' ' '); }
# The listing of a folder holding exactly the files NAMES.
listing_of() { printf './%s\n' "$@" | LC_ALL=C sort | tr '\n' ' '; }

# Each installed file and the file of the zip it must equal; the installer gives the texts names of
# their own, since the installation folder may be one the user chose. The uninstaller has no twin.
installed_from_zip=(vantorel.exe:vantorel.exe hoardix.exe:hoardix.exe "Vantorel README.txt:README.txt"
  "Vantorel LICENSE.txt:LICENSE.txt")
uninstaller='Uninstall Vantorel.exe'

# Everything that the installation of VERSION at Windows folder DIR must have put in place; ZIP holds the
# files. OTHERS are the names of files that were in the folder before and must still be there.
expect_installed() {
  local dir=$1 want_version=$2 files=$3 unix pair names=("$uninstaller")
  shift 3
  unix=$(to_unix "$dir")
  for pair in "${installed_from_zip[@]}"; do
    names+=("${pair%%:*}")
    cmp -s "$files/${pair#*:}" "$unix/${pair%%:*}" || fail "${pair%%:*} differs from the one that should be installed"
  done
  expect_same "$(listing "$unix")" "$(listing_of "${names[@]}" "$@")" "the files in the folder"
  [ -f "$shortcut" ] || fail "no shortcut $shortcut"
  grep -aqF "$dir\\vantorel.exe" "$shortcut" 2>/dev/null || fail "the shortcut does not point at $dir\\vantorel.exe"
  expect_same "$(reg_value "$uninstall_key" DisplayName)" "REG_SZ Vantorel" "DisplayName"
  expect_same "$(reg_value "$uninstall_key" DisplayVersion)" "REG_SZ $want_version" "DisplayVersion"
  expect_same "$(reg_value "$uninstall_key" InstallLocation)" "REG_SZ $dir" "InstallLocation"
  expect_same "$(reg_value "$uninstall_key" UninstallString)" "REG_SZ \"$dir\\$uninstaller\"" "UninstallString"
  expect_same "$(reg_value "$uninstall_key" QuietUninstallString)" "REG_SZ \"$dir\\$uninstaller\" /S" \
    "QuietUninstallString"
  expect_same "$(reg_value "$uninstall_key" NoModify)" "REG_DWORD 0x1" "NoModify"
  expect_same "$(reg_value "$uninstall_key" NoRepair)" "REG_DWORD 0x1" "NoRepair"
  # The size in KiB of what was installed, uninstaller included, and of nothing else in the folder.
  local size bytes
  size=$(reg_value "$uninstall_key" EstimatedSize)
  bytes=$( (cd "$unix" 2>/dev/null && cat -- "${names[@]}" 2>/dev/null) | wc -c)
  case $size in
    "REG_DWORD 0x"*) [ $((${size#REG_DWORD })) -eq $((bytes / 1024)) ] || fail "EstimatedSize $size for $bytes bytes" ;;
    *) fail "EstimatedSize is '$size'" ;;
  esac
}

# Nothing of the installation at DIR may be left, and the settings must be as they were. OTHERS are the
# names of files that were in the folder before: the folder must stay, holding exactly them.
expect_uninstalled() {
  local dir=$1 unix
  unix=$(to_unix "$dir")
  shift
  if [ $# -eq 0 ]; then
    [ -e "$unix" ] && fail "$dir is still there, holding $(listing "$unix")"
  else
    expect_same "$(listing "$unix")" "$(listing_of "$@")" "what is left in the folder"
  fi
  [ -e "$shortcut" ] && fail "the shortcut is still there"
  w reg query "$uninstall_key"
  [ "$status" -ne 0 ] || fail "the uninstall key is still there"
  for hive in HKCU HKLM; do
    expect_same "$(reg_value "$hive\\Software\\Vantorel" Location1)" "REG_SZ C:\\SETI;Home ($hive);65535;Y;Y;Y;Y" \
      "$hive\\Software\\Vantorel's Location1"
  done
}

for arch in "${arches[@]}"; do
  prefix=$work/prefix-$arch
  prefixes+=("$prefix")
  zip_files=$work/zip-$arch/$name
  echo "# $arch prefix: the $( [ $arch = win64 ] && echo 64 || echo 32)-bit programs must be installed"

  begin "$arch: silent install for the current user"
  if ! "$launcher" "$prefix" "$arch" --check >/dev/null 2>&1; then
    fail "the prefix could not be made"
    end
    continue
  fi
  w cmd /c 'echo %LOCALAPPDATA%^|%APPDATA%'
  IFS='|' read -r local_appdata appdata < <(tr -d '\r' <"$work/out")
  default_dir=$local_appdata\\Programs\\Vantorel
  shortcut=$(to_unix "$appdata\\Microsoft\\Windows\\Start Menu\\Programs\\Vantorel.lnk")
  w "$setup_exe" /S
  expect_same "$status" 0 "the installer's exit status"
  settle
  expect_installed "$default_dir" "$version" "$zip_files"
  end

  begin "$arch: Vantorel starts from the Start-menu shortcut and closes on request"
  rm -f "$work/vantorel.status"
  # start /wait opens the shortcut as Explorer would and ends with the program's status.
  (timeout 180 "$launcher" "$prefix" "$arch" start /wait "$appdata\\Microsoft\\Windows\\Start Menu\\Programs\\Vantorel.lnk" \
     >/dev/null 2>&1
   echo $? >"$work/vantorel.status") &
  starter=$!
  window=
  for _ in $(seq 120); do
    window=$(xdotool search --name '^Vantorel' 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    sleep 0.5
  done
  if [ -z "$window" ]; then
    fail "no window titled Vantorel appeared within a minute"
    timeout 60 "$launcher" "$prefix" "$arch" taskkill /f /im vantorel.exe >/dev/null 2>&1
  else
    sleep 2  # let start-up finish: the pages are created after the window appears
    # Without /f, taskkill posts WM_CLOSE: the program ends the way the close button ends it.
    timeout 60 "$launcher" "$prefix" "$arch" taskkill /im vantorel.exe >/dev/null 2>&1
  fi
  wait "$starter"
  expect_same "$(cat "$work/vantorel.status" 2>/dev/null)" 0 "Vantorel's exit status"
  settle
  [ -z "$(xdotool search --name '^Vantorel$' 2>/dev/null)" ] || fail "the window is still there"
  # On its way out the program stores its window placement where its settings live.
  placement=$(reg_value 'HKLM\Software\Vantorel' "Window Position")$(reg_value 'HKCU\Software\Vantorel' "Window Position")
  case $placement in REG_SZ*) ;; *) fail "no window placement stored on closing" ;; esac
  end

  begin "$arch: the installed Hoardix in an empty folder"
  empty=$(mktemp -d "$work/empty.XXXXXX")
  status=$(cd "$empty" && timeout 60 "$launcher" "$prefix" "$arch" "$default_dir\\hoardix.exe" >"$work/out" 2>&1; echo $?)
  expect_same "$status" 255 "the exit status (-1 in its low 8 bits)"
  grep -q "I was not found the result.sah" "$work/out" || fail "output was '$(head -c 200 "$work/out" | tr '\r\n' '~|')'"
  expect_same "$(listing "$empty")" "" "what it left in the folder"
  end

  begin "$arch: silent uninstall removes the programs and keeps the settings"
  for hive in HKCU HKLM; do
    w reg add "$hive\\Software\\Vantorel" /v Location1 /t REG_SZ /d "C:\\SETI;Home ($hive);65535;Y;Y;Y;Y" /f
    expect_same "$status" 0 "writing $hive\\Software\\Vantorel"
  done
  w "$default_dir\\$uninstaller" /S
  expect_same "$status" 0 "the uninstaller's exit status"
  settle
  expect_uninstalled "$default_dir"
  end

  begin "$arch: a folder of the user's keeps its own README.txt and uninstall.exe through install, reinstall and uninstall"
  own_dir='C:\Tools'
  own_unix=$(to_unix "$own_dir")
  mkdir -p "$own_unix" "$work/own-$arch"
  printf 'The README of the tools in this folder\r\n' >"$work/own-$arch/README.txt"
  # Large enough to show in the installed size, were it counted.
  { printf 'MZ the uninstaller of something else'; head -c 100000 /dev/zero; } >"$work/own-$arch/uninstall.exe"
  cp "$work/own-$arch/README.txt" "$work/own-$arch/uninstall.exe" "$own_unix/"
  w "$setup_exe" /S "/D=$own_dir"
  expect_same "$status" 0 "the installer's exit status"
  settle
  expect_installed "$own_dir" "$version" "$zip_files" README.txt uninstall.exe
  # Run again, as a repair or the next upgrade would: the folder now holds this version, and the files by
  # the names earlier versions used are still not the installer's.
  w "$setup_exe" /S
  expect_same "$status" 0 "the second run's exit status"
  settle
  expect_installed "$own_dir" "$version" "$zip_files" README.txt uninstall.exe
  w "$own_dir\\$uninstaller" /S
  expect_same "$status" 0 "the uninstaller's exit status"
  settle
  expect_uninstalled "$own_dir" README.txt uninstall.exe
  for file in README.txt uninstall.exe; do
    cmp -s "$work/own-$arch/$file" "$own_unix/$file" || fail "the folder's own $file was changed"
  done
  end

  begin "$arch: installing over an older version in another folder replaces it there, old file names included"
  old_dir='C:\Apps\Vantorel'
  # /D must come last and unquoted, as NSIS wants it.
  w "$work/old-setup.exe" /S "/D=$old_dir"
  expect_same "$status" 0 "the older installer's exit status"
  settle
  expect_same "$(reg_value "$uninstall_key" DisplayVersion)" "REG_SZ $old_version" "DisplayVersion before the upgrade"
  cmp -s "$work/old-$arch/vantorel.exe" "$(to_unix "$old_dir")/vantorel.exe" || fail "the older version was not installed"
  expect_same "$(listing "$(to_unix "$old_dir")")" "$(listing_of LICENSE.txt README.txt hoardix.exe uninstall.exe vantorel.exe)" \
    "the older version's files"
  w "$setup_exe" /S
  expect_same "$status" 0 "the installer's exit status"
  settle
  expect_installed "$old_dir" "$version" "$zip_files"
  [ -e "$(to_unix "$default_dir")" ] && fail "a second copy went to $default_dir"
  w "$old_dir\\$uninstaller" /S
  settle
  expect_uninstalled "$old_dir"
  end
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] || exit 1
[ "$setup_exe" = "$dist/$setup" ] || exit 77
