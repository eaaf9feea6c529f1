#include "OrvVekCompareDlgBase.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <algorithm>
#include <iterator>

#include "OrvVekCommandServices.h"
#include "OrvVekCompareFilterAttsDlg.h"
#include "Progress.h"
#include "TavDialog.h"
#include "TavServices.h"
#include "TavWalk.h"

namespace {
const TavTrace& Trace() {
  static TavTrace t("OrvVekCompare", "Traces for module OrvVekCompare");
  return t;
}
constexpr const char* kCatalog = "OrvVekCompareDlgBase";
const TavUnicodeString kIdentity = "oemobjectuuid";

TavUnicodeString ModelNumberText(const Ref<TavBaseUnknown>& o) {
  auto id = query<TavIModelIdentity>(o);
  return std::to_string(id ? id->GetModelNumber() : 0);
}

// Gathered objects are the host's own (no extensions), so their handles' addresses
// identify them.
std::size_t Position(const std::unordered_map<const TavBaseUnknown*, std::size_t>& index, const Ref<TavBaseUnknown>& o) {
  if (!o) return 0;
  auto it = index.find(o.get());
  return it == index.end() ? 0 : it->second;
}
}  // namespace

TavUnicodeString OrvVekCompareDlgBase::VariantText(const TavValue& v) {
  if (auto i = std::get_if<std::int64_t>(&v)) return std::to_string(*i);
  if (auto b = std::get_if<bool>(&v)) return *b ? "1" : "0";
  if (auto d = std::get_if<double>(&v)) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%g", *d);
    return buf;
  }
  if (auto s = std::get_if<TavUnicodeString>(&v)) return *s;
  return {};
}

OrvVekCompareDlgBase::OrvVekCompareDlgBase() = default;

void OrvVekCompareDlgBase::Initialize(const Ref<TavBaseUnknown>& originalRoot, const Ref<TavBaseUnknown>& modifiedRoot,
                                      const Ref<TavIYorAdapter>& originalAdapter, const Ref<TavIYorAdapter>& modifiedAdapter,
                                      const Ref<TavDocument>& originalDocument, const Ref<TavDocument>& modifiedDocument) {
  TavTraceScope scope(Trace(), "OrvVekCompareDlgBase", "Initialize");
  roots_[0] = originalRoot;
  roots_[1] = modifiedRoot;
  if (!originalRoot || !modifiedRoot) return;
  docs_[0] = originalDocument;
  docs_[1] = modifiedDocument;
  adapters_[0] = originalAdapter;
  adapters_[1] = modifiedAdapter;
  for (int s = 0; s < 2; ++s) {
    projectNames_[s] = docs_[s] ? docs_[s]->GetDisplayName() : TavUnicodeString();
    if (hxMode_) {
      auto cut = projectNames_[s].utf8().find(".TavProcess");
      if (cut != std::string::npos) projectNames_[s] = projectNames_[s].utf8().substr(0, cut);
    }
    fastenerRelations_[s] = OrvFastenerRelationsOf(docs_[s]);
  }
  settings_ = OrvIDSICompareToolSettingAtt::Read();
  for (int k = 0; k < 5; ++k) {
    hubKeys_[k].clear();
    if (!hxMode_) continue;
    if (settings_.identityMatching[k]) hubKeys_[k].emplace_back(kIdentity, kIdentity);
    for (auto& p : settings_.hubKeys[k]) hubKeys_[k].push_back(p);
    // A kind with neither own conditions nor hub keys is keyed by the object identity.
    if (!settings_.ownMatching[k] && hubKeys_[k].empty()) hubKeys_[k].emplace_back(kIdentity, kIdentity);
  }
  hubKeys_[5] = hubKeys_[0];
}

int OrvVekCompareDlgBase::KeyCount(int kind) const {
  return static_cast<int>((hxMode_ ? hubKeys_[kind].size() : 0) + (OwnMatching(kind) ? conditions_[kind].size() : 0));
}

void OrvVekCompareDlgBase::Warn(int errorType, const TavUnicodeString& text) {
  TavUnicodeString title = TavMsgCatalog::BuildMessage(kCatalog, errorType == 1 ? "OrvVekCompareDlgBase.InfoWnd.Title" : "OrvVekCompareDlgBase.InfoWnd2.Title",
                                                       {}, "Process Comparison");
  warnings_.push_back({errorType, title, text});
  ShowWarning(errorType, title, text);
}

void OrvVekCompareDlgBase::WarnMismatch(const TavUnicodeString& name, const TavUnicodeString& original,
                                        const TavUnicodeString& modified) {
  Warn(4, TavMsgCatalog::BuildMessage(kCatalog, "OrvVekCompareDlgBase.AttributeNotEqual", {name}, "The attribute /P1 differs.") +
              "\n" + TavMsgCatalog::BuildMessage(kCatalog, "OrvVekCompareDlgBase.FirstObject", {original}, "First object: /P1") +
              "\n" + TavMsgCatalog::BuildMessage(kCatalog, "OrvVekCompareDlgBase.SecondObject", {modified}, "Second object: /P1"));
}

