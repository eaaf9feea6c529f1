#pragma once
// The reference host's command engine: starts commands, feeds them picks,
// dialog notifications and cancels, ends and destroys them; records the
// notification windows the user saw and answers them from the script.
#include <deque>
#include <iosfwd>
#include <memory>
#include <utility>

#include "HostRuntime.h"
#include "TavCommand.h"

namespace host {

struct ShownMessage {
  std::string kind;  // "information", "warning", "error"
  std::string name, title, text, answer;
};

class HostEngine final : public TavCommandHost, public TavDialogHost {
public:
  // Messages and command events are echoed to `out` as the user would see them.
  explicit HostEngine(std::ostream* out = nullptr);
  ~HostEngine() override;
  HostEngine(const HostEngine&) = delete;
  HostEngine& operator=(const HostEngine&) = delete;
  static HostEngine* Current();

  // Command control; each returns false with a message in `error`.
  bool StartCommand(std::unique_ptr<TavStateCommand> cmd, std::string* error) override;
  // `undoName` names the command's undo step (a header's title); the class name by default.
  bool Start(const std::string& module, const std::string& className, std::string* error, const std::string& undoName = {},
             const std::string& argument = {});
  // `refused` (when given) tells a pick the command did not take from one it took
  // but failed to handle (or no command to take it).
  // `otherDocument`: the pick is in an open plant other than the current one.
  bool Pick(const TavPathElement& path, std::string* error, bool* refused = nullptr, bool otherDocument = false);
  // Several paths picked together (a multi-acquisition agent takes them as one pick).
  bool Pick(const std::vector<TavPathElement>& paths, std::string* error, bool* refused = nullptr, bool otherDocument = false);
  bool Cancel(std::string* error);
  TavStateCommand* RunningCommand() override { return command_.get(); }
  std::string LastEndedCommand() const { return lastEnded_; }

  // Script answers for the next boxes.
  void QueueAnswer(const std::string& answer) { answers_.push_back(answer); }
  void QueueFileAnswer(bool ok, const TavUnicodeString& path) { fileAnswers_.emplace_back(ok, path); }
  // Answers a box shown without blocking, or a file box waiting; false when none waits.
  bool AnswerPending(const std::string& answer, const TavUnicodeString& path, std::string* error);
  const std::vector<ShownMessage>& Messages() const { return messages_; }

  // ---- undo (HostEngineUndo.cpp). A command's changes in every open document are
  // one step of that document's journal. Undo (redo) n steps of a document, calling
  // each step's global undo after its model changes; refused while a command runs.
  // False with one message, and the model as before, when a step cannot be undone.
  bool Undo(HostDocument& doc, std::size_t n, std::vector<std::string>* names, std::string* error);
  bool Redo(HostDocument& doc, std::size_t n, std::vector<std::string>* names, std::string* error);
  // The setting repository of the stack's bounds and its keys (docs/undo.md).
  static constexpr const char* kUndoSettings = "HostUndo";
  static constexpr const char* kUndoMaxSteps = "MaxSteps";
  static constexpr const char* kUndoMaxMemory = "MaxMemoryMiB";
  // The error a command raised while handling an event no caller waited on (a
  // dialog notification, a button's callback); taking it clears it.
  std::string TakeError() { return std::exchange(lastError_, {}); }
  // How many notifications an agent of the running command has taken (one that loops
  // back to its own state is taken too).
  std::uint64_t NotificationsTaken() const { return notificationsTaken_; }
  void ClearMessages() { messages_.clear(); }

  // TavDialogHost
  void OnNotification(TavDlgWidget* source, const std::string& notification) override;
  std::string OnNotifyBlocked(TavDlgNotify& box) override;
  bool OnFileShown(TavDlgFile& box, bool& ok, TavUnicodeString& path) override;
  void OnNotifyShown(TavDlgNotify& box) override;
  void OnDialogDestroyed(TavDlgDialog* d) override;

private:
  bool Travel(HostDocument& doc, std::size_t n, bool back, std::vector<std::string>* names, std::string* error);
  void Record(TavDlgNotify& box, const std::string& answer);
  // Runs queued notifications and destroys an ended command, outside any command call.
  bool Settle(std::string* error);
  void EndCommand(bool cleanSelection);
  void Say(const std::string& line);
  // A command's transaction in every open document, and its end as one step each.
  void OpenTransactions();
  void CloseTransactions(const std::string& name, const Ref<TavCommandGlobalUndo>& global);
  // Where each recording document stands before an event, and back there when the
  // command fails handling it (an error of the engine or an exception).
  using Marks = std::vector<std::pair<std::weak_ptr<HostDocument>, std::size_t>>;
  Marks MarkEvent() const;
  void RollBackEvent(const Marks& marks);
  // Runs one step of the command; an exception it throws is its failure.
  template <class F>
  bool Guarded(F&& step, std::string* error);

  std::ostream* out_;
  std::unique_ptr<TavStateCommand> command_;
  std::string lastEnded_;
  int depth_ = 0;  // > 0 while the engine is inside a command call
  // A command started from inside another command's step (a header it fires): it
  // starts once that step has settled.
  std::unique_ptr<TavStateCommand> queuedStart_;
  std::deque<std::pair<const TavDlgWidget*, std::string>> pendingNotifications_;
  std::deque<std::string> answers_;
  std::deque<std::pair<bool, TavUnicodeString>> fileAnswers_;
  std::vector<ShownMessage> messages_;
  std::vector<TavDlgNotify*> shownBoxes_;
  std::vector<TavDlgFile*> waitingFiles_;
  std::string lastError_;
  std::uint64_t notificationsTaken_ = 0;
  std::vector<std::weak_ptr<HostDocument>> recording_;  // documents the running command's transaction is open in
};

// Installs the host's savepoints (TavUndo.h) over the documents open in the current
// session. Called once from the host's start-up.
void InstallSavepoints();

}  // namespace host
