// mirt check PLANT: loads a plant file and prints what it holds, or the load error.
#include <iostream>

#include "HostCompare.h"
#include "HostPlanner.h"
#include "Output.h"
#include "PlantDocument.h"
#include "VerbPlant.h"
#include "Verbs.h"

namespace {

struct Counts {
  std::size_t activities = 0, products = 0, resources = 0, assemblies = 0, relations = 0, flows = 0, precedences = 0;
  std::size_t tsas = 0, tsaActivities = 0, fasteners = 0;
};

void CountProducts(const std::vector<Ref<host::HostProduct>>& roots, std::size_t& n) {
  for (auto& r : roots) n += 1 + r->GetAllDescendants().size();
}

// Counts a tree's activities with their relations and links; returns the activity count.
std::size_t CountTree(const Ref<host::HostActivity>& root, Counts& c) {
  std::vector<Ref<host::HostActivity>> all{root};
  for (auto& a : root->GetAllChildren()) all.push_back(std::dynamic_pointer_cast<host::HostActivity>(a));
  for (auto& a : all) {
    c.relations += a->Relations().size();
    for (auto& n : a->Next()) c.flows += !n.expired();
    for (auto& b : a->Before()) c.precedences += !b.expired();
  }
  return all.size();
}

Counts Count(const host::HostDocument& doc) {
  Counts c;
  for (auto& root : doc.Process().roots_) c.activities += CountTree(root, c);
  if (auto* ext = host::ContExtOf(doc)) {
    c.tsas = ext->TSAs().size();
    for (auto& t : ext->TSAs()) c.tsaActivities += CountTree(t, c);
  }
  if (auto* f = host::FastenersOf(const_cast<host::HostDocument&>(doc), false)) c.fasteners = f->Fasteners().size();
  CountProducts(doc.Products().roots_, c.products);
  CountProducts(doc.Resources().roots_, c.resources);
  c.assemblies = doc.Assemblies().assemblies_.size();
  return c;
}

std::string plantPath;
mirt::FormatFlags format;

}  // namespace

mirt::Verb mirt::CheckVerb() {
  return mirt::Verb{
    "check",
    "Load a plant file and print a summary of what it holds",
    20,
    [](CLI::App& sub) {
      sub.add_option("PLANT", plantPath, "The plant file (XML)")->required();
      mirt::AddFormatFlags(sub, format);
      sub.footer("Exit status: 0 when the plant loads, 1 with the first error as file:line:column otherwise.");
    },
    [] {
      std::string error;
      Ref<host::HostDocument> doc = mirt::LoadPlantForVerb(plantPath, error);
      if (!doc) throw mirt::VerbError(error);
      Counts c = Count(*doc);
      if (format.Get() == mirt::Format::Json) {
        mirt::PrintJson(std::cout, {{"file", plantPath},
                                    {"name", doc->GetDisplayName().utf8()},
                                    {"environment", doc->IsHub() ? "hub" : "local"},
                                    {"processes", doc->Process().roots_.size()},
                                    {"activities", c.activities},
                                    {"products", c.products},
                                    {"resources", c.resources},
                                    {"assemblies", c.assemblies},
                                    {"relations", c.relations},
                                    {"flows", c.flows},
                                    {"precedences", c.precedences},
                                    {"tsas", c.tsas},
                                    {"tsa_activities", c.tsaActivities},
                                    {"fasteners", c.fasteners}});
        return 0;
      }
      std::cout << plantPath << ": plant \"" << doc->GetDisplayName().utf8() << "\" ("
                << (doc->IsHub() ? "hub" : "local") << ")\n"
                << "  activities:  " << c.activities << " in " << doc->Process().roots_.size() << " process"
                << (doc->Process().roots_.size() == 1 ? "" : "es") << "\n"
                << "  products:    " << c.products << "\n"
                << "  resources:   " << c.resources << "\n"
                << "  assemblies:  " << c.assemblies << "\n"
                << "  relations:   " << c.relations << "\n"
                << "  links:       " << c.flows << " flow, " << c.precedences << " precedence\n";
      if (c.tsas) std::cout << "  TSAs:        " << c.tsas << " with " << c.tsaActivities << " activities\n";
      if (c.fasteners) std::cout << "  fasteners:   " << c.fasteners << "\n";
      return 0;
    },
};
}
