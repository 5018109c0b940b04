#!/usr/bin/env python3
"""Names the folders of the stand-in that include each other.

usage: include-loops.py [ROOT]    (default: platform/linux beside this script)

A folder depends on another when one of its files includes a header of the
other ("handles/handle_table.h"). Folders that depend on each other, directly
or through others, can't be read, built or changed one at a time, so none may.
Each loop is printed with the includes that close it; exit status 1 when there
is one, 0 when there is none.
"""

import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def folder_of(root, path):
    """The top folder below `root` that holds `path` ('' for root itself)."""
    relative = os.path.relpath(path, root)
    parts = relative.split(os.sep)
    return parts[0] if len(parts) > 1 else ""


def read_includes(root):
    """{folder: {other folder: [(file, header), ...]}} for includes across folders."""
    folders = {name for name in os.listdir(root) if os.path.isdir(os.path.join(root, name))}
    edges = {}
    for here, _, names in os.walk(root):
        for name in sorted(names):
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.join(here, name)
            source = folder_of(root, path)
            with open(path, encoding="utf-8") as text:
                for line in text:
                    found = INCLUDE.match(line)
                    if not found:
                        continue
                    header = found.group(1)
                    # A header beside the file is its own folder's.
                    if os.path.exists(os.path.join(here, header)):
                        target = folder_of(root, os.path.normpath(os.path.join(here, header)))
                    else:
                        target = header.split("/")[0] if "/" in header else ""
                    if target in folders and target != source:
                        sites = edges.setdefault(source, {}).setdefault(target, [])
                        sites.append((os.path.relpath(path, root), header))
    return edges


def strongly_connected(edges):
    """The groups of folders that reach each other (Tarjan), largest first."""
    index, low, stack, on_stack, groups = {}, {}, [], set(), []
    counter = [0]

    def visit(node):
        index[node] = low[node] = counter[0]
        counter[0] += 1
        stack.append(node)
        on_stack.add(node)
        for other in edges.get(node, {}):
            if other not in index:
                visit(other)
                low[node] = min(low[node], low[other])
            elif other in on_stack:
                low[node] = min(low[node], index[other])
        if low[node] == index[node]:
            group = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                group.append(member)
                if member == node:
                    break
            if len(group) > 1:
                groups.append(sorted(group))

    nodes = set(edges) | {other for targets in edges.values() for other in targets}
    for node in sorted(nodes):
        if node not in index:
            visit(node)
    return sorted(groups, key=len, reverse=True)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "platform", "linux")
    root = os.path.normpath(root)
    if not os.path.isdir(root):
        print(f"include-loops: {root} is not a folder", file=sys.stderr)
        return 2
    edges = read_includes(root)
    groups = strongly_connected(edges)
    if not groups:
        print(f"no include loops between the folders of {root}")
        return 0
    for group in groups:
        print("loop: " + " <-> ".join(group))
        for source in group:
            for target in sorted(edges.get(source, {})):
                if target in group:
                    for path, header in edges[source][target]:
                        print(f"  {source} -> {target}: {path} includes {header}")
    return 1


if __name__ == "__main__":
    sys.exit(main())
