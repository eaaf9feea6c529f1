#include "TavDialog.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "TavServices.h"

namespace {
TavDialogHost* g_dialogHost = nullptr;
std::vector<TavDlgDialog*>& Live() {
  static std::vector<TavDlgDialog*> v;
  return v;
}
std::string Quote(const TavUnicodeString& s) {
  std::string out = "\"";
  for (char c : s.utf8()) {
    if (c == '"' || c == '\\') out += '\\';
    if (c == '\n') { out += "\\n"; continue; }
    out += c;
  }
  return out + "\"";
}
// "rows 1 and 3" for a message about several rows.
std::string RowList(const std::vector<int>& rows, const std::string& what) {
  std::string s = what;
  for (std::size_t i = 0; i < rows.size(); ++i) s += (i ? (i + 1 == rows.size() ? " and " : ", ") : " ") + std::to_string(rows[i]);
  return s;
}
bool ParseInt(const std::string& s, int& v) {
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  return ec == std::errc() && p == s.data() + s.size();
}
}  // namespace

TavDialogHost* TavDialogHost::Get() { return g_dialogHost; }
void TavDialogHost::Install(TavDialogHost* h) { g_dialogHost = h; }

// ------------------------------------------------------------------ widget
TavDlgWidget::TavDlgWidget(TavDlgWidget* father, std::string name, std::string kind)
    : father_(father), name_(std::move(name)), kind_(std::move(kind)) {}
TavDlgWidget::~TavDlgWidget() = default;

TavDlgDialog* TavDlgWidget::GetDialog() {
  for (TavDlgWidget* w = this; w; w = w->father_)
    if (auto* d = dynamic_cast<TavDlgDialog*>(w)) return d;
  return nullptr;
}

TavUnicodeString TavDlgWidget::GetTitle() {
  if (title_) return *title_;
  auto* d = GetDialog();
  return TavMsgCatalog::BuildMessage(d ? d->GetCatalog() : name_, name_ + ".Title", {}, {});
}

TavUnicodeString TavDlgWidget::GetHelp() {
  if (help_) return *help_;
  auto* d = GetDialog();
  return TavMsgCatalog::BuildMessage(d ? d->GetCatalog() : name_, name_ + ".Help", {}, {});
}

TavDlgWidget* TavDlgWidget::Find(const std::string& name) {
  if (name_ == name) return this;
  for (auto& c : children_)
    if (auto* w = c->Find(name)) return w;
  return nullptr;
}

void TavDlgWidget::Notify(const std::string& notification) {
  if (auto* d = GetDialog()) d->Dispatch(this, notification);
  else if (g_dialogHost) g_dialogHost->OnNotification(this, notification);
}

bool TavDlgWidget::SetValueFromText(const std::string&, std::string* error) {
  if (error) *error = "a " + kind_ + " has no value to set";
  return false;
}

void TavDlgWidget::Dump(std::string& out, int indent) {
  out.append(static_cast<std::size_t>(indent) * 2, ' ');
  out += kind_ + " " + name_;
  TavUnicodeString t = GetTitle();
  if (!t.IsEmpty()) out += " " + Quote(t);
  if (!visible_) out += " [hidden]";
  if (!sensitive_) out += " [insensitive]";
  if (!icon_.empty()) out += " icon=" + icon_;
  if (!tooltip_.IsEmpty()) out += " tooltip=" + Quote(tooltip_);
  DumpDetails(out, indent);
  out += '\n';
  for (auto& c : children_) c->Dump(out, indent + 1);
}

void TavDlgWidget::DumpDetails(std::string& out, int) const {
  std::string v = ValueText();
  if (!v.empty() || kind_ == "editor") out += " = " + Quote(v);
}

// ------------------------------------------------------------------ value widgets
void TavDlgCheckButton::SetState(bool c, bool notify) {
  checked_ = c;
  if (notify) Notify(TavDlgNotification::Modify);
}
bool TavDlgCheckButton::SetValueFromText(const std::string& v, std::string* error) {
  if (v == "checked" || v == "on" || v == "1") SetState(true, true);
  else if (v == "unchecked" || v == "off" || v == "0") SetState(false, true);
  else {
    if (error) *error = "a check button takes checked or unchecked, not '" + v + "'";
    return false;
  }
  return true;
}

void TavDlgEditor::SetText(const TavUnicodeString& t, bool notify) {
  text_ = t;
  if (notify) Notify(TavDlgNotification::Modify);
}
bool TavDlgEditor::SetValueFromText(const std::string& v, std::string* error) {
  if (readOnly_) {
    if (error) *error = "editor " + GetName() + " is read-only";
    return false;
  }
  SetText(v, true);
  return true;
}

