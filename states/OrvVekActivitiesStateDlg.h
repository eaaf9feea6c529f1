#pragma once
// The state conditions of one activity or of one resource's behaviour: on the left
// the items and resources that have states (with the states of the one selected), on
// the right the begin conditions, the 3D context and the end conditions. OK writes
// the three lists into the model, all or nothing.
#include <array>
#include <vector>

#include "TavDialog.h"
#include "TavServices.h"
#include "TavStates.h"
#include "TavUndo.h"

// A selector list whose selection the dialog sets itself (the find field selects
// several lines at once without sending a notification per line).
class OrvVekStateSelectorList : public TavDlgSelectorList {
public:
  using TavDlgSelectorList::TavDlgSelectorList;
  void SelectRows(std::vector<int> rows);
};

class OrvVekActivitiesStateDlg : public TavDlgDialog {
public:
  static constexpr const char* kCatalog = "OrvVekActivitiesStateDlg";
  // The right pages, in the order OK writes them.
  enum Page { Begin = 0, Context3D = 1, End = 2 };
  // The left pages.
  enum Side { Items = 0, Resources = 1 };
  using States = std::vector<Ref<OrvIState>>;
  using Objects = std::vector<Ref<TavBaseUnknown>>;
  // The three condition lists of what OK writes to (an activity or a behaviour).
  class ConditionLists;

  explicit OrvVekActivitiesStateDlg(TavDlgWidget* father = nullptr);
  ~OrvVekActivitiesStateDlg() override;
  void Build() override;

  // `object` is an activity or a resource that can have a behaviour. Reads, never
  // creates: a resource without a behaviour opens with empty lists.
  void Initialize(const Ref<TavBaseUnknown>& object);

  void WhenAddButtonPushed();
  void WhenRemoveButtonPushed();
  void SearchListForName();
  // Writes begin conditions, 3D context and end conditions in that order. On a
  // failure the steps already written are taken back, an error names the kind, and
  // the dialog stays open; false then.
  bool OnOK();
  bool CreateConditionsForResourceBehavior();
  // Whether the OK the command receives wrote the conditions.
  bool IsOKDone() const { return okDone_; }

  // The module's trace channel (the command writes to it too).
  static const TavTrace& Trace();
  // The name the lists show: a product's or assembly's name, an activity's label.
  static TavUnicodeString NameOf(const Ref<TavBaseUnknown>& object);

  // Whether `list` holds a state of the same product or resource as `state`
  // (owners with the same model identifier).
  static bool HasCondition(const States& list, const Ref<OrvIState>& state);
  // Whether `state` may go to the right list `page` under the add rules.
  bool CanAdd(Page page, const Ref<OrvIState>& state) const;

  // What the dialog holds, for tests and scripts.
  // A right list in the order OK writes it (the model's order, then what was added).
  const States& GetList(Page p) const { return lists_[p]; }
  // The state a row of a right list shows; null for no such row.
  Ref<OrvIState> StateAtRow(Page page, int row) const;
  const States& GetExisting(Page p) const { return existing_[p]; }
  const Objects& GetObjects(Side s) const { return objects_[s]; }
  Page ShownPage() const;
  Side ShownSide() const;
  TavDlgPushButton* OKButton() const { return ok_; }
  TavDlgPushButton* CancelButton() const { return cancel_; }

private:
  struct LeftPage {
    OrvVekStateSelectorList* objects = nullptr;
    OrvVekStateSelectorList* states = nullptr;
    States shownStates;  // the states of `objects`' selected line, row by row
  };

  // List filling (OrvVekActivitiesStateDlgLists.cpp).
  void FillLeftLists();
  Objects AssignedItems() const;
  Objects AssignedResources() const;
  Objects AllWithStates(const char* listInterface) const;
  Objects WithStates(Objects candidates) const;
  void ShowObjects(Side side);
  void ShowStatesOfSelected(Side side);
  void ReadExistingConditions();
  void ShowRight(Page page);
  TavUnicodeString RowText(Page page, std::size_t row) const;

  void WhenRightPageChanged();
  void UpdateButtons();
  States SelectedLeftStates() const;
  // Runs the three steps on `lists`, linking the states to `holder`; the page whose
  // step failed, or -1.
  int WriteSteps(ConditionLists& lists, const Ref<TavBaseUnknown>& holder);
  bool FinishOK(int failedPage, TavSavepoint& mark);

  Ref<TavBaseUnknown> object_;
  bool isActivity_ = false;
  OrvFactoryOnState factory_{nullptr};
  std::array<Objects, 2> objects_;
  std::array<LeftPage, 2> left_;
  std::array<States, 3> lists_, existing_;
  std::array<std::vector<std::size_t>, 3> rows_;  // per right list: row -> index in lists_
  std::array<OrvVekStateSelectorList*, 3> right_{};
  TavDlgTabContainer *leftTabs_ = nullptr, *rightTabs_ = nullptr;
  TavDlgEditor* find_ = nullptr;
  TavDlgPushButton *add_ = nullptr, *remove_ = nullptr, *ok_ = nullptr, *cancel_ = nullptr;
  bool okDone_ = false;
};
