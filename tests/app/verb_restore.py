#!/usr/bin/env python3
"""mirt restore: the displaced products and resources of the sample plant (the moved
door, the turned outer panel; never the tag), all of them put back or only those
named, in text and JSON; bad input refused with one line, exit 1, nothing written.

usage: verb_restore.py MIRT DATA WORK
"""
import os
import sys

import verbtest

MIRT, DATA, WORK = sys.argv[1:4]
os.makedirs(WORK, exist_ok=True)
PLANT = os.path.join(DATA, "sample-plant.xml")
V = verbtest.Verbs(MIRT, WORK, "restore")
DOOR = "Products/BodyInWhite.1/Door.2"
OUTER = "Products/BodyInWhite.1/Door.1/OuterPanel.1"


def read(path):
    with open(path, "rb") as f:
        return f.read()


def test_list():
    text, _ = V.run(PLANT, "--list")
    V.check(text == f"displaced products: 2\n  {OUTER}\n  {DOOR}\ndisplaced resources: 0\n", text)
    j = V.js(PLANT, "--list")
    V.check([p["id"] for p in j["products"]] == ["door_fl_outer", "door_fr"] and j["resources"] == [], f"{j}")


def test_restore():
    out = os.path.join(WORK, "all.xml")
    text, _ = V.run(PLANT, "-o", out)
    V.check(text == f"put back in their design positions: 2\n  {OUTER}\n  {DOOR}\nsaved {out}\n", text)
    again, _ = V.run(out, "--list")
    V.check(again.startswith("displaced products: 0\n"), again)
    V.check(b'<tag kind="tag"/>' in read(out) and b"design=" in read(out), "the tag keeps its own placement")
    one = os.path.join(WORK, "one.xml")
    j = V.js(PLANT, "--product", "#door_fr", "-o", one)
    V.check([p["path"] for p in j["restored"]] == [DOOR] and j["output"] == one, f"{j}")
    left, _ = V.run(one, "--list")
    V.check(left.startswith(f"displaced products: 1\n  {OUTER}\n"), left)


def test_generated():
    """A generated plant's displaced products are the ones the generator moved."""
    import re
    import subprocess
    gen = os.path.join(WORK, "gen.xml")
    said = subprocess.run([MIRT, "generate", "--activities", "60", "--products", "400", "--displaced-every", "50",
                           "--sync-every", "3", "-o", gen], capture_output=True, text=True)
    m = re.search(r" (\d+) displaced, (\d+) synchronisations ", said.stdout)
    V.check(said.returncode == 0 and m and int(m.group(1)) > 0 and int(m.group(2)) > 0, said.stdout + said.stderr)
    if m:
        j = V.js(gen, "--list")
        V.check(len(j["products"]) + len(j["resources"]) == int(m.group(1)), f"{j}")


def test_refused():
    before = read(PLANT)
    bad = os.path.join(WORK, "bad.xml")
    V.refused("stands in its design position", PLANT, "--product", "Products/BodyInWhite.1/Roof.1", "-o", bad)
    V.refused("no product or resource 'Process/Nope'", PLANT, "--product", "Process/Nope", "-o", bad)
    V.refused("no product or resource 'Process'", PLANT, "--product", "Process", "-o", bad)
    V.refused("--list only lists", PLANT, "--list", "-o", bad)
    broken = os.path.join(WORK, "broken.xml")
    with open(broken, "w") as f:
        f.write('<plant format="1"><products><product id="p" name="P"><placement matrix="1 0"/></product></products></plant>\n')
    V.refused("broken.xml:1:", broken, "--list")
    V.refused("-o", PLANT)
    V.check(not os.path.exists(bad) and read(PLANT) == before, "a refusal wrote a file")


V.finish(test_list, test_restore, test_generated, test_refused)
