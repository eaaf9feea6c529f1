#pragma once
// Creates a manufactured assembly from picked parts and assemblies, or edits one.
// Each Apply of a creation makes one more assembly; OK keeps them, Cancel removes
// every one this command made. In edit mode the first Apply keeps what the
// assembly was, and Cancel gives it back. The kit, not-directly-changeable and
// as-child commands are this command with other rules at a few points.
#include <memory>
#include <string>

#include "OrvMfgAssyContent.h"
#include "OrvMfgAssyDialog.h"
#include "TavCommand.h"

class OrvMfgAssyCmd : public TavStateCommand {
public:
  static constexpr const char* kCatalog = "OrvMfgAssyCmd";
  // Without an assembly the command creates; with one it edits it.
  explicit OrvMfgAssyCmd(Ref<OrvIMfgAssembly> ma = nullptr);
  ~OrvMfgAssyCmd() override;
  void BuildGraph() override;
  bool Cancel() override;

  // Whether a pick may become content (refusals carry a message for the agent).
  bool ProductFilter(const Ref<TavBaseUnknown>& object, TavUnicodeString* why = nullptr);

  OrvMfgAssyDialog* Dialog() const { return dialog_.get(); }
  Ref<OrvIMfgAssembly> GetCurrentMA() const { return current_; }
  const std::vector<Ref<OrvIMfgAssembly>>& GetCreatedMAs() const { return created_; }
  const OrvMfgAssyContent& GetContent() const { return content_; }
  bool IsEditMode() const { return edit_; }
  // "<title> NoName": the name an assembly gets when the name field is empty.
  TavUnicodeString DefaultName() const;

protected:
  OrvMfgAssyCmd(std::string className, Ref<OrvIMfgAssembly> ma);

  // ---- what the variants change
  // The title an empty name is made from ("OrvMfgAssembly").
  virtual const char* Title() const { return "OrvMfgAssembly"; }
  virtual const char* InitialStateName() const { return "initialState"; }
  // The dialog's layout; an assembly's by default.
  virtual std::string DialogMode() { return "ASSEMBLY"; }
  // The rules of ProductFilter beyond "a product or an assembly".
  virtual bool AcceptProduct(const Ref<TavIProduct>& product, TavUnicodeString& why);
  virtual bool AcceptAssembly(const Ref<OrvIMfgAssembly>& ma, TavUnicodeString& why);
  // The text of the type column for an object; none for assemblies.
  virtual TavUnicodeString TypeTextOf(const Ref<TavBaseUnknown>&) { return {}; }
  // A new assembly made by the factory, filled from the picks; S_OK or a failure.
  virtual HRESULT CreateNew(Ref<OrvIMfgAssembly>& out);
  // Name, part number and (kits) type and plan type from the dialog.
  virtual void SetValues(const Ref<OrvIMfgAssembly>& ma, const TavUnicodeString& name);
  // The parts list refreshed from the picks (kits add the type column).
  virtual void RefreshLists();
  // A first state that leads to `parts`, the state picking the content (the
  // father's pick); null for none, the content is picked from the start.
  virtual TavDialogState* BuildLeadingStates(TavDialogState* /*parts*/) { return nullptr; }
  // New assemblies are marked not directly changeable.
  virtual bool MarksNotDirectlyChangeable() const { return false; }
  // The picking agent takes the current selection at start.
  virtual bool TakesSelection() const { return true; }

  // ---- shared steps
  bool OnPartsSelected();
  bool ClickApplyOnDialog();
  bool ClickOKOnDialog();
  bool ClickCancelOnDialog();
  bool ClickRemoveParts();
  void InitializeDialog(const Ref<OrvIMfgAssembly>& ma);
  // Empties the assembly and fills it with the picks, then the values; false
  // (error shown, model as before) when the host refuses an item.
  bool UpdateMfgAssembly(const Ref<OrvIMfgAssembly>& ma);
  // A new assembly: false (error shown, model and dialog as before) when refused.
  bool CreateMfgAssembly();
  // The dialog's name, or the default name when it is empty.
  TavUnicodeString NameFromDialog() const;
  void ShowError(const std::string& key, const char* fallback, const std::vector<TavUnicodeString>& params = {});
  // The empty content of an assembly, last to first (the host finds each from the back).
  static bool EmptyContent(const Ref<OrvIMfgAssembly>& ma);
  static TavUnicodeString Msg(const std::string& key, const char* fallback, const std::vector<TavUnicodeString>& params = {});

  std::unique_ptr<TavPathElementAgent> selectAgent_;
  std::unique_ptr<TavDialogAgent> dialogAgent_;
  std::unique_ptr<OrvMfgAssyDialog> dialog_;
  Ref<OrvIMfgAssembly> current_;  // being edited, or the last one created
  std::vector<Ref<OrvIMfgAssembly>> created_;
  OrvMfgAssyContent content_;
  bool edit_ = false;
  bool finished_ = false;  // OK or Cancel ran: nothing is left to roll back

private:
  // What an edited assembly was before the first Apply.
  struct Saved {
    bool taken = false;
    TavUnicodeString name, partNumber, planType;
    int type = 0;
    std::vector<Ref<TavBaseUnknown>> content;
  };
  void SaveForRollBack();
  void RollBack();
  bool IsNotification(const char* notification) const;
  Saved saved_;
};

std::unique_ptr<TavStateCommand> fctCreateOrvMfgAssyCmd();
