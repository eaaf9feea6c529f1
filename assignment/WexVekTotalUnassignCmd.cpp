#include "WexVekTotalUnassignCmd.h"

#include "OrvVekUnassignServices.h"
#include "TavResources.h"
#include "TavServices.h"
#include "TavWalk.h"

namespace {
const TavTrace& Trace() {
  static TavTrace t("TavWexVekTotalUnassignTrace", "Traces for module WexVekTotalUnassign");
  return t;
}
constexpr const char* kClass = "WexVekTotalUnassignCmd";

TavUnicodeString Msg(const std::string& key, const char* fallback) {
  return TavMsgCatalog::BuildMessage(WexVekTotalUnassignCmd::kCatalog, key, {}, fallback);
}

}  // namespace

WexVekTotalUnassignCmd::WexVekTotalUnassignCmd() : TavStateCommand("WexVekTotalUnassignCmd", 0, 64) {}

std::unique_ptr<TavStateCommand> fctCreateWexVekTotalUnassignCmd() { return std::make_unique<WexVekTotalUnassignCmd>(); }

WexVekTotalUnassignCmd::~WexVekTotalUnassignCmd() {
  TavTraceScope scope(Trace(), kClass, "~WexVekTotalUnassignCmd");
  if (dialog_) {
    if (okAgent_) okAgent_->RemoveNotify(dialog_.get());
    if (cancelAgent_) cancelAgent_->RemoveNotify(dialog_.get());
  }
  dialog_.reset();
}

void WexVekTotalUnassignCmd::BuildGraph() {
  TavTraceScope scope(Trace(), kClass, "BuildGraph");
  using Self = WexVekTotalUnassignCmd;
  auto* select = GetInitialState("SelectActivity");
  auto* toAssign = AddDialogState("SelectToAssign");

  activityAgent_ = std::make_unique<TavPathElementAgent>("Activity");
  activityAgent_->AddElementType(TavISPPActivity::kInterfaceName);
  activityAgent_->SetBehavior(kAgentBehavior);
  AddCSOClient(activityAgent_.get());
  okAgent_ = std::make_unique<TavDialogAgent>("OKAgent");
  cancelAgent_ = std::make_unique<TavDialogAgent>("CancelAgent");

  // Built now and hidden: the first valid pick shows it.
  dialog_ = std::make_unique<WexVekTotalUnassignDlg>(nullptr);
  dialog_->Build();
  okAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::OK);
  cancelAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Cancel);
  cancelAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Close);

  select->AddDialogAgent(activityAgent_.get());
  toAssign->AddDialogAgent(okAgent_.get());
  toAssign->AddDialogAgent(cancelAgent_.get());

  auto has = [](TavAgent* a) { return IsOutputSetCondition(a); };
  AddTransition(select, select, AndCondition(has(activityAgent_.get()), Condition(&Self::IsAssemblyOperation)),
                Action(&Self::TreatError), {activityAgent_.get()});
  AddTransition(select, toAssign, has(activityAgent_.get()), Action(&Self::ActionOne));
  AddTransition(toAssign, nullptr, has(cancelAgent_.get()), Action(&Self::Exit));
  AddTransition(toAssign, nullptr, has(okAgent_.get()), Action(&Self::OnOK));
}

bool WexVekTotalUnassignCmd::Cancel() {
  TavTraceScope scope(Trace(), kClass, "Cancel");
  Exit();
  return true;
}

bool WexVekTotalUnassignCmd::IsAssemblyOperationBasic(TavPathElementAgent* agent) {
  TavTraceScope scope(Trace(), kClass, "IsAssemblyOperationBasic");
  auto activity = query<TavISPPActivity>(agent ? agent->GetValue().GetLeaf() : nullptr);
  return activity && activity->GetTypeName() == "AssemblyOperation";
}

bool WexVekTotalUnassignCmd::IsAssemblyOperation() { return IsAssemblyOperationBasic(activityAgent_.get()); }

bool WexVekTotalUnassignCmd::TreatError() {
  TavTraceScope scope(Trace(), kClass, "TreatError");
  ThrowErrorMessage();
  ClearHSO(activityAgent_.get());
  return true;
}

void WexVekTotalUnassignCmd::ThrowErrorMessage() {
  TavTraceScope scope(Trace(), kClass, "ThrowErrorMessage");
  TavDlgNotify box(nullptr, "WexVekTotalUnassignCmdErrorWnd", TavDlgNotify::Error);
  box.DisplayBox("Error", Msg("WexVekTotalUnassignCmd.AssemblyOperationErrorMsg",
                              "The assignments of an assembly operation cannot be removed here. Pick another activity."));
  box.DisplayBlocked();
}

void WexVekTotalUnassignCmd::ClearHSO(TavPathElementAgent* agent) {
  TavTraceScope scope(Trace(), kClass, "ClearHSO");
  if (!agent) return;
  if (auto ed = TavFrmEditor::GetCurrentEditor()) ed->GetHSO().RemoveElement(agent->GetValue());
  agent->InitializeAcquisition();
}

