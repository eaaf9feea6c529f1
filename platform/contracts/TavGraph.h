#pragma once
// Graph windows: times solved from durations, control flow and precedence; the
// process and resource Gantt charts drawn on them; PERT charts and precedence
// viewers with their graph nodes, stored positions and layout. Every window can be
// read as text and drawn as a picture.
#include <functional>
#include <string>

#include "TavGantt.h"
#include "TavPPR.h"
#include "TavServices.h"

// ---------------------------------------------------------------- times
// The solved times of a node of a process or behaviour tree (an activity or a control
// node). Times count from 0, the start of the solved root.
class OrvITimedActivity : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvITimedActivity);
  // False before the first solve of its tree and after a solve that failed.
  virtual bool IsTimed() const = 0;
  virtual double GetBeginTime() const = 0;        // earliest start
  virtual double GetEndTime() const = 0;          // earliest end
  virtual double GetLatestBeginTime() const = 0;  // latest start that keeps the root's span
  virtual double GetLatestEndTime() const = 0;
  virtual double GetDuration() const = 0;         // end - begin
  virtual double GetSlack() const = 0;            // latest begin - begin
  virtual bool IsCritical() const = 0;            // no slack
};

// Times a whole tree: a leaf lasts its time, a parent starts its children and spans
// them; flows and precedences link end to start; control nodes take no time.
class OrvModelTimeSolver {
public:
  // S_OK with every node of the root's tree timed. E_FAIL on a cycle or a negative
  // duration: GetError() names the activities, and the tree's times are cleared.
  // Solving a behaviour solves every behaviour of its plant (they share one root).
  HRESULT FullSolve(const Ref<TavBaseUnknown>& root);
  const TavUnicodeString& GetError() const { return error_; }

  using Engine = std::function<HRESULT(const Ref<TavBaseUnknown>& root, TavUnicodeString& error)>;
  static void InstallEngine(Engine e);  // the host's; an empty one uninstalls

private:
  TavUnicodeString error_;
};

// ---------------------------------------------------------------- windows
// The editor a layout window belongs to (null once it is closed).
class TavIFrmWindowEditor : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIFrmWindowEditor);
  virtual Ref<TavFrmEditor> GetWindowEditor() const = 0;
};

// A window read as text (the script's `print window`) and drawn as a self-contained
// SVG picture (`export window`). Both are deterministic for one model state.
class TavIWindowPicture : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIWindowPicture);
  virtual std::string GetText() const = 0;
  virtual std::string GetSvg() const = 0;
};

// Refreshes the windows that show a root process or behaviour from its solved times.
class OrvIVEKPertAdapter;
class OrvIVEKAdapters : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIVEKAdapters);
  // Gantt bars and PERT boxes showing this root's tree read its times again.
  virtual HRESULT RefreshAdapters() = 0;
  virtual Ref<OrvIVEKPertAdapter> GetPertAdapter() = 0;
};

// ---------------------------------------------------------------- Gantt charts
// One row of a resource Gantt that stands for an activity: the activity's bar in the
// lane of `resource` (null: a lane of its own).
class OrvEResourceGanttActivityObject : public TavBaseUnknown {
public:
  OrvEResourceGanttActivityObject(Ref<TavBaseUnknown> resource, Ref<TavBaseUnknown> activity,
                                  Ref<TavBaseUnknown> parentActivity, double offset)
      : resource_(std::move(resource)), activity_(std::move(activity)), parent_(std::move(parentActivity)),
        offset_(offset) {}
  std::string LateType() const override { return "OrvEResourceGanttActivityObject"; }
  const Ref<TavBaseUnknown>& GetResource() const { return resource_; }
  const Ref<TavBaseUnknown>& GetActivity() const { return activity_; }
  const Ref<TavBaseUnknown>& GetParentActivity() const { return parent_; }
  double GetOffset() const { return offset_; }

private:
  Ref<TavBaseUnknown> resource_, activity_, parent_;
  double offset_;
};

// What the graph commands ask of a Gantt chart window beyond its table.
class OrvIGanttChartRows : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIGanttChartRows);
  // Adds a row below the others: a resource (its lane) or an
  // OrvEResourceGanttActivityObject. S_FALSE when it is shown already, E_FAIL for
  // anything else; nothing is added then.
  virtual HRESULT AddRoot(const Ref<TavBaseUnknown>& row, int position, int expand) = 0;
  // Colours the bars from the solved times: critical ones red.
  virtual void UpdateTimeBarsColor() = 0;
  virtual int GetDisplayMode() const = 0;  // 0 or 1, as opened
  virtual int GetChartKind() const = 0;    // 1 process, 2 resource
};

// Opens Gantt chart windows in the host's layout; the new window becomes current.
class OrvGanttChartWindows {
public:
  // Process Gantt (kind 1): rows = {A}, roots = {R}; a row per activity of A's tree.
  // Resource Gantt (kind 2): rows = the first row, roots = the timed trees the lanes
  // draw on. Null when the host cannot (no editor, nothing to show).
  static Ref<OrvGanttChartWindow> Create(const TavUnicodeString& title, const Ref<TavFrmEditor>& editor,
                                         const std::vector<Ref<TavBaseUnknown>>& rows, int displayMode,
                                         const std::vector<Ref<TavBaseUnknown>>& roots, int kind, int flags);
  using Factory = std::function<Ref<OrvGanttChartWindow>(const TavUnicodeString&, const Ref<TavFrmEditor>&,
                                                         const std::vector<Ref<TavBaseUnknown>>&, int,
                                                         const std::vector<Ref<TavBaseUnknown>>&, int, int)>;
  static void InstallFactory(Factory f);
};

