#include "OrvEPartConsumptionAnalysis.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "OrvVekCommandServices.h"
#include "Progress.h"

namespace {

const TavTrace& Trace() {
  static const TavTrace t("OrvPartConsumption", "Traces for module OrvPartConsumption");
  return t;
}
constexpr std::string_view kClass = "OrvEPartConsumptionAnalysis";

const TavBaseUnknown* Key(const Ref<TavBaseUnknown>& o) { return o ? o->ExtendedObject().get() : nullptr; }

template <class T>
bool ContainsObject(const std::vector<Ref<T>>& list, const Ref<TavBaseUnknown>& o) {
  return std::any_of(list.begin(), list.end(), [&](const Ref<T>& e) { return SameObject(e, o); });
}

}  // namespace

// Answers, for one analysis run, which activities consume an item and which
// manufactured assemblies contain it.
class OrvPartConsumptionFinder {
public:
  struct Finding {
    std::size_t activity;  // position in the all-activities list
    std::size_t relation;  // position in the relation list
  };
  OrvPartConsumptionFinder(std::vector<Ref<TavISPPActivity>> activities, const std::vector<TavUnicodeString>* relations)
      : activities_(std::move(activities)) {
    if (relations) relations_ = *relations;
    for (auto& r : relations_) {
      creates_.push_back(r == OrvEPartConsumptionAnalysis::kCreatesRelation);
      codes_.push_back(OrvEPartConsumptionAnalysis::AssignmentTypeCode(r));
    }
  }
  virtual ~OrvPartConsumptionFinder() = default;

  // Appends the findings for the product in activity order, then relation order.
  // True when it is consumed: a finding, or a use as a resource (which makes none).
  virtual bool Find(const Ref<TavBaseUnknown>& product, std::vector<Finding>& out) = 0;
  // The assemblies containing the object, directly first, then level by level outwards.
  virtual std::vector<Ref<OrvIMfgAssembly>> RelatedMAs(const Ref<TavBaseUnknown>& object) = 0;

  const Ref<TavISPPActivity>& Activity(std::size_t i) const { return activities_[i]; }
  const TavUnicodeString& Relation(std::size_t r) const { return relations_[r]; }

protected:
  std::vector<Ref<TavISPPActivity>> activities_;
  std::vector<TavUnicodeString> relations_;
  std::vector<bool> creates_;
  std::vector<unsigned> codes_;
};

namespace {

// ------------------------------------------------------------------ literal walk
class LiteralFinder final : public OrvPartConsumptionFinder {
public:
  using OrvPartConsumptionFinder::OrvPartConsumptionFinder;

  bool Find(const Ref<TavBaseUnknown>& product, std::vector<Finding>& out) override {
    auto item = query<TavISPPItem>(product);
    bool resource = false;
    const std::size_t before = out.size();
    support::Progress progress("part consumption: activities", activities_.size(), "activities");
    for (std::size_t i = 0; i < activities_.size(); ++i) {
      progress.Set(i);
      const auto& activity = activities_[i];
      auto mgt = query<TavISPPItemMgt>(activity);
      if (!mgt) continue;
      for (std::size_t r = 0; r < relations_.size(); ++r) {
        bool found = false;
        if (creates_[r]) {
          found = IsAssignedAsOutput(activity, item);
        } else if (item && mgt->IsItemAssigned(item, codes_[r]) == S_OK) {
          found = ContainsObject(mgt->GetItems("Item", 0), item);
        }
        if (found) out.push_back({i, r});
      }
      if (IsAssignedAsResource(activity, *mgt, item)) resource = true;
    }
    return resource || out.size() > before;
  }

