#include "OrvGanttSearchDlg.h"

#include "OrvGanttIconButton.h"
#include "OrvGanttSearchQueries.h"
#include "OrvSerachInGanttCmd.h"
#include "TavServices.h"

namespace Q = OrvGanttSearchQueries;
namespace Notif = TavDlgNotification;

namespace {
TavUnicodeString Text(const char* key, const char* fallback) {
  return TavMsgCatalog::BuildMessage(OrvGanttSearchDlg::kCatalog, key, {}, fallback);
}
}  // namespace

OrvGanttSearchDlg::OrvGanttSearchDlg(OrvSerachInGanttCmd& cmd)
    : TavDlgDialog(nullptr, "OrvGanttSearchDlg", 0, kCatalog), cmd_(cmd) {
  SetTitle(Text("DefaultTitle", "Search in Gantt Viewer"));
}

TavDlgWidget* OrvGanttSearchDlg::Frame(TavDlgWidget* father, const char* name) { return father->Add<TavDlgFrame>(name); }

void OrvGanttSearchDlg::Build() {
  // Quick search.
  quickFrame_ = Add<TavDlgFrame>("FrameDefineGeneralSearch");
  auto* find = Frame(quickFrame_, "FrameFindInGeneralSearch");
  find->Add<TavDlgLabel>("LabelFindInGeneralSearch")->SetTitle(Text("LabelFindInGeneralSearch.Title", "Find:"));
  quick_ = find->Add<TavDlgEditor>("EditorFindInGeneralSearch");
  quick_->SetVisibleTextWidth(30);
  auto* search = Add<TavDlgPushButton>("PushButtonSearch");
  search->SetTitle(Text("PushButtonSearch.Title", "Search"));
  AddAnalyseNotificationCB(search, Notif::Activate, [this] { cmd_.Search(!advanced_); });
  // Enter in the editor searches too.
  AddAnalyseNotificationCB(quick_, Notif::Activate, [this] { cmd_.Search(true); });
  collapse_ = Add<OrvGanttIconButton>("PushButtonCollapseResults", "I_HideResults.bmp");
  AddAnalyseNotificationCB(collapse_, Notif::Activate, [this] { SetResultsShown(!resultsShown_); });
  auto* sw = Add<TavDlgFrame>("FrameSwitchSearchOption");
  switch_ = sw->Add<TavDlgPushButton>("PbtnShowAdvOptions");
  AddAnalyseNotificationCB(switch_, Notif::Activate, [this] { SetAdvancedMode(!advanced_); });

  // Advanced search.
  advFrame_ = Add<TavDlgFrame>("FrameDefineAdvSearch");
  auto* cond = Frame(advFrame_, "FrameDefineAttributeCond");
  cond->Add<TavDlgLabel>("LabelAttributeType")->SetTitle(Text("LabelAttributeType.Title", "Attribute"));
  attribute_ = cond->Add<TavDlgCombo>("ComboAttributeType");
  AddAnalyseNotificationCB(attribute_, Notif::DropDown, [this] { RefillAttributes(); });
  AddAnalyseNotificationCB(attribute_, Notif::Select, [this] { OnAttributeChosen(); });
  cond->Add<TavDlgLabel>("LabelRelationType")->SetTitle(Text("LabelRelationType.Title", "Relation"));
  relation_ = cond->Add<TavDlgCombo>("ComboRelationType");
  cond->Add<TavDlgLabel>("LabelAttributeValue")->SetTitle(Text("LabelAttributeValue.Title", "Value"));
  value_ = cond->Add<TavDlgEditor>("EditorAttributeValue");
  value_->SetVisibleTextWidth(20);
  auto* submit = cond->Add<TavDlgPushButton>("PushButtonSubmitElemQuery");
  submit->SetTitle(Text("PushButtonSubmitElemQuery.Title", "Add Condition"));
  AddAnalyseNotificationCB(submit, Notif::Activate, [this] { SubmitSingleQueryNotify(); });
  auto* clear = cond->Add<TavDlgPushButton>("PushButtonClearElemQuery");
  clear->SetTitle(Text("PushButtonClearElemQuery.Title", "Clear"));
  AddAnalyseNotificationCB(clear, Notif::Activate, [this] { ClearCondition(); });

  auto* comb = Frame(advFrame_, "FrameDefineCombineRel");
  comb->Add<TavDlgLabel>("LabelLogicalRelation")->SetTitle(Text("LabelLogicalRelation.Title", "Combine with"));
  combinator_ = comb->Add<TavDlgCombo>("ComboLogicalOptr");
  for (const char* line : {Q::kDefineCombined, Q::kAnd, Q::kOr}) combinator_->SetLine(line);
  combinator_->SetSelect(0);
  AddAnalyseNotificationCB(combinator_, Notif::Select, [this] { OnCombinatorChosen(); });
  auto* reset = comb->Add<TavDlgPushButton>("PButtonResetQuery");
  reset->SetTitle(Text("PButtonResetQuery.Title", "Reset Query"));
  AddAnalyseNotificationCB(reset, Notif::Activate, [this] {
    cmd_.ResetSearchQueryString();
    ClearCondition();
  });

  auto* q = Frame(advFrame_, "FrameQuery");
  q->Add<TavDlgLabel>("LabelComposedQuery")->SetTitle(Text("LabelComposedQuery.Title", "Query"));
  queryList_ = q->Add<TavDlgMultiList>("MultiListFinalQuery");
  queryList_->SetColumnTitles({Text("QueryListColumnTitle", "Condition")});
  AddAnalyseNotificationCB(queryList_, Notif::Select, [this] { OnQueryRowSelected(); });
  menu_ = q->Add<TavDlgMenu>("QueryContextualMenu");
  edit_ = menu_->Add<TavDlgMenuItem>("EditMenu");
  edit_->SetTitle(Text("EditMenu", "Edit"));
  changeTo_ = menu_->Add<TavDlgSubMenu>("ChangeToMenu");
  changeTo_->SetTitle(Text("ChangeToMenu", "Change To"));
  toAnd_ = changeTo_->Add<TavDlgMenuItem>("ChangeToAND");
  toAnd_->SetTitle(Q::kAnd);
  toOr_ = changeTo_->Add<TavDlgMenuItem>("ChangeToOR");
  toOr_->SetTitle(Q::kOr);
  remove_ = menu_->Add<TavDlgMenuItem>("RemoveMenu");
  remove_->SetTitle(Text("RemoveMenu", "Remove"));
  AddAnalyseNotificationCB(edit_, Notif::Activate, [this] { OnMenuEdit(); });
  AddAnalyseNotificationCB(remove_, Notif::Activate, [this] { OnMenuRemove(); });
  AddAnalyseNotificationCB(toAnd_, Notif::Activate, [this] { OnMenuChangeTo(Q::kAnd); });
  AddAnalyseNotificationCB(toOr_, Notif::Activate, [this] { OnMenuChangeTo(Q::kOr); });

  auto* sub = Frame(advFrame_, "FrameSubmitQuery");
  sub->Add<TavDlgLabel>("LabelSelectSavedQuery")->SetTitle(Text("LabelSelectSavedQuery.Title", "Saved queries"));
  saved_ = sub->Add<TavDlgCombo>("ComboSelectSavedQuries");
  AddAnalyseNotificationCB(saved_, Notif::DropDown, [this] { OnSavedQueriesDropDown(); });
  AddAnalyseNotificationCB(saved_, Notif::Select, [this] { OnSavedQueryChosen(); });
  auto* del = sub->Add<OrvGanttIconButton>("PbtnDeleteQuery", "I_DeleteQuery.bmp");
  del->SetHelp(Text("PbtnDeleteQuery.ShortHelp", "Delete the saved query"));
  AddAnalyseNotificationCB(del, Notif::Activate, [this] { OnDeleteSavedQuery(); });
  auto* save = sub->Add<OrvGanttIconButton>("PushButtonSaveQuery", "I_SaveQuery.bmp");
  save->SetHelp(Text("PushButtonSaveQuery.ShortHelp", "Save the query"));
  AddAnalyseNotificationCB(save, Notif::Activate, [this] { OnSaveQueryButton(); });

  // Results.
  resultsFrame_ = Add<TavDlgFrame>("FrameResults");
  results_ = resultsFrame_->Add<TavDlgMultiList>("MultiListSearchResults");
  results_->SetMultiSelect(true);
  results_->SetColumnTitles({Text("ResultListFirstColumnTitle", "Activity/Resource"),
                             Text("ResultListSecondColumnTitle", "Access Path"),
                             Text("ResultListThirdColumnTitle", "Gantt Column(s)")});
  AddAnalyseNotificationCB(results_, Notif::Select, [this] { OnResultsSelected(); });
  count_ = resultsFrame_->Add<TavDlgLabel>("LabelShowingNbResults");
  makeVisible_ = resultsFrame_->Add<TavDlgCheckButton>("ChkBtnMakeVisible");
  makeVisible_->SetTitle(Text("ChkBtnMakeVisible.Title", "Make visible"));
  keep_ = resultsFrame_->Add<TavDlgCheckButton>("ChkBtnKeepSelectedRowsHighlighted");
  keep_->SetTitle(Text("ChkBtnKeepSelectedRowsHighlighted.Title", "Keep rows highlighted"));

  AddNotifyingButton("Close", Notif::Close, "Close");
  RefillAttributes();
  OnAttributeChosen();
  ShowResults({}, 0);
  SetAdvancedMode(false);
  SetResultsShown(true);
}

