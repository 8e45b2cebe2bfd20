#!/usr/bin/env python3
"""Prints the include graph between the code's folders, layer by layer from
the top, and exits 1 if any include points up: a folder that includes from
a folder which includes, directly or not, from it."""
import os
import re
import sys
from collections import defaultdict

TOPS = ["app", "engine", "settings", "tray", "ui", "resources"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def folder(path):
    """The folder a file belongs to: its directory, up to two levels."""
    parts = path.split("/")[:-1]
    return "/".join(parts[:2])


def main(root):
    edges = defaultdict(set)
    rooms = set()
    for top in TOPS:
        for directory, _, files in os.walk(os.path.join(root, top)):
            for name in files:
                if not name.endswith((".cpp", ".h")):
                    continue
                path = os.path.relpath(os.path.join(directory, name), root)
                source = folder(path)
                rooms.add(source)
                with open(os.path.join(root, path), encoding="utf-8") as f:
                    for included in INCLUDE.findall(f.read()):
                        target = folder(included)
                        if target != source and target.split("/")[0] in TOPS:
                            edges[source].add(target)
    # Each folder's layer: one above the highest folder it includes from.
    layer, visiting, cycles = {}, set(), []

    def depth(room, trail):
        if room in layer:
            return layer[room]
        if room in visiting:
            cycles.append(trail[trail.index(room):] + [room])
            return 0
        visiting.add(room)
        layer[room] = 1 + max((depth(t, trail + [room]) for t in edges[room]), default=-1)
        visiting.discard(room)
        return layer[room]

    for room in sorted(rooms):
        depth(room, [])
    for level in range(max(layer.values()), -1, -1):
        names = sorted(r for r in layer if layer[r] == level)
        print("  ".join(names))
        for name in names:
            if edges[name]:
                print(f"    {name} -> {', '.join(sorted(edges[name]))}")
        if level:
            print("  |")
    for cycle in cycles:
        print("arrow pointing up: " + " -> ".join(cycle), file=sys.stderr)
    return 1 if cycles else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")))
