#include "OrvVekProcessConstVerificationDlg.h"

#include <unordered_set>

#include "OrvVekPrecedenceSets.h"
#include "PrecedenceTrace.h"
#include "TavServices.h"
#include "TavVisu.h"

namespace {

constexpr const char* kClass = "OrvVekProcessConstVerificationDlg";
using List = OrvVekProcessConstVerificationDlg::List;
using Sets = OrvVekPrecedenceSetsUtilities;

TavUnicodeString LabelOf(const Ref<TavBaseUnknown>& a) {
  auto act = query<TavISPPAbstractActivity>(a);
  return act ? act->GetLabel() : TavUnicodeString();
}

// A product and all its descendants, each once.
void AddProductTree(const Ref<TavIProduct>& p, List& out, std::unordered_set<const void*>& seen) {
  if (!p) return;
  Ref<TavBaseUnknown> base = p;
  if (seen.insert(base.get()).second) out.push_back(base);
  for (auto& d : p->GetAllDescendants()) {
    Ref<TavBaseUnknown> b = d;
    if (seen.insert(b.get()).second) out.push_back(b);
  }
}

// Every product below the roots of a product or resource list.
List TreeOf(const Ref<TavDocument>& doc, const char* listInterface) {
  List out;
  std::unordered_set<const void*> seen;
  auto list = doc ? query<TavIPPRRootList>(doc->GetRootContainer(listInterface)) : nullptr;
  if (list)
    for (auto& r : list->GetRoots()) AddProductTree(r, out, seen);
  return out;
}

// An activity with all its physical sub-activities.
List WithSubActivities(const List& activities) {
  List out;
  for (auto& a : activities) {
    out.push_back(a);
    if (auto cm = query<TavISPPChildManagement>(a))
      for (auto& c : cm->GetAllChildren("PhysicalActivity")) out.push_back(c);
  }
  RemoveDuplicates(out);
  return out;
}

TavPathElement PathTo(const Ref<TavBaseUnknown>& activity) {
  List up;
  for (Ref<TavBaseUnknown> a = activity; a; a = Sets::FatherOf(a)) up.push_back(a);
  return TavPathElement(List(up.rbegin(), up.rend()));
}

}  // namespace

OrvVekProcessConstVerificationDlg::OrvVekProcessConstVerificationDlg(TavDlgWidget* father)
    : TavDlgDialog(father, "OrvVekProcessConstVerificationDlg", 0, kCatalog) {
  TavTraceScope scope(PrecedenceTrace(), kClass, "OrvVekProcessConstVerificationDlg");
  SetVisibility(false);
  productOutputSupport_ = TavSettingRepository::GetRepository("OrvSimStatic").ReadInt("OrvPVPCPSupport", 0) == 1;
}

OrvVekProcessConstVerificationDlg::~OrvVekProcessConstVerificationDlg() {
  TavTraceScope scope(PrecedenceTrace(), kClass, "~OrvVekProcessConstVerificationDlg");
}

