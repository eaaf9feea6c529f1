#pragma once
// Searches the current Gantt window: a quick search for a text over all visible
// columns, or a composed query of conditions joined by AND/OR; lists and highlights
// the matching rows, and saves and recalls queries by name. The query, the results
// and the highlighted rows live in the command; the saved queries in the preferences.
#include <memory>

#include "TavCommand.h"
#include "TavGantt.h"

class OrvGanttSearchDlg;
class SaveQueryDlg;

class OrvSerachInGanttCmd : public TavStateCommand {
public:
  static constexpr const char* kCatalog = "OrvSerachInGanttCmd";
  static constexpr const char* kMsgCatalog = "OrvGanttSearchMsg";

  OrvSerachInGanttCmd();
  ~OrvSerachInGanttCmd() override;
  void BuildGraph() override;
  bool Cancel() override;

  // ---- the composed query. Elements are numbered from 1 (row k of the dialog's
  // list is element k+1); index 0 appends. S_OK, else E_FAIL with a message shown.
  HRESULT UpdateElemSearchQuery(const TavUnicodeString& attribute, const TavUnicodeString& op,
                                const TavUnicodeString& value, int index);
  HRESULT UpdateCombinedRelation(const TavUnicodeString& combinator, int index);
  // A condition goes with the combinator joining it to the query; a combinator with
  // the condition it joins, so that the query keeps alternating.
  HRESULT RemoveElemQuery(int index);
  // Appends strings, joined to a query ending in a condition by "AND".
  HRESULT AppendQueries(const std::vector<TavUnicodeString>& list);
  void ResetSearchQueryString();
  const std::vector<TavUnicodeString>& GetSubmittedQuery() const { return query_; }

  // ---- searching
  // Quick: the conditions of a quick search for `text` (the editor's text when
  // empty). Advanced: the composed query.
  void Search(bool quick, const TavUnicodeString& text = {});
  std::vector<TavUnicodeString> FormQueriesForQuickSearch(const TavUnicodeString& text);
  HRESULT RunSearch(bool quick, bool silent);
  void ProcessSearchResults();
  void HighlightSelectedRowsInGantt(const std::vector<int>& rows, bool makeVisible);
  void UnHighlightPreviousSelectedRows();
  void CleanEarlierResults();
  const std::vector<OrvGanttSearchRecord>& Results() const { return results_; }
  const std::vector<int>& HighlightedRows() const { return highlighted_; }
  // Selecting lines of the result list (line k is record k+1).
  void OnResultLinesSelected(const std::vector<int>& lines);

  // ---- the window's columns
  void GetVisibleColumnHeaderNlsStrings(std::vector<TavUnicodeString>& list) const;
  HRESULT IsAttributeFloat(const TavUnicodeString& header, bool& isFloat) const;
  HRESULT GetAttributeValuesFromQuery(const TavUnicodeString& query, TavUnicodeString& attribute, TavUnicodeString& op,
                                      TavUnicodeString& value) const;

  // ---- saved queries and the quick-search history
  HRESULT SaveQuery(const TavUnicodeString& name);
  HRESULT RetrieveSavedQuery(const TavUnicodeString& name);
  HRESULT GetListOfSavedQuries(std::vector<TavUnicodeString>& list);
  bool CheckDoesQueryExistAlready(const TavUnicodeString& name);
  HRESULT DeleteSavedQueryCallBack(const TavUnicodeString& name);
  std::vector<TavUnicodeString> GetSavedQuickSearchedStrings() const;
  void SaveQuickSearchedString(const TavUnicodeString& text);
  // The save dialog's OK: checks the name, asks before overwriting, saves.
  void OnSaveQueryOKNotify();
  void ShowSaveQueryDlg();

  // Shows a message of catalogue "OrvGanttSearchMsg" (or `catalog`) in an error or
  // information window.
  static void ShowMessage(const char* key, const char* fallback, bool error = true, const char* catalog = kMsgCatalog);

  OrvGanttSearchDlg* Dialog() const { return dialog_.get(); }
  const Ref<OrvGanttChartWindow>& Window() const { return window_; }

private:
  bool ActionCloseBtn();
  bool ShowNoGanttWindow();
  void OnWindowEvent(TavFrmWindowEvent e);
  bool SelectedRow(int& row) const;  // the one selected row of the query list

  Ref<OrvGanttChartWindow> window_;
  int windowCallback_ = 0;
  std::vector<TavUnicodeString> query_;
  std::vector<OrvGanttSearchRecord> results_;
  std::vector<int> highlighted_;
  std::unique_ptr<OrvGanttSearchDlg> dialog_;
  std::unique_ptr<SaveQueryDlg> saveDlg_;
  std::unique_ptr<TavDialogAgent> okAgent_, closeAgent_;
};

std::unique_ptr<TavStateCommand> fctCreateOrvSerachInGanttCmd();
