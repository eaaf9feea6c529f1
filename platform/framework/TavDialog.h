#pragma once
// The host's headless dialog toolkit: widget trees addressed by resource name,
// notifications connected to callbacks, notification and file boxes. Every
// dialog can be dumped as stable text and driven by a script or a test.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "TavString.h"

class TavDlgDialog;

// Notification names a widget sends.
namespace TavDlgNotification {
inline constexpr const char* OK = "OK";
inline constexpr const char* Apply = "APPLY";
inline constexpr const char* Cancel = "CANCEL";
inline constexpr const char* Close = "CLOSE";          // window close
inline constexpr const char* Select = "SELECT";        // list line or combo entry selected
inline constexpr const char* Modify = "MODIFY";        // editor text, check state, spinner value
inline constexpr const char* Activate = "ACTIVATE";    // push button pressed, list line double-clicked
inline constexpr const char* Leave = "LEAVE";          // the keyboard focus left an editor
inline constexpr const char* DropDown = "DROPDOWN";    // a combo's list is opened
inline constexpr const char* ColumnClick = "COLUMNCLICK";  // a column title of a list clicked
}  // namespace TavDlgNotification

class TavDlgWidget {
public:
  TavDlgWidget(TavDlgWidget* father, std::string name, std::string kind);
  virtual ~TavDlgWidget();
  TavDlgWidget(const TavDlgWidget&) = delete;
  TavDlgWidget& operator=(const TavDlgWidget&) = delete;

  const std::string& GetName() const { return name_; }
  const std::string& GetKind() const { return kind_; }
  TavDlgWidget* GetFather() const { return father_; }
  TavDlgDialog* GetDialog();
  // Title and help: set explicitly, else "<name>.Title" / "<name>.Help" of the dialog's catalogue.
  void SetTitle(const TavUnicodeString& t) { title_ = t; }
  TavUnicodeString GetTitle();
  void SetHelp(const TavUnicodeString& h) { help_ = h; }
  TavUnicodeString GetHelp();
  virtual void SetVisibility(bool v) { visible_ = v; }
  bool IsVisible() const { return visible_; }
  void SetSensitivity(bool s) { sensitive_ = s; }
  bool IsSensitive() const { return sensitive_; }
  // The text shown while the pointer rests on the widget; empty for none.
  void SetToolTip(const TavUnicodeString& t) { tooltip_ = t; }
  const TavUnicodeString& GetToolTip() const { return tooltip_; }
  // An icon resource ("I_ToUp") shown on a button or label; empty for none.
  void SetIconName(const std::string& icon) { icon_ = icon; }
  const std::string& GetIconName() const { return icon_; }

  // Children are owned by their father.
  template <class W, class... Args>
  W* Add(std::string name, Args&&... args) {
    auto w = std::make_unique<W>(this, std::move(name), std::forward<Args>(args)...);
    W* raw = w.get();
    children_.push_back(std::move(w));
    return raw;
  }
  const std::vector<std::unique_ptr<TavDlgWidget>>& Children() const { return children_; }
  void RemoveChildren() { children_.clear(); }
  // Depth-first search by resource name below (and including) this widget.
  TavDlgWidget* Find(const std::string& name);

  // Sends a notification: the callbacks connected to it, then the command engine.
  void Notify(const std::string& notification);

  // Script and test access: set a value as text ("checked", a line number, text).
  virtual bool SetValueFromText(const std::string& value, std::string* error);
  virtual std::string ValueText() const { return {}; }
  void Dump(std::string& out, int indent);

protected:
  virtual void DumpDetails(std::string& out, int indent) const;

private:
  TavDlgWidget* father_;
  std::string name_, kind_;
  std::optional<TavUnicodeString> title_, help_;
  TavUnicodeString tooltip_;
  std::string icon_;
  bool visible_ = true, sensitive_ = true;
  std::vector<std::unique_ptr<TavDlgWidget>> children_;
};

class TavDlgFrame : public TavDlgWidget {
public:
  TavDlgFrame(TavDlgWidget* f, std::string n) : TavDlgWidget(f, std::move(n), "frame") {}
};
class TavDlgLabel : public TavDlgWidget {
public:
  TavDlgLabel(TavDlgWidget* f, std::string n) : TavDlgWidget(f, std::move(n), "label") {}
};
class TavDlgPushButton : public TavDlgWidget {
public:
  TavDlgPushButton(TavDlgWidget* f, std::string n) : TavDlgWidget(f, std::move(n), "push") {}
};