void OrvVekProcessConstVerificationDlg::Build() {
  TavTraceScope scope(PrecedenceTrace(), kClass, "Build");
  auto* frame = Add<TavDlgFrame>("pResourceFrame");
  frame->Add<TavDlgLabel>("pCurrentActLabel");
  currentEditor_ = frame->Add<TavDlgEditor>("pCurrentEditor");
  currentEditor_->SetReadOnly(true);
  next_ = frame->Add<TavDlgPushButton>("pNextPB");  // icon "OrvNext"
  Add<TavDlgLabel>("pViewedLabel");
  previousList_ = Add<TavDlgSelectorList>("pViewerSelectorList");
  Add<TavDlgLabel>("pSuccessorsLabel");
  successorsList_ = Add<TavDlgSelectorList>("pSuccessorsSelectorList");
  Add<TavDlgLabel>("pOthersLabel");
  othersList_ = Add<TavDlgSelectorList>("pOthersSelectorList");
  for (const char* legend : {"pLabel1", "pLabel2", "pLabel3", "pLabel4", "pLabel5", "pLabel8"}) Add<TavDlgLabel>(legend);
  auto* frame2 = Add<TavDlgFrame>("pResourceFrame2");
  frame2->Add<TavDlgLabel>("pLabel6");
  combo_ = frame2->Add<TavDlgCombo>("pCombo");
  for (const char* line : {"ShowAll", "ShowAct", "Hide"})
    combo_->SetLine(TavMsgCatalog::BuildMessage(kCatalog, line, {}, line));
  frame2->Add<TavDlgLabel>("pLabel7");
  check3D_ = frame2->Add<TavDlgCheckButton>("pCheckButton3D");
  checkColour_ = frame2->Add<TavDlgCheckButton>("pCheckButtonColor");

  const Settings s = ReadSettings();
  combo_->SetSelect(s.combo);
  checkColour_->SetState(s.colour);
  check3D_->SetState(s.keepView);
  keepView_ = s.keepView;

  for (const char* n : {TavDlgNotification::Close, TavDlgNotification::Cancel})
    AddAnalyseNotificationCB(this, n, [this] { OnClose(); });
  AddAnalyseNotificationCB(next_, TavDlgNotification::Activate, [this] { OnNext(); });
  AddAnalyseNotificationCB(previousList_, TavDlgNotification::Activate, [this] { DoubleClickOnPrevious(); });
  AddAnalyseNotificationCB(successorsList_, TavDlgNotification::Activate, [this] { DoubleClickOnSuccessors(); });
  AddAnalyseNotificationCB(othersList_, TavDlgNotification::Activate, [this] { DoubleClickOnOthers(); });
  AddAnalyseNotificationCB(combo_, TavDlgNotification::Select, [this] { OnComboSelected(); });
  AddAnalyseNotificationCB(check3D_, TavDlgNotification::Modify, [this] { OnCheckButton3D(); });
  AddAnalyseNotificationCB(checkColour_, TavDlgNotification::Modify, [this] { OnCheckButtonColor(); });
}

OrvVekProcessConstVerificationDlg::Settings OrvVekProcessConstVerificationDlg::ReadSettings() {
  TavRepository& repo = TavSettingRepository::GetRepository(kRepository);
  // A value nobody could have stored through the dialog reads as the default.
  auto read = [&](const char* key, std::int64_t max) {
    std::int64_t v = repo.ReadInt(key, 0);
    return v < 0 || v > max ? 0 : static_cast<int>(v);
  };
  return Settings{read(kComboKey, 2), read(kColourKey, 1) == 1, read(k3DKey, 1) == 1};
}

void OrvVekProcessConstVerificationDlg::WriteSettings() {
  TavRepository& repo = TavSettingRepository::GetRepository(kRepository);
  const auto sel = combo_->GetSelect();
  repo.Write(kComboKey, std::int64_t{sel.empty() ? 0 : sel.front()});
  repo.Write(kColourKey, std::int64_t{checkColour_->GetState() ? 1 : 0});
  repo.Write(k3DKey, std::int64_t{check3D_->GetState() ? 1 : 0});
  repo.Save();
}

void OrvVekProcessConstVerificationDlg::Initialize(const Ref<TavBaseUnknown>& picked) {
  TavTraceScope scope(PrecedenceTrace(), kClass, "Initialize");
  if (!currentEditor_) Build();
  // A new pick replaces the activity: what the last one hid comes back first.
  Show(successorProducts_, true);
  successorProducts_.clear();
  current_ = picked;
  currentEditor_->SetText(LabelOf(current_));

  auto editor = TavFrmEditor::GetCurrentEditor();
  doc_ = editor ? editor->GetDocument() : nullptr;
  auto container = doc_ ? query<TavISPPProcessContainer>(doc_->GetRootContainer(TavISPPProcessContainer::kInterfaceName)) : nullptr;
  if (!container) return;
  auto roots = container->GetRootActivities();
  if (roots.empty()) return;
  root_ = roots.front();
  allProducts_ = TreeOf(doc_, TavIPPRProductList::kInterfaceName);
  resources_ = TreeOf(doc_, TavIPPRResourceList::kInterfaceName);

  if (SameObject(current_, root_)) {
    RestoreViewer();
    SetVisibility(false);
    Notify(TavDlgNotification::Close);
    return;
  }

  SetVisibility(true);
  SetSensitivity(true);
  const auto sel = combo_->GetSelect();
  ApplyCombo(sel.empty() ? 0 : sel.front());
  if (checkColour_->GetState()) Colour(allProducts_, kPreviousColour);
  else SetColorBack(allProducts_);
  keepView_ = check3D_->GetState();

  ComputeSets();
  ShowProducts();
}

