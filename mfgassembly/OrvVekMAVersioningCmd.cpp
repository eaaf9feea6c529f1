#include "OrvVekMAVersioningCmd.h"

#include "TavMfgVersioning.h"
#include "TavServices.h"

namespace {
const TavTrace& Trace() {
  static const TavTrace t("OrvVekMAVersioning", "Traces for module OrvVekMAVersioning");
  return t;
}
constexpr const char* kClass = "OrvVekMAVersioningCmd";
// The boxes' texts live in a catalogue spelt with a small v; the status line's in one
// with a capital V.
constexpr const char* kBoxCatalog = "OrvVekMAversioningCmd";
constexpr const char* kStatusCatalog = "OrvVekMAVersioningCmd";

TavUnicodeString Msg(const char* catalog, const char* key, const char* fallback) {
  return TavMsgCatalog::BuildMessage(catalog, key, {}, fallback);
}
// The host hands out assemblies themselves (no wrappers): the handle's address is the
// assembly's, without a reference count taken per look-up.
const void* Key(const Ref<OrvIMfgAssembly>& ma) { return ma.get(); }
}  // namespace

OrvVekMAVersioningCmd::OrvVekMAVersioningCmd() : TavStateCommand("OrvVekMAVersioningCmd") {}

std::unique_ptr<TavStateCommand> fctCreateOrvVekMAVersioningCmd() { return std::make_unique<OrvVekMAVersioningCmd>(); }

OrvVekMAVersioningCmd::~OrvVekMAVersioningCmd() {
  if (dialog_) {
    if (okAgent_) okAgent_->RemoveNotify(dialog_.get());
    if (closeAgent_) closeAgent_->RemoveNotify(dialog_.get());
  }
  dialog_.reset();
}

std::vector<Ref<OrvIMfgAssembly>> OrvVekMAVersioningCmd::ModifiedMAs(const Ref<TavBaseUnknown>& container) {
  std::vector<Ref<OrvIMfgAssembly>> out;
  for (auto& ma : OrvVekMfgAssyVersioningUtilities::GetModifiedMAsFromLog(container))
    if (OrvVekMfgAssyVersioningUtilities::WasMAReallyMod(ma)) out.push_back(ma);
  return out;
}

void OrvVekMAVersioningCmd::BuildGraph() {
  TavTraceScope scope(Trace(), kClass, "BuildGraph");
  using Self = OrvVekMAVersioningCmd;
  okAgent_ = std::make_unique<TavDialogAgent>("OrvVekMAVDialog");
  closeAgent_ = std::make_unique<TavDialogAgent>("OrvVekMAVDialog");
  dialog_ = std::make_unique<OrvVekMAVersioningDlg>();
  okAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::OK);
  closeAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Cancel);
  closeAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Close);
  InitializeDialog();
  dialog_->SetVisibility(true);
  auto* initial = GetInitialState("initialState");
  initial->AddDialogAgent(okAgent_.get());
  initial->AddDialogAgent(closeAgent_.get());
  AddTransition(initial, nullptr, IsOutputSetCondition(okAgent_.get()), Action(&Self::ClickOKOnDialog));
  AddTransition(initial, nullptr, IsOutputSetCondition(closeAgent_.get()), Action(&Self::ClickCloseOnDialog));
}

void OrvVekMAVersioningCmd::InitializeDialog() {
  TavTraceScope scope(Trace(), kClass, "InitializeDialog");
  Ref<TavDocument> doc;
  if (auto editor = TavFrmEditor::GetCurrentEditor()) doc = editor->GetDocument();
  auto container = OrvVekMfgAssyVersioningUtilities::GetMBNContainer(doc);
  if (container) all_ = container->GetAssemblies();
  if (!all_.empty()) modified_ = ModifiedMAs(container);
  index_ = std::make_unique<OrvVekMAVersioningIndex>(all_);
  dialog_->Initialize(modified_, index_.get());
}