void OrvGanttSearchDlg::SetAdvancedMode(bool on) {
  advanced_ = on;
  advFrame_->SetVisibility(on);
  quickFrame_->SetVisibility(!on);
  switch_->SetTitle(on ? Text("SwitchToQuickSearchTitle", "Quick Search <<") : Text("SwitchToAdvSearchTitle", "Advanced Search >>"));
  switch_->SetHelp(on ? Text("PbtnShowAdvOptions.GoToQuickShortHelp", "Switch to Quick Search")
                      : Text("PbtnShowAdvOptions.GoToAdvanceShortHelp", "Switch to Advanced Search"));
}

void OrvGanttSearchDlg::SetResultsShown(bool on) {
  resultsShown_ = on;
  resultsFrame_->SetVisibility(on);
  collapse_->SetTitle(on ? Text("CollapseResults", "<< Hide Results") : Text("ExpandResults", "Show Results"));
  collapse_->SetIconName(on ? "I_HideResults.bmp" : "I_ShowResults.bmp");
}

void OrvGanttSearchDlg::ShowQuery(const std::vector<TavUnicodeString>& query) {
  queryList_->ClearLine();
  for (const auto& s : query) queryList_->SetColumnItem(0, s);
  menu_->SetVisibility(false);
}

void OrvGanttSearchDlg::ShowResults(const std::vector<std::vector<TavUnicodeString>>& lines, int count) {
  results_->ClearLine();
  std::vector<int> widths(3, 0);
  for (const auto& line : lines) {
    int row = -1;
    for (std::size_t c = 0; c < line.size() && c < 3; ++c) {
      results_->SetColumnItem(static_cast<int>(c), line[c], row);
      row = results_->GetLineCount() - 1;
      widths[c] = std::max(widths[c], static_cast<int>(line[c].GetLengthInChar()));
    }
  }
  for (int c = 0; c < 3; ++c) results_->SetColumnTextWidth(c, widths[static_cast<std::size_t>(c)]);
  count_->SetTitle(Text("LabelShowingNbResults.Title", "Total Results Found: ") + TavUnicodeString(std::to_string(count)));
}

