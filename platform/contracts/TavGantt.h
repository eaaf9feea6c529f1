#pragma once
// Windows of the layout and the Gantt chart window: the current window and its
// notices, the Gantt table (rows, columns, highlight), its search utility, its
// attribute columns and their setting controller; activity type attribute keys and
// resource parameters, which those columns show.
#include <functional>

#include "TavPPR.h"
#include "TavServices.h"
#include "TavStates.h"

// ---------------------------------------------------------------- windows
enum class TavFrmWindowEvent { Deleted, Activated, Deactivated };

// A window of the layout: a Gantt chart, later other charts.
class TavFrmWindow : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavFrmWindow);
  // "Gantt Chart.1": what titles and messages call the window.
  virtual TavUnicodeString GetBaseName() const = 0;
  virtual bool IsDeleted() const = 0;
  // Called on the window's delete, activate and deactivate, in subscription order.
  // A callback may unsubscribe itself (or others) while being called.
  using Callback = std::function<void(TavFrmWindowEvent)>;
  virtual int AddWindowCallback(Callback cb) = 0;
  virtual void RemoveWindowCallback(int id) = 0;
};

// The windows of the current layout (TavFrmLayout); one of them is current (the
// last opened or activated).
class TavFrmLayoutWindows {
public:
  virtual ~TavFrmLayoutWindows() = default;
  // The host's windows; null before the host is started.
  static TavFrmLayoutWindows* Get();
  static void Install(TavFrmLayoutWindows* windows);  // null uninstalls
  virtual Ref<TavFrmWindow> GetCurrentWindow() const = 0;  // null when no window is open
  virtual std::vector<Ref<TavFrmWindow>> GetWindows() const = 0;  // in opening order
};

// ---------------------------------------------------------------- the Gantt window
// One record per matching row of a search.
struct OrvGanttSearchRecord {
  int row = -1;                              // the row's number in the Gantt table, from 0
  TavUnicodeString name;                     // activity or resource label
  TavUnicodeString accessPath;               // "Process/Body Shop/Weld.2"
  std::vector<TavUnicodeString> columns;     // headers of the columns that matched, in column order
};

// The rows and visible columns of a Gantt window's table.
class OrvIGanttTableDataAccessor : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIGanttTableDataAccessor);
  // Headers of the visible columns, in column order.
  virtual void GetVisibleColumnHeaders(std::vector<TavUnicodeString>& headers) const = 0;
  // S_OK with whether the column holds numbers; E_FAIL for no visible column of that header.
  virtual HRESULT IsColumnNumeric(const TavUnicodeString& header, bool& numeric) const = 0;
  // E_FAIL for a row number outside the table.
  virtual HRESULT HighlightRow(int row, bool on, bool makeVisible) = 0;
  virtual std::vector<int> GetHighlightedRows() const = 0;  // ascending
  virtual int GetRowCount() const = 0;
  // The text of a cell of a visible column ("" outside the table).
  virtual TavUnicodeString GetCellText(int row, int column) const = 0;
  virtual Ref<TavBaseUnknown> GetRowObject(int row) const = 0;  // null outside the table
};

// The attribute columns of a Gantt window, by internal attribute name.
class OrvIGanttAddRemoveColumn : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIGanttAddRemoveColumn);
  // Columns already shown are not added twice; unknown ones are not removed.
  virtual HRESULT AddColumns(const std::vector<TavUnicodeString>& attributes) = 0;
  virtual HRESULT RemoveColumns(const std::vector<TavUnicodeString>& attributes) = 0;
  virtual std::vector<TavUnicodeString> GetAttributeColumns() const = 0;  // in column order
};

// Runs composed queries over a Gantt window's table. A query alternates elementary
// conditions ('Attr'op'Value') and "AND"/"OR", starting and ending with a condition.
class OrvISearchUtility : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvISearchUtility);
  // S_OK with the matching rows in row order (none is a success); E_FAIL with an
  // error text naming what is wrong (a malformed condition, an unknown column).
  virtual HRESULT RunQuery(const std::vector<TavUnicodeString>& query, bool quick,
                           std::vector<OrvGanttSearchRecord>& results, TavUnicodeString& error) = 0;
  // Splits an elementary condition into its three parts; E_FAIL when it is none.
  virtual HRESULT ParseCondition(const TavUnicodeString& condition, TavUnicodeString& attribute,
                                 TavUnicodeString& op, TavUnicodeString& value) const = 0;
  // Texts searched quickly, oldest first, each once (a repeat moves to the end).
  virtual std::vector<TavUnicodeString> GetQuickSearchHistory() const = 0;
  virtual void AddQuickSearchString(const TavUnicodeString& text) = 0;
};

// A Gantt chart window: a row per activity of the subtree of its root (and, in a
// resource Gantt, per resource). It answers the three interfaces above.
class OrvGanttChartWindow : public virtual TavFrmWindow {
public:
  TAV_INTERFACE(OrvGanttChartWindow);
  virtual Ref<TavBaseUnknown> GetRoot() const = 0;
  // Rebuilds the rows and cells from the model and the column choice.
  virtual void UpdateGanttTable() = 0;
};

// ---------------------------------------------------------------- Gantt settings
// The Gantt setting controller: the column-visibility string ("$$A$$B$$") in the
// setting repository of the controller's name.
class OrvIVEKGanttSettingAtt {
public:
  static constexpr const char* kControllerName = "OrvVEKGanttSettingCtrl";
  static constexpr const char* kColumnVisibilityKey = "ColumnVisibility";
  // The controller of that name; null for a name the host has none of.
  static std::unique_ptr<OrvIVEKGanttSettingAtt> Instantiate(const std::string& name);
  HRESULT GetColumnVisibility(TavUnicodeString& value) const;
  HRESULT SetColumnVisibility(const TavUnicodeString& value);
  // E_FAIL with the reason when the repository cannot be written.
  HRESULT Save(std::string* error = nullptr);

private:
  explicit OrvIVEKGanttSettingAtt(TavRepository& repo) : repo_(repo) {}
  TavRepository& repo_;
};

// ---------------------------------------------------------------- attribute keys
// (An activity type's TavISpecAttrAccess lists the built-in keys every activity of it
// carries; an activity's lists its own attributes.)
// The attribute keys an activity type declares, its super types' first (on a TavIActivityType).
class TavIActivityTypeAttributes : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIActivityTypeAttributes);
  virtual std::vector<TavUnicodeString> GetAttributeKeys() const = 0;
};

// A knowledge parameter: a named value of a product's properties.
class TavICkeParm : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavICkeParm);
  virtual TavUnicodeString GetName() const = 0;
  virtual TavValue GetValue() const = 0;
};

// A product's (a resource's) properties: its parameters, in order.
class TavIPrdProperties : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIPrdProperties);
  virtual std::vector<Ref<TavICkeParm>> GetParameters() const = 0;
};

void TavDeclareGanttInterfaces();