  std::vector<Ref<OrvIMfgAssembly>> RelatedMAs(const Ref<TavBaseUnknown>& object) override {
    auto all = OrvEMfgAssemblyFactory::GetMAsInContainer(nullptr, 0);
    std::vector<Ref<OrvIMfgAssembly>> direct;
    for (auto& x : all) {
      std::vector<Ref<TavBaseUnknown>> parts;
      HRESULT hr = x->GetParts(parts);
      if (FAILED(hr) || parts.empty()) continue;
      bool isDirect = false;
      if (hr == S_OK) {
        isDirect = ContainsObject(parts, object);
      } else {
        for (auto& p : parts)
          if (auto prod = query<TavIProduct>(p); prod && ContainsObject(prod->GetAllDescendants(), object)) {
            isDirect = true;
            break;
          }
      }
      if (isDirect) direct.push_back(x);
    }
    std::vector<Ref<OrvIMfgAssembly>> result = direct;
    IndirectMAs(all, direct, result);
    return result;
  }

private:
  static bool IsAssignedAsOutput(const Ref<TavISPPActivity>& activity, const Ref<TavISPPItem>& item) {
    if (!activity || !item) return false;
    auto flow = query<TavISPPFlowMgt>(activity);
    if (!flow) return false;
    for (auto& o : flow->GetOutputs(nullptr)) {
      auto io = query<TavISPPProductIO>(o);
      if (!io) continue;
      Ref<TavBaseUnknown> obj = io->GetProduct();
      if (!obj) obj = io->GetObject();
      if (auto asItem = query<TavISPPItem>(obj); asItem && SameObject(asItem, item)) return true;
    }
    return false;
  }

  static bool IsAssignedAsResource(const Ref<TavISPPActivity>& activity, const TavISPPItemMgt& mgt,
                                   const Ref<TavISPPItem>& item) {
    if (!item) return false;
    if (mgt.IsItemAssigned(item, TavItemCode::Attaches) == S_OK) return true;
    if (mgt.IsItemAssigned(item, TavItemCode::Detaches) == S_OK) return true;
    auto res = query<TavISPPResourceManagement>(activity);
    auto prod = query<TavIProduct>(item);
    if (!res || !prod) return false;
    return res->IsResourceAssigned(prod, TavResourceCode::Uses) == S_OK ||
           res->IsResourceAssigned(prod, TavResourceCode::RunsOn) == S_OK;
  }

  // Containers of the assemblies found, pass after pass. A pass that brings no
  // assembly not seen before ends the walk: every later pass could only repeat
  // earlier ones, and a containment cycle would otherwise never end.
  static void IndirectMAs(const std::vector<Ref<OrvIMfgAssembly>>& all, std::vector<Ref<OrvIMfgAssembly>> found,
                          std::vector<Ref<OrvIMfgAssembly>>& result) {
    std::unordered_set<const TavBaseUnknown*> seen;
    for (auto& f : found) seen.insert(Key(f));
    while (!found.empty()) {
      std::vector<Ref<OrvIMfgAssembly>> appended;
      for (auto& f : found)
        for (auto& y : all) {
          std::vector<Ref<TavBaseUnknown>> parts;
          if (y->GetParts(parts) == S_OK && ContainsObject(parts, f)) appended.push_back(y);
        }
      bool anyNew = false;
      for (auto& y : appended) anyNew = seen.insert(Key(y)).second || anyNew;
      if (!anyNew) break;
      result.insert(result.end(), appended.begin(), appended.end());
      found = std::move(appended);
    }
  }
};

// ------------------------------------------------------------------ indexed
// The same answers from maps built once per run: item -> activities that relate
// it, that output it, that use it as a resource; object -> assemblies holding it.
class IndexedFinder final : public OrvPartConsumptionFinder {
public:
  IndexedFinder(std::vector<Ref<TavISPPActivity>> activities, const std::vector<TavUnicodeString>* relations)
      : OrvPartConsumptionFinder(std::move(activities), relations) {
    const bool wantOutputs = std::find(creates_.begin(), creates_.end(), true) != creates_.end();
    mgts_.resize(activities_.size());
    for (std::size_t i = 0; i < activities_.size(); ++i) {
      auto mgt = query<TavISPPItemMgt>(activities_[i]);
      if (!mgt) continue;  // the walk skips activities without item relations altogether
      for (auto& it : mgt->GetItems("Item", 0)) AddPosition(items_, Key(it), i);
      if (wantOutputs)
        if (auto flow = query<TavISPPFlowMgt>(activities_[i]))
          for (auto& o : flow->GetOutputs(nullptr)) {
            auto io = query<TavISPPProductIO>(o);
            if (!io) continue;
            Ref<TavBaseUnknown> obj = io->GetProduct();
            if (!obj) obj = io->GetObject();
            if (auto asItem = query<TavISPPItem>(obj)) AddPosition(outputs_, Key(asItem), i);
          }
      if (auto res = query<TavISPPResourceManagement>(activities_[i])) {
        for (auto& r : res->GetResources(0)) AddPosition(resources_, Key(r), i);
        resMgts_.emplace(i, std::move(res));
      }
      mgts_[i] = std::move(mgt);
    }
  }

