#include "OrvVekCopyProcessAndRscCmd.h"

#include <algorithm>
#include <cstdlib>
#include <unordered_map>
#include <unordered_set>

#include "OrvVekCopyProcessServices.h"
#include "OrvVekCopyResourceServices.h"
#include "OrvVekServices.h"
#include "TavActivityLib.h"
#include "TavAssignment.h"
#include "TavUndo.h"

namespace {
const TavTrace& Trace() {
  static TavTrace t("OrvVekCopyProcessTrace", "Traces for module OrvVekCopyProcess");
  return t;
}
constexpr const char* kClass = "OrvVekCopyProcessAndRscCmd";
constexpr int kMaxListed = 20;

TavUnicodeString Msg(const char* key, const char* fallback, const std::vector<TavUnicodeString>& params = {}) {
  return TavMsgCatalog::BuildMessage(OrvVekCopyProcessAndRscCmd::kCatalog, key, params, fallback);
}

Ref<TavDocument> CurrentDocument() {
  auto ed = TavFrmEditor::GetCurrentEditor();
  return ed ? ed->GetDocument() : nullptr;
}

// The children a parent of each type takes; parents of other types take any child.
const std::unordered_map<std::string, std::vector<std::string>>& AllowedChildren() {
  static const std::unordered_map<std::string, std::vector<std::string>> table{
      {"BIWActivityGrouping",
       {"BIWActivityStation", "BIWActivityInlineInspection", "BIWActivityHemming", "BIWActivityGrouping", "AssemblyOperation"}},
      {"BIWActivityStation",
       {"BIWActivityLoading", "BIWActivityUnloading", "BIWActivityClamping", "BIWActivityUnclamping",
        "BIWActivitySpotWelding", "BIWActivityStudWelding", "BIWActivitySpotGluing", "BIWActivityClinching",
        "BIWActivityArcWelding", "BIWActivityAdhesiveApplication", "BIWActivitySealantApplication",
        "BIWActivityScrewing", "BIWActivityRiveting", "BIWActivityDrilling"}},
  };
  return table;
}

int ModelNumber(const Ref<TavBaseUnknown>& o) {
  auto id = query<TavIModelIdentity>(o);
  return id ? id->GetModelNumber() : 0;
}

TavUnicodeString NameOf(const Ref<TavIProduct>& p) { return p ? p->GetName() : TavUnicodeString(); }

// Object identity across interface handles of one object.
const TavBaseUnknown* Key(const Ref<TavBaseUnknown>& o) { return o ? o->ExtendedObject().get() : nullptr; }

}  // namespace

OrvVekCopyProcessAndRscCmd::OrvVekCopyProcessAndRscCmd() : TavStateCommand("OrvVekCopyProcessAndRscCmd", 0, 64) {
  bracketsOpen_ = Msg("BracketsOpen", " (");
  bracketsClose_ = Msg("BracketsClose", ")");
}

std::unique_ptr<TavStateCommand> fctCreateOrvVekCopyProcessAndRscCmd() {
  return std::make_unique<OrvVekCopyProcessAndRscCmd>();
}

OrvVekCopyProcessAndRscCmd::~OrvVekCopyProcessAndRscCmd() {
  TavTraceScope scope(Trace(), kClass, "~OrvVekCopyProcessAndRscCmd");
  for (auto* agent : {okCopy_.get(), cancelCopy_.get(), okAttached_.get(), cancelAttached_.get(), dot_.get()}) {
    if (!agent) continue;
    if (dialog_) agent->RemoveNotify(dialog_.get());
    if (attached_) {
      agent->RemoveNotify(attached_.get());
      for (auto* b : attached_->DotButtons()) agent->RemoveNotify(b);
    }
  }
  attached_.reset();
  dialog_.reset();
}

