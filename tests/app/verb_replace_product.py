#!/usr/bin/env python3
"""mirt replace-product: the impacted components list as text, JSON and CSV (the
bytes the dialog saves), the tailgate replaced by a product document and the saved
plant loading again; bad input refused with one line, exit 1, no file.

usage: verb_replace_product.py MIRT DATA WORK
"""
import os
import shutil
import sys

import verbtest

MIRT, DATA, WORK = sys.argv[1:4]
os.makedirs(WORK, exist_ok=True)
PLANT = os.path.join(WORK, "plant.xml")
shutil.copy(os.path.join(DATA, "sample-plant.xml"), PLANT)
LIGHT = os.path.join(DATA, "tailgate-light.TavProduct")
V = verbtest.Verbs(MIRT, WORK, "replace-product")
TAILGATE = "Products/Item.1/Tailgate.1"
LINES = ["Tailgate.1,Inspection.2,Manufacturing Assembly", "Panel.1,TailgateAssy,Manufacturing Assembly",
         "Hinge.1,TailgateAssy,Manufacturing Assembly"]


def read(path, mode="r"):
    with open(path, mode) as f:
        return f.read()


def test_list_and_csv():
    text, _ = V.run(PLANT, "--product", TAILGATE)
    V.check(text.startswith(f"3 components depend on {TAILGATE} or its descendants\n"), text)
    V.check("  Tailgate.1: Inspection.2 (Manufacturing Assembly), the product itself\n" in text, text)
    j = V.js(PLANT, "--product", "#tailgate", "--csv", os.path.join(WORK, "list"))
    V.check([r["picked"] for r in j["impacted"]] == ["Yes", "No", "No"], f"{j}")
    V.check(j["csv"] == os.path.join(WORK, "list.csv") and "replaced" not in j, f"{j}")
    V.check(read(j["csv"], "rb") == ("Product,Component,Type\n" + "\n".join(LINES) + "\n").encode(), read(j["csv"]))
    # A product nothing depends on gives the title line alone; its own extension stays.
    j = V.js(PLANT, "--product", "Products/Item.1/Tailgate.10", "--csv", os.path.join(WORK, "none.CSV"))
    V.check(j["impacted"] == [] and read(os.path.join(WORK, "none.CSV"), "rb") == b"Product,Component,Type\n", f"{j}")


def test_replace():
    out = os.path.join(WORK, "replaced.xml")
    csv = os.path.join(WORK, "after.csv")
    j = V.js(PLANT, "--product", TAILGATE, "--with", LIGHT, "-o", out, "--csv", csv)
    V.check(j["replaced"] == {"with": LIGHT, "product": "Products/Item.1/LightTailgate.1", "output": out}, f"{j}")
    V.check(read(csv).splitlines()[1] == "LightTailgate.1,Inspection.2,Manufacturing Assembly", read(csv))
    saved = read(out)
    V.check('<product id="tailgate" name="LightTailgate.1" partNumber="TG-2500">' in saved, "the instance kept its id")
    V.check('ref="tailgate_panel"' not in saved and 'Strut.1' in saved, "old children went, new ones came")
    # The saved plant loads again and lists the new structure's dependants.
    text, _ = V.run(out, "--product", "Products/Item.1/LightTailgate.1")
    V.check(text.startswith("3 components depend on"), text)


def test_refused():
    before = read(PLANT)
    bad = os.path.join(WORK, "bad.xml")
    V.refused("no object at 'Products/Nope'", PLANT, "--product", "Products/Nope")
    V.refused("is a resource", PLANT, "--product", "Resources/Station.10/Worker.1")
    V.refused("not a product directly under Item.1", PLANT, "--product", "Products/BodyInWhite.1/Door.1")
    V.refused("a product document holds only <products>", PLANT, "--product", TAILGATE, "--with",
              os.path.join(DATA, "sample-plant.xml"), "-o", bad)
    V.refused("cannot be read", PLANT, "--product", TAILGATE, "--with", os.path.join(WORK, "none.TavProduct"), "-o", bad)
    V.refused("give --with", PLANT, "--product", TAILGATE, "-o", bad)
    V.refused("-o", PLANT, "--product", TAILGATE, "--with", LIGHT)
    V.refused("no folder", PLANT, "--product", TAILGATE, "--with", LIGHT, "-o", bad, "--csv",
              os.path.join(WORK, "missing", "list"))
    V.refused("not a folder", PLANT, "--product", TAILGATE, "--csv", WORK + "/")
    V.check(not os.path.exists(bad) and read(PLANT) == before, "a refusal wrote a file")
    V.check(not os.path.exists(os.path.join(WORK, ".csv")), "an empty name wrote '.csv'")


V.finish(test_list_and_csv, test_replace, test_refused)
