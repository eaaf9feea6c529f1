#include "HostFlow.h"

namespace host {

bool HostFlow::Exists() const {
  auto f = from_.lock();
  auto t = to_.lock();
  return f && t && f->LinksTo(t.get());
}

TavUnicodeString HostFlow::DisplayName() const {
  auto f = from_.lock();
  auto t = to_.lock();
  return (f ? f->Label().utf8() : std::string("?")) + " -> " + (t ? t->Label().utf8() : std::string("?"));
}

Ref<TavBaseUnknown> HostFlow::GetSourceNode() const { return Exists() ? from_.lock() : nullptr; }
Ref<TavBaseUnknown> HostFlow::GetTargetNode() const { return Exists() ? to_.lock() : nullptr; }

HRESULT HostFlow::Remove() {
  auto f = from_.lock();
  auto t = to_.lock();
  if (!f || !t || !f->LinksTo(t.get())) return E_FAIL;
  return f->RemoveControlFlowLink(t);
}

Ref<HostFlow> HostFlows::Find(const Key& k) const {
  auto it = flows_.find(k);
  // A key whose nodes died may name new objects at the same addresses.
  if (it == flows_.end() || it->second->From().get() != k.first || it->second->To().get() != k.second) return nullptr;
  return it->second;
}

Ref<HostFlow> HostFlows::Of(const Ref<HostActivity>& from, const Ref<HostActivity>& to) {
  if (!from || !to || !from->LinksTo(to.get())) return nullptr;
  Key k{from.get(), to.get()};
  if (auto f = Find(k)) return f;
  auto f = std::make_shared<HostFlow>(from, to);
  doc_.AdoptObject(*f, {}, 'f');
  flows_[k] = f;
  return f;
}

Ref<HostFlow> HostFlows::Adopt(const Ref<HostActivity>& from, const Ref<HostActivity>& to, const std::string& id) {
  auto f = std::make_shared<HostFlow>(from, to);
  doc_.AdoptObject(*f, id, 'f');
  f->stored_ = true;
  flows_[{from.get(), to.get()}] = f;
  return f;
}

const std::string* HostFlows::IdOf(const HostActivity* from, const HostActivity* to) const {
  if (flows_.empty()) return nullptr;
  auto f = Find({from, to});
  return f && f->StoredId() ? &f->IdString() : nullptr;
}

}  // namespace host