void OrvVekCopyProcessAndRscCmd::BuildGraph() {
  TavTraceScope scope(Trace(), kClass, "BuildGraph");
  using Self = OrvVekCopyProcessAndRscCmd;
  auto* s1 = GetInitialState("State1");
  auto* s2 = AddDialogState("State2");
  auto* s3 = AddDialogState("State3");
  auto* s4 = AddDialogState("State4");
  auto* s5 = AddDialogState("State5");

  object_ = std::make_unique<TavPathElementAgent>("Object");
  object_->SetElementType(TavISPPActivity::kInterfaceName);
  object_->SetFilter([this](TavAcquisitionAgent* a) { return IsValidCopyProcess(a); });
  AddCSOClient(object_.get());
  object2_ = std::make_unique<TavPathElementAgent>("Object2");
  object2_->SetElementType(TavISPPActivity::kInterfaceName);
  object2_->AddElementType(OrvIResourceBehaviorManager::kInterfaceName);
  object2_->SetFilter([this](TavAcquisitionAgent* a) { return IsActOrResourceWithBehaviour(a) && IsValidParentProcess(a); });
  parentResource_ = std::make_unique<TavPathElementAgent>("Parent Resource");
  parentResource_->SetElementType(TavIProduct::kInterfaceName);
  parentResource_->SetFilter([this](TavAcquisitionAgent* a) { return IsValidParentResource(a) && WillParentResourceBeCopied(a); });
  okCopy_ = std::make_unique<TavDialogAgent>("OkCopyAgent");
  cancelCopy_ = std::make_unique<TavDialogAgent>("CancelCopyAgent");
  okAttached_ = std::make_unique<TavDialogAgent>("OkAttachedAgent");
  cancelAttached_ = std::make_unique<TavDialogAgent>("CancelAttachedAgent");
  dot_ = std::make_unique<TavDialogAgent>("DotAgent");

  s1->AddDialogAgent(object_.get());
  s2->AddDialogAgent(object2_.get());
  s3->AddDialogAgent(okCopy_.get());
  s3->AddDialogAgent(cancelCopy_.get());
  s4->AddDialogAgent(okAttached_.get());
  s4->AddDialogAgent(cancelAttached_.get());
  s4->AddDialogAgent(dot_.get());
  s5->AddDialogAgent(parentResource_.get());
  s5->AddDialogAgent(cancelAttached_.get());

  AddTransition(s1, s2, IsOutputSetCondition(object_.get()), Action(&Self::TakeProcess));
  AddTransition(s2, s3, IsOutputSetCondition(object2_.get()), Action(&Self::ShowDialog));
  AddTransition(s3, nullptr, IsOutputSetCondition(cancelCopy_.get()));
  AddTransition(s3, nullptr, AndCondition(IsOutputSetCondition(okCopy_.get()), NotCondition(Condition(&Self::WillResourcesBeCopied))),
                Action(&Self::CopyProcessAndResources));
  AddTransition(s3, s4, IsOutputSetCondition(okCopy_.get()), Action(&Self::ShowAttachedResourcesDlg));
  AddTransition(s4, nullptr, IsOutputSetCondition(cancelAttached_.get()));
  AddTransition(s4, nullptr, IsOutputSetCondition(okAttached_.get()), Action(&Self::CopyProcessAndResources));
  AddTransition(s4, s5, IsOutputSetCondition(dot_.get()), Action(&Self::TakeDotPush));
  AddTransition(s5, s4, IsOutputSetCondition(parentResource_.get()), Action(&Self::SetParentResource));
  AddTransition(s5, nullptr, IsOutputSetCondition(cancelAttached_.get()));
}

// ------------------------------------------------------------------ filters
bool OrvVekCopyProcessAndRscCmd::IsValidCopyProcess(TavAcquisitionAgent* agent) {
  TavTraceScope scope(Trace(), kClass, "IsValidCopyProcess");
  auto* a = static_cast<TavPathElementAgent*>(agent);
  TavUnicodeString why;
  if (AcceptsProcess(a->GetValue().GetLeaf(), &why)) return true;
  a->SetFilterMessage(why);
  return false;
}

bool OrvVekCopyProcessAndRscCmd::AcceptsProcess(const Ref<TavBaseUnknown>& candidate, TavUnicodeString* why) {
  auto refuse = [&](TavUnicodeString text) {
    if (why) *why = std::move(text);
    return false;
  };
  auto activity = query<TavISPPActivity>(candidate);
  if (!activity) return refuse(Msg("OrvVekCopyProcessAndRscCmd.NotAnActivity.Text", "Pick an activity to copy."));
  if (activity->IsOfType("AssemblyOperation"))
    return refuse(Msg("OrvVekCopyProcessAndRscCmd.AssemblyOperation.Text", "An assembly operation cannot be copied."));
  if (OrvVekCopyResourceServices::IsHubMode(TavDocumentOf(candidate)))
    for (const auto& row : OrvVekCopyProcessServices::GetAttachedResources(activity))
      if (!OrvVekCopyResourceServices::ResourceIsSaved(row.resource))
        return refuse(Msg("OrvVekCopyProcessAndRscCmd.NotSaved.Text",
                          "The resource \"/P1\" of this process is not saved yet: save the plant first.",
                          {row.resource->GetName()}));
  return true;
}