  bool Find(const Ref<TavBaseUnknown>& product, std::vector<Finding>& out) override {
    auto item = query<TavISPPItem>(product);
    if (!item) return false;
    const TavBaseUnknown* key = Key(item);
    const std::vector<std::size_t>& related = Positions(items_, key);
    const std::vector<std::size_t>& produced = Positions(outputs_, key);
    const std::size_t before = out.size();
    // Both lists are in activity order: merge them.
    std::size_t a = 0, b = 0;
    while (a < related.size() || b < produced.size()) {
      std::size_t i;
      bool isRelated = false, isProduced = false;
      if (b == produced.size() || (a < related.size() && related[a] <= produced[b])) {
        i = related[a++];
        isRelated = true;
        if (b < produced.size() && produced[b] == i) isProduced = true, ++b;
      } else {
        i = produced[b++];
        isProduced = true;
      }
      for (std::size_t r = 0; r < relations_.size(); ++r) {
        bool found = creates_[r] ? isProduced : isRelated && mgts_[i]->IsItemAssigned(item, codes_[r]) == S_OK;
        if (found) out.push_back({i, r});
      }
    }
    return out.size() > before || UsedAsResource(item, key, related);
  }

  std::vector<Ref<OrvIMfgAssembly>> RelatedMAs(const Ref<TavBaseUnknown>& object) override {
    if (!assembliesIndexed_) IndexAssemblies();
    std::vector<std::size_t> direct = Positions(holders_, Key(object));
    const std::vector<std::size_t>& viaStructure = Positions(structureHolders_, Key(object));
    direct.insert(direct.end(), viaStructure.begin(), viaStructure.end());
    std::sort(direct.begin(), direct.end());
    direct.erase(std::unique(direct.begin(), direct.end()), direct.end());
    // Level by level outwards, each assembly once: a repeat could only repeat a
    // test that already failed, and a containment cycle ends here.
    std::vector<char> seen(assemblies_.size(), 0);
    for (auto x : direct) seen[x] = 1;
    std::vector<std::size_t> result = direct, frontier = direct;
    while (!frontier.empty()) {
      std::vector<std::size_t> next;
      for (auto f : frontier)
        for (auto y : Positions(holders_, Key(assemblies_[f])))
          if (!seen[y]) seen[y] = 1, next.push_back(y);
      result.insert(result.end(), next.begin(), next.end());
      frontier = std::move(next);
    }
    std::vector<Ref<OrvIMfgAssembly>> out;
    out.reserve(result.size());
    for (auto x : result) out.push_back(assemblies_[x]);
    return out;
  }

private:
  using Index = std::unordered_map<const TavBaseUnknown*, std::vector<std::size_t>>;

  static void AddPosition(Index& index, const TavBaseUnknown* key, std::size_t i) {
    if (!key) return;
    auto& v = index[key];
    if (v.empty() || v.back() != i) v.push_back(i);
  }
  static const std::vector<std::size_t>& Positions(const Index& index, const TavBaseUnknown* key) {
    static const std::vector<std::size_t> none;
    auto it = index.find(key);
    return it == index.end() ? none : it->second;
  }

