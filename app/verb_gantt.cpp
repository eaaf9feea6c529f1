// mirt gantt PLANT [--root PATH] [--resources PATH...] [--depth N] [--svg OUT]
// [--csv|--json]: a process timed from durations, control flow and precedences, as a
// table and as a Gantt picture.
#include <cstdio>
#include <iostream>

#include "FileWriter.h"
#include "GanttPicture.h"
#include "Output.h"
#include "TavGraph.h"
#include "TextTable.h"
#include "TimingStore.h"
#include "VerbPlant.h"
#include "Verbs.h"

namespace {

struct Options {
  std::string plant, root, svg;
  std::vector<std::string> resources;
  int depth = -1;
  mirt::FormatFlags format;
};
Options& Opt() {
  static Options o;
  return o;
}

std::string Number(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%g", v);
  return buf;
}

struct Row {
  const host::GanttPictureRow* row;
  double begin = 0, end = 0, sct = 0, cct = 0, slack = 0;
  bool critical = false;
};

int Run() {
  Options& o = Opt();
  std::string error;
  // A picture written over its own plant would lose the plant.
  if (std::string clash = support::OutputIsInput(o.svg, {o.plant}); !o.svg.empty() && !clash.empty())
    throw mirt::VerbError(clash);
  auto doc = mirt::LoadPlantForVerb(o.plant, error);
  if (!doc) throw mirt::VerbError(error);

  const Ref<host::HostActivity> root = mirt::RootActivityForVerb(*doc, o.root, "time");
  std::vector<Ref<host::HostProduct>> lanes;
  for (auto& path : o.resources) {
    auto r = std::dynamic_pointer_cast<host::HostProduct>(doc->Resolve(path).GetLeaf());
    if (!r || !r->IsResource()) throw mirt::VerbError("--resources: no resource at '" + path + "'");
    lanes.push_back(r);
  }

  const std::string rootPath = doc->PathString(root);
  OrvModelTimeSolver solver;
  if (FAILED(solver.FullSolve(root))) throw mirt::VerbError("cannot time " + rootPath + ": " + solver.GetError().utf8());

  host::GanttPicture picture;
  host::AddProcessRows(picture, *doc, root, o.depth);
  for (auto& r : lanes) host::AddResourceLane(picture, *doc, r);
  picture.title = "Process Gantt: " + root->Label().utf8();

  std::vector<Row> rows;
  for (auto& r : picture.rows) {
    if (r.kind != host::GanttPictureRow::Kind::Activity || r.bars.empty()) continue;
    auto t = query<OrvITimedActivity>(r.bars.front().activity);
    rows.push_back({&r, t->GetBeginTime(), t->GetEndTime(), t->GetLatestBeginTime(), t->GetLatestEndTime(), t->GetSlack(),
                    t->IsCritical()});
  }

  // The picture first: a report never claims a picture that was not written.
  if (!o.svg.empty() && !support::WriteFile(o.svg, host::GanttPictureSvg(picture), &error)) throw mirt::VerbError(error);

  if (o.format.Get() == mirt::Format::Json) {
    mirt::Json list = mirt::Json::array(), lanesJson = mirt::Json::array();
    for (auto& r : rows)
      list.push_back({{"path", r.row->path}, {"label", r.row->label}, {"level", r.row->level}, {"begin", r.begin},
                      {"end", r.end}, {"sct", r.sct}, {"cct", r.cct}, {"slack", r.slack}, {"critical", r.critical}});
    for (auto& r : picture.rows) {
      if (r.kind != host::GanttPictureRow::Kind::Resource) continue;
      mirt::Json bars = mirt::Json::array();
      for (auto& b : r.bars)
        bars.push_back({{"path", doc->PathString(b.activity)}, {"begin", b.begin}, {"end", b.end}, {"level", b.stack + 1},
                        {"overlaps", b.overlaps}});
      lanesJson.push_back({{"path", r.path}, {"name", r.label}, {"busy", r.busy}, {"utilisation", r.utilisation},
                           {"double_booked", r.doubleBooked}, {"bars", bars}});
    }
    mirt::PrintJson(std::cout, {{"plant", o.plant}, {"root", rootPath}, {"span", picture.span}, {"rows", list},
                                {"resources", lanesJson}, {"svg", o.svg.empty() ? mirt::Json() : mirt::Json(o.svg)}});
  } else if (o.format.Get() == mirt::Format::Csv) {
    std::vector<std::vector<std::string>> out{{"path", "label", "level", "begin", "end", "SCT", "CCT", "slack", "critical"}};
    for (auto& r : rows)
      out.push_back({r.row->path, r.row->label, std::to_string(r.row->level), Number(r.begin), Number(r.end), Number(r.sct),
                     Number(r.cct), Number(r.slack), r.critical ? "yes" : "no"});
    mirt::PrintCsv(std::cout, out);
  } else {
    std::cout << picture.title << " (" << rootPath << "), span " << Number(picture.span) << '\n';
    std::vector<std::vector<std::string>> table{{"activity", "begin", "end", "SCT", "CCT", "slack", "critical"}};
    for (auto& r : rows)
      table.push_back({std::string(static_cast<std::size_t>(2 * r.row->level), ' ') + r.row->label, Number(r.begin),
                       Number(r.end), Number(r.sct), Number(r.cct), Number(r.slack), r.critical ? "*" : ""});
    mirt::PrintTable(std::cout, table, "  ");
    for (auto& r : picture.rows)
      if (r.kind == host::GanttPictureRow::Kind::Resource) {
        char pct[16];
        std::snprintf(pct, sizeof pct, "%.0f%%", r.utilisation * 100);
        std::cout << "resource " << r.label << ": " << r.bars.size() << (r.bars.size() == 1 ? " activity" : " activities")
                  << ", busy " << Number(r.busy) << ", utilisation " << pct << (r.doubleBooked ? ", DOUBLE BOOKED" : "") << '\n';
        for (auto& b : r.bars)
          if (b.overlaps) std::cout << "  overlapping: " << b.activity->Label().utf8() << " " << Number(b.begin) << ".." << Number(b.end) << '\n';
      }
    if (!o.svg.empty()) std::cout << "picture written to " << o.svg << '\n';
  }
  return 0;
}

}  // namespace

mirt::Verb mirt::GanttVerb() {
  return mirt::Verb{"gantt", "Time a process from durations, flows and precedences: table and Gantt picture", 41,
    [](CLI::App& sub) {
      Options& o = Opt();
      sub.add_option("plant", o.plant, "The plant to time")->required()->check(CLI::ExistingFile);
      sub.add_option("--root", o.root, "The activity whose tree is shown (path or #id; default: the first process)");
      sub.add_option("--resources", o.resources, "Resources to draw a lane for (paths or #ids)")->expected(1, -1);
      sub.add_option("--depth", o.depth, "Show activities down to this many levels below the root")->check(CLI::NonNegativeNumber);
      sub.add_option("--svg", o.svg, "Write the Gantt picture to this SVG file");
      mirt::AddFormatFlags(sub, o.format, "the timed rows");
      sub.footer("Columns: begin and end are the earliest start and completion, SCT the latest start and CCT "
                 "the latest completion that keep the span, slack = SCT - begin; critical rows (*) have none. "
                 "A leaf lasts its time, a parent spans its children (its own time is ignored), control nodes "
                 "take no time; flows and precedences link end to start. Exit 0 when timed, 1 on a cycle, a "
                 "negative duration, an unknown --root or --resources path, or an output that cannot be written "
                 "(nothing written then).");
    },
    Run};
}
