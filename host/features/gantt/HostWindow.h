#pragma once
// A window of the host's layout: its base name, the editor it belongs to and the
// callbacks subscribed to its delete, activate and deactivate notices.
#include <vector>

#include "HostRuntime.h"
#include "TavGantt.h"
#include "TavGraph.h"

namespace host {

class HostWindow : public virtual TavFrmWindow, public virtual TavIFrmWindowEditor {
public:
  HostWindow(TavUnicodeString baseName, const Ref<HostEditor>& editor)
      : baseName_(std::move(baseName)), editor_(editor), session_(HostSession::Current()) {}
  TavUnicodeString GetBaseName() const override { return baseName_; }
  bool IsDeleted() const override { return deleted_; }
  int AddWindowCallback(Callback cb) override;
  void RemoveWindowCallback(int id) override;

  // The editor whose plant the window shows; null once that editor is gone.
  Ref<HostEditor> Editor() const { return editor_.lock(); }
  Ref<TavFrmEditor> GetWindowEditor() const override { return editor_.lock(); }
  // The session it was opened in; only compared, never followed (it may be gone).
  const HostSession* Session() const { return session_; }
  // Calls every callback subscribed when the notice starts that is still subscribed
  // when its turn comes: a callback may unsubscribe itself or others, or subscribe more.
  void Notify(TavFrmWindowEvent event);
  void MarkDeleted() { deleted_ = true; }
  std::size_t CallbackCount() const { return callbacks_.size(); }

private:
  struct Subscription {
    int id;
    Callback cb;
  };
  TavUnicodeString baseName_;
  std::weak_ptr<HostEditor> editor_;  // the session owns its editors; a window does not keep one open
  const HostSession* session_;
  std::vector<Subscription> callbacks_;
  int nextId_ = 1;
  bool deleted_ = false;
};

}  // namespace host
