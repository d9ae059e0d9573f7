#!/usr/bin/env python3
"""Self cost per function from a callgrind dump made with --dump-instr=yes
--compress-pos=no --compress-strings=no, by instruction address (the script's
coroutine switches stacks, which confuses callgrind's own call tracking).
usage: callgrind_self.py DUMP BINARY [TOP]"""
import bisect, collections, re, subprocess, sys

dump, binary = sys.argv[1], sys.argv[2]
top = int(sys.argv[3]) if len(sys.argv) > 3 else 20
syms = []
for line in subprocess.run(['nm', '-C', '--defined-only', binary], capture_output=True, text=True).stdout.splitlines():
    p = line.split(' ', 2)
    if len(p) == 3 and p[1] in 'tTwW':
        syms.append((int(p[0], 16), p[2]))
syms.sort()
addrs = [a for a, _ in syms]
cost = collections.Counter()
obj, skip = '', False
for line in open(dump):
    if line.startswith('ob='):
        obj = line[3:].strip()
    if line.startswith('calls='):
        skip = True
        continue
    m = re.match(r'^(0x[0-9a-f]+) (\d+) (\d+)', line)
    if not m:
        continue
    if skip:
        skip = False
        continue
    a, c = int(m.group(1), 16), int(m.group(3))
    if obj.endswith(binary.split('/')[-1]):
        i = bisect.bisect_right(addrs, a) - 1
        cost[syms[i][1] if i >= 0 else '?'] += c
    else:
        cost['[' + obj.split('/')[-1] + ']'] += c
total = sum(cost.values())
print('total', total)
for k, v in cost.most_common(top):
    print(f'{v:>12} {100.0 * v / total:5.1f}%  {k[:110]}')