OrvVekCompareDlgBase::~OrvVekCompareDlgBase() = default;

void OrvVekCompareDlgBase::ShowWarning(int, const TavUnicodeString& title, const TavUnicodeString& text) {
  // One window, created on first use and reused; shown blocking, then the busy cursor comes back.
  if (!warningWindow_) warningWindow_ = std::make_unique<TavDlgNotify>(nullptr, "OrvVekCompareDlgBaseErrorWindow", TavDlgNotify::Warning);
  warningWindow_->DisplayBox(title, text);
  warningWindow_->DisplayBlocked();
  TavApplicationFrame::SetBusyCursor(true);
}

int OrvVekCompareDlgBase::CheckHubValues(int kind) {
  for (auto& [origName, modName] : hubKeys_[kind]) {
    if (!adapters_[0] || !adapters_[1]) return 10;
    TavValue a, b;
    if (FAILED(adapters_[0]->GetHubValue(roots_[0], origName, a)) || FAILED(adapters_[1]->GetHubValue(roots_[1], modName, b))) return 11;
    if (VariantText(a) != VariantText(b)) {
      WarnMismatch(origName, VariantText(a), VariantText(b));
      return 12;
    }
  }
  return 0;
}

int OrvVekCompareDlgBase::CheckKwValuesForComp(int kind) {
  if (!roots_[0]) return 2;
  if (!roots_[1]) return 3;
  auto a = query<OrvICompareObjects>(roots_[0]), b = query<OrvICompareObjects>(roots_[1]);
  if (!a || !b) return 0;
  conditions_[kind] = a->GetCompareConditionNames();
  if (kind < 5 && settings_.rootCheck[kind]) {
    std::vector<TavUnicodeString> va, vb;
    if (FAILED(a->GetAttributeValues(conditions_[kind], va)) || FAILED(b->GetAttributeValues(conditions_[kind], vb))) return 6;
    if (va.size() < conditions_[kind].size() || vb.size() < conditions_[kind].size()) return 7;
    for (std::size_t i = 0; i < conditions_[kind].size(); ++i)
      if (va[i] != vb[i]) {
        WarnMismatch(conditions_[kind][i], va[i], vb[i]);
        return 5;
      }
  }
  return 0;
}

void OrvVekCompareDlgBase::LoadSideConditions() {
  // The item, resource and assembly checks of activities and assemblies key by
  // the conditions of those kinds, taken from the first object that has them.
  auto first = [](const CompareList& l) -> std::vector<TavUnicodeString> {
    for (auto& o : l)
      if (auto c = query<OrvICompareObjects>(o)) return c->GetCompareConditionNames();
    return {};
  };
  CompareList products, resources, fasteners;
  if (docs_[0]) {
    if (auto pl = query<TavIPPRRootList>(docs_[0]->GetRootContainer(TavIPPRProductList::kInterfaceName)))
      for (auto& r : pl->GetRoots()) products.push_back(r);
    if (auto rl = query<TavIPPRRootList>(docs_[0]->GetRootContainer(TavIPPRResourceList::kInterfaceName)))
      for (auto& r : rl->GetRoots()) resources.push_back(r);
  }
  if (fastenerRelations_[0]) fasteners = fastenerRelations_[0]->GetAllFasteners();
  if (conditions_[1].empty()) conditions_[1] = first(products);
  if (conditions_[2].empty()) conditions_[2] = first(resources);
  if (conditions_[3].empty()) conditions_[3] = first(maLists_[0]);
  if (conditions_[4].empty()) conditions_[4] = first(fasteners);
}

int OrvVekCompareDlgBase::CheckComparability() {
  TavTraceScope scope(Trace(), "OrvVekCompareDlgBase", "CheckComparability");
  const int kind = type_;
  if (kind < 0 || kind > 4) return 0;
  for (auto& c : conditions_) c.clear();
  if (hxMode_) {
    if (int rc = CheckHubValues(kind)) return rc;
    if (kind == Products)
      if (int rc = CheckHubValues(Fasteners)) return rc;
  }
  int rc = 0;
  if (OwnMatching(kind)) rc = CheckKwValuesForComp(kind);
  if (rc) return rc;
  // The other kinds' conditions key the item, resource, assembly and fastener
  // checks. Fasteners take their own: keying them by a product root's conditions
  // (or by nothing, for the other kinds) would pair no fastener across two documents.
  LoadSideConditions();
  conditions_[NeighbourActivities] = conditions_[Activities];
  return 0;
}