void TavDlgSpinner::SetValue(double v, bool notify) {
  value_ = std::clamp(v, min_, max_);
  if (notify) Notify(TavDlgNotification::Modify);
}
bool TavDlgSpinner::SetValueFromText(const std::string& v, std::string* error) {
  double d = 0;
  auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), d);
  if (ec != std::errc() || p != v.data() + v.size()) {
    if (error) *error = "a spinner takes a number, not '" + v + "'";
    return false;
  }
  SetValue(d, true);
  return true;
}
std::string TavDlgSpinner::ValueText() const {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%g", value_);
  return buf;
}

void TavDlgLines::SetLine(const TavUnicodeString& text, int row) {
  if (row < 0 || row >= static_cast<int>(lines_.size())) lines_.push_back(text);
  else lines_[static_cast<std::size_t>(row)] = text;
}
TavUnicodeString TavDlgLines::GetLine(int row) const {
  return row >= 0 && row < static_cast<int>(lines_.size()) ? lines_[static_cast<std::size_t>(row)] : TavUnicodeString();
}
void TavDlgRows::SetSelect(int row, bool notify) {
  selected_.clear();
  if (row >= 0 && row < GetLineCount()) selected_.push_back(row);
  if (notify) Notify(TavDlgNotification::Select);
}
bool TavDlgRows::IsSelected(int row) const { return std::find(selected_.begin(), selected_.end(), row) != selected_.end(); }
bool TavDlgRows::SelectFromText(const std::string& v, std::string* error, const std::string& noun,
                                const std::function<bool(int row)>& matches) {
  int row = -1;
  if (v != "none" && !ParseInt(v, row)) {
    // By its text too, when no other row has the same text.
    std::vector<int> rows;
    for (int i = 0; i < GetLineCount(); ++i)
      if (matches(i)) rows.push_back(i);
    if (rows.size() != 1) {
      if (error)
        *error = GetKind() + " " + GetName() +
                 (rows.empty() ? " has no " + noun + " '" + v + "'" : " has " + RowList(rows, noun + "s") + " '" + v + "': choose one by number");
      return false;
    }
    row = rows.front();
  }
  // A row is chosen as the user could: one of the rows, or none.
  if (v != "none" && (row < 0 || row >= GetLineCount())) {
    if (error) *error = GetKind() + " " + GetName() + " has " + std::to_string(GetLineCount()) + " " + noun + "s, no " + noun + " " + v;
    return false;
  }
  SetSelect(row, true);
  return true;
}

bool TavDlgLines::SetValueFromText(const std::string& v, std::string* error) {
  return SelectFromText(v, error, "line", [&](int i) { return RowMatches(i, v); });
}
bool TavDlgLines::RowMatches(int row, const std::string& text) const {
  return lines_[static_cast<std::size_t>(row)].utf8() == text;
}
void TavDlgRows::SetSelectedRows(std::vector<int> rows) {
  std::erase_if(rows, [&](int r) { return r < 0 || r >= GetLineCount(); });
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  if (!multi_ && rows.size() > 1) rows.resize(1);
  selected_ = std::move(rows);
}
bool TavDlgRows::SelectLinesFromText(const std::vector<std::string>& values, std::string* error) {
  const std::string noun = RowNoun();
  if (values.size() == 1) return SetValueFromText(values.front(), error);
  if (!multi_ || values.empty()) {
    if (error) *error = GetKind() + " " + GetName() + (values.empty() ? ": no " + noun + " given" : " selects one " + noun + " at a time");
    return false;
  }
  std::vector<int> rows;
  for (const std::string& v : values) {
    int row = -1;
    if (!ParseInt(v, row)) {
      int found = 0;
      for (int i = 0; i < GetLineCount(); ++i)
        if (RowMatches(i, v)) row = i, ++found;
      if (found != 1) {
        if (error) *error = GetKind() + " " + GetName() + (found ? " has several " + noun + "s '" + v + "': choose one by number" : " has no " + noun + " '" + v + "'");
        return false;
      }
    } else if (row < 0 || row >= GetLineCount()) {
      if (error) *error = GetKind() + " " + GetName() + " has " + std::to_string(GetLineCount()) + " " + noun + "s, no " + noun + " " + v;
      return false;
    }
    if (std::find(rows.begin(), rows.end(), row) == rows.end()) rows.push_back(row);
  }
  std::sort(rows.begin(), rows.end());
  selected_ = rows;
  Notify(TavDlgNotification::Select);
  return true;
}
std::string TavDlgLines::ValueText() const {
  return selected_.empty() ? std::string() : GetLine(selected_.front()).utf8();
}
void TavDlgLines::DumpDetails(std::string& out, int indent) const {
  for (int i = 0; i < GetLineCount(); ++i) {
    out += '\n';
    out.append(static_cast<std::size_t>(indent + 1) * 2, ' ');
    out += (IsSelected(i) ? "* " : "- ") + std::to_string(i) + ": " + lines_[static_cast<std::size_t>(i)].utf8();
  }
}

