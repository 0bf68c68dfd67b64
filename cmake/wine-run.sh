#!/usr/bin/env bash
# Runs a Windows program under Wine in the build tree's private prefix, creating the prefix once.
# Usage: wine-run.sh PREFIX_DIR win32|win64 PROGRAM.exe [ARGS...]
# The exit status is the program's, cut to its low 8 bits as Wine reports it.
set -u
prefix=$(realpath -m "$1") arch=$2
shift 2
# Debian's wine wrapper always prefers the 32-bit loader; a 64-bit prefix needs wine64 itself.
if [ "$arch" = win64 ]; then wine=/usr/lib/wine/wine64; else wine=/usr/lib/wine/wine; fi
export WINEPREFIX=$prefix WINEARCH=$arch
export WINEDEBUG=${WINEDEBUG:--all}
# Keep wineboot from offering to install Mono and Gecko: nothing here needs them.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# Status 77 tells ctest the run was skipped, not passed.
if [ "$arch" = win32 ] && ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo "SKIPPED: this kernel cannot run 32-bit Linux programs, so 32-bit Wine cannot start here." >&2
  exit 77
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      "$wine" wineboot -i >/dev/null 2>&1
      # A crashing test must fail, not wait for someone to close a crash dialog.
      "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
      # Xvfb has no window manager; managed windows make every hide or destroy wait for one.
      "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
      wineserver -w
    fi
  ) 9>"$prefix.lock"
fi

# Wine's own TrueType fonts (Debian's fonts-wine): without Marlett the caption buttons are drawn as
# the letters "0 1 r", and without Tahoma the dialogs fall back to a bitmap font.
fonts="$WINEPREFIX/drive_c/windows/Fonts"
for font in marlett.ttf tahoma.ttf tahomabd.ttf; do
  if [ ! -f "$fonts/$font" ] && [ -f "/usr/share/wine/fonts/$font" ]; then
    mkdir -p "$fonts" && cp "/usr/share/wine/fonts/$font" "$fonts/"
  fi
done

# "--check" only makes sure the prefix exists and this architecture can run.
[ "${1:-}" = --check ] && exit 0

# Wine's service processes outlive the program and inherit its output: handed a caller's pipe
# (ctest's), they would keep it open and the caller would wait forever. The program writes into
# files instead, which are copied to the caller's streams once it has ended.
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
if [ -z "${DISPLAY:-}" ]; then
  xvfb-run -a -s "-screen 0 1280x1024x24" "$wine" "$@" >"$out" 2>"$err"
else
  "$wine" "$@" >"$out" 2>"$err"
fi
status=$?
cat "$out"
cat "$err" >&2
exit $status