void OrvGanttSearchDlg::ShowPlaceholder(const TavUnicodeString& line) {
  ShowResults({{line}}, 0);
}

void OrvGanttSearchDlg::FillSavedQueries(const std::vector<TavUnicodeString>& names, const TavUnicodeString& selected) {
  saved_->ClearLine();
  for (const auto& n : names) saved_->SetLine(n);
  for (int i = 0; i < saved_->GetLineCount(); ++i)
    if (!selected.IsEmpty() && saved_->GetLine(i) == selected) saved_->SetSelect(i);
}

void OrvGanttSearchDlg::RefillAttributes() {
  const TavUnicodeString before = attribute_->GetSelectCount() ? attribute_->GetLine(attribute_->GetSelect().front()) : TavUnicodeString();
  attribute_->ClearLine();
  attribute_->SetLine(Text("SelectAttribute", "Select Attribute"));
  std::vector<TavUnicodeString> headers;
  cmd_.GetVisibleColumnHeaderNlsStrings(headers);
  int keep = 0;
  for (const auto& h : headers) {
    attribute_->SetLine(h);
    if (h == before) keep = attribute_->GetLineCount() - 1;
  }
  attribute_->SetSelect(keep);
}

void OrvGanttSearchDlg::OnAttributeChosen() {
  bool numeric = true;
  const int line = attribute_->GetSelectCount() ? attribute_->GetSelect().front() : 0;
  if (line > 0) cmd_.IsAttributeFloat(attribute_->GetLine(line), numeric);
  relation_->ClearLine();
  for (const auto& r : Q::RelationsFor(numeric)) relation_->SetLine(Q::RelationText(r));
  relation_->SetSelect(0);
}

void OrvGanttSearchDlg::SubmitSingleQueryNotify() {
  const int attr = attribute_->GetSelectCount() ? attribute_->GetSelect().front() : 0;
  const int rel = relation_->GetSelectCount() ? relation_->GetSelect().front() : 0;
  if (attr <= 0) return OrvSerachInGanttCmd::ShowMessage("InvalidQuery_NoAttrTypeDef", "Please select an attribute first");
  if (rel <= 0) return OrvSerachInGanttCmd::ShowMessage("InvalidQuery_NoAttrRelDef", "Please select a relation first");
  if (value_->GetText().IsEmpty())
    return OrvSerachInGanttCmd::ShowMessage("InvalidQuery_NoAttrValDef", "Please enter a value first");
  bool numeric = true;
  cmd_.IsAttributeFloat(attribute_->GetLine(attr), numeric);
  const TavUnicodeString op = Q::OperatorOf(relation_->GetLine(rel), numeric);
  if (SUCCEEDED(cmd_.UpdateElemSearchQuery(attribute_->GetLine(attr), op, value_->GetText(), editElement_)))
    editElement_ = 0;
}