void TavDlgMultiList::SetColumnTextWidth(int column, int width) {
  if (column < 0) return;
  if (widths_.size() <= static_cast<std::size_t>(column)) widths_.resize(static_cast<std::size_t>(column) + 1, 0);
  widths_[static_cast<std::size_t>(column)] = width;
}
int TavDlgMultiList::GetColumnTextWidth(int column) const {
  return column >= 0 && static_cast<std::size_t>(column) < widths_.size() ? widths_[static_cast<std::size_t>(column)] : 0;
}
void TavDlgMultiList::SetColumnItem(int column, const TavUnicodeString& text, int row) {
  if (column < 0) return;
  if (row < 0 || row >= static_cast<int>(rows_.size())) {
    rows_.emplace_back();
    row = static_cast<int>(rows_.size()) - 1;
  }
  auto& r = rows_[static_cast<std::size_t>(row)];
  if (r.size() <= static_cast<std::size_t>(column)) r.resize(static_cast<std::size_t>(column) + 1);
  r[static_cast<std::size_t>(column)] = text;
}
TavUnicodeString TavDlgMultiList::GetColumnItem(int column, int row) const {
  if (row < 0 || row >= static_cast<int>(rows_.size()) || column < 0) return {};
  auto& r = rows_[static_cast<std::size_t>(row)];
  return static_cast<std::size_t>(column) < r.size() ? r[static_cast<std::size_t>(column)] : TavUnicodeString();
}
bool TavDlgMultiList::SetValueFromText(const std::string& v, std::string* error) {
  return SelectFromText(v, error, "row", [&](int i) { return RowMatches(i, v); });
}
bool TavDlgMultiList::RowMatches(int i, const std::string& v) const {
  // A row by its first cell's text, or by all its cells as the dump shows them ("a | b").
  std::string all;
  for (auto& cell : rows_[static_cast<std::size_t>(i)]) all += (all.empty() ? "" : " | ") + cell.utf8();
  return GetColumnItem(0, i).utf8() == v || all == v;
}
bool TavDlgMultiList::ClickColumn(int column) {
  if (column < 0 || column >= std::max(GetColumnCount(), 1)) return false;
  clicked_ = column;
  Notify(TavDlgNotification::ColumnClick);
  return true;
}
std::string TavDlgMultiList::ValueText() const {
  return selected_.empty() ? std::string() : "row " + std::to_string(selected_.front());
}
void TavDlgMultiList::DumpDetails(std::string& out, int indent) const {
  std::string pad(static_cast<std::size_t>(indent + 1) * 2, ' ');
  out += '\n' + pad + "columns:";
  for (auto& c : columns_) out += " | " + c.utf8();
  for (int i = 0; i < GetLineCount(); ++i) {
    out += '\n' + pad + (IsSelected(i) ? "* " : "- ") + std::to_string(i) + ":";
    for (auto& cell : rows_[static_cast<std::size_t>(i)]) out += " | " + cell.utf8();
  }
}

bool TavDlgTabContainer::SetValueFromText(const std::string& v, std::string* error) {
  for (auto& c : Children())
    if (c->GetName() == v) {
      selected_ = v;
      Notify(TavDlgNotification::Select);
      return true;
    }
  if (error) *error = "tab container " + GetName() + " has no page '" + v + "'";
  return false;
}

// ------------------------------------------------------------------ dialog
TavDlgDialog::TavDlgDialog(TavDlgWidget* father, std::string name, int style, std::string catalog, std::string kind)
    : TavDlgWidget(father, name, std::move(kind)), style_(style), catalog_(catalog.empty() ? name : std::move(catalog)) {
  SetVisibility(false);
  Live().push_back(this);
}

TavDlgDialog::~TavDlgDialog() {
  callbacks_.clear();
  std::erase(Live(), this);
  if (g_dialogHost) g_dialogHost->OnDialogDestroyed(this);
}

TavDlgPushButton* TavDlgDialog::AddNotifyingButton(const std::string& name, const std::string& notification,
                                                   const TavUnicodeString& fallback) {
  auto* b = Add<TavDlgPushButton>(name);
  b->SetTitle(TavMsgCatalog::BuildMessage(catalog_, name + ".Title", {}, fallback));
  AddAnalyseNotificationCB(b, TavDlgNotification::Activate, [this, notification] { Notify(notification); });
  return b;
}

