#include "OrvVekReplaceProductDlg.h"

#include "OrvIReplaceImpactedProduct.h"
#include "OrvVekCommandServices.h"
#include "TavServices.h"

namespace {
TavUnicodeString Text(const char* key, const char* fallback) {
  return TavMsgCatalog::BuildMessage(OrvVekReplaceProductDlg::kCatalog, key, {}, fallback);
}
}  // namespace

OrvVekReplaceProductDlg::OrvVekReplaceProductDlg(TavDlgWidget* father)
    : TavDlgDialog(father, "OrvVekReplaceProductDlg", 0, kCatalog) {
  SetTitle(Text("Title", "Replace Product"));
}

OrvVekReplaceProductDlg::~OrvVekReplaceProductDlg() = default;

void OrvVekReplaceProductDlg::Build() {
  auto* base = Add<TavDlgFrame>("BaseFrame");
  base->Add<TavDlgLabel>("lblPrdForReplace")->SetTitle(Text("lblPrdForReplace.Title", "Product to replace"));
  firstName_ = base->Add<TavDlgEditor>("edNameSelectedProduct");
  firstName_->SetSensitivity(false);  // filled by the pick
  base->Add<TavDlgLabel>("LabelSelectNewProduct")->SetTitle(Text("LabelSelectNewProduct.Title", "Replacing product file"));
  auto* browse = base->Add<TavDlgPushButton>("BrowseButton");
  browse->SetTitle(Text("BrowseButton.Title", "Browse..."));
  file_ = base->Add<TavDlgEditor>("Editor008");
  auto* clear = base->Add<TavDlgPushButton>("ClearButton");
  clear->SetTitle(Text("ClearButton.Title", "Clear"));
  auto* impacted = Add<TavDlgFrame>("ImpactedItems");
  list_ = impacted->Add<TavDlgMultiList>("MultiListImpactedComponent");
  list_->SetColumnTitles({Text(kTitleKeys[0], "Product"), Text(kTitleKeys[1], "Component"), Text(kTitleKeys[2], "Type"),
                          Text("ImpactedItems.MultiListImpactedComponent.ColumnTitle4", "Picked product")});
  auto* save = impacted->Add<TavDlgPushButton>("BtnSaveList");
  save->SetTitle(Text("BtnSaveList.Title", "Save List..."));
  ok_ = AddNotifyingButton("OK", TavDlgNotification::OK, "OK");
  apply_ = AddNotifyingButton("Apply", TavDlgNotification::Apply, "Apply");
  AddNotifyingButton("Cancel", TavDlgNotification::Cancel, "Cancel");
  AddAnalyseNotificationCB(browse, TavDlgNotification::Activate, [this] { OnBrowse(); });
  AddAnalyseNotificationCB(clear, TavDlgNotification::Activate, [this] { OnClear(); });
  AddAnalyseNotificationCB(save, TavDlgNotification::Activate, [this] { OnSaveList(); });
  AddAnalyseNotificationCB(file_, TavDlgNotification::Modify, [this] { UpdateSensitivity(); });
  UpdateSensitivity();
}

void OrvVekReplaceProductDlg::Set1stPrd(const Ref<TavBaseUnknown>& product) {
  first_ = product;
  TavUnicodeString name;
  GetPrdNameFromPPRTree(product, name);
  Set1stPrdName(name);
}

void OrvVekReplaceProductDlg::Set1stPrdName(const TavUnicodeString& name) {
  if (firstName_) firstName_->SetText(name);
  UpdateSensitivity();
}

void OrvVekReplaceProductDlg::Set2ndPrdName(const TavUnicodeString& path) {
  if (file_) file_->SetText(path);
  UpdateSensitivity();
}

TavUnicodeString OrvVekReplaceProductDlg::Get2ndPrdName() const { return file_ ? file_->GetText() : TavUnicodeString(); }

void OrvVekReplaceProductDlg::UpdateSensitivity() {
  const bool ready = first_ && !Get2ndPrdName().Strip().IsEmpty();
  if (ok_) ok_->SetSensitivity(ready);
  if (apply_) apply_->SetSensitivity(ready);
}

void OrvVekReplaceProductDlg::CleanImpactedList() {
  if (list_) list_->ClearLine();
}

void OrvVekReplaceProductDlg::GetPrdNameFromPPRTree(const Ref<TavBaseUnknown>& product, TavUnicodeString& name) {
  name = product ? OrvVekCommandServices::GetDisplayName(product) : TavUnicodeString();
}

