#pragma once
// Interactive commands: state machines of dialog states, agents and transitions,
// run by the host's command engine on its single thread.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "TavDialog.h"
#include "TavServices.h"

class TavStateCommand;
class TavDialogState;

// An agent waits for one kind of event and holds its value until re-armed.
class TavAgent {
public:
  explicit TavAgent(std::string name) : name_(std::move(name)) {}
  virtual ~TavAgent() = default;
  TavAgent(const TavAgent&) = delete;
  TavAgent& operator=(const TavAgent&) = delete;
  const std::string& GetName() const { return name_; }
  bool IsValued() const { return valued_; }
  // Re-arms the agent: it forgets its value and waits again.
  virtual void InitializeAcquisition() { valued_ = false; }
  // Behaviour flag: one pick may hold several paths (picked together), all kept.
  static constexpr int kMultiAcquisition = 0x1000000;
  void SetBehavior(int b) { behavior_ = b; }
  void AddBehavior(int b) { behavior_ |= b; }
  int GetBehavior() const { return behavior_; }
  // Repeat mode: the agent keeps accepting (the value is replaced by each new event).
  void SetRepeatMode(bool r = true) { repeat_ = r; }
  bool IsRepeat() const { return repeat_; }

protected:
  void SetValued() { valued_ = true; }

private:
  std::string name_;
  bool valued_ = false, repeat_ = false;
  int behavior_ = 0;
};

// An agent with an extra acceptance test.
class TavAcquisitionAgent : public TavAgent {
public:
  using TavAgent::TavAgent;
  using Filter = std::function<bool(TavAcquisitionAgent*)>;
  void SetFilter(Filter f) { filter_ = std::move(f); }
  // A filter may hand the agent a text to show when it refuses a pick.
  void SetFilterMessage(const TavUnicodeString& t) { filterMessage_ = t; }
  const TavUnicodeString& GetFilterMessage() const { return filterMessage_; }

protected:
  bool RunFilter() {
    filterMessage_ = {};
    return !filter_ || filter_(this);
  }

private:
  Filter filter_;
  TavUnicodeString filterMessage_;
};

// Accepts a pick (a path) whose leaf supports one of the element types.
class TavPathElementAgent : public TavAcquisitionAgent {
public:
  using TavAcquisitionAgent::TavAcquisitionAgent;
  void AddElementType(const std::string& interfaceName) { types_.push_back(interfaceName); }
  void SetElementType(const std::string& interfaceName) { types_ = {interfaceName}; }
  const std::vector<std::string>& GetElementTypes() const { return types_; }
  // The accepted pick; while a filter runs, the pick under test.
  const TavPathElement& GetValue() const { return value_; }
  const TavPathElement& GetElementValue() const { return value_; }
  Ref<TavBaseUnknown> GetValueObject() const { return value_.GetLeaf(); }
  // Every pick the agent holds (a CSO client takes the whole current selection).
  const std::vector<TavPathElement>& GetListOfValues() const { return values_; }
  // Takes the pick when its type and the filter accept it; false leaves the agent as it was.
  bool Offer(const TavPathElement& pick);
  // Several paths picked together: all are taken, or none. Only an agent with the
  // multi-acquisition behaviour takes more than one.
  bool OfferList(const std::vector<TavPathElement>& picks);
  void InitializeAcquisition() override {
    TavAgent::InitializeAcquisition();
    value_ = {};
    values_.clear();
  }
  // Sets the value without tests (the current selection taken at start).
  void Value(const TavPathElement& pick) {
    value_ = pick;
    values_ = {pick};
    SetValued();
  }
  void ValueList(std::vector<TavPathElement> picks) {
    if (picks.empty()) return;
    value_ = picks.front();
    values_ = std::move(picks);
    SetValued();
  }
  // Whether the leaf supports one of the element types (no types: anything).
  bool MatchesType(const TavPathElement& pick) const;

private:
  std::vector<std::string> types_;
  TavPathElement value_;
  std::vector<TavPathElement> values_;
};

