#pragma once
// The PERT chart and precedence viewer window of the reference host: a layout
// window on an activity (or behaviour) that shows its children as boxes at their
// positions in the viewer kind's view, with a controller that can re-root it, a
// view centre that recentring moves, and the text and picture of PertPicture.
#include <optional>

#include "HostWindow.h"
#include "PertPicture.h"
#include "TavFrmActivation.h"

namespace host {

class PertWindow;

class PertController final : public OrvPertController {
public:
  PertController(int viewerKind, Ref<HostActivity> root) : kind_(viewerKind), root_(std::move(root)) {}
  int GetViewerKind() const override { return kind_; }
  Ref<TavBaseUnknown> GetRoot() const override { return root_; }
  // E_FAIL for anything but an activity or behaviour with a graph; S_FALSE when it is the root already.
  HRESULT SetRoot(const Ref<TavBaseUnknown>& root) override;
  const Ref<HostActivity>& Root() const { return root_; }

private:
  int kind_;
  Ref<HostActivity> root_;
};

class PertWindow final : public HostWindow,
                         public virtual OrvVekPertChartWindow,
                         public virtual OrvIPertWindow,
                         public virtual TavIWindowPicture,
                         public virtual TavIFrmWindowActivation {
public:
  PertWindow(TavUnicodeString name, const Ref<HostEditor>& editor, Ref<HostActivity> root, int mode, int viewerKind);
  std::string LateType() const override { return "OrvVekPertChartWindow"; }

  Ref<OrvPertController> GetController() const override { return controller_; }
  std::string GetText() const override;
  std::string GetSvg() const override;
  HRESULT ActivateWindow() override;

  const Ref<HostActivity>& Root() const { return controller_->Root(); }
  int ViewerKind() const { return controller_->GetViewerKind(); }
  int Mode() const { return mode_; }
  // Centres the view on the activity's box; false, nothing moved, when the window
  // does not show it.
  bool Reframe(const Ref<HostActivity>& activity);
  // The box the view was last centred on, and that centre.
  const Ref<HostActivity>& CentredOn() const { return centredOn_; }
  std::pair<double, double> Centre() const { return centre_; }
  // Times and positions are read again (the adapter's refresh).
  void Refresh() { ++refreshes_; }
  int Refreshes() const { return refreshes_; }
  // The tree top whose adapter feeds this window; null until one connects.
  void Connect(const Ref<HostActivity>& top) { adapter_ = top; }
  const Ref<HostActivity>& ConnectedTo() const { return adapter_; }

private:
  Ref<PertController> controller_;
  int mode_;
  Ref<HostActivity> centredOn_, adapter_;
  std::pair<double, double> centre_{0, 0};
  int refreshes_ = 0;
};

// The factory OrvVekPertChartWindow::Create calls: a window on an activity of a plant
// the editor shows, opened as the current one. Null for anything else.
Ref<OrvVekPertChartWindow> OpenPertWindow(const TavUnicodeString& name, const Ref<TavFrmEditor>& editor,
                                          const Ref<TavBaseUnknown>& root, int mode, int viewerKind);

}  // namespace host
