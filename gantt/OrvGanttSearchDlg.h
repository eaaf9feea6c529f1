#pragma once
// The search dialog of a Gantt window: a quick search over all visible columns, or
// an advanced query composed of conditions joined by AND/OR, saved queries, and the
// list of results. The dialog lays out widgets and passes the user's actions on to
// its command, which owns the query and the results.
#include "TavDialog.h"

class OrvGanttIconButton;
class OrvSerachInGanttCmd;

class OrvGanttSearchDlg : public TavDlgDialog {
public:
  static constexpr const char* kCatalog = "OrvGanttSearchDlg";
  explicit OrvGanttSearchDlg(OrvSerachInGanttCmd& cmd);
  void Build() override;

  // Advanced mode shows the query frames, quick mode the quick-search editor.
  bool IsAdvancedMode() const { return advanced_; }
  void SetAdvancedMode(bool on);
  void SetResultsShown(bool on);

  // The composed query, a row per element.
  void ShowQuery(const std::vector<TavUnicodeString>& query);
  // The results: one line per record, or one placeholder line; the count label.
  void ShowResults(const std::vector<std::vector<TavUnicodeString>>& lines, int count);
  void ShowPlaceholder(const TavUnicodeString& line);
  void FillSavedQueries(const std::vector<TavUnicodeString>& names, const TavUnicodeString& selected = {});
  // Loads a condition into the attribute, relation and value fields; the next submit
  // replaces element `element` (1-based; 0: a new condition).
  void LoadCondition(const TavUnicodeString& attribute, const TavUnicodeString& op, const TavUnicodeString& value,
                     int element);
  void ClearCondition();

  TavDlgEditor* QuickEditor() const { return quick_; }
  TavDlgMultiList* QueryList() const { return queryList_; }
  TavDlgMultiList* ResultList() const { return results_; }
  TavDlgCombo* SavedQueries() const { return saved_; }
  bool MakeVisible() const { return makeVisible_ && makeVisible_->GetState(); }
  bool KeepHighlighted() const { return keep_ && keep_->GetState(); }
  int EditedElement() const { return editElement_; }

private:
  void RefillAttributes();
  void OnAttributeChosen();
  void SubmitSingleQueryNotify();
  void OnCombinatorChosen();
  void OnQueryRowSelected();
  void OnMenuEdit();
  void OnMenuRemove();
  void OnMenuChangeTo(const char* combinator);
  void OnResultsSelected();
  void OnSavedQueryChosen();
  void OnSavedQueriesDropDown();
  void OnDeleteSavedQuery();
  void OnSaveQueryButton();
  TavDlgWidget* Frame(TavDlgWidget* father, const char* name);

  OrvSerachInGanttCmd& cmd_;
  bool advanced_ = false, resultsShown_ = true;
  int editElement_ = 0;
  TavDlgFrame *quickFrame_ = nullptr, *advFrame_ = nullptr, *resultsFrame_ = nullptr;
  TavDlgEditor *quick_ = nullptr, *value_ = nullptr;
  TavDlgPushButton* switch_ = nullptr;
  OrvGanttIconButton* collapse_ = nullptr;
  TavDlgCombo *attribute_ = nullptr, *relation_ = nullptr, *combinator_ = nullptr, *saved_ = nullptr;
  TavDlgMultiList *queryList_ = nullptr, *results_ = nullptr;
  TavDlgLabel* count_ = nullptr;
  TavDlgCheckButton *makeVisible_ = nullptr, *keep_ = nullptr;
  TavDlgMenu* menu_ = nullptr;
  TavDlgMenuItem *edit_ = nullptr, *remove_ = nullptr, *toAnd_ = nullptr, *toOr_ = nullptr;
  TavDlgSubMenu* changeTo_ = nullptr;
};
