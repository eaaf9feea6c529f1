#!/usr/bin/env python3
"""mirt replace-part: a bracket replaced wherever the process consumes it, the JSON
report, an activity holding both parts; bad input refused with one line, exit 1,
no file.

usage: verb_replace_part.py MIRT DATA WORK
"""
import os
import shutil
import sys

import verbtest

MIRT, DATA, WORK = sys.argv[1:4]
os.makedirs(WORK, exist_ok=True)
PLANT = os.path.join(WORK, "plant.xml")
shutil.copy(os.path.join(DATA, "sample-plant.xml"), PLANT)
V = verbtest.Verbs(MIRT, WORK, "replace-part")
B1, B2, B3 = (f"Products/BodyInWhite.1/Bracket.{n}" for n in (1, 2, 3))
BRACKETS = "Process/Body Shop/Sealing and hemming/Brackets"


def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


def test_replace():
    out = os.path.join(WORK, "replaced.xml")
    j = V.js(PLANT, "--old", B1, "--new", B3, "-o", out)
    V.check(j.get("old") == B1 and j.get("new") == B3 and j.get("output") == out, f"report {j}")
    V.check(j.get("relations") == [{"activity": BRACKETS, "relation": "process_processes_product", "merged": False}],
            f"relations {j.get('relations')}")
    saved = read(out)
    V.check('ref="bracket_battery"' not in saved and saved.count('ref="bracket_spare"') == 1, "the relation moved")
    # The saved plant loads again; replacing back gives the relation back.
    text, _ = V.run(out, "--old", B3, "--new", B1, "--in-place")
    V.check(text.startswith(f"replaced {B3} by {B1} in 1 relation\n") and text.endswith(f"saved {out}\n"), text)

    merged = os.path.join(WORK, "merged.xml")
    j = V.js(PLANT, "--old", B1, "--new", B2, "-o", merged)
    V.check(j.get("relations") == [{"activity": BRACKETS, "relation": "process_processes_product", "merged": True}], f"{j}")
    V.check(read(merged).count('ref="bracket_harness"') == 1, "an activity holding both parts relates the new one once")


def test_refused():
    before = read(PLANT)
    bad = os.path.join(WORK, "bad.xml")
    V.refused("no object at 'Products/Nope'", PLANT, "--old", "Products/Nope", "--new", B3, "-o", bad)
    V.refused("is a resource", PLANT, "--old", "Resources/Station.10/Worker.1", "--new", B3, "-o", bad)
    V.refused("cannot replace itself", PLANT, "--old", B1, "--new", B1, "-o", bad)
    V.refused("only a part", PLANT, "--old", BRACKETS, "--new", B3, "-o", bad)
    V.refused("nothing to replace", PLANT, "--old", B3, "--new", B1, "-o", bad)
    V.refused("-o", PLANT, "--old", B1, "--new", B3)
    V.check(not os.path.exists(bad) and read(PLANT) == before, "a refusal wrote a file")


V.finish(test_replace, test_refused)
