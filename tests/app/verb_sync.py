#!/usr/bin/env python3
"""mirt sync: the synchronised pairs of a plant and an activity's partners, in text and
JSON; partners added and removed on both activities of each pair and saved; every
refusal one line, exit 1, nothing written.

usage: verb_sync.py MIRT DATA WORK   (the positions plant is read from the e2e folder)
"""
import os
import sys

import verbtest

MIRT, DATA, WORK = sys.argv[1:4]
os.makedirs(WORK, exist_ok=True)
PLANT = os.path.join(os.path.dirname(DATA), "tests", "e2e", "positions", "positions-plant.xml")
SAMPLE = os.path.join(DATA, "sample-plant.xml")
V = verbtest.Verbs(MIRT, WORK, "sync")


def read(path):
    with open(path, "rb") as f:
        return f.read()


def test_list():
    text, _ = V.run(PLANT)
    V.check(text == "synchronised pairs: 2\n  start-start  Process/Weld  Process/Seal\n"
            "  end-end      Process/Weld  Process/Hem\n", text)
    j = V.js(PLANT, "--activity", "Process/Hem")
    V.check(j["startStart"] == [] and j["endEnd"] == ["Process/Weld"], f"{j}")
    j = V.js(SAMPLE)
    V.check({p["type"] for p in j["pairs"]} == {"startStart", "endEnd"}, f"{j}")


def test_change():
    out = os.path.join(WORK, "changed.xml")
    text, _ = V.run(PLANT, "--activity", "Process/Weld", "--remove", "Process/Seal", "--start-with", "Process/Check",
                    "--end-with", "Process/Pack", "-o", out)
    V.check(text == "removed start-start Process/Seal\nadded start-start Process/Check\nadded end-end Process/Pack\n"
            "Process/Weld\n  starts with: 1\n    Process/Check\n  ends with: 2\n    Process/Hem\n    Process/Pack\n"
            f"saved {out}\n", text)
    # Both sides: the partners see Weld, and Seal no longer does.
    j = V.js(out, "--activity", "Process/Pack")
    V.check(j["endEnd"] == ["Process/Weld"], f"{j}")
    j = V.js(out, "--activity", "Process/Seal")
    V.check(j["startStart"] == [] and j["endEnd"] == [], f"{j}")
    # Removed, then added on the other kind in the same call.
    again = os.path.join(WORK, "again.xml")
    j = V.js(out, "--activity", "#weld", "--remove", "Process/Hem", "--start-with", "Process/Hem", "-o", again)
    V.check(j["added"] == [{"type": "startStart", "activity": "Process/Hem"}]
            and j["removed"] == [{"type": "endEnd", "activity": "Process/Hem"}] and j["output"] == again, f"{j}")


def test_refused():
    before = read(PLANT)
    bad = os.path.join(WORK, "bad.xml")
    weld = ("--activity", "Process/Weld")
    V.refused("not synchronised with itself", PLANT, *weld, "--start-with", "Process/Weld", "-o", bad)
    V.refused("in the list already", PLANT, *weld, "--start-with", "Process/Seal", "-o", bad)
    V.refused("other tab", PLANT, *weld, "--start-with", "Process/Hem", "-o", bad)
    V.refused("cannot be synchronised", PLANT, *weld, "--end-with", "Process/Switch", "-o", bad)
    V.refused("Nothing was written", PLANT, "--activity", "Process/Pack", "--start-with", "Process/Locked", "-o", bad)
    V.refused("locked by bob", PLANT, "--activity", "Process/Pack", "--start-with", "Process/Locked", "-o", bad)
    V.refused("not synchronised with", PLANT, *weld, "--remove", "Process/Check", "-o", bad)
    V.refused("nothing at 'Process/Nope'", PLANT, *weld, "--end-with", "Process/Nope", "-o", bad)
    V.refused("is no activity", PLANT, "--activity", "Products/Body.1", "--json")
    V.refused("need --activity", PLANT, "--start-with", "Process/Check", "-o", bad)
    V.refused("save a change", PLANT, *weld, "-o", bad)
    V.refused("-o", PLANT, *weld, "--start-with", "Process/Check")
    V.check(not os.path.exists(bad) and read(PLANT) == before, "a refusal wrote a file")


V.finish(test_list, test_change, test_refused)
