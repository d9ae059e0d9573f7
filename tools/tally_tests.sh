#!/usr/bin/env bash
# Counts the results of ctest runs for `./zv test`'s last line.
#   tools/tally_tests.sh REPORT...    one JUnit report per ctest run (ctest --output-junit REPORT)
# Prints "N passed, N failed" (", N skipped" when there are any) and exits 1
# when anything failed, so that the line and the exit status always agree.
#
# Every test case counts once: status "run" passes; "notrun" with ctest's
# SKIP_ message (the test skipped itself: SKIP_RETURN_CODE or
# SKIP_REGULAR_EXPRESSION) is skipped; anything else fails: a failure, a
# timeout, a crash, a test not run because its fixture failed or its program
# is missing, a disabled test. A report that cannot be read, holds no test
# case (ctest found no tests, or the file is empty), was cut short (no
# </testsuite>) or counts other than its own cases is one more failure. The
# names of the tests that did not pass go to stderr.
set -uo pipefail

passed=0 failed=0 skipped=0
for report in "$@"; do
  if [ ! -r "$report" ]; then
    echo "tally: cannot read $report" >&2
    failed=$((failed + 1))
    continue
  fi
  # Test output inside a report is XML-escaped, so "<" starts only tags.
  read -r p f s cases declared closed < <(awk -v report="$report" '
    function fail(why) { f++; print "tally: " report ": " name ": " why > "/dev/stderr" }
    function settle() { if (pending) fail("not run"); pending = 0 }
    /<testcase / {
      settle()
      cases++
      name = status = ""
      if (match($0, /name="[^"]*"/)) name = substr($0, RSTART + 6, RLENGTH - 7)
      if (match($0, /status="[a-z]+"/)) status = substr($0, RSTART + 8, RLENGTH - 9)
      if (status == "run") p++
      else if (status == "notrun") pending = 1
      else fail(status == "fail" ? "failed" : status)
      next
    }
    /<skipped message="/ && pending {
      if ($0 ~ /<skipped message="SKIP_/) s++
      else if (match($0, /message="[^"]*"/)) fail("not run: " substr($0, RSTART + 9, RLENGTH - 10))
      pending = 0
      next
    }
    cases == 0 && declared == "" && match($0, /tests="[0-9]+"/) { declared = substr($0, RSTART + 7, RLENGTH - 8) }
    /<\/testsuite>/ { closed = 1 }
    END { settle(); printf "%d %d %d %d %s %d\n", p, f, s, cases, (declared == "" ? "-" : declared), closed }
  ' "$report")
  if [ "$cases" -eq 0 ]; then
    echo "tally: $report holds no test results" >&2
    f=$((f + 1))
  elif [ "$closed" -eq 0 ]; then
    echo "tally: $report ends before its last test: the run did not finish" >&2
    f=$((f + 1))
  elif [ "$declared" != "$cases" ]; then
    echo "tally: $report says $declared tests and holds $cases" >&2
    f=$((f + 1))
  fi
  passed=$((passed + p)) failed=$((failed + f)) skipped=$((skipped + s))
done

if [ $((passed + failed)) -eq 0 ]; then
  echo "tally: no test ran" >&2
  failed=1
fi
line="$passed passed, $failed failed"
[ "$skipped" -gt 0 ] && line="$line, $skipped skipped"
echo "$line"
[ "$failed" -eq 0 ]
