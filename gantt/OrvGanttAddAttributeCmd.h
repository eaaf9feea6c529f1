#pragma once
// Chooses the attribute columns of the Gantt chart: pick an activity or a resource
// of the process, then choose and order the columns among its attributes in the
// dialog. OK stores the choice and applies it to the current Gantt window.
#include <memory>
#include <vector>

#include "OrvGanttAddAttributeDlg.h"
#include "TavCommand.h"

class OrvGanttAddAttributeCmd : public TavStateCommand {
public:
  static constexpr const char* kCatalog = "OrvGanttAddAttributeCmd";
  static constexpr const char* kPromptCatalog = "OrvGanttColumnVisibility";

  OrvGanttAddAttributeCmd();
  ~OrvGanttAddAttributeCmd() override;
  void BuildGraph() override;

  // Agent filter: an activity, or a resource of the current document's process
  // (one of its resource list or below one of them).
  bool IsActivityOrResource(TavAcquisitionAgent* agent);
  // The same test of an object, without a pick.
  bool AcceptsObject(const Ref<TavBaseUnknown>& object) const;
  // The pick's action: the dialog for the picked object.
  virtual bool ShowGanttAddAttributeDlg();
  // False, after the error window, when the object has no attribute to offer.
  bool ShowGanttAddAttributeDlg(const Ref<TavBaseUnknown>& object);

  // The attribute keys of the activity's type (its declared keys, then its
  // specification keys), then the activity's own attributes; standard columns,
  // names the column string cannot hold and repeats left out.
  static std::vector<TavUnicodeString> GetAttributesFromActivity(const Ref<TavISPPActivity>& activity);
  // The parameter names of the resource's properties, filtered the same way.
  static std::vector<TavUnicodeString> GetAttributesFromResource(const Ref<TavBaseUnknown>& resource);
  // Drops the standard column names (the type keys' list when `typeKeys`), names
  // that cannot be stored in the column string, and repeats (the first one stays).
  static void FilterAttributes(std::vector<TavUnicodeString>& attributes, bool typeKeys);

  // State the tests look at.
  OrvGanttAddAttributeDlg* Dialog() const { return dialog_.get(); }
  TavDlgNotify* Prompt() const { return prompt_.get(); }

private:
  bool OnOK();
  bool OnCancel();
  void ShowNoAttributeError();

  std::unique_ptr<TavDlgNotify> prompt_;
  std::unique_ptr<TavPathElementAgent> pickAgent_;
  std::unique_ptr<TavDialogAgent> okAgent_, cancelAgent_;
  std::unique_ptr<OrvGanttAddAttributeDlg> dialog_;
};

std::unique_ptr<TavStateCommand> fctCreateOrvGanttAddAttributeCmd();