CompareList OrvVekCompareDlgBase::ChildrenOf(const Ref<TavBaseUnknown>& o, int kind) const {
  CompareList out;
  // A whole section as the root: its roots, or the assemblies no other assembly holds.
  if (auto list = query<TavIPPRRootList>(o)) {
    for (auto& r : list->GetRoots()) out.push_back(r);
    return out;
  }
  if (auto container = query<TavIMfgAssemblyContainer>(o)) {
    auto all = container->GetAssemblies();
    std::unordered_set<const TavBaseUnknown*> held;
    for (auto& a : all)
      for (auto& c : a->GetChildAssemblies()) held.insert(c.get());
    for (auto& a : all)
      if (!held.count(a.get())) out.push_back(a);
    return out;
  }
  if (kind == Activities || kind == NeighbourActivities) {
    if (auto cm = query<TavISPPChildManagement>(o)) out = cm->GetChildren("PhysicalActivity");
  } else if (kind == ManufacturedAssemblies) {
    if (auto ma = query<OrvIMfgAssembly>(o))
      for (auto& c : ma->GetChildAssemblies()) out.push_back(c);
  } else if (auto p = query<TavIProduct>(o)) {
    for (auto& c : p->GetChildren()) out.push_back(c);
  }
  return out;
}

CompareList OrvVekCompareDlgBase::FillList(const Ref<TavBaseUnknown>& root, int kind) const {
  CompareList out;
  if (!root) return out;
  switch (kind) {
    case Activities:
      if (auto cm = query<TavISPPChildManagement>(root)) {
        auto all = cm->GetAllChildren();
        out.reserve(all.size() + 1);
        out.push_back(root);
        std::move(all.begin(), all.end(), std::back_inserter(out));  // no reference-count traffic
      } else {
        out.push_back(root);
      }
      break;
    case Products:
    case Resources:
    case ManufacturedAssemblies: {
      // Depth first, parent before children; children are visited whether or not the
      // parent was gathered. Assemblies can be made to contain each other: each
      // object is visited once, so a containment cycle ends.
      std::vector<Ref<TavBaseUnknown>> work{root};
      std::unordered_set<const TavBaseUnknown*> seen;
      while (!work.empty()) {
        auto o = std::move(work.back());
        work.pop_back();
        if (!seen.insert(o.get()).second) continue;
        if (query<TavIProduct>(o) || query<OrvIMfgAssembly>(o)) out.push_back(o);
        CompareList children;
        if (kind == ManufacturedAssemblies && query<OrvIMfgAssembly>(o)) children = ChildrenOf(o, ManufacturedAssemblies);
        else children = ChildrenOf(o, Products);
        for (auto it = children.rbegin(); it != children.rend(); ++it) work.push_back(*it);
      }
      break;
    }
    case Fasteners:
      if (query<OrvIBIWFastener>(root)) out.push_back(root);
      break;
    default:
      break;
  }
  return out;
}

void OrvVekCompareDlgBase::BuildDictionaries(CompareList list, int side, int kind, CompareStorage& storage, bool warn) {
  auto& primary = storage.primary[side];
  auto& further = storage.further[side];
  const int keyCount = KeyCount(kind);
  primary.Clear();
  primary.Reserve(list.size());
  further.assign(static_cast<std::size_t>(std::max(0, keyCount - 1)), OrderedDict<TavUnicodeString>());
  const bool useHub = hxMode_ && !hubKeys_[kind].empty() && adapters_[side];
  bool duplicate = false;
  std::vector<TavUnicodeString> keys;
  support::Progress progress(side == 0 ? "comparing: the original" : "comparing: the modified", list.size(), "objects");
  for (std::size_t i = 0; i < list.size(); ++i) {
    progress.Set(i);
    TavWalk::Ahead(list, i);
    Ref<TavBaseUnknown>& o = list[i];
    keys.clear();
    if (useHub) {
      bool reached = true;
      for (auto& names : hubKeys_[kind]) {
        TavValue v;
        if (FAILED(adapters_[side]->GetHubValue(o, side == 0 ? names.first : names.second, v))) {
          reached = false;
          break;
        }
        keys.push_back(VariantText(v));
      }
      if (!reached) continue;  // without its hub record the object takes no part in matching
    }
    if (OwnMatching(kind) && !conditions_[kind].empty()) {
      // Once per object of the plant: no handle copy unless the interface is an extension.
      OrvICompareObjects* c = TavCast<OrvICompareObjects>(o.get());
      Ref<OrvICompareObjects> extension;
      if (!c && (extension = query<OrvICompareObjects>(o))) c = extension.get();
      if (c)
        for (auto& cond : conditions_[kind]) {
          TavUnicodeString v;
          c->GetAttributeValue(cond, v);
          keys.push_back(std::move(v));
        }
    }
    TavUnicodeString key = keys.empty() ? ModelNumberText(o) : keys.front();
    if (!primary.TryInsert(key, std::move(o))) {
      duplicate = true;
      // A model number can itself equal another object's key; dropping the object
      // would lose it from every result list, so the key is made unique.
      for (key = ModelNumberText(o); !primary.TryInsert(key, std::move(o));) key = key + "\x1f";
    }
    for (std::size_t j = 1; j < keys.size() && j - 1 < further.size(); ++j) further[j - 1].Insert(key, keys[j]);
  }
  if (duplicate && warn)
    Warn(7, TavMsgCatalog::BuildMessage(kCatalog, "OrvVekCompareDlgBase.ManyObjectsWithSameCompareConditions", {},
                                        "Several objects have the same compare conditions; they are compared by their model number."));
}