class TavDlgCheckButton : public TavDlgWidget {
public:
  TavDlgCheckButton(TavDlgWidget* f, std::string n, std::string kind = "check") : TavDlgWidget(f, std::move(n), std::move(kind)) {}
  bool GetState() const { return checked_; }
  void SetState(bool c, bool notify = false);
  bool SetValueFromText(const std::string& value, std::string* error) override;
  std::string ValueText() const override { return checked_ ? "checked" : "unchecked"; }

private:
  bool checked_ = false;
};
class TavDlgRadioButton : public TavDlgCheckButton {
public:
  TavDlgRadioButton(TavDlgWidget* f, std::string n) : TavDlgCheckButton(f, std::move(n), "radio") {}
};

class TavDlgEditor : public TavDlgWidget {
public:
  TavDlgEditor(TavDlgWidget* f, std::string n) : TavDlgWidget(f, std::move(n), "editor") {}
  TavUnicodeString GetText() const { return text_; }
  void SetText(const TavUnicodeString& t, bool notify = false);
  void SetReadOnly(bool r) { readOnly_ = r; }
  bool IsReadOnly() const { return readOnly_; }
  void SetVisibleTextWidth(int w) { width_ = w; }
  int GetVisibleTextWidth() const { return width_; }
  bool SetValueFromText(const std::string& value, std::string* error) override;
  std::string ValueText() const override { return text_.utf8(); }

private:
  TavUnicodeString text_;
  bool readOnly_ = false;
  int width_ = 0;
};

class TavDlgSpinner : public TavDlgWidget {
public:
  TavDlgSpinner(TavDlgWidget* f, std::string n) : TavDlgWidget(f, std::move(n), "spinner") {}
  void SetRange(double min, double max, double step) { min_ = min; max_ = max; step_ = step; }
  double GetValue() const { return value_; }
  void SetValue(double v, bool notify = false);
  bool SetValueFromText(const std::string& value, std::string* error) override;
  std::string ValueText() const override;

private:
  double value_ = 0, min_ = -1e300, max_ = 1e300, step_ = 1;
};

// Lines of text with a selection (a combo selects one line).
// Rows the user selects one at a time: the lines of combos and lists, the rows of
// multi-column lists.
class TavDlgRows : public TavDlgWidget {
public:
  using TavDlgWidget::TavDlgWidget;
  virtual int GetLineCount() const = 0;
  void SetSelect(int row, bool notify = false);  // single selection; -1 clears
  void ClearSelect() { selected_.clear(); }
  std::vector<int> GetSelect() const { return selected_; }
  int GetSelectCount() const { return static_cast<int>(selected_.size()); }
  // Selects these rows (ascending, duplicates dropped) without notifying; rows
  // outside the list are ignored, and so are all but the first on a single-selection list.
  void SetSelectedRows(std::vector<int> rows);
  bool IsSelected(int row) const;
  // A list where the user may select several rows at once (off by default).
  void SetMultiSelect(bool on) { multi_ = on; }
  bool IsMultiSelect() const { return multi_; }
  // Selects these rows (numbers or unique row texts) and notifies once; refused on
  // a single-selection list unless there is exactly one value.
  bool SelectLinesFromText(const std::vector<std::string>& values, std::string* error);

protected:
  // "none", a row number, or the text of exactly one row (`matches`), as the user
  // could choose; `noun` is what the user calls a row ("line", "row").
  bool SelectFromText(const std::string& v, std::string* error, const std::string& noun,
                      const std::function<bool(int row)>& matches);
  // Whether a row answers to a text the user gives for it.
  virtual bool RowMatches(int row, const std::string& text) const = 0;
  virtual const char* RowNoun() const { return "line"; }
  std::vector<int> selected_;
  bool multi_ = false;
};

class TavDlgLines : public TavDlgRows {
public:
  using TavDlgRows::TavDlgRows;
  void SetLine(const TavUnicodeString& text, int row = -1);  // -1 appends
  void ClearLine() { lines_.clear(); selected_.clear(); }
  int GetLineCount() const override { return static_cast<int>(lines_.size()); }
  TavUnicodeString GetLine(int row) const;
  bool SetValueFromText(const std::string& value, std::string* error) override;
  std::string ValueText() const override;

protected:
  void DumpDetails(std::string& out, int indent) const override;
  bool RowMatches(int row, const std::string& text) const override;
  std::vector<TavUnicodeString> lines_;
};
class TavDlgCombo : public TavDlgLines {
public:
  TavDlgCombo(TavDlgWidget* f, std::string n) : TavDlgLines(f, std::move(n), "combo") {}
};
class TavDlgSelectorList : public TavDlgLines {
public:
  TavDlgSelectorList(TavDlgWidget* f, std::string n) : TavDlgLines(f, std::move(n), "selector") {}
};

