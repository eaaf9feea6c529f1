#!/usr/bin/env python3
"""mirt gantt: a process with an alternative, a milestone and a precedence across
branches timed as text, JSON and CSV; resource lanes with a double booking; the SVG
picture parsed (a bar per timed row, red bars exactly the critical rows, escaped
labels); bad input refused with one line, exit 1 and no picture written.

usage: verb_gantt.py MIRT DATA LINE CYCLE WORK
"""
import csv
import io
import os
import sys
import xml.etree.ElementTree as ET

import verbtest

MIRT, DATA, LINE, CYCLE, WORK = sys.argv[1:6]
os.makedirs(WORK, exist_ok=True)
G = verbtest.Verbs(MIRT, WORK, "gantt")
check = G.check
SVG_NS = "{http://www.w3.org/2000/svg}"
RED = "#d62728"

# Hand-computed: Load 0..2 then the Switch; Weld <A> (5) is the longer alternative
# before the OrIn, Weld B (3) has 2 of slack; Checked is a milestone at 7; Paint
# follows the Body Shop; Seal waits for Load only (precedence) and has 11 of slack.
EXPECTED = {
    "Process": (0, 17, 0, 17, True),
    "Process/Body Shop": (0, 7, 0, 7, True),
    "Process/Body Shop/Load": (0, 2, 0, 2, True),
    'Process/Body Shop/Weld <A> & "spot"': (2, 7, 2, 7, True),
    "Process/Body Shop/Weld B": (2, 5, 4, 7, False),
    "Process/Body Shop/Checked": (7, 7, 7, 7, True),
    "Process/Paint": (7, 17, 7, 17, True),
    "Process/Seal the underbody seams of the whole car body": (2, 6, 13, 17, False),
}


def test_json():
    j = G.js(LINE, "--resources", "Resources/Station.1")
    rows = {r["path"]: (r["begin"], r["end"], r["sct"], r["cct"], r["critical"]) for r in j.get("rows", [])}
    check(rows == EXPECTED, f"times: {rows}")
    check(j.get("span") == 17 and j.get("root") == "Process", f"span/root: {j}")
    check(all(r["slack"] == r["sct"] - r["begin"] for r in j["rows"]), "slack = SCT - begin")
    lanes = j.get("resources", [])
    check(len(lanes) == 1 and lanes[0]["double_booked"] and lanes[0]["busy"] == 7, f"lane: {lanes}")
    overlapping = sorted(b["path"] for b in lanes[0]["bars"] if b["overlaps"]) if lanes else []
    check(overlapping == ['Process/Body Shop/Weld <A> & "spot"', "Process/Seal the underbody seams of the whole car body"],
          f"overlaps: {overlapping}")
    # Control nodes take no row; --depth and --root narrow the table.
    j = G.js(LINE, "--depth", "1")
    check([r["path"] for r in j.get("rows", [])] == ["Process", "Process/Body Shop", "Process/Paint",
                                                     "Process/Seal the underbody seams of the whole car body"], f"depth: {j}")
    j = G.js(LINE, "--root", "Process/Body Shop", "--depth", "0")
    check([r["path"] for r in j.get("rows", [])] == ["Process/Body Shop"], f"root: {j}")


def test_csv_and_text():
    out, _ = G.run(LINE, "--csv")
    rows = list(csv.reader(io.StringIO(out)))
    check(rows[0] == ["path", "label", "level", "begin", "end", "SCT", "CCT", "slack", "critical"], f"csv header {rows[:1]}")
    check(['Process/Body Shop/Weld <A> & "spot"', 'Weld <A> & "spot"', "2", "2", "7", "2", "7", "0", "yes"] in rows,
          f"csv quoting:\n{out}")
    out, _ = G.run(LINE)
    check("span 17" in out and "SCT" in out and "CCT" in out, f"text:\n{out}")
    out, _ = G.run("--help")
    check("SCT the latest start" in out and "CCT" in out, f"help:\n{out}")


def test_svg():
    svg = os.path.join(WORK, "line.svg")
    G.run(LINE, "--resources", "Resources/Station.1", "--svg", svg)
    with open(svg, encoding="utf-8") as f:
        text = f.read()
    root = ET.fromstring(text)
    check("<script" not in text and "href" not in text, "self-contained")
    rows = [g for g in root.iter(SVG_NS + "g") if g.get("class") == "row"]
    check(len(rows) == len(EXPECTED), f"{len(rows)} rows")
    for g in rows:
        tip = g.find(SVG_NS + "title").text
        path = tip.split(": ")[0]
        marks = [e for e in g if (e.get("class") or "").split(" ")[0] in ("bar", "milestone")]
        check(len(marks) == 1, f"one bar in {tip}")
        if path in EXPECTED and marks:
            red = marks[0].get("fill") == RED
            check(red == EXPECTED[path][4], f"red {red} for {path}")
            check((marks[0].tag == SVG_NS + "polygon") == (EXPECTED[path][0] == EXPECTED[path][1]), f"milestone {path}")
    check("Weld &lt;A&gt; &amp; &quot;spot&quot;" in text, "escaped label")
    lanes = [g for g in root.iter(SVG_NS + "g") if g.get("class") == "lane"]
    check(len(lanes) == 1 and "double booked" in lanes[0].find(SVG_NS + "title").text, "lane flagged")
    # Same bytes every run.
    G.run(LINE, "--resources", "Resources/Station.1", "--svg", svg)
    with open(svg, encoding="utf-8") as f:
        check(f.read() == text, "deterministic picture")


def test_refusals():
    svg = os.path.join(WORK, "kept.svg")
    with open(svg, "w") as f:
        f.write("old")
    G.refused("a cycle through Process/Load, Process/Weld, Process/Unload", CYCLE, "--svg", svg)
    G.refused("a negative duration: Other/Bad (-2)", CYCLE, "--root", "Other", "--svg", svg)
    with open(svg) as f:
        check(f.read() == "old", "no picture written on a failure")
    G.refused("--root: nothing at 'Process/Nowhere'", LINE, "--root", "Process/Nowhere")
    G.refused("--root: 'Resources/Station.1' is no activity", LINE, "--root", "Resources/Station.1")
    G.refused("--resources: no resource at 'Resources/Nope'", LINE, "--resources", "Resources/Nope")
    missing = os.path.join(WORK, "no-such-folder", "x.svg")
    G.refused("no-such-folder", LINE, "--svg", missing)
    check(not os.path.exists(missing), "no picture in a missing folder")
    # The sample plant times without trouble.
    G.js(os.path.join(DATA, "sample-plant.xml"))


G.finish(test_json, test_csv_and_text, test_svg, test_refusals)
