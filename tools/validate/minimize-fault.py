#!/usr/bin/env python3
"""Cuts a fault that quilm-validate found down to the calls that cause it.

Runs the same scenario and seed again with --only-calls and removes calls as
long as a FAULT line matching the pattern still appears (delta debugging).
Prints the shortest call list found and the command that replays it.

usage: minimize-fault.py VALIDATOR PLUGIN SCENARIO SEED LAST_CALL PATTERN
  LAST_CALL  the call number the fault report gives (later calls are dropped)
  PATTERN    regular expression a FAULT line must match, e.g. "not finite"
"""
import re
import subprocess
import sys


def fails(validator, plugin, scenario, seed, calls, pattern):
    if not calls:
        return False
    call_list = ",".join(str(c) for c in calls)
    cmd = [validator, "--scenario", scenario, "--run-seed", seed, "--per-run", str(calls[-1]),
           "--calls", str(calls[-1]), "--only-calls", call_list, plugin]
    out = subprocess.run(cmd, capture_output=True, text=True, timeout=600)
    return any(re.search(pattern, line) for line in out.stderr.splitlines() if line.startswith("FAULT")) or \
        (out.returncode not in (0, 1) and re.search(pattern, out.stderr) is not None)


def ddmin(calls, test):
    n = 2
    while len(calls) >= 2:
        chunk = max(1, len(calls) // n)
        parts = [calls[i:i + chunk] for i in range(0, len(calls), chunk)]
        reduced = False
        for part in parts:
            rest = [c for c in calls if c not in set(part)]
            if test(rest):
                calls, n, reduced = rest, max(n - 1, 2), True
                break
        if not reduced:
            if n >= len(calls):
                break
            n = min(len(calls), n * 2)
    return calls


def main():
    if len(sys.argv) != 7:
        print(__doc__)
        return 2
    validator, plugin, scenario, seed, last, pattern = sys.argv[1:]
    calls = list(range(1, int(last) + 1))
    test = lambda cs: fails(validator, plugin, scenario, seed, cs, pattern)
    if not test(calls):
        print("the fault does not appear with these calls")
        return 1
    calls = ddmin(calls, test)
    call_list = ",".join(str(c) for c in calls)
    print(f"{len(calls)} calls: {call_list}")
    print(f"replay: {validator} --scenario {scenario} --run-seed {seed} --per-run {calls[-1]} "
          f"--calls {calls[-1]} --only-calls {call_list} --trace {plugin}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
