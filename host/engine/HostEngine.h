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
  bool Start(const std::string& module, const std::string& className, std::string* error);
  bool Pick(const TavPathElement& path, std::string* error);
  bool Cancel(std::string* error);
  TavStateCommand* RunningCommand() override { return command_.get(); }
  std::string LastEndedCommand() const { return lastEnded_; }

  // Script answers for the next boxes.
  void QueueAnswer(const std::string& answer) { answers_.push_back(answer); }
  void QueueFileAnswer(bool ok, const TavUnicodeString& path) { fileAnswers_.emplace_back(ok, path); }
  // Answers a box shown without blocking, or a file box waiting; false when none waits.
  bool AnswerPending(const std::string& answer, const TavUnicodeString& path, std::string* error);
  const std::vector<ShownMessage>& Messages() const { return messages_; }
  // The error a command raised while handling an event no caller waited on (a
  // dialog notification, a button's callback); taking it clears it.
  std::string TakeError() { return std::exchange(lastError_, {}); }
  void ClearMessages() { messages_.clear(); }

  // TavDialogHost
  void OnNotification(TavDlgWidget* source, const std::string& notification) override;
  std::string OnNotifyBlocked(TavDlgNotify& box) override;
  bool OnFileShown(TavDlgFile& box, bool& ok, TavUnicodeString& path) override;
  void OnNotifyShown(TavDlgNotify& box) override;
  void OnDialogDestroyed(TavDlgDialog* d) override;

private:
  void Record(TavDlgNotify& box, const std::string& answer);
  // Runs queued notifications and destroys an ended command, outside any command call.
  bool Settle(std::string* error);
  void EndCommand(bool cleanSelection);
  void Say(const std::string& line);

  std::ostream* out_;
  std::unique_ptr<TavStateCommand> command_;
  std::string lastEnded_;
  int depth_ = 0;  // > 0 while the engine is inside a command call
  std::deque<std::pair<const TavDlgWidget*, std::string>> pendingNotifications_;
  std::deque<std::string> answers_;
  std::deque<std::pair<bool, TavUnicodeString>> fileAnswers_;
  std::vector<ShownMessage> messages_;
  std::vector<TavDlgNotify*> shownBoxes_;
  std::vector<TavDlgFile*> waitingFiles_;
  std::string lastError_;
};

}  // namespace host