// ---------------------------------------------------------------- PERT charts
// The graph node of an activity or behaviour: its child nodes (the activity's
// children, control nodes included, in order) and its position per view (1 PERT
// chart, 2 precedence viewer), stored in the plant.
class TavIGENode : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIGENode);
  virtual Ref<TavBaseUnknown> GetModelObject() const = 0;
  virtual std::vector<Ref<TavIGENode>> GetChildNodes() const = 0;
  // False when the node has no position in that view.
  virtual bool GetPosition(int view, double& x, double& y) const = 0;
  // A model change, recorded for undo; E_FAIL for a view other than 1 or 2.
  virtual HRESULT SetPosition(int view, double x, double y) = 0;
};

// The controller of a PERT chart window: what it shows and how.
class OrvPertController : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvPertController);
  virtual int GetViewerKind() const = 0;  // 0 PERT chart, 1 another graph viewer, 2 precedence viewer
  virtual Ref<TavBaseUnknown> GetRoot() const = 0;
  virtual HRESULT SetRoot(const Ref<TavBaseUnknown>& root) = 0;
  // The session is a hub session: precedence viewers also take PERT positions.
  static bool IsHubMode();
};

class OrvIPertWindow : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIPertWindow);
  virtual Ref<OrvPertController> GetController() const = 0;  // null when it has none
};

class OrvVekPertChartWindow : public virtual TavFrmWindow {
public:
  TAV_INTERFACE(OrvVekPertChartWindow);
  // Opens a window on `root` as the current one; null when the host cannot.
  static Ref<OrvVekPertChartWindow> Create(const TavUnicodeString& name, const Ref<TavFrmEditor>& editor,
                                           const Ref<TavBaseUnknown>& root, int mode, int viewerKind);
  using Factory = std::function<Ref<OrvVekPertChartWindow>(const TavUnicodeString&, const Ref<TavFrmEditor>&,
                                                           const Ref<TavBaseUnknown>&, int, int)>;
  static void InstallFactory(Factory f);
};

// Feeds a PERT window with a root process's times.
class OrvIVEKPertAdapter : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIVEKPertAdapter);
  virtual HRESULT ConnectWindow(const Ref<OrvVekPertChartWindow>& window) = 0;
};

// The session's graph configuration. Answering false lets a PERT or precedence
// command re-root the editor's existing graph windows on the picked activity.
class OrvIGE0Config : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIGE0Config);
  virtual bool GetKeepWindowRoots() const = 0;
  static Ref<OrvIGE0Config> OfSession();  // null when the session has none
};

// The host's PERT services. Each call goes to the installed backend; without one
// they fail (E_FAIL, false, 0).
class OrvPertGraphBackend {
public:
  virtual ~OrvPertGraphBackend() = default;
  static OrvPertGraphBackend* Get();
  static void Install(OrvPertGraphBackend* backend);  // null uninstalls
  virtual HRESULT SetChildPertPositions(const Ref<TavIGENode>& node, int view) = 0;
  virtual HRESULT TransferGENodesPositionData() = 0;
  virtual HRESULT ReframeInPertViewer(const Ref<TavBaseUnknown>& activity, const Ref<OrvVekPertChartWindow>& window,
                                      int& notShown) = 0;
  virtual HRESULT IsNodeLinked(const Ref<TavIGENode>& node, bool& linked) = 0;
  virtual double GetDefaultGridSize() = 0;
  virtual HRESULT LayoutPertChart(const Ref<TavIGENode>& node, double x, double y) = 0;
  virtual bool IsHubMode() = 0;
};

class OrvPertClientVisuServices {
public:
  // Gives the node's children that have no position in `view` one, laid out in layers.
  static HRESULT SetChildPertPositions(const Ref<TavIGENode>& node, int view);
  // Centres the activity in a PERT window; `notShown` is 1 when the window does not
  // show it (then nothing moves).
  static HRESULT ReframeInPertViewer(const Ref<TavBaseUnknown>& activity, const Ref<OrvVekPertChartWindow>& window,
                                     int& notShown);
};

class OrvVekPertOldGEObjects {
public:
  // Carries positions kept in the old form over to the graph nodes.
  static HRESULT TransferGENodesPositionData();
};

class OrvVekLayoutPertChart {
public:
  // Whether the node has a control-flow or precedence link to another node.
  static HRESULT IsNodeLinked(const Ref<TavIGENode>& node, bool& linked);
  static double GetDefaultGridSize();
  // Lays out the graph the node belongs to, x and y apart (each at least the grid).
  static HRESULT LayoutPertChart(const Ref<TavIGENode>& node, double x, double y);
};

void TavDeclareGraphInterfaces();
