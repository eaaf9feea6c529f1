#pragma once
// In a hub document, the values of the attributes the hub defines for a relation
// type, typed by the user before the relation is made. One row per attribute: its
// display name and an editor (or, for enumerated attributes, a combo). Values are
// checked against their type while the user types.
#include <memory>
#include <optional>

#include "TavDialog.h"
#include "TavPPR.h"

class OrvIYorLayoutMgt;

// Why a value was refused, in the order of the message keys.
enum EPPErrorTypes { EPP_DecodingMagnitudeUnitError = 0, EPP_AttributeNoBoolValueError = 1, ERR_DateConversionError = 2 };

class VekAttributesOnRelationDialog : public TavDlgDialog {
public:
  static constexpr const char* kCatalog = "VekAttributesOnRelationDialog";
  static constexpr const char* kErrorCatalog = "VekGeneralAssignDialog";
  // Replay mode: the environment variable "VEK_AttributeOnRelation_HUBODT_CMD" is "TRUE" or "1" (any case).
  static bool IsODTReplay();

  explicit VekAttributesOnRelationDialog(TavDlgWidget* father);
  ~VekAttributesOnRelationDialog() override;

  // Rows for the attributes of the (hub) relation type; false when the lists do not line up.
  bool CreateValidListOfAttributes(const TavUnicodeString& relationTypeName);
  std::vector<TavUnicodeString> GetAttributeList() const { return names_; }
  std::vector<TavUnicodeString> GetTypeList() const { return types_; }
  std::vector<TavUnicodeString> GetDisplayList() const { return displayNames_; }
  // Current values in row order: an editor's text, a combo's internal value. Empty
  // when the rows do not match the attributes.
  std::vector<TavUnicodeString> GetValueList() const;
  int GetAttributeCount() const { return static_cast<int>(names_.size()); }

  // Checks one value; a refusal is shown with ShowErrorWindow.
  bool IsCorrectValue(int index, const TavUnicodeString& value, const TavUnicodeString& type);
  static void ShowErrorWindow(EPPErrorTypes errorType, const TavUnicodeString& magnitude);
  // The refusal a value of this type meets, or none. Empty values pass: they are not written.
  static std::optional<EPPErrorTypes> CheckValue(const TavUnicodeString& value, const TavUnicodeString& type);
  // The typed value the hub receives; null without a layout manager or for a value
  // its type refuses.
  std::unique_ptr<TavValue> CreateReturnVariant(const TavUnicodeString& value, const TavUnicodeString& attributeName,
                                                const TavUnicodeString& type) const;
  static std::unique_ptr<TavValue> ConvertValue(const TavUnicodeString& value, const TavUnicodeString& type);
  static TavUnicodeString GetCorrespondingStringforDataType(const TavUnicodeString& type);
  void OnEditorModifNotification(TavDlgEditor* editor);

  TavDlgPushButton* OKButton() const { return ok_; }
  TavDlgPushButton* CancelButton() const { return cancel_; }

private:
  Ref<OrvIYorLayoutMgt> layout_;
  std::vector<TavUnicodeString> names_, types_, displayNames_, defaults_;
  std::vector<int> kinds_;
  std::vector<std::vector<TavUnicodeString>> allowed_, allowedDisplay_;
  // Per row: the value editor or the combo (the other is null).
  std::vector<TavDlgEditor*> editors_;
  std::vector<TavDlgCombo*> combos_;
  int widgetCount_ = 0;
  TavDlgFrame* box_ = nullptr;
  TavDlgPushButton *ok_ = nullptr, *cancel_ = nullptr;
};
