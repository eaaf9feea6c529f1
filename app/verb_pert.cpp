// mirt pert PLANT [--root PATH] [--precedence] [--svg OUT] [--json]: the PERT chart
// (or precedence viewer) of an activity's children, timed and placed.
#include <iostream>

#include "FileWriter.h"
#include "Output.h"
#include "PertPicture.h"
#include "TavGraph.h"
#include "VerbPlant.h"
#include "Verbs.h"

namespace {

struct Options {
  std::string plant, root, svg;
  bool precedence = false;
  mirt::FormatFlags format;
};
Options& Opt() {
  static Options o;
  return o;
}

mirt::Json Number(const host::PertBox& b, double v) { return b.timed ? mirt::Json(v) : mirt::Json(nullptr); }

int Run() {
  const Options& o = Opt();
  // A picture written over its own plant would lose the plant.
  if (std::string clash = support::OutputIsInput(o.svg, {o.plant}); !o.svg.empty() && !clash.empty())
    throw mirt::VerbError(clash);
  mirt::VerbSession plant(o.plant);
  const Ref<host::HostActivity> root =
      mirt::RootActivityForVerb(*plant.doc, o.root, "chart", " (a PERT chart shows an activity's children)");

  // The whole tree is timed: the boxes' earliest and latest starts depend on it all.
  OrvModelTimeSolver solver;
  const HRESULT hr = solver.FullSolve(host::TreeTop(root));
  if (FAILED(hr))
    throw mirt::VerbError(hr == E_NOTIMPL ? std::string("no time solver is installed")
                                          : "the times cannot be solved: " + solver.GetError().utf8());

  // Boxes without a stored position are laid out for this chart only; the plant is not saved.
  const host::PertChart chart = host::BuildPertChart(root, o.precedence ? 2 : 0);
  if (!o.svg.empty()) {
    std::string why;
    if (!support::WriteFile(o.svg, host::PertSvg(chart), &why)) throw mirt::VerbError(why);
  }

  if (o.format.Get() == mirt::Format::Json) {
    mirt::Json boxes = mirt::Json::array(), links = mirt::Json::array();
    for (const host::PertBox& b : chart.boxes)
      boxes.push_back({{"label", b.label},
                       {"path", b.path},
                       {"type", b.type},
                       {"duration", b.duration},
                       {"earliest_start", Number(b, b.earliest)},
                       {"latest_start", Number(b, b.latest)},
                       {"slack", Number(b, b.slack)},
                       {"critical", b.critical},
                       {"x", b.x},
                       {"y", b.y},
                       {"stored_position", b.stored}});
    for (const host::PertLink& l : chart.links)
      links.push_back({{"from", chart.boxes[l.from].path},
                       {"to", chart.boxes[l.to].path},
                       {"kind", l.precedence ? "precedence" : "flow"},
                       {"critical", l.critical}});
    mirt::PrintJson(std::cout, {{"plant", o.plant},
                                {"root", chart.rootPath},
                                {"view", o.precedence ? "precedence" : "pert"},
                                {"boxes", boxes},
                                {"links", links}});
  } else {
    std::cout << host::PertText(chart);
  }
  if (!o.svg.empty() && o.format.Get() != mirt::Format::Json) std::cout << "picture written to " << o.svg << '\n';
  return 0;
}

}  // namespace

mirt::Verb mirt::PertVerb() {
  return mirt::Verb{"pert", "Print (and draw) the PERT chart or precedence viewer of an activity's children", 42,
    [](CLI::App& sub) {
      Options& o = Opt();
      sub.add_option("plant", o.plant, "The plant to chart")->required()->check(CLI::ExistingFile);
      sub.add_option("--root", o.root, "The activity whose children are the boxes (path or #id; default: the first process)");
      sub.add_flag("--precedence", o.precedence, "The precedence viewer's positions instead of the PERT chart's");
      sub.add_option("--svg", o.svg, "Draw the chart as a self-contained SVG file");
      mirt::AddFormatFlags(sub, o.format);
      sub.footer("Each box: duration, earliest start (ES), latest start (LS), slack, critical, and its position "
                 "(stored in the plant, or laid out for this chart: the plant is not changed). Links: flows and "
                 "precedences among the boxes. Exit 0 when charted, 1 on a cycle, a negative duration or bad input "
                 "(no picture is written then).");
    },
    Run};
}