void OrvVekCompareDlgBase::CheckForAddOrRemove(CompareStorage& st, CompareResults& res) {
  for (int pass = 0; pass < 2; ++pass) {
    // The Added pass walks the modified side, the Removed pass what it left of the original side.
    const int walked = pass == 0 ? 1 : 0, other = 1 - walked;
    auto& mine = st.primary[walked];
    mine.ForEach([&](const TavUnicodeString& key, Ref<TavBaseUnknown>& x) {
      const TavUnicodeString k = key;
      bool matchable = true;
      for (auto& d : st.further[walked]) matchable = matchable && d.Contains(k);
      Ref<TavBaseUnknown>* y = matchable ? st.primary[other].Find(k) : nullptr;
      bool matched = y != nullptr;
      for (std::size_t j = 0; matched && j < st.further[walked].size(); ++j) {
        const TavUnicodeString* own = st.further[walked][j].Find(k);
        const TavUnicodeString* theirs = j < st.further[other].size() ? st.further[other][j].Find(k) : nullptr;
        matched = own && theirs && *own == *theirs;
      }
      // Both entries are consumed here, so their handles move into the results.
      if (matched) {
        res.matchedOriginal.push_back(std::move(walked == 0 ? x : *y));
        res.matchedModified.push_back(std::move(walked == 0 ? *y : x));
        for (int s = 0; s < 2; ++s) {
          st.primary[s].Remove(k);
          for (auto& d : st.further[s]) d.Remove(k);
        }
      } else {
        (walked == 1 ? res.added : res.removed).push_back(std::move(x));
        mine.Remove(k);
        for (auto& d : st.further[walked]) d.Remove(k);
      }
    });
  }
  // Every entry is consumed now; dropping them releases the handles they held.
  for (int s = 0; s < 2; ++s) {
    st.primary[s].Clear();
    st.further[s].clear();
  }
}

void OrvVekCompareDlgBase::CreateLists() {
  for (int s = 0; s < 2; ++s) BuildDictionaries(FillList(roots_[s], type_), s, type_, storage_[type_], true);
}

bool OrvVekCompareDlgBase::ListsAreEqual(const CompareList* l1, const CompareList* l2, int kind, CompareResults* out) {
  if (!l1 || !l2) return true;
  auto counted = [](const CompareList& l) {
    std::size_t n = 0;
    for (auto& o : l) n += query<OrvICompareObjects>(o) ? 1 : 0;
    return n;
  };
  const std::size_t c1 = counted(*l1), c2 = counted(*l2);
  CompareStorage st;
  CompareResults local;
  CompareResults& res = out ? *out : local;
  BuildDictionaries(*l2, 1, kind, st, false);
  BuildDictionaries(*l1, 0, kind, st, false);
  CheckForAddOrRemove(st, res);
  if (c1 != c2) return false;
  if (c1 == 0) return true;
  return res.matchedOriginal.size() == c1;
}

bool OrvVekCompareDlgBase::CheckAttributes(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b, int filter) {
  bool differ = false;
  auto ca = query<OrvICompareObjects>(a), cb = query<OrvICompareObjects>(b);
  if (ca && cb) {
    if (filter & AllAttributes) {
      differ = !ca->IsEqualTo(b);
    } else if (filter & SelectedAttributes) {
      for (auto& name : selectedOwn_) {
        TavUnicodeString va, vb;
        if (FAILED(ca->GetAttributeValue(name, va)) || FAILED(cb->GetAttributeValue(name, vb))) continue;
        if (va != vb) {
          differ = true;
          break;
        }
      }
    }
  }
  if (!differ && hxMode_ && adapters_[0] && adapters_[1])
    for (auto& name : selectedHub_) {
      TavValue va, vb;
      if (FAILED(adapters_[0]->GetHubValue(a, name, va)) || FAILED(adapters_[1]->GetHubValue(b, name, vb))) continue;
      if (VariantText(va) != VariantText(vb)) return true;
    }
  return differ;
}

bool OrvVekCompareDlgBase::CheckItems(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b) {
  auto ia = query<TavISPPItemMgt>(a), ib = query<TavISPPItemMgt>(b);
  if (ia && ib) {
    CompareList la = ia->GetItems("Item"), lb = ib->GetItems("Item");
    if (!ListsAreEqual(&la, &lb, Products)) return true;
  }
  auto fa = query<TavISPPFlowMgt>(a), fb = query<TavISPPFlowMgt>(b);
  if (fa && fb) {
    auto products = [](const Ref<TavISPPFlowMgt>& f) {
      CompareList out;
      for (auto& io : f->GetInputs())
        if (auto p = query<TavISPPProductIO>(io)) if (auto prod = p->GetProduct()) out.push_back(prod);
      for (auto& io : f->GetOutputs())
        if (auto p = query<TavISPPProductIO>(io)) if (auto prod = p->GetProduct()) out.push_back(prod);
      return out;
    };
    CompareList la = products(fa), lb = products(fb);
    if (!ListsAreEqual(&la, &lb, Products)) return true;
  }
  return false;
}

