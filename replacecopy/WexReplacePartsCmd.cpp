#include "WexReplacePartsCmd.h"

#include <algorithm>
#include <optional>
#include <unordered_set>

#include "OrvVekCommandServices.h"
#include "TavCopy.h"
#include "TavFlow.h"
#include "TavResources.h"
#include "TavServices.h"
#include "TavUndo.h"

namespace {
const TavTrace& Trace() {
  static TavTrace t("WexReplacePartsTrace", "Traces for module WexReplaceParts");
  return t;
}
constexpr const char* kClass = "WexReplacePartsCmd";

TavUnicodeString Msg(const char* key, const char* fallback, const std::vector<TavUnicodeString>& params = {}) {
  return TavMsgCatalog::BuildMessage(WexReplacePartsCmd::kCatalog, key, params, fallback);
}

// Moves one relation from the old part to the new one with its type and
// attributes. `merged`: the activity relates the new part so already, and the old
// relation only goes (no relation is doubled).
HRESULT Retarget(TavIPCSRelations& relations, const Ref<TavISPPActivitySpecification>& spec, const Ref<TavIProduct>& newPart,
                 bool merged) {
  const TavUnicodeString type = spec->GetRelationType();
  std::vector<TavAttribute> attributes;
  if (auto held = query<TavIAttributeHolder>(spec)) attributes = held->GetAttributes();
  if (FAILED(relations.RemoveRelation(type, spec->GetTarget()))) return E_FAIL;
  if (merged) return S_OK;
  Ref<TavISPPActivitySpecification> made;
  if (FAILED(relations.CreateRelation(type, newPart, &made))) return E_FAIL;
  if (auto held = query<TavIAttributeHolder>(made))
    for (auto& a : attributes) held->SetAttribute(a.name, a.value);
  return S_OK;
}

}  // namespace

WexReplacePartsCmd::WexReplacePartsCmd() : TavStateCommand("WexReplacePartsCmd", 0, 64) {}

std::unique_ptr<TavStateCommand> fctCreateWexReplacePartsCmd() { return std::make_unique<WexReplacePartsCmd>(); }

WexReplacePartsCmd::~WexReplacePartsCmd() {
  TavTraceScope scope(Trace(), kClass, "~WexReplacePartsCmd");
  if (dialog_) {
    if (okAgent_) okAgent_->RemoveNotify(dialog_.get());
    if (cancelAgent_) cancelAgent_->RemoveNotify(dialog_.get());
  }
}

void WexReplacePartsCmd::BuildGraph() {
  TavTraceScope scope(Trace(), kClass, "BuildGraph");
  using Self = WexReplacePartsCmd;
  auto* one = GetInitialState("SelectPart1");
  auto* two = AddDialogState("SelectPart2");
  auto* confirm = AddDialogState("OKorCancel");
  auto agent = [this](const char* name) {
    auto a = std::make_unique<TavPathElementAgent>(name);
    a->SetElementType(TavISPPItem::kInterfaceName);
    a->SetBehavior(0x800800);
    a->SetFilter([this](TavAcquisitionAgent* x) { return IsValidProduct(x); });
    return a;
  };
  oneAgent_ = agent("SelectPartOne");
  twoAgent_ = agent("SelectPartTwo");
  okAgent_ = std::make_unique<TavDialogAgent>("OKAgent");
  cancelAgent_ = std::make_unique<TavDialogAgent>("CancelAgent");
  one->AddDialogAgent(oneAgent_.get());
  two->AddDialogAgent(twoAgent_.get());
  confirm->AddDialogAgent(okAgent_.get());
  confirm->AddDialogAgent(cancelAgent_.get());
  AddTransition(one, two, IsOutputSetCondition(oneAgent_.get()), Action(&Self::ActionOne));
  AddTransition(two, confirm, IsOutputSetCondition(twoAgent_.get()), Action(&Self::ActionTwo));
  AddTransition(confirm, nullptr, IsOutputSetCondition(okAgent_.get()), Action(&Self::ReplaceParts));
  AddTransition(confirm, nullptr, IsOutputSetCondition(cancelAgent_.get()), Action(&Self::CancelReplaceParts));
}

