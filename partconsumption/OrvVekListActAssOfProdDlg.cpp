#include "OrvVekListActAssOfProdDlg.h"

#include "OrvVekCenterActInPPR.h"
#include "OrvVekPartConsumptionUtilities.h"
#include "OrvVekPartConsumptionWarning.h"
#include "TavServices.h"

namespace {
TavUnicodeString Number(int n) { return TavUnicodeString(std::to_string(n)); }
TavUnicodeString YesNo(bool b) { return b ? "Yes" : "No"; }
}  // namespace

OrvVekListActAssOfProdDlg::OrvVekListActAssOfProdDlg(bool hub, TavDlgWidget* father)
    : TavDlgDialog(father, "OrvVekListActAssOfProdDlg", kStyle, kCatalog), hub_(hub) {
  SetVisibility(false);
}

OrvVekListActAssOfProdDlg::~OrvVekListActAssOfProdDlg() = default;

TavUnicodeString OrvVekListActAssOfProdDlg::Text(const char* key, const char* fallback) const {
  return TavMsgCatalog::BuildMessage(kCatalog, key, {}, fallback);
}

void OrvVekListActAssOfProdDlg::Build() {
  SetTitle(Text("DlgTitle", "List Associated Activities"));
  childColumns_ = OrvVekPartConsumptionUtilities::IsChildAssignCheckEnabled();
  OrvVekPartConsumptionUtilities::GetEffectivityTypeToShow(effectivityMode_);

  auto* main = Add<TavDlgFrame>("MainFrame");
  main->SetTitle(Text("mainFrameTitle", "Part Consumption"));
  tabs_ = main->Add<TavDlgTabContainer>("pAssocActTabContainer");

  auto* assocPage = tabs_->Add<TavDlgTabPage>("pAssocActTabPage");
  assocPage->SetTitle(Text("assocActTabTitle", "Associated Activities"));
  assocList_ = assocPage->Add<TavDlgMultiList>("pAssocActMultiList");
  std::vector<TavUnicodeString> columns{Text("listNo", "No."), Text("SelectedProducts", "Selected Products")};
  if (childColumns_) {
    columns.push_back(Text("ChildrenAssigned", "Children Assigned"));
    columns.push_back(Text("Children", "Children"));
  }
  for (auto [key, fallback] : {std::pair{"AssocActivity", "Associated Activity"}, {"AssignType", "Assignment Type"},
                               {"Parent", "Parent"}, {"ActivityLoaded", "Activity Loaded"}})
    columns.push_back(Text(key, fallback));
  if (const char* attribute = OrvVekGenPartConsumptionXML::EffectivityAttribute(effectivityMode_)) {
    static const char* const kKeys[] = {"LineEffectivity", "DateEffectivity", "LabelEffectivity", "ExtEffectivity"};
    columns.push_back(Text(kKeys[effectivityMode_ - 1], attribute));
  }
  assocList_->SetColumnTitles(std::move(columns));

  auto* unassignedPage = tabs_->Add<TavDlgTabPage>("pUnassPartsTabPage");
  unassignedPage->SetTitle(Text("UnassPartsTabTitle", "Unassigned Parts"));
  unassignedList_ = unassignedPage->Add<TavDlgMultiList>("pUnassPartsMultiList");
  unassignedList_->SetColumnTitles({Text("listNo", "No."), Text("Parts", "Parts")});

  auto* eiPage = tabs_->Add<TavDlgTabPage>("pEIConsumptionTabPage");
  eiPage->SetTitle(Text("EIConsumptionTitle", "Engineering Requirements"));
  eiList_ = eiPage->Add<TavDlgMultiList>("pEIConsumptionMultiList");
  eiList_->SetColumnTitles(
      {Text("listNo", "No."), Text("NameOfPartWithEI", "Part"), Text("PartStatus", "Engineering Requirement Status")});
  tabs_->SetSelectedPage(assocPage->GetName());

  auto* buttons = Add<TavDlgFrame>("pButtonFrame");
  highlight_ = buttons->Add<TavDlgCheckButton>("hiliteUnassigned");
  highlight_->SetTitle(Text("hiliteUnassigned", "Highlight unassigned parts"));
  buttons->Add<TavDlgLabel>("Blank")->SetTitle(" ");
  exportButton_ = buttons->Add<TavDlgPushButton>("pExpXml");
  exportButton_->SetTitle(Text("MainFrame.pButtonFrame.pExpXml.Title", "Export to XML"));

  export_ = std::make_unique<OrvVekExpPartConsResulttoXMLDlg>(nullptr);
  export_->Build();
  export_->SetVisibility(false);
  AddAnalyseNotificationCB(exportButton_, TavDlgNotification::Activate, [this] { OnExport(); });
  // A notification reaches the callbacks of the dialog it comes from: the export dialog's.
  export_->AddAnalyseNotificationCB(export_.get(), TavDlgNotification::OK, [this] { OnXmlDlgOk(); });
  export_->AddAnalyseNotificationCB(export_.get(), TavDlgNotification::Cancel, [this] { OnXmlDlgCancel(); });
  AddAnalyseNotificationCB(assocList_, TavDlgNotification::Activate, [this] { OnDoubleClick(); });
}

