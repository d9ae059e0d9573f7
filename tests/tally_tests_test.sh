#!/usr/bin/env bash
# Feeds zv test's result counter (tools/tally_tests.sh) ctest logs whose counts
# are known, in the exact forms ctest prints, and checks its last line and exit
# status: a failing run must never read "0 failed".
#   tally_tests_test.sh <tools/tally_tests.sh>
set -uo pipefail
tally=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
errors=0

expect() {  # name, expected line, expected status, logs...
  local name=$1 want=$2 want_status=$3 got status
  shift 3
  got=$("$tally" "$@" 2>/dev/null | tail -n 1)
  "$tally" "$@" >/dev/null 2>&1
  status=$?
  if [ "$got" != "$want" ] || [ "$status" != "$want_status" ]; then
    echo "FAIL $name: got \"$got\" (exit $status), want \"$want\" (exit $want_status)"
    errors=$((errors + 1))
  else
    echo "ok   $name: $got"
  fi
}

cat >"$dir/passing.log" <<'LOG'
Test project /src/build/sim
      Start  1: wine.Prefix
 1/3 Test  #1: wine.Prefix ......................   Passed   11.20 sec
 2/3 Test  #2: camera.Walk ......................   Passed    0.10 sec
 3/3 Test  #3: wine.CheckIni ....................***Skipped   0.01 sec

100% tests passed, 0 tests failed out of 3
LOG

# The first-run failure as it was seen: the fixture fails with its result run
# into the dots, and the tests that need it do not run.
cat >"$dir/first-run.log" <<'LOG'
Test project /src/build/sim
 1/6 Test  #1: wine.Prefix ......................***Failed    0.52 sec
CMake Error at run-under-wine.cmake:29 (message):
  zv-wine: wineboot -i failed (0)
Failed test dependencies: wine.Prefix
 2/6 Test  #2: wine.HostLoads ...................***Not Run   0.00 sec
 3/6 Test  #3: camera.Walk ......................   Passed    0.10 sec
 4/6 Test  #4: wine.Session .....................***Timeout 120.01 sec
 5/6 Test  #5: camera.Crash .....................***Exception: SegFault  0.02 sec
 6/6 Test  #6: menu.Open ........................   Passed    0.05 sec

33% tests passed, 4 tests failed out of 6

The following tests FAILED:
	  1 - wine.Prefix (Failed)
	  2 - wine.HostLoads (Not Run)
	  4 - wine.Session (Timeout)
	  5 - camera.Crash (SEGFAULT)
Errors while running CTest
LOG

# A run cut off before ctest printed its summary.
grep -E '^Test project|#[36]:' "$dir/first-run.log" >"$dir/cut.log"
printf 'Test project /src/build/asan\n' >"$dir/empty.log"
echo "Test    #0: settings_load_fuzz ........   Passed" >"$dir/fuzz-pass.log"
echo "Test    #0: settings_load_fuzz ........***Failed" >"$dir/fuzz-fail.log"

expect "every stage passes" "3 passed, 0 failed, 1 skipped" 0 "$dir/passing.log" "$dir/fuzz-pass.log"
expect "failed, not run, timed out and crashed tests all count" "5 passed, 4 failed, 1 skipped" 1 \
  "$dir/passing.log" "$dir/first-run.log" "$dir/fuzz-pass.log"
expect "the fuzz stage counts" "2 passed, 1 failed, 1 skipped" 1 "$dir/passing.log" "$dir/fuzz-fail.log"
expect "a ctest run with no summary is a failure" "4 passed, 1 failed, 1 skipped" 1 "$dir/passing.log" "$dir/cut.log"
expect "a ctest run with no results is a failure" "2 passed, 1 failed, 1 skipped" 1 "$dir/passing.log" "$dir/empty.log"
expect "a missing log is a failure" "2 passed, 1 failed, 1 skipped" 1 "$dir/passing.log" "$dir/absent.log"

[ "$errors" = 0 ]