void OrvVekProcessConstVerificationDlg::ComputeSets() {
  previous_.clear();
  successors_.clear();
  others_.clear();
  if (current_ && root_) {
    OrvVekPrecedenceSets sets = Sets::Compute(current_, root_);
    previous_ = std::move(sets.previous);
    successors_ = std::move(sets.successors);
    others_ = std::move(sets.others);
  }
  FillList(previousList_, previous_);
  FillList(successorsList_, successors_);
  FillList(othersList_, others_);
}

void OrvVekProcessConstVerificationDlg::FillList(TavDlgSelectorList* list, const List& entries) {
  list->ClearLine();
  for (auto& a : entries) list->SetLine(LabelOf(a));
}

List OrvVekProcessConstVerificationDlg::ProductsOf(const List& activities) const {
  List items;
  for (auto& a : WithSubActivities(activities)) {
    if (auto im = query<TavISPPItemMgt>(a))
      for (auto& i : im->GetItems("Item")) items.push_back(i);
    if (!productOutputSupport_) continue;
    if (auto flow = query<TavISPPFlowMgt>(a))
      for (auto& o : flow->GetOutputs())
        if (auto io = query<TavISPPProductIO>(o))
          if (auto p = io->GetProduct()) items.push_back(p);
  }
  RemoveDuplicates(items);

  List out;
  std::unordered_set<const void*> seen, assemblies;
  // Manufactured assemblies are walked with a work list: one nested in itself ends.
  std::vector<Ref<OrvIMfgAssembly>> pending;
  for (auto& item : items) {
    if (auto p = query<TavIProduct>(item)) AddProductTree(p, out, seen);
    else if (auto ma = query<OrvIMfgAssembly>(item)) pending.push_back(ma);
  }
  while (!pending.empty()) {
    Ref<OrvIMfgAssembly> ma = pending.back();
    pending.pop_back();
    if (!assemblies.insert(ma.get()).second) continue;
    List parts;
    if (SUCCEEDED(ma->GetParts(parts)))
      for (auto& part : parts) {
        if (auto p = query<TavIProduct>(part)) AddProductTree(p, out, seen);
        else if (auto inner = query<OrvIMfgAssembly>(part)) pending.push_back(inner);
      }
    for (auto& child : ma->GetChildAssemblies()) pending.push_back(child);
  }
  return out;
}

void OrvVekProcessConstVerificationDlg::ShowProducts() {
  currentActivities_ = WithSubActivities({current_});
  successorProducts_ = ProductsOf(successors_);
  otherProducts_ = ProductsOf(others_);
  previousProducts_ = ProductsOf(previous_);
  currentProducts_ = ProductsOf({current_});
  Show(successorProducts_, false);
  Colour(otherProducts_, kOtherColour);
  Colour(previousProducts_, kPreviousColour);
  Colour(currentProducts_, kCurrentColour);
  Commit();
  if (auto editor = TavFrmEditor::GetCurrentEditor()) {
    editor->GetHSO().Empty();
    editor->GetHSO().AddElement(PathTo(current_));
  }
}

void OrvVekProcessConstVerificationDlg::MoveTo(const Ref<TavBaseUnknown>& activity) {
  current_ = activity;
  currentEditor_->SetText(LabelOf(current_));
  SetColorBack(currentProducts_);
  SetColorBack(previousProducts_);
  SetColorBack(otherProducts_);
  Show(successorProducts_, true);
  ComputeSets();
  ShowProducts();
  const auto sel = combo_->GetSelect();
  if (!sel.empty() && sel.front() == 1) ApplyCombo(1);
}

void OrvVekProcessConstVerificationDlg::OnNext() {
  TavTraceScope scope(PrecedenceTrace(), kClass, "OnNext");
  if (successors_.empty() || !current_) return;
  MoveTo(Ref<TavBaseUnknown>(successors_.front()));
}

void OrvVekProcessConstVerificationDlg::DoubleClickOn(TavDlgSelectorList* list, const List& entries) {
  const auto sel = list->GetSelect();
  if (sel.empty() || !current_) return;
  const auto k = static_cast<std::size_t>(sel.front());
  if (k >= entries.size()) return;
  MoveTo(Ref<TavBaseUnknown>(entries[k]));  // a copy: MoveTo clears the list it came from
}