bool OrvVekCopyProcessAndRscCmd::IsActOrResourceWithBehaviour(TavAcquisitionAgent* agent) {
  TavTraceScope scope(Trace(), kClass, "IsActOrResourceWithBehaviour");
  auto* a = static_cast<TavPathElementAgent*>(agent);
  auto leaf = a->GetValue().GetLeaf();
  if (query<TavISPPActivity>(leaf) || OrvVekServices::CanResourceHaveBehavior(leaf)) return true;
  a->SetFilterMessage(Msg("OrvVekCopyProcessAndRscCmd.NoBehaviour.Text", "This resource cannot have a behaviour."));
  return false;
}

bool OrvVekCopyProcessAndRscCmd::IsValidParentProcess(TavAcquisitionAgent* agent) {
  TavTraceScope scope(Trace(), kClass, "IsValidParentProcess");
  auto* a = static_cast<TavPathElementAgent*>(agent);
  TavUnicodeString why;
  if (AcceptsParent(a->GetValue().GetLeaf(), &why)) return true;
  a->SetFilterMessage(why);
  return false;
}

bool OrvVekCopyProcessAndRscCmd::AcceptsParent(const Ref<TavBaseUnknown>& candidate, TavUnicodeString* why) {
  auto refuse = [&](TavUnicodeString text) {
    if (why) *why = std::move(text);
    return false;
  };
  auto activity = query<TavISPPActivity>(candidate);
  if (!activity && !OrvVekServices::CanResourceHaveBehavior(candidate))
    return refuse(Msg("OrvVekCopyProcessAndRscCmd.NoBehaviour.Text", "This resource cannot have a behaviour."));
  if (!process_) return true;
  const TavUnicodeString type = process_->GetTypeName();
  // A resource's behaviour has no plan type of its own: it takes any copy.
  if (activity && OrvVekCopyResourceServices::IsHubMode(TavDocumentOf(candidate))) {
    if (std::getenv("ADL_ODT_OUT") && std::getenv("VEK_ENABLE_ODT_COPYPROCESS_03")) return IsOutsideProcess(candidate, why);
    auto object = query<OrvIMHIPlanTypeObject>(candidate);
    auto planType = object ? object->GetPlanType() : nullptr;
    std::vector<TavUnicodeString> allowed;
    if (!planType || FAILED(planType->GetAllowedChildTypes(allowed))) return IsOutsideProcess(candidate, why);
    for (const auto& t : allowed)
      if (t == type) return IsOutsideProcess(candidate, why);
    return refuse(Msg("OrvVekCopyProcessAndRscCmd.WrongPlanType.Text", "Plan type \"/P1\" does not allow a child of type \"/P2\".",
                      {planType->GetName(), type}));
  }
  if (!activity) return true;
  auto rule = AllowedChildren().find(activity->GetTypeName().utf8());
  if (rule != AllowedChildren().end() &&
      std::none_of(rule->second.begin(), rule->second.end(), [&](const std::string& t) { return process_->IsOfType(TavUnicodeString(t)); }))
    return refuse(Msg("OrvVekCopyProcessAndRscCmd.WrongParentType.Text", "An activity of type \"/P1\" cannot hold one of type \"/P2\".",
                      {activity->GetTypeName(), type}));
  return IsOutsideProcess(candidate, why);
}

bool OrvVekCopyProcessAndRscCmd::IsOutsideProcess(const Ref<TavBaseUnknown>& candidate, TavUnicodeString* why) {
  const int own = ModelNumber(process_);
  for (Ref<TavBaseUnknown> o = candidate; o;) {
    if (ModelNumber(o) == own) {
      if (why)
        *why = Msg("OrvVekCopyProcessAndRscCmd.ParentInside.Text",
                   "The copy cannot go below the process to copy or one of its activities.");
      return false;
    }
    auto up = query<TavISPPAbstractActivity>(o);
    o = up ? up->GetFather() : nullptr;
  }
  return true;
}

