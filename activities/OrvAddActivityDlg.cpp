#include "OrvAddActivityDlg.h"

#include "TavOrvAddActivityCmd.h"
#include "TavServices.h"

namespace {
TavUnicodeString Text(const char* key, const char* fallback) {
  return TavMsgCatalog::BuildMessage(OrvAddActivityDlg::kCatalog, key, {}, fallback);
}
constexpr const char* kRadioNames[3] = {"ActActivityDlgAddAsChild", "ActActivityDlgAddAsBrother", "ActActivityDlgQuickSequence"};
constexpr const char* kRadioTitles[3] = {"Add as child", "Add as successor", "Quick sequence assignment"};
bool EndsWith(const std::string& s, std::string_view end) {
  return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}
}  // namespace

OrvAddActivityDlg::OrvAddActivityDlg(TavOrvAddActivityCmd& command)
    : TavDlgDialog(nullptr, "AddActivityDialog", 0, kCatalog), command_(command) {
  SetVisibility(false);
}

void OrvAddActivityDlg::Build() {
  SetTitle(Text("Title", "Add Activity"));
  auto* listFrame = Add<TavDlgFrame>("ListFrame");
  listFrame->SetTitle(Text("ListFrame.Title", "Activity types"));
  tree_ = listFrame->Add<TavDlgNavigBox>("ActivityTreeView", "ObjNavDefault", 250, 300);
  typeLabel_ = listFrame->Add<TavDlgLabel>("SelectedTypeLabel");
  targetLabel_ = Add<TavDlgLabel>("TargetLabel");
  auto* optionFrame = Add<TavDlgFrame>("InsertFrame");
  optionFrame->SetTitle(Text("InsertFrame.Title", "Insert"));
  for (int i = 0; i < 3; ++i) {
    radios_[i] = optionFrame->Add<TavDlgRadioButton>(kRadioNames[i]);
    radios_[i]->SetTitle(Text((std::string(kRadioNames[i]) + ".Title").c_str(), kRadioTitles[i]));
    AddAnalyseNotificationCB(radios_[i], TavDlgNotification::Modify, [this, i] {
      if (!radios_[i]->GetState()) return;
      if (i == AddAsChild) OnAddAsChild();
      else if (i == AddAsSuccessor) OnAddAsBrother();
      else OnQuickSequenceAssign();
      // In the hub the receiving object, and so the types it allows, follow the option.
      if (command_.IsHubMode()) UpdateLists();
    });
  }
  ok_ = AddNotifyingButton("OK", TavDlgNotification::OK, "OK");
  apply_ = AddNotifyingButton("Apply", TavDlgNotification::Apply, "Apply");
  close_ = AddNotifyingButton("Close", TavDlgNotification::Cancel, "Close");
  SetInsertType(AddAsChild);
  OnAfterCreate();
}

OrvAddActivityDlg::~OrvAddActivityDlg() {
  for (auto* r : radios_)
    if (r) RemoveAnalyseNotificationCB(r, TavDlgNotification::Modify);
}

int OrvAddActivityDlg::GetInsertType() const {
  for (int i = 0; i < 3; ++i)
    if (!radios_[i]) return NoOption;
  for (int i = 0; i < 3; ++i)
    if (radios_[i]->GetState()) return i;
  return NoOption;
}

void OrvAddActivityDlg::SetInsertType(int option) {
  for (int i = 0; i < 3; ++i)
    if (radios_[i]) radios_[i]->SetState(i == option);
}

void OrvAddActivityDlg::DisableInsertType(int option) {
  if (option >= 0 && option < 3 && radios_[option]) radios_[option]->SetSensitivity(false);
}
void OrvAddActivityDlg::EnableInsertType(int option) {
  if (option >= 0 && option < 3 && radios_[option]) radios_[option]->SetSensitivity(true);
}
void OrvAddActivityDlg::ShowInsertType(int option, bool shown) {
  if (option >= 0 && option < 3 && radios_[option]) radios_[option]->SetVisibility(shown);
}

