#!/usr/bin/env python3
"""mirt gantt-search: a quick text, a composed query and a saved query over a Gantt
chart of the sample plant, as text, JSON and CSV; bad input refused with one line,
exit 1.

usage: verb_gantt_search.py MIRT DATA WORK
"""
import csv
import io
import os
import sys

import verbtest

MIRT, DATA, WORK = sys.argv[1:4]
os.makedirs(WORK, exist_ok=True)
PLANT = os.path.join(DATA, "sample-plant.xml")
G = verbtest.Verbs(MIRT, WORK, "gantt-search")
S = verbtest.Verbs(MIRT, WORK, "settings", "--preferences")
S.failures = G.failures
check = G.check
FRAMING = "Process/Body Shop/Framing"


def names(j):
    return [r.get("name") for r in j.get("rows", [])]


def test_quick():
    j = G.js(PLANT, "--root", FRAMING, "--quick", "weld")
    check(names(j) == ["Weld.1", "Weld.2"] and j.get("count") == 2, f"quick weld: {j}")
    check(j.get("query") == ["'Name'='*weld*'", "OR", "'Type'='*weld*'", "OR", "'Description'='*weld*'"], f"query {j}")
    check(j["rows"][0].get("path") == FRAMING + "/Weld.1" and j["rows"][0].get("columns") == ["Name", "Type"], f"row {j}")
    # A number is looked for in the numeric columns as a number.
    j = G.js(PLANT, "--root", FRAMING, "--quick", "41")
    check(names(j) == ["Weld.1"] and j["rows"][0].get("columns") == ["Duration"], f"quick 41: {j}")
    text, _ = G.run(PLANT, "--root", FRAMING, "--quick", "zebra")
    check("0 rows match" in text, f"no match is a success:\n{text}")


def test_query_and_columns():
    args = [PLANT, "--columns", "WeldSpots, Cost", "--query", "'WeldSpots'>='50'", "AND", "'Duration'<'40'",
            "OR", "'Cost'=='12.75'"]
    j = G.js(*args)
    check(names(j) == ["Weld.1", "Weld.2"], f"AND before OR: {j}")
    out, _ = G.run(*args, "--csv")
    rows = list(csv.reader(io.StringIO(out)))
    check(rows[0] == ["row", "name", "path", "columns"] and len(rows) == 3 and rows[1][3] == "WeldSpots;Cost",
          f"csv:\n{out}")
    # The default root is the first process; every activity is a row.
    j = G.js(PLANT, "--query", "'Name'=='Respot'")
    check(names(j) == ["Respot"] and j.get("root") == "Process", f"default root: {j}")


def test_saved():
    S.run("set", "OrvGanttSearch", "SavedQueryList", "--strings", "Heavy", "Broken")
    S.run("set", "OrvGanttSearch", "SavedQueryListSize", "2")
    S.run("set", "OrvGanttSearch", "Heavy_QN", "--strings", "'Duration'>'35'", "AND", "'Name'='*.*'")
    S.run("set", "OrvGanttSearch", "Heavy_QS", "3")
    S.run("set", "OrvGanttSearch", "Broken_QN", "--strings", "'Duration'>'35'", "AND")
    S.run("set", "OrvGanttSearch", "Broken_QS", "2")
    j = G.js(PLANT, "--saved", "Heavy")
    check(names(j) == ["Weld.1", "Weld.2", "Inspection.2"], f"saved: {j}")
    j = G.js(PLANT, "--list-saved")
    listed = {q.get("name"): q for q in j.get("saved_queries", [])}
    check(listed.get("Heavy", {}).get("damaged") == "" and "alternate" in listed.get("Broken", {}).get("damaged", ""),
          f"list: {j}")
    G.refused("--saved 'Broken': the saved query 'Broken' does not alternate", PLANT, "--saved", "Broken")
    G.refused("--saved 'Nothing': no query 'Nothing' is saved", PLANT, "--saved", "Nothing")


def test_refusals():
    G.refused("no column 'Weight'", PLANT, "--query", "'Weight'>'2'")
    G.refused("a query ends with a condition", PLANT, "--query", "'Name'='x'", "AND")
    G.refused("give one of --quick, --query and --saved", PLANT, "--quick", "x", "--saved", "y")
    G.refused("nothing to search", PLANT)
    G.refused("--root: nothing at 'Process/Nowhere'", PLANT, "--root", "Process/Nowhere", "--quick", "x")
    G.refused("not an activity", PLANT, "--root", "Resources/Station.20", "--quick", "x")
    G.refused("--columns: an empty column name", PLANT, "--columns", "A,,B", "--quick", "x")
    out, _ = G.run("--help")
    check("--saved" in out and "docs/gantt-query.md" in out, f"help:\n{out}")


G.finish(test_quick, test_query_and_columns, test_saved, test_refusals)