  bool UsedAsResource(const Ref<TavISPPItem>& item, const TavBaseUnknown* key, const std::vector<std::size_t>& related) {
    for (auto i : related)
      if (mgts_[i]->IsItemAssigned(item, TavItemCode::Attaches) == S_OK ||
          mgts_[i]->IsItemAssigned(item, TavItemCode::Detaches) == S_OK)
        return true;
    auto prod = query<TavIProduct>(item);
    if (!prod) return false;
    for (auto i : Positions(resources_, key)) {
      auto& res = resMgts_.at(i);
      if (res->IsResourceAssigned(prod, TavResourceCode::Uses) == S_OK ||
          res->IsResourceAssigned(prod, TavResourceCode::RunsOn) == S_OK)
        return true;
    }
    return false;
  }

  void IndexAssemblies() {
    assembliesIndexed_ = true;
    assemblies_ = OrvEMfgAssemblyFactory::GetMAsInContainer(nullptr, 0);
    for (std::size_t x = 0; x < assemblies_.size(); ++x) {
      std::vector<Ref<TavBaseUnknown>> parts;
      HRESULT hr = assemblies_[x]->GetParts(parts);
      if (FAILED(hr)) continue;
      if (hr == S_OK) {
        for (auto& p : parts) AddPosition(holders_, Key(p), x);
      } else {
        for (auto& p : parts)
          if (auto prod = query<TavIProduct>(p))
            for (auto& d : prod->GetAllDescendants()) AddPosition(structureHolders_, Key(d), x);
      }
    }
  }

  std::vector<Ref<TavISPPItemMgt>> mgts_;
  std::unordered_map<std::size_t, Ref<TavISPPResourceManagement>> resMgts_;
  Index items_, outputs_, resources_;
  bool assembliesIndexed_ = false;
  std::vector<Ref<OrvIMfgAssembly>> assemblies_;
  Index holders_;           // object -> assemblies whose parts (code 0) hold it
  Index structureHolders_;  // object -> assemblies holding it through a listed product's descendants
};

}  // namespace

// ------------------------------------------------------------------ engine
OrvEPartConsumptionAnalysis::OrvEPartConsumptionAnalysis(Ref<TavBaseUnknown> extended) : extended_(std::move(extended)) {
  if (auto ed = TavFrmEditor::GetCurrentEditor()) document_ = ed->GetDocument();
}

OrvEPartConsumptionAnalysis::~OrvEPartConsumptionAnalysis() = default;

Ref<TavBaseUnknown> OrvEPartConsumptionAnalysis::ExtendedObject() {
  return extended_ ? extended_->ExtendedObject() : self();
}

unsigned OrvEPartConsumptionAnalysis::AssignmentTypeCode(const TavUnicodeString& name) {
  if (name == "Process Processes Product") return TavItemCode::Processes;
  if (name == "Process First Processes Product") return TavItemCode::FirstProcesses;
  if (name == "Process Removes Product") return TavItemCode::Removes;
  if (name == "Process Implements Requirement") return TavItemCode::ImplementsRequirement;
  return 0;
}

HRESULT OrvEPartConsumptionAnalysis::SetInputs(const std::vector<Ref<TavBaseUnknown>>* products,
                                               const std::vector<TavUnicodeString>* relations) {
  TavTraceScope trace(Trace(), kClass, "SetInputs");
  products_.reset();
  relations_.reset();
  if (products) products_ = *products;
  if (relations) relations_ = *relations;
  results_.clear();
  unassigned_.clear();
  return S_OK;
}

std::vector<Ref<TavBaseUnknown>> OrvEPartConsumptionAnalysis::GetUnassignedParts() const {
  TavTraceScope trace(Trace(), kClass, "GetUnassignedParts");
  return unassigned_;
}