bool OrvVekCompareDlgBase::CheckResources(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b) {
  auto ra = query<TavISPPResourceManagement>(a), rb = query<TavISPPResourceManagement>(b);
  if (!ra || !rb) return false;
  CompareList la = ra->GetResources(), lb = rb->GetResources();
  return !ListsAreEqual(&la, &lb, Resources);
}

Ref<TavBaseUnknown> OrvVekCompareDlgBase::FatherOf(const Ref<TavBaseUnknown>& o, int kind, int side) const {
  if (kind == Activities) {
    auto act = query<TavISPPAbstractActivity>(o);
    auto f = act ? act->GetFather() : nullptr;
    return query<TavISPPAbstractActivity>(f) ? f : nullptr;
  }
  if (kind == ManufacturedAssemblies) {
    auto it = maFathers_[side].find(o->ExtendedObject().get());
    return it == maFathers_[side].end() ? nullptr : it->second;
  }
  auto p = query<TavIProduct>(o);
  return p ? Ref<TavBaseUnknown>(p->GetFatherProduct()) : nullptr;
}

bool OrvVekCompareDlgBase::CheckFather(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b, int kind) {
  auto fa = FatherOf(a, kind, 0), fb = FatherOf(b, kind, 1);
  if (!fa && !fb) return false;
  if (!fa || !fb) return true;
  std::size_t pa = Position(matchedIndex_[0], fa), pb = Position(matchedIndex_[1], fb);
  return !((pa == 0 && pb == 0) || pa == pb);
}

bool OrvVekCompareDlgBase::CheckChildren(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b, int kind) {
  CompareList ca = ChildrenOf(a, kind), cb = ChildrenOf(b, kind);
  if (ca.size() != cb.size()) return true;
  const auto& mm = results_[kind].matchedModified;
  std::unordered_set<const TavBaseUnknown*> ofB;
  ofB.reserve(cb.size());
  for (auto& x : cb) ofB.insert(x->ExtendedObject().get());
  for (auto& c : ca) {
    std::size_t pos = Position(matchedIndex_[0], c);
    if (pos == 0 || !ofB.count(mm[pos - 1]->ExtendedObject().get())) return true;
  }
  return false;
}

bool OrvVekCompareDlgBase::CheckSequence(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b) {
  auto fa = query<TavISPPFlowMgt>(a), fb = query<TavISPPFlowMgt>(b);
  if (!fa || !fb) return false;
  // The neighbours along the control flow, before and after the activity, each
  // side on its own: merged, a reversed line (A->B->C to C->B->A) would look the same.
  for (const char* type : {"PhysicalActivity", "Activity"}) {
    CompareList pa = fa->GetPreviousNodes(type), pb = fb->GetPreviousNodes(type);
    if (!ListsAreEqual(&pa, &pb, NeighbourActivities)) return true;
    CompareList na = fa->GetNextNodes(type), nb = fb->GetNextNodes(type);
    if (!ListsAreEqual(&na, &nb, NeighbourActivities)) return true;
  }
  return false;
}

bool OrvVekCompareDlgBase::CompareFasteners(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b, bool coordinates, int filter) {
  if (!coordinates) return CheckAttributes(a, b, filter);
  auto ca = query<OrvICompareObjects>(a), cb = query<OrvICompareObjects>(b);
  if (!ca || !cb) return false;
  static const std::vector<TavUnicodeString> names = {"DesignPosition_X", "DesignPosition_Y", "DesignPosition_Z",
                                                      "ManufPosition_X",  "ManufPosition_Y",  "ManufPosition_Z"};
  std::vector<TavUnicodeString> va, vb;
  ca->GetAttributeValues(names, va);
  cb->GetAttributeValues(names, vb);
  if (va.size() != names.size() || vb.size() != names.size()) return true;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const double x = std::strtod(va[i].c_str(), nullptr), y = std::strtod(vb[i].c_str(), nullptr);
    if (std::isnan(x) || std::isnan(y)) {
      if (std::isnan(x) != std::isnan(y)) return true;
      continue;
    }
    // Exactly the tolerance apart is still the same position. Decimal coordinates
    // rarely subtract to exactly the decimal tolerance (1020.6 - 1020.5 > 0.1), so
    // the rounding of the operands is allowed for.
    const double tol = settings_.tolerance[i % 3];
    const double slack = 8 * std::numeric_limits<double>::epsilon() * std::max({std::fabs(x), std::fabs(y), std::fabs(tol)});
    if (std::fabs(x - y) > tol + slack) return true;
  }
  return false;
}

