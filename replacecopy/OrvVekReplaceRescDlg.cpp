#include "OrvVekReplaceRescDlg.h"

#include <unordered_set>

#include "OrvVekCommandServices.h"
#include "TavActivityLib.h"
#include "TavResources.h"
#include "TavServices.h"

namespace {
TavUnicodeString Text(const char* key, const char* fallback) {
  return TavMsgCatalog::BuildMessage(OrvVekReplaceRescDlg::kCatalog, key, {}, fallback);
}

// What a user may type as a resource name: no control characters, not overlong.
bool AcceptableInput(const TavUnicodeString& text) {
  if (text.size() > 256) return false;
  for (unsigned char c : text.utf8())
    if (c < 0x20 || c == 0x7f) return false;
  return true;
}

// The resources of the document with that instance name, depth first (names are
// unique among siblings only).
std::vector<Ref<TavIProduct>> FindResourcesNamed(const TavUnicodeString& name) {
  std::vector<Ref<TavIProduct>> out;
  auto ed = TavFrmEditor::GetCurrentEditor();
  auto doc = ed ? ed->GetDocument() : nullptr;
  auto list = doc ? query<TavIPPRResourceList>(doc->GetRootContainer(TavIPPRResourceList::kInterfaceName)) : nullptr;
  if (!list) return out;
  for (const auto& root : list->GetRoots()) {
    if (root->GetName() == name) out.push_back(root);
    for (const auto& r : root->GetAllDescendants())
      if (r->GetName() == name) out.push_back(r);
  }
  return out;
}

void ShowError(const TavUnicodeString& text) {
  TavDlgNotify box(nullptr, "Error Message", TavDlgNotify::Error);
  box.DisplayBox("Error Message", text);
  box.DisplayBlocked();
}
}  // namespace

OrvVekReplaceRescDlg::OrvVekReplaceRescDlg(TavDlgWidget* father, bool hub, SecondCheck check)
    : OrvGenericReplaceRsrcDlg(father, "OrvVekReplaceRescDlg", kCatalog), hub_(hub), check_(std::move(check)) {}

OrvVekReplaceRescDlg::~OrvVekReplaceRescDlg() { ClearHighlight(); }

void OrvVekReplaceRescDlg::Build() {
  replaceAll_ = Add<TavDlgCheckButton>("ReplaceInAllAct");
  replaceAll_->SetTitle(Text("ReplaceInAllAct.Title", "Replace in all activities"));
  AddAnalyseNotificationCB(replaceAll_, TavDlgNotification::Modify, [this] { OnReplaceInAll(); });

  assignment_ = Add<TavDlgFrame>("ResourceAssignment");
  assignment_->Add<TavDlgLabel>("AvailableAct")->SetTitle(Text("AvailableAct.Title", "Activities using the resource"));
  available_ = assignment_->Add<TavDlgSelectorList>("ActivitiesAvaila004");
  auto* moves = assignment_->Add<TavDlgFrame>("Frame033");
  right_ = moves->Add<TavDlgPushButton>("RightPB");
  right_->SetTitle(Text("RightPB.Title", ">>"));
  left_ = moves->Add<TavDlgPushButton>("LeftPB");
  left_->SetTitle(Text("LeftPB.Title", "<<"));
  assignment_->Add<TavDlgLabel>("ConsideredAct")->SetTitle(Text("ConsideredAct.Title", "Activities to change"));
  considered_ = assignment_->Add<TavDlgSelectorList>("ActivitiesConsidered");
  for (auto* list : {available_, considered_}) list->SetMultiSelect(true);
  AddAnalyseNotificationCB(available_, TavDlgNotification::Select, [this] { OnListSelect(available_, considered_, right_); });
  AddAnalyseNotificationCB(considered_, TavDlgNotification::Select, [this] { OnListSelect(considered_, available_, left_); });
  AddAnalyseNotificationCB(right_, TavDlgNotification::Activate, [this] { Move(available_, considered_, right_); });
  AddAnalyseNotificationCB(left_, TavDlgNotification::Activate, [this] { Move(considered_, available_, left_); });

  removeCtx_ = Add<TavDlgCheckButton>("RmvRsrcCtxt");
  removeCtx_->SetTitle(Text("RmvRsrcCtxt.Title", "Remove the resource context"));
  AddAnalyseNotificationCB(removeCtx_, TavDlgNotification::Modify, [this] { OnRemoveContext(); });

  auto* names = Add<TavDlgFrame>("Frame042");
  names->Add<TavDlgLabel>("Replace")->SetTitle(Text("Replace.Title", "Replace"));
  resourceEdt_ = names->Add<TavDlgEditor>("ResourceEdt");
  resourceEdt_->SetReadOnly(true);
  resourceEdt_->SetVisibleTextWidth(18);
  names->Add<TavDlgLabel>("With")->SetTitle(Text("With.Title", "With"));
  auto* with = names->Add<TavDlgFrame>("Frame056");
  with_ = with->Add<TavDlgEditor>("WithEdt");
  with_->SetVisibleTextWidth(12);
  AddAnalyseNotificationCB(with_, TavDlgNotification::Modify, [this] { OnWithModified(); });
  hubButton_ = with->Add<TavDlgPushButton>("Zarnet");
  hubButton_->SetTitle(Text("Zarnet.Title", "Hub..."));
  fileButton_ = with->Add<TavDlgPushButton>("FileBrowserPB");
  fileButton_->SetTitle(Text("FileBrowserPB.Title", "File..."));
  catalogButton_ = with->Add<TavDlgPushButton>("CatalogBrowserPB");
  catalogButton_->SetTitle(Text("CatalogBrowserPB.Title", "Catalogue..."));
  AddAnalyseNotificationCB(hubButton_, TavDlgNotification::Activate, [this] { OnHub(); });
  AddAnalyseNotificationCB(fileButton_, TavDlgNotification::Activate, [this] { OnBrowseFile(false); });
  AddAnalyseNotificationCB(catalogButton_, TavDlgNotification::Activate, [this] { OnBrowseFile(true); });

  ok_ = AddNotifyingButton("OK", TavDlgNotification::OK, "OK");
  cancel_ = AddNotifyingButton("Cancel", TavDlgNotification::Cancel, "Cancel");

  assignment_->SetSensitivity(true);
  for (TavDlgWidget* w : std::initializer_list<TavDlgWidget*>{removeCtx_, right_, left_, ok_}) w->SetSensitivity(false);
  hubButton_->SetSensitivity(hub_);
  fileButton_->SetSensitivity(!hub_);
  catalogButton_->SetSensitivity(!hub_);
}