void OrvVekMAVersioningCmd::VersionModMAs(const std::vector<Ref<OrvIMfgAssembly>>& list,
                                          const std::vector<Ref<OrvIMfgAssembly>>& toVersion,
                                          std::vector<Ref<OrvIMfgAssembly>>& versioned,
                                          std::vector<Ref<OrvIMfgAssembly>>* failed) {
  std::unordered_set<const void*> wanted, walked, done;
  for (auto& ma : toVersion) wanted.insert(Key(ma));
  for (auto& ma : versioned) done.insert(Key(ma));
  // Depth first, contents before the assembly; each assembly is walked once, so shared
  // sub-assemblies cost one visit and a damaged plant's cycle ends.
  struct Frame {
    Ref<OrvIMfgAssembly> ma;
    std::vector<Ref<OrvIMfgAssembly>> content;
    std::size_t next = 0;
  };
  for (auto& root : list) {
    if (!root || !walked.insert(Key(root)).second) continue;
    std::vector<Frame> stack{{root, OrvVekMAVersioningIndex::ContentMAs(root)}};
    while (!stack.empty()) {
      Frame& f = stack.back();
      if (f.next < f.content.size()) {
        auto child = f.content[f.next++];
        if (walked.insert(Key(child)).second) stack.push_back({child, OrvVekMAVersioningIndex::ContentMAs(child)});
        continue;
      }
      Ref<OrvIMfgAssembly> ma = f.ma;
      stack.pop_back();
      // VersionMA: a new version once; one that cannot be made leaves the others to go on.
      if (!wanted.count(Key(ma)) || done.count(Key(ma))) continue;
      if (OrvVekMfgAssyVersioningUtilities::CreateNewMAVersion(ma) == S_OK) {
        done.insert(Key(ma));
        versioned.push_back(ma);
      } else if (failed) {
        failed->push_back(ma);
      }
    }
  }
}

bool OrvVekMAVersioningCmd::ClickOKOnDialog() {
  TavTraceScope scope(Trace(), kClass, "ClickOKOnDialog");
  const auto selected = dialog_->SelectedModified();
  if (selected.empty()) {
    TavDlgNotify box(nullptr, "NothingToCreate", TavDlgNotify::Information);
    box.DisplayBox(Msg(kBoxCatalog, "OrvVekMAversioningCmd.NothingToConfirmDlg.Title", "Versioning"),
                   Msg(kBoxCatalog, "OrvVekMAversioningCmd.NothingToConfirmDlg.Msg", "No manufactured assembly is selected: no version was made."));
    box.DisplayBlocked();
  } else {
    TavDlgNotify box(nullptr, "CreateVersion", TavDlgNotify::Warning);
    box.DisplayBox(Msg(kBoxCatalog, "OrvVekMAversioningCmd.ConfirmDlg.Title", "Versioning"),
                   Msg(kBoxCatalog, "OrvVekMAversioningCmd.ConfirmDlg.Msg",
                       "New versions will be made of the selected manufactured assemblies and of those containing them."));
    const std::string answer = box.DisplayBlocked();
    if (answer == "OK" || answer == "YES") {
      // The containers of the selected assemblies, as the second list shows them: the
      // containers of assemblies left out are not versioned for them.
      toVersion_ = selected;
      toVersion_.insert(toVersion_.end(), dialog_->Indirect().begin(), dialog_->Indirect().end());
      toVersion_ = OrvVekUniqueMAs(toVersion_);
      TavApplicationFrame::SetBusyCursor(true);
      TavApplicationFrame::SetStatusText(Msg(kStatusCatalog, "OrvVekMAVersioningCmd.StatusB.Message", "Making new versions..."));
      VersionModMAs(toVersion_, toVersion_, versioned_);
      TavApplicationFrame::SetBusyCursor(false);
    }
  }
  okAgent_->InitializeAcquisition();
  dialog_->SetVisibility(false);
  return true;
}

bool OrvVekMAVersioningCmd::ClickCloseOnDialog() {
  dialog_->SetVisibility(false);
  return true;
}

bool OrvVekMAVersioningCmd::Cancel() {
  if (dialog_) dialog_->SetVisibility(false);
  return true;
}
