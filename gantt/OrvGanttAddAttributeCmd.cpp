#include "OrvGanttAddAttributeCmd.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <unordered_set>

#include "TavActivityLib.h"
#include "TavCopy.h"
#include "TavGantt.h"
#include "TavServices.h"
#include "TavStates.h"

namespace {
const TavTrace& Trace() {
  static TavTrace t("OrvGanttAddAttributeTrace", "Traces for module OrvGanttAddAttribute");
  return t;
}
constexpr const char* kClass = "OrvGanttAddAttributeCmd";

TavUnicodeString Msg(const char* key, const char* fallback) {
  return TavMsgCatalog::BuildMessage(OrvGanttAddAttributeCmd::kCatalog, key, {}, fallback);
}

// The Gantt window's own columns: never offered as attribute columns. The keys an
// activity type declares spell one of them with its unit.
constexpr std::array<std::string_view, 23> kStandardNames = {
    "SpecifiedCT", "CalculatedCT", "Description", "CalculatedBeginTime", "SpecifiedBeginning",
    "_NumberAsssignedFasteners", "_LengthOfAssignedCurveFasteners", "Length Of Curve Fastener",
    "Number Of Point Fasteners", "CCT Duration", "SCT Duration", "Begin Time", "End Time", "Resource",
    "Activity/Resource", "Label", "Duration_SCT", "Duration_CCT", "BeginTime", "EndTime", "Utilization",
    "Specified", "Calculated"};
constexpr std::string_view kCurveLength = "Length Of Curve Fastener", kCurveLengthOfType = "Length Of Curve Fastener (m)";

bool IsStandardName(const TavUnicodeString& name, bool typeKeys) {
  const std::string& n = name.utf8();
  if (typeKeys && n == kCurveLengthOfType) return true;
  if (typeKeys && n == kCurveLength) return false;
  return std::find(kStandardNames.begin(), kStandardNames.end(), n) != kStandardNames.end();
}

Ref<TavDocument> CurrentDocument() {
  auto ed = TavFrmEditor::GetCurrentEditor();
  return ed ? ed->GetDocument() : nullptr;
}

void Append(std::vector<TavUnicodeString>& to, const std::vector<TavUnicodeString>& from) {
  to.insert(to.end(), from.begin(), from.end());
}
}  // namespace

OrvGanttAddAttributeCmd::OrvGanttAddAttributeCmd() : TavStateCommand("OrvGanttAddAttributeCmd", 0, 64) {
  TavTraceScope scope(Trace(), kClass, "OrvGanttAddAttributeCmd");
  prompt_ = std::make_unique<TavDlgNotify>(nullptr, "NotifyDlg1", TavDlgNotify::Information);
  prompt_->DisplayBox(TavMsgCatalog::BuildMessage(kPromptCatalog, "NotifyDlg1.Title", {}, "Gantt Attribute Columns"),
                      TavMsgCatalog::BuildMessage(kPromptCatalog, "BalloonHelp.Title", {}, "Select Activity/Resource"));
  prompt_->SetVisibility(true);
}

std::unique_ptr<TavStateCommand> fctCreateOrvGanttAddAttributeCmd() { return std::make_unique<OrvGanttAddAttributeCmd>(); }

OrvGanttAddAttributeCmd::~OrvGanttAddAttributeCmd() {
  TavTraceScope scope(Trace(), kClass, "~OrvGanttAddAttributeCmd");
  if (dialog_) {
    if (okAgent_) okAgent_->RemoveNotify(dialog_.get());
    if (cancelAgent_) cancelAgent_->RemoveNotify(dialog_.get());
  }
  dialog_.reset();
  prompt_.reset();
}

void OrvGanttAddAttributeCmd::BuildGraph() {
  TavTraceScope scope(Trace(), kClass, "BuildGraph");
  using Self = OrvGanttAddAttributeCmd;
  auto* select = GetInitialState("SelectActivity");
  auto* selected = AddDialogState("ActivitySelected");
  pickAgent_ = std::make_unique<TavPathElementAgent>("SelectActivityOrResource");
  pickAgent_->SetElementType(TavISPPActivity::kInterfaceName);
  pickAgent_->AddElementType(TavIProduct::kInterfaceName);
  pickAgent_->SetFilter([this](TavAcquisitionAgent* a) { return IsActivityOrResource(a); });
  select->AddDialogAgent(pickAgent_.get());
  okAgent_ = std::make_unique<TavDialogAgent>("OKAgent");
  cancelAgent_ = std::make_unique<TavDialogAgent>("CancelAgent");
  selected->AddDialogAgent(okAgent_.get());
  selected->AddDialogAgent(cancelAgent_.get());

  AddTransition(select, selected, IsOutputSetCondition(pickAgent_.get()), Action(&Self::ShowGanttAddAttributeDlg));
  AddTransition(selected, nullptr, IsOutputSetCondition(okAgent_.get()), Action(&Self::OnOK));
  AddTransition(selected, nullptr, IsOutputSetCondition(cancelAgent_.get()), Action(&Self::OnCancel));
}