bool OrvVekCopyProcessAndRscCmd::IsValidParentResource(TavAcquisitionAgent* agent) {
  TavTraceScope scope(Trace(), kClass, "IsValidParentResource");
  auto* a = static_cast<TavPathElementAgent*>(agent);
  if (row_ < 0 || row_ >= static_cast<int>(resources_.size())) return false;
  const TavUnicodeString planType = OrvVekCopyResourceServices::PlanTypeOf(resources_[row_]);
  Ref<TavISPPProcessContainer> container;
  const auto result = OrvVekCopyResourceServices::DetermineParentResource(a->GetValue(), container, CurrentDocument(), planType);
  if (result == OrvVekAcceptable) return true;
  a->SetFilterMessage(OrvVekCopyResourceServices::ResultMessage(result, planType));
  return false;
}

bool OrvVekCopyProcessAndRscCmd::WillParentResourceBeCopied(TavAcquisitionAgent* agent) {
  TavTraceScope scope(Trace(), kClass, "WillParentResourceBeCopied");
  auto* a = static_cast<TavPathElementAgent*>(agent);
  if (!IsCopied(a->GetValue().GetLeaf())) return true;
  a->SetFilterMessage(Msg("OrvVekCopyProcessAndRscCmd.ParentCopied.Text", "This resource is copied itself: pick another father."));
  return false;
}

bool OrvVekCopyProcessAndRscCmd::IsCopied(const Ref<TavBaseUnknown>& product) const {
  return product && rowOf_.count(Key(product)) > 0;
}

// ------------------------------------------------------------------ actions
bool OrvVekCopyProcessAndRscCmd::TakeProcess() {
  TavTraceScope scope(Trace(), kClass, "TakeProcess");
  process_ = query<TavISPPActivity>(object_->GetValue().GetLeaf());
  if (auto ed = TavFrmEditor::GetCurrentEditor()) ed->GetCSO().Empty();
  return true;
}

bool OrvVekCopyProcessAndRscCmd::ShowDialog() {
  TavTraceScope scope(Trace(), kClass, "ShowDialog");
  parent_ = object2_->GetValue().GetLeaf();
  if (auto ed = TavFrmEditor::GetCurrentEditor()) ed->GetCSO().Empty();
  dialog_ = std::make_unique<OrvVekCopyProcessAndRscDlg>();
  dialog_->Build();
  dialog_->SetCopyName(Msg("CopyName", "Copy of /P1", {process_ ? process_->GetLabel() : TavUnicodeString()}));
  okCopy_->AcceptOnNotify(dialog_.get(), TavDlgNotification::OK);
  cancelCopy_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Cancel);
  cancelCopy_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Close);
  dialog_->SetVisibility(true);
  return true;
}

bool OrvVekCopyProcessAndRscCmd::WillResourcesBeCopied() { return dialog_ && dialog_->WillResourcesBeCopied(); }

bool OrvVekCopyProcessAndRscCmd::ShowAttachedResourcesDlg() {
  TavTraceScope scope(Trace(), kClass, "ShowAttachedResourcesDlg");
  if (dialog_) dialog_->SetVisibility(false);
  GetAttachedResourcesOfRootAndSubActivities(process_);
  if (resources_.empty()) ShowNoResourcesDialog();
  attached_ = std::make_unique<OrvVekCopyProcessAttachedRscDlg>();
  std::vector<OrvVekCopyProcessAttachedRscDlg::Row> rows;
  for (std::size_t i = 0; i < resources_.size(); ++i)
    rows.push_back({NameOf(resources_[i]), newNames_[i], NameOf(newFathers_[i]), !childFlags_[i] && LeadRow(i) == static_cast<int>(i)});
  attached_->SetRows(rows);
  // A resource shown again follows its first row; a child shows its father's copy
  // (when the father has a row) as father. One pass: a lead row comes first.
  for (std::size_t i = 0; i < resources_.size(); ++i) {
    const int at = static_cast<int>(i), lead = LeadRow(i);
    if (lead != at) {
      attached_->SetNewName(at, attached_->GetNewName(lead));
      attached_->SetParentName(at, attached_->GetParentName(lead));
    } else if (childFlags_[i]) {
      auto father = rowOf_.find(Key(resources_[i]->GetFatherProduct()));
      if (father != rowOf_.end()) attached_->SetParentName(at, attached_->GetNewName(static_cast<int>(father->second)));
    }
  }
  attached_->SetOnNameChange([this](int row) { OnNameChange(row); });
  okAttached_->AcceptOnNotify(attached_.get(), TavDlgNotification::OK);
  cancelAttached_->AcceptOnNotify(attached_.get(), TavDlgNotification::Cancel);
  cancelAttached_->AcceptOnNotify(attached_.get(), TavDlgNotification::Close);
  for (auto* b : attached_->DotButtons()) dot_->AcceptOnNotify(b, TavDlgNotification::Activate);
  attached_->SetVisibility(true);
  return true;
}

