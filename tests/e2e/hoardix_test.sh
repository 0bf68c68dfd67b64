#!/usr/bin/env bash
# Runs Hoardix in scratch client directories, natively or under Wine, and checks its output, exit status and files.
# Usage: hoardix_test.sh native PATH_TO_hoardix
#        hoardix_test.sh wine PATH_TO_hoardix.exe PREFIX_DIR win32|win64
set -u

usage() {
  echo "usage: $0 native PROGRAM | $0 wine PROGRAM.exe PREFIX_DIR win32|win64" >&2
  exit 2
}

mode=${1:-}
case $mode in
  native) [ $# -eq 2 ] || usage ;;
  wine) [ $# -eq 4 ] || usage; prefix=$3 arch=$4
        launcher="$(cd "$(dirname "$0")/../../cmake" && pwd)/wine-run.sh" ;;
  *) usage ;;
esac
prog=$(realpath "$2") || usage

# Where this machine cannot run the architecture's Wine at all, say so and report a skip (77) to ctest.
if [ "$mode" = wine ]; then
  "$launcher" "$prefix" "$arch" --check || exit $?
fi

work=$(mktemp -d)
xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  [ "$(id -u)" = 0 ] && chattr -R -i "$work" 2>/dev/null
  chmod -R u+w "$work" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# Hoardix needs no display, but the launcher wraps every run in xvfb-run when there is none, and Xvfb cannot
# start under the file-size limit of the failed-write case. One display of our own serves every run instead.
if [ "$mode" = wine ] && [ -z "${DISPLAY:-}" ]; then
  Xvfb -displayfd 3 -nolisten tcp -screen 0 640x480x24 3>"$work/display" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
  DISPLAY=:$(cat "$work/display")
  export DISPLAY
fi

marker=operation=send_result_get_user_stats
greeting=$'Hello, I am a Hoardix :-)))!\n\n'
usage_text=$'Please let me run, I\'d collect the actual SETI@home result...\n\nI don\'t speak and don\'t unterstand any language, I can\'t help to You,\nbut I know, what can I do with your SETI result.sah (v2.x file), if it is exist\nin the working diectory, and there is exist a data directory to my work...\n\nBye!\n\n'
msg_not_found=$'I was not found the result.sah, there is a SETI@home working directory?\nIf it is, the client is working or sleeping...\n'
msg_cannot_open=$'Can\'t open the result.sah, how can I work with it ...?\n\n'
msg_not_result=$'This result.sah is not a SETI@home type file!\n\n'
msg_no_data=$'Can\'t open the data directory, why?\nPlease create it, and run me again!\n\n'
msg_cannot_create=$'Can\'t create a new datafile in the data directory...\n'
msg_write_failed='There is a problem during write process to %s!\n\n'

passed=0 failed=0

