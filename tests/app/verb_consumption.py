#!/usr/bin/env python3
"""mirt consumption: engineering-requirement states (--ei) in the table, --json and the
report; the batch report byte for byte the one the activities-of-product window
exports for the same products and settings; refusals: exit 1, one line, no report.

usage: verb_consumption.py MIRT DATA WORK
"""
import os
import subprocess
import sys

import verbtest

MIRT, DATA, WORK = sys.argv[1:4]
os.makedirs(WORK, exist_ok=True)
SAMPLE = os.path.join(DATA, "sample-plant.xml")
C = verbtest.Verbs(MIRT, WORK, "consumption")
check = C.check
DOORS = ["-p", "Products/BodyInWhite.1/Door.1", "Products/BodyInWhite.1/Door.2", "Products/BodyInWhite.1/Bracket.3"]
STATES = {"No Engineering Requirements to implement", "All Engineering Requirements fully implemented",
          "At least one Engineering Requirements not fully implemented"}


def test_states():
    j = C.js(SAMPLE, *DOORS, "--ei")
    reqs = j.get("requirements")
    check(isinstance(reqs, list) and [r["product"] for r in reqs] == [
        "Products/BodyInWhite.1/Door.1", "Products/BodyInWhite.1/Door.2", "Products/BodyInWhite.1/Bracket.3"],
        f"requirements: {j}")
    check(all(r["state"] in STATES for r in reqs or []), f"states: {reqs}")
    check(C.js(SAMPLE, *DOORS).get("requirements") is None, "without --ei no states are computed")
    out, _ = C.run(SAMPLE, *DOORS, "--ei")
    check("Engineering requirements (3):" in out, f"text:\n{out}")
    out, _ = C.run(SAMPLE, *DOORS, "--ei", "--xml", "-")
    check(out.count("<EI ") == 3 and 'Number = "1"' in out, f"report:\n{out}")


def test_report_equals_the_windows_export():
    script = os.path.join(WORK, "export.mirt")
    with open(script, "w", encoding="utf-8") as f:
        f.write(f"""setting OrvVekPartConsumption ChildAssignCheck true
setting OrvVekPartConsumption ParentAssignCheck true
setting OrvVekPartConsumption EffectivityType 2
setting OrvVekPartConsumption ProcessIntentRelation true
open {SAMPLE}
select "Products/BodyInWhite.1/Door.1" "Products/BodyInWhite.1/Door.2" "Products/BodyInWhite.1/Bracket.3"
start OrvVekPlanner OrvVekListActAssOfProdCmd
push OrvVekListActAssOfProdDlg.pExpXml
set OrvVekExpPartConsResulttoXMLDlg.XmlStyleSheetTextBox window.xml
notify OrvVekExpPartConsResulttoXMLDlg ok
cancel
""")
    env = dict(os.environ, MIRT_CONFIG_DIR=os.path.join(WORK, "window-config"))
    p = subprocess.run([MIRT, "run", script], cwd=WORK, capture_output=True, text=True, env=env)
    check(p.returncode == 0, f"the window's export failed:\n{p.stdout}{p.stderr}")
    C.run(SAMPLE, *DOORS, "--child-assign-check", "--check-parent", "--check-children", "--effectivity", "2", "--ei",
          "--xml", "batch.xml")
    with open(os.path.join(WORK, "window.xml"), "rb") as a, open(os.path.join(WORK, "batch.xml"), "rb") as b:
        window, batch = a.read(), b.read()
    check(window == batch and b"<EI " in batch, f"the reports differ:\n{window!r}\n{batch!r}")


def test_refusals():
    C.refused("Products/Nothing", SAMPLE, "-p", "Products/Nothing", "--xml", "nothing.xml")
    C.refused("Resources/Station.10", SAMPLE, "-p", "Resources/Station.10", "--ei", "--xml", "nothing.xml")
    C.refused("--ei", SAMPLE, *DOORS, "--ei=maybe", "--xml", "nothing.xml")
    check(not os.path.exists(os.path.join(WORK, "nothing.xml")), "a refused run wrote a report")


C.finish(test_states, test_report_equals_the_windows_export, test_refusals)
