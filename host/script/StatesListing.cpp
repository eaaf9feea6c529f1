#include "StatesListing.h"

#include <unordered_set>

#include "PlantSections.h"
#include "TavAssignment.h"
#include "TavPlanner.h"

namespace host {

namespace {

std::string IdOf(const Ref<TavBaseUnknown>& o) {
  auto id = query<TavIModelIdentity>(o);
  return id ? id->GetId().utf8() : std::string();
}

void AddOwner(const HostDocument& doc, const OrvFactoryOnState& f, const Ref<TavBaseUnknown>& o, StatesListing& l) {
  StatesListing::Owner owner{doc.PathString(o), {}, {}};
  for (auto& p : f.GetPositions(o))
    owner.positions.push_back({p->GetName().utf8(), IdOf(p), doc.PathString(p), p->GetMatrix()});
  for (auto& s : f.GetStates(o)) {
    StatesListing::State st{s->GetName().utf8(), IdOf(s), doc.PathString(s), {}};
    if (auto mgt = query<OrvIStateMgt>(s))
      for (auto& e : mgt->GetDefinition()) st.definition.push_back(doc.PathString(e));
    owner.states.push_back(std::move(st));
  }
  if (!owner.positions.empty() || !owner.states.empty()) l.owners.push_back(std::move(owner));
}

std::vector<std::string> Paths(const HostDocument& doc, const std::vector<Ref<OrvIState>>& states) {
  std::vector<std::string> out;
  for (auto& s : states) out.push_back(doc.PathString(s));
  return out;
}

void AddHolder(const HostDocument& doc, const Ref<TavBaseUnknown>& a, StatesListing& l) {
  StatesListing::Holder h;
  if (auto rc = query<OrvIResourceStatesCondition>(a)) {
    h.behaviour = true;
    h.begin = Paths(doc, rc->GetConditions(TavStateConditionKind::Begin));
    h.context = Paths(doc, rc->GetConditions(TavStateConditionKind::Context3D));
    h.end = Paths(doc, rc->GetConditions(TavStateConditionKind::End));
  } else if (auto sc = query<TavISPP3DStateCondition>(a)) {
    h.begin = Paths(doc, sc->GetStateConditions(TavStateConditionKind::Begin));
    if (auto ctx = query<TavISPPActivity3DContext>(a)) h.context = Paths(doc, ctx->Get3DContext());
    h.end = Paths(doc, sc->GetStateConditions(TavStateConditionKind::End));
  }
  if (h.begin.empty() && h.context.empty() && h.end.empty()) return;
  h.path = doc.PathString(a);
  l.holders.push_back(std::move(h));
}

Ref<TavBaseUnknown> BehaviourOf(const Ref<TavBaseUnknown>& resource) {
  auto mgr = query<OrvIResourceBehaviorManager>(resource);
  return mgr ? Ref<TavBaseUnknown>(mgr->GetBehavior()) : nullptr;
}

}  // namespace

std::size_t StatesListing::StateCount() const {
  std::size_t n = 0;
  for (auto& o : owners) n += o.states.size();
  return n;
}
std::size_t StatesListing::PositionCount() const {
  std::size_t n = 0;
  for (auto& o : owners) n += o.positions.size();
  return n;
}

StatesListing ListStates(const HostDocument& doc, const std::vector<Ref<TavBaseUnknown>>* objects) {
  StatesListing l;
  auto self = std::dynamic_pointer_cast<TavDocument>(const_cast<HostDocument&>(doc).self());
  OrvFactoryOnState f(self);
  if (objects) {
    for (auto& o : *objects) {
      if (query<TavIProduct>(o) || query<OrvIMfgAssembly>(o)) AddOwner(doc, f, o, l);
      if (auto b = BehaviourOf(o)) AddHolder(doc, b, l);
      else AddHolder(doc, o, l);
    }
    return l;
  }
  std::vector<Ref<TavBaseUnknown>> resources;
  for (const HostRootList* list : {&doc.Products(), &doc.Resources()})
    for (auto& root : list->roots_) {
      AddOwner(doc, f, root, l);
      if (list == &doc.Resources()) resources.push_back(root);
      for (auto& d : root->GetAllDescendants()) {
        AddOwner(doc, f, d, l);
        if (list == &doc.Resources()) resources.push_back(d);
      }
    }
  for (auto& a : doc.Assemblies().assemblies_) AddOwner(doc, f, a, l);
  // Activities: the processes, then the TSAs, each depth first; then behaviours.
  std::vector<Ref<TavBaseUnknown>> roots;
  for (auto& r : doc.Process().roots_) roots.push_back(r);
  if (auto* planner = TavPlannerHost::Get())
    for (auto& t : planner->GetAllTSAs(self)) roots.push_back(t);
  for (auto& r : roots) {
    AddHolder(doc, r, l);
    if (auto cm = query<TavISPPChildManagement>(r))
      for (auto& c : cm->GetAllChildren()) AddHolder(doc, c, l);
  }
  for (auto& r : resources)
    if (auto b = BehaviourOf(r)) AddHolder(doc, b, l);
  return l;
}

std::string StatesText(const StatesListing& l) {
  std::string out = "states: " + std::to_string(l.StateCount()) + " states, " + std::to_string(l.PositionCount()) +
                    " stored positions, " + std::to_string(l.holders.size()) + " with conditions\n";
  for (auto& o : l.owners) {
    out += o.path + '\n';
    for (auto& p : o.positions) out += "  position " + p.name + " (#" + p.id + "): " + PlantMatrixText(p.matrix) + '\n';
    for (auto& s : o.states) {
      out += "  state " + s.name + " (#" + s.id + ")";
      for (std::size_t i = 0; i < s.definition.size(); ++i) out += (i ? ", " : ": ") + s.definition[i];
      out += '\n';
    }
  }
  for (auto& h : l.holders) {
    out += h.path + (h.behaviour ? " (behaviour)\n" : "\n");
    auto list = [&](const char* name, const std::vector<std::string>& v) {
      if (v.empty()) return;
      out += std::string("  ") + name + ":";
      for (std::size_t i = 0; i < v.size(); ++i) out += (i ? ", " : " ") + v[i];
      out += '\n';
    };
    list("begin", h.begin);
    list("3D context", h.context);
    list("end", h.end);
  }
  return out;
}

}  // namespace host