std::vector<Ref<TavISPPActivity>> OrvVekReplaceRescDlg::GetAsscActivities(const Ref<TavBaseUnknown>& resource) {
  std::vector<Ref<TavISPPActivity>> out;
  Ref<TavISPPActivityRoot> root;
  if (!resource || FAILED(OrvVekCommandServices::GetRootProcess(root, resource))) return out;
  std::vector<Ref<TavISPPActivity>> walk{root};
  if (auto cm = query<TavISPPChildManagement>(root))
    for (auto& a : cm->GetAllChildActivities()) walk.push_back(std::move(a));
  constexpr unsigned kAnyItem = ~0u;
  for (auto& a : walk) {
    auto resources = query<TavISPPResourceManagement>(a);
    auto items = query<TavISPPItemMgt>(a);
    if (!resources || !items) continue;
    if (resources->IsResourceAssigned(resource, TavResourceCode::Uses | TavResourceCode::RunsOn) == S_OK ||
        items->IsItemAssigned(resource, kAnyItem) == S_OK)
      out.push_back(std::move(a));
  }
  return out;
}

void OrvVekReplaceRescDlg::SetFirstResource(const Ref<TavIProduct>& first) {
  first_ = first;
  if (resourceEdt_) resourceEdt_->SetText(first ? first->GetName() : TavUnicodeString());
  if (!available_) return;
  available_->ClearLine();
  considered_->ClearLine();
  users_ = GetAsscActivities(first);
  for (const auto& a : users_) available_->SetLine(a->GetLabel());
  UpdateOK();
}

void OrvVekReplaceRescDlg::SetSecondResource(const Ref<TavIProduct>& second) { TakeSecond(second, false); }

void OrvVekReplaceRescDlg::GetSecondResource(Ref<TavIProduct>& second, unsigned char& fromOutside) {
  second = second_;
  fromOutside = fromOutside_ ? 1 : 0;
}

