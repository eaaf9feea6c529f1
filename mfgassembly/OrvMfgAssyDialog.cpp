#include "OrvMfgAssyDialog.h"

#include <algorithm>

#include "OrvVekPartConsumptionUtilities.h"

namespace {
TavUnicodeString Text(const std::string& key, const char* fallback) {
  return TavMsgCatalog::BuildMessage(OrvMfgAssyDialog::kCatalog, key, {}, fallback);
}
constexpr int kTypeColumn = 0, kNameColumn = 1;
}  // namespace

OrvMfgAssyDialog::OrvMfgAssyDialog(std::string mode, TavDlgWidget* father)
    : TavDlgDialog(father, kName, 0, kCatalog), mode_(std::move(mode)) {
  SetVisibility(false);
}

OrvMfgAssyDialog::~OrvMfgAssyDialog() {
  // The preview shows the picks of this dialog only; it goes with it.
  if (previewWindow_ && !previewWindow_->IsClosed()) previewWindow_->Close();
}

void OrvMfgAssyDialog::Build() {
  if (built_) return;
  built_ = true;
  SetTitle(IsKit() ? Text("KitTitle", "Manufacturing Kit") : Text("AssemblyTitle", "Manufactured Assembly"));
  auto* main = Add<TavDlgFrame>("MainFrame");
  main->Add<TavDlgLabel>("NameLabel")->SetTitle(Text("NameLabel.Title", "Name:"));
  name_ = main->Add<TavDlgEditor>("Name");
  main->Add<TavDlgLabel>("PartNumLabel")->SetTitle(Text("PartNumLabel.Title", "Part number:"));
  partNumber_ = main->Add<TavDlgEditor>("PartNumber");
  generate_ = main->Add<TavDlgPushButton>("GenerateBtn");
  generate_->SetTitle(Text("GenerateBtn.Title", "..."));
  if (HasPlanTypes()) {
    main->Add<TavDlgLabel>("PlanTypeLabel")->SetTitle(Text("PlanTypeLabel.Title", "Plan type:"));
    combo_ = main->Add<TavDlgCombo>("Combo");
  }

  auto* partsFrame = Add<TavDlgFrame>("PartsResourcesFrame");
  partsFrame->SetTitle(Text("PartsResourcesFrame.Title", "Content"));
  auto* listFrame = partsFrame->Add<TavDlgFrame>("PartsListFrame");
  parts_ = listFrame->Add<OrvMfgAssyPartsList>("PartsList");
  parts_->SetMultiSelect(true);
  parts_->SetColumnTitles({Text("HeaderType", "Type"), Text("HeaderName", "Name")});
  parts_->SetVisibleLineCount(10);
  parts_->SetColumnTextWidth(kNameColumn, 21);
  selectAll_ = listFrame->Add<TavDlgCheckButton>("SelectAllChkBx");
  selectAll_->SetTitle(Text("SelectAllChkBx.Title", "Select all"));

  auto* options = Add<TavDlgFrame>("OptionsFrame");
  options->SetTitle(Text("OptionsFrame.Title", "Options"));
  preview_ = options->Add<TavDlgCheckButton>("PreviewChkBx");
  preview_->SetTitle(Text("PreviewChkBx.Title", "Preview"));
  remove_ = options->Add<TavDlgPushButton>("RemovePartsBtn");
  remove_->SetTitle(Text("RemovePartsBtn.Title", "Remove"));

  ok_ = AddNotifyingButton("OK", TavDlgNotification::OK, "OK");
  apply_ = AddNotifyingButton("Apply", TavDlgNotification::Apply, "Apply");
  cancel_ = AddNotifyingButton("Cancel", TavDlgNotification::Cancel, "Cancel");
  apply_->SetSensitivity(false);

  AddAnalyseNotificationCB(name_, TavDlgNotification::Modify, [this] { SetAPPLYSensitive(true); });
  AddAnalyseNotificationCB(partNumber_, TavDlgNotification::Modify, [this] { SetAPPLYSensitive(true); });
  AddAnalyseNotificationCB(generate_, TavDlgNotification::Activate, [this] { OnGenerate(); });
  AddAnalyseNotificationCB(selectAll_, TavDlgNotification::Modify, [this] { OnSelectAll(); });
  AddAnalyseNotificationCB(preview_, TavDlgNotification::Modify, [this] { OnPreview(); });
  // The list's own selection changes nothing but what Remove takes; listening
  // keeps a script's row choice from being reported as unhandled.
  AddAnalyseNotificationCB(parts_, TavDlgNotification::Select, [] {});
  if (combo_) AddAnalyseNotificationCB(combo_, TavDlgNotification::Select, [this] { SetAPPLYSensitive(true); });

  generator_ = std::make_unique<OrvMfgAssyPartNumGenerator>(
      nullptr,
      [this](const TavUnicodeString& text) {
        partNumber_->SetText(text);
        SetAPPLYSensitive(true);
      },
      [this] { SetAPPLYSensitive(true); });
}

