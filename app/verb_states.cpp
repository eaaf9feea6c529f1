// mirt states: the states of a plant with what each is made of, and the begin
// conditions, 3D context and end conditions of activities and behaviours.
#include <iostream>

#include "Output.h"
#include "StatesListing.h"
#include "VerbPlant.h"
#include "Verbs.h"

namespace {

struct Options {
  std::string plant;
  std::vector<std::string> objects;
  mirt::FormatFlags format;
};
Options& Opt() {
  static Options o;
  return o;
}

mirt::Json ToJson(const host::StatesListing& l) {
  mirt::Json owners = mirt::Json::array(), holders = mirt::Json::array();
  for (auto& o : l.owners) {
    mirt::Json positions = mirt::Json::array(), states = mirt::Json::array();
    for (auto& p : o.positions)
      positions.push_back({{"name", p.name}, {"id", p.id}, {"path", p.path}, {"matrix", std::vector<double>(p.matrix.begin(), p.matrix.end())}});
    for (auto& s : o.states) states.push_back({{"name", s.name}, {"id", s.id}, {"path", s.path}, {"definition", s.definition}});
    owners.push_back({{"path", o.path}, {"positions", std::move(positions)}, {"states", std::move(states)}});
  }
  for (auto& h : l.holders)
    holders.push_back({{"path", h.path}, {"kind", h.behaviour ? "behaviour" : "activity"}, {"begin", h.begin},
                       {"context", h.context}, {"end", h.end}});
  return {{"owners", std::move(owners)}, {"conditions", std::move(holders)}};
}

int Run() {
  Options& o = Opt();
  std::string error;
  Ref<host::HostDocument> doc = mirt::LoadPlantForVerb(o.plant, error);
  if (!doc) throw mirt::VerbError(error);
  std::vector<Ref<TavBaseUnknown>> objects;
  for (auto& path : o.objects) {
    TavPathElement pe = doc->Resolve(path);
    if (pe.IsEmpty()) throw mirt::VerbError("no object '" + path + "' in " + o.plant);
    objects.push_back(pe.GetLeaf());
  }
  const host::StatesListing l = host::ListStates(*doc, o.objects.empty() ? nullptr : &objects);
  if (o.format.Get() == mirt::Format::Json) {
    mirt::Json j = ToJson(l);
    j["plant"] = o.plant;
    mirt::PrintJson(std::cout, j);
  } else {
    std::cout << host::StatesText(l);
  }
  return 0;
}

}  // namespace

mirt::Verb mirt::StatesVerb() {
  return mirt::Verb{
    "states", "States and stored positions of products and resources, and the state conditions of activities", 27,
    [](CLI::App& sub) {
      Options& o = Opt();
      sub.add_option("plant", o.plant, "Plant file")->required()->check(CLI::ExistingFile);
      sub.add_option("--object,-o", o.objects,
                     "Only these objects: a product, resource or assembly (its positions and states), an activity "
                     "(its conditions), a resource with a behaviour (both); paths such as \"Resources/Station.10/Fixture.1\" "
                     "or ids such as #op10_load")
          ->expected(1, -1);
      mirt::AddFormatFlags(sub, o.format);
      sub.footer("States are named OWNER/state:NAME, stored positions PRODUCT/position:NAME.\n"
                 "Exit codes: 0 done, 1 bad input (a plant that does not load, an unknown object).");
    },
    Run};
}
