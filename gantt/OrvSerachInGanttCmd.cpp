#include "OrvSerachInGanttCmd.h"

#include <algorithm>
#include <utility>

#include "OrvGanttSearchDlg.h"
#include "OrvGanttSearchQueries.h"
#include "OrvGanttSerachPreferencesServices.h"
#include "SaveQueryDlg.h"
#include "TavServices.h"

namespace Q = OrvGanttSearchQueries;
using Prefs = OrvGanttSerachPreferencesServices;

namespace {
const TavTrace& Trace() {
  static TavTrace t("OrvSerachInGanttTrace", "Traces for the Gantt search");
  return t;
}
constexpr const char* kClass = "OrvSerachInGanttCmd";

TavUnicodeString Msg(const char* catalog, const char* key, const char* fallback) {
  return TavMsgCatalog::BuildMessage(catalog, key, {}, fallback);
}

template <class I>
Ref<I> Of(const Ref<OrvGanttChartWindow>& w) {
  return w ? query<I>(w) : nullptr;
}
}  // namespace

OrvSerachInGanttCmd::OrvSerachInGanttCmd() : TavStateCommand("OrvSerachInGanttCmd", 0, 64) {
  auto* windows = TavFrmLayoutWindows::Get();
  window_ = windows ? std::dynamic_pointer_cast<OrvGanttChartWindow>(windows->GetCurrentWindow()) : nullptr;
  if (window_) windowCallback_ = window_->AddWindowCallback([this](TavFrmWindowEvent e) { OnWindowEvent(e); });
}

std::unique_ptr<TavStateCommand> fctCreateOrvSerachInGanttCmd() { return std::make_unique<OrvSerachInGanttCmd>(); }

OrvSerachInGanttCmd::~OrvSerachInGanttCmd() {
  TavTraceScope scope(Trace(), kClass, "~OrvSerachInGanttCmd");
  if (window_ && windowCallback_) window_->RemoveWindowCallback(windowCallback_);
  if (dialog_) {
    if (okAgent_) okAgent_->RemoveNotify(dialog_.get());
    if (closeAgent_) closeAgent_->RemoveNotify(dialog_.get());
  }
  saveDlg_.reset();
  dialog_.reset();
}

void OrvSerachInGanttCmd::BuildGraph() {
  TavTraceScope scope(Trace(), kClass, "BuildGraph");
  auto* initial = GetInitialState("initialState");
  if (!window_) {
    AddTransition(initial, nullptr, [] { return true; }, Action(&OrvSerachInGanttCmd::ShowNoGanttWindow));
    return;
  }
  dialog_ = std::make_unique<OrvGanttSearchDlg>(*this);
  dialog_->Build();
  dialog_->SetTitle(Msg(OrvGanttSearchDlg::kCatalog, "TitleSuffix", "Search in") + " " + window_->GetBaseName());
  saveDlg_ = std::make_unique<SaveQueryDlg>();
  saveDlg_->Build();
  saveDlg_->SetVisibility(false);
  saveDlg_->AddAnalyseNotificationCB(saveDlg_.get(), TavDlgNotification::OK, [this] { OnSaveQueryOKNotify(); });
  for (const char* n : {TavDlgNotification::Cancel, TavDlgNotification::Close})
    saveDlg_->AddAnalyseNotificationCB(saveDlg_.get(), n, [this] { saveDlg_->SetVisibility(false); });

  okAgent_ = std::make_unique<TavDialogAgent>("GanttSearchDlgAgentOK");
  closeAgent_ = std::make_unique<TavDialogAgent>("GanttSearchDlgAgentClose");
  okAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::OK);
  closeAgent_->AcceptOnNotify(dialog_.get(), TavDlgNotification::Close);
  initial->AddDialogAgent(okAgent_.get());
  initial->AddDialogAgent(closeAgent_.get());
  AddTransition(initial, nullptr, IsOutputSetCondition(okAgent_.get()), Action(&OrvSerachInGanttCmd::ActionCloseBtn));
  AddTransition(initial, nullptr, IsOutputSetCondition(closeAgent_.get()), Action(&OrvSerachInGanttCmd::ActionCloseBtn));
  dialog_->SetVisibility(true);
}

