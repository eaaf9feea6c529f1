#include "OrvVekResourceDlgBox.h"

#include <cmath>

#include "TavCopy.h"
#include "TavServices.h"

namespace {
TavUnicodeString Msg(const char* key, const char* fallback, const std::vector<TavUnicodeString>& params = {}) {
  return TavMsgCatalog::BuildMessage(OrvVekResourceDlgBox::kCatalog, key, params, fallback);
}
constexpr const char* kCategory = "Physical";
}  // namespace

OrvVekResourceDlgBox::OrvVekResourceDlgBox(TavDlgWidget* father)
    : TavDlgDialog(father, "OrvVekResourceDlgBox", 0, kCatalog) {
  SetTitle(Msg("BuildAddResource.Title", "Create Resource"));
}

OrvVekResourceDlgBox::~OrvVekResourceDlgBox() = default;

void OrvVekResourceDlgBox::Build() {
  auto* main = Add<TavDlgFrame>("MainFrame");
  main->Add<TavDlgLabel>("NameLabel");
  name_ = main->Add<TavDlgEditor>("NameEditor");
  main->Add<TavDlgLabel>("QuantityLabel");
  quantity_ = main->Add<TavDlgSpinner>("QuantitySpinner");
  quantity_->SetRange(1, kMaxQuantity, 1);
  main->Add<TavDlgLabel>("CategoryLabel");
  category_ = main->Add<TavDlgEditor>("CategoryEditor");
  main->Add<TavDlgLabel>("TypeLabel");
  type_ = main->Add<TavDlgCombo>("TypeCombo");

  auto* sub = Add<TavDlgFrame>("SubFrame");
  more_ = sub->Add<TavDlgFrame>("MoreFrame");
  more_->SetTitle(Msg("BuildMore.Title", "Failures and repairs"));
  more_->Add<TavDlgLabel>("MTBFLabel");
  mtbf_ = more_->Add<TavDlgSpinner>("MTBFSpinner");
  mtbf_->SetRange(0, kMaxTime, 1);
  more_->Add<TavDlgLabel>("MTTRLabel");
  mttr_ = more_->Add<TavDlgSpinner>("MTTRSpinner");
  mttr_->SetRange(0, kMaxTime, 1);
  more_->SetVisibility(false);

  auto* buttons = Add<TavDlgFrame>("ButtonFrame");
  auto* clear = buttons->Add<TavDlgPushButton>("ClearAllPushButton");
  moreLess_ = buttons->Add<TavDlgPushButton>("MoreLessPushButton");
  moreLess_->SetTitle(Msg("More", "More >>"));
  AddAnalyseNotificationCB(clear, TavDlgNotification::Activate, [this] { OnClearAll(); });
  AddAnalyseNotificationCB(moreLess_, TavDlgNotification::Activate, [this] { OnMore(); });
  ok_ = AddNotifyingButton("OK", TavDlgNotification::OK, "OK");
  AddNotifyingButton("Cancel", TavDlgNotification::Cancel, "Cancel");

  category_->SetText(kCategory);
  quantity_->SetValue(1);
}

TavUnicodeString OrvVekResourceDlgBox::GetResourceName() const { return name_ ? name_->GetText() : TavUnicodeString(); }
TavUnicodeString OrvVekResourceDlgBox::GetResourceCategory() const {
  return category_ ? category_->GetText() : TavUnicodeString();
}
TavUnicodeString OrvVekResourceDlgBox::GetResourceType() const {
  if (!type_ || type_->GetSelect().empty()) return {};
  return type_->GetLine(type_->GetSelect().front());
}
int OrvVekResourceDlgBox::GetResourceQuantity() const {
  return quantity_ ? static_cast<int>(std::lround(quantity_->GetValue())) : 1;
}
int OrvVekResourceDlgBox::GetMTBF() const { return mtbf_ ? static_cast<int>(std::lround(mtbf_->GetValue())) : 0; }
int OrvVekResourceDlgBox::GetMTTR() const { return mttr_ ? static_cast<int>(std::lround(mttr_->GetValue())) : 0; }

TavUnicodeString OrvVekResourceDlgBox::CheckValues() const {
  if (GetResourceName().Strip().IsEmpty()) return Msg("NoName", "Give the resource a name.");
  if (GetResourceType().IsEmpty()) return Msg("NoType", "Choose a resource type.");
  // The spinners keep their ranges; a fraction typed into one is no count of resources or hours.
  for (const TavDlgSpinner* s : {quantity_, mtbf_, mttr_})
    if (s && s->GetValue() != std::floor(s->GetValue()))
      return Msg("NotWhole", "\"/P1\" takes a whole number, not /P2.", {TavUnicodeString(s->GetName()), TavUnicodeString(s->ValueText())});
  return {};
}

bool OrvVekResourceDlgBox::FillCombo(std::string* error) {
  type_->ClearLine();
  std::vector<TavUnicodeString> types;
  std::string why = "no resource type list is installed";
  auto* list = TavResourceTypeList::Get();
  if (!list || FAILED(list->GetResourceTypes(kTypeLibrary, types, why))) {
    if (error) *error = why;
    return false;
  }
  for (const auto& t : types) type_->SetLine(t);
  return true;
}

bool OrvVekResourceDlgBox::IsMoreShown() const { return more_ && more_->IsVisible(); }

void OrvVekResourceDlgBox::OnMore() {
  const bool show = !IsMoreShown();
  more_->SetVisibility(show);
  moreLess_->SetTitle(show ? Msg("Less", "<< Less") : Msg("More", "More >>"));
}

void OrvVekResourceDlgBox::OnClearAll() {
  name_->SetText({});
  category_->SetText({});
  quantity_->SetValue(1);
  mtbf_->SetValue(0);
  mttr_->SetValue(0);
  type_->SetSelect(-1);
}
