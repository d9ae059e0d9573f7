#!/usr/bin/env bash
# Feeds zv test's result counter (tools/tally_tests.sh) JUnit reports that
# ctest itself writes for a small project whose results are known (tests
# that pass, fail, time out, crash, skip themselves, or never run because a
# fixture failed or the program is missing), and reports that ctest never
# finished, and checks its last line and exit status: a failing run must
# never read "0 failed".
#   tally_tests_test.sh <tools/tally_tests.sh> <cmake> <ctest>
set -uo pipefail
tally=$1 cmake=$2 ctest=$3
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
errors=0

mkdir -p "$dir/project"
cat >"$dir/project/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.21)
project(tally_shapes NONE)
enable_testing()
add_test(NAME pass.One COMMAND true)
add_test(NAME pass.Two COMMAND true)
add_test(NAME skip.ByExitCode COMMAND sh -c "exit 77")
set_tests_properties(skip.ByExitCode PROPERTIES SKIP_RETURN_CODE 77)
add_test(NAME skip.ByOutput COMMAND sh -c "echo 'zv-wine: skipped: no build'")
set_tests_properties(skip.ByOutput PROPERTIES SKIP_REGULAR_EXPRESSION "zv-wine: skipped")
add_test(NAME broken.Fails COMMAND false)
add_test(NAME broken.TimesOut COMMAND sleep 10)
set_tests_properties(broken.TimesOut PROPERTIES TIMEOUT 1)
add_test(NAME broken.Crashes COMMAND sh -c "kill -SEGV $$")
add_test(NAME broken.Prefix COMMAND false)
set_tests_properties(broken.Prefix PROPERTIES FIXTURES_SETUP prefix)
add_test(NAME broken.NeedsThePrefix COMMAND true)
set_tests_properties(broken.NeedsThePrefix PROPERTIES FIXTURES_REQUIRED prefix)
add_test(NAME broken.NoProgram COMMAND ${CMAKE_CURRENT_BINARY_DIR}/no-such-program)
CMAKE
"$cmake" -S "$dir/project" -B "$dir/build" >/dev/null || { echo "FAIL: cannot configure the test project"; exit 1; }
report() {  # name, ctest options...: the project's tests run into name.xml
  local name=$1
  shift
  (cd "$dir/build" && "$ctest" --output-junit "$dir/$name.xml" "$@" >/dev/null 2>&1)
}
report passing -R '^(pass|skip)\.'
report broken
report none -R 'no-such-test'
: >"$dir/empty.xml"
# A report cut off in the middle of its test cases.
head -n "$(($(grep -n '<testcase ' "$dir/broken.xml" | sed -n 3p | cut -d: -f1) - 1))" "$dir/broken.xml" >"$dir/cut.xml"
sed 's/tests="[0-9]*"/tests="99"/' "$dir/passing.xml" >"$dir/miscounted.xml"

expect() {  # name, expected line, expected status, reports...
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

expect "every run passes; skipped tests are not failures" "4 passed, 0 failed, 4 skipped" 0 \
  "$dir/passing.xml" "$dir/passing.xml"
expect "failed, timed out, crashed and never run tests all count" "4 passed, 6 failed, 4 skipped" 1 \
  "$dir/passing.xml" "$dir/broken.xml"
expect "a run that found no tests is a failure" "2 passed, 1 failed, 2 skipped" 1 "$dir/passing.xml" "$dir/none.xml"
expect "an empty report is a failure" "2 passed, 1 failed, 2 skipped" 1 "$dir/passing.xml" "$dir/empty.xml"
expect "a missing report is a failure" "2 passed, 1 failed, 2 skipped" 1 "$dir/passing.xml" "$dir/absent.xml"
expect "a report cut short is a failure" "4 passed, 1 failed, 2 skipped" 1 "$dir/passing.xml" "$dir/cut.xml"
expect "a report that miscounts its tests is a failure" "2 passed, 1 failed, 2 skipped" 1 "$dir/miscounted.xml"
stderr=$("$tally" "$dir/broken.xml" 2>&1 >/dev/null)
for name in broken.Fails broken.TimesOut broken.Crashes broken.Prefix broken.NeedsThePrefix broken.NoProgram; do
  case "$stderr" in
    *"$name"*) ;;
    *) echo "FAIL the tally does not name $name"; errors=$((errors + 1)) ;;
  esac
done

[ "$errors" = 0 ]
