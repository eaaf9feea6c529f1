#include "VekAttributesOnRelationDialog.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

#include "TavAssignment.h"
#include "TavServices.h"
#include "TavYor.h"

namespace {
constexpr int kVisibleWidth = 26;

TavUnicodeString Text(const char* key, const char* fallback) {
  return TavMsgCatalog::BuildMessage(VekAttributesOnRelationDialog::kCatalog, key, {}, fallback);
}

// The whole text is a decimal integer (blanks around it allowed).
bool IsStrictInteger(const TavUnicodeString& v, long long& out) {
  const TavUnicodeString stripped = v.Strip();
  std::string_view s = stripped.utf8();
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  if (s.empty()) return false;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  return ec == std::errc() && end == s.data() + s.size();
}

// The boolean words the hub accepts, upper-cased.
constexpr const char* kTrueWords[] = {"TRUE", "YES", "JA", "WAHR", "OK", "1"};
constexpr const char* kFalseWords[] = {"FALSE", "NO", "NEIN", "FALSCH", "KO", "0"};

std::optional<bool> BoolWord(const TavUnicodeString& v) {
  const TavUnicodeString u = v.Strip().ToUpper();
  for (const char* w : kTrueWords)
    if (u == w) return true;
  for (const char* w : kFalseWords)
    if (u == w) return false;
  return std::nullopt;
}
}  // namespace

bool VekAttributesOnRelationDialog::IsODTReplay() {
  const char* v = std::getenv("VEK_AttributeOnRelation_HUBODT_CMD");
  if (!v) return false;
  const TavUnicodeString u = TavUnicodeString(v).ToUpper();
  return u == "TRUE" || u == "1";
}

VekAttributesOnRelationDialog::VekAttributesOnRelationDialog(TavDlgWidget* father)
    : TavDlgDialog(father, "AttributeDlg", 0, kCatalog) {
  SetVisibility(false);
  ok_ = AddNotifyingButton("OK", TavDlgNotification::OK, "OK");
  cancel_ = AddNotifyingButton("Cancel", TavDlgNotification::Cancel, "Cancel");
}

VekAttributesOnRelationDialog::~VekAttributesOnRelationDialog() {
  for (auto* e : editors_)
    if (e) RemoveAnalyseNotificationCB(e, TavDlgNotification::Modify);
  RemoveAnalyseNotificationCB(ok_, TavDlgNotification::Activate);
  RemoveAnalyseNotificationCB(cancel_, TavDlgNotification::Activate);
}

