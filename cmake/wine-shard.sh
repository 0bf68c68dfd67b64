#!/usr/bin/env bash
# Runs one shard of a GoogleTest program under Wine, in a prefix and on an X display of its own, so
# that the shards of a suite run side by side without sharing a registry, a clipboard or a focus.
# The shard's prefix is a copy of the build tree's main one, made once. A shard that runs no test
# fails: a shard must never pass for tests it did not run.
# Usage: wine-shard.sh MAIN_PREFIX_DIR win32|win64 INDEX TOTAL PROGRAM.exe [ARGS...]
set -u
here=$(cd "$(dirname "$0")" && pwd)
main=$(realpath -m "$1") arch=$2 index=$3 total=$4
shift 4

# Makes the main prefix where it is missing; 77 (skipped) where this architecture cannot run.
"$here/wine-run.sh" "$main" "$arch" --check || exit $?
prefix="$main-shard$index"
if [ ! -f "$prefix/system.reg" ]; then
  (
    flock 9
    if [ ! -f "$prefix/system.reg" ]; then
      # The server writes its registry files whole (a new file renamed over the old), so a copy
      # taken while it runs still holds a complete registry.
      rm -rf "$prefix.tmp" && cp -a "$main" "$prefix.tmp" && mv "$prefix.tmp" "$prefix"
    fi
  ) 9>"$prefix.lock"
fi

xvfb_pid=
output=$(mktemp)
cleanup() {
  WINEPREFIX="$prefix" wineserver -k 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -f "$output"
}
trap cleanup EXIT
display_file=$(mktemp)
Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$display_file" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
if [ ! -s "$display_file" ]; then
  echo "shard $index: Xvfb did not start"
  exit 1
fi
export DISPLAY=:$(cat "$display_file")
rm -f "$display_file"

GTEST_TOTAL_SHARDS=$total GTEST_SHARD_INDEX=$index "$here/wine-run.sh" "$prefix" "$arch" "$@" >"$output" 2>&1
status=$?
cat "$output"
[ "$status" -ne 0 ] && exit "$status"
ran=$(sed -n 's/^\[==========\] \([0-9]*\) tests\{0,1\} from .* ran\..*/\1/p' "$output" | tail -n 1)
if [ -z "$ran" ] || [ "$ran" -eq 0 ]; then
  echo "shard $index of $total ran no test"
  exit 1
fi
echo "shard $index of $total: $ran tests"
