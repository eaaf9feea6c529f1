#include "HostEngine.h"

#include <algorithm>
#include <ostream>
#include <stdexcept>

#include "TavModules.h"

namespace host {

namespace {
HostEngine* g_engine = nullptr;
}

HostEngine::HostEngine(std::ostream* out) : out_(out) {
  TavCommandHost::Install(this);
  TavDialogHost::Install(this);
  g_engine = this;
}

template <class F>
bool HostEngine::Guarded(F&& step, std::string* error) {
  try {
    return step();
  } catch (const std::exception& e) {
    if (error) *error = "command " + command_->GetName() + " failed: " + e.what();
    command_->End();
    return false;
  }
}

HostEngine::~HostEngine() {
  if (command_) {
    command_->Cancel();
    const std::string step = command_->GetUndoName();
    command_.reset();
    CloseTransactions(step, nullptr);  // what it kept is a step, as for any cancel
  }
  TavCommandHost::Install(nullptr);
  TavDialogHost::Install(nullptr);
  g_engine = nullptr;
}

HostEngine* HostEngine::Current() { return g_engine; }

void HostEngine::Say(const std::string& line) {
  if (out_) *out_ << line << '\n';
}

void HostEngine::EndCommand(bool cleanSelection) {
  if (!command_) return;
  lastEnded_ = command_->GetName();
  // A failed or cancelled command leaves no selection or highlight behind.
  if (cleanSelection)
    if (auto ed = TavFrmEditor::GetCurrentEditor()) {
      ed->GetCSO().Empty();
      ed->GetHSO().Empty();
    }
  auto dead = std::move(command_);
  pendingNotifications_.clear();
  const std::string step = dead->GetUndoName();
  const Ref<TavCommandGlobalUndo> global = dead->GetGlobalUndo();
  dead.reset();  // what its destruction changes belongs to its step too
  CloseTransactions(step, global);
  Say("command " + lastEnded_ + " ended");
}

bool HostEngine::Settle(std::string* error) {
  bool ok = true;
  while (command_ && !command_->IsEnded() && !pendingNotifications_.empty()) {
    // Named copies, not structured bindings: the lambda below captures them.
    const auto source = pendingNotifications_.front().first;
    const auto notification = pendingNotifications_.front().second;
    pendingNotifications_.pop_front();
    ++depth_;
    std::string err;
    const Marks marks = MarkEvent();
    if (!Guarded([&] {
          if (!command_->OfferNotification(source, notification)) return true;
          ++notificationsTaken_;
          return command_->Evaluate(&err);
        }, &err)) {
      ok = false;
      if (error) *error = err;
      RollBackEvent(marks);
    }
    --depth_;
  }
  if (command_ && command_->IsEnded()) EndCommand(!ok);
  if (queuedStart_ && depth_ == 0) {
    auto next = std::move(queuedStart_);
    std::string err;
    if (!StartCommand(std::move(next), &err)) {
      if (error && ok) *error = err;
      ok = false;
    }
  }
  return ok;
}

bool HostEngine::StartCommand(std::unique_ptr<TavStateCommand> cmd, std::string* error) {
  if (!cmd) {
    if (error) *error = "no command to start";
    return false;
  }
  if (depth_ > 0) {
    // Inside a step the running command cannot be replaced yet: the new one waits for
    // the step to settle. One at a time.
    if (queuedStart_) {
      if (error) *error = "a command cannot be started from inside another command's step";
      return false;
    }
    queuedStart_ = std::move(cmd);
    return true;
  }
  if (command_) {
    Say("command " + command_->GetName() + " is replaced by " + cmd->GetName());
    command_->Cancel();
    EndCommand(true);
  }
  command_ = std::move(cmd);
  Say("command " + command_->GetName() + " started");
  OpenTransactions();
  const Marks marks = MarkEvent();
  ++depth_;
  std::string err;
  bool ok = Guarded([&] { return command_->Start(&err); }, &err);
  --depth_;
  if (!ok) {
    // A command that fails to start leaves no trace.
    RollBackEvent(marks);
    if (error) *error = err;
    command_->End();
    EndCommand(true);
    return false;
  }
  return Settle(error);
}

bool HostEngine::Start(const std::string& module, const std::string& className, std::string* error, const std::string& undoName,
                       const std::string& argument) {
  auto cmd = TavModuleRegistry::Get().Create(module, className, error);
  if (!cmd) return false;
  if (!undoName.empty()) cmd->SetUndoName(undoName);
  cmd->SetArgument(argument);
  return StartCommand(std::move(cmd), error);
}

bool HostEngine::Pick(const TavPathElement& path, std::string* error, bool* refused, bool otherDocument) {
  return Pick(std::vector<TavPathElement>{path}, error, refused, otherDocument);
}

bool HostEngine::Pick(const std::vector<TavPathElement>& paths, std::string* error, bool* refused, bool otherDocument) {
  if (refused) *refused = false;
  if (!command_) {
    if (error) *error = "no command is running to take the pick";
    return false;
  }
  if (paths.empty() || std::any_of(paths.begin(), paths.end(), [](const TavPathElement& p) { return p.IsEmpty(); })) {
    if (error) *error = "nothing to pick";
    return false;
  }
  if (otherDocument && paths.size() > 1) {
    if (error) *error = "picks in another plant are taken one at a time";
    return false;
  }
  ++depth_;
  std::string why, err;
  const Marks marks = MarkEvent();
  bool taken = false;
  bool ok = Guarded([&] {
    taken = paths.size() == 1 ? command_->OfferPick(paths.front(), &why, otherDocument) : command_->OfferPicks(paths, &why);
    return !taken || command_->Evaluate(&err);
  }, &err);
  if (!ok) taken = true;
  if (!ok) RollBackEvent(marks);
  --depth_;
  if (!taken) {
    if (refused) *refused = true;
    if (error) *error = why;
    Settle(nullptr);
    return false;
  }
  if (!ok) {
    if (error) *error = err;
    Settle(nullptr);
    return false;
  }
  return Settle(error);
}

bool HostEngine::Cancel(std::string* error) {
  if (!command_) {
    if (error) *error = "no command is running";
    return false;
  }
  if (depth_ > 0) {
    command_->End();
    return true;
  }
  ++depth_;
  command_->Cancel();
  --depth_;
  command_->End();
  EndCommand(true);
  return true;
}

void HostEngine::OnNotification(TavDlgWidget* source, const std::string& notification) {
  // The source may already be gone (a callback destroyed it): compare, never dereference.
  if (!command_ || command_->IsEnded()) return;
  pendingNotifications_.emplace_back(source, notification);
  if (depth_ == 0) Settle(&lastError_);
}

void HostEngine::Record(TavDlgNotify& box, const std::string& answer) {
  ShownMessage m{TavDlgNotify::KindName(box.GetNotifyKind()), box.GetName(), box.GetTitle().utf8(), box.GetText().utf8(), answer};
  std::string line = "[" + m.kind + "] " + m.title + ": " + m.text;
  if (!answer.empty()) line += " -> " + answer;
  Say(line);
  messages_.push_back(std::move(m));
}

std::string HostEngine::OnNotifyBlocked(TavDlgNotify& box) {
  std::string answer = "OK";
  if (!answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
  }
  Record(box, answer);
  return answer;
}

void HostEngine::OnNotifyShown(TavDlgNotify& box) {
  Record(box, "");
  std::erase(shownBoxes_, &box);
  shownBoxes_.push_back(&box);
}

bool HostEngine::OnFileShown(TavDlgFile& box, bool& ok, TavUnicodeString& path) {
  Say("[file] " + box.GetTitle().utf8());
  if (fileAnswers_.empty()) {
    std::erase(waitingFiles_, &box);
    waitingFiles_.push_back(&box);
    return false;
  }
  std::tie(ok, path) = fileAnswers_.front();
  fileAnswers_.pop_front();
  return true;
}

void HostEngine::OnDialogDestroyed(TavDlgDialog* d) {
  std::erase(shownBoxes_, static_cast<TavDlgNotify*>(nullptr));
  std::erase_if(shownBoxes_, [&](TavDlgNotify* b) { return static_cast<TavDlgDialog*>(b) == d; });
  std::erase_if(waitingFiles_, [&](TavDlgFile* f) { return static_cast<TavDlgDialog*>(f) == d; });
}

bool HostEngine::AnswerPending(const std::string& answer, const TavUnicodeString& path, std::string* error) {
  std::erase_if(shownBoxes_, [](TavDlgNotify* b) { return !b->IsVisible(); });
  if (!waitingFiles_.empty() && (answer == "file" || answer == "cancel")) {
    TavDlgFile* f = waitingFiles_.back();
    waitingFiles_.pop_back();
    Say(answer == "file" ? "[file] -> " + path.utf8() : "[file] -> cancel");
    if (answer == "file") {
      f->SetSelection(path);
      f->Notify(TavDlgNotification::OK);
    } else {
      f->Notify(TavDlgNotification::Cancel);
    }
    return true;
  }
  if (!shownBoxes_.empty() && answer != "file") {
    TavDlgNotify* b = shownBoxes_.back();
    shownBoxes_.pop_back();
    b->SetVisibility(false);
    Say("[" + std::string(TavDlgNotify::KindName(b->GetNotifyKind())) + "] -> " + answer);
    b->Notify(answer == "cancel" || answer == "CANCEL" ? TavDlgNotification::Cancel : TavDlgNotification::OK);
    return true;
  }
  if (error) *error = answer == "file" ? "no file box is waiting for an answer" : "no message window is waiting for an answer";
  return false;
}

}  // namespace host
