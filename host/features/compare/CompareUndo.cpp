#include "CompareUndo.h"

#include <algorithm>

namespace host {

class FastenerUndo final : public UndoAction {
public:
  FastenerUndo(HostFastenerContainer& c, Ref<HostFastener> f, std::size_t index, bool attach)
      : c_(c), f_(std::move(f)), index_(index), attach_(attach) {}
  bool Apply(HostDocument& doc, std::string& why) override { return CompareUndo::ApplyFastener(*this, doc, why); }
  std::size_t Bytes() const override { return sizeof(*this); }

  HostFastenerContainer& c_;  // the document's: it outlives the journal
  Ref<HostFastener> f_;
  std::size_t index_;
  bool attach_;
};

class FastenerRelationUndo final : public UndoAction {
public:
  FastenerRelationUndo(HostFastenerContainer& c, Ref<HostFastener> f, Ref<TavBaseUnknown> o, std::size_t byObject,
                       std::size_t related, bool attach)
      : c_(c), f_(std::move(f)), o_(std::move(o)), byObject_(byObject), related_(related), attach_(attach) {}
  bool Apply(HostDocument& doc, std::string& why) override { return CompareUndo::ApplyRelation(*this, doc, why); }
  std::size_t Bytes() const override { return sizeof(*this); }

  HostFastenerContainer& c_;
  Ref<HostFastener> f_;
  Ref<TavBaseUnknown> o_;
  std::size_t byObject_, related_;  // positions in the container's two lists
  bool attach_;
};

class FastenerNameUndo final : public UndoAction {
public:
  FastenerNameUndo(Ref<HostFastener> f, TavUnicodeString name) : f_(std::move(f)), name_(std::move(name)) {}
  bool Apply(HostDocument& doc, std::string& why) override { return CompareUndo::ApplyName(*this, doc, why); }
  std::size_t Bytes() const override { return sizeof(*this) + name_.utf8().capacity(); }

  Ref<HostFastener> f_;
  TavUnicodeString name_;
};

void HostFastener::SetName(const TavUnicodeString& n) {
  if (name_ == n) return;
  if (UndoLog* log = RecorderOf(*this)) log->Add(std::make_unique<FastenerNameUndo>(SelfRef<HostFastener>(*this), name_));
  name_ = n;
}

std::unique_ptr<UndoAction> CompareUndo::Fastener(HostFastenerContainer& c, const Ref<HostFastener>& f, bool attach) {
  return std::make_unique<FastenerUndo>(c, f, 0, attach);
}

std::unique_ptr<UndoAction> CompareUndo::Related(HostFastenerContainer& c, const Ref<HostFastener>& f, const Ref<TavBaseUnknown>& o,
                                                 bool attach) {
  return std::make_unique<FastenerRelationUndo>(c, f, o, 0, 0, attach);
}

std::unique_ptr<UndoAction> CompareUndo::Unrelated(HostFastenerContainer& c, const Ref<HostFastener>& f,
                                                   const Ref<TavBaseUnknown>& o, std::size_t byObject, std::size_t related) {
  return std::make_unique<FastenerRelationUndo>(c, f, o, byObject, related, true);
}

bool CompareUndo::ApplyFastener(FastenerUndo& u, HostDocument& doc, std::string& why) {
  auto& list = u.c_.fasteners_;
  auto at = std::find(list.begin(), list.end(), u.f_);
  if (u.attach_) {
    if (at != list.end() || u.index_ > list.size()) {
      why = "the place of " + UndoName(*u.f_) + " is gone";
      return false;
    }
    if (!doc.RestoreId(*u.f_)) {
      why = "the id #" + u.f_->IdString() + " of " + UndoName(*u.f_) + " is taken by another object";
      return false;
    }
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(u.index_), u.f_);
  } else {
    if (at == list.end() || !doc.Holds(*u.f_)) return UndoGone(*u.f_, why);
    u.index_ = static_cast<std::size_t>(at - list.begin());
    list.erase(at);
    doc.ReleaseId(*u.f_);
  }
  doc.Recording()->Add(std::make_unique<FastenerUndo>(u.c_, u.f_, u.index_, !u.attach_));
  return true;
}

bool CompareUndo::ApplyRelation(FastenerRelationUndo& u, HostDocument& doc, std::string& why) {
  if (!doc.Holds(*u.f_)) return UndoGone(*u.f_, why);
  if (auto* o = dynamic_cast<const HostObject*>(u.o_.get()); o && !doc.Holds(*o)) return UndoGone(*o, why);
  auto& byObject = u.c_.byObject_[u.o_.get()];
  auto& related = u.c_.related_[u.f_.get()];
  auto b = std::find_if(byObject.begin(), byObject.end(), [&](const Ref<TavBaseUnknown>& x) { return x.get() == u.f_.get(); });
  auto r = std::find_if(related.begin(), related.end(), [&](const std::weak_ptr<TavBaseUnknown>& w) { return w.lock() == u.o_; });
  if (u.attach_) {
    if (b != byObject.end() || r != related.end() || u.byObject_ > byObject.size() || u.related_ > related.size()) {
      why = "the relation of " + UndoName(*u.f_) + " cannot be put back";
      return false;
    }
    byObject.insert(byObject.begin() + static_cast<std::ptrdiff_t>(u.byObject_), u.f_);
    related.insert(related.begin() + static_cast<std::ptrdiff_t>(u.related_), u.o_);
  } else {
    if (b == byObject.end() || r == related.end()) {
      why = "a relation of " + UndoName(*u.f_) + " is gone";
      return false;
    }
    u.byObject_ = static_cast<std::size_t>(b - byObject.begin());
    u.related_ = static_cast<std::size_t>(r - related.begin());
    byObject.erase(b);
    related.erase(r);
  }
  doc.Recording()->Add(std::make_unique<FastenerRelationUndo>(u.c_, u.f_, u.o_, u.byObject_, u.related_, !u.attach_));
  return true;
}

bool CompareUndo::ApplyName(FastenerNameUndo& u, HostDocument& doc, std::string& why) {
  if (!doc.Holds(*u.f_)) return UndoGone(*u.f_, why);
  u.f_->SetName(u.name_);  // records the name it replaces
  return true;
}

}  // namespace host
