#pragma once
// The dialog of the assembly and kit commands: name, part number (typed, or given
// in the part-number box), a kit's plan type, the list of picked objects with their
// type, select-all, preview and remove. The mode chooses the layout: "KIT" and
// "KITPLUSPLANTYPES" (with the plan-type combo) for kits, anything else an assembly.
#include <memory>
#include <string>
#include <vector>

#include "OrvMfgAssyPartNumGenerator.h"
#include "OrvMfgAssyPartsList.h"
#include "TavMfgAssy.h"

class OrvMfgAssyDialog : public TavDlgDialog {
public:
  static constexpr const char* kName = "OrvMfgAssyDialog";
  static constexpr const char* kCatalog = "OrvMfgAssyDialog";
  static constexpr const char* kKitMode = "KIT";
  static constexpr const char* kKitPlanTypesMode = "KITPLUSPLANTYPES";

  explicit OrvMfgAssyDialog(std::string mode, TavDlgWidget* father = nullptr);
  ~OrvMfgAssyDialog() override;
  void Build() override;

  const std::string& GetMode() const { return mode_; }
  bool IsKit() const { return mode_ == kKitMode || mode_ == kKitPlanTypesMode; }
  bool HasPlanTypes() const { return mode_ == kKitPlanTypesMode; }

  // The rows' names (the Name column), replacing every row; the type column is emptied.
  void SetPartsList(const std::vector<TavUnicodeString>& names);
  // The rows' type texts: each chooses the row's letter and icon.
  void SetPartTypeList(const std::vector<TavUnicodeString>& types);
  // The plan-type combo's lines, line k holding type k (kit with plan types only).
  void SetPlanTypeList(const std::vector<TavUnicodeString>& types);
  // Selects the line of a plan type; none when it is not listed.
  void SelectPlanType(const TavUnicodeString& planType);
  // The objects the preview shows (assemblies expanded), replacing or added to
  // what it had; shown at once when the preview is on.
  void SetPreviewList(const std::vector<Ref<TavBaseUnknown>>& objects, bool replace);
  TavUnicodeString GetMAName() const;
  TavUnicodeString GetMAPartNumber() const;
  // The selected rows of the list, ascending.
  void GetSelectedParts(std::vector<int>& rows, int& count) const;
  void ResetSelectAllChkBx();
  void InitInEdit(const TavUnicodeString& name, const TavUnicodeString& partNumber,
                  const std::vector<Ref<TavBaseUnknown>>& content, const std::vector<TavUnicodeString>& names);
  void SetAPPLYSensitive(bool state);
  // The selected line of the plan-type combo; empty without the combo or a selection.
  TavUnicodeString GetHxPlanType() const;

  // The letter and icon of a type text; the letter is empty for an unknown text.
  static void TypeLook(const TavUnicodeString& type, TavUnicodeString& letter, std::string& icon);

  TavDlgEditor* NameEditor() const { return name_; }
  TavDlgEditor* PartNumberEditor() const { return partNumber_; }
  TavDlgPushButton* GenerateButton() const { return generate_; }
  TavDlgCombo* PlanTypeCombo() const { return combo_; }
  OrvMfgAssyPartsList* PartsList() const { return parts_; }
  TavDlgCheckButton* SelectAllCheck() const { return selectAll_; }
  TavDlgCheckButton* PreviewCheck() const { return preview_; }
  TavDlgPushButton* RemovePartsButton() const { return remove_; }
  TavDlgPushButton* OKButton() const { return ok_; }
  TavDlgPushButton* ApplyButton() const { return apply_; }
  TavDlgPushButton* CancelButton() const { return cancel_; }
  OrvMfgAssyPartNumGenerator* PartNumberBox() const { return generator_.get(); }
  Ref<VEKPreviewWindow> PreviewWindow() const { return previewWindow_; }

private:
  void OnSelectAll();
  void OnPreview();
  void ShowPreview();
  void OnGenerate();

  std::string mode_;
  bool built_ = false;
  TavDlgEditor* name_ = nullptr;
  TavDlgEditor* partNumber_ = nullptr;
  TavDlgPushButton* generate_ = nullptr;
  TavDlgCombo* combo_ = nullptr;
  OrvMfgAssyPartsList* parts_ = nullptr;
  TavDlgCheckButton* selectAll_ = nullptr;
  TavDlgCheckButton* preview_ = nullptr;
  TavDlgPushButton* remove_ = nullptr;
  TavDlgPushButton *ok_ = nullptr, *apply_ = nullptr, *cancel_ = nullptr;
  std::unique_ptr<OrvMfgAssyPartNumGenerator> generator_;
  Ref<VEKPreviewWindow> previewWindow_;
  std::vector<Ref<TavBaseUnknown>> previewed_;
};