bool OrvVekCompareDlgBase::CheckFasteners(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b) {
  if (!fastenerRelations_[0] || !fastenerRelations_[1]) return false;
  CompareList la, lb;
  HRESULT ra = fastenerRelations_[0]->GetFastenersOfPart(a, la), rb = fastenerRelations_[1]->GetFastenersOfPart(b, lb);
  if ((FAILED(ra) && FAILED(rb)) || (la.empty() && lb.empty())) return false;
  CompareResults r;
  bool differ = !ListsAreEqual(&la, &lb, Fasteners, &r) || la.size() != lb.size();
  auto& fr = fastenerResults_;
  fr.added.insert(fr.added.end(), r.added.begin(), r.added.end());
  fr.removed.insert(fr.removed.end(), r.removed.begin(), r.removed.end());
  differ = differ || !r.added.empty() || !r.removed.empty();
  for (std::size_t i = 0; i < r.matchedOriginal.size(); ++i)
    if (CompareFasteners(r.matchedOriginal[i], r.matchedModified[i], settings_.coordinateCheck, filter_ | AllAttributes)) {
      fr.modifiedOriginal.push_back(r.matchedOriginal[i]);
      fr.modifiedModified.push_back(r.matchedModified[i]);
      differ = true;
    }
  return differ;
}

void OrvVekCompareDlgBase::CheckForModifiedObj() {
  const int kind = type_;
  CompareResults& res = results_[kind];
  res.modifiedOriginal.clear();
  res.modifiedModified.clear();
  res.codes.clear();
  fastenerResults_.Clear();
  if (res.matchedOriginal.size() != res.matchedModified.size()) return;
  for (int s = 0; s < 2; ++s) {
    matchedIndex_[s].clear();
    if (!(filter_ & (Father | Children))) continue;
    const CompareList& m = s == 0 ? res.matchedOriginal : res.matchedModified;
    matchedIndex_[s].reserve(m.size());
    for (std::size_t i = 0; i < m.size(); ++i) matchedIndex_[s].emplace(m[i].get(), i + 1);
  }
  for (int s = 0; s < 2; ++s) {
    // An assembly's father is the first assembly of the side's list that contains it.
    maFathers_[s].clear();
    if (kind == ManufacturedAssemblies && (filter_ & Father))
      for (auto& ma : maLists_[s])
        if (auto m = query<OrvIMfgAssembly>(ma))
          for (auto& c : m->GetChildAssemblies())
            if (c) maFathers_[s].emplace(c->ExtendedObject().get(), ma);
  }
  for (std::size_t i = 0; i < res.matchedOriginal.size(); ++i) {
    const Ref<TavBaseUnknown>& a = res.matchedOriginal[i];
    const Ref<TavBaseUnknown>& b = res.matchedModified[i];
    int code = 0;
    if (filter_ & (AllAttributes | SelectedAttributes)) {
      bool differ = kind == Fasteners ? CompareFasteners(a, b, settings_.coordinateCheck, filter_) : CheckAttributes(a, b, filter_);
      if (differ) code |= ModAttributes;
    }
    if ((filter_ & AssignedItems) && CheckItems(a, b)) code |= ModItems;
    if ((filter_ & AssignedResources) && CheckResources(a, b)) code |= ModResources;
    if ((filter_ & Father) && CheckFather(a, b, kind)) code |= ModFather;
    if ((filter_ & Children) && CheckChildren(a, b, kind)) code |= ModChildren;
    if ((filter_ & Sequence) && CheckSequence(a, b)) code |= ModSequence;
    if (CheckFasteners(a, b)) code |= ModFasteners;
    if (code) {
      res.modifiedOriginal.push_back(a);
      res.modifiedModified.push_back(b);
      res.codes.push_back(code);
    }
  }
  if (kind <= ManufacturedAssemblies) {
    CompareResults& f = results_[Fasteners];
    f.Clear();
    f.added = fastenerResults_.added;
    f.removed = fastenerResults_.removed;
    RemoveDuplicates(f.added);
    RemoveDuplicates(f.removed);
    // A pair counts once, however many parts it was reached through.
    std::unordered_set<const void*> seen;
    for (std::size_t i = 0; i < fastenerResults_.modifiedOriginal.size(); ++i)
      if (seen.insert(fastenerResults_.modifiedOriginal[i].get()).second) {
        f.modifiedOriginal.push_back(fastenerResults_.modifiedOriginal[i]);
        f.modifiedModified.push_back(fastenerResults_.modifiedModified[i]);
        f.codes.push_back(ModAttributes);
      }
  }
}

void OrvVekCompareDlgBase::StartChecks() {
  TavTraceScope scope(Trace(), "OrvVekCompareDlgBase", "StartChecks");
  CreateLists();
  CheckForAddOrRemove(storage_[type_], results_[type_]);
  CheckForModifiedObj();
}

