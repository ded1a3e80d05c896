#!/usr/bin/python3
"""Reads sway's tree (swaymsg -t get_tree) on standard input and prints the window of APP_ID and
PID as one line of FIELD=VALUE words, or nothing when sway shows no such window."""
import json
import sys


def walk(node, floating=False):
    yield node, floating
    for child in node.get("nodes", []):
        yield from walk(child, floating)
    for child in node.get("floating_nodes", []):
        yield from walk(child, True)


app_id, pid = sys.argv[1], int(sys.argv[2])
for node, floating in walk(json.load(sys.stdin)):
    if node.get("app_id") == app_id and node.get("pid") == pid:
        inner, outer, deco = node["window_rect"], node["rect"], node["deco_rect"]
        print(f"floating={floating} visible={node.get('visible')} focused={node.get('focused')} "
              f"size={inner['width']}x{inner['height']} at={outer['x']},{outer['y']} "
              f"deco={deco['height']}")
