#include "HostWindow.h"

#include <algorithm>

namespace host {

int HostWindow::AddWindowCallback(Callback cb) {
  if (!cb) return 0;
  const int id = nextId_++;
  callbacks_.push_back({id, std::move(cb)});
  return id;
}

void HostWindow::RemoveWindowCallback(int id) {
  std::erase_if(callbacks_, [id](const Subscription& s) { return s.id == id; });
}

void HostWindow::Notify(TavFrmWindowEvent event) {
  // By id over a copy of the ids: the list may change under each call.
  std::vector<int> ids;
  ids.reserve(callbacks_.size());
  for (auto& s : callbacks_) ids.push_back(s.id);
  // A callback may end the window's last owner (its command releases it).
  auto keep = self();
  for (int id : ids) {
    auto it = std::find_if(callbacks_.begin(), callbacks_.end(), [id](const Subscription& s) { return s.id == id; });
    if (it == callbacks_.end()) continue;
    Callback cb = it->cb;  // the call may remove its own subscription
    cb(event);
  }
}

}  // namespace host
