#!/usr/bin/python3
"""Walks the running drovane's accessibility tree as a screen reader does (AT-SPI) and drives it
with the keyboard (xdotool): names, roles, relations and states of the main window's controls,
the menus and the About box, the focus order in both views, the links' actions and the check
box's action. Prints "ok: ..." or "FAIL: ..." per check; exits 1 on any failure.
The program speaks the language of LANGUAGE: "ko" (Korean) or "en" (English, where no text may
hold Hangul).
Usage: a11y_walk.py PID OPENED_FILE AUTOSTART_FILE"""
import os
import subprocess
import sys
import time

import pyatspi

import a11y_common
from a11y_common import T, english, hangul, check, wait, keys, walk, states, focused_in, role

pid, opened_file, entry_file = int(sys.argv[1]), sys.argv[2], sys.argv[3]
folded_buttons = [T["set"], T["default"], T["test"], T["stop_test"]]


def app():
    return a11y_common.application(pid)


def window(wanted):
    a = app()
    return next((w for w in a if w is not None and role(w) == wanted), None) if a else None


def showing(acc):
    return states(acc).contains(pyatspi.STATE_SHOWING)


def by(nodes, wanted, name):
    return next((n for n in nodes if role(n) == wanted and n.name == name), None)


def targets(acc, relation):
    out = []
    for rel in acc.getRelationSet():
        if rel.getRelationType() == relation:
            out += [rel.getTarget(i) for i in range(rel.getNTargets())]
    return out


def action(acc, names):
    a = acc.queryAction()
    for i in range(a.nActions):
        if a.getName(i).lower() in names:
            return a, i
    return None, None


def opened():
    with open(opened_file) as f:
        return [line.rstrip("\n") for line in f]


# --- the main window in its compact view ----------------------------------------------------------
check("the program is on the accessibility bus", wait(lambda: window("dialog") or window("frame")))
main = window("dialog") or window("frame")
nodes = walk(main)

buttons = [T["close"], T["start"], T["stop"], T["details_button"]]
for name in buttons:
    check(f"push button {name}", by(nodes, "push button", name) is not None)
edits = ["Frequency (Hz)", "to (Hz)", "Delay", "Step"]
# Each label whose text is the whole name of a control labels it; an edit named with its unit has
# no labelling label, as Orca would read the label in place of the name.
labelled = {"Delay": ("text", "Delay"), "Step": ("text", "Step"),
            T["run_at_logon"]: ("check box", T["run_at_logon"])}
for text, (kind, name) in labelled.items():
    label = by(nodes, "label", text)
    control = by(nodes, kind, name)
    check(f"label {text!r} and the {kind} {name!r} it names", label is not None and control is not None)
    if label is None or control is None:
        continue
    check(f"label {text!r} is label for {name!r}",
          any(t.name == name for t in targets(label, pyatspi.RELATION_LABEL_FOR)))
    check(f"{name!r} is labelled by {text!r}",
          any(t.name == text for t in targets(control, pyatspi.RELATION_LABELLED_BY)))
for name in ["Frequency (Hz)", "to (Hz)"]:
    edit = by(nodes, "text", name)
    check(f"{name!r} has no labelling label", edit is not None and not targets(edit, pyatspi.RELATION_LABELLED_BY))
notice = next((n for n in nodes if role(n) == "label" and n.name.startswith(T["notice"])), None)
check("the notice is static text", notice is not None)
for text in [T["sound_settings"], T["sound_test"]]:
    check(f"section label {text}", by(nodes, "label", text) is not None)
unnamed = [role(n) for n in nodes if role(n) in ("label", "text", "check box", "push button", "link") and not n.name]
check(f"no control or label without a name ({unnamed})", not unnamed)

banner = by(nodes, "link", "Drovane")
check("the banner is a link named Drovane", banner is not None)
if banner is not None:
    check("the banner can take the focus", states(banner).contains(pyatspi.STATE_FOCUSABLE))
    check(f"the banner says where it leads ({banner.description})", banner.description.startswith(("file://", "http")))

