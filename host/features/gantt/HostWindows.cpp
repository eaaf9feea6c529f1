#include "HostWindows.h"

#include <algorithm>

namespace host {

namespace {
bool IsOpenEditor(const Ref<HostEditor>& ed) {
  HostSession* s = HostSession::Current();
  if (!s || !ed) return false;
  const auto& eds = s->Editors();
  return std::find(eds.begin(), eds.end(), ed) != eds.end();
}
// A window lives while its editor does and, seen from its own session, while that
// session still shows the editor. Another session (a batch verb's, run inside a
// shell) does not judge the windows it did not open.
bool IsAlive(const HostWindow& w) {
  auto ed = w.Editor();
  return ed && (w.Session() != HostSession::Current() || IsOpenEditor(ed));
}
}  // namespace

HostWindows& HostWindows::Get() {
  static HostWindows frame;
  return frame;
}

void HostWindows::Prune() const {
  // Closing may run callbacks that open or close windows: look again after each.
  for (bool again = true; again;) {
    again = false;
    for (auto& w : windows_)
      if (!IsAlive(*w)) {
        CloseNow(Ref<HostWindow>(w));
        again = true;
        break;
      }
  }
}

void HostWindows::CloseNow(const Ref<HostWindow>& w) const {
  const bool wasCurrent = current_ == w;
  std::erase(windows_, w);
  if (wasCurrent) current_ = nullptr;
  w->MarkDeleted();
  w->Notify(TavFrmWindowEvent::Deleted);
  // A callback may have opened or activated another window meanwhile.
  if (wasCurrent && !current_ && !windows_.empty()) {
    current_ = windows_.back();
    Ref<HostWindow> next = current_;
    next->Notify(TavFrmWindowEvent::Activated);
  }
}

Ref<TavFrmWindow> HostWindows::GetCurrentWindow() const { return Current(); }

std::vector<Ref<TavFrmWindow>> HostWindows::GetWindows() const {
  Prune();
  return {windows_.begin(), windows_.end()};
}

Ref<HostWindow> HostWindows::Current() const {
  Prune();
  return current_;
}

std::vector<Ref<HostWindow>> HostWindows::Windows() const {
  Prune();
  return windows_;
}

Ref<HostWindow> HostWindows::Find(const TavUnicodeString& baseName) const {
  Prune();
  for (auto& w : windows_)
    if (w->GetBaseName() == baseName) return w;
  return nullptr;
}

TavUnicodeString HostWindows::NextName(const std::string& kind) {
  Prune();
  const bool sameSession = std::any_of(countedIn_.begin(), countedIn_.end(),
                                       [](const std::weak_ptr<HostEditor>& e) { return IsOpenEditor(e.lock()); });
  if (!sameSession && windows_.empty()) counts_.clear();
  countedIn_.clear();
  if (HostSession* s = HostSession::Current())
    for (auto& e : s->Editors()) countedIn_.push_back(e);
  return kind + "." + std::to_string(++counts_[kind]);
}

void HostWindows::Open(const Ref<HostWindow>& w) {
  Prune();
  if (!w || std::find(windows_.begin(), windows_.end(), w) != windows_.end()) return;
  Ref<HostWindow> old = current_;
  windows_.push_back(w);
  current_ = w;
  if (old) old->Notify(TavFrmWindowEvent::Deactivated);
}

bool HostWindows::Activate(const Ref<HostWindow>& w) {
  Prune();
  if (!w || std::find(windows_.begin(), windows_.end(), w) == windows_.end()) return false;
  if (current_ == w) return true;
  Ref<HostWindow> old = current_;
  current_ = w;
  if (old) old->Notify(TavFrmWindowEvent::Deactivated);
  w->Notify(TavFrmWindowEvent::Activated);
  return true;
}

bool HostWindows::Deactivate() {
  Prune();
  if (!current_) return false;
  Ref<HostWindow> old = current_;
  current_ = nullptr;
  old->Notify(TavFrmWindowEvent::Deactivated);
  return true;
}

bool HostWindows::Close(const Ref<HostWindow>& w) {
  Prune();
  if (!w || std::find(windows_.begin(), windows_.end(), w) == windows_.end()) return false;
  CloseNow(w);
  return true;
}

}  // namespace host