void OrvGanttSearchDlg::LoadCondition(const TavUnicodeString& attribute, const TavUnicodeString& op,
                                      const TavUnicodeString& value, int element) {
  RefillAttributes();
  int line = 0;
  for (int i = 1; i < attribute_->GetLineCount(); ++i)
    if (attribute_->GetLine(i) == attribute) line = i;
  attribute_->SetSelect(line);
  OnAttributeChosen();
  bool numeric = true;
  if (line > 0) cmd_.IsAttributeFloat(attribute, numeric);
  relation_->SetSelect(Q::RelationLineOf(op, numeric));
  value_->SetText(value);
  editElement_ = element;
}

void OrvGanttSearchDlg::ClearCondition() {
  attribute_->SetSelect(0);
  OnAttributeChosen();
  value_->SetText({});
  editElement_ = 0;
}

void OrvGanttSearchDlg::OnCombinatorChosen() {
  const int line = combinator_->GetSelectCount() ? combinator_->GetSelect().front() : 0;
  if (line <= 0) return;
  const TavUnicodeString comb = combinator_->GetLine(line);
  const auto rows = queryList_->GetSelect();
  if (rows.empty()) cmd_.UpdateCombinedRelation(comb, 0);
  // Only a combinator row (odd, from 0) is replaced; several rows: nothing.
  else if (rows.size() == 1 && rows.front() % 2 == 1) cmd_.UpdateCombinedRelation(comb, rows.front() + 1);
  combinator_->SetSelect(0);
}

void OrvGanttSearchDlg::OnQueryRowSelected() {
  const auto rows = queryList_->GetSelect();
  if (rows.size() != 1) {
    menu_->SetVisibility(false);
    return;
  }
  const bool condition = Q::IsCondition(queryList_->GetColumnItem(0, rows.front()));
  const TavUnicodeString text = queryList_->GetColumnItem(0, rows.front());
  edit_->SetVisibility(condition);
  changeTo_->SetVisibility(!condition);
  toAnd_->SetVisibility(text == Q::kOr);
  toOr_->SetVisibility(text == Q::kAnd);
  menu_->SetVisibility(true);
}

void OrvGanttSearchDlg::OnMenuEdit() {
  menu_->SetVisibility(false);
  const auto rows = queryList_->GetSelect();
  if (rows.size() != 1) return;
  TavUnicodeString a, op, v;
  if (FAILED(cmd_.GetAttributeValuesFromQuery(queryList_->GetColumnItem(0, rows.front()), a, op, v))) return;
  LoadCondition(a, op, v, rows.front() + 1);
}

void OrvGanttSearchDlg::OnMenuRemove() {
  menu_->SetVisibility(false);
  const auto rows = queryList_->GetSelect();
  if (rows.size() == 1) cmd_.RemoveElemQuery(rows.front() + 1);
}

void OrvGanttSearchDlg::OnMenuChangeTo(const char* combinator) {
  menu_->SetVisibility(false);
  const auto rows = queryList_->GetSelect();
  if (rows.size() == 1) cmd_.UpdateCombinedRelation(combinator, rows.front() + 1);
}

void OrvGanttSearchDlg::OnResultsSelected() { cmd_.OnResultLinesSelected(results_->GetSelect()); }

void OrvGanttSearchDlg::OnSavedQueriesDropDown() {
  std::vector<TavUnicodeString> names;
  const TavUnicodeString before = saved_->GetSelectCount() ? saved_->GetLine(saved_->GetSelect().front()) : TavUnicodeString();
  if (FAILED(cmd_.GetListOfSavedQuries(names))) return;
  FillSavedQueries(names, before);
  if (names.empty()) OrvSerachInGanttCmd::ShowMessage("NoSavedQuriesFound", "No saved queries exist", false);
}

void OrvGanttSearchDlg::OnSavedQueryChosen() {
  if (saved_->GetSelectCount()) cmd_.RetrieveSavedQuery(saved_->GetLine(saved_->GetSelect().front()));
}

void OrvGanttSearchDlg::OnDeleteSavedQuery() {
  if (!saved_->GetSelectCount()) return;
  if (FAILED(cmd_.DeleteSavedQueryCallBack(saved_->GetLine(saved_->GetSelect().front())))) return;
  std::vector<TavUnicodeString> names;
  cmd_.GetListOfSavedQuries(names);
  FillSavedQueries(names);
}

void OrvGanttSearchDlg::OnSaveQueryButton() { cmd_.ShowSaveQueryDlg(); }