int OrvVekCopyProcessAndRscCmd::LeadRow(std::size_t row) const {
  return row < lead_.size() ? static_cast<int>(lead_[row]) : static_cast<int>(row);
}

void OrvVekCopyProcessAndRscCmd::IndexRows() {
  rowOf_.clear();
  lead_.resize(resources_.size());
  for (std::size_t i = 0; i < resources_.size(); ++i) lead_[i] = rowOf_.emplace(Key(resources_[i]), i).first->second;
}

void OrvVekCopyProcessAndRscCmd::OnNameChange(int row) {
  if (!attached_) return;
  // Rows that follow the edited one: the same resource shown again, and the
  // resources copied with it (whose father shown is its copy's name).
  for (std::size_t i = 0; i < resources_.size(); ++i) {
    if (static_cast<int>(i) == row) continue;
    if (LeadRow(i) == row) {
      attached_->SetNewName(static_cast<int>(i), attached_->GetNewName(row));
      attached_->SetParentName(static_cast<int>(i), attached_->GetParentName(row));
    } else if (childFlags_[i] && resources_[i] && SameObject(resources_[i]->GetFatherProduct(), resources_[row])) {
      attached_->SetParentName(static_cast<int>(i), attached_->GetNewName(row));
    }
  }
}

bool OrvVekCopyProcessAndRscCmd::TakeDotPush() {
  TavTraceScope scope(Trace(), kClass, "TakeDotPush");
  row_ = attached_ ? attached_->GetPushedRow() : -1;
  dot_->InitializeAcquisition();
  parentResource_->InitializeAcquisition();
  return true;
}

bool OrvVekCopyProcessAndRscCmd::SetParentResource() {
  TavTraceScope scope(Trace(), kClass, "SetParentResource");
  auto father = OrvVekCopyResourceServices::DetermineResource(parentResource_->GetValue());
  if (father && row_ >= 0 && row_ < static_cast<int>(newFathers_.size())) {
    newFathers_[row_] = father;
    if (attached_) {
      attached_->SetParentName(row_, father->GetName());
      OnNameChange(row_);
    }
  }
  if (auto ed = TavFrmEditor::GetCurrentEditor()) ed->GetCSO().Empty();
  parentResource_->InitializeAcquisition();
  dot_->InitializeAcquisition();
  row_ = -1;
  return true;
}

void OrvVekCopyProcessAndRscCmd::GetAttachedResourcesOfRootAndSubActivities(const Ref<TavISPPActivity>& process) {
  TavTraceScope scope(Trace(), kClass, "GetAttachedResourcesOfRootAndSubActivities");
  ClearRows();
  auto defaultFather = GetDefaultParentResource(parent_);
  const TavUnicodeString prefix =
      TavMsgCatalog::BuildMessage("OrvVekCopyResourceCmd", "OrvVekCopyResourceCmd.CopyPrefix.Text", {}, "Copy of ");
  for (auto& row : OrvVekCopyProcessServices::GetAttachedResources(process)) {
    resources_.push_back(row.resource);
    activities_.push_back(row.activity);
    types_.push_back(row.type);
    childFlags_.push_back(row.childOfAssigned);
    // A child's copy keeps its name below its father's copy.
    newNames_.push_back(row.childOfAssigned ? row.resource->GetName() : prefix + row.resource->GetName());
    // Copies of children go with their father's copy; the others below the proposed
    // father, else beside their source.
    Ref<TavIProduct> father = row.childOfAssigned ? row.resource->GetFatherProduct()
                              : defaultFather     ? defaultFather
                                                  : row.resource->GetFatherProduct();
    newFathers_.push_back(father);
  }
  IndexRows();
  // A father that is copied itself cannot take a copy.
  for (std::size_t i = 0; i < resources_.size(); ++i)
    if (!childFlags_[i] && IsCopied(newFathers_[i])) newFathers_[i] = nullptr;
}