bool OrvSerachInGanttCmd::ShowNoGanttWindow() {
  ShowMessage("NoGanttWindow", "The current window is no Gantt chart\nPlease open a Gantt chart first", true, kCatalog);
  return true;
}

bool OrvSerachInGanttCmd::Cancel() {
  ActionCloseBtn();
  return true;
}

bool OrvSerachInGanttCmd::ActionCloseBtn() {
  TavTraceScope scope(Trace(), kClass, "ActionCloseBtn");
  if (dialog_ && !dialog_->KeepHighlighted()) UnHighlightPreviousSelectedRows();
  if (dialog_) dialog_->SetVisibility(false);
  if (saveDlg_) saveDlg_->SetVisibility(false);
  return true;
}

void OrvSerachInGanttCmd::OnWindowEvent(TavFrmWindowEvent e) {
  if (!dialog_) return;
  switch (e) {
    case TavFrmWindowEvent::Deactivated:
      dialog_->SetMinimized(true);
      break;
    case TavFrmWindowEvent::Activated:
      dialog_->SetMinimized(false);
      break;
    case TavFrmWindowEvent::Deleted:
      // The rows are gone with the window: nothing to un-highlight. The command ends
      // as its close does, through the engine, once this notice is over.
      highlighted_.clear();
      if (windowCallback_) window_->RemoveWindowCallback(std::exchange(windowCallback_, 0));
      dialog_->Notify(TavDlgNotification::Close);
      break;
  }
}

void OrvSerachInGanttCmd::ShowMessage(const char* key, const char* fallback, bool error, const char* catalog) {
  TavDlgNotify box(nullptr, "OrvGanttSearchMsg", error ? TavDlgNotify::Error : TavDlgNotify::Information);
  box.DisplayBox(error ? Msg(kMsgCatalog, "ErrorDialogType_Error", "Error") : Msg(kMsgCatalog, "ErrorDialogType_Info", "Info"),
                 Msg(catalog, key, fallback));
  box.DisplayBlocked();
}

// ------------------------------------------------------------------ the composed query
HRESULT OrvSerachInGanttCmd::UpdateElemSearchQuery(const TavUnicodeString& attribute, const TavUnicodeString& op,
                                                   const TavUnicodeString& value, int index) {
  const TavUnicodeString condition = Q::BuildCondition(attribute, op, value);
  // What cannot be read back as the same three parts could not be searched or saved.
  TavUnicodeString a, o, v;
  if (condition.IsEmpty() || FAILED(GetAttributeValuesFromQuery(condition, a, o, v)) || a != attribute || o != op ||
      v != value) {
    ShowMessage("InvalidQuery_BadCondition", "This condition cannot be searched\nPlease check the attribute and the value");
    return E_FAIL;
  }
  if (index > 0) {
    if (index > static_cast<int>(query_.size()) || Q::IsCombinator(query_[static_cast<std::size_t>(index - 1)])) return E_FAIL;
    query_[static_cast<std::size_t>(index - 1)] = condition;
  } else {
    if (!query_.empty() && !Q::IsCombinator(query_.back())) query_.push_back(Q::kAnd);
    query_.push_back(condition);
  }
  if (dialog_) dialog_->ShowQuery(query_);
  return S_OK;
}

HRESULT OrvSerachInGanttCmd::UpdateCombinedRelation(const TavUnicodeString& combinator, int index) {
  if (!Q::IsCombinator(combinator)) return E_FAIL;
  if (index > 0) {
    if (index > static_cast<int>(query_.size()) || !Q::IsCombinator(query_[static_cast<std::size_t>(index - 1)])) return E_FAIL;
    query_[static_cast<std::size_t>(index - 1)] = combinator;
  } else if (query_.empty()) {
    ShowMessage("InvalidQuery_NoQueryExistBeforeCombCond", "No query is found to combine\nPlease define a query first");
    return E_FAIL;
  } else if (Q::IsCombinator(query_.back())) {
    ShowMessage("InvalidQuery_TwoSimultaneousCombCond", "Combined query has already been defined\nPlease edit or remove it");
    return E_FAIL;
  } else {
    query_.push_back(combinator);
  }
  if (dialog_) dialog_->ShowQuery(query_);
  return S_OK;
}

