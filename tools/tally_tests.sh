#!/usr/bin/env bash
# Counts the results of ctest runs for `./zv test`'s last line.
#   tools/tally_tests.sh LOG...    one log per ctest run (or a fuzz stage line)
# Prints "N passed, N failed" (", N skipped" when there are any) and exits 1
# when anything failed, so that the line and the exit status always agree.
#
# Every line "Test #N: name ....<result>" counts once: "Passed" passes,
# "***Skipped" is skipped, and anything else (Failed, ***Failed run into the
# dots, ***Timeout, ***Exception, Not Run, a fixture that never ran) fails.
# A ctest log (one that starts "Test project") must also end in its own summary, "N tests failed out of M", and
# agree with it: a log with no summary (ctest never got to the end, or found no
# tests) or with a total other than its own lines counts as one more failure.
set -uo pipefail

passed=0 failed=0 skipped=0
for log in "$@"; do
  if [ ! -r "$log" ]; then
    echo "tally: cannot read $log" >&2
    failed=$((failed + 1))
    continue
  fi
  read -r p f s total summary_failed < <(awk '
    /Test +#[0-9]+: / {
      if ($0 ~ /[. ]Passed( |$)/) p++
      else if ($0 ~ /\*\*\*Skipped/) s++
      else f++
      next
    }
    /tests? failed out of [0-9]+/ {
      for (i = 1; i <= NF; i++) if ($i == "out" && $(i + 1) == "of") total = $(i + 2)
      for (i = 1; i <= NF; i++) if ($i ~ /^tests?$/ && $(i + 1) == "failed") sf = $(i - 1)
    }
    END { printf "%d %d %d %s %s\n", p, f, s, (total == "" ? "-" : total), (sf == "" ? "-" : sf) }
  ' "$log")
  if [ $((p + f + s)) -eq 0 ]; then
    echo "tally: $log holds no test results" >&2
    f=$((f + 1))
  elif grep -q '^Test project ' "$log"; then
    if [ "$total" = "-" ]; then
      echo "tally: $log has no ctest summary line: the run did not finish" >&2
      f=$((f + 1))
    elif [ "$total" -ne $((p + f + s)) ] || [ "$summary_failed" -gt "$f" ]; then
      echo "tally: $log: its summary says $summary_failed failed out of $total, its lines $f failed out of $((p + f + s))" >&2
      f=$((f + 1))
    fi
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