Ref<TavIProduct> OrvVekCopyProcessAndRscCmd::GetDefaultParentResource(const Ref<TavBaseUnknown>& newParent) {
  if (!query<TavISPPActivity>(newParent)) {
    // A resource's behaviour: the copies go below that resource.
    auto resource = query<TavIProduct>(newParent);
    return resource && resource->IsResource() ? resource : nullptr;
  }
  for (Ref<TavBaseUnknown> o = newParent; o;) {
    if (auto behaviour = query<OrvIResourceBehavior>(o)) return behaviour->GetResource();
    if (auto resources = query<TavISPPResourceManagement>(o))
      for (const auto& r : resources->GetResources(0))
        if (auto p = query<TavIProduct>(r)) return p;
    auto up = query<TavISPPAbstractActivity>(o);
    o = up ? up->GetFather() : nullptr;
  }
  return nullptr;
}

void OrvVekCopyProcessAndRscCmd::RemoveResourcesWithoutValidParent() {
  TavTraceScope scope(Trace(), kClass, "RemoveResourcesWithoutValidParent");
  std::vector<bool> drop(resources_.size(), false);
  for (std::size_t i = 0; i < resources_.size(); ++i) {
    const TavUnicodeString parentName = attached_ ? attached_->GetParentName(static_cast<int>(i)) : NameOf(newFathers_[i]);
    drop[i] = parentName.Strip().IsEmpty() || !newFathers_[i];
  }
  // A child goes with its ancestor's copy: without that copy it has none.
  std::unordered_set<const TavBaseUnknown*> copiedAncestors;
  for (std::size_t i = 0; i < resources_.size(); ++i)
    if (!childFlags_[i] && !drop[i]) copiedAncestors.insert(Key(resources_[i]));
  for (std::size_t i = 0; i < resources_.size(); ++i) {
    if (!childFlags_[i] || drop[i]) continue;
    bool kept = false;
    for (auto f = resources_[i]->GetFatherProduct(); f && !kept; f = f->GetFatherProduct()) kept = copiedAncestors.count(Key(f)) > 0;
    drop[i] = !kept;
  }
  for (std::size_t i = 0; i < resources_.size(); ++i)
    if (drop[i] && !childFlags_[i] && LeadRow(i) == static_cast<int>(i)) notCopied_.push_back(resources_[i]->GetName());
  std::size_t out = 0;
  for (std::size_t i = 0; i < resources_.size(); ++i) {
    if (drop[i]) continue;
    resources_[out] = resources_[i];
    newFathers_[out] = newFathers_[i];
    activities_[out] = activities_[i];
    types_[out] = types_[i];
    newNames_[out] = newNames_[i];
    childFlags_[out] = childFlags_[i];
    ++out;
  }
  for (auto* v : {&resources_, &newFathers_}) v->resize(out);
  activities_.resize(out);
  types_.resize(out);
  newNames_.resize(out);
  childFlags_.resize(out);
  IndexRows();
}

void OrvVekCopyProcessAndRscCmd::ShowNoResourcesDialog() {
  TavDlgNotify box(nullptr, "Warning", TavDlgNotify::Warning);
  box.DisplayBox(Msg("WarningWnd.Title", "Copy Process"),
                 Msg("NoResources.Text", "No resource is attached to this process: only the activities are copied."));
  box.DisplayBlocked();
}

Ref<TavBaseUnknown> OrvVekCopyProcessAndRscCmd::NewParentForCopy() {
  if (query<TavISPPActivity>(parent_)) return parent_;
  int canHave = 0;
  bool existed = true;
  Ref<OrvIResourceBehavior> behaviour;
  OrvVekServices::GetResourceBehavior(parent_, canHave, behaviour, existed);
  return behaviour;
}