// A list of rows with titled columns.
class TavDlgMultiList : public TavDlgRows {
public:
  TavDlgMultiList(TavDlgWidget* f, std::string n) : TavDlgRows(f, std::move(n), "multilist") {}
  void SetColumnTitles(std::vector<TavUnicodeString> titles) { columns_ = std::move(titles); }
  const std::vector<TavUnicodeString>& GetColumnTitles() const { return columns_; }
  int GetColumnCount() const { return static_cast<int>(columns_.size()); }
  void SetColumnTextWidth(int column, int width);
  int GetColumnTextWidth(int column) const;
  void SetColumnItem(int column, const TavUnicodeString& text, int row = -1);  // -1: a new row
  TavUnicodeString GetColumnItem(int column, int row) const;
  int GetLineCount() const override { return static_cast<int>(rows_.size()); }
  void ClearLine() { rows_.clear(); selected_.clear(); }
  bool SetValueFromText(const std::string& value, std::string* error) override;
  std::string ValueText() const override;
  // The user clicks a column title: the list notifies COLUMNCLICK; the column stays
  // readable until the next click. False for no such column.
  bool ClickColumn(int column);
  int GetClickedColumn() const { return clicked_; }

protected:
  void DumpDetails(std::string& out, int indent) const override;
  bool RowMatches(int row, const std::string& text) const override;
  const char* RowNoun() const override { return "row"; }

private:
  int clicked_ = -1;
  std::vector<TavUnicodeString> columns_;
  std::vector<int> widths_;
  std::vector<std::vector<TavUnicodeString>> rows_;
};

// A contextual menu: items (push-like, they notify ACTIVATE) and submenus of items.
// Hidden until the command shows it at a pick; an activated item hides its menu.
class TavDlgMenu : public TavDlgWidget {
public:
  TavDlgMenu(TavDlgWidget* f, std::string n, std::string kind = "menu") : TavDlgWidget(f, std::move(n), std::move(kind)) {
    SetVisibility(false);
  }
};
class TavDlgSubMenu : public TavDlgMenu {
public:
  TavDlgSubMenu(TavDlgWidget* f, std::string n) : TavDlgMenu(f, std::move(n), "submenu") { SetVisibility(true); }
};
class TavDlgMenuItem : public TavDlgWidget {
public:
  TavDlgMenuItem(TavDlgWidget* f, std::string n) : TavDlgWidget(f, std::move(n), "menuitem") {}
};

class TavDlgTabPage : public TavDlgWidget {
public:
  TavDlgTabPage(TavDlgWidget* f, std::string n) : TavDlgWidget(f, std::move(n), "tabpage") {}
};
class TavDlgTabContainer : public TavDlgWidget {
public:
  TavDlgTabContainer(TavDlgWidget* f, std::string n) : TavDlgWidget(f, std::move(n), "tabs") {}
  void SetSelectedPage(const std::string& name) { selected_ = name; }
  const std::string& GetSelectedPage() const { return selected_; }
  bool SetValueFromText(const std::string& value, std::string* error) override;
  std::string ValueText() const override { return selected_; }

private:
  std::string selected_;
};

// A dialog window. Widgets are built in Build(); callbacks connected with
// AddAnalyseNotificationCB are disconnected when the dialog goes.
class TavDlgDialog : public TavDlgWidget {
public:
  // `catalog`: where titles and help are looked up (the dialog class's name); defaults to the name.
  TavDlgDialog(TavDlgWidget* father, std::string name, int style = 0, std::string catalog = {}, std::string kind = "dialog");
  ~TavDlgDialog() override;
  virtual void Build() {}
  int GetStyle() const { return style_; }
  const std::string& GetCatalog() const { return catalog_; }

  using Callback = std::function<void()>;
  int AddAnalyseNotificationCB(TavDlgWidget* source, const std::string& notification, Callback cb);
  void RemoveAnalyseNotificationCB(TavDlgWidget* source, const std::string& notification);
  void RemoveAnalyseNotificationCB(int id);
  // A push button that passes its activation on as the dialog's `notification`
  // (OK, Apply, Cancel), titled from the catalogue key "<name>.Title", else `fallback`.
  TavDlgPushButton* AddNotifyingButton(const std::string& name, const std::string& notification, const TavUnicodeString& fallback);
  int CallbackCount() const { return static_cast<int>(callbacks_.size()); }
  void Dispatch(TavDlgWidget* source, const std::string& notification);
  // How many callbacks the last dispatched notification reached.
  int LastDispatchCount() const { return lastDispatch_; }