# Starts a case in a fresh client directory "$dir".
begin() {
  name=$1 reasons=()
  dir=$(mktemp -d "$work/case.XXXXXX")
}
fail() { reasons+=("$1"); }
end() {
  if [ ${#reasons[@]} -eq 0 ]; then
    echo "ok - $name"; passed=$((passed + 1))
  else
    local IFS=';'
    echo "not ok - $name: ${reasons[*]}"; failed=$((failed + 1))
  fi
}
skip() { echo "ok - $1 # skip: $2"; }

# Runs the program in "$dir" with the given arguments; the output lands in $work/out, the status in $status.
run() {
  if [ "$mode" = native ]; then
    (cd "$dir" && exec "$prog" "$@") >"$work/out" 2>"$work/err"
  else
    (cd "$dir" && exec "$launcher" "$prefix" "$arch" "$prog" "$@") >"$work/out" 2>"$work/err"
    status=$?
    # Hoardix greets before anything else and never exits with 1: status 1 without a byte of output
    # is Wine failing to start the program on a loaded machine, which is tried once more.
    if [ "$status" -eq 1 ] && [ ! -s "$work/out" ]; then
      echo "# Wine did not start Hoardix ($(head -c 300 "$work/err" | tr '\n' ' ')); trying again" >&2
      (cd "$dir" && exec "$launcher" "$prefix" "$arch" "$prog" "$@") >"$work/out" 2>"$work/err"
      status=$?
    fi
    return
  fi
  status=$?
}

# The same, with a 1 KiB file-size limit, so a larger archive write comes up short (EFBIG instead of SIGXFSZ).
run_limited() {
  if [ "$mode" = native ]; then
    (cd "$dir" && trap '' XFSZ && ulimit -f 1 && exec "$prog") >"$work/out" 2>"$work/err"
  else
    # A wineserver started under the limit crashes on its own files, so one is started outside it first:
    # after the previous run's server has gone (an exiting one would not stay), kept for 10 s without clients.
    (export WINEPREFIX=$prefix; wineserver -w; wineserver -p10)
    (cd "$dir" && trap '' XFSZ && ulimit -f 1 && exec "$launcher" "$prefix" "$arch" "$prog") >"$work/out" 2>"$work/err"
  fi
  status=$?
}

expect_status() {
  [ "$status" -eq $(($1 & 255)) ] || fail "exit status $status, expected $(($1 & 255)) ($1)"
}

# The output must be the greeting and the given text, byte for byte. The Windows C runtime writes its standard
# output in text mode, so there every line break is CR LF: that is the platform's line end, expected as such.
expect_output() {
  local text=$greeting$1
  [ "$mode" = wine ] && text=${text//$'\n'/$'\r\n'}
  printf '%s' "$text" >"$work/expected"
  cmp -s "$work/expected" "$work/out" || fail "output was '$(head -c 120 "$work/out" | tr '\r\n' '~|')'"
}

# Everything under a directory: names, kinds, sizes, modes and contents.
snapshot() {
  (cd "$1" && find . -printf '%p %y %s %m\n' | LC_ALL=C sort && find . -type f -exec md5sum {} + | LC_ALL=C sort)
}
remember() { snapshot "$dir" >"$work/before"; }
expect_unchanged() {
  snapshot "$dir" | cmp -s "$work/before" - || fail "files changed: $(snapshot "$dir" | diff "$work/before" - | tr '\n' ' ')"
}

# The number the archive name must carry. Natively: the birth time, or the last-write time where the file
# system keeps none. Under Wine on Linux the creation time reported is the last-write time: measured with
# Wine 8, a file whose modification time was set to 2100 reads as created in 2100 although its change time
# is today, so it is not the earlier of the two.
creation_time() {
  local t=
  [ "$mode" = native ] && t=$(stat -c %W "$1")
  if [ -z "$t" ] || [ "$t" = 0 ] || [ "$t" = - ]; then t=$(stat -c %Y "$1"); fi
  echo "$t"
}

# data must hold exactly the one archive r_<time>.sah, a byte-exact copy of the source.
expect_archive() {
  local source=$1 time=$2 files
  files=$(cd "$dir/data" && ls -A)
  if [ "$files" != "r_$time.sah" ]; then
    fail "data holds '${files//$'\n'/ }', expected r_$time.sah"
  elif ! cmp -s "$source" "$dir/data/r_$time.sah"; then
    fail "archive differs from $(basename "$source")"
  fi
}

# The content is a printf format, so the case tables can spell CR, 0x1A and zero bytes as escapes.
# shellcheck disable=SC2059
with_result() { mkdir -p "$dir/data"; printf "$1" >"$dir/result.sah"; }

# Arguments: usage text and -666, and no file touched, with or without a valid result file.
for args in 'x' '' 'a b'; do
  for setup in valid none; do
    begin "argument(s) [$args] with $setup result file"
    [ $setup = valid ] && with_result "$marker\n"
    remember
    if [ "$args" = 'a b' ]; then run a b; else run "$args"; fi
    expect_status -666; expect_output "$usage_text"; expect_unchanged
    end
  done
done

begin "missing result.sah"
mkdir "$dir/data"; remember; run
expect_status -1; expect_output "$msg_not_found"; expect_unchanged
end

# Found by the directory search, but not a file that can be opened for reading.
begin "result.sah is a directory"
mkdir -p "$dir/data" "$dir/result.sah"; remember; run
expect_status -3; expect_output "$msg_cannot_open"; expect_unchanged
end

# Not a result file: the first 36 bytes must be the marker exactly.
while IFS='|' read -r label content; do
  begin "not a result file: $label"
  with_result "$content"; remember; run
  expect_status -6; expect_output "$msg_not_result"; expect_unchanged
  end
done <<'EOF'
empty file|
prefix of the marker|operation=send
35 bytes of the marker|operation=send_result_get_user_stat
marker in upper case|OPERATION=SEND_RESULT_GET_USER_STATS\n
one letter in another case|operation=send_result_get_user_Stats\n
zero byte inside the marker|operation=send\0result_get_user_stats\n
leading blank| operation=send_result_get_user_stats\n
marker on the second line|\noperation=send_result_get_user_stats\n
EOF

# Linux file names are case-sensitive, so natively RESULT.SAH is another file and result.sah is missing.
# Windows (and Wine, which looks names up case-insensitively) finds RESULT.SAH as result.sah and archives it.
begin "file named RESULT.SAH"
mkdir "$dir/data"; printf '%s\n' "$marker" >"$dir/RESULT.SAH"; remember; run
if [ "$mode" = native ]; then
  expect_status -1; expect_output "$msg_not_found"; expect_unchanged
else
  expect_status 0; expect_output ""; expect_archive "$dir/RESULT.SAH" "$(creation_time "$dir/RESULT.SAH")"
fi
end

begin "no data directory"
printf '%s\n' "$marker" >"$dir/result.sah"; remember; run
expect_status -7; expect_output "$msg_no_data"; expect_unchanged
end

begin "data is a plain file"
printf '%s\n' "$marker" >"$dir/result.sah"; echo keep >"$dir/data"; remember; run
expect_status -7; expect_output "$msg_no_data"; expect_unchanged
end

# Byte-exact copies: line ends, an end-of-file byte, zero bytes and whatever follows the marker.
while IFS='|' read -r label content; do
  begin "copy: $label"
  with_result "$content"; cp "$dir/result.sah" "$work/source"; run
  expect_status 0; expect_output ""
  expect_archive "$work/source" "$(creation_time "$dir/result.sah")"
  cmp -s "$work/source" "$dir/result.sah" || fail "result.sah was modified"
  end
done <<EOF
marker alone|$marker
CR LF lines and a 0x1A byte|$marker\r\nresult_id=42\r\nbest_spike=1.5\r\n\x1a
zero byte after the marker|$marker\0\0after the zero\xff\x80
bytes after the marker|$marker\n<ogh ncfft=65536>\n\x01\x02\xfe\n
EOF

begin "copy: 300 KiB of binary data"
mkdir "$dir/data"
{ printf '%s' "$marker"; head -c 307200 /dev/urandom; } >"$dir/result.sah"
touch -d @1000000000 "$dir/result.sah"   # a modification time far from the birth time tells them apart
run
expect_status 0; expect_output ""; expect_archive "$dir/result.sah" "$(creation_time "$dir/result.sah")"
end

# An existing archive of the same name is replaced whole, even when it is longer than the new copy.
begin "existing longer archive replaced"
with_result "$marker\nshort\n"; time=$(creation_time "$dir/result.sah")
head -c 5000 /dev/zero | tr '\0' x >"$dir/data/r_$time.sah"; run
expect_status 0; expect_output ""; expect_archive "$dir/result.sah" "$time"
end

begin "second run gives the same archive"
with_result "$marker\nagain\n"; run; run
expect_status 0; expect_output ""; expect_archive "$dir/result.sah" "$(creation_time "$dir/result.sah")"
end

# Wine takes the creation time from the modification time, which can be set beyond 2038; natively the birth
# time cannot be set, so there the case has nothing to check.
if [ "$mode" = wine ]; then
  begin "creation time after 2038"
  with_result "$marker\n"; touch -d @4102444800 "$dir/result.sah"; run
  expect_status 0; expect_output ""; expect_archive "$dir/result.sah" 4102444800
  end
else
  skip "creation time after 2038" "the birth time of a file cannot be set on Linux"
fi

# An archive that cannot be opened for writing stops the run before anything is written. The write bit alone
# stops an unprivileged user, natively and under Wine, but not root: Wine checks it only through the open,
# which root passes. So as root the file is also made immutable, which stops root too (where chattr works).
# A directory of the archive's name stops everyone.
for blocker in read-only directory; do
  begin "archive name blocked: $blocker"
  with_result "$marker\nnew\n"; time=$(creation_time "$dir/result.sah")
  archive=$dir/data/r_$time.sah
  if [ $blocker = directory ]; then
    mkdir "$archive"
  else
    echo old >"$archive"; chmod a-w "$archive"
    if [ "$(id -u)" = 0 ] && ! chattr +i "$archive" 2>/dev/null; then
      skip "$name" "running as root where chattr +i is not allowed"; continue
    fi
  fi
  remember; run
  expect_status -8; expect_output "$msg_cannot_create"; expect_unchanged
  [ $blocker = read-only ] && [ "$(id -u)" = 0 ] && chattr -i "$archive"
  end
done

# A write that comes up short: the message names the archive, and neither a partial archive nor the
# temporary file is left behind; an archive that was there before stays as it was.
for existing in none old; do
  begin "failed write, existing archive: $existing"
  mkdir "$dir/data"
  { printf '%s' "$marker"; head -c 4000 /dev/urandom; } >"$dir/result.sah"
  time=$(creation_time "$dir/result.sah")
  [ $existing = old ] && echo "old archive" >"$dir/data/r_$time.sah"
  remember; run_limited
  # shellcheck disable=SC2059
  printf -v message "$msg_write_failed" "r_$time.sah"
  expect_status -9; expect_output "$message"; expect_unchanged
  end
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
