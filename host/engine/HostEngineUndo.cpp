// Transactions around commands, savepoints for commands and services, and undo and
// redo of whole steps (HostUndo.h keeps the records).
#include <algorithm>

#include "HostEngine.h"
#include "HostUndo.h"
#include "TavUndo.h"

namespace host {

namespace {
// The documents open in the session, each once.
std::vector<Ref<HostDocument>> OpenDocuments() {
  std::vector<Ref<HostDocument>> out;
  if (HostSession* s = HostSession::Current())
    for (auto& ed : s->Editors())
      if (ed->Document() && std::find(out.begin(), out.end(), ed->Document()) == out.end()) out.push_back(ed->Document());
  return out;
}

// A savepoint: where each open document's record stood. A document that recorded
// nothing when the mark was made records from then on, until the mark goes.
class HostSavepoint final : public TavISavepoint {
public:
  struct At {
    std::weak_ptr<HostDocument> doc;
    std::uint64_t serial;
    std::size_t mark;
    bool own;
  };
  explicit HostSavepoint(std::vector<At> at) : at_(std::move(at)) {}
  ~HostSavepoint() override {
    for (auto& a : at_)
      if (auto d = a.doc.lock(); d && a.own && Live(a, *d)) d->Journal().Discard();
  }
  bool RollBack(std::string* error) override {
    for (auto& a : at_) {
      auto d = a.doc.lock();
      if (!d) continue;  // closed: nothing of it to put back
      if (!Live(a, *d)) {
        if (error) *error = "the savepoint's transaction has ended";
        return false;
      }
      if (!d->Journal().RollBack(a.mark, error)) return false;
    }
    return true;
  }

private:
  static bool Live(const At& a, HostDocument& d) {
    return d.Journal().InTransaction() && d.Journal().TransactionSerial() == a.serial;
  }
  std::vector<At> at_;
};

class HostTransactions final : public TavTransactionHost {
public:
  std::unique_ptr<TavISavepoint> Mark() override {
    std::vector<HostSavepoint::At> at;
    for (auto& d : OpenDocuments()) {
      UndoJournal& j = d->Journal();
      const bool own = !j.InTransaction();
      if (own) j.Begin();
      at.push_back({d, j.TransactionSerial(), j.Mark(), own});
    }
    return std::make_unique<HostSavepoint>(std::move(at));
  }
};
}  // namespace

void InstallSavepoints() {
  static HostTransactions transactions;
  TavTransactionHost::Install(&transactions);
}

void HostEngine::OpenTransactions() {
  recording_.clear();
  for (auto& d : OpenDocuments()) {
    d->Journal().Begin();
    recording_.push_back(d);
  }
}

void HostEngine::CloseTransactions(const std::string& name, const Ref<TavCommandGlobalUndo>& global) {
  TavRepository& settings = TavSettingRepository::GetRepository(kUndoSettings);
  const std::int64_t steps = settings.ReadInt(kUndoMaxSteps, 100), mib = settings.ReadInt(kUndoMaxMemory, 256);
  for (auto& w : recording_)
    if (auto d = w.lock()) {
      UndoJournal& j = d->Journal();
      j.SetLimits(static_cast<std::size_t>(std::max<std::int64_t>(1, steps)),
                  static_cast<std::size_t>(std::clamp<std::int64_t>(mib, 0, std::int64_t(1) << 40)) << 20);
      j.Commit(name, global);
    }
  recording_.clear();
}

HostEngine::Marks HostEngine::MarkEvent() const {
  Marks out;
  for (auto& w : recording_)
    if (auto d = w.lock()) out.emplace_back(d, d->Journal().Mark());
  return out;
}

void HostEngine::RollBackEvent(const Marks& marks) {
  for (auto& [w, mark] : marks)
    if (auto d = w.lock()) {
      std::string why;
      if (!d->Journal().RollBack(mark, &why)) Say("[error] the failed command's changes could not be taken back: " + why);
    }
}

bool HostEngine::Undo(HostDocument& doc, std::size_t n, std::vector<std::string>* names, std::string* error) {
  return Travel(doc, n, true, names, error);
}

bool HostEngine::Redo(HostDocument& doc, std::size_t n, std::vector<std::string>* names, std::string* error) {
  return Travel(doc, n, false, names, error);
}

// Undo (back) and redo are one walk in two directions, all or nothing: when a step
// cannot be taken, the steps already taken are taken again the other way.
bool HostEngine::Travel(HostDocument& doc, std::size_t n, bool back, std::vector<std::string>* names, std::string* error) {
  auto fail = [&](const std::string& m) {
    if (error) *error = m;
    return false;
  };
  const char* verb = back ? "undo" : "redo";
  if (command_) return fail("command " + command_->GetName() + " is running: end or cancel it first");
  UndoJournal& j = doc.Journal();
  const std::size_t available = back ? j.Position() : j.Size() - j.Position();
  if (available == 0) return fail(std::string("nothing to ") + verb);
  if (n == 0 || n > available)
    return fail(n == 0 ? std::string(verb) + " takes a number of steps from 1"
                       : "only " + std::to_string(available) + " step" + (available == 1 ? "" : "s") + " can be " +
                             (back ? "undone" : "redone"));
  // The step the next move in a direction takes, and the move itself with its command's callback.
  auto next = [&](bool backward) -> const UndoJournal::Step& { return j.StepAt(backward ? j.Position() - 1 : j.Position()); };
  auto move = [&](bool backward, std::string* why) { return backward ? j.Undo(why) : j.Redo(why); };
  auto callback = [](const Ref<TavCommandGlobalUndo>& g, bool backward) {
    if (!g) return;
    if (backward) g->Undo();
    else g->Redo();
  };
  for (std::size_t i = 0; i < n; ++i) {
    const auto& step = next(back);
    const std::string name = step.name;
    const auto global = step.global;
    std::string why;
    if (!move(back, &why)) {
      for (std::size_t k = 0; k < i; ++k) {
        std::string lost;
        if (move(!back, &lost)) callback(next(back).global, !back);
      }
      if (names) names->clear();
      return fail(std::string("cannot ") + verb + " '" + name + "': " + why);
    }
    callback(global, back);
    if (names) names->push_back(name);
  }
  return true;
}

}  // namespace host
