#pragma once
// The reference host's workshops and workbenches: the process workshop "WSPROC",
// the workbench factories declared to it, entering and leaving workbenches, and
// the titles and help texts of command headers.
#include <map>
#include <string>

#include "TavWorkbench.h"

namespace host {

// One text of a header, found through its resource files.
struct HeaderText {
  std::string text;       // the identifier for a missing title, empty for missing help
  std::string file;       // the resource file it came from; empty when not found
  std::string framework;  // the header's framework
  int level = -1;         // the resource level it was found at; -1 when not found
  bool Found() const { return level >= 0; }
};

// Looks "<identifier>.<what>" up in the header's resource files, level 0 first,
// in the catalogues of the current session (else of the resource directory).
HeaderText FindHeaderText(const TavCommandHeader& header, const std::string& what);
HeaderText HeaderTitle(const TavCommandHeader& header);
HeaderText HeaderHelp(const TavCommandHeader& header);

// The workbench machinery of one running host. Construction creates the
// workshop "WSPROC" in the host's list; destruction leaves the current
// workbench and releases workbenches, headers and workshops. One at a time.
class HostWorkbenches {
public:
  HostWorkbenches();
  ~HostWorkbenches();
  HostWorkbenches(const HostWorkbenches&) = delete;
  HostWorkbenches& operator=(const HostWorkbenches&) = delete;
  static HostWorkbenches* Current();

  // Enters a workbench of a workshop. The first entry asks the workbench's
  // factory for it and lets it create its commands and define its toolbars and
  // menus; every entry runs its initialisation. False with a message when the
  // workshop or workbench is unknown or its factory fails.
  bool Enter(const std::string& workbench, std::string* error, const std::string& workshop = "WSPROC");
  // Leaves the current workbench (its Dispose runs); nothing when none is current.
  void Leave();

  // The current workbench's name ("" when none), as its marker reports it when it has one.
  std::string CurrentWorkbenchName() const;
  std::string CurrentWorkshopName() const { return currentWorkshop_; }
  // The current workbench's toolbars and menus, or null.
  const TavWorkbenchLayout* CurrentLayout() const;
  // The configuration of a workbench already entered once, or null.
  Ref<TavIWorkbenchConfiguration> Configuration(const std::string& workbench, const std::string& workshop = "WSPROC") const;
  // How often a workbench has been entered.
  int EntryCount(const std::string& workbench, const std::string& workshop = "WSPROC") const;
  // The result of the last transition between two workbenches (S_OK keeps the document).
  HRESULT LastTransition() const { return lastTransition_; }
  // The application frame object the workbench factories extend.
  const Ref<TavBaseUnknown>& ApplicationFrame() const { return frame_; }

  // The header a user fires by identifier: null with a message when there is
  // no such header or it is unavailable.
  TavCommandHeader* HeaderToFire(const std::string& identifier, std::string* error) const;
  // Fires a header: creates the command of its module and class and starts it on
  // the running command engine. False with a message when the header cannot be
  // fired, its class is unknown, or no engine runs.
  bool Fire(const std::string& identifier, std::string* error) const;

private:
  struct Workbench {
    Ref<TavIWorkbenchConfiguration> configuration;
    Ref<TavBaseUnknown> initObject, transObject, markObject;  // what the extensions extend
    Ref<TavIWorkbenchInitialization> init;
    Ref<TavIWorkbenchTransition> transition;
    Ref<TavIMarkerWorkbench> marker;
    const TavWorkbenchLayout* layout = nullptr;
    int entries = 0;
  };
  const Workbench* Find(const std::string& workshop, const std::string& workbench) const;
  Workbench* Create(const std::string& workshop, const std::string& workbench, std::string* error);

  Ref<TavBaseUnknown> frame_;
  std::map<std::string, Workbench> workbenches_;  // by "<workshop>/<workbench>"
  std::string currentWorkshop_, currentWorkbench_;
  HRESULT lastTransition_ = S_FALSE;
};

// The host's own command classes that workbench headers name (module
// kTavHostCommandModule). This host does not carry them: each answers with the
// not-available box. Idempotent.
const std::vector<std::string>& HostCommandClasses();
void RegisterHostCommandClasses();

// The workbench as the user sees it: toolbars, then menus with their submenus,
// each header with its title and availability; then the listed headers placed
// nowhere and the placements dropped for a missing toolbar or menu.
std::string DescribeWorkbench(const TavWorkbenchLayout& layout);

}  // namespace host
