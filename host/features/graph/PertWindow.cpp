#include "PertWindow.h"

#include "HostWindows.h"
#include "PertLayout.h"

namespace host {

namespace {
Ref<HostActivity> ActivityOf(const Ref<TavBaseUnknown>& o) {
  return std::dynamic_pointer_cast<HostActivity>(o ? o->ExtendedObject() : nullptr);
}
}  // namespace

HRESULT PertController::SetRoot(const Ref<TavBaseUnknown>& root) {
  auto a = ActivityOf(root);
  if (!a || !a->Doc() || a->Doc() != (root_ ? root_->Doc() : nullptr)) return E_FAIL;
  if (a == root_) return S_FALSE;
  root_ = std::move(a);
  return S_OK;
}

PertWindow::PertWindow(TavUnicodeString name, const Ref<HostEditor>& editor, Ref<HostActivity> root, int mode,
                       int viewerKind)
    : HostWindow(std::move(name), editor), controller_(std::make_shared<PertController>(viewerKind, std::move(root))),
      mode_(mode) {}

std::string PertWindow::GetText() const {
  std::string out = PertText(BuildPertChart(Root(), ViewerKind()));
  if (centredOn_) out += "  centred on " + centredOn_->Label().utf8() + " at " + PertNumber(centre_.first) + "," +
                         PertNumber(centre_.second) + '\n';
  return out;
}

std::string PertWindow::GetSvg() const { return PertSvg(BuildPertChart(Root(), ViewerKind())); }

HRESULT PertWindow::ActivateWindow() {
  HostWindows& frame = HostWindows::Get();
  auto self = std::dynamic_pointer_cast<HostWindow>(shared_from_this());
  if (IsDeleted() || !self) return E_FAIL;
  if (frame.Current() == self) return S_FALSE;
  return frame.Activate(self) ? S_OK : E_FAIL;
}

bool PertWindow::Reframe(const Ref<HostActivity>& activity) {
  if (!activity || !Root()) return false;
  const PertChart chart = BuildPertChart(Root(), ViewerKind());
  for (const PertBox& b : chart.boxes)
    if (b.activity == activity) {
      centredOn_ = activity;
      centre_ = {b.x + pert::kBoxWidth / 2, b.y + pert::kBoxHeight / 2};
      return true;
    }
  return false;
}

Ref<OrvVekPertChartWindow> OpenPertWindow(const TavUnicodeString& name, const Ref<TavFrmEditor>& editor,
                                          const Ref<TavBaseUnknown>& root, int mode, int viewerKind) {
  auto ed = std::dynamic_pointer_cast<HostEditor>(editor);
  auto a = ActivityOf(root);
  if (!ed || !a || !a->Doc() || ed->Document().get() != a->Doc()) return nullptr;
  if (viewerKind < 0 || viewerKind > 2) return nullptr;
  auto w = std::make_shared<PertWindow>(name, ed, std::move(a), mode, viewerKind);
  HostWindows::Get().Open(w);
  return w;
}

}  // namespace host