bool VekAttributesOnRelationDialog::CreateValidListOfAttributes(const TavUnicodeString& relationTypeName) {
  for (auto* e : editors_)
    if (e) RemoveAnalyseNotificationCB(e, TavDlgNotification::Modify);
  editors_.clear();
  combos_.clear();
  widgetCount_ = 0;
  if (!box_) box_ = Add<TavDlgFrame>("frmBox");
  box_->RemoveChildren();
  box_->Add<TavDlgLabel>("LabelAttribute")->SetTitle(Text("LabelAttribute.Title", "Attribute"));
  box_->Add<TavDlgLabel>("LabelValue")->SetTitle(Text("LabelValue.Title", "Value"));
  names_.clear();
  types_.clear();
  displayNames_.clear();
  defaults_.clear();
  kinds_.clear();
  allowed_.clear();
  allowedDisplay_.clear();

  auto ed = TavFrmEditor::GetCurrentEditor();
  layout_ = ed ? TavYorLayoutMgtOf(ed->GetDocument()) : nullptr;
  if (IsODTReplay()) {
    names_ = {"StringAttribute", "IntegerAttribute"};
    types_ = {"KwEPTypeString", "KwEPTypeInteger"};
    displayNames_ = {"String", "Integer"};
    defaults_ = {"HelloWorld", ""};
    kinds_ = {2, 2};
    allowed_.resize(2);
    allowedDisplay_.resize(2);
  } else {
    std::vector<OrvYorAttributeDefinition> defs;
    if (!layout_ || FAILED(layout_->GetAttributeDefinitions(relationTypeName, defs))) return false;
    for (auto& d : defs) {
      names_.push_back(d.name);
      types_.push_back(d.type);
      displayNames_.push_back(d.displayName);
      defaults_.push_back(d.defaultValue);
      kinds_.push_back(d.kind);
      allowed_.push_back(d.allowedValues);
      allowedDisplay_.push_back(d.allowedDisplayValues.size() == d.allowedValues.size() ? d.allowedDisplayValues
                                                                                        : d.allowedValues);
    }
  }
  const std::size_t n = names_.size();
  if (types_.size() != n || displayNames_.size() != n || defaults_.size() != n || kinds_.size() != n) return false;
  for (std::size_t i = 0; i < n; ++i) {
    // Rows share the resource names; the row number keeps each widget addressable.
    const std::string row = "." + std::to_string(i + 1);
    auto* label = box_->Add<TavDlgEditor>("AttributeEditor" + row);
    label->SetReadOnly(true);
    label->SetVisibleTextWidth(kVisibleWidth);
    label->SetText(displayNames_[i]);
    ++widgetCount_;
    if (!allowed_[i].empty()) {
      auto* combo = box_->Add<TavDlgCombo>("ValueCombo" + row);
      for (auto& v : allowedDisplay_[i]) combo->SetLine(v);
      auto at = std::find(allowed_[i].begin(), allowed_[i].end(), defaults_[i]);
      combo->SetSelect(at == allowed_[i].end() ? 0 : static_cast<int>(at - allowed_[i].begin()));
      editors_.push_back(nullptr);
      combos_.push_back(combo);
    } else {
      auto* editor = box_->Add<TavDlgEditor>("ValueEditor" + row);
      editor->SetVisibleTextWidth(kVisibleWidth);
      editor->SetText(defaults_[i]);
      AddAnalyseNotificationCB(editor, TavDlgNotification::Modify, [this, editor] { OnEditorModifNotification(editor); });
      editors_.push_back(editor);
      combos_.push_back(nullptr);
    }
    ++widgetCount_;
  }
  return true;
}

std::vector<TavUnicodeString> VekAttributesOnRelationDialog::GetValueList() const {
  std::vector<TavUnicodeString> out;
  if (editors_.size() != names_.size() || combos_.size() != names_.size()) return out;
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (editors_[i]) {
      out.push_back(editors_[i]->GetText());
      continue;
    }
    TavUnicodeString value;
    auto sel = combos_[i] ? combos_[i]->GetSelect() : std::vector<int>{};
    if (!sel.empty()) {
      // The line shows the display text; the hub receives the internal value.
      const TavUnicodeString shown = combos_[i]->GetLine(sel.front());
      auto& display = allowedDisplay_[i];
      auto at = std::find(display.begin(), display.end(), shown);
      if (at != display.end()) value = allowed_[i][static_cast<std::size_t>(at - display.begin())];
    }
    out.push_back(value);
  }
  return out;
}

std::optional<EPPErrorTypes> VekAttributesOnRelationDialog::CheckValue(const TavUnicodeString& value, const TavUnicodeString& type) {
  if (value.Strip().IsEmpty()) return std::nullopt;
  if (type == "KwEPTypeInteger") {
    std::int64_t v = 0;
    if (FAILED(TavParmDictionary::DecodeInteger(value, v))) return EPP_DecodingMagnitudeUnitError;
  } else if (type == "KwEPTypeFloat") {
    double v = 0;
    if (FAILED(TavParmDictionary::DecodeReal(value, v))) return EPP_DecodingMagnitudeUnitError;
  } else if (type == "KwEPTypeBool") {
    long long v = 0;
    if (!BoolWord(value) && !IsStrictInteger(value, v)) return EPP_AttributeNoBoolValueError;
  } else if (type == "KwEPTypeDate") {
    // The hub takes no dates from this dialog.
    return ERR_DateConversionError;
  }
  return std::nullopt;
}

