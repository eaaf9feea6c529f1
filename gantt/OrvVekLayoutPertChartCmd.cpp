#include "OrvVekLayoutPertChartCmd.h"

#include <cstdio>

namespace {
const TavTrace& Trace() {
  static TavTrace t("OrvVekLayoutPertChartTrace", "Traces for module OrvVekLayoutPertChart");
  return t;
}
constexpr const char* kClass = "OrvVekLayoutPertChartCmd";

TavUnicodeString Msg(const char* key, const char* fallback) {
  return TavMsgCatalog::BuildMessage(OrvVekLayoutPertChartCmd::kCatalog, key, {}, fallback);
}
}  // namespace

OrvVekLayoutPertChartCmd::OrvVekLayoutPertChartCmd() : TavStateCommand("OrvVekLayoutPertChartCmd", 0, 0) {
  TavTraceScope scope(Trace(), kClass, "OrvVekLayoutPertChartCmd");
}

OrvVekLayoutPertChartCmd::~OrvVekLayoutPertChartCmd() {
  TavTraceScope scope(Trace(), kClass, "~OrvVekLayoutPertChartCmd");
  if (dialog_) {
    if (okAgent_) okAgent_->RemoveNotify(dialog_.get());
    if (closeAgent_) closeAgent_->RemoveNotify(dialog_.get());
  }
  dialog_.reset();
}

std::unique_ptr<TavStateCommand> fctCreateOrvVekLayoutPertChartCmd() { return std::make_unique<OrvVekLayoutPertChartCmd>(); }

void OrvVekLayoutPertChartCmd::BuildGraph() {
  TavTraceScope scope(Trace(), kClass, "BuildGraph");
  using Self = OrvVekLayoutPertChartCmd;
  auto* pick = GetInitialState("PickAnObject");
  auto* enter = AddDialogState("EnterValues");
  agent_ = std::make_unique<TavPathElementAgent>("ObjectPicked");
  agent_->SetElementType(TavIGENode::kInterfaceName);
  pick->AddDialogAgent(agent_.get());

  dialog_ = std::make_unique<OrvVekLayoutPertChartDlg>();
  dialog_->Build();
  dialog_->SetVisibility(false);
  okAgent_ = std::make_unique<TavDialogAgent>("OKAgent");
  okAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::OK);
  closeAgent_ = std::make_unique<TavDialogAgent>("CloseAgent");
  closeAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Cancel);
  closeAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Close);
  enter->AddDialogAgent(okAgent_.get());
  enter->AddDialogAgent(closeAgent_.get());
  enter->SetEntryAction([this] { ShowDialog(); });
  enter->SetExitAction([this] { HideDialog(); });

  AddTransition(pick, enter, AndCondition(IsOutputSetCondition(agent_.get()), Condition(&Self::IsValidObjectPicked)));
  AddTransition(enter, nullptr, AndCondition(IsOutputSetCondition(okAgent_.get()), Condition(&Self::AreValuesEntered)),
                Action(&Self::InitPositioning));
  AddTransition(enter, nullptr, IsOutputSetCondition(closeAgent_.get()));
}

bool OrvVekLayoutPertChartCmd::IsValidObjectPicked() {
  TavTraceScope scope(Trace(), kClass, "IsValidObjectPicked");
  node_ = query<TavIGENode>(agent_->GetValue().GetLeaf());
  bool linked = false;
  if (node_ && SUCCEEDED(OrvVekLayoutPertChart::IsNodeLinked(node_, linked)) && linked) return true;
  Notify("OrvVekLayoutPertChartCmd.NoConnection.Title", "Layout PERT Chart",
         Msg("OrvVekLayoutPertChartCmd.NoConnection.Msg",
             "The picked box has no flow or precedence to another box: pick a linked one."));
  node_ = nullptr;
  agent_->InitializeAcquisition();
  return false;
}

bool OrvVekLayoutPertChartCmd::AreValuesEntered() {
  TavTraceScope scope(Trace(), kClass, "AreValuesEntered");
  x_ = dialog_->GetXVal();
  y_ = dialog_->GetYVal();
  return true;
}

bool OrvVekLayoutPertChartCmd::InitPositioning() {
  TavTraceScope scope(Trace(), kClass, "InitPositioning");
  const double grid = OrvVekLayoutPertChart::GetDefaultGridSize();
  if (x_ < grid && y_ < grid) {
    char text[64];
    std::snprintf(text, sizeof text, "%g", grid);
    Notify("OrvVekLayoutPertChartCmd.LowValues.Title", "Layout PERT Chart",
           Msg("OrvVekLayoutPertChartCmd.LowValues.Msg", "Give X or Y at least the grid size: ") +
               TavUnicodeString(text));
    return true;
  }
  OrvVekLayoutPertChart::LayoutPertChart(node_, x_, y_);
  return true;
}

void OrvVekLayoutPertChartCmd::ShowDialog() {
  TavTraceScope scope(Trace(), kClass, "ShowDialog");
  dialog_->SetVisibility(true);
  if (auto* ok = dialog_->OKButton()) ok->SetSensitivity(true);
}

void OrvVekLayoutPertChartCmd::HideDialog() {
  TavTraceScope scope(Trace(), kClass, "HideDialog");
  if (dialog_) dialog_->SetVisibility(false);
}

void OrvVekLayoutPertChartCmd::Notify(const char* titleKey, const char* titleFallback, const TavUnicodeString& text) const {
  TavDlgNotify box(nullptr, "LayoutPertChart", TavDlgNotify::Information);
  box.DisplayBox(Msg(titleKey, titleFallback), text);
  box.DisplayBlocked();
}