int TavDlgDialog::AddAnalyseNotificationCB(TavDlgWidget* source, const std::string& notification, Callback cb) {
  int id = nextId_++;
  callbacks_.push_back(CB{id, source, notification, std::move(cb)});
  return id;
}
void TavDlgDialog::RemoveAnalyseNotificationCB(TavDlgWidget* source, const std::string& notification) {
  std::erase_if(callbacks_, [&](const CB& c) { return c.source == source && c.notification == notification; });
}
void TavDlgDialog::RemoveAnalyseNotificationCB(int id) {
  std::erase_if(callbacks_, [&](const CB& c) { return c.id == id; });
}

void TavDlgDialog::Dispatch(TavDlgWidget* source, const std::string& notification) {
  // Copy first: a callback may disconnect callbacks or hide the dialog.
  std::vector<Callback> todo;
  for (auto& c : callbacks_)
    if (c.source == source && c.notification == notification) todo.push_back(c.cb);
  lastDispatch_ = static_cast<int>(todo.size());
  for (auto& cb : todo) cb();
  if (g_dialogHost) g_dialogHost->OnNotification(source, notification);
}

std::string TavDlgDialog::DumpText() {
  std::string out;
  Dump(out, 0);
  return out;
}

void TavDlgDialog::DumpDetails(std::string& out, int) const {
  if (minimized_) out += " [minimised]";
  if (minWidth_ || minHeight_) out += " min=" + std::to_string(minWidth_) + "x" + std::to_string(minHeight_);
  if (width_ || height_) out += " size=" + std::to_string(width_) + "x" + std::to_string(height_);
}

void TavDlgDialog::SetMinimumSize(int width, int height) {
  minWidth_ = std::max(0, width);
  minHeight_ = std::max(0, height);
  if (width_ || height_) SetSize(width_, height_);
}

void TavDlgDialog::SetSize(int width, int height) {
  width_ = std::max(width, minWidth_);
  height_ = std::max(height, minHeight_);
}

const std::vector<TavDlgDialog*>& TavDlgDialog::All() { return Live(); }

TavDlgDialog* TavDlgDialog::FindByName(const std::string& name) {
  auto& v = Live();
  for (auto it = v.rbegin(); it != v.rend(); ++it)
    if ((*it)->GetName() == name) return *it;
  return nullptr;
}

// ------------------------------------------------------------------ notify and file boxes
TavDlgNotify::TavDlgNotify(TavDlgWidget* father, std::string name, Kind kind, int style)
    : TavDlgDialog(father, std::move(name), style, {}, "notify"), kind_(kind) {}

const char* TavDlgNotify::KindName(Kind k) {
  switch (k) {
    case Information: return "information";
    case Warning: return "warning";
    case Error: return "error";
  }
  return "information";
}

std::string TavDlgNotify::DisplayBlocked() {
  TavDlgWidget::SetVisibility(true);
  std::string answer = g_dialogHost ? g_dialogHost->OnNotifyBlocked(*this) : "OK";
  TavDlgWidget::SetVisibility(false);
  return answer;
}

void TavDlgNotify::SetVisibility(bool v) {
  bool was = IsVisible();
  TavDlgWidget::SetVisibility(v);
  if (v && !was && g_dialogHost) g_dialogHost->OnNotifyShown(*this);
}

void TavDlgNotify::DumpDetails(std::string& out, int) const {
  out += std::string(" (") + KindName(kind_) + ") " + Quote(text_);
}

TavDlgFile::TavDlgFile(TavDlgWidget* father, std::string name, int style)
    : TavDlgDialog(father, std::move(name), style, {}, "filebox") {}

void TavDlgFile::Show() {
  SetVisibility(true);
  bool ok = false;
  TavUnicodeString path;
  if (g_dialogHost && g_dialogHost->OnFileShown(*this, ok, path)) {
    if (ok) {
      selection_ = path;
      Notify(TavDlgNotification::OK);
    } else {
      Notify(TavDlgNotification::Cancel);
    }
  }
}

void TavDlgFile::DumpDetails(std::string& out, int) const {
  if (!pattern_.IsEmpty()) out += " pattern " + pattern_.utf8();
  for (std::size_t i = 0; i < filterLabels_.size(); ++i)
    out += " filter " + Quote(filterLabels_[i]) + " " + (i < filterPatterns_.size() ? filterPatterns_[i].utf8() : "");
  if (!selection_.IsEmpty()) out += " = " + Quote(selection_);
}
