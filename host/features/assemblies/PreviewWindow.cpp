#include "PreviewWindow.h"

#include "HostWindows.h"

namespace host {

Ref<PreviewWindow> PreviewWindow::Open(const Ref<TavFrmEditor>& editor) {
  auto ed = std::dynamic_pointer_cast<HostEditor>(editor);
  if (!ed) return nullptr;
  HostWindows& frame = HostWindows::Get();
  auto w = std::make_shared<PreviewWindow>(frame.NextName("Preview"), ed);
  frame.Open(w);
  return w;
}

void PreviewWindow::SetItems(const std::vector<Ref<TavBaseUnknown>>& items) {
  if (IsClosed()) return;  // a closed window shows nothing any more
  items_.clear();
  items_.reserve(items.size());
  for (auto& i : items)
    if (i) items_.push_back(i->ExtendedObject());
}

std::vector<Ref<TavBaseUnknown>> PreviewWindow::GetItems() const {
  std::vector<Ref<TavBaseUnknown>> out;
  if (IsClosed()) return out;
  for (auto& w : items_)
    if (auto i = w.lock()) out.push_back(std::move(i));
  return out;
}

bool PreviewWindow::IsClosed() const {
  // The frame drops the windows of closed editors when it is next asked.
  if (!IsDeleted()) HostWindows::Get().Windows();
  return IsDeleted();
}

void PreviewWindow::SetVisible(bool visible) {
  if (!IsClosed()) visible_ = visible;
}

void PreviewWindow::Close() {
  if (IsClosed()) return;
  items_.clear();
  // Closing runs the window's Deleted notice; the frame drops it.
  if (auto me = std::dynamic_pointer_cast<HostWindow>(self())) HostWindows::Get().Close(me);
  MarkDeleted();  // also when the frame had dropped it already (its editor closed)
}

void RegisterPreviewWindow() {
  VEKPreviewWindow::InstallFactory([](const Ref<TavFrmEditor>& editor) -> Ref<VEKPreviewWindow> { return PreviewWindow::Open(editor); });
}

}  // namespace host
