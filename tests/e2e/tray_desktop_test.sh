#!/usr/bin/env bash
# Runs the notification-area window test inside a Wine virtual desktop with a taskbar, where the
# icon can really be added; elsewhere that test skips itself. Wine's explorer does not hand the
# program's exit status on, so the verdict is read from the test's XML report: exactly one test,
# run (not skipped) and passed.
# Usage: tray_desktop_test.sh PREFIX_DIR win32|win64 windows_tests.exe
set -u
here=$(cd "$(dirname "$0")" && pwd)
launcher=("$here/../../cmake/wine-run.sh" "$1" "$2")
tests=$(realpath "$3")
report=$(mktemp --suffix=.xml)
trap 'rm -f "$report"' EXIT
rm -f "$report"
to_windows() { echo "Z:$(echo "$1" | tr / '\\')"; }

"${launcher[@]}" --check || exit $?
# The desktop named "shell" has Wine's taskbar and notification area.
"${launcher[@]}" explorer /desktop=shell,1024x768 "$(to_windows "$tests")" \
  --gtest_filter='*InANotificationArea*' --gtest_output="xml:$(to_windows "$report")"
status=$?
[ "$status" = 77 ] && exit 77
if [ ! -s "$report" ]; then
  echo "no test report: the tests did not run inside the virtual desktop"
  exit 1
fi
cat "$report"
grep -q '<testsuites tests="1" failures="0"' "$report" && grep -q 'result="completed"' "$report" &&
  ! grep -q 'skipped="1"\|result="skipped"' "$report"
