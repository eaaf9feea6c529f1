// The host's linking rules. A link joins two flow nodes of one parent (siblings);
// no link leaves a "Stop" or enters a "Start"; "Feeder" and "Deliver" nodes are fed
// by products, never linked; and a link a -> b may not contradict a precedence that
// puts b before a, directly or through other precedences. With the multi-level
// check on, precedences between descendants count for their sibling ancestors too.
#include <algorithm>
#include <unordered_set>

#include "HostFlowFeature.h"
#include "HostModel.h"

namespace host {
namespace {

Ref<HostActivity> Node(const Ref<TavBaseUnknown>& o) {
  auto a = std::dynamic_pointer_cast<HostActivity>(o ? o->ExtendedObject() : nullptr);
  return a && a->Doc() ? a : nullptr;
}

bool Is(const HostActivity& a, const char* type) { return a.Type()->name == type; }

void Fail(HRESULT code, const std::string& message, const std::string& request) {
  TavError::TavSetLastError(std::make_shared<TavError>(code, TavUnicodeString("Link"), TavUnicodeString(message),
                                                       TavUnicodeString(request)));
}

bool MultiLevel() { return TavSettingRepository::GetRepository(kLinkSettings).ReadInt(kMultiLevelKey, 0) == 1; }

// The child of `level` on the way from `level` down to `a`; null when `a` is not below `level`.
const HostActivity* AncestorBelow(const HostActivity* a, const HostActivity* level) {
  for (const HostActivity* cur = a; cur;) {
    auto father = cur->FatherActivity();
    if (father.get() == level) return cur;
    cur = father.get();
  }
  return nullptr;
}

// Whether `from` must come before `to` (both children of `father`) by precedences:
// a walk over successors, each sibling visited once. Multi-level: a precedence
// between descendants of two siblings orders the siblings.
bool MustPrecede(const HostActivity* from, const HostActivity* to, const HostActivity* father, bool multi) {
  std::unordered_set<const HostActivity*> seen{from};
  std::vector<const HostActivity*> todo{from};
  std::vector<const HostActivity*> subtree;
  while (!todo.empty()) {
    const HostActivity* s = todo.back();
    todo.pop_back();
    subtree.assign(1, s);
    if (multi)
      for (std::size_t i = 0; i < subtree.size(); ++i)
        for (auto& c : subtree[i]->Children()) subtree.push_back(c.get());
    for (const HostActivity* x : subtree)
      for (auto& w : x->After()) {
        auto y = w.lock();
        if (!y) continue;
        const HostActivity* sibling = y->FatherActivity().get() == father ? y.get() : multi ? AncestorBelow(y.get(), father) : nullptr;
        if (!sibling || sibling == s) continue;
        if (sibling == to) return true;
        if (seen.insert(sibling).second) todo.push_back(sibling);
      }
  }
  return false;
}

class LinkServices final : public TavLinkServicesHost {
public:
  int CanLinkFrom(const Ref<TavBaseUnknown>& node) override {
    auto a = Node(node);
    return a && a->FatherActivity() && !Is(*a, "Stop") && !Is(*a, "Feeder") && !Is(*a, "Deliver") ? 0 : 1;
  }
  int CanLinkTo(const Ref<TavBaseUnknown>& node) override {
    auto a = Node(node);
    return a && a->FatherActivity() && !Is(*a, "Start") && !Is(*a, "Feeder") && !Is(*a, "Deliver") ? 0 : 1;
  }
  int AreAllreadyLinked(const Ref<TavBaseUnknown>& from, const Ref<TavBaseUnknown>& to) override {
    auto a = Node(from), b = Node(to);
    return a && b && a->LinksTo(b.get()) ? 0 : 1;
  }
  int LinkViolatesHierachy(const Ref<TavBaseUnknown>& from, const Ref<TavBaseUnknown>& to) override {
    auto a = Node(from), b = Node(to);
    if (!a || !b || a == b) return 0;
    auto fa = a->FatherActivity();
    return fa && fa == b->FatherActivity() ? 1 : 0;
  }
  HRESULT IsLinkOkForPrecedence(const Ref<TavBaseUnknown>& from, const Ref<TavBaseUnknown>& to) override {
    auto a = Node(from), b = Node(to);
    if (!a || !b) {
      Fail(E_FAIL, "A link joins two flow nodes of the process.", "Pick two activities or control nodes.");
      return E_FAIL;
    }
    auto father = a->FatherActivity();
    if (!father || father != b->FatherActivity()) return S_OK;  // the hierarchy rule speaks for that
    if (MustPrecede(b.get(), a.get(), father.get(), MultiLevel())) {
      Fail(E_FAIL, "The link from " + a->Label().utf8() + " to " + b->Label().utf8() + " contradicts the precedences: " +
                       b->Label().utf8() + " must be done before " + a->Label().utf8(),
           "Remove the precedence or link the activities the other way round");
      return E_FAIL;
    }
    return S_OK;
  }
  HRESULT Link(const Ref<TavBaseUnknown>& from, const Ref<TavBaseUnknown>& to) override {
    auto a = Node(from), b = Node(to);
    if (!a || !b || a == b) {
      Fail(E_FAIL, "A link joins two different flow nodes.", "Pick two different nodes.");
      return E_FAIL;
    }
    if (CanLinkFrom(a) != 0 || CanLinkTo(b) != 0) {
      Fail(E_FAIL, "No link may leave " + a->Label().utf8() + " or enter " + b->Label().utf8() + ".",
           "Links leave no Stop node, enter no Start node and never join Feeder or Deliver nodes");
      return E_FAIL;
    }
    if (LinkViolatesHierachy(a, b) != 1) {
      Fail(E_FAIL, a->Label().utf8() + " and " + b->Label().utf8() + " are not children of one activity.",
           "Link activities of the same parent");
      return E_FAIL;
    }
    if (FAILED(IsLinkOkForPrecedence(a, b))) return E_FAIL;
    if (FAILED(a->AddControlFlowLink(b))) {
      Fail(E_FAIL, "The link from " + a->Label().utf8() + " to " + b->Label().utf8() + " could not be made.", "");
      return E_FAIL;
    }
    return S_OK;
  }
  HRESULT InsertSwitchAfter(const Ref<TavBaseUnknown>& node, Ref<TavBaseUnknown>& newNode) override {
    return Insert(node, newNode, true);
  }
  HRESULT InsertOrInBefore(const Ref<TavBaseUnknown>& node, Ref<TavBaseUnknown>& newNode) override {
    return Insert(node, newNode, false);
  }
  HRESULT IsMultiLevelPrecedenceCheckActivated() override { return MultiLevel() ? S_OK : E_FAIL; }
  HRESULT ActiveMultiLevelPrecedenceCheck() override {
    auto& repo = TavSettingRepository::GetRepository(kLinkSettings);
    repo.Write(kMultiLevelKey, std::int64_t{1});
    return repo.Save() ? S_OK : E_FAIL;
  }
  // The flow's deliveries of a product are read from the later activities' inputs (the
  // products they process), not stored beside the output: once the output carries
  // its new product there is nothing left to move. The output must be the activity's.
  HRESULT ReconnectProdOutputToDeliver(const Ref<TavBaseUnknown>& activity, const Ref<TavBaseUnknown>& output) override {
    auto a = Node(activity);
    if (!a || !output) return E_FAIL;
    for (auto& o : a->GetOutputs())
      if (o == output) return S_OK;
    return E_FAIL;
  }

private:
  // A "Switch" right after the node takes over its outgoing links (an "OrIn" right
  // before it, its incoming ones), then node -> Switch (OrIn -> node).
  static HRESULT Insert(const Ref<TavBaseUnknown>& node, Ref<TavBaseUnknown>& newNode, bool after) {
    auto a = Node(node);
    auto father = a ? a->FatherActivity() : nullptr;
    if (!father) {
      Fail(E_FAIL, "Only a node inside an activity can get a control node beside it.", "");
      return E_FAIL;
    }
    const auto& siblings = father->Children();
    const int at = static_cast<int>(std::find(siblings.begin(), siblings.end(), a) - siblings.begin()) + (after ? 1 : 0);
    auto created = std::dynamic_pointer_cast<HostActivity>(father->CreateChild(after ? "Switch" : "OrIn", after ? "Switch" : "OrIn", at));
    if (!created) {
      Fail(E_FAIL, "The control node could not be made.", "");
      return E_FAIL;
    }
    if (after) {
      for (auto& n : a->GetNextNodes()) {
        a->RemoveControlFlowLink(n);
        created->AddControlFlowLink(n);
      }
      a->AddControlFlowLink(created);
    } else {
      for (auto& p : a->GetPreviousNodes()) {
        auto pa = std::dynamic_pointer_cast<HostActivity>(p);
        pa->RemoveControlFlowLink(a);
        pa->AddControlFlowLink(created);
      }
      created->AddControlFlowLink(a);
    }
    newNode = created;
    return S_OK;
  }
};

}  // namespace

void InstallLinkServices() {
  static LinkServices services;
  TavLinkServicesHost::Install(&services);
}

}  // namespace host
