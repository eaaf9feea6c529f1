#include "AssignmentUndo.h"

#include <algorithm>

namespace host {

// An input or output item of a behaviour.
class BehaviorItemUndo final : public UndoAction {
public:
  BehaviorItemUndo(Ref<HostBehavior> b, Ref<HostRelation> r, bool input, std::size_t index, bool attach)
      : b_(std::move(b)), r_(std::move(r)), index_(index), input_(input), attach_(attach) {}
  bool Apply(HostDocument& doc, std::string& why) override { return AssignmentUndo::ApplyItem(*this, doc, why); }
  std::size_t Bytes() const override { return sizeof(*this); }
  bool Cancels(const UndoAction& later) const override {
    auto* l = dynamic_cast<const BehaviorItemUndo*>(&later);
    return l && !attach_ && l->attach_ && l->r_ == r_;
  }

  Ref<HostBehavior> b_;
  Ref<HostRelation> r_;
  std::size_t index_;
  bool input_, attach_;
};

// A resource's behaviour.
class BehaviorUndo final : public UndoAction {
public:
  BehaviorUndo(HostAssignmentContainer& c, Ref<HostBehavior> b, bool attach) : c_(c), b_(std::move(b)), attach_(attach) {}
  bool Apply(HostDocument& doc, std::string& why) override { return AssignmentUndo::ApplyBehavior(*this, doc, why); }
  std::size_t Bytes() const override { return sizeof(*this); }
  bool Cancels(const UndoAction& later) const override {
    auto* l = dynamic_cast<const BehaviorUndo*>(&later);
    return l && !attach_ && l->attach_ && l->b_ == b_;
  }

  HostAssignmentContainer& c_;  // the document's: it outlives the journal
  Ref<HostBehavior> b_;
  bool attach_;
};

// A context of an activity.
class ContextUndo final : public UndoAction {
public:
  ContextUndo(HostAssignmentContainer& c, Ref<TavBaseUnknown> a, Ref<TavBaseUnknown> p, std::size_t index, bool attach)
      : c_(c), a_(std::move(a)), p_(std::move(p)), index_(index), attach_(attach) {}
  bool Apply(HostDocument& doc, std::string& why) override { return AssignmentUndo::ApplyContext(*this, doc, why); }
  std::size_t Bytes() const override { return sizeof(*this); }

  HostAssignmentContainer& c_;
  Ref<TavBaseUnknown> a_, p_;
  std::size_t index_;
  bool attach_;
};

std::unique_ptr<UndoAction> AssignmentUndo::Item(HostBehavior& b, const BehaviorItems& list, std::size_t index,
                                                 bool attach) {
  return std::make_unique<BehaviorItemUndo>(SelfRef<HostBehavior>(b), list.List()[index], &list == &b.inputs_, index, attach);
}

std::unique_ptr<UndoAction> AssignmentUndo::Behavior(HostAssignmentContainer& c, const Ref<HostBehavior>& b, bool attach) {
  return std::make_unique<BehaviorUndo>(c, b, attach);
}

std::unique_ptr<UndoAction> AssignmentUndo::Context(HostAssignmentContainer& c, const Ref<TavBaseUnknown>& activity,
                                                    const Ref<TavBaseUnknown>& product, bool attach, std::size_t index) {
  return std::make_unique<ContextUndo>(c, activity, product, index, attach);
}

bool AssignmentUndo::ApplyItem(BehaviorItemUndo& u, HostDocument& doc, std::string& why) {
  HostBehavior& b = *u.b_;
  if (!doc.Holds(b)) return UndoGone(b, why);
  auto& list = u.input_ ? b.inputs_ : b.outputs_;
  const std::size_t at = list.Find(u.r_.get());
  if (u.attach_) {
    const auto* target = dynamic_cast<const HostObject*>(u.r_->GetTarget().get());
    if (target && !doc.Holds(*target)) return UndoGone(*target, why);
    if (at != list.size() || u.index_ > list.size()) {
      why = "the place of an item of " + UndoName(b) + " is gone";
      return false;
    }
    list.Insert(u.index_, u.r_);
  } else {
    if (at == list.size()) {
      why = "an item of " + UndoName(b) + " is gone";
      return false;
    }
    u.index_ = at;
    list.Erase(at);
  }
  doc.Recording()->Add(std::make_unique<BehaviorItemUndo>(u.b_, u.r_, u.input_, u.index_, !u.attach_));
  return true;
}

bool AssignmentUndo::ApplyBehavior(BehaviorUndo& u, HostDocument& doc, std::string& why) {
  auto resource = std::dynamic_pointer_cast<HostProduct>(u.b_->father_.lock());
  if (!resource || !doc.Holds(*resource)) {
    why = "the resource of " + UndoName(*u.b_) + " is gone";
    return false;
  }
  auto it = u.c_.behaviors_.find(resource.get());
  if (u.attach_) {
    if (it != u.c_.behaviors_.end()) {
      why = UndoName(*resource) + " has a behaviour already";
      return false;
    }
    if (!doc.RestoreId(*u.b_)) {
      why = "the id #" + u.b_->IdString() + " of " + UndoName(*u.b_) + " is taken by another object";
      return false;
    }
    u.c_.behaviors_[resource.get()] = u.b_;
  } else {
    if (it == u.c_.behaviors_.end() || it->second != u.b_) return UndoGone(*u.b_, why);
    doc.ReleaseId(*u.b_);
    u.c_.behaviors_.erase(it);
  }
  doc.Recording()->Add(std::make_unique<BehaviorUndo>(u.c_, u.b_, !u.attach_));
  return true;
}

bool AssignmentUndo::ApplyContext(ContextUndo& u, HostDocument& doc, std::string& why) {
  for (auto* o : {dynamic_cast<const HostObject*>(u.a_.get()), dynamic_cast<const HostObject*>(u.p_.get())})
    if (o && !doc.Holds(*o)) return UndoGone(*o, why);
  auto& list = u.c_.contexts_[u.a_.get()];
  auto at = std::find(list.begin(), list.end(), u.p_);
  if (u.attach_) {
    if (at != list.end() || u.index_ > list.size()) {
      why = "the place of a context is gone";
      return false;
    }
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(u.index_), u.p_);
  } else {
    if (at == list.end()) {
      why = "a context is gone";
      return false;
    }
    u.index_ = static_cast<std::size_t>(at - list.begin());
    list.erase(at);
    if (list.empty()) u.c_.contexts_.erase(u.a_.get());
  }
  doc.Recording()->Add(std::make_unique<ContextUndo>(u.c_, u.a_, u.p_, u.index_, !u.attach_));
  return true;
}

}  // namespace host
