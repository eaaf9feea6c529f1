#!/usr/bin/env python3
"""mirt pert: a small line's PERT chart and precedence viewer with hand-computed times,
stored and laid-out positions, the SVG parsed (a box per child, red exactly the critical
ones) and compared with its golden, the sample plant's behaviour and OrIn, and every
refusal: exit 1, one line, no picture.

usage: verb_pert.py MIRT DATA LINE GOLDEN WORK
"""
import os
import re
import sys
import xml.etree.ElementTree as ET

import verbtest

MIRT, DATA, LINE, GOLDEN, WORK = sys.argv[1:6]
os.makedirs(WORK, exist_ok=True)
SAMPLE = os.path.join(DATA, "sample-plant.xml")
P = verbtest.Verbs(MIRT, WORK, "pert")
check = P.check
SVG_NS = "{http://www.w3.org/2000/svg}"


def boxes(j):
    return {b["label"]: b for b in j.get("boxes", [])}


def test_times_and_positions():
    j = P.js(LINE, "--root", "Process/Cell")
    b = boxes(j)
    check(list(b) == ["Load", "Weld & check <A>", "Seal", "Unload", "Spare"], f"boxes: {j}")
    # load 0-10, weld 10-15, seal after weld (precedence) 15-22, unload 22-25; spare
    # may end with the cell at 25.
    want = {"Load": (0, 0, 0), "Weld & check <A>": (10, 10, 0), "Seal": (15, 15, 0), "Unload": (22, 22, 0),
            "Spare": (0, 24, 24)}
    for label, (es, ls, slack) in want.items():
        got = b.get(label, {})
        check((got.get("earliest_start"), got.get("latest_start"), got.get("slack")) == (es, ls, slack),
              f"{label}: {got}")
    check([l for l, x in b.items() if x.get("critical")] == ["Load", "Weld & check <A>", "Seal", "Unload"],
          f"critical: {j}")
    check(b["Load"]["stored_position"] and (b["Load"]["x"], b["Load"]["y"]) == (0, 0), f"stored: {b['Load']}")
    laid = [x for x in b.values() if not x["stored_position"]]
    check(len(laid) == 4 and all(x["x"] % 10 == 0 and x["y"] % 10 == 0 for x in laid), f"laid out: {laid}")
    kinds = sorted((l["from"].split("/")[-1], l["to"].split("/")[-1], l["kind"], l["critical"]) for l in j["links"])
    check(("Weld & check <A>", "Seal", "precedence", True) in kinds and len(kinds) == 5, f"links: {kinds}")
    # The plant is not changed by laying out.
    with open(LINE, encoding="utf-8") as f:
        check(f.read().count("graphPosition") == 1, "the line plant gained positions")


def test_svg():
    out, _ = P.run(LINE, "--root", "Process/Cell", "--svg", "cell.svg")
    check("picture written to cell.svg" in out, f"text:\n{out}")
    path = os.path.join(WORK, "cell.svg")
    with open(path, encoding="utf-8") as f:
        text = f.read()
    with open(GOLDEN, encoding="utf-8") as f:
        check(text == f.read(), f"cell.svg differs from {GOLDEN}")
    root = ET.fromstring(text)
    rects = [r for r in root.iter(SVG_NS + "rect") if "box" in r.get("class", "").split()]
    red = [r for r in rects if r.get("stroke") == "#d62728"]
    check(len(rects) == 5 and len(red) == 4 and all("critical" in r.get("class") for r in red), "boxes in the SVG")
    dashed = [l for l in root.iter(SVG_NS + "line") if l.get("stroke-dasharray")]
    check(len(dashed) == 1 and "precedence" in dashed[0].get("class"), "one dashed precedence")
    check("Weld &amp; check &lt;A&gt;" in text, "escaped label")


def test_sample_and_precedence():
    j = P.js(SAMPLE, "--root", "Process/Body Shop/Sealing and hemming")
    b = boxes(j)
    check(b.get("Join", {}).get("type") == "OrIn" and b.get("Switch", {}).get("stored_position"), f"OrIn: {j}")
    # The OrIn waits for the longer branch (sealing, 30 s).
    check(b.get("Join", {}).get("earliest_start") == b["Sealing"]["earliest_start"] + 30, f"join: {j}")
    j = P.js(SAMPLE, "--root", "Process/Body Shop/Sealing and hemming", "--precedence")
    check(j.get("view") == "precedence" and (boxes(j)["Switch"]["x"], boxes(j)["Switch"]["y"]) == (200, 50), f"{j}")
    j = P.js(SAMPLE, "--root", "Resources/Station.30/Robot.3/Robot.3 handling")
    check(list(boxes(j)) == ["Grip door", "Move to hinge"], f"behaviour: {j}")
    out, _ = P.run(SAMPLE)
    check(out.startswith("PERT chart of Process: 2 boxes"), f"default root:\n{out}")


def test_refusals():
    P.refused("--root: nothing at 'Process/Nowhere'", LINE, "--root", "Process/Nowhere")
    P.refused("is no activity", LINE, "--root", "Resources/Station.1")
    P.refused("cannot write 'no/such/dir/x.svg'", LINE, "--svg", "no/such/dir/x.svg")
    cyclic = os.path.join(WORK, "cycle.xml")
    with open(LINE, encoding="utf-8") as f:
        text = f.read().replace('<flow from="cell" to="paint"/>', '<flow from="cell" to="paint"/>\n    '
                                                                      '<flow from="unload" to="load"/>')
    with open(cyclic, "w", encoding="utf-8") as f:
        f.write(text)
    P.refused("Load", cyclic, "--svg", "cycle.svg")
    check(not os.path.exists(os.path.join(WORK, "cycle.svg")), "a picture was written for a cycle")
    out, _ = P.run("--help")
    check("--precedence" in out and "--svg" in out, f"help:\n{out}")


P.finish(test_times_and_positions, test_svg, test_sample_and_precedence, test_refusals)
