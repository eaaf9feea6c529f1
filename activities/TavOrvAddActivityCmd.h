#pragma once
// Adds an activity of a type chosen from the process document's activity libraries:
// as a child of the picked activity, as its successor in the precedence chain, or
// under a resource through the resource's behaviour. With several products selected
// at start, quick sequence makes one chained activity per product.
#include <memory>

#include "OrvAddActivityDlg.h"
#include "OrvIInsertActivityDlgServices.h"
#include "TavActivityLib.h"
#include "TavCommand.h"

class TavOrvAddActivityCmd : public TavStateCommand {
public:
  static constexpr const char* kCatalog = "TavOrvAddActivityCmd";
  static constexpr int kSharedMode = 1;
  TavOrvAddActivityCmd();
  ~TavOrvAddActivityCmd() override;
  void BuildGraph() override;

  // How the next command starts: 0 exclusive, kSharedMode shared.
  static void SetStartMode(int mode);
  static int GetStartMode();
  // The object whose OrvIInsertActivityDlgServices extension steers the command.
  static Ref<TavBaseUnknown> GetClient();

  // ---- graph
  bool BuildGraphInitialize();
  bool CheckForPreselectedObjects();
  bool CheckForValidQuickAssigmentObjects(const std::vector<TavPathElement>& selection);
  bool ValidateTreeObjectForSelect(TavAcquisitionAgent* agent);
  bool FirstTime();
  bool State4Action();
  bool ShowDialog();
  bool CheckQuickSequenceAssign();

  // ---- target and type
  void ActivitySelected(const TavUnicodeString& type);
  // Brings the dialog's target text up to date; S_FALSE without a target.
  HRESULT GetSelectedTreeObject();
  // The types offered for the current target (outside the hub: every library's rows).
  bool GetActivityList(std::vector<TavUnicodeString>& types, std::vector<TavUnicodeString>& subTypes,
                       std::vector<TavUnicodeString>& biwTypes);
  void GetActivityIconList(std::vector<TavUnicodeString>& icons, std::vector<TavUnicodeString>& subIcons) const;
  void LoadActFiles();
  void GetActivityListFromActFile(const Ref<TavIActivityLibrary>& library);
  void ManageNecessaryContainers();
  static HRESULT GetSPPProcessContainer(const Ref<TavDocument>& document, std::vector<Ref<TavBaseUnknown>>& containers);
  bool DetermineHubBasedMode();
  bool IsHubMode() const { return hubMode_; }
  static bool IsBIWActivity(const TavUnicodeString& type);
  static bool IsResource(const Ref<TavBaseUnknown>& product);
  static bool IsNotFileBasedResource(const Ref<TavBaseUnknown>& product);

  // ---- creation
  bool InsertActivity();
  bool AddActivity(Ref<TavBaseUnknown>& newActivity);
  bool AddActivityAsSuccessor(const Ref<TavBaseUnknown>& target);
  bool AddActivityToResource();
  bool QuickSequenceAssign();
  // The resource's behaviour; null (trace "ResourceWithoutBehaviour") when it has none.
  Ref<TavBaseUnknown> GetActResourceBehavior(const Ref<TavBaseUnknown>& resource);
  void UpdateInsertActivityIdentifier();
  void AddActivityCmdErrorBox(const std::string& key);

  // ---- dialog callbacks
  void OnOKButton();
  void OnApplyButton();
  void OnCloseButton();

  // ---- state, for the dialog, the batch verb and tests
  // Sets the target as a pick would (the path from the tree root to it).
  void SetTarget(const TavPathElement& path);
  void SetChosenType(const TavUnicodeString& type) { chosenType_ = type, typeChosen_ = !type.IsEmpty(); }
  void SetInsertOption(int option) { option_ = option; }
  int GetInsertOption() const;
  void SetLabel(const TavUnicodeString& label) { label_ = label; }
  const Ref<TavBaseUnknown>& GetTarget() const { return target_; }
  const TavUnicodeString& GetChosenType() const { return chosenType_; }
  bool IsTypeChosen() const { return typeChosen_; }
  bool IsQuickSequenceMode() const { return quickMode_; }
  // The activities the last creation made, in creation order.
  const std::vector<Ref<TavBaseUnknown>>& GetCreated() const { return created_; }
  OrvAddActivityDlg* Dialog() const { return dialog_.get(); }
  // The four parallel lists of the last load.
  const std::vector<TavUnicodeString>& Types() const { return types_; }
  const std::vector<TavUnicodeString>& SubTypes() const { return subTypes_; }
  const std::vector<TavUnicodeString>& Icons() const { return icons_; }
  const std::vector<TavUnicodeString>& SubIcons() const { return subIcons_; }
  // The text of the last error box, empty when none was shown.
  const TavUnicodeString& GetLastError() const { return lastError_; }

private:
  // The command's one trace, shared by its three source files.
  static const TavTrace& Trace();
  enum class Outcome { Created, NotWanted, Failed };
  // What OK and Apply share: the client's wish, the creation, the identifier.
  Outcome CreateForButton();
  Ref<OrvIInsertActivityDlgServices> ClientServices() const;
  Ref<TavBaseUnknown> NewChild(const Ref<TavBaseUnknown>& father, const Ref<TavBaseUnknown>& after);
  void UpdateOptions();
  void UpdateButtons();
  bool OKDone() { return okDone_; }

  std::unique_ptr<TavPathElementAgent> treeAgent_, quickAgent_;
  std::unique_ptr<TavDialogAgent> okAgent_, applyAgent_, closeAgent_;
  std::unique_ptr<OrvAddActivityDlg> dialog_;
  Ref<TavBaseUnknown> target_, father_, resource_, behavior_;
  TavPathElement targetPath_;
  std::vector<Ref<TavBaseUnknown>> quickObjects_, created_;
  TavUnicodeString chosenType_, label_, lastError_;
  std::vector<TavUnicodeString> types_, subTypes_, icons_, subIcons_;
  int option_ = -1;  // -1: the dialog's choice
  bool typeChosen_ = false, underBehavior_ = false, resourceTarget_ = false, hubMode_ = false;
  bool firstTime_ = true, quickMode_ = false, typeNodePicked_ = false, dialogConnected_ = false, okDone_ = false;
  bool okBlocked_ = false;
};

std::unique_ptr<TavStateCommand> fctCreateTavOrvAddActivityCmd();
