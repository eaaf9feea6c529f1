#!/usr/bin/env python3
"""mirt unassign: each --what on a branch of the sample plant, the counts and the saved
plant; nothing to remove reports and writes nothing; bad input refused with one line,
exit 1 and no file.

usage: verb_unassign.py MIRT DATA WORK
"""
import os
import shutil
import sys

import verbtest

MIRT, DATA, WORK = sys.argv[1:4]
os.makedirs(WORK, exist_ok=True)
PLANT = os.path.join(WORK, "plant.xml")
shutil.copy(os.path.join(DATA, "sample-plant.xml"), PLANT)
V = verbtest.Verbs(MIRT, WORK, "unassign")
run, check, js, refused = V.run, V.check, V.js, V.refused
CLOSURES = "Process/Body Shop/Closures"


def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


def branch(saved):
    """The Closures branch of a saved plant, up to the next station's operation."""
    start = saved.index('name="Closures"')
    return saved[start:saved.index('name="Sealing and hemming"', start)]


def test_products_resources_all():
    out = os.path.join(WORK, "products.xml")
    j = js(PLANT, "--activity", CLOSURES, "--what", "products", "-o", out)
    check(j.get("products_removed") == 3 and j.get("resources_removed") == 0 and j.get("report") is None
          and j.get("output") == out and j.get("activity") == CLOSURES, f"products {j}")
    b = branch(read(out))
    check("process_processes_product" not in b, "the branch's products are gone")
    # Resources attached and detached as items stay with the products option.
    check('process_attaches_resource' in b and 'process_detaches_resource' in b and 'process_uses_resource' in b,
          f"resources kept:\n{b}")
    check('name="Underbody"' in read(out) and 'ref="floor_front"' in read(out), "other branches untouched")
    out2 = os.path.join(WORK, "resources.xml")
    j = js(out, "--activity", "#op30", "--what", "resources", "-o", out2)
    check(j.get("products_removed") == 0 and j.get("resources_removed") == 7, f"resources {j}")
    check("<relation " not in branch(read(out2)), "nothing related in the branch")
    text, _ = run(PLANT, "--activity", CLOSURES, "--what", "all", "-o", os.path.join(WORK, "all.xml"))
    check(text == f"removed 3 product and 7 resource assignments from {CLOSURES} and its descendants; saved "
          + os.path.join(WORK, "all.xml") + "\n", f"text: {text}")
    check(read(os.path.join(WORK, "all.xml")) == read(out2), "all = products, then resources")


def test_nothing_to_remove():
    cleared = os.path.join(WORK, "all.xml")
    never = os.path.join(WORK, "never.xml")
    for what, text in (("products", "no product assignment"), ("resources", "no resource assignment"),
                       ("all", "no product or resource assignment")):
        out, _ = run(cleared, "--activity", CLOSURES, "--what", what, "-o", never)
        check(text in out and out.endswith("\nnothing written\n"), f"{what}: {out}")
        j = js(cleared, "--activity", CLOSURES, "--what", what, "-o", never)
        check(j.get("output") is None and text in (j.get("report") or ""), f"{what} json {j}")
    # Products only on a branch, resources asked: the resource report.
    out, _ = run(PLANT, "--activity", "#op40_brackets", "--what", "resources", "-o", never)
    check("no resource assignment" in out, f"brackets: {out}")
    check(not os.path.exists(never), "nothing to remove writes nothing")


def test_refusals():
    before = read(PLANT)
    out = os.path.join(WORK, "refused.xml")
    refused("'Process/Body Shop/Closures/Hinge mounting' is an assembly operation", PLANT,
            "--activity", CLOSURES + "/Hinge mounting", "--what", "all", "-o", out)
    refused("no object at 'Process/Nowhere'", PLANT, "--activity", "Process/Nowhere", "--what", "all", "-o", out)
    refused("'Resources/Station.10' is no activity", PLANT, "--activity", "Resources/Station.10", "--what", "all", "-o", out)
    refused("--in-place", PLANT, "--activity", CLOSURES, "--what", "all")
    refused("exclude each other", PLANT, "--activity", CLOSURES, "--what", "all", "-o", out, "--in-place")
    refused("--what", PLANT, "--activity", CLOSURES, "--what", "everything", "-o", out)
    refused("", os.path.join(WORK, "missing.xml"), "--activity", CLOSURES, "--what", "all", "-o", out)
    check(not os.path.exists(out), "a refused run writes nothing")
    check(read(PLANT) == before, "the input is untouched")


def test_in_place():
    copy = os.path.join(WORK, "inplace.xml")
    shutil.copy(PLANT, copy)
    js(copy, "--activity", "Process", "--what", "all", "--in-place")
    check("<relation " not in read(copy), "the whole process cleared in place")
    out, _ = run("--help")
    check("nothing to remove" in out and "--what" in out, "help names the options and the exit codes")


V.finish(test_products_resources_all, test_nothing_to_remove, test_refusals, test_in_place)