for name in edits:
    edit = by(nodes, "text", name)
    check(f"compact view: the folded edit {name!r} is not showing", edit is not None and not showing(edit))
for name in folded_buttons:
    b = by(nodes, "push button", name)
    check(f"compact view: the folded button {name} is not showing", b is not None and not showing(b))
folded_labels = [T["sound_settings"], "Frequency", "(Hz) to", "(Hz)", "Delay", "Step", T["sound_test"]]
for name in folded_labels:
    label = by(nodes, "label", name)
    check(f"compact view: the folded label {name!r} is not showing", label is not None and not showing(label))
check("compact view: the speaker picture is not showing",
      all(not showing(n) for n in nodes if role(n) == "image"))


def tab_cycle(win, count):
    """The names of what has the focus after each of `count` Tabs."""
    seen = []
    for _ in range(count):
        before = focused_in(win)
        keys("Tab")
        wait(lambda: focused_in(win) is not None and focused_in(win) != before, 3)
        f = focused_in(win)
        seen.append(f.name if f is not None else None)
    return seen


def focus_on(win, name):
    """Tabs until `name` has the focus, at most 20 times; whether it did."""
    for _ in range(20):
        f = focused_in(win)
        if f is not None and f.name == name:
            return True
        keys("Tab")
        time.sleep(0.05)
    return False


def corner(acc):
    """The colour of the top-left pixel of `acc` on the screen, as "r,g,b"."""
    x, y = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)[:2]
    return subprocess.run(["convert", f"x:root[1x1+{x}+{y}]", "-depth", "8", "-format",
                           "%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]", "info:"],
                          capture_output=True, text=True).stdout.strip()


def is_rotation(seen, want):
    if len(seen) != len(want) or seen[0] not in want:
        return False
    i = want.index(seen[0])
    return seen == want[i:] + want[:i]


subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid", str(pid), "--name",
                "^" + T["caption"].replace(".", "\\.") + "$", "windowactivate", "--sync"], check=False)
compact_order = buttons + [T["run_at_logon"], "Drovane"]
seen = tab_cycle(main, 2 * len(compact_order))
check(f"compact view: Tab goes round {compact_order} ({seen})",
      is_rotation(seen[:len(compact_order)], compact_order) and seen[len(compact_order):] == seen[:len(compact_order)])
check("compact view: Tab never reaches a folded edit", not set(seen) & set(edits))

# --- the banner: Enter and its action open the product page --------------------------------------
if banner is not None:
    unfocused = corner(banner)
    check("Tab reaches the banner", focus_on(main, "Drovane"))
    check(f"the focused banner shows its dotted frame (corner {unfocused} before)",
          wait(lambda: corner(banner) == "0,0,0") and unfocused != "0,0,0")
    before = len(opened())
    keys("Return")
    check("Enter on the focused banner opened the product page",
          wait(lambda: len(opened()) == before + 1 and opened()[-1] == banner.description))
    a, i = action(banner, ["press", "click", "activate"])
    check("the banner has a press action", a is not None)
    if a is not None:
        a.doAction(i)
        check("the banner's action opened the product page",
              wait(lambda: len(opened()) == before + 2 and opened()[-1] == banner.description))
    check("the window stayed open", showing(main))

# --- the check box: its action, Space, each writes and removes the start-at-logon entry -----------
box = by(nodes, "check box", T["run_at_logon"])
if box is not None:
    entry = lambda: os.path.exists(entry_file)
    check("no start-at-logon entry at first", not entry())
    for name in ["toggle", "press", "click"]:
        a, i = action(box, [name])
        if a is None:
            continue
        a.doAction(i)
        check(f"the check box's {name} action wrote the entry",
              wait(lambda: entry() and states(box).contains(pyatspi.STATE_CHECKED)))
        a.doAction(i)
        check(f"the check box's {name} action again removed it",
              wait(lambda: not entry() and not states(box).contains(pyatspi.STATE_CHECKED)))
    check("Tab reaches the check box", focus_on(main, T["run_at_logon"]))
    keys("space")
    check("Space on the check box wrote the entry", wait(entry))
    keys("space")
    check("Space again removed it", wait(lambda: not entry()))