void OrvVekReplaceProductDlg::AddImpactedComponentNames(const Ref<TavBaseUnknown>& product,
                                                        const std::vector<Ref<TavBaseUnknown>>& components, bool isPicked) {
  if (!list_ || components.empty()) return;  // most descendants: no name or text to make
  TavUnicodeString productName;
  GetPrdNameFromPPRTree(product, productName);
  const TavUnicodeString picked = isPicked ? Text("Yes", "Yes") : Text("No", "No");
  for (const auto& c : components) {
    auto impacted = query<OrvIReplaceImpactedProduct>(c);
    if (!impacted || FAILED(impacted->IsReplaceable())) continue;
    // Fresh strings for each line: a component that names nothing leaves its cell
    // empty, never with the line before's text.
    TavUnicodeString name, type;
    impacted->GetNameofComponent(name);
    impacted->GetNLSTypeOfComponent(type);
    const int line = list_->GetLineCount();
    list_->SetColumnItem(0, productName);
    list_->SetColumnItem(1, name, line);
    list_->SetColumnItem(2, type, line);
    list_->SetColumnItem(3, picked, line);
  }
}

void OrvVekReplaceProductDlg::ReplaceProductName_For_OK_Items(const TavUnicodeString& oldName, const TavUnicodeString& newName) {
  if (!list_) return;
  for (int row = 0; row < list_->GetLineCount(); ++row)
    if (list_->GetColumnItem(0, row) == oldName) list_->SetColumnItem(0, newName, row);
}

std::string OrvVekReplaceProductDlg::CsvField(const TavUnicodeString& text) {
  std::string field;
  bool quote = false;
  for (char32_t cp : text.CodePoints()) {
    if (cp == ',') {
      field += "; ";
    } else if (cp == '\r' || cp == '\n') {
      field += ' ';
    } else {
      quote = quote || cp == '"';
      AppendUtf8(field, cp);
    }
  }
  if (!quote) return field;
  std::string quoted = "\"";
  for (char c : field) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

void OrvVekReplaceProductDlg::RetriveResultsForSave(std::string& text) const {
  text.clear();
  auto line = [&](const TavUnicodeString& a, const TavUnicodeString& b, const TavUnicodeString& c) {
    text += CsvField(a) + "," + CsvField(b) + "," + CsvField(c) + "\n";
  };
  line(Text(kTitleKeys[0], "Product"), Text(kTitleKeys[1], "Component"), Text(kTitleKeys[2], "Type"));
  if (!list_) return;
  for (int row = 0; row < list_->GetLineCount(); ++row)
    line(list_->GetColumnItem(0, row), list_->GetColumnItem(1, row), list_->GetColumnItem(2, row));
}

// ------------------------------------------------------------------ buttons
void OrvVekReplaceProductDlg::OnBrowse() {
  closedBox_.reset();
  if (fileBox_) return;  // already open
  fileBox_ = std::make_unique<TavDlgFile>(this, "ReplacingProductFileBox", 0);
  fileBox_->SetFilterStrings({"(*.TavProduct) Product"}, {"*.TavProduct"});
  fileBox_->SetTitle(Text("BrowseBox.Title", "Select Replacing Product"));
  TavDlgFile* box = fileBox_.get();
  box->AddAnalyseNotificationCB(box, TavDlgNotification::OK, [this] { OnBrowseOK(); });
  box->AddAnalyseNotificationCB(box, TavDlgNotification::Cancel, [this] { OnBrowseCancel(); });
  box->Show();
  closedBox_.reset();  // an answer given while showing closed the box: its notification is over now
}

void OrvVekReplaceProductDlg::OnBrowseOK() {
  if (!fileBox_) return;
  Set2ndPrdName(fileBox_->GetSelection());
  OnBrowseCancel();
}

void OrvVekReplaceProductDlg::OnBrowseCancel() {
  if (!fileBox_) return;
  fileBox_->SetVisibility(false);
  closedBox_ = std::move(fileBox_);
}

void OrvVekReplaceProductDlg::OnClear() { Set2ndPrdName({}); }

void OrvVekReplaceProductDlg::OnSaveList() {
  closedSave_.reset();
  if (saveDialog_) return;  // already open
  saveDialog_ = std::make_unique<OrvVekReplaceProductSaveDlg>(
      this, [this](std::string& text) { RetriveResultsForSave(text); },
      [this] { closedSave_ = std::move(saveDialog_); });
  saveDialog_->Build();
  saveDialog_->SetVisibility(true);
}
