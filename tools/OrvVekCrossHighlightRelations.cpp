#include "OrvVekCrossHighlightRelations.h"

#include <algorithm>

#include "TavModelChanges.h"

namespace {

using List = std::vector<Ref<TavBaseUnknown>>;

const TavBaseUnknown* Key(const Ref<TavBaseUnknown>& o) { return o ? o->ExtendedObject().get() : nullptr; }

// Appends every element. A host with a tolerancing-annotation service would put
// each geometry's annotation right after it; this one has none.
void AddToListAndDelete(List& to, List&& from) {
  to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
}

Ref<TavISPPProcessContainer> ProcessContainer(const Ref<TavDocument>& doc) {
  return doc ? query<TavISPPProcessContainer>(doc->GetRootContainer(TavISPPProcessContainer::kInterfaceName)) : nullptr;
}

void RelatedActivitiesOfItem(const Ref<TavBaseUnknown>& activity, const TavBaseUnknown* item, const OrvVekCrossHighlightFlags& flags,
                             List& result) {
  const List related = OrvVekCrossHighlightRelations::GetAllRelatedItems(activity, flags);
  if (std::any_of(related.begin(), related.end(), [&](const Ref<TavBaseUnknown>& o) { return Key(o) == item; }))
    result.push_back(activity);
  for (const auto& child : OrvVekCrossHighlightRelations::ChildActivities(activity))
    RelatedActivitiesOfItem(child, item, flags, result);
}

}  // namespace

const std::array<OrvVekCrossHighlightBox, 10>& OrvVekCrossHighlightBoxes() {
  static const std::array<OrvVekCrossHighlightBox, 10> boxes = {{{"PFPP", 1},
                                                                  {"PPP", 2},
                                                                  {"PRP", 4},
                                                                  {"PCP", 8},
                                                                  {"PIR", 16},
                                                                  {"PUR", 32},
                                                                  {"PROR", 64},
                                                                  {"PAR", 128},
                                                                  {"PDR", 256},
                                                                  {"DC", 512}}};
  return boxes;
}

OrvVekCrossHighlightFlags OrvVekCrossHighlightFlags::FromValue(int v) {
  OrvVekCrossHighlightFlags f;
  f.pfpp = v & 1;
  f.ppp = v & 2;
  f.prp = v & 4;
  f.pcp = v & 8;
  f.pir = v & 16;
  f.pur = v & 32;
  f.pror = v & 64;
  f.par = v & 128;
  f.pdr = v & 256;
  f.dc = v & 512;
  return f;
}

int OrvVekCrossHighlightFlags::Value() const {
  return (pfpp ? 1 : 0) | (ppp ? 2 : 0) | (prp ? 4 : 0) | (pcp ? 8 : 0) | (pir ? 16 : 0) | (pur ? 32 : 0) | (pror ? 64 : 0) |
         (par ? 128 : 0) | (pdr ? 256 : 0) | (dc ? 512 : 0);
}

List OrvVekCrossHighlightRelations::ChildActivities(const Ref<TavBaseUnknown>& activity) {
  List out;
  if (auto children = query<TavISPPChildManagement>(activity))
    for (auto& child : children->GetChildActivities())
      if (child) out.push_back(std::move(child));
  return out;
}

List OrvVekCrossHighlightRelations::GetAllRelatedItems(const Ref<TavBaseUnknown>& activity, const OrvVekCrossHighlightFlags& f) {
  List out;
  if (auto items = query<TavISPPItemMgt>(activity)) {
    auto codes = [&](bool on, std::initializer_list<unsigned> list) {
      if (on)
        for (unsigned code : list) AddToListAndDelete(out, items->GetItems("Item", code));
    };
    codes(f.pfpp, {2});
    codes(f.ppp, {1, 256});
    codes(f.prp, {4});
    codes(f.par, {8});
    codes(f.pdr, {16});
    codes(f.pir, {32, 64});
  }
  if (auto resources = query<TavISPPResourceManagement>(activity)) {
    auto codes = [&](bool on, std::initializer_list<unsigned> list) {
      if (on)
        for (unsigned code : list) AddToListAndDelete(out, resources->GetResources(code));
    };
    codes(f.pur, {1, 4});
    codes(f.pror, {2});
  }
  if (f.pcp)
    if (auto flow = query<TavISPPFlowMgt>(activity))
      for (const auto& output : flow->GetOutputs()) {
        auto io = query<TavISPPProductIO>(output);
        auto item = io ? query<TavISPPItem>(io->GetProduct()) : nullptr;
        if (item) out.push_back(io->GetProduct());
      }
  if (f.dc)
    for (const auto& child : ChildActivities(activity)) AddToListAndDelete(out, GetAllRelatedItems(child, f));
  return out;
}

