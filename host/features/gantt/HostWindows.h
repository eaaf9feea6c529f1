#pragma once
// The windows of the host's layout (TavFrmLayoutWindows): in opening order, one of
// them current. A window belongs to the editor it was opened in and dies with it:
// the frame drops the windows of closed editors (and of an ended session) before
// it answers, each with its Deleted notice.
#include <map>
#include <string>

#include "HostWindow.h"

namespace host {

class HostWindows final : public TavFrmLayoutWindows {
public:
  // The frame installed by the host's start-up (RegisterGanttHost).
  static HostWindows& Get();

  Ref<TavFrmWindow> GetCurrentWindow() const override;
  std::vector<Ref<TavFrmWindow>> GetWindows() const override;

  // The next base name for a kind of window: "Gantt Chart" gives "Gantt Chart.1",
  // then ".2"; the count starts again in a new session.
  TavUnicodeString NextName(const std::string& kind);
  // Adds a window: the current one is deactivated, the new one is current.
  void Open(const Ref<HostWindow>& w);
  // The current window is deactivated and `w` activated; nothing when `w` is current.
  // False when `w` is not open.
  bool Activate(const Ref<HostWindow>& w);
  // The current window is deactivated; none is current then. False when none is.
  bool Deactivate();
  // The window leaves the frame, is marked deleted and gets its Deleted notice; when
  // it was current, the last one opened of those left becomes current (Activated).
  // False when `w` is not open.
  bool Close(const Ref<HostWindow>& w);
  // The open window of that base name; null when none.
  Ref<HostWindow> Find(const TavUnicodeString& baseName) const;
  Ref<HostWindow> Current() const;
  std::vector<Ref<HostWindow>> Windows() const;

private:
  HostWindows() = default;
  // Drops the windows whose editor is no longer one of the session's.
  void Prune() const;
  void CloseNow(const Ref<HostWindow>& w) const;

  mutable std::vector<Ref<HostWindow>> windows_;
  mutable Ref<HostWindow> current_;
  // Names count per session: the editors of the session when the last name was
  // given; when none of them is open any more and no window is left, counting restarts.
  std::vector<std::weak_ptr<HostEditor>> countedIn_;
  std::map<std::string, int> counts_;
};

}  // namespace host
