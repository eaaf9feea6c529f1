#pragma once
// Defines a named state of a product, resource or manufactured assembly from the
// stored positions and states of its structure (creation mode), or changes the
// definition and name of an existing state (change mode).
#include <optional>
#include <vector>

#include "TavDialog.h"
#include "TavStates.h"
#include "TavUndo.h"

class OrvVekNamedStateDlg : public TavDlgDialog {
public:
  static constexpr const char* kCatalog = "OrvVekNamedStateDlg";
  enum class Mode { Create, Change };
  // Errors shown in the error window: the first four are the classic checks of OK,
  // the others say which model change the host refused (the model stays as it was).
  enum Error {
    NoFactory = 1,
    NoName = 2,
    EmptyDefinition = 3,
    NameTaken = 4,
    StateNotCreated = 5,
    EntryRefused = 6,
    ApplyRefused = 7,
    RenameRefused = 8,
  };
  // A candidate or definition line: a stored position or a state, with its name.
  struct Entry {
    Ref<TavBaseUnknown> object;
    TavUnicodeString name;
    bool position = false;
  };

  explicit OrvVekNamedStateDlg(Mode mode = Mode::Create, TavDlgWidget* father = nullptr);
  ~OrvVekNamedStateDlg() override;

  // Creation mode: the owner's structure gives the candidates. False (nothing
  // listed) when the owner belongs to no document.
  bool Initialize(const Ref<TavIProduct>& owner);
  bool Initialize(const Ref<OrvIMfgAssembly>& owner);
  // Change mode: the state's owner as above, its name and current definition.
  bool Initialize(const Ref<OrvIState>& state);

  void WhenAddButtonPushed();
  void WhenRemoveButtonPushed();
  // OK in creation and change mode; false (the dialog stays, its content kept) after an error.
  bool OnOK();
  bool OnOKChangeDlg();
  // Puts every product the synchronisation moved back where it stood (Cancel, Close).
  void RestoreSyncMoves();
  bool IsNameAlreadyExisting(const TavUnicodeString& name) const;

  Mode GetMode() const { return mode_; }
  const std::vector<Entry>& GetDefinition() const { return definition_; }
  const std::vector<Entry>& GetStateCandidates() const { return states_; }
  const std::vector<Entry>& GetPositionCandidates() const { return positions_; }
  // The state OK created (creation mode) or changed.
  Ref<OrvIState> GetState() const { return state_; }

  TavDlgEditor* NameEditor() const { return nameEditor_; }
  TavDlgTabContainer* CandidateTabs() const { return candidateTabs_; }
  TavDlgSelectorList* StatesList() const { return statesList_; }
  TavDlgSelectorList* PositionsList() const { return positionsList_; }
  TavDlgSelectorList* DefinitionList() const { return definitionList_; }
  TavDlgCheckButton* SyncCheck() const { return sync_; }
  TavDlgPushButton* AddButton() const { return add_; }
  TavDlgPushButton* RemoveButton() const { return remove_; }
  TavDlgPushButton* OKButton() const { return ok_; }
  TavDlgPushButton* CancelButton() const { return cancel_; }

private:
  bool InitializeOwner(const Ref<TavBaseUnknown>& owner);
  void FillProductsList();
  void CreateStateList();
  void CreatePositionList();
  void CreateDefinitionList();
  void Refill();
  void UpdateButtons();
  bool ShowingPositions() const;
  void ApplyEntry(const Entry& e);
  void SetBackPosition(const Ref<TavBaseUnknown>& entry);
  void ShowError(Error e, const TavUnicodeString& detail = {}, const TavUnicodeString& reason = {});
  // Takes a failed OK back: removes a state it created and rolls the model back to the mark.
  void TakeBack(TavSavepoint& mark, const Ref<OrvIState>& created);
  void OKPushed();

  Mode mode_;
  Ref<TavBaseUnknown> owner_;
  Ref<OrvIState> state_;  // change mode: the edited state; creation: the one OK made
  std::optional<OrvFactoryOnState> factory_;
  std::vector<Ref<TavBaseUnknown>> products_;  // the owner's structure
  std::vector<Entry> states_, positions_, definition_;
  std::vector<Ref<TavBaseUnknown>> initialDefinition_;  // change mode: as the host has it
  // What the synchronisation moved, per definition entry, in the order applied.
  struct Moved {
    Ref<TavBaseUnknown> entry;
    std::vector<std::pair<Ref<TavIMovable>, TavIMovable::Position>> before;
  };
  std::vector<Moved> moved_;

  TavDlgEditor* nameEditor_ = nullptr;
  TavDlgLabel* ownerLabel_ = nullptr;
  TavDlgTabContainer* candidateTabs_ = nullptr;
  TavDlgSelectorList *statesList_ = nullptr, *positionsList_ = nullptr, *definitionList_ = nullptr;
  TavDlgCheckButton* sync_ = nullptr;
  TavDlgPushButton *add_ = nullptr, *remove_ = nullptr, *ok_ = nullptr, *cancel_ = nullptr;
};