// Valued by a notification of a dialog or widget.
class TavDialogAgent : public TavAgent {
public:
  using TavAgent::TavAgent;
  void AcceptOnNotify(TavDlgWidget* source, const std::string& notification) { accepts_.push_back({source, notification}); }
  void RemoveNotify(TavDlgWidget* source) { std::erase_if(accepts_, [&](auto& a) { return a.first == source; }); }
  bool Offer(const TavDlgWidget* source, const std::string& notification);
  const std::string& GetLastNotification() const { return last_; }

private:
  std::vector<std::pair<const TavDlgWidget*, std::string>> accepts_;
  std::string last_;
};

// Takes picks in the current document and, unlike the other agents, picks in
// another open document.
class TavOtherDocumentAgent : public TavPathElementAgent {
public:
  using TavPathElementAgent::TavPathElementAgent;
};

class TavDialogState {
public:
  explicit TavDialogState(std::string name) : name_(std::move(name)) {}
  const std::string& GetName() const { return name_; }
  void AddDialogAgent(TavAgent* a) { agents_.push_back(a); }
  const std::vector<TavAgent*>& Agents() const { return agents_; }
  // Run when the command enters this state from another one (or starts in it),
  // and when it leaves it for another one (or ends).
  void SetEntryAction(std::function<void()> a) { entry_ = std::move(a); }
  void SetExitAction(std::function<void()> a) { exit_ = std::move(a); }
  void Enter() const {
    if (entry_) entry_();
  }
  void Exit() const {
    if (exit_) exit_();
  }

private:
  std::string name_;
  std::vector<TavAgent*> agents_;
  std::function<void()> entry_, exit_;
};

// Conditions and actions: member operations of the command, combined.
using TavCondition = std::function<bool()>;
using TavAction = std::function<bool()>;

struct TavTransition {
  TavDialogState* from;
  TavDialogState* to;  // null: the command ends
  TavCondition condition;
  TavAction action;
  std::vector<TavAgent*> tested;  // agents the condition reads (re-armed when it fires)
};

// What a command hands the host when undoing its changes needs more than the model
// (a redraw of the father resource after a deletion). The host calls it after it has
// undone or redone the model changes of the command's step; it must not hold the
// document, which the step outlives only until the document closes.
class TavCommandGlobalUndo {
public:
  virtual ~TavCommandGlobalUndo() = default;
  virtual void Undo() = 0;
  virtual void Redo() = 0;
};

class TavStateCommand {
public:
  explicit TavStateCommand(std::string name, int dialogBehavior = 0, int mode = 0)
      : name_(std::move(name)), dialogBehavior_(dialogBehavior), mode_(mode) {}
  virtual ~TavStateCommand();
  TavStateCommand(const TavStateCommand&) = delete;
  TavStateCommand& operator=(const TavStateCommand&) = delete;

  const std::string& GetName() const { return name_; }
  int GetMode() const { return mode_; }
  // The argument the command was started with ("SingleShot", ...); empty for none.
  // Set before the graph is built.
  const std::string& GetArgument() const { return argument_; }
  void SetArgument(std::string a) { argument_ = std::move(a); }
  // How the command treats dialogs of the command it interrupts (the host's value).
  int GetDialogBehavior() const { return dialogBehavior_; }
  virtual void BuildGraph() = 0;
  // The user cancels; the command then ends.
  virtual bool Cancel() { return true; }

  // Undo: the host asks this when the command ends and keeps the answer with the
  // command's step (null: the model changes are all there is to undo).
  virtual Ref<TavCommandGlobalUndo> GetGlobalUndo() const { return globalUndo_; }
  void SetGlobalUndo(Ref<TavCommandGlobalUndo> g) { globalUndo_ = std::move(g); }
  // The step's name in the undo stack: the header's title when fired from one, else the class name.
  const std::string& GetUndoName() const { return undoName_.empty() ? name_ : undoName_; }
  void SetUndoName(std::string n) { undoName_ = std::move(n); }