void OrvVekListActAssOfProdDlg::InitDisplay(const OrvPartConsumptionRecords& results,
                                            const std::vector<Ref<TavBaseUnknown>>& unassigned,
                                            const std::vector<TavUnicodeString>& states,
                                            const std::vector<Ref<TavBaseUnknown>>& products) {
  // Null records show no row; keeping none lets a row number index its record.
  results_.clear();
  for (auto& r : results)
    if (r) results_.push_back(r);
  unassigned_ = unassigned;
  std::vector<OrvVekEIState> rows;
  for (std::size_t i = 0; i < std::min(states.size(), products.size()); ++i) rows.push_back({products[i], states[i]});
  eiRows_ = OrvVekEIRows(std::move(rows));
  if (!assocList_) return;
  assocList_->ClearLine();
  unassignedList_->ClearLine();
  eiList_->ClearLine();
  int row = 0;
  for (auto& r : results_) AddRowAssocActList(++row, r);
  row = 0;
  for (auto& p : unassigned_) AddRowUnassignList(++row, p);
  for (std::size_t i = 0; i < eiRows_.Rows().size(); ++i)
    AddRowEIConsumptionList(static_cast<int>(i) + 1, eiRows_.Rows()[i].product, eiRows_.Rows()[i].state);
}

void OrvVekListActAssOfProdDlg::AddRowAssocActList(int row, const Ref<OrvPartConsumptionAnalysisResult>& record) {
  if (!assocList_ || !record) return;
  const std::vector<TavUnicodeString> d = record->GetDisplayInfo();
  auto at = [&](std::size_t i) { return i < d.size() ? d[i] : TavUnicodeString(); };
  const int line = assocList_->GetLineCount();
  int column = 0;
  assocList_->SetColumnItem(column++, Number(row));
  const bool asChild = childColumns_ && record->IsChild();
  assocList_->SetColumnItem(column++, asChild ? TavUnicodeString() : at(0), line);
  if (childColumns_) {
    assocList_->SetColumnItem(column++, record->HasChildren() ? YesNo(record->AllChildrenAssigned()) : " ", line);
    assocList_->SetColumnItem(column++, asChild ? at(0) : TavUnicodeString(), line);
  }
  assocList_->SetColumnItem(column++, at(1), line);
  assocList_->SetColumnItem(column++, at(2), line);
  assocList_->SetColumnItem(column++, at(3), line);
  assocList_->SetColumnItem(column++, YesNo(record->IsAssocActLoaded()), line);
  if (OrvVekGenPartConsumptionXML::EffectivityAttribute(effectivityMode_)) assocList_->SetColumnItem(column, at(4), line);
}

void OrvVekListActAssOfProdDlg::AddRowUnassignList(int row, const Ref<TavBaseUnknown>& product) {
  if (!unassignedList_) return;
  const int line = unassignedList_->GetLineCount();
  unassignedList_->SetColumnItem(0, Number(row));
  unassignedList_->SetColumnItem(1, OrvPartConsumptionAnalysisResult::NameOf(product), line);
}

void OrvVekListActAssOfProdDlg::AddRowEIConsumptionList(int row, const Ref<TavBaseUnknown>& product,
                                                        const TavUnicodeString& state) {
  if (!eiList_) return;
  const int line = eiList_->GetLineCount();
  eiList_->SetColumnItem(0, Number(row));
  eiList_->SetColumnItem(1, OrvPartConsumptionAnalysisResult::NameOf(product), line);
  eiList_->SetColumnItem(2, state, line);
}

int OrvVekListActAssOfProdDlg::GetEIInfoListSize() const { return eiRows_.GetEIInfoListSize(); }

HRESULT OrvVekListActAssOfProdDlg::GetEIInfo(int index, int& number, TavUnicodeString& productName,
                                            TavUnicodeString& consumptionState) const {
  return eiRows_.GetEIInfo(index, number, productName, consumptionState);
}

void OrvVekListActAssOfProdDlg::OnExport() {
  if (export_) export_->SetVisibility(true);
}

void OrvVekListActAssOfProdDlg::OnXmlDlgOk() {
  if (!export_) return;
  CreateXMLFile(export_->GetXmlTextBox());
  export_->SetVisibility(false);
}

void OrvVekListActAssOfProdDlg::OnXmlDlgCancel() {
  if (export_) export_->SetVisibility(false);
}

HRESULT OrvVekListActAssOfProdDlg::CreateXMLFile(const TavUnicodeString& path) {
  return OrvVekGenPartConsumptionXML::CreateXMLFile(path, results_, unassigned_, effectivityMode_, this);
}

void OrvVekListActAssOfProdDlg::OnDoubleClick() {
  if (!assocList_) return;
  const std::vector<int> rows = assocList_->GetSelect();
  if (rows.empty()) return;
  // The row's own record: two activities may share a label path.
  const std::size_t row = static_cast<std::size_t>(rows.front());
  if (row >= results_.size()) return;
  const auto& record = results_[row];
  if (!record->HasAssignedActivity()) return;  // a product's summary row: no activity to find
  if (record->IsAssocActLoaded() && record->GetAssocAct()) {
    OrvVekCenterActInPPR::HighlightAndCenterObject(record->GetAssocAct());
    return;
  }
  ShowWarning(nullptr, "InvalidSelMsg", "InvalidSelTitle", {}, kWarningStyle);
}

void OrvVekListActAssOfProdDlg::ShowWarning(TavDlgWidget*, const std::string& messageKey, const std::string& titleKey,
                                            const TavUnicodeString& extraText, int style) {
  OrvVekShowCatalogBox(kCatalog, "Warning", TavDlgNotify::Warning, messageKey, "Selected activity is not loaded.",
                       titleKey, "List Associated Activities - Warning", extraText, style);
}

bool OrvVekListActAssOfProdDlg::GetHiLightUnasignedCheck() const { return highlight_ && highlight_->GetState(); }