HRESULT OrvSerachInGanttCmd::RemoveElemQuery(int index) {
  if (index <= 0 || index > static_cast<int>(query_.size())) return E_FAIL;
  auto at = static_cast<std::size_t>(index - 1);
  std::size_t from = at, to = at + 1;
  if (Q::IsCombinator(query_[at])) {
    if (to < query_.size() && !Q::IsCombinator(query_[to])) ++to;  // with the condition it joins
  } else if (at > 0 && Q::IsCombinator(query_[at - 1])) {
    from = at - 1;  // with the combinator joining it
  } else if (to < query_.size() && Q::IsCombinator(query_[to])) {
    ++to;  // the first condition: with the combinator after it
  }
  query_.erase(query_.begin() + static_cast<std::ptrdiff_t>(from), query_.begin() + static_cast<std::ptrdiff_t>(to));
  if (dialog_) dialog_->ShowQuery(query_);
  return S_OK;
}

HRESULT OrvSerachInGanttCmd::AppendQueries(const std::vector<TavUnicodeString>& list) {
  if (list.empty()) return E_FAIL;
  if (!query_.empty() && !Q::IsCombinator(query_.back()) && !Q::IsCombinator(list.front())) query_.push_back(Q::kAnd);
  query_.insert(query_.end(), list.begin(), list.end());
  if (dialog_) dialog_->ShowQuery(query_);
  return S_OK;
}

void OrvSerachInGanttCmd::ResetSearchQueryString() {
  query_.clear();
  if (dialog_) dialog_->ShowQuery(query_);
}

bool OrvSerachInGanttCmd::SelectedRow(int& row) const {
  if (!dialog_ || dialog_->QueryList()->GetSelectCount() != 1) return false;
  row = dialog_->QueryList()->GetSelect().front();
  return true;
}

// ------------------------------------------------------------------ searching
std::vector<TavUnicodeString> OrvSerachInGanttCmd::FormQueriesForQuickSearch(const TavUnicodeString& text) {
  std::vector<TavUnicodeString> headers;
  GetVisibleColumnHeaderNlsStrings(headers);
  auto out = Q::FormQueriesForQuickSearch(text, headers, [this](const TavUnicodeString& h) {
    bool numeric = false;
    return SUCCEEDED(IsAttributeFloat(h, numeric)) && numeric;
  });
  SaveQuickSearchedString(text);
  return out;
}

void OrvSerachInGanttCmd::Search(bool quick, const TavUnicodeString& passed) {
  TavTraceScope scope(Trace(), kClass, "Search");
  CleanEarlierResults();
  if (!quick) {
    if (FAILED(RunSearch(false, false))) {
      if (dialog_) dialog_->ShowPlaceholder(Msg(kMsgCatalog, "DefaultResultListMsg", "There are no results to display"));
      return;
    }
    ProcessSearchResults();
    return;
  }
  const TavUnicodeString text = passed.IsEmpty() && dialog_ ? dialog_->QuickEditor()->GetText() : passed;
  const auto conditions = text.IsEmpty() ? std::vector<TavUnicodeString>{} : FormQueriesForQuickSearch(text);
  if (conditions.empty()) {
    ShowMessage("NoQueryFound", "Nothing to search\nPlease first define a search criterion", true, kCatalog);
    return;
  }
  // A quick search runs on its own conditions: the composed query stays as it is.
  const auto composed = std::exchange(query_, conditions);
  const bool silent = conditions.size() > 1 || !passed.IsEmpty();
  const HRESULT hr = RunSearch(true, silent);
  query_ = composed;
  if (FAILED(hr)) {
    if (dialog_) dialog_->ShowPlaceholder(Msg(kMsgCatalog, "DefaultResultListMsg", "There are no results to display"));
    return;
  }
  ProcessSearchResults();
}