void OrvVekProcessConstVerificationDlg::DoubleClickOnPrevious() {
  TavTraceScope scope(PrecedenceTrace(), kClass, "DoubleClickOnPrevious");
  DoubleClickOn(previousList_, previous_);
}
void OrvVekProcessConstVerificationDlg::DoubleClickOnSuccessors() {
  TavTraceScope scope(PrecedenceTrace(), kClass, "DoubleClickOnSuccessors");
  DoubleClickOn(successorsList_, successors_);
}
void OrvVekProcessConstVerificationDlg::DoubleClickOnOthers() {
  TavTraceScope scope(PrecedenceTrace(), kClass, "DoubleClickOnOthers");
  DoubleClickOn(othersList_, others_);
}

void OrvVekProcessConstVerificationDlg::ApplyCombo(int line) {
  if (line == 0) {
    Show(resources_, true);
  } else {
    Show(resources_, false);
    if (line == 1) {
      List own;
      std::unordered_set<const void*> seen;
      for (auto& a : WithSubActivities({current_}))
        if (auto rm = query<TavISPPResourceManagement>(a))
          for (auto& r : rm->GetResources(0)) AddProductTree(query<TavIProduct>(r), own, seen);
      Show(own, true);
    }
  }
  Commit();
}

void OrvVekProcessConstVerificationDlg::OnComboSelected() {
  TavTraceScope scope(PrecedenceTrace(), kClass, "OnComboSelected");
  const auto sel = combo_->GetSelect();
  ApplyCombo(sel.empty() ? 0 : sel.front());
  WriteSettings();
}

void OrvVekProcessConstVerificationDlg::OnCheckButtonColor() {
  TavTraceScope scope(PrecedenceTrace(), kClass, "OnCheckButtonColor");
  SetColorBack(allProducts_);
  SetColorBack(resources_);
  if (checkColour_->GetState()) {
    // Products no activity takes keep the previous colour.
    Colour(allProducts_, kPreviousColour);
    Show(successorProducts_, false);
    Colour(otherProducts_, kOtherColour);
  } else {
    Show(successorProducts_, false);
    Colour(otherProducts_, kOtherColour);
    Colour(previousProducts_, kPreviousColour);
  }
  Colour(currentProducts_, kCurrentColour);
  Commit();
  WriteSettings();
}

void OrvVekProcessConstVerificationDlg::OnCheckButton3D() {
  TavTraceScope scope(PrecedenceTrace(), kClass, "OnCheckButton3D");
  keepView_ = check3D_->GetState();
  WriteSettings();
}

void OrvVekProcessConstVerificationDlg::OnClose() {
  TavTraceScope scope(PrecedenceTrace(), kClass, "OnClose");
  if (!keepView_) RestoreViewer();
  SetVisibility(false);
}

void OrvVekProcessConstVerificationDlg::RestoreViewer() {
  SetAllProductsBack();
  Show(resources_, true);
  Commit();
}

void OrvVekProcessConstVerificationDlg::Commit() {
  if (auto manager = TavVisuManagerOf(doc_)) manager->Commit();
}

void OrvVekProcessConstVerificationDlg::Colour(const List& products, int index) {
  for (auto& p : products)
    if (auto visu = query<TavI3DGeoVisu>(p)) {
      visu->SetInheritance(kTavInheritOwnColour);
      visu->SetColorIndex(index);
      visu->Redraw();
    }
}

void OrvVekProcessConstVerificationDlg::Show(const List& products, bool shown) {
  for (auto& p : products)
    if (auto props = query<TavIVisProperties>(p)) {
      props->SetShow(shown);
      props->SendVisPropertiesChange();
    }
}

void OrvVekProcessConstVerificationDlg::SetColorBack(const List& products) {
  for (auto& p : products) {
    auto visu = query<TavI3DGeoVisu>(p);
    auto props = query<TavIVisProperties>(p);
    if (!visu || !props) continue;
    visu->SetInheritance(kTavInheritOwnColour);
    visu->SetColorIndex(props->GetStoredColor());
    visu->SetOpacity(kTavOpaque);
    visu->Redraw();
    props->SendModelModification();
  }
}

void OrvVekProcessConstVerificationDlg::SetAllProductsBack() {
  SetColorBack(allProducts_);
  // A resource related as an item was coloured like a product: it gets its colour back too.
  SetColorBack(resources_);
  Show(allProducts_, true);
}
