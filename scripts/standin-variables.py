#!/usr/bin/env python3
"""Checks that the docs name the stand-in's environment variables as the code does.

usage: standin-variables.py [REPO]    (default: the folder above this script)

The variables are those platform/linux/common/environment.h lists (the one
place that reads them). The README's table and the ENVIRONMENT section of
addbar(1) must name each of them and no other; `addbar --help` must name each
but those marked "for tests"; fm-standin(1) may name some, but only these.
Prints what differs; exit status 1 when anything does, 0 when all agree.
"""

import os
import re
import sys

NAME = re.compile(r"ADDBAR_[A-Z_]+")


def read(repo, path):
    with open(os.path.join(repo, path), encoding="utf-8") as text:
        return text.read()


def listed(repo):
    """{name: for tests} from the enumeration's comments."""
    found = {}
    for line in read(repo, "platform/linux/common/environment.h").splitlines():
        match = re.search(r"//\s*(ADDBAR_[A-Z_]+):\s*(.*)", line)
        if match:
            found[match.group(1)] = match.group(2).startswith("for tests")
    return found


def readme_table(repo):
    return {m.group(1) for m in re.finditer(r"^\| `(ADDBAR_[A-Z_]+)` \|", read(repo, "README.md"), re.M)}


def man_entries(repo, page):
    text = read(repo, page)
    section = text.split(".SH ENVIRONMENT", 1)[1].split("\n.SH ", 1)[0]
    return set(NAME.findall(section))


def help_names(repo):
    text = read(repo, "platform/linux/entry/about/addbar_about.cpp")
    return set(NAME.findall(text.split("Environment:", 1)[1]))


def compare(what, found, wanted, problems):
    for name in sorted(wanted - found):
        problems.append(f"{what} does not name {name}")
    for name in sorted(found - wanted):
        problems.append(f"{what} names {name}, which the stand-in does not read")


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    repo = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..")
    variables = listed(repo)
    if not variables:
        print("standin-variables: no variables found in common/environment.h", file=sys.stderr)
        return 2
    every = set(variables)
    problems = []
    compare("README.md's table", readme_table(repo), every, problems)
    compare("addbar(1)", man_entries(repo, "packaging/man/addbar.1.in"), every, problems)
    compare("addbar --help", help_names(repo), {n for n, tests in variables.items() if not tests},
            problems)
    fm = man_entries(repo, "packaging/man/fm-standin.1.in")
    compare("fm-standin(1)", fm, fm & every, problems)
    for problem in problems:
        print(problem)
    if not problems:
        print(f"the docs name the {len(every)} variables the stand-in reads")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
