// The host's side of resource copies (TavResourceCopyHost, behind OrvVekServices):
// behaviours, the product-added notification, sequence links and assignments carried
// over to the copies, and the children the hub allows under a parent.
#include <unordered_map>

#include "ActivitySnapshot.h"
#include "HostAssignment.h"
#include "HostCopy.h"
#include "HostLibrary.h"
#include "HostPlanner.h"
#include "HostProducts.h"
#include "TavActivityLib.h"
#include "TavCopy.h"

namespace host {

namespace {

Ref<HostProduct> ProductOf(const Ref<TavBaseUnknown>& o) {
  return std::dynamic_pointer_cast<HostProduct>(o ? o->ExtendedObject() : nullptr);
}

Ref<HostBehavior> BehaviorOf(const HostProduct& resource) {
  HostAssignmentContainer* c = resource.Doc() ? AssignmentOf(*resource.Doc(), false) : nullptr;
  return c ? c->BehaviorOf(resource) : nullptr;
}

// The activities under a behaviour, depth first (fathers before children).
std::vector<HostActivity*> BehaviorActivities(const HostBehavior& b) {
  std::vector<HostActivity*> out;
  std::vector<HostActivity*> stack;
  for (auto it = b.Children().rbegin(); it != b.Children().rend(); ++it) stack.push_back(it->get());
  while (!stack.empty()) {
    HostActivity* a = stack.back();
    stack.pop_back();
    out.push_back(a);
    for (auto it = a->Children().rbegin(); it != a->Children().rend(); ++it) stack.push_back(it->get());
  }
  return out;
}

// Every activity of the document once: process trees, TSAs and resource behaviours.
std::vector<Ref<HostActivity>> AllActivities(HostDocument& doc) {
  std::vector<Ref<HostActivity>> roots{doc.Process().roots_.begin(), doc.Process().roots_.end()};
  if (const HostContExt* ext = ContExtOf(doc)) roots.insert(roots.end(), ext->TSAs().begin(), ext->TSAs().end());
  if (HostAssignmentContainer* assignment = AssignmentOf(doc, false)) {
    std::vector<Ref<HostProduct>> resources = doc.Resources().roots_;
    for (std::size_t i = 0; i < resources.size(); ++i) {
      if (auto b = assignment->BehaviorOf(*resources[i])) roots.push_back(b);
      for (auto& c : resources[i]->Children()) resources.push_back(c);
    }
  }
  std::vector<Ref<HostActivity>> out;
  std::vector<Ref<HostActivity>> stack(roots.rbegin(), roots.rend());
  while (!stack.empty()) {
    Ref<HostActivity> a = std::move(stack.back());
    stack.pop_back();
    for (auto it = a->Children().rbegin(); it != a->Children().rend(); ++it) stack.push_back(*it);
    out.push_back(std::move(a));
  }
  return out;
}

void CopyAttributes(const std::vector<TavAttribute>& from, TavIAttributeHolder& to) {
  for (auto& a : from) to.SetAttribute(a.name, a.value);
}

class HostResourceCopy final : public TavResourceCopyHost {
public:
  HRESULT CopyBehavior(const Ref<TavBaseUnknown>& source, const Ref<TavBaseUnknown>& copy) override {
    auto src = ProductOf(source), dst = ProductOf(copy);
    if (!src || !dst || !src->IsResource() || !dst->IsResource() || !src->Doc() || src->Doc() != dst->Doc()) return E_FAIL;
    auto from = BehaviorOf(*src);
    if (!from) return S_FALSE;
    if (BehaviorOf(*dst)) return E_FAIL;  // one behaviour per resource: the copy's is not merged into
    // A label that only follows the resource's name follows the copy's.
    const bool named = !(from->GetLabel() == src->GetName() + " Behavior");
    auto to = AssignmentOf(*dst->Doc(), true)->CreateBehavior(dst, "", named ? from->GetLabel() : TavUnicodeString());
    if (!to) return E_FAIL;
    to->SetDescription(from->Description());
    to->SetTime(from->GetTime());
    CopyAttributes(from->Attributes(), *to);
    if (auto planType = PlanTypeNameOf(*from); !planType.empty()) AssignPlanType(*to, planType);
    for (auto& i : from->GetInputItems()) to->AddInputItem(i);
    for (auto& o : from->GetOutputItems()) to->AddOutputItem(o);
    // Inputs then outputs on both sides, in the same order: the relations pair up.
    const auto fromItems = from->GetRelations(), toItems = to->GetRelations();
    if (fromItems.size() == toItems.size())
      for (std::size_t i = 0; i < fromItems.size(); ++i) {
        auto f = std::dynamic_pointer_cast<HostRelation>(fromItems[i]);
        auto t = std::dynamic_pointer_cast<TavIAttributeHolder>(toItems[i]);
        if (f && t) CopyAttributes(f->Attributes(), *t);
      }
    if (!from->Children().empty()) ActivitySnapshot::Take(from->Children()).PasteUnder(to);
    return S_OK;
  }

