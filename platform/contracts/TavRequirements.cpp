#include "TavRequirements.h"

#include <map>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace {

std::map<std::string, std::set<std::string>, std::less<>>& Kinds() {
  static std::map<std::string, std::set<std::string>, std::less<>> k;
  return k;
}

struct Highlights {
  std::vector<std::weak_ptr<TavBaseUnknown>> order;
  // Object -> its entry; an address whose object died may be taken by a new one,
  // so an entry counts only while its object lives.
  std::unordered_map<const TavBaseUnknown*, std::weak_ptr<TavBaseUnknown>> keys;
  bool Lives(const TavBaseUnknown* k) const {
    auto it = keys.find(k);
    return it != keys.end() && it->second.lock().get() == k;
  }
  void Prune() {
    std::erase_if(order, [](auto& w) { return w.expired(); });
    std::erase_if(keys, [](auto& e) { return e.second.expired(); });
  }
};
Highlights& Lit() {
  static Highlights h;
  return h;
}
const TavBaseUnknown* Key(const Ref<TavBaseUnknown>& o) { return o ? o->ExtendedObject().get() : nullptr; }

}  // namespace

void TavKinds::Declare(const std::string& lateType, const std::string& kind) {
  if (lateType != kind) Kinds()[lateType].insert(kind);
}

bool TavKinds::IsAKindOf(const Ref<TavBaseUnknown>& object, std::string_view kind) {
  if (!object) return false;
  std::string type = object->LateType();
  if (type.empty()) type = object->ExtendedObject() ? object->ExtendedObject()->LateType() : std::string();
  // Breadth first over the declared kinds; a declaration cycle ends at a kind seen before.
  std::set<std::string, std::less<>> seen{type};
  std::vector<std::string> work{type};
  while (!work.empty()) {
    std::string t = std::move(work.back());
    work.pop_back();
    if (t == kind) return true;
    auto it = Kinds().find(t);
    if (it == Kinds().end()) continue;
    for (auto& k : it->second)
      if (seen.insert(k).second) work.push_back(k);
  }
  return false;
}

void TavViewerHighlight::Highlight(const std::vector<Ref<TavBaseUnknown>>& objects) {
  auto& h = Lit();
  h.Prune();
  for (auto& o : objects) {
    const TavBaseUnknown* k = Key(o);
    if (!k || h.Lives(k)) continue;
    h.keys[k] = o->ExtendedObject();
    h.order.push_back(o->ExtendedObject());
  }
}

void TavViewerHighlight::UnHighlight(const std::vector<Ref<TavBaseUnknown>>& objects) {
  auto& h = Lit();
  std::unordered_set<const TavBaseUnknown*> gone;
  for (auto& o : objects)
    if (const TavBaseUnknown* k = Key(o)) gone.insert(k);
  std::erase_if(h.order, [&](auto& w) {
    auto o = w.lock();
    return !o || gone.count(o.get());
  });
  for (const TavBaseUnknown* k : gone) h.keys.erase(k);
  h.Prune();
}

void TavViewerHighlight::Clear() {
  Lit().order.clear();
  Lit().keys.clear();
}

bool TavViewerHighlight::IsHighlighted(const Ref<TavBaseUnknown>& object) {
  const TavBaseUnknown* k = Key(object);
  if (!k) return false;
  return Lit().Lives(k);
}

std::vector<Ref<TavBaseUnknown>> TavViewerHighlight::GetHighlighted() {
  std::vector<Ref<TavBaseUnknown>> out;
  for (auto& w : Lit().order)
    if (auto o = w.lock()) out.push_back(o);
  return out;
}