void OrvVekReplaceRescDlg::GetActivitiesForReplacement(std::vector<Ref<TavISPPActivity>>*& activities,
                                                       unsigned char& removeContext) {
  removeContext = removeContext_ ? 1 : 0;
  if (!activities) return;
  if (replaceInAll_ && considered_) {
    // Lines moved to the right before the box was checked still count.
    for (int i = 0; i < considered_->GetLineCount(); ++i) available_->SetLine(considered_->GetLine(i));
    considered_->ClearLine();
  }
  TavDlgSelectorList* source = replaceInAll_ ? available_ : considered_;
  if (!source) return;
  std::vector<TavUnicodeString> lines;
  std::unordered_set<TavUnicodeString> names;
  for (int i = 0; i < source->GetLineCount(); ++i)
    if (names.insert(source->GetLine(i)).second) lines.push_back(source->GetLine(i));  // a name once: its matches are all taken

  Ref<TavISPPActivityRoot> root;
  if (SUCCEEDED(OrvVekCommandServices::GetRootProcess(root, nullptr)) && names.count(root->GetLabel()))
    activities->push_back(root);
  // One pass over the process: the activities of each line's name, in process order.
  std::unordered_map<TavUnicodeString, std::vector<Ref<TavISPPActivity>>> byName;
  for (auto& a : OrvVekCommandServices::GetAllActivities()) {
    const TavUnicodeString label = a->GetLabel();
    if (names.count(label)) byName[label].push_back(std::move(a));
  }
  for (const auto& line : lines)
    if (auto it = byName.find(line); it != byName.end())
      activities->insert(activities->end(), it->second.begin(), it->second.end());
}

void OrvVekReplaceRescDlg::OnReplaceInAll() {
  replaceInAll_ = replaceAll_->GetState();
  assignment_->SetSensitivity(!replaceInAll_);
  if (replaceInAll_) {
    // In the hub only a work-station cell's context may go with it.
    removeCtx_->SetSensitivity(!hub_);
    if (hub_ && !(first_ && first_->IsResource() && first_->GetResourceType() == "WSC")) removeContext_ = false;
  } else {
    removeCtx_->SetSensitivity(false);
    removeCtx_->SetState(false);
    removeContext_ = false;
  }
  UpdateOK();
}

void OrvVekReplaceRescDlg::OnRemoveContext() { removeContext_ = removeCtx_->GetState(); }

void OrvVekReplaceRescDlg::OnListSelect(TavDlgSelectorList* from, TavDlgSelectorList* other, TavDlgPushButton* button) {
  other->ClearSelect();
  (from == available_ ? left_ : right_)->SetSensitivity(false);
  button->SetSensitivity(from->GetSelectCount() > 0);
  Highlight(from);
}

void OrvVekReplaceRescDlg::Move(TavDlgSelectorList* from, TavDlgSelectorList* to, TavDlgPushButton* button) {
  const auto selected = from->GetSelect();
  std::vector<TavUnicodeString> kept, moved;
  for (int i = 0; i < from->GetLineCount(); ++i)
    (std::find(selected.begin(), selected.end(), i) != selected.end() ? moved : kept).push_back(from->GetLine(i));
  from->ClearLine();
  for (auto& l : kept) from->SetLine(l);
  for (auto& l : moved) to->SetLine(l);
  ClearHighlight();
  button->SetSensitivity(false);
  UpdateOK();
}

void OrvVekReplaceRescDlg::Highlight(const TavDlgSelectorList* list) {
  ClearHighlight();
  auto ed = TavFrmEditor::GetCurrentEditor();
  if (!ed) return;
  std::unordered_set<TavUnicodeString> names;
  for (int row : list->GetSelect()) names.insert(list->GetLine(row));
  if (names.empty()) return;
  for (const auto& a : users_)
    if (names.count(a->GetLabel())) {
      TavPathElement p = OrvVekCommandServices::GetActivityPath(a);
      if (ed->GetHSO().Contains(p)) continue;
      ed->GetHSO().AddElement(p);
      highlighted_.push_back(std::move(p));
    }
}

void OrvVekReplaceRescDlg::ClearHighlight() {
  if (auto ed = TavFrmEditor::GetCurrentEditor())
    for (auto& p : highlighted_) ed->GetHSO().RemoveElement(p);
  highlighted_.clear();
}

void OrvVekReplaceRescDlg::UpdateOK() {
  if (!ok_) return;
  const bool named = with_ && !with_->GetText().Strip().IsEmpty();
  ok_->SetSensitivity(named && (replaceInAll_ || (considered_ && considered_->GetLineCount() > 0)));
}

void OrvVekReplaceRescDlg::TakeSecond(const Ref<TavIProduct>& second, bool fromOutside) {
  second_ = second;
  fromOutside_ = second && fromOutside;
  if (with_) {
    settingWith_ = true;
    with_->SetText(second ? second->GetName() : TavUnicodeString(), true);
    settingWith_ = false;
  }
  UpdateOK();
}

void OrvVekReplaceRescDlg::RefuseSecond(const char* key, const char* fallback, const TavUnicodeString& detail) {
  TakeSecond(nullptr, false);
  TavUnicodeString text = TavMsgCatalog::BuildMessage(kErrorCatalog, key, {}, fallback);
  if (!detail.IsEmpty()) text += TavUnicodeString("\n") + detail;
  ShowError(text);
}