void OrvVekCompareDlgBase::GetAttributeList(std::vector<TavUnicodeString>& ownNames, std::vector<TavUnicodeString>& hubPrompts,
                                            std::vector<TavUnicodeString>& hubNames) {
  ownNames.clear();
  hubPrompts.clear();
  hubNames.clear();
  std::unordered_set<TavUnicodeString> seenOwn, seenHub;
  for (int s = 0; s < 2; ++s) {
    if (!roots_[s]) continue;
    for (auto& c : ChildrenOf(roots_[s], type_)) {
      if (auto co = query<OrvICompareObjects>(c))
        for (auto& n : co->GetAttributeNames())
          if (seenOwn.insert(n).second) ownNames.push_back(n);
      if (hxMode_ && adapters_[s]) {
        std::vector<TavUnicodeString> names, prompts;
        adapters_[s]->GetHubAttributes(c, names, prompts);
        for (std::size_t i = 0; i < names.size(); ++i)
          if (seenHub.insert(names[i]).second) {
            hubNames.push_back(names[i]);
            hubPrompts.push_back(i < prompts.size() ? prompts[i] : names[i]);
          }
      }
    }
  }
}

void OrvVekCompareDlgBase::StartComparison(const std::vector<int>& attributeIndices, int filterMask) {
  TavTraceScope scope(Trace(), "OrvVekCompareDlgBase", "StartComparison");
  if (type_ < Activities || type_ > Fasteners) return;
  filter_ = filterMask;
  std::vector<TavUnicodeString> own, prompts, hub;
  if (!attributeIndices.empty()) GetAttributeList(own, prompts, hub);
  selectedOwn_.clear();
  selectedHub_.clear();
  for (int i : attributeIndices) {
    if (i < 0) continue;
    if (static_cast<std::size_t>(i) < own.size()) selectedOwn_.push_back(own[static_cast<std::size_t>(i)]);
    else if (static_cast<std::size_t>(i) - own.size() < hub.size()) selectedHub_.push_back(hub[static_cast<std::size_t>(i) - own.size()]);
  }
  for (auto& r : results_) r.Clear();
  for (auto& st : storage_) st = CompareStorage();
  fastenerResults_.Clear();
  TavApplicationFrame::SetBusyCursor(true);
  StartChecks();
  TavApplicationFrame::SetBusyCursor(false);
  ShowResults();
}

// ------------------------------------------------------------------ graphical tree
// Per tree, so that objects of the other document never share a key; within a
// document an object's handle is as unique as its model number and needs no
// interface query per node. Changed objects are few: a node's look-up is one probe.
void OrvVekCompareDlgBase::storeChangedObjectInGraphTreeList(int side, const Ref<TavBaseUnknown>& o, int icon) {
  if (o) changedIcons_[static_cast<std::size_t>(side)][o.get()] = icon;
}

int OrvVekCompareDlgBase::ChangedIcon(int side, const Ref<TavBaseUnknown>& o) const {
  const auto& store = changedIcons_[static_cast<std::size_t>(side)];
  auto it = store.find(o.get());
  return it == store.end() ? OrvVekCompareDlgNavigateObject::NoIcon : it->second;
}

// Depth first with a stack of its own: a process can be far deeper than the call
// stack. A child is added with the icon of its own change, which is what its father
// shows (a grandchild's change shows on the child alone).
Ref<OrvVekCompareDlgNavigateObject> OrvVekCompareDlgBase::copyOrgStructureToGraphTree(
    int side, std::unordered_map<const TavBaseUnknown*, OrvVekCompareDlgNavigateObject*>& modified) const {
  using Node = OrvVekCompareDlgNavigateObject;
  const Ref<TavBaseUnknown>& root = roots_[static_cast<std::size_t>(side)];
  if (!root) return nullptr;
  const int kind = type_ == NeighbourActivities ? Activities : type_;
  // Only assemblies can be made to contain each other: one reached again is shown,
  // not walked again.
  std::unordered_set<const TavBaseUnknown*> walked;
  auto make = [&](const Ref<TavBaseUnknown>& o) {
    auto n = std::make_shared<Node>(OrvVekCommandServices::GetDisplayName(o), ChangedIcon(side, o), o);
    if (n->GetIconType() == Node::Modified) modified.emplace(o.get(), n.get());
    return n;
  };
  auto top = make(root);
  std::vector<std::pair<Ref<TavBaseUnknown>, Node*>> work{{root, top.get()}};
  CompareList children;
  while (!work.empty()) {
    auto [o, node] = std::move(work.back());
    work.pop_back();
    if (kind == ManufacturedAssemblies && !walked.insert(o.get()).second) continue;
    // Every activity compared, whatever its type; products and assemblies as gathered.
    children.clear();
    if (kind != Activities) children = ChildrenOf(o, kind);
    else if (auto cm = query<TavISPPChildManagement>(o)) children = cm->GetChildren();
    const std::size_t at = work.size();
    for (const auto& c : children) work.emplace_back(c, node->AddChild(make(c)));
    std::reverse(work.begin() + static_cast<std::ptrdiff_t>(at), work.end());  // first child next
    if (kind == Products) copyOrgFastenerToGraphTree(side, o, *node);
  }
  return top;
}

