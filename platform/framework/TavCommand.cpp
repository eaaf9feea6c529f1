#include "TavCommand.h"

namespace {
TavCommandHost* g_commandHost = nullptr;
constexpr int kMaxStepsPerEvent = 1000;
}  // namespace

TavCommandHost* TavCommandHost::Get() { return g_commandHost; }
void TavCommandHost::Install(TavCommandHost* h) { g_commandHost = h; }

bool TavPathElementAgent::MatchesType(const TavPathElement& pick) const {
  auto leaf = pick.GetLeaf();
  if (!leaf) return false;
  if (types_.empty()) return true;
  for (auto& t : types_)
    if (leaf->QueryInterface(t)) return true;
  return false;
}

bool TavPathElementAgent::Offer(const TavPathElement& pick) { return OfferList({pick}); }

bool TavPathElementAgent::OfferList(const std::vector<TavPathElement>& picks) {
  if (picks.empty() || (picks.size() > 1 && !(GetBehavior() & kMultiAcquisition))) return false;
  for (const auto& p : picks)
    if (!MatchesType(p)) return false;
  // The filter looks at each pick through GetValue(); a refusal restores the old value.
  TavPathElement oldValue = value_;
  std::vector<TavPathElement> oldValues = values_;
  const bool wasValued = IsValued();
  for (const auto& p : picks) {
    value_ = p;
    if (!RunFilter()) {
      value_ = std::move(oldValue);
      values_ = std::move(oldValues);
      if (!wasValued) TavAgent::InitializeAcquisition();
      return false;
    }
  }
  value_ = picks.front();
  values_ = picks;
  SetValued();
  return true;
}

bool TavDialogAgent::Offer(const TavDlgWidget* source, const std::string& notification) {
  for (auto& [s, n] : accepts_) {
    if (s == source && n == notification) {
      last_ = notification;
      SetValued();
      return true;
    }
  }
  return false;
}

TavStateCommand::~TavStateCommand() = default;

TavDialogState* TavStateCommand::GetInitialState(const std::string& name) {
  for (auto& s : states_)
    if (s->GetName() == name) return s.get();
  states_.insert(states_.begin(), std::make_unique<TavDialogState>(name));
  return states_.front().get();
}

TavDialogState* TavStateCommand::AddDialogState(const std::string& name) {
  states_.push_back(std::make_unique<TavDialogState>(name));
  return states_.back().get();
}

void TavStateCommand::AddTransition(TavDialogState* from, TavDialogState* to, TavCondition condition, TavAction action,
                                    std::vector<TavAgent*> tested) {
  transitions_.push_back(TavTransition{from, to, std::move(condition), std::move(action), std::move(tested)});
}

std::vector<TavAgent*> TavStateCommand::CurrentAgents() const {
  return current_ ? current_->Agents() : std::vector<TavAgent*>{};
}

bool TavStateCommand::Start(std::string* error) {
  if (!built_) {
    built_ = true;
    BuildGraph();
  }
  if (ended_) return true;  // a command that runs at once may end inside BuildGraph
  if (states_.empty()) {
    if (error) *error = "command " + name_ + " has no state";
    return false;
  }
  current_ = states_.front().get();
  current_->Enter();
  if (ended_) return true;
  if (auto ed = TavFrmEditor::GetCurrentEditor()) {
    for (auto* a : csoClients_) {
      std::vector<TavPathElement> picks;
      for (auto& p : ed->GetCSO().Items())
        if (a->MatchesType(p)) picks.push_back(p);
      if (!picks.empty()) {
        a->ValueList(std::move(picks));
        lastModified_ = a;
      }
    }
  }
  return Evaluate(error);
}

bool TavStateCommand::OfferPick(const TavPathElement& pick, std::string* why, bool otherDocument) {
  if (ended_ || !current_) {
    if (why) *why = "no state of " + name_ + " waits for a pick";
    return false;
  }
  bool typed = false;
  for (TavAgent* a : current_->Agents()) {
    auto* pa = dynamic_cast<TavPathElementAgent*>(a);
    if (!pa || (otherDocument && !dynamic_cast<TavOtherDocumentAgent*>(pa))) continue;
    if (pa->MatchesType(pick)) typed = true;
    if (pa->Offer(pick)) {
      lastModified_ = pa;
      return true;
    }
    if (why && !pa->GetFilterMessage().IsEmpty()) *why = pa->GetFilterMessage().utf8();
  }
  if (why && why->empty() && otherDocument && !typed)
    *why = "no agent of state " + current_->GetName() + " takes a pick in another plant";
  if (why && why->empty())
    *why = typed ? "the pick was refused in state " + current_->GetName()
                 : "no agent of state " + current_->GetName() + " accepts an object of this kind";
  return false;
}

bool TavStateCommand::OfferPicks(const std::vector<TavPathElement>& picks, std::string* why) {
  if (picks.size() == 1) return OfferPick(picks.front(), why);
  if (ended_ || !current_) {
    if (why) *why = "no state of " + name_ + " waits for a pick";
    return false;
  }
  for (TavAgent* a : current_->Agents()) {
    auto* pa = dynamic_cast<TavPathElementAgent*>(a);
    if (pa && pa->OfferList(picks)) {
      lastModified_ = pa;
      return true;
    }
  }
  if (why) *why = "no agent of state " + current_->GetName() + " takes " + std::to_string(picks.size()) + " objects picked together";
  return false;
}

bool TavStateCommand::OfferNotification(const TavDlgWidget* source, const std::string& notification) {
  if (ended_ || !current_) return false;
  for (TavAgent* a : current_->Agents())
    if (auto* da = dynamic_cast<TavDialogAgent*>(a))
      if (da->Offer(source, notification)) {
        lastModified_ = da;
        return true;
      }
  return false;
}

bool TavStateCommand::Evaluate(std::string* error) {
  for (int step = 0; step < kMaxStepsPerEvent; ++step) {
    if (ended_ || !current_) return true;
    const TavTransition* fired = nullptr;
    for (auto& t : transitions_) {
      if (t.from != current_ || (t.condition && !t.condition())) continue;
      // An action that answers false keeps the command where it is.
      if (t.action && !t.action()) return true;
      fired = &t;
      break;
    }
    if (!fired) return true;
    if (ended_) return true;  // the action ended the command
    TavDialogState* from = current_;
    current_ = fired->to;
    if (current_ != from) from->Exit();
    if (!current_) {
      ended_ = true;
      return true;
    }
    for (TavAgent* a : fired->tested) a->InitializeAcquisition();
    // A transition into the same state waits for the next event.
    if (current_ == from) return true;
    current_->Enter();
  }
  if (error) *error = "command " + name_ + " does not settle: its transitions loop in state " +
                      (current_ ? current_->GetName() : std::string("?"));
  ended_ = true;
  return false;
}