Ref<TavIProduct> WexReplacePartsCmd::DetermineProduct(const TavPathElement& path) {
  // The pick's own product: walking from the top would find the product root.
  return path.SearchFromLeaf<TavIProduct>();
}

bool WexReplacePartsCmd::Accepts(const Ref<TavBaseUnknown>& candidate, const Ref<TavIProduct>& oldPart, TavUnicodeString* why) {
  auto refuse = [&](TavUnicodeString text) {
    if (why) *why = std::move(text);
    return false;
  };
  auto product = query<TavIProduct>(candidate);
  if (!product || !query<TavISPPItem>(candidate)) return refuse(Msg("NotAPart", "only a part of the product list can be replaced"));
  if (product->IsResource() || query<TavIResource>(candidate))
    return refuse(Msg("AResource", "/P1 is a resource, not a part", {product->GetName()}));
  if (oldPart && SameObject(candidate, oldPart)) return refuse(Msg("SamePart", "a part cannot replace itself"));
  return true;
}

bool WexReplacePartsCmd::IsValidProduct(TavAcquisitionAgent* agent) {
  TavTraceScope scope(Trace(), kClass, "IsValidProduct");
  auto* a = static_cast<TavPathElementAgent*>(agent);
  auto product = DetermineProduct(a->GetValue());
  TavUnicodeString why;
  if (!Accepts(product, agent == twoAgent_.get() ? old_ : nullptr, &why)) {
    a->SetFilterMessage(why);
    return false;
  }
  return true;
}

bool WexReplacePartsCmd::ActionOne() {
  TavTraceScope scope(Trace(), kClass, "ActionOne");
  old_ = DetermineProduct(oneAgent_->GetValue());
  if (auto ed = TavFrmEditor::GetCurrentEditor()) ed->GetCSO().Empty();
  return true;
}

bool WexReplacePartsCmd::ActionTwo() {
  TavTraceScope scope(Trace(), kClass, "ActionTwo");
  new_ = DetermineProduct(twoAgent_->GetValue());
  if (auto ed = TavFrmEditor::GetCurrentEditor()) ed->GetCSO().Empty();
  if (!dialog_) {
    dialog_ = std::make_unique<WexReplacePartsDlg>(nullptr);
    dialog_->Build();
    okAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::OK);
    cancelAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Cancel);
    cancelAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Close);
  }
  dialog_->SetParts(old_, new_);
  dialog_->SetVisibility(true);
  return true;
}

bool WexReplacePartsCmd::ReplaceParts() {
  TavTraceScope scope(Trace(), kClass, "ReplaceParts");
  if (dialog_) dialog_->SetVisibility(false);
  std::vector<Change> changes;
  const HRESULT hr = Replace(old_, new_, &changes);
  if (SUCCEEDED(hr) && changes.empty()) {
    TavDlgNotify box(nullptr, "Information", TavDlgNotify::Information);
    box.DisplayBox(Msg("Error.Title", "Replace Parts"),
                   Msg("NothingToReplace", "No activity consumes or outputs /P1: nothing was replaced.", {old_->GetName()}));
    box.DisplayBlocked();
  }
  if (FAILED(hr)) {
    TavDlgNotify box(nullptr, "Error", TavDlgNotify::Error);
    box.DisplayBox(Msg("Error.Title", "Replace Parts"),
                   Msg("NotReplaced", "/P1 could not be replaced by /P2 in every activity; nothing was changed.",
                       {old_ ? old_->GetName() : TavUnicodeString("?"), new_ ? new_->GetName() : TavUnicodeString("?")}));
    box.DisplayBlocked();
  }
  return true;
}

bool WexReplacePartsCmd::CancelReplaceParts() {
  TavTraceScope scope(Trace(), kClass, "CancelReplaceParts");
  if (dialog_) dialog_->SetVisibility(false);
  return true;
}

