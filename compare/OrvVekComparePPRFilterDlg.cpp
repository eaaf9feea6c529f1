#include "OrvVekComparePPRFilterDlg.h"

#include "OrvVekCompareDlgBase.h"
#include "TavServices.h"

namespace {
TavUnicodeString Text(const char* key, const char* fallback) {
  return TavMsgCatalog::BuildMessage(OrvVekComparePPRFilterDlg::kCatalog, key, {}, fallback);
}
using Base = OrvVekCompareDlgBase;
}  // namespace

OrvVekComparePPRFilterDlg::OrvVekComparePPRFilterDlg(TavDlgWidget* father)
    : TavDlgDialog(father, "OrvVekComparePPRFilterDlg", 0, kCatalog) {
  auto* main = Add<TavDlgFrame>("FilterMainFrame");
  auto* attributes = main->Add<TavDlgFrame>("AttribFrame");
  single_ = attributes->Add<TavDlgRadioButton>("SingleRadio");
  combo_ = attributes->Add<TavDlgCombo>("AttribEditor");
  all_ = attributes->Add<TavDlgRadioButton>("AllRadio");
  none_ = attributes->Add<TavDlgRadioButton>("NoRadio");
  auto* compare = main->Add<TavDlgFrame>("CompFrame");
  items_ = compare->Add<TavDlgCheckButton>("Itms");
  resources_ = compare->Add<TavDlgCheckButton>("Rscs");
  sequence_ = compare->Add<TavDlgCheckButton>("SeqAct");
  father_ = compare->Add<TavDlgCheckButton>("FatherAct");
  children_ = compare->Add<TavDlgCheckButton>("ChildAct");
  auto* selectAll = compare->Add<TavDlgPushButton>("SelectAllButton");
  auto* display = main->Add<TavDlgFrame>("DisplayFrame");
  displayAll_ = display->Add<TavDlgRadioButton>("DisplayAllAttRadio");
  displayChanged_ = display->Add<TavDlgRadioButton>("DisplayChangedAttRadio");
  summary_ = main->Add<TavDlgCheckButton>("SummaryPage");
  AddNotifyingButton("OK", TavDlgNotification::OK, "OK");
  AddNotifyingButton("Cancel", TavDlgNotification::Cancel, "Cancel");

  none_->SetState(true);
  displayChanged_->SetState(true);
  combo_->SetSensitivity(false);
  for (auto* radio : {single_, all_, none_})
    AddAnalyseNotificationCB(radio, TavDlgNotification::Modify, [this, radio] { Choose(radio); });
  for (auto* radio : {displayAll_, displayChanged_})
    AddAnalyseNotificationCB(radio, TavDlgNotification::Modify, [this, radio] {
      // The display pair is one choice: the other button follows.
      const bool on = radio->GetState();
      (radio == displayAll_ ? displayChanged_ : displayAll_)->SetState(!on);
    });
  // The button alternates: checks everything offered, then clears it.
  AddAnalyseNotificationCB(selectAll, TavDlgNotification::Activate, [this] {
    if (allChecked_) OnUncheckSelAll();
    else OnCheckSelAll();
  });
  SetType(Base::Activities);
}

void OrvVekComparePPRFilterDlg::SetType(int kind) {
  kind_ = kind;
  static const char* const kTitles[] = {"MainTitleProcess", "MainTitleProduct", "MainTitleResource", "MainTitleMA",
                                        "MainTitleFastener"};
  static const char* const kFallbacks[] = {"Compare Processes", "Compare Products", "Compare Resources",
                                           "Compare Manufactured Assemblies", "Compare Fasteners"};
  const int t = kind >= 0 && kind <= 4 ? kind : 0;
  SetTitle(Text(kTitles[t], kFallbacks[t]));
  const bool process = kind == Base::Activities;
  for (auto* box : {items_, resources_, sequence_}) {
    box->SetVisibility(process);
    if (!process) box->SetState(false);
  }
}

TavUnicodeString OrvVekComparePPRFilterDlg::OwnLine(const TavUnicodeString& name) {
  return name + Text("KwAndBrackets", " (V) ");
}

TavUnicodeString OrvVekComparePPRFilterDlg::HubLine(const TavUnicodeString& prompt, const TavUnicodeString& name) {
  return prompt + Text("BracketsOpen", " [") + name + Text("BracketsClose", "]") + Text("HxAndBrackets", " (E)");
}

void OrvVekComparePPRFilterDlg::SetAttributeList(const std::vector<TavUnicodeString>& ownNames,
                                                 const std::vector<TavUnicodeString>& hubPrompts,
                                                 const std::vector<TavUnicodeString>& hubNames) {
  combo_->ClearLine();
  for (const auto& n : ownNames) combo_->SetLine(OwnLine(n));
  for (std::size_t i = 0; i < hubPrompts.size() && i < hubNames.size(); ++i) combo_->SetLine(HubLine(hubPrompts[i], hubNames[i]));
}

void OrvVekComparePPRFilterDlg::Choose(TavDlgRadioButton* on) {
  // A radio button cleared by hand leaves "no attributes" chosen.
  if (!on->GetState()) on = none_;
  for (auto* radio : {single_, all_, none_}) radio->SetState(radio == on);
  combo_->SetSensitivity(on == single_);
}

std::vector<TavDlgCheckButton*> OrvVekComparePPRFilterDlg::Offered() const {
  std::vector<TavDlgCheckButton*> boxes{father_, children_, summary_};
  if (kind_ == Base::Activities) boxes.insert(boxes.begin(), {items_, resources_, sequence_});
  return boxes;
}

void OrvVekComparePPRFilterDlg::OnCheckSelAll() {
  for (auto* box : Offered()) box->SetState(true);
  allChecked_ = true;
}

void OrvVekComparePPRFilterDlg::OnUncheckSelAll() {
  for (auto* box : Offered()) box->SetState(false);
  allChecked_ = false;
}

void OrvVekComparePPRFilterDlg::SelectedItemsInFilter(int& mask, std::vector<int>& attributeIndices) const {
  mask = 0;
  attributeIndices.clear();
  const auto chosen = combo_->GetSelect();
  if (single_->GetState() && !chosen.empty()) {
    mask |= Base::SelectedAttributes;
    attributeIndices.push_back(chosen.front());
  } else if (all_->GetState()) {
    mask |= Base::AllAttributes;
  } else {
    mask |= Base::NoAttributes;  // also a single choice without an attribute chosen
  }
  if (kind_ == Base::Activities) {
    if (items_->GetState()) mask |= Base::AssignedItems;
    if (resources_->GetState()) mask |= Base::AssignedResources;
    if (sequence_->GetState()) mask |= Base::Sequence;
  }
  if (father_->GetState()) mask |= Base::Father;
  if (children_->GetState()) mask |= Base::Children;
}

bool OrvVekComparePPRFilterDlg::IsSummaryPageAvailable() const { return summary_->GetState(); }
bool OrvVekComparePPRFilterDlg::DisplayAllAtts() const { return displayAll_->GetState(); }
