#pragma once
// Control-flow links as objects. A link itself is kept by its two nodes (HostActivity's
// next and previous lists); its object is made the first time someone asks for it (a
// pick, a list of a node's flows, a stored id) and then kept by the document, so the
// same link always answers with the same object and id, also across undo.
#include <map>

#include "HostModel.h"

namespace host {

class HostFlow final : public HostObject, public virtual TavISPPControlFlow, public virtual TavILifeCycleObject {
public:
  HostFlow(const Ref<HostActivity>& from, const Ref<HostActivity>& to) : from_(from), to_(to) {}
  std::string LateType() const override { return "ControlFlow"; }
  TavUnicodeString DisplayName() const override;
  // Null while the link does not exist (removed, or not made again by an undo).
  Ref<TavBaseUnknown> GetSourceNode() const override;
  Ref<TavBaseUnknown> GetTargetNode() const override;
  HRESULT Remove() override;
  bool Exists() const;
  Ref<HostActivity> From() const { return from_.lock(); }
  Ref<HostActivity> To() const { return to_.lock(); }
  // The id came from the plant file and is written back; an id given in a session
  // names the link there only, so saving a plant never depends on what was looked at.
  bool StoredId() const { return stored_; }

private:
  friend class HostFlows;
  std::weak_ptr<HostActivity> from_, to_;
  bool stored_ = false;
};

class HostFlows {
public:
  explicit HostFlows(HostDocument& doc) : doc_(doc) {}
  // The object of the link from -> to, made with a fresh id on first use; null when
  // there is no such link.
  Ref<HostFlow> Of(const Ref<HostActivity>& from, const Ref<HostActivity>& to);
  // Loading: the object of a stored link with its stored id (throws on a taken id).
  Ref<HostFlow> Adopt(const Ref<HostActivity>& from, const Ref<HostActivity>& to, const std::string& id);
  // The stored id of the link's object; null when it has none (not written then).
  const std::string* IdOf(const HostActivity* from, const HostActivity* to) const;

private:
  using Key = std::pair<const HostActivity*, const HostActivity*>;
  Ref<HostFlow> Find(const Key& k) const;
  HostDocument& doc_;
  std::map<Key, Ref<HostFlow>> flows_;
};

}  // namespace host