HRESULT WexReplacePartsCmd::Replace(const Ref<TavIProduct>& oldPart, const Ref<TavIProduct>& newPart, std::vector<Change>* changes) {
  if (!oldPart || !newPart || !query<TavISPPItem>(oldPart) || !query<TavISPPItem>(newPart) || SameObject(oldPart, newPart))
    return E_FAIL;
  std::vector<Ref<TavISPPActivity>> activities = OrvVekCommandServices::GetAllActivities();
  Ref<TavISPPActivityRoot> root;
  if (SUCCEEDED(OrvVekCommandServices::GetRootProcess(root, nullptr)))
    if (auto a = query<TavISPPActivity>(root)) activities.push_back(std::move(a));
  // Every relation is checked before any moves, so that a refusal changes nothing.
  struct Work {
    Ref<TavISPPActivity> activity;
    Ref<TavIPCSRelations> relations;
    std::vector<std::pair<Ref<TavISPPActivitySpecification>, bool>> moves;  // with "merged"
  };
  std::vector<Work> work;
  // The activities naming the old part, from what links to it when the host knows:
  // the walk then keeps its order without asking each activity of a large process
  // (each question would reach into the activity's relations).
  std::optional<std::unordered_set<const TavISPPActivity*>> naming;
  if (auto linkable = query<TavILinkableObject>(oldPart)) {
    naming.emplace();
    for (const auto& linked : linkable->GetLinkedObjects())
      if (auto spec = query<TavISpecObject>(linked))
        if (auto owner = query<TavISPPActivity>(spec->GetSpecAttribute("PhysicActivity"))) naming->insert(owner.get());
  }
  for (const auto& a : activities) {
    if (naming && !naming->count(a.get())) continue;
    // Most activities do not name the part: one question each, nothing more.
    auto items = query<TavISPPItemMgt>(a);
    auto specs = items ? items->GetActivitySpecifications(oldPart) : std::vector<Ref<TavISPPActivitySpecification>>{};
    if (specs.empty()) continue;
    Work w{a, query<TavIPCSRelations>(a), {}};
    if (!w.relations) return E_FAIL;
    // What the activity holds of the new part already: usually nothing.
    const auto all = items->GetActivitySpecifications(newPart);
    std::optional<std::vector<TavUnicodeString>> possible;
    w.relations->GetPossibleRelations(newPart, possible);
    for (auto& spec : specs) {
      const TavUnicodeString type = spec->GetRelationType();
      const bool held = std::any_of(all.begin(), all.end(), [&](const auto& r) { return r->GetRelationType() == type; });
      if (!held && (!possible || std::find(possible->begin(), possible->end(), type) == possible->end())) return E_FAIL;
      w.moves.emplace_back(std::move(spec), held);
    }
    work.push_back(std::move(w));
  }
  TavSavepoint mark;  // a refusal half-way takes back what moved before it
  std::vector<Change> made;
  for (auto& w : work) {
    auto flow = query<TavISPPFlowMgt>(w.activity);
    const std::size_t outputsBefore = flow ? flow->GetOutputs(newPart).size() : 0;
    for (const auto& [spec, merged] : w.moves) {
      if (FAILED(Retarget(*w.relations, spec, newPart, merged))) {
        mark.RollBack();
        return E_FAIL;
      }
      made.push_back({w.activity, spec->GetRelationType(), merged});
    }
    // An output now carrying the new part reaches the activities it delivers to.
    if (flow) {
      auto outputs = flow->GetOutputs(newPart);
      for (std::size_t i = outputsBefore; i < outputs.size(); ++i) TavSPPLinkServices::ReconnectProdOutputToDeliver(w.activity, outputs[i]);
    }
    if (auto events = query<TavISPPActivityModificationEvents>(w.activity)) events->SendModification("ReplaceParts");
  }
  if (changes) *changes = std::move(made);
  return S_OK;
}