# --- the expanded view ---------------------------------------------------------------------------
details = by(nodes, "push button", T["details_button"])
a, i = action(details, ["press", "click"])
a.doAction(i)
check("the Details button's action unfolded the window",
      wait(lambda: by(walk(main), "push button", T["less"]) is not None))
nodes = walk(main)
for name in edits + folded_buttons:
    w = next((n for n in nodes if n.name == name and role(n) in ("text", "push button")), None)
    check(f"expanded view: {name!r} is showing", w is not None and showing(w))
for name in folded_labels:
    label = by(nodes, "label", name)
    check(f"expanded view: the label {name!r} is showing", label is not None and showing(label))
expanded_order = buttons[:3] + [T["less"]] + edits + folded_buttons + [T["run_at_logon"], "Drovane"]
seen = tab_cycle(main, len(expanded_order))
check(f"expanded view: Tab goes round {expanded_order} ({seen})", is_rotation(seen, expanded_order))
a, i = action(by(nodes, "push button", T["less"]), ["press", "click"])
a.doAction(i)
check("folded again", wait(lambda: by(walk(main), "push button", T["details"]) is not None))
nodes = walk(main)
check("folded again: the edits are not showing",
      all(not showing(by(nodes, "text", name)) for name in edits))
seen = tab_cycle(main, len(compact_order))
check(f"folded again: no folded edit in the Tab order ({seen})", not set(seen) & set(edits))

# --- the menus: items by their text, with their check marks --------------------------------------
keys("alt+f")
def file_menu():
    for n in walk(app()):
        if role(n) == "menu item" and n.name == "Start" and showing(n):
            return n.parent
    return None
check("File menu open", wait(lambda: file_menu() is not None))
menu = file_menu()
items = []
if menu is not None:
    items = [(n.name, states(n).contains(pyatspi.STATE_CHECKED)) for n in menu if role(n) == "menu item"]
    check(f"File menu items by their text, Start checked ({items})",
          items == [("Start", True), ("Stop", False), ("Test Sound", False), ("Stop Test", False), ("Exit", False)])
keys("Escape")
subprocess.run(["xdotool", "keyup", "Escape"])

# --- the About box: its maker link -------------------------------------------------------------
keys("alt+h")
time.sleep(0.3)
keys("Return")
check("About box open", wait(lambda: any(w.name == "About Drovane" for w in app())))
about = next(w for w in app() if w.name == "About Drovane")
anodes = walk(about)
maker = by(anodes, "link", "Corvell Co LTD")
check("the maker's name is a link", maker is not None)
check("the version line is static text", by(anodes, "label", "Drovane Version 1.0") is not None)
if maker is not None:
    check(f"the maker link says where it leads ({maker.description})", maker.description.startswith(("file://", "http")))
    before = len(opened())
    a, i = action(maker, ["press", "click", "activate"])
    a.doAction(i)
    check("the maker link's action opened its page",
          wait(lambda: len(opened()) == before + 1 and opened()[-1] == maker.description))
    seen = tab_cycle(about, 2)
    check(f"Tab in the About box reaches the link ({seen})", "Corvell Co LTD" in seen)
    focus_on(about, "Corvell Co LTD")
    keys("space")
    check("Space on the focused link opened its page", wait(lambda: len(opened()) == before + 2))
    keys("Return")
    check("Enter on the focused link opened its page and left the box open",
          wait(lambda: len(opened()) == before + 3) and showing(about))
keys("Escape")
subprocess.run(["xdotool", "keyup", "Escape"])

# --- the language: the window's title, and in English no Hangul in any text ----------------------
check(f"the window's title is {T['caption']!r} ({main.name!r})", main.name == T["caption"])
if english:
    texts = [n.name for n in [main, about] + walk(main) + anodes] + [name for name, _ in items]
    korean = [t for t in texts if hangul(t)]
    check(f"no Hangul in the {len(texts)} texts of the window, its menu and the About box ({korean})",
          len(texts) > 30 and not korean)

print(f"a11y walk: {a11y_common.failures} failure(s)")
sys.exit(1 if a11y_common.failures else 0)
