#!/usr/bin/env python3
"""mirt add-activity: the types on offer; a child, a successor and an activity under a
resource's behaviour, saved; failures refused with one line, exit 1 and no file.

usage: verb_add_activity.py MIRT DATA WORK
"""
import os
import shutil
import sys

import verbtest

MIRT, DATA, WORK = sys.argv[1:4]
os.makedirs(WORK, exist_ok=True)
# The welding cell beside its library, as data/ keeps them.
shutil.copytree(os.path.join(DATA, "libraries"), os.path.join(WORK, "libraries"), dirs_exist_ok=True)
PLANT = os.path.join(WORK, "plant.xml")
shutil.copy(os.path.join(DATA, "library-cell.xml"), PLANT)
V = verbtest.Verbs(MIRT, WORK, "add-activity")
run, check, js, refused = V.run, V.check, V.js, V.refused
CELL = "Process/Cell"


def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


def test_list_types():
    j = js(PLANT, "--list-types")
    libs = j.get("libraries", [])
    check(len(libs) == 1 and libs[0]["library"].endswith("/libraries/body.act"), f"libraries {libs}")
    if libs:
        weld = libs[0]["types"][0]
        check(weld["type"] == "Weld" and [s["type"] for s in weld["sub_types"]] == ["SpotWeld", "StudWeld", "LaserWeld"],
              f"Weld {weld}")
    text, _ = run(PLANT, "--list-types")
    check("  Weld [I_Weld]\n    SpotWeld [I_Spot]\n" in text, f"text:\n{text}")


def test_child_successor_resource():
    out = os.path.join(WORK, "child.xml")
    j = js(PLANT, "--type", "Glue", "--under", CELL, "--label", "Seal seam", "-o", out)
    check(j.get("label") == "Seal seam" and j.get("placed_as") == "child" and j.get("path") == CELL + "/Seal seam",
          f"child {j}")
    check('name="Seal seam" type="Glue"' in read(out), "the child is saved")
    first = js(PLANT, "--list-types").get("libraries", [{}])
    # The successor goes right after its target and takes over the target's link.
    out2 = os.path.join(WORK, "successor.xml")
    target = js(PLANT, "--type", "SpotWeld", "--after", "#b", "-o", out2)
    check(target.get("placed_as") == "successor", f"successor {target}")
    saved = read(out2)
    new_id = target.get("id", "?")
    check(f'<flow from="b" to="{new_id}"' in saved, "target -> new activity linked")
    out3 = os.path.join(WORK, "resource.xml")
    r = js(PLANT, "--type", "Weld", "--resource", "Resources/Station/Robot", "-o", out3)
    check(r.get("path", "").startswith("Resources/Station/Robot/Robot program/"), f"resource {r}")
    text, _ = run(PLANT, "--type", "Glue", "--under", CELL, "-o", os.path.join(WORK, "text.xml"))
    check(text.startswith("added Glue 'Glue' (#") and text.endswith("; saved " + os.path.join(WORK, "text.xml") + "\n"),
          f"text report: {text}")
    check(first, "types listed")


def test_refusals():
    before = read(PLANT)
    out = os.path.join(WORK, "never.xml")
    refused("no library defines the activity type 'Nope'", PLANT, "--type", "Nope", "--under", CELL, "-o", out)
    refused("no object at 'Process/Nowhere'", PLANT, "--type", "Glue", "--under", "Process/Nowhere", "-o", out)
    refused("is no resource", PLANT, "--type", "Glue", "--resource", CELL, "-o", out)
    refused("exactly one of --under, --after and --resource", PLANT, "--type", "Glue", "-o", out)
    refused("--in-place", PLANT, "--type", "Glue", "--under", CELL)
    refused("has no successor place", PLANT, "--type", "Glue", "--after", "Process", "-o", out)
    # A resource without behaviour: the command's own error, nothing written.
    refused("behaviour", PLANT, "--type", "Glue", "--resource", "Resources/Station/Fixture", "-o", out)
    check(not os.path.exists(out), "a refused run writes nothing")
    check(read(PLANT) == before, "the input is untouched")
    refused("", os.path.join(WORK, "missing.xml"), "--list-types")


def test_in_place():
    copy = os.path.join(WORK, "inplace.xml")
    shutil.copy(PLANT, copy)
    js(copy, "--type", "Glue", "--under", CELL, "--label", "In place", "--in-place")
    check('name="In place"' in read(copy), "rewritten in place")


V.finish(test_list_types, test_child_successor_resource, test_refusals, test_in_place)