void OrvAddActivityDlg::UpdateLists() {
  if (!tree_) return;
  std::vector<TavUnicodeString> types, subTypes, biwTypes, icons, subIcons;
  if (!command_.GetActivityList(types, subTypes, biwTypes)) {
    RedrawNavigBox();
    return;
  }
  if (command_.IsHubMode()) {
    FillFlat(types, biwTypes);
    return;
  }
  if (!fillTree_) return;  // outside the hub the tree does not follow the target
  fillTree_ = false;
  command_.GetActivityIconList(icons, subIcons);
  FillFromLibraries(types, subTypes, icons, subIcons);
}

void OrvAddActivityDlg::FillFromLibraries(const std::vector<TavUnicodeString>& types,
                                          const std::vector<TavUnicodeString>& subTypes,
                                          const std::vector<TavUnicodeString>& icons,
                                          const std::vector<TavUnicodeString>& subIcons) {
  tree_->RemoveAllRoots();
  typeNodes_.clear();
  std::vector<Ref<TavBaseUnknown>> roots;
  Ref<OrvVekActivityDlgRootNavigateObject> library;
  for (std::size_t i = 0; i < types.size(); ++i) {
    const std::string& name = types[i].utf8();
    if (EndsWith(name, ".act")) {
      library = std::make_shared<OrvVekActivityDlgRootNavigateObject>(types[i], true);
      roots.push_back(library);
      continue;
    }
    Ref<OrvVekActivityDlgNavigateObject>& node = typeNodes_[name];
    if (!node) {
      node = std::make_shared<OrvVekActivityDlgNavigateObject>(types[i], false);
      if (library) library->AddChild(node);
      else roots.push_back(node);  // a type before any library row stands alone
    }
    if (i < icons.size()) node->SetIconName(icons[i]);
    if (i < subTypes.size() && !subTypes[i].IsEmpty()) {
      auto sub = std::make_shared<OrvVekActivityDlgNavigateObject>(subTypes[i], false);
      if (i < subIcons.size()) sub->SetIconName(subIcons[i]);
      node->AddChild(sub);
    }
  }
  // Roots are added once their children are known: the box builds a root's graph at once.
  for (auto& r : roots) tree_->AddRoot(r);
}

void OrvAddActivityDlg::FillFlat(const std::vector<TavUnicodeString>& types, const std::vector<TavUnicodeString>& biwTypes) {
  tree_->RemoveAllRoots();
  typeNodes_.clear();
  for (const auto* list : {&types, &biwTypes})
    for (const auto& t : *list) {
      auto node = std::make_shared<OrvVekActivityDlgNavigateObject>(t, false);
      typeNodes_.emplace(t.utf8(), node);
      tree_->AddRoot(node);
    }
}

void OrvAddActivityDlg::RedrawNavigBox() {
  if (tree_) tree_->Redraw();
}

void OrvAddActivityDlg::ExpandActivityNavigBox() {
  if (tree_) tree_->ExpandAll();
}

void OrvAddActivityDlg::ExpandTree(const TavNavigNode& node) {
  if (tree_) tree_->ShowNode(node);
}

const Ref<OrvVekActivityDlgNavigateObject>* OrvAddActivityDlg::FindTypeNode(const TavUnicodeString& type) const {
  auto it = typeNodes_.find(type.utf8());
  return it == typeNodes_.end() ? nullptr : &it->second;
}

void OrvAddActivityDlg::ShowSelectedActivity(const TavUnicodeString& type) {
  if (typeLabel_) typeLabel_->SetTitle(type.IsEmpty() ? Text("SelectedTypeLabel.None", "No type chosen") : type);
  if (type.IsEmpty() || !tree_) return;
  auto* node = FindTypeNode(type);
  if (!node) return;
  if (const TavNavigNode* n = tree_->FindNode(*node)) ExpandTree(*n);
}