  HRESULT SendPrdAddNotification(const Ref<TavBaseUnknown>& father, const Ref<TavBaseUnknown>& added) override {
    auto a = ProductOf(added);
    HostNotifications* n = a && a->Doc() ? NotificationsOf(*a->Doc()) : nullptr;
    if (!n) return E_FAIL;
    // As the product structure records it (TavIProductInSession); a top-level product
    // has its list for father, which a path does not name.
    if (auto f = ProductOf(father)) n->Add("product added: ", a, " (under ", f, ")");
    else n->Add("product added: ", a);
    return S_OK;
  }

  HRESULT CopySequenceLinks(const std::vector<Ref<TavBaseUnknown>>& sources,
                            const std::vector<Ref<TavBaseUnknown>>& copies) override {
    if (sources.size() != copies.size()) return E_FAIL;
    for (std::size_t k = 0; k < sources.size(); ++k) {
      auto src = ProductOf(sources[k]), dst = ProductOf(copies[k]);
      auto from = src ? BehaviorOf(*src) : nullptr;
      auto to = dst ? BehaviorOf(*dst) : nullptr;
      if (!from || !to || from == to) continue;
      // Matched by position in the two subtrees. A link leaving a behaviour cannot be
      // saved, so links stay between the activities of one behaviour and its copy's.
      const auto a = BehaviorActivities(*from), b = BehaviorActivities(*to);
      std::unordered_map<const HostActivity*, HostActivity*> match;
      for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) match.emplace(a[i], b[i]);
      for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        for (auto& w : a[i]->Next()) {
          auto next = w.lock();
          auto it = next ? match.find(next.get()) : match.end();
          if (it != match.end()) b[i]->AddControlFlowLink(it->second->self());
        }
    }
    return S_OK;
  }

  HRESULT CopyAssignments(const std::vector<Ref<TavBaseUnknown>>& sources,
                          const std::vector<Ref<TavBaseUnknown>>& copies) override {
    if (sources.size() != copies.size()) return E_FAIL;
    HostDocument* doc = nullptr;
    std::unordered_map<const TavBaseUnknown*, Ref<HostProduct>> copyOf;
    for (std::size_t k = 0; k < sources.size(); ++k) {
      auto src = ProductOf(sources[k]), dst = ProductOf(copies[k]);
      if (!src || !dst || !src->Doc() || src->Doc() != dst->Doc() || src == dst) continue;
      if (doc && doc != src->Doc()) return E_FAIL;  // one document at a time
      doc = src->Doc();
      copyOf.emplace(src.get(), dst);
    }
    if (!doc) return S_OK;
    // Found first, made after: the twins join the relation lists being read.
    struct Twin {
      Ref<HostActivity> owner;
      Ref<HostRelation> relation;
      Ref<HostProduct> copy;
    };
    std::vector<Twin> twins;
    for (auto& a : AllActivities(*doc)) {
      auto* behavior = TavCast<HostBehavior>(a.get());
      const auto relations = behavior ? behavior->GetRelations() : std::vector<Ref<TavISPPActivitySpecification>>();
      auto take = [&](const Ref<HostRelation>& r) {
        auto it = r ? copyOf.find(r->Target().get()) : copyOf.end();
        if (it != copyOf.end()) twins.push_back({a, r, it->second});
      };
      if (behavior)
        for (auto& r : relations) take(std::dynamic_pointer_cast<HostRelation>(r));
      else
        for (auto& r : a->Relations()) take(r);
    }
    for (auto& t : twins) {
      Ref<TavIAttributeHolder> made;
      if (auto* behavior = TavCast<HostBehavior>(t.owner.get())) {
        // A behaviour's items, kept in its own lists.
        const bool input = t.relation->Type() == HostBehavior::kInput();
        if ((input ? behavior->AddInputItem(t.copy) : behavior->AddOutputItem(t.copy)) != S_OK) continue;
        for (auto& r : behavior->GetActivitySpecifications(t.copy))
          if (auto h = std::dynamic_pointer_cast<HostRelation>(r); h && h->Type() == t.relation->Type()) made = h;
      } else {
        Ref<TavISPPActivitySpecification> twin;
        if (t.owner->CreateRelation(t.relation->Type()->name, t.copy, &twin) != S_OK) continue;
        made = std::dynamic_pointer_cast<TavIAttributeHolder>(twin);
      }
      if (made) CopyAttributes(t.relation->Attributes(), *made);
    }
    return S_OK;
  }

  HRESULT GetAuthorizedChildrenNames(const TavPathElement& parent, std::vector<TavUnicodeString>& names) override {
    names.clear();
    auto typed = query<OrvIMHIPlanTypeObject>(parent.GetLeaf());  // hub documents only
    auto planType = typed ? typed->GetPlanType() : nullptr;
    if (!planType) return E_FAIL;
    return planType->GetAllowedChildTypes(names);
  }
};

}  // namespace

void InstallResourceCopyHost() {
  static HostResourceCopy host;
  TavResourceCopyHost::Install(&host);
}

}  // namespace host
