#include "OrvPartConsumptionAnalysisResult.h"

#include <unordered_set>

void OrvPartConsumptionAnalysisResult::SetDisplayInfo(const Ref<TavBaseUnknown>& part, const Ref<TavBaseUnknown>& parent,
                                                      const TavUnicodeString& /*unused*/, const Ref<TavBaseUnknown>& activity,
                                                      const TavUnicodeString& activityLabel, bool hasChildren,
                                                      bool allChildrenAssigned, bool isChild, const TavUnicodeString& relation,
                                                      bool activityLoaded, const TavUnicodeString& effectivity) {
  if (part) part_ = part;
  if (parent) parent_ = parent;
  if (activity) activity_ = activity;
  else activityLabel_ = activityLabel;
  hasChildren_ = hasChildren;
  allChildrenAssigned_ = allChildrenAssigned;
  isChild_ = isChild;
  relation_ = relation;
  activityLoaded_ = activityLoaded;
  effectivity_ = effectivity;
}

void OrvPartConsumptionAnalysisResult::GetDisplayObjects(Ref<TavBaseUnknown>& part, Ref<TavBaseUnknown>& parent,
                                                         Ref<TavBaseUnknown>& activity, TavUnicodeString& relation) const {
  part = part_;
  parent = parent_;
  activity = activity_;
  relation = relation_;
}

TavUnicodeString OrvPartConsumptionAnalysisResult::NameOf(const Ref<TavBaseUnknown>& object) {
  if (auto p = query<TavIProduct>(object)) return p->GetName();
  if (auto ma = query<OrvIMfgAssembly>(object)) return ma->GetName();
  return {};
}

namespace {
TavUnicodeString FirstIdentificator(const Ref<TavBaseUnknown>& o) {
  auto nav = query<TavINavigateObject>(o);
  if (!nav) return {};
  auto ids = nav->GetIdentificators();
  return ids.empty() ? TavUnicodeString() : ids.front();
}
}  // namespace

TavUnicodeString OrvPartConsumptionAnalysisResult::ActivityPath(const Ref<TavBaseUnknown>& activity) {
  auto act = query<TavISPPAbstractActivity>(activity);
  if (!act) return {};
  // Collected leaf first, reversed at the end.
  std::vector<TavUnicodeString> names{act->GetLabel()};
  Ref<TavBaseUnknown> resource;
  // A bounded walk: a father chain that loops (a broken model) must not hang the analysis.
  std::unordered_set<const TavBaseUnknown*> visited{act->ExtendedObject().get()};
  for (Ref<TavBaseUnknown> f = act->GetFather(); f;) {
    if (auto fa = query<TavISPPAbstractActivity>(f)) {
      const TavBaseUnknown* key = fa->ExtendedObject().get();
      if (!visited.insert(key).second) break;
      names.push_back(fa->GetLabel());
      f = fa->GetFather();
      continue;
    }
    // The chain left the activities: the last one is a resource behaviour and
    // this is the resource that owns it.
    if (query<TavIProduct>(f)) resource = f;
    break;
  }
  if (resource) {
    std::unordered_set<const TavBaseUnknown*> seen;
    for (auto r = query<TavIProduct>(resource); r; r = r->GetFatherProduct()) {
      const TavBaseUnknown* key = r->ExtendedObject().get();
      if (!seen.insert(key).second) break;
      names.push_back(FirstIdentificator(r));
    }
  }
  std::string path;
  for (auto it = names.rbegin(); it != names.rend(); ++it) {
    if (it != names.rbegin()) path += '/';
    path += it->utf8();
  }
  static constexpr std::string_view kResourcePrefix = "PPRProduct/Resource/";
  if (resource && path.rfind(kResourcePrefix, 0) == 0) path.erase(0, kResourcePrefix.size());
  return path;
}

std::vector<TavUnicodeString> OrvPartConsumptionAnalysisResult::GetDisplayInfo() const {
  std::vector<TavUnicodeString> out;
  out.reserve(5);
  out.push_back(NameOf(part_));
  out.push_back(query<TavISPPAbstractActivity>(activity_) ? ActivityPath(activity_) : activityLabel_);
  out.push_back(relation_);
  out.push_back(NameOf(parent_));
  out.push_back(effectivity_);
  return out;
}
