#!/usr/bin/env python3
"""Compares the long options of a manual page with those of a program's help texts.

    man_matches_help.py PAGE PROGRAM -- ARGS... [-- ARGS...]... [--also OTHER -- ARGS...]

Runs PROGRAM once per group of ARGS, collects every --option the outputs name, and fails when the
page lacks one of them or names one that no help text has: the two cannot drift apart. Options of
the help texts of OTHER (a program the page's examples use) may be on the page too.
"""
import re
import subprocess
import sys

OPTION = re.compile(r"(?<![\w-])--([a-z][a-z0-9-]*)")


def main(argv):
    page, program = argv[1], argv[2]
    rest, other = argv[3:], []
    if "--also" in rest:
        at = rest.index("--also")
        rest, other = rest[:at], rest[at + 1:]
    helped = help_options(program, rest)
    allowed = help_options(other[0], other[1:]) if other else set()
    if helped is None or allowed is None:
        return 1
    text = open(page, encoding="utf-8").read().replace("\\-", "-")
    documented = set(OPTION.findall(text))
    missing = sorted(helped - documented)
    extra = sorted(documented - helped - allowed)
    for name in missing:
        print(f"{page}: --{name} is in the help but not on the page")
    for name in extra:
        print(f"{page}: --{name} is on the page but in no help text")
    return 1 if missing or extra else 0


def help_options(program, args_groups):
    """The --options that PROGRAM's outputs name, one run per group of ARGS; None on failure."""
    groups, current = [], None
    for arg in args_groups:
        if arg == "--" and (current is None or current):
            if current:
                groups.append(current)
            current = []
        else:
            current.append(arg)
    if current:
        groups.append(current)
    helped = set()
    for args in groups:
        run = subprocess.run([program] + args, capture_output=True, text=True)
        if run.returncode != 0:
            print(f"{program} {' '.join(args)} exited {run.returncode}: {run.stderr}")
            return None
        helped |= set(OPTION.findall(run.stdout))
    return helped


if __name__ == "__main__":
    sys.exit(main(sys.argv))
