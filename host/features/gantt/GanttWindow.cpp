#include "GanttWindow.h"

#include <algorithm>
#include <unordered_map>

#include "HostWindows.h"

namespace host {

namespace {
std::string Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return std::string(s);
}

std::vector<std::string> ChosenColumns() {
  auto ctrl = OrvIVEKGanttSettingAtt::Instantiate(OrvIVEKGanttSettingAtt::kControllerName);
  TavUnicodeString text;
  if (!ctrl || FAILED(ctrl->GetColumnVisibility(text))) return {};
  return GanttWindow::ParseColumnChoice(text.utf8());
}
}  // namespace

std::vector<std::string> GanttWindow::ParseColumnChoice(const std::string& text) {
  std::vector<std::string> out;
  std::size_t at = text.find("$$");
  while (at != std::string::npos) {
    const std::size_t from = at + 2;
    at = text.find("$$", from);
    std::string piece = Trim(std::string_view(text).substr(from, at == std::string::npos ? std::string::npos : at - from));
    // The last piece has no closing "$$": a string cut short still names it.
    if (!piece.empty() && std::find(out.begin(), out.end(), piece) == out.end()) out.push_back(std::move(piece));
  }
  return out;
}

bool GanttWindow::CanBeColumn(const std::string& name) {
  const auto& standard = GanttTable::StandardHeaders();
  return !name.empty() && std::find(standard.begin(), standard.end(), name) == standard.end();
}

GanttWindow::GanttWindow(TavUnicodeString baseName, const Ref<HostEditor>& editor, Ref<HostActivity> root)
    : HostWindow(std::move(baseName), editor), root_(std::move(root)) {
  for (auto& a : ChosenColumns())
    if (CanBeColumn(a)) attributes_.push_back(a);
  BuildTable(table_, attributes_);
}

void GanttWindow::UpdateGanttTable() {
  // Highlights and the scroll position follow their activities to their new rows.
  std::vector<const HostActivity*> marked;
  for (int r : highlighted_) marked.push_back(table_.Row(static_cast<std::size_t>(r)).get());
  const HostActivity* top = InRange(firstVisible_) ? table_.Row(static_cast<std::size_t>(firstVisible_)).get() : nullptr;
  BuildTable(table_, attributes_);
  std::unordered_map<const HostActivity*, int> rowOf;
  if (!marked.empty() || top)
    for (std::size_t r = 0; r < table_.RowCount(); ++r) rowOf.emplace(table_.Row(r).get(), static_cast<int>(r));
  highlighted_.clear();
  for (auto* a : marked)
    if (auto it = rowOf.find(a); it != rowOf.end()) highlighted_.insert(it->second);
  auto it = top ? rowOf.find(top) : rowOf.end();
  firstVisible_ = it == rowOf.end() ? 0 : it->second;
}

void GanttWindow::GetVisibleColumnHeaders(std::vector<TavUnicodeString>& headers) const {
  headers.clear();
  for (std::size_t c = 0; c < table_.ColumnCount(); ++c) headers.emplace_back(table_.Header(c));
}

HRESULT GanttWindow::IsColumnNumeric(const TavUnicodeString& header, bool& numeric) const {
  const std::size_t c = table_.FindColumn(header.utf8());
  if (c == table_.ColumnCount()) return E_FAIL;
  numeric = table_.IsNumeric(c);
  return S_OK;
}

HRESULT GanttWindow::HighlightRow(int row, bool on, bool makeVisible) {
  if (!InRange(row)) return E_FAIL;
  if (!on) {
    highlighted_.erase(row);
    return S_OK;
  }
  highlighted_.insert(row);
  if (makeVisible) firstVisible_ = row;
  return S_OK;
}

TavUnicodeString GanttWindow::GetCellText(int row, int column) const {
  if (!InRange(row) || column < 0 || static_cast<std::size_t>(column) >= table_.ColumnCount()) return {};
  return TavUnicodeString(table_.Cell(static_cast<std::size_t>(row), static_cast<std::size_t>(column)));
}