HRESULT OrvSerachInGanttCmd::RunSearch(bool quick, bool silent) {
  results_.clear();
  if (query_.empty()) {
    if (!silent) ShowMessage("NoQueryFound", "Unable to search\nPlease define query first");
    return E_FAIL;
  }
  auto utility = Of<OrvISearchUtility>(window_);
  if (!utility) return E_FAIL;
  TavUnicodeString error;
  if (FAILED(utility->RunQuery(query_, quick, results_, error))) {
    results_.clear();
    if (!silent) {
      TavDlgNotify box(nullptr, "OrvGanttSearchMsg", TavDlgNotify::Error);
      box.DisplayBox(Msg(kMsgCatalog, "ErrorDialogType_Error", "Error"), error);
      box.DisplayBlocked();
    }
    return E_FAIL;
  }
  return S_OK;
}

void OrvSerachInGanttCmd::ProcessSearchResults() {
  UnHighlightPreviousSelectedRows();
  std::vector<std::vector<TavUnicodeString>> lines;
  for (const auto& r : results_) {
    TavUnicodeString columns;
    for (const auto& c : r.columns)
      if (!c.IsEmpty()) columns += (columns.IsEmpty() ? "" : ", ") + c;
    lines.push_back({r.name, r.accessPath, columns});
  }
  if (results_.empty()) {
    if (dialog_) dialog_->ShowPlaceholder(Msg(kMsgCatalog, "NoResultsFound", "Search is complete. There are no results to display"));
    ShowMessage("NoResultsFound", "Search is complete. There are no results to display", false);
    return;
  }
  if (dialog_) dialog_->ShowResults(lines, static_cast<int>(results_.size()));
  std::vector<int> rows;
  for (const auto& r : results_) rows.push_back(r.row);
  HighlightSelectedRowsInGantt(rows, false);
}

void OrvSerachInGanttCmd::HighlightSelectedRowsInGantt(const std::vector<int>& rows, bool makeVisible) {
  auto table = Of<OrvIGanttTableDataAccessor>(window_);
  if (!table) return;
  bool first = true;
  for (int row : rows)
    if (SUCCEEDED(table->HighlightRow(row, true, makeVisible && first))) {
      highlighted_.push_back(row);
      first = false;
    }
}

void OrvSerachInGanttCmd::UnHighlightPreviousSelectedRows() {
  if (auto table = Of<OrvIGanttTableDataAccessor>(window_))
    for (int row : highlighted_) table->HighlightRow(row, false, false);
  highlighted_.clear();
}

void OrvSerachInGanttCmd::CleanEarlierResults() {
  UnHighlightPreviousSelectedRows();
  results_.clear();
  if (dialog_) dialog_->ShowResults({}, 0);
}

void OrvSerachInGanttCmd::OnResultLinesSelected(const std::vector<int>& lines) {
  UnHighlightPreviousSelectedRows();
  std::vector<int> rows;
  for (int line : lines)
    if (line >= 0 && line < static_cast<int>(results_.size())) rows.push_back(results_[static_cast<std::size_t>(line)].row);
  HighlightSelectedRowsInGantt(rows, dialog_ && dialog_->MakeVisible());
}

// ------------------------------------------------------------------ columns
void OrvSerachInGanttCmd::GetVisibleColumnHeaderNlsStrings(std::vector<TavUnicodeString>& list) const {
  list.clear();
  if (auto table = Of<OrvIGanttTableDataAccessor>(window_)) table->GetVisibleColumnHeaders(list);
}

HRESULT OrvSerachInGanttCmd::IsAttributeFloat(const TavUnicodeString& header, bool& isFloat) const {
  isFloat = false;
  auto table = Of<OrvIGanttTableDataAccessor>(window_);
  return table ? table->IsColumnNumeric(header, isFloat) : E_FAIL;
}

HRESULT OrvSerachInGanttCmd::GetAttributeValuesFromQuery(const TavUnicodeString& query, TavUnicodeString& attribute,
                                                         TavUnicodeString& op, TavUnicodeString& value) const {
  auto utility = Of<OrvISearchUtility>(window_);
  return utility ? utility->ParseCondition(query, attribute, op, value) : E_FAIL;
}