void OrvVekReplaceRescDlg::OnWithModified() {
  if (settingWith_) return;
  const TavUnicodeString text = with_->GetText().Strip();
  if (text.IsEmpty()) return TakeSecond(nullptr, false);
  if (!AcceptableInput(text)) {
    TakeSecond(nullptr, false);
    ShowError("Invalid Input");
    return;
  }
  const auto named = FindResourcesNamed(text);
  if (named.empty()) return RefuseSecond("InvalidResource", "No resource found: check the name or the file.");
  if (named.size() > 1)
    return RefuseSecond("InvalidResource", "No resource found: check the name or the file.",
                        Text("SeveralNamed", "Several resources have this name: pick the one you mean in the tree."));
  if (check_ && !check_(named.front())) return RefuseSecond("SecondNotValid", "This resource cannot replace the first one.");
  TakeSecond(named.front(), false);
}

void OrvVekReplaceRescDlg::OnBrowseFile(bool catalogue) {
  closedBox_.reset();
  if (fileBox_) return;
  catalogueBox_ = catalogue;
  fileBox_ = std::make_unique<TavDlgFile>(this, catalogue ? "CatalogBrowse" : "FileBrowse", 0);
  fileBox_->SetFilterStrings({catalogue ? "Resource catalogue (*.xml)" : "Plant (*.xml)"}, {"*.xml"});
  fileBox_->SetTitle(catalogue ? Text("CatalogBox.Title", "Choose a resource catalogue")
                               : Text("FileBox.Title", "Choose a plant file"));
  TavDlgFile* box = fileBox_.get();
  box->AddAnalyseNotificationCB(box, TavDlgNotification::OK, [this] { OnFileChosen(); });
  box->AddAnalyseNotificationCB(box, TavDlgNotification::Cancel, [this] { CloseFileBox(); });
  box->Show();
  closedBox_.reset();
}

void OrvVekReplaceRescDlg::CloseFileBox() {
  if (!fileBox_) return;
  fileBox_->RemoveAnalyseNotificationCB(fileBox_.get(), TavDlgNotification::OK);
  fileBox_->RemoveAnalyseNotificationCB(fileBox_.get(), TavDlgNotification::Cancel);
  fileBox_->SetVisibility(false);
  closedBox_ = std::move(fileBox_);  // its notification is still running
}

void OrvVekReplaceRescDlg::OnFileChosen() {
  if (!fileBox_) return;
  const std::string path = fileBox_->GetSelection().utf8();
  CloseFileBox();
  TavPlantFileReader* reader = TavPlantFileReader::Get();
  std::vector<Ref<TavIProduct>> resources;
  std::string error;
  if (!reader || FAILED(reader->ReadResources(path, resources, error)) || resources.empty())
    return RefuseSecond("InvalidResource", "No resource found: check the name or the file.",
                        error.empty() ? TavUnicodeString(path + " has no resources") : TavUnicodeString(error));
  if (check_) std::erase_if(resources, [&](const Ref<TavIProduct>& r) { return !check_(r); });
  if (resources.empty()) return RefuseSecond("SecondNotValid", "This resource cannot replace the first one.");
  OfferList(std::move(resources), true);
}

void OrvVekReplaceRescDlg::OnHub() {
  TavUnicodeString planType;
  if (auto object = query<OrvIMHIPlanTypeObject>(first_))
    if (auto type = object->GetPlanType()) planType = type->GetName();
  auto ed = TavFrmEditor::GetCurrentEditor();
  std::vector<Ref<TavIProduct>> compatible;
  for (auto& r : OrvVekReplaceRescRsrcListDlg::CompatibleResources(ed ? ed->GetDocument() : nullptr, planType))
    if (!check_ || check_(r)) compatible.push_back(std::move(r));
  if (compatible.empty())
    return RefuseSecond("InvalidResource", "No resource found: check the name or the file.",
                        Text("NoCompatible", "The hub has no other resource of the first resource's plan type."));
  OfferList(std::move(compatible), false);
}

void OrvVekReplaceRescDlg::OfferList(std::vector<Ref<TavIProduct>> resources, bool fromOutside) {
  if (resources.size() == 1 && !hub_) return TakeSecond(resources.front(), fromOutside);
  list_.reset();
  list_ = std::make_unique<OrvVekReplaceRescRsrcListDlg>(this, std::move(resources), [this, fromOutside](const Ref<TavIProduct>& r) {
    TakeSecond(r, fromOutside);
    if (list_) list_->SetVisibility(false);
  });
  list_->Build();
  list_->SetVisibility(true);
}
