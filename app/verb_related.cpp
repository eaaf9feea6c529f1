// mirt related PLANT OBJECT... [--boxes LIST|all|none] [--json]: what the cross
// highlight shows for each object picked alone: an activity's products and
// resources, or the activities relating a product, resource or assembly.
#include <algorithm>
#include <iostream>

#include "OrvVekCrossHighlightCmd.h"
#include "Output.h"
#include "TavAssignment.h"
#include "VerbPlant.h"
#include "Verbs.h"

namespace {

struct Options {
  std::vector<std::string> objects;
  std::string plant, boxes;
  mirt::FormatFlags format;
};
Options& Opt() {
  static Options o;
  return o;
}

// The boxes' sum: "all", "none", or box names separated by commas (any case).
int BoxValue(const std::string& text) {
  const std::string all = TavUnicodeString(text).ToUpper().utf8();
  if (all == "ALL") return 1023;
  if (all == "NONE") return 0;
  int value = 0;
  std::size_t from = 0;
  for (;;) {
    const std::size_t comma = all.find(',', from);
    const std::string name = all.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
    const auto& boxes = OrvVekCrossHighlightBoxes();
    auto it = std::find_if(boxes.begin(), boxes.end(), [&](const OrvVekCrossHighlightBox& b) { return name == b.name; });
    if (it == boxes.end()) {
      std::string names;
      for (const auto& b : boxes) names += std::string(names.empty() ? "" : ", ") + b.name;
      throw mirt::VerbError("--boxes: no box '" + name + "' (boxes: " + names + "; or all, none)");
    }
    value |= it->value;
    if (comma == std::string::npos) return value;
    from = comma + 1;
  }
}

std::string KindOf(const Ref<TavBaseUnknown>& o) {
  if (query<OrvIResourceBehavior>(o)) return "behaviour";
  if (query<TavISPPAbstractActivity>(o)) return "activity";
  if (query<OrvIMfgAssembly>(o)) return "assembly";
  if (query<TavIProduct>(o)) return OrvVekCrossHighlightCmd::IsAResource(o) ? "resource" : "product";
  return "object";
}

std::string IdOf(const Ref<TavBaseUnknown>& o) {
  auto identity = query<TavIModelIdentity>(o);
  return identity ? "#" + identity->GetId().utf8() : std::string();
}

struct Shown {
  std::string path, id, kind;
};

int Run() {
  Options& o = Opt();
  const int value = o.boxes.empty() ? -1 : BoxValue(o.boxes);
  mirt::VerbSession plant(o.plant);
  auto& doc = plant.doc;
  std::vector<TavPathElement> picks;
  for (const auto& object : o.objects) {
    picks.push_back(doc->Resolve(object));
    if (picks.back().IsEmpty()) throw mirt::VerbError("no object at '" + object + "'");
  }
  std::string error;
  if (!plant.engine.Start("OrvVekPlanner", "OrvVekCrossHighlightCmd", &error)) throw mirt::VerbError(error);
  auto* cmd = dynamic_cast<OrvVekCrossHighlightCmd*>(plant.engine.RunningCommand());
  if (!cmd || !cmd->Dialog()) throw mirt::VerbError("the cross highlight did not start");
  // Without --boxes the planner's settings hold, as the dialog reads them.
  if (value >= 0) {
    const auto& boxes = OrvVekCrossHighlightBoxes();
    for (const auto& b : boxes) cmd->Dialog()->Box(b.name)->SetState((value & b.value) != 0);
  }
  const int used = cmd->Dialog()->GetValues();
  auto editor = TavFrmEditor::GetCurrentEditor();
  std::vector<std::vector<Shown>> results;
  for (std::size_t i = 0; i < picks.size(); ++i) {
    if (!plant.engine.Pick(picks[i], &error))
      throw mirt::VerbError("'" + o.objects[i] + "' cannot be picked here: " + error);
    results.emplace_back();
    for (const auto& p : editor->GetHSO().Items())
      results.back().push_back({doc->PathString(p.GetLeaf()), IdOf(p.GetLeaf()), KindOf(p.GetLeaf())});
  }
  std::string boxNames;
  for (const auto& b : OrvVekCrossHighlightBoxes())
    if (used & b.value) boxNames += std::string(boxNames.empty() ? "" : ",") + b.name;

  if (o.format.Get() == mirt::Format::Json) {
    mirt::Json objects = mirt::Json::array();
    for (std::size_t i = 0; i < picks.size(); ++i) {
      mirt::Json shown = mirt::Json::array();
      for (const auto& s : results[i]) shown.push_back({{"path", s.path}, {"id", s.id}, {"kind", s.kind}});
      const auto leaf = picks[i].GetLeaf();
      objects.push_back({{"object", doc->PathString(leaf)}, {"kind", KindOf(leaf)}, {"highlighted", shown}});
    }
    mirt::PrintJson(std::cout, {{"plant", o.plant}, {"boxes", boxNames}, {"objects", objects}});
    return 0;
  }
  std::cout << "boxes: " << (boxNames.empty() ? "none" : boxNames) << '\n';
  for (std::size_t i = 0; i < picks.size(); ++i) {
    const auto leaf = picks[i].GetLeaf();
    std::cout << doc->PathString(leaf) << " (" << KindOf(leaf) << "): " << results[i].size() << " highlighted\n";
    for (const auto& s : results[i]) std::cout << "  " << s.path << "  " << s.id << "  " << s.kind << '\n';
  }
  return 0;
}

}  // namespace

mirt::Verb mirt::RelatedVerb() {
  return mirt::Verb{"related", "What the cross highlight shows for an activity, product, resource or assembly", 39,
    [](CLI::App& sub) {
      Options& o = Opt();
      sub.add_option("plant", o.plant, "The plant to read")->required()->check(CLI::ExistingFile);
      sub.add_option("objects", o.objects, "Objects to pick, each alone (paths or #ids)")->required();
      sub.add_option("--boxes", o.boxes,
                     "Relation kinds that count: all, none, or box names separated by commas "
                     "(PFPP,PPP,PRP,PCP,PIR,PUR,PROR,PAR,PDR,DC); default: the planner's settings");
      mirt::AddFormatFlags(sub, o.format);
      sub.footer("For an activity: the products and resources it relates under the boxes' relation kinds, then "
                 "itself. For a product, resource or assembly: the activities relating it (with DC, their ancestors "
                 "too), then itself; a resource first shows what its behaviour relates. Each line: path, id, kind "
                 "(docs/cross-highlight.md). Exit 0; 1 for an unknown object or box or an object the cross highlight "
                 "does not take: then nothing is printed.");
    },
    Run};
}