// ------------------------------------------------------------------ saved queries
HRESULT OrvSerachInGanttCmd::GetListOfSavedQuries(std::vector<TavUnicodeString>& list) {
  if (SUCCEEDED(Prefs::GetListOfSavedQueryNames(list))) return S_OK;
  ShowMessage("OperationRetriveQueryFailed",
              "Not able to retrieve the selected query!\nPlease try selecting another query or define a new query");
  return E_FAIL;
}

bool OrvSerachInGanttCmd::CheckDoesQueryExistAlready(const TavUnicodeString& name) {
  std::vector<TavUnicodeString> names;
  return SUCCEEDED(Prefs::GetListOfSavedQueryNames(names)) && std::find(names.begin(), names.end(), name) != names.end();
}

HRESULT OrvSerachInGanttCmd::SaveQuery(const TavUnicodeString& name) {
  if (!Q::IsWellFormed(query_) || FAILED(Prefs::SetSavedQuery(name, query_))) {
    ShowMessage("OperationSaveQuerFailed", "Not able to save the query!\nPlease try giving other name to query");
    return E_FAIL;
  }
  return S_OK;
}

void OrvSerachInGanttCmd::ShowSaveQueryDlg() {
  if (!saveDlg_) return;
  saveDlg_->SetName({});
  saveDlg_->SetVisibility(true);
}

void OrvSerachInGanttCmd::OnSaveQueryOKNotify() {
  const TavUnicodeString name = saveDlg_->GetName();
  if (name.IsEmpty() || name.size() > Prefs::kMaxNameLength) {
    ShowMessage("InvalidSaveQueryName", "Not a valid query name");
    return;
  }
  if (CheckDoesQueryExistAlready(name)) {
    TavDlgNotify box(nullptr, "OrvGanttSearchMsg", TavDlgNotify::Warning);
    box.DisplayBox(Msg(kMsgCatalog, "ErrorDialogType_Info", "Info"),
                   Msg(kMsgCatalog, "GivenQueryAlreadyExist", "A query already exists with this name.\nDo you want to overwrite it"));
    if (box.DisplayBlocked() != "YES") return;
  }
  if (FAILED(SaveQuery(name))) return;
  saveDlg_->SetVisibility(false);
  std::vector<TavUnicodeString> names;
  Prefs::GetListOfSavedQueryNames(names);
  if (dialog_) dialog_->FillSavedQueries(names, name);
}

HRESULT OrvSerachInGanttCmd::RetrieveSavedQuery(const TavUnicodeString& name) {
  std::vector<TavUnicodeString> saved;
  if (FAILED(Prefs::GetSavedQuery(name, saved)) || saved.empty()) {
    ShowMessage("OperationRetriveQueryFailed",
                "Not able to retrieve the selected query!\nPlease try selecting another query or define a new query");
    return E_FAIL;
  }
  if (query_.size() >= saved.size() && std::equal(saved.begin(), saved.end(), query_.end() - static_cast<std::ptrdiff_t>(saved.size())))
    return S_OK;
  int row = -1;
  if (!SelectedRow(row)) return AppendQueries(saved);
  if (row < 0 || row >= static_cast<int>(query_.size()) || Q::IsCombinator(query_[static_cast<std::size_t>(row)])) return S_OK;
  auto at = query_.begin() + row;
  at = query_.erase(at);
  query_.insert(at, saved.begin(), saved.end());
  if (dialog_) dialog_->ShowQuery(query_);
  return S_OK;
}

HRESULT OrvSerachInGanttCmd::DeleteSavedQueryCallBack(const TavUnicodeString& name) {
  if (SUCCEEDED(Prefs::DeleteSavedQuery(name))) return S_OK;
  ShowMessage("OperationDeleteQueryFailed", "Not able to delete the selected query!");
  return E_FAIL;
}

std::vector<TavUnicodeString> OrvSerachInGanttCmd::GetSavedQuickSearchedStrings() const {
  auto utility = Of<OrvISearchUtility>(window_);
  return utility ? utility->GetQuickSearchHistory() : std::vector<TavUnicodeString>{};
}

void OrvSerachInGanttCmd::SaveQuickSearchedString(const TavUnicodeString& text) {
  if (auto utility = Of<OrvISearchUtility>(window_)) utility->AddQuickSearchString(text);
}