bool OrvVekCopyProcessAndRscCmd::CopyProcessAndResources() {
  TavTraceScope scope(Trace(), kClass, "CopyProcessAndResources");
  if (!dialog_) return true;
  const TavUnicodeString name = dialog_->GetCopyName();
  const int options = dialog_->GetCopyOptions();
  if (dialog_) dialog_->SetVisibility(false);
  if (attached_) attached_->SetVisibility(false);
  if (OrvVekCopyProcessServices::IsCopyingResources(options) && attached_) {
    for (std::size_t i = 0; i < newNames_.size(); ++i) newNames_[i] = attached_->GetNewName(static_cast<int>(i));
    notCopied_.clear();
    RemoveResourcesWithoutValidParent();
  } else if (!OrvVekCopyProcessServices::IsCopyingResources(options)) {
    ClearRows();
  }
  TavUnicodeString why;
  if (!CopyInBatch(name, options, &why)) ShowError(why);
  else if (!copied_.empty() || !notCopied_.empty()) ShowWarning();
  notCopied_.clear();
  return true;
}

bool OrvVekCopyProcessAndRscCmd::CopyInBatch(const TavUnicodeString& name, int options, TavUnicodeString* why) {
  copied_.clear();
  copy_ = nullptr;
  auto fail = [&](TavUnicodeString text) {
    if (why) *why = std::move(text);
    ClearRows();
    return false;
  };
  if (name.Strip().IsEmpty()) return fail(Msg("OrvVekCopyProcessAndRscCmd.EmptyName.Text", "The copy needs a name."));
  if (!attached_ && OrvVekCopyProcessServices::IsCopyingResources(options)) {
    notCopied_.clear();
    GetAttachedResourcesOfRootAndSubActivities(process_);
    RemoveResourcesWithoutValidParent();
  }
  // A behaviour made for the copy goes again when the copy fails.
  TavSavepoint mark;
  auto parent = NewParentForCopy();
  const HRESULT hr = OrvVekCopyProcessServices::CopyProcessAndResource(process_, parent, name, resources_, newFathers_, types_,
                                                                       newNames_, activities_, childFlags_, copied_, options, &copy_);
  // The temporary rows are released whatever happened.
  ClearRows();
  if (FAILED(hr)) {
    mark.RollBack();
    copied_.clear();
    return fail(Msg("OrvVekCopyProcessAndRscCmd.CopyFailed.Text",
                    "\"/P1\" could not be copied there: the parent refused it. Nothing was changed.",
                    {process_ ? process_->GetLabel() : TavUnicodeString()}));
  }
  return true;
}

void OrvVekCopyProcessAndRscCmd::ClearRows() {
  rowOf_.clear();
  lead_.clear();
  resources_.clear();
  newFathers_.clear();
  activities_.clear();
  types_.clear();
  newNames_.clear();
  childFlags_.clear();
}

void OrvVekCopyProcessAndRscCmd::ShowWarning() {
  const int count = static_cast<int>(copied_.size());
  TavUnicodeString text = count == 1   ? Msg("WarningWnd.Text1", "This resource was copied:")
                          : count <= kMaxListed ? Msg("WarningWnd.Text2", "These resources were copied:")
                                                : Msg("WarningWnd.Text3", "Resources were copied; the first 20 are:");
  for (int i = 0; i < count && i < kMaxListed; ++i)
    text = text + TavUnicodeString("\n") + copied_[i]->GetPartNumber() + bracketsOpen_ + copied_[i]->GetName() + bracketsClose_;
  // Rows left without a father were not copied: say so rather than let the copy
  // quietly lose their relations.
  if (!notCopied_.empty()) {
    text = count ? text + TavUnicodeString("\n\n") : TavUnicodeString();
    text = text + Msg("WarningWnd.NotCopied", "These resources have no father for their copy and were not copied:");
    for (const auto& n : notCopied_) text = text + TavUnicodeString("\n") + n;
  }
  TavDlgNotify box(nullptr, "Warning", TavDlgNotify::Warning);
  box.DisplayBox(Msg("WarningWnd.Title", "Copy Process"), text);
  box.DisplayBlocked();
}

void OrvVekCopyProcessAndRscCmd::ShowError(const TavUnicodeString& text) {
  TavDlgNotify box(nullptr, "Error Message", TavDlgNotify::Error);
  box.DisplayBox(Msg("ErrorWnd.Title", "Copy Process"), text);
  box.DisplayBlocked();
}