  // Graph building.
  TavDialogState* GetInitialState(const std::string& name = "initialState");
  TavDialogState* AddDialogState(const std::string& name);
  void AddTransition(TavDialogState* from, TavDialogState* to, TavCondition condition, TavAction action = nullptr,
                     std::vector<TavAgent*> tested = {});
  // The agent takes the current selection as its first value.
  void AddCSOClient(TavPathElementAgent* agent) { csoClients_.push_back(agent); }

  template <class C>
  TavCondition Condition(bool (C::*m)()) {
    C* self = static_cast<C*>(this);
    return [self, m] { return (self->*m)(); };
  }
  template <class C>
  TavAction Action(bool (C::*m)()) {
    C* self = static_cast<C*>(this);
    return [self, m] { return (self->*m)(); };
  }
  static TavCondition IsOutputSetCondition(TavAgent* a) { return [a] { return a->IsValued(); }; }
  TavCondition IsLastModifiedAgentCondition(TavAgent* a) {
    return [this, a] { return lastModified_ == a && a->IsValued(); };
  }
  static TavCondition AndCondition(TavCondition a, TavCondition b) { return [a, b] { return a() && b(); }; }
  static TavCondition OrCondition(TavCondition a, TavCondition b) { return [a, b] { return a() || b(); }; }
  static TavCondition NotCondition(TavCondition a) { return [a] { return !a(); }; }
  static TavAction AndAction(TavAction a, TavAction b) { return [a, b] { return a() && b(); }; }
  static TavAction OrAction(TavAction a, TavAction b) { return [a, b] { return a() || b(); }; }

  // ---- run by the engine
  // Builds the graph, enters the initial state, takes the selection for CSO clients
  // and evaluates; false with a message when the graph is unusable.
  bool Start(std::string* error);
  // Offers a pick to the current state's path agents; false when none takes it
  // (`why` says why, with a filter's message when one refused it).
  // A pick in another open document than the current editor's reaches only the
  // agents that take one (TavOtherDocumentAgent).
  bool OfferPick(const TavPathElement& pick, std::string* why, bool otherDocument = false);
  // Several paths picked together, offered to the agents as one pick.
  bool OfferPicks(const std::vector<TavPathElement>& picks, std::string* why);
  // Offers a notification to the current state's dialog agents.
  bool OfferNotification(const TavDlgWidget* source, const std::string& notification);
  // Fires transitions until none applies; false with a message on a loop.
  bool Evaluate(std::string* error);
  bool IsEnded() const { return ended_; }
  void End() { ended_ = true; }
  TavDialogState* GetCurrentState() const { return current_; }
  const std::vector<std::unique_ptr<TavDialogState>>& States() const { return states_; }
  const std::vector<TavTransition>& Transitions() const { return transitions_; }
  std::vector<TavAgent*> CurrentAgents() const;

private:
  std::string name_, undoName_, argument_;
  Ref<TavCommandGlobalUndo> globalUndo_;
  int dialogBehavior_, mode_;
  std::vector<std::unique_ptr<TavDialogState>> states_;
  std::vector<TavTransition> transitions_;
  std::vector<TavPathElementAgent*> csoClients_;
  TavDialogState* current_ = nullptr;
  TavAgent* lastModified_ = nullptr;
  bool ended_ = false, built_ = false;
};

// The engine side the platform reaches: started and running commands.
class TavCommandHost {
public:
  virtual ~TavCommandHost() = default;
  static TavCommandHost* Get();
  static void Install(TavCommandHost* h);
  // Starts a command, ending the one running; false with a message on failure.
  virtual bool StartCommand(std::unique_ptr<TavStateCommand> cmd, std::string* error) = 0;
  virtual TavStateCommand* RunningCommand() = 0;
};