bool VekAttributesOnRelationDialog::IsCorrectValue(int, const TavUnicodeString& value, const TavUnicodeString& type) {
  auto error = CheckValue(value, type);
  if (!error) return true;
  ShowErrorWindow(*error, value);
  return false;
}

void VekAttributesOnRelationDialog::ShowErrorWindow(EPPErrorTypes errorType, const TavUnicodeString& magnitude) {
  static constexpr const char* kKeys[] = {"VekGeneralAssignDialog.EPP_DecodingMagnitudeUnitError",
                                          "VekGeneralAssignDialog.EPP_AttributeNoBoolValueError",
                                          "VekGeneralAssignDialog.ERR_DateConversionError"};
  static constexpr const char* kFallbacks[] = {"The value '/P1' is no number with a known unit.",
                                               "The value '/P1' is no boolean value.",
                                               "The value '/P1' is no date that can be taken."};
  const int i = std::clamp(static_cast<int>(errorType), 0, 2);
  TavDlgNotify box(nullptr, "OrvVekErrorDlg", TavDlgNotify::Error);
  box.DisplayBox(TavMsgCatalog::BuildMessage(kErrorCatalog, "VekGeneralAssignDialog.ErrorMessageDlg.MsgBoxTitle", {}, "Error"),
                 TavMsgCatalog::BuildMessage(kErrorCatalog, kKeys[i], {magnitude}, kFallbacks[i]));
  box.DisplayBlocked();
}

std::unique_ptr<TavValue> VekAttributesOnRelationDialog::ConvertValue(const TavUnicodeString& value, const TavUnicodeString& type) {
  if (CheckValue(value, type)) return nullptr;
  if (type == "KwEPTypeInteger") {
    std::int64_t v = 0;
    TavParmDictionary::DecodeInteger(value, v);
    return std::make_unique<TavValue>(v);
  }
  if (type == "KwEPTypeFloat") {
    double v = 0;
    TavParmDictionary::DecodeReal(value, v);
    return std::make_unique<TavValue>(v);
  }
  if (type == "KwEPTypeBool") {
    if (auto b = BoolWord(value)) return std::make_unique<TavValue>(*b);
    long long v = 0;
    IsStrictInteger(value, v);
    return std::make_unique<TavValue>(v != 0);
  }
  if (type == "KwEPTypeDate") return nullptr;  // only an empty date passes, and it is not written
  return std::make_unique<TavValue>(value);
}

std::unique_ptr<TavValue> VekAttributesOnRelationDialog::CreateReturnVariant(const TavUnicodeString& value, const TavUnicodeString&,
                                                                             const TavUnicodeString& type) const {
  if (!layout_) return nullptr;
  return ConvertValue(value, type);
}

TavUnicodeString VekAttributesOnRelationDialog::GetCorrespondingStringforDataType(const TavUnicodeString& type) {
  if (type == "KwEPTypeString") return Text("DataType.String", "String");
  if (type == "KwEPTypeInteger") return Text("DataType.Integer", "Integer");
  if (type == "KwEPTypeFloat") return Text("DataType.Float", "Real");
  if (type == "KwEPTypeBool") return Text("DataType.Bool", "Boolean");
  if (type == "KwEPTypeDate") return Text("DataType.Date", "Date");
  return type;
}

void VekAttributesOnRelationDialog::OnEditorModifNotification(TavDlgEditor* editor) {
  auto at = std::find(editors_.begin(), editors_.end(), editor);
  if (!editor || at == editors_.end()) return;
  const auto row = static_cast<std::size_t>(at - editors_.begin());
  if (row < types_.size()) IsCorrectValue(static_cast<int>(row), editor->GetText(), types_[row]);
}