std::optional<List> OrvVekCrossHighlightRelations::GetAllRelatedActivities(const Ref<TavDocument>& doc, const Ref<TavBaseUnknown>& item,
                                                                          const OrvVekCrossHighlightFlags& flags) {
  auto container = ProcessContainer(doc);
  if (!container) return std::nullopt;
  List result;
  for (const auto& root : container->GetRootActivities()) RelatedActivitiesOfItem(root, Key(item), flags, result);
  return result;
}

// ------------------------------------------------------------------ the index
OrvVekCrossHighlightIndex::Map& OrvVekCrossHighlightIndex::Current(const Ref<TavDocument>& doc, const OrvVekCrossHighlightFlags& flags) {
  const std::uint64_t changes = TavModelChanges::Count();
  auto same = [&](const Map& m) { return m.flags == flags.Value() && m.doc.lock() == doc; };
  auto it = std::find_if(maps_.begin(), maps_.end(), same);
  if (it != maps_.end() && it->changes == changes) return *it;
  if (it == maps_.end()) {
    // A few box sets are kept: a planner toggles between two or three.
    if (maps_.size() >= 4) maps_.erase(maps_.begin());
    it = maps_.insert(maps_.end(), Map());
  }
  Build(*it, doc, flags);
  it->changes = changes;
  return *it;
}

void OrvVekCrossHighlightIndex::Build(Map& map, const Ref<TavDocument>& doc, const OrvVekCrossHighlightFlags& flags) {
  ++builds_;
  map = Map();
  map.doc = doc;
  map.flags = flags.Value();
  auto container = ProcessContainer(doc);
  map.hasContainer = container != nullptr;
  if (!container) return;
  // The walk's order, and where each activity's subtree ends in it.
  std::vector<std::uint32_t> end;
  {
    std::vector<std::pair<Ref<TavBaseUnknown>, std::size_t>> stack;  // activity, its place in the order
    const auto roots = container->GetRootActivities();
    for (auto it = roots.rbegin(); it != roots.rend(); ++it) stack.push_back({*it, SIZE_MAX});
    std::vector<std::uint32_t> open;  // places whose subtree is still being walked
    while (!stack.empty()) {
      auto [activity, place] = std::move(stack.back());
      stack.pop_back();
      if (place != SIZE_MAX) {  // the marker after its children: the subtree ends here
        end[place] = static_cast<std::uint32_t>(map.activities.size());
        continue;
      }
      const std::size_t at = map.activities.size();
      map.activities.push_back(activity);
      end.push_back(0);
      stack.push_back({activity, at});
      const List children = OrvVekCrossHighlightRelations::ChildActivities(activity);
      for (auto it = children.rbegin(); it != children.rend(); ++it) stack.push_back({*it, SIZE_MAX});
    }
  }
  const OrvVekCrossHighlightFlags own = flags.Own();
  std::vector<std::vector<const TavBaseUnknown*>> ownItems(map.activities.size());
  for (std::size_t i = 0; i < map.activities.size(); ++i)
    for (const auto& o : OrvVekCrossHighlightRelations::GetAllRelatedItems(map.activities[i], own)) ownItems[i].push_back(Key(o));
  // With "DC" an activity relates what its whole subtree relates; each activity is
  // listed once per item, in the walk's order.
  for (std::uint32_t i = 0; i < map.activities.size(); ++i) {
    const std::uint32_t last = flags.dc ? end[i] : i + 1;
    for (std::uint32_t j = i; j < last; ++j)
      for (const TavBaseUnknown* key : ownItems[j]) {
        auto& list = map.byItem[key];
        if (list.empty() || list.back() != i) list.push_back(i);
      }
  }
}

std::optional<List> OrvVekCrossHighlightIndex::GetAllRelatedActivities(const Ref<TavDocument>& doc, const Ref<TavBaseUnknown>& item,
                                                                      const OrvVekCrossHighlightFlags& flags) {
  if (!doc) return std::nullopt;
  const Map& map = Current(doc, flags);
  if (!map.hasContainer) return std::nullopt;
  List result;
  auto it = map.byItem.find(Key(item));
  if (it == map.byItem.end()) return result;
  result.reserve(it->second.size());
  for (std::uint32_t i : it->second) result.push_back(map.activities[i]);
  return result;
}
