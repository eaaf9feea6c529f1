#pragma once
// Opens a resource Gantt window on picked resources (or devices) and activities: a
// lane per resource, an activity in the lane of its first resource. With the
// environment variable VEK_ENABLE_RESOURCEGANTT_PROMPT set (even empty) the command
// stays with a prompt, and each further pick adds rows to the same window; objects
// already shown are skipped. The command ends with the prompt's answer or when its
// window is closed.
#include <map>
#include <memory>
#include <string>

#include "TavCommand.h"
#include "TavGraph.h"

class OrvMessageDialog;

class OrvVekResourceGanttWndCmd : public TavStateCommand {
public:
  static constexpr const char* kCatalog = "OrvVekResourceGanttWndCmd";
  static constexpr const char* kPromptVariable = "VEK_ENABLE_RESOURCEGANTT_PROMPT";

  OrvVekResourceGanttWndCmd();
  ~OrvVekResourceGanttWndCmd() override;
  void BuildGraph() override;

  // Accepts the agent's picks when they are all activities or all resources, the
  // first being one of them (the scan stops at the first that is neither).
  bool FilterSelection(TavAcquisitionAgent* agent);
  bool CreateGanttWindow();
  bool CloseMessageWindow();
  void OnGanttWindCloseNotification();

  // A device's first mechanism (as a product, else the first product of the device's
  // list); null for an object that is no device or has no mechanism.
  static Ref<TavBaseUnknown> GetPickedDevice(const Ref<TavBaseUnknown>& object);
  // Every resource of the activity and of its physical sub-activities, each once,
  // the activity's own first and then depth first.
  static void GetAllResources(const Ref<TavBaseUnknown>& activity, std::vector<Ref<TavBaseUnknown>>& list);
  static bool IsActivityWithoutResource(const Ref<TavBaseUnknown>& activity);

  bool PromptEnabled() const { return prompt_; }
  const Ref<OrvGanttChartWindow>& Window() const { return window_; }
  const std::map<std::string, Ref<TavBaseUnknown>>& Shown() const { return shown_; }
  OrvMessageDialog* Prompt() const { return dialog_.get(); }

private:
  // The row a pick stands for; null (with the error window shown) for neither a
  // resource nor an activity, and null for an object already shown.
  Ref<TavBaseUnknown> RowFor(const Ref<TavBaseUnknown>& picked, TavUnicodeString& title, std::string& key);
  void StopWatchingWindow();
  void DestroyPrompt();

  bool prompt_;
  std::unique_ptr<TavPathElementAgent> agent_;
  std::unique_ptr<TavDialogAgent> promptAgent_;
  std::unique_ptr<OrvMessageDialog> dialog_;
  Ref<OrvGanttChartWindow> window_;
  Ref<TavFrmWindow> watched_;  // the layout's current window once ours opened
  int windowCallback_ = 0;
  std::map<std::string, Ref<TavBaseUnknown>> shown_;  // by the object's model number ("%d")
};

std::unique_ptr<TavStateCommand> fctCreateOrvVekResourceGanttWndCmd();