Ref<TavBaseUnknown> GanttWindow::GetRowObject(int row) const {
  return InRange(row) ? table_.Row(static_cast<std::size_t>(row)) : nullptr;
}

HRESULT GanttWindow::AddColumns(const std::vector<TavUnicodeString>& attributes) {
  HRESULT hr = S_OK;
  for (auto& a : attributes) {
    const std::string& name = a.utf8();
    if (!CanBeColumn(name)) {
      hr = E_FAIL;  // a standard header or nothing: the others are still added
      continue;
    }
    if (std::find(attributes_.begin(), attributes_.end(), name) == attributes_.end()) attributes_.push_back(name);
  }
  return hr;
}

HRESULT GanttWindow::RemoveColumns(const std::vector<TavUnicodeString>& attributes) {
  for (auto& a : attributes) std::erase(attributes_, a.utf8());
  return S_OK;
}

HRESULT GanttWindow::RunQuery(const std::vector<TavUnicodeString>& query, bool /*quick*/,
                              std::vector<OrvGanttSearchRecord>& results, TavUnicodeString& error) {
  // A quick search's conditions name visible columns like any other: the flag
  // changes nothing in how they run.
  results.clear();
  error = TavUnicodeString();
  std::vector<std::string> strings;
  strings.reserve(query.size());
  for (auto& q : query) strings.push_back(q.utf8());
  std::string err;
  auto compiled = gantt::GanttQuery::Compile(strings, table_, err);
  if (!compiled) {
    error = err;
    return E_FAIL;
  }
  const HostDocument* doc = root_->Doc();
  for (auto& m : compiled->Run(table_)) {
    OrvGanttSearchRecord rec;
    rec.row = static_cast<int>(m.row);
    const Ref<HostActivity>& a = table_.Row(m.row);
    rec.name = a->Label();
    if (doc) rec.accessPath = doc->PathString(a);
    for (std::size_t c : m.columns) rec.columns.emplace_back(table_.Header(c));
    results.push_back(std::move(rec));
  }
  return S_OK;
}

HRESULT GanttWindow::ParseCondition(const TavUnicodeString& condition, TavUnicodeString& attribute, TavUnicodeString& op,
                                    TavUnicodeString& value) const {
  std::string a, o, v;
  if (!gantt::ParseCondition(condition.utf8(), a, o, v)) return E_FAIL;
  attribute = a;
  op = o;
  value = v;
  return S_OK;
}

std::vector<TavUnicodeString> GanttWindow::GetQuickSearchHistory() const {
  return {history_.Texts().begin(), history_.Texts().end()};
}

void GanttWindow::AddQuickSearchString(const TavUnicodeString& text) { history_.Add(text.utf8()); }

Ref<GanttWindow> OpenGanttWindow(const Ref<TavBaseUnknown>& activity, std::string& error) {
  auto root = std::dynamic_pointer_cast<HostActivity>(activity ? activity->ExtendedObject() : nullptr);
  if (!root || !root->Type()->IsA("Activity")) {
    error = "not an activity (a Gantt chart shows an activity and the activities below it)";
    return nullptr;
  }
  HostSession* session = HostSession::Current();
  HostDocument* doc = root->Doc();
  Ref<HostEditor> editor;
  if (session && doc) {
    // The current editor when it shows the plant, else the last one opened on it.
    if (auto cur = session->CurrentHostEditor(); cur && cur->Document().get() == doc) editor = cur;
    for (auto it = session->Editors().rbegin(); !editor && it != session->Editors().rend(); ++it)
      if ((*it)->Document().get() == doc) editor = *it;
  }
  if (!editor) {
    error = "the activity's plant is not open in this session";
    return nullptr;
  }
  HostWindows& frame = HostWindows::Get();
  auto w = std::make_shared<GanttWindow>(frame.NextName(GanttWindow::kKind), editor, std::move(root));
  frame.Open(w);
  return w;
}

}  // namespace host