std::vector<Ref<OrvPartConsumptionAnalysisResult>> OrvEPartConsumptionAnalysis::GetAnalysisResults() const {
  TavTraceScope trace(Trace(), kClass, "GetAnalysisResults");
  return results_;
}

bool OrvEPartConsumptionAnalysis::IsAssigned(OrvPartConsumptionFinder& finder, const Ref<TavBaseUnknown>& product,
                                             bool isChild, bool swap, const Ref<TavBaseUnknown>& other) {
  std::vector<OrvPartConsumptionFinder::Finding> findings;
  const bool consumed = finder.Find(product, findings);
  for (auto& f : findings) {
    auto record = std::make_shared<OrvPartConsumptionAnalysisResult>();
    const Ref<TavBaseUnknown>& part = swap ? other : product;
    const Ref<TavBaseUnknown>& parent = swap ? product : other;
    // The engine knows no effectivity of a relation: it is always empty.
    record->SetDisplayInfo(part, parent, {}, finder.Activity(f.activity), {}, false, false, isChild, finder.Relation(f.relation),
                           true, TavUnicodeString());
    results_.push_back(std::move(record));
  }
  return consumed;
}

HRESULT OrvEPartConsumptionAnalysis::AnalyzeConsumption(bool checkParent, bool checkChildren) {
  TavTraceScope trace(Trace(), kClass, "AnalyzeConsumption");
  if (!products_) return S_OK;
  std::unique_ptr<OrvPartConsumptionFinder> finder;
  auto activities = OrvVekCommandServices::GetAllActivities();
  const std::vector<TavUnicodeString>* relations = relations_ ? &*relations_ : nullptr;
  if (strategy_ == Strategy::Literal) finder = std::make_unique<LiteralFinder>(std::move(activities), relations);
  else finder = std::make_unique<IndexedFinder>(std::move(activities), relations);

  // Products are copied: the loop appends to results_ only, never to products_.
  for (const auto& p : *products_) {
    const std::size_t recordsBefore = results_.size();
    const bool a = IsAssigned(*finder, p, false, false, nullptr);
    const bool madeRecord = results_.size() > recordsBefore;
    bool fa = false, ma = false, childrenAnalysed = false;
    if (auto prod = query<TavIProduct>(p)) {
      if (checkParent) {
        std::unordered_set<const TavBaseUnknown*> visited;
        for (auto f = prod->GetFatherProduct(); f && visited.insert(Key(f)).second; f = f->GetFatherProduct()) {
          fa = IsAssigned(*finder, f, false, true, p);
          if (fa) break;
        }
        for (auto& x : finder->RelatedMAs(p)) {
          ma = IsAssigned(*finder, x, false, true, p);
          if (ma) break;
        }
      }
      const bool analyseChildren = checkChildren && !(checkParent && (a || fa || ma));
      if (analyseChildren && prod->GetChildrenCount() >= 1) {
        // The summary record: P's own last record when it has one, else a new one.
        // A product consumed only as a resource has no record of its own; the
        // record before it belongs to another product and is left alone.
        Ref<OrvPartConsumptionAnalysisResult> summary;
        if (a) {
          if (madeRecord) summary = results_.back();
        } else {
          summary = std::make_shared<OrvPartConsumptionAnalysisResult>();
          summary->SetDisplayInfo(p, nullptr, {}, nullptr, {}, true, true, false, {}, true, "---");
          results_.push_back(summary);
        }
        childrenAnalysed = true;
        bool childUnconsumed = false;
        for (auto& c : prod->GetChildren()) {
          if (!IsAssigned(*finder, c, true, false, p)) {
            unassigned_.push_back(c);
            childUnconsumed = true;
          }
        }
        if (childUnconsumed && summary) summary->SetChildAssignment(false);
      }
    }
    if (!a && !fa && !ma && !childrenAnalysed) unassigned_.push_back(p);
  }
  return S_OK;
}