// A product's fasteners under a folder node, after its child products, each with
// the icon of its own result.
void OrvVekCompareDlgBase::copyOrgFastenerToGraphTree(int side, const Ref<TavBaseUnknown>& product,
                                                      OrvVekCompareDlgNavigateObject& node) const {
  using Node = OrvVekCompareDlgNavigateObject;
  const auto& relations = fastenerRelations_[static_cast<std::size_t>(side)];
  std::vector<Ref<TavBaseUnknown>> fasteners;
  if (!relations || relations->GetFastenersOfPart(product, fasteners) != S_OK || fasteners.empty()) return;
  auto folder = std::make_shared<Node>(
      TavMsgCatalog::BuildMessage(kCatalog, "GraphicalTreeAssemblyJointsFolderName", {}, "Joints"), Node::Folder);
  for (const auto& f : fasteners) setAccordingIconOnFastener(side, f, *folder);
  node.AddChild(std::move(folder));
}

void OrvVekCompareDlgBase::setAccordingIconOnFastener(int side, const Ref<TavBaseUnknown>& fastener,
                                                      OrvVekCompareDlgNavigateObject& folder) const {
  folder.AddChild(std::make_shared<OrvVekCompareDlgNavigateObject>(OrvVekCommandServices::GetDisplayName(fastener),
                                                                   ChangedIcon(side, fastener), fastener));
}

void OrvVekCompareDlgBase::buildGraphTree() {
  using Node = OrvVekCompareDlgNavigateObject;
  const CompareResults& r = results_[static_cast<std::size_t>(type_)];
  for (auto& store : changedIcons_) store.clear();
  for (const auto& o : r.removed) storeChangedObjectInGraphTreeList(0, o, Node::Removed);
  for (const auto& o : r.added) storeChangedObjectInGraphTreeList(1, o, Node::Added);
  for (const auto& o : r.modifiedOriginal) storeChangedObjectInGraphTreeList(0, o, Node::Modified);
  for (const auto& o : r.modifiedModified) storeChangedObjectInGraphTreeList(1, o, Node::Modified);
  if (type_ == Products) {
    const CompareResults& f = results_[Fasteners];
    for (const auto& o : f.removed) storeChangedObjectInGraphTreeList(0, o, Node::Removed);
    for (const auto& o : f.added) storeChangedObjectInGraphTreeList(1, o, Node::Added);
    for (const auto& o : f.modifiedOriginal) storeChangedObjectInGraphTreeList(0, o, Node::Modified);
    for (const auto& o : f.modifiedModified) storeChangedObjectInGraphTreeList(1, o, Node::Modified);
  }
  // The nodes of modified objects, for equalNodeIcons.
  std::array<std::unordered_map<const TavBaseUnknown*, Node*>, 2> nodes;
  for (int side = 0; side < 2; ++side) graphTrees_[static_cast<std::size_t>(side)] = copyOrgStructureToGraphTree(side, nodes[static_cast<std::size_t>(side)]);
  // equalNodeIcons: the two nodes of one modified pair take the higher icon of the two.
  for (std::size_t i = 0; i < r.modifiedOriginal.size() && i < r.modifiedModified.size(); ++i) {
    auto a = nodes[0].find(r.modifiedOriginal[i].get()), b = nodes[1].find(r.modifiedModified[i].get());
    if (a == nodes[0].end() || b == nodes[1].end()) continue;
    const int icon = std::max(a->second->GetIconType(), b->second->GetIconType());
    a->second->SetIconType(icon);
    b->second->SetIconType(icon);
  }
}

// ------------------------------------------------------------------ modified list
const std::vector<OrvVekCompareDlgBase::ModifiedColumn>& OrvVekCompareDlgBase::ModifiedColumns(int kind) {
  static const std::vector<ModifiedColumn> kActivities{{"ModifiedActivities", 0}, {"EC01", ModAttributes},
                                                       {"EC02", ModItems},          {"EC03", ModResources},
                                                       {"EC04", ModFather},         {"EC05", ModChildren},
                                                       {"EC06", ModSequence}};
  static const std::vector<ModifiedColumn> kProducts{
      {"ModifiedActivities", 0}, {"EC01", ModAttributes}, {"EC04", ModFather}, {"EC05", ModChildren}, {"EC07", ModFasteners}};
  static const std::vector<ModifiedColumn> kOthers{
      {"ModifiedActivities", 0}, {"EC01", ModAttributes}, {"EC04", ModFather}, {"EC05", ModChildren}};
  static const std::vector<ModifiedColumn> kFasteners{{"ModifiedActivities", 0}, {"EC01", ModAttributes}};
  switch (kind) {
    case Activities:
    case NeighbourActivities: return kActivities;
    case Products: return kProducts;
    case Fasteners: return kFasteners;
    default: return kOthers;
  }
}

std::vector<TavUnicodeString> OrvVekCompareDlgBase::ModifiedRow(int kind, const TavUnicodeString& label, int code,
                                                                const TavUnicodeString& mark) {
  std::vector<TavUnicodeString> row;
  for (const ModifiedColumn& c : ModifiedColumns(kind)) row.push_back(c.bit == 0 ? label : (code & c.bit) ? mark : TavUnicodeString(" "));
  return row;
}