bool WexVekTotalUnassignCmd::ActionOne() {
  TavTraceScope scope(Trace(), kClass, "ActionOne");
  activityPath_ = activityAgent_->GetValue();
  activity_ = query<TavISPPActivity>(activityPath_.GetLeaf());
  if (dialog_) dialog_->SetVisibility(true);
  return true;
}

bool WexVekTotalUnassignCmd::Exit() {
  TavTraceScope scope(Trace(), kClass, "Exit");
  if (dialog_) dialog_->SetVisibility(false);
  return true;
}

bool WexVekTotalUnassignCmd::OnOK() {
  TavTraceScope scope(Trace(), kClass, "OnOK");
  const int option = dialog_ ? dialog_->GetDeleteOption() : WexVekTotalUnassignDlg::None;
  if (dialog_) dialog_->SetVisibility(false);
  if (!activity_) return true;
  SearchAssigments(activity_, option);
  if (const int code = ReportCode(option, removedProducts_, removedResources_)) ShowErrorDlg(code);
  return true;
}

int WexVekTotalUnassignCmd::ReportCode(int option, int products, int resources) {
  if (option == 0 && products == 0) return 1;
  if (option == 1 && resources == 0) return 2;
  if (option == 2 && products == 0 && resources == 0) return 3;
  return 0;
}

void WexVekTotalUnassignCmd::SearchAssigments(const Ref<TavISPPActivity>& activity, int option) {
  TavTraceScope scope(Trace(), kClass, "SearchAssigments");
  if (!activity || option < 0 || option > 2) return;
  // The branch in walk order first, through an explicit stack: a chain of thousands
  // of nested activities is walked without recursion. Children go on in reverse, so
  // they come off in child order. Removing relations changes no child list, so the
  // removals that follow meet the activities in the same order as when interleaved,
  // and a flat list lets the host load the next activities while one is cleared.
  std::vector<Ref<TavISPPActivity>> branch, stack{activity};
  while (!stack.empty()) {
    Ref<TavISPPActivity> current = std::move(stack.back());
    stack.pop_back();
    if (!current) continue;
    if (auto children = query<TavISPPChildManagement>(current)) {
      auto list = children->GetChildActivities();
      stack.insert(stack.end(), std::make_move_iterator(list.rbegin()), std::make_move_iterator(list.rend()));
    }
    branch.push_back(std::move(current));
  }
  for (std::size_t i = 0; i < branch.size(); ++i) {
    TavWalk::Ahead(branch, i);
    if (option != 1) DeleteProdAssigments(branch[i]);
    if (option != 0) DeleteResAssigments(branch[i]);
  }
}

void WexVekTotalUnassignCmd::DeleteProdAssigments(const Ref<TavISPPActivity>& activity) {
  TavTraceScope scope(Trace(), kClass, "DeleteProdAssigments");
  // An item held only as an attached or detached resource is left to DeleteResAssigments.
  removedProducts_ += OrvVekUnassignServices::RemoveProductItems(activity);
  if (auto flow = query<TavISPPFlowMgt>(activity)) {
    for (auto& output : flow->GetOutputs()) {
      // A product output is removed through the product it carries; a control output is its own object.
      Ref<TavBaseUnknown> carried;
      if (auto io = query<TavISPPProductIO>(output)) carried = io->GetObject();
      else if (query<TavISPPControlIO>(output)) carried = output;
      if (carried && flow->RemoveOutput(carried) == S_OK) ++removedProducts_;
    }
  }
  if (auto events = query<TavISPPActivityModificationEvents>(activity)) events->SendModification(TavUnicodeString("Modify"));
}

void WexVekTotalUnassignCmd::DeleteResAssigments(const Ref<TavISPPActivity>& activity) {
  TavTraceScope scope(Trace(), kClass, "DeleteResAssigments");
  removedResources_ += OrvVekUnassignServices::RemoveResourceAssignments(activity);
}

TavUnicodeString WexVekTotalUnassignCmd::ReportTitle() { return Msg("WexVekTotalUnassignCmd.ErrorWnd.Title", "Unassign"); }

TavUnicodeString WexVekTotalUnassignCmd::ReportText(int code) {
  switch (code) {
    case 1: return Msg("WexVekTotalUnassignCmd.ErrorWnd.Text1", "No product assignment was found to remove.");
    case 2: return Msg("WexVekTotalUnassignCmd.ErrorWnd.Text2", "No resource assignment was found to remove.");
    case 3: return Msg("WexVekTotalUnassignCmd.ErrorWnd.Text3", "No product or resource assignment was found to remove.");
    default: return {};
  }
}

void WexVekTotalUnassignCmd::ShowErrorDlg(int code) {
  TavTraceScope scope(Trace(), kClass, "ShowErrorDlg");
  if (code < 1 || code > 3) return;
  TavDlgNotify box(nullptr, "CreateResource", TavDlgNotify::Error);
  box.DisplayBox(ReportTitle(), ReportText(code));
  box.DisplayBlocked();
}