// ------------------------------------------------------------------ the pick
bool OrvGanttAddAttributeCmd::IsActivityOrResource(TavAcquisitionAgent* agent) {
  TavTraceScope scope(Trace(), kClass, "IsActivityOrResource");
  auto* a = static_cast<TavPathElementAgent*>(agent);
  if (!a) return false;
  if (AcceptsObject(a->GetValue().GetLeaf())) return true;
  a->SetFilterMessage(Msg("NotActivityOrResource", "Select an activity or a resource of the process."));
  return false;
}

bool OrvGanttAddAttributeCmd::AcceptsObject(const Ref<TavBaseUnknown>& object) const {
  TavTraceScope scope(Trace(), kClass, "AcceptsObject");
  if (query<TavISPPActivity>(object)) return true;
  auto product = query<TavIProduct>(object);
  auto resources = product ? TavProcessResourceListOf(CurrentDocument()) : nullptr;
  if (!resources) return false;
  // A resource of the list, or a product anywhere below one.
  for (auto p = product; p; p = p->GetFatherProduct())
    if (resources->HasResource(p)) return true;
  return false;
}

bool OrvGanttAddAttributeCmd::ShowGanttAddAttributeDlg() {
  TavTraceScope scope(Trace(), kClass, "ShowGanttAddAttributeDlg");
  if (ShowGanttAddAttributeDlg(pickAgent_->GetValue().GetLeaf())) return true;
  // Nothing to choose from: the user may pick another object.
  pickAgent_->InitializeAcquisition();
  return false;
}

bool OrvGanttAddAttributeCmd::ShowGanttAddAttributeDlg(const Ref<TavBaseUnknown>& object) {
  TavTraceScope scope(Trace(), kClass, "ShowGanttAddAttributeDlg");
  auto activity = query<TavISPPActivity>(object);
  const auto attributes = activity ? GetAttributesFromActivity(activity) : GetAttributesFromResource(object);
  if (attributes.empty()) {
    ShowNoAttributeError();
    return false;
  }
  if (!dialog_) {
    dialog_ = std::make_unique<OrvGanttAddAttributeDlg>();
    okAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::OK);
    cancelAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Cancel);
    cancelAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Close);
  }
  dialog_->Build(attributes);
  if (prompt_) prompt_->SetVisibility(false);
  dialog_->SetVisibility(true);
  return true;
}

void OrvGanttAddAttributeCmd::ShowNoAttributeError() {
  TavDlgNotify box(nullptr, "OrvGanttAddAttributeCmdError", TavDlgNotify::Error);
  box.DisplayBox(Msg("Error.Title", "Error"), Msg("NoAtrribute.Title", "The selected object has no attribute to show as a column."));
  box.DisplayBlocked();
}

// ------------------------------------------------------------------ attributes
std::vector<TavUnicodeString> OrvGanttAddAttributeCmd::GetAttributesFromActivity(const Ref<TavISPPActivity>& activity) {
  TavTraceScope scope(Trace(), kClass, "GetAttributesFromActivity");
  std::vector<TavUnicodeString> keys;
  if (!activity) return keys;
  auto* cache = OrvVekPlantypeCache::GetInstance();
  auto type = cache ? cache->FindType(activity->GetTypeName()) : nullptr;
  if (auto declared = query<TavIActivityTypeAttributes>(type)) Append(keys, declared->GetAttributeKeys());
  if (auto spec = query<TavISpecAttrAccess>(type)) Append(keys, spec->ListAttributeKeys());
  FilterAttributes(keys, true);
  if (auto own = query<TavISpecAttrAccess>(activity)) {
    auto names = own->ListAttributeKeys();
    FilterAttributes(names, false);
    Append(keys, names);
    RemoveDuplicates(keys);
  }
  return keys;
}

std::vector<TavUnicodeString> OrvGanttAddAttributeCmd::GetAttributesFromResource(const Ref<TavBaseUnknown>& resource) {
  TavTraceScope scope(Trace(), kClass, "GetAttributesFromResource");
  std::vector<TavUnicodeString> names;
  if (auto properties = query<TavIPrdProperties>(resource))
    for (const auto& parameter : properties->GetParameters())
      if (parameter) names.push_back(parameter->GetName());
  FilterAttributes(names, false);
  return names;
}

void OrvGanttAddAttributeCmd::FilterAttributes(std::vector<TavUnicodeString>& attributes, bool typeKeys) {
  TavTraceScope scope(Trace(), kClass, "FilterAttributes");
  std::erase_if(attributes, [typeKeys](const TavUnicodeString& a) {
    return IsStandardName(a, typeKeys) || !OrvGanttAddAttributeDlg::CanBeStored(a);
  });
  RemoveDuplicates(attributes);
}

// ------------------------------------------------------------------ the dialog's end
bool OrvGanttAddAttributeCmd::OnOK() {
  TavTraceScope scope(Trace(), kClass, "OnOK");
  if (dialog_ && !dialog_->OnOK()) {
    // Not saved (the user was told): the dialog stays for another try or a cancel.
    okAgent_->InitializeAcquisition();
    return false;
  }
  return true;
}

bool OrvGanttAddAttributeCmd::OnCancel() {
  TavTraceScope scope(Trace(), kClass, "OnCancel");
  if (dialog_) dialog_->OnCancel();
  return true;
}