  // Minimised with its window (still shown, but folded away).
  void SetMinimized(bool m) { minimized_ = m; }
  bool IsMinimized() const { return minimized_; }
  // The size the user cannot shrink the window below, and its current size; a
  // size below the minimum grows to it. 0 x 0: the toolkit's choice.
  void SetMinimumSize(int width, int height);
  void SetSize(int width, int height);
  int GetWidth() const { return width_; }
  int GetHeight() const { return height_; }
  int GetMinimumWidth() const { return minWidth_; }
  int GetMinimumHeight() const { return minHeight_; }

  std::string DumpText();
  // Every live dialog, in creation order (for scripts: dialogs by name).
  static const std::vector<TavDlgDialog*>& All();
  static TavDlgDialog* FindByName(const std::string& name);  // the newest of that name

protected:
  void DumpDetails(std::string& out, int indent) const override;

private:
  struct CB {
    int id;
    TavDlgWidget* source;
    std::string notification;
    Callback cb;
  };
  int style_;
  std::string catalog_;
  std::vector<CB> callbacks_;
  int nextId_ = 1;
  int lastDispatch_ = 0;
  bool minimized_ = false;
  int width_ = 0, height_ = 0, minWidth_ = 0, minHeight_ = 0;
};

// A notification window: information, warning or error, with a title and a text.
class TavDlgNotify : public TavDlgDialog {
public:
  enum Kind { Information, Warning, Error };
  TavDlgNotify(TavDlgWidget* father, std::string name, Kind kind = Information, int style = 0);
  void SetText(const TavUnicodeString& t) { text_ = t; }
  const TavUnicodeString& GetText() const { return text_; }
  void DisplayBox(const TavUnicodeString& title, const TavUnicodeString& text) { SetTitle(title); SetText(text); }
  Kind GetNotifyKind() const { return kind_; }
  // Shown without blocking: the host records it; its OK reaches the command as a notification.
  void SetVisibility(bool v) override;
  static const char* KindName(Kind k);
  // Shows the box modally: recorded by the host, answered by the script or by
  // the default answer ("OK"). Returns the answer.
  std::string DisplayBlocked();

protected:
  void DumpDetails(std::string& out, int indent) const override;

private:
  Kind kind_;
  TavUnicodeString text_;
};

// The file selection box. The script answers it with a path or a cancel.
class TavDlgFile : public TavDlgDialog {
public:
  TavDlgFile(TavDlgWidget* father, std::string name, int style = 0);
  void SetFilterStrings(std::vector<TavUnicodeString> labels, std::vector<TavUnicodeString> patterns) {
    filterLabels_ = std::move(labels);
    filterPatterns_ = std::move(patterns);
  }
  const std::vector<TavUnicodeString>& GetFilterLabels() const { return filterLabels_; }
  const std::vector<TavUnicodeString>& GetFilterPatterns() const { return filterPatterns_; }
  // The pattern the box filters by when it opens ("*.process"); empty: the first filter's.
  void SetFilterPattern(const TavUnicodeString& pattern) { pattern_ = pattern; }
  const TavUnicodeString& GetFilterPattern() const { return pattern_; }
  TavUnicodeString GetSelection() const { return selection_; }
  void SetSelection(const TavUnicodeString& s) { selection_ = s; }
  // Shows the box; a queued script answer is applied at once (OK or CANCEL is sent).
  void Show();

protected:
  void DumpDetails(std::string& out, int indent) const override;

private:
  std::vector<TavUnicodeString> filterLabels_, filterPatterns_;
  TavUnicodeString pattern_, selection_;
};

// What the host installs so that dialogs reach the command engine and the script.
class TavDialogHost {
public:
  virtual ~TavDialogHost() = default;
  static TavDialogHost* Get();
  static void Install(TavDialogHost* h);
  // A widget sent a notification (after the dialog's own callbacks ran).
  virtual void OnNotification(TavDlgWidget* source, const std::string& notification) = 0;
  // A modal notification box is shown: record it and return the answer.
  virtual std::string OnNotifyBlocked(TavDlgNotify& box) = 0;
  // A file box is shown: a queued answer, if any ("" + false: none yet).
  virtual bool OnFileShown(TavDlgFile& box, bool& ok, TavUnicodeString& path) = 0;
  virtual void OnDialogDestroyed(TavDlgDialog*) {}
  // A notification box was shown without blocking.
  virtual void OnNotifyShown(TavDlgNotify&) {}
};
