#pragma once
// What to compare: one attribute, all or none, and (by kind) assigned items and
// resources, father, children and sequence; how the results dialog shows attributes
// and whether it builds a summary page. The answer is the engine's filter mask
// (OrvVekCompareDlgBase::FilterType bits) with the attribute index list.
#include <vector>

#include "TavDialog.h"

class OrvVekComparePPRFilterDlg : public TavDlgDialog {
public:
  static constexpr const char* kCatalog = "OrvVekComparePPRFilterDlg";
  explicit OrvVekComparePPRFilterDlg(TavDlgWidget* father);

  // The kind compared (OrvVekCompareDlgBase::ObjectType): the title, and for
  // processes alone the items, resources and sequence check boxes.
  void SetType(int kind);
  // The combo of the single-attribute choice: own names, then hub prompts with their
  // names in brackets (the engine's union list, in its order).
  void SetAttributeList(const std::vector<TavUnicodeString>& ownNames, const std::vector<TavUnicodeString>& hubPrompts,
                        const std::vector<TavUnicodeString>& hubNames);

  // The mask and, when one attribute is compared, its index in the combo's list.
  void SelectedItemsInFilter(int& mask, std::vector<int>& attributeIndices) const;
  bool IsSummaryPageAvailable() const;
  bool DisplayAllAtts() const;

  // "SelectAllButton": every check box offered for the kind, checked or cleared.
  void OnCheckSelAll();
  void OnUncheckSelAll();

  // The line texts of the attribute lists (here and in the attribute selection).
  static TavUnicodeString OwnLine(const TavUnicodeString& name);
  static TavUnicodeString HubLine(const TavUnicodeString& prompt, const TavUnicodeString& name);

private:
  void Choose(TavDlgRadioButton* on);
  std::vector<TavDlgCheckButton*> Offered() const;

  int kind_ = 0;
  TavDlgRadioButton *single_, *all_, *none_, *displayAll_, *displayChanged_;
  TavDlgCombo* combo_;
  TavDlgCheckButton *items_, *resources_, *father_, *children_, *sequence_, *summary_;
  bool allChecked_ = false;
};
