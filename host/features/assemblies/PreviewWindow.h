#pragma once
// The preview window of the assembly dialogs: a window of the host's layout
// ("Preview.1", "Preview.2", ...) showing some products on their own. It is shown
// when opened; the user's close (`window close`) ends it for good.
#include "HostWindow.h"
#include "TavMfgAssy.h"

namespace host {

class PreviewWindow final : public HostWindow, public virtual VEKPreviewWindow {
public:
  PreviewWindow(TavUnicodeString baseName, const Ref<HostEditor>& editor) : HostWindow(std::move(baseName), editor) {}
  // A new window on the editor, opened in the layout (it becomes current); null
  // when the editor is not one of the host's.
  static Ref<PreviewWindow> Open(const Ref<TavFrmEditor>& editor);

  void SetItems(const std::vector<Ref<TavBaseUnknown>>& items) override;
  std::vector<Ref<TavBaseUnknown>> GetItems() const override;
  void SetVisible(bool visible) override;
  bool IsVisible() const override { return visible_ && !IsClosed(); }
  // Closed by the user, or gone with its editor.
  bool IsClosed() const override;
  void Close() override;

private:
  // Weak: a preview does not keep removed products alive; those gone are not shown.
  std::vector<std::weak_ptr<TavBaseUnknown>> items_;
  bool visible_ = true;
};

// Installs the window as the platform's VEKPreviewWindow.
void RegisterPreviewWindow();

}  // namespace host