void OrvMfgAssyDialog::SetPartsList(const std::vector<TavUnicodeString>& names) {
  if (!parts_) return;
  parts_->ClearRows();
  for (const auto& n : names) {
    parts_->SetColumnItem(kTypeColumn, {});
    parts_->SetColumnItem(kNameColumn, n, parts_->GetLineCount() - 1);
  }
}

void OrvMfgAssyDialog::TypeLook(const TavUnicodeString& type, TavUnicodeString& letter, std::string& icon) {
  struct Look {
    const char *type, *letter, *icon;
  };
  static constexpr Look kLooks[] = {
      {"Produkt", "P", "I_KitProductSmall.bmp"},
      {"Resource", "R", "I_KitResourceSmall.bmp"},
      {"Assembly", "A", "I_OrvMfgAssyCmd.bmp"},
      {"ManufacturingKit", "K", "I_OrvMfgKitCmd.bmp"},
  };
  letter = {};
  icon.clear();
  for (const auto& l : kLooks)
    if (type == l.type) {
      letter = l.letter;
      icon = l.icon;
    }
}

void OrvMfgAssyDialog::SetPartTypeList(const std::vector<TavUnicodeString>& types) {
  if (!parts_) return;
  const int rows = std::min(parts_->GetLineCount(), static_cast<int>(types.size()));
  TavUnicodeString letter;
  std::string icon;
  for (int i = 0; i < rows; ++i) {
    TypeLook(types[static_cast<std::size_t>(i)], letter, icon);
    parts_->SetColumnItem(kTypeColumn, letter, i);
    parts_->SetRowIcon(i, icon);
  }
}

void OrvMfgAssyDialog::SetPlanTypeList(const std::vector<TavUnicodeString>& types) {
  if (!combo_) return;
  combo_->ClearLine();
  for (const auto& t : types) combo_->SetLine(t);
}

void OrvMfgAssyDialog::SelectPlanType(const TavUnicodeString& planType) {
  if (!combo_) return;
  combo_->SetSelect(-1);
  if (planType.IsEmpty()) return;
  for (int i = 0; i < combo_->GetLineCount(); ++i)
    if (combo_->GetLine(i) == planType) {
      combo_->SetSelect(i);
      return;
    }
}

TavUnicodeString OrvMfgAssyDialog::GetHxPlanType() const {
  if (!combo_ || combo_->GetSelectCount() == 0) return {};
  return combo_->GetLine(combo_->GetSelect().front());
}

void OrvMfgAssyDialog::SetPreviewList(const std::vector<Ref<TavBaseUnknown>>& objects, bool replace) {
  if (replace) previewed_ = objects;
  else previewed_.insert(previewed_.end(), objects.begin(), objects.end());
  if (preview_ && preview_->GetState()) ShowPreview();
}

void OrvMfgAssyDialog::ShowPreview() {
  if (!previewWindow_ || previewWindow_->IsClosed()) previewWindow_ = VEKPreviewWindow::Open(TavFrmEditor::GetCurrentEditor());
  if (!previewWindow_) return;
  previewWindow_->SetItems(OrvVekPartConsumptionUtilities::GetNonMAList(previewed_));
  previewWindow_->SetVisible(true);
}

void OrvMfgAssyDialog::OnPreview() {
  if (preview_->GetState()) ShowPreview();
  else if (previewWindow_ && !previewWindow_->IsClosed()) previewWindow_->SetVisible(false);
}

void OrvMfgAssyDialog::OnSelectAll() {
  if (!parts_) return;
  if (!selectAll_->GetState()) {
    parts_->ClearSelect();
    return;
  }
  std::vector<int> rows(static_cast<std::size_t>(parts_->GetLineCount()));
  for (int i = 0; i < parts_->GetLineCount(); ++i) rows[static_cast<std::size_t>(i)] = i;
  parts_->SetSelectedRows(std::move(rows));
}

void OrvMfgAssyDialog::OnGenerate() {
  if (generator_) generator_->Show();
}

TavUnicodeString OrvMfgAssyDialog::GetMAName() const { return name_ ? name_->GetText() : TavUnicodeString(); }
TavUnicodeString OrvMfgAssyDialog::GetMAPartNumber() const {
  return partNumber_ ? partNumber_->GetText() : TavUnicodeString();
}

void OrvMfgAssyDialog::GetSelectedParts(std::vector<int>& rows, int& count) const {
  rows = parts_ ? parts_->GetSelect() : std::vector<int>{};
  std::sort(rows.begin(), rows.end());
  count = static_cast<int>(rows.size());
}

void OrvMfgAssyDialog::ResetSelectAllChkBx() {
  if (selectAll_) selectAll_->SetState(false);
}

void OrvMfgAssyDialog::InitInEdit(const TavUnicodeString& name, const TavUnicodeString& partNumber,
                                  const std::vector<Ref<TavBaseUnknown>>& content,
                                  const std::vector<TavUnicodeString>& names) {
  if (!built_) Build();
  name_->SetText(name);
  partNumber_->SetText(partNumber);
  SetPartsList(names);
  SetPreviewList(content, true);
}

void OrvMfgAssyDialog::SetAPPLYSensitive(bool state) {
  if (apply_) apply_->SetSensitivity(state);
}
