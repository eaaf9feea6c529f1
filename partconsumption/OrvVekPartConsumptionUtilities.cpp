#include "OrvVekPartConsumptionUtilities.h"

#include <algorithm>
#include <unordered_set>

namespace {
std::vector<std::weak_ptr<TavBaseUnknown>>& Highlighted() {
  static std::vector<std::weak_ptr<TavBaseUnknown>> h;
  return h;
}
const TavBaseUnknown* Key(const Ref<TavBaseUnknown>& o) { return o ? o->ExtendedObject().get() : nullptr; }
}  // namespace

TavRepository& OrvVekPartConsumptionUtilities::Repository() { return TavSettingRepository::GetRepository(kRepository); }

std::vector<TavUnicodeString> OrvVekPartConsumptionUtilities::DefaultRelations() {
  return {"Process Processes Product", "Process First Processes Product", "Process Creates Product"};
}

HRESULT OrvVekPartConsumptionUtilities::InitTavSetting() {
  (void)Repository();
  return S_OK;
}

std::vector<TavUnicodeString> OrvVekPartConsumptionUtilities::GetRelations() {
  auto v = Repository().Read(kRelationsKey);
  if (!v || !std::holds_alternative<TavUnicodeString>(*v)) return DefaultRelations();
  std::vector<TavUnicodeString> out;
  const std::string& text = std::get<TavUnicodeString>(*v).utf8();
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(';', start);
    if (end == std::string::npos) end = text.size();
    TavUnicodeString name = TavUnicodeString(text.substr(start, end - start)).Strip();
    if (!name.IsEmpty()) out.push_back(name);
    start = end + 1;
  }
  return out;
}

bool OrvVekPartConsumptionUtilities::IsParentAssignCheckEnlable() { return Repository().ReadBool(kParentCheckKey, false); }
bool OrvVekPartConsumptionUtilities::IsChildAssignCheckEnabled() { return Repository().ReadBool(kChildCheckKey, false); }
bool OrvVekPartConsumptionUtilities::CheckProcessIntentRelation() { return Repository().ReadBool(kProcessIntentKey, false); }
bool OrvVekPartConsumptionUtilities::IsAttributeCheckEnabled() { return Repository().ReadBool(kAttributeCheckKey, false); }

HRESULT OrvVekPartConsumptionUtilities::GetEffectivityTypeToShow(int& mode) {
  mode = static_cast<int>(Repository().ReadInt(kEffectivityKey, 0));
  return S_OK;
}

void OrvVekPartConsumptionUtilities::SetRelations(const std::vector<TavUnicodeString>& relations) {
  std::string text;
  for (auto& r : relations) {
    if (!text.empty()) text += ';';
    text += r.utf8();
  }
  Repository().Write(kRelationsKey, TavUnicodeString(text));
}
void OrvVekPartConsumptionUtilities::SetParentAssignCheck(bool on) { Repository().Write(kParentCheckKey, on); }
void OrvVekPartConsumptionUtilities::SetChildAssignCheck(bool on) { Repository().Write(kChildCheckKey, on); }
void OrvVekPartConsumptionUtilities::SetProcessIntentRelation(bool on) { Repository().Write(kProcessIntentKey, on); }
void OrvVekPartConsumptionUtilities::SetEffectivityTypeToShow(int mode) {
  Repository().Write(kEffectivityKey, static_cast<std::int64_t>(mode));
}
void OrvVekPartConsumptionUtilities::SetAttributeCheck(bool on) { Repository().Write(kAttributeCheckKey, on); }

void OrvVekPartConsumptionUtilities::ResetSettings() {
  for (const char* k : {kRelationsKey, kParentCheckKey, kChildCheckKey, kProcessIntentKey, kEffectivityKey, kAttributeCheckKey})
    Repository().Delete(k);
}

bool OrvVekPartConsumptionUtilities::SaveSettings(std::string* error) { return Repository().Save(error); }

void OrvVekPartConsumptionUtilities::HighlightUnassignedParts(const std::vector<Ref<TavBaseUnknown>>& parts) {
  auto& h = Highlighted();
  std::erase_if(h, [](auto& w) { return w.expired(); });
  for (auto& p : parts)
    if (p && !IsHighlighted(p)) h.push_back(p->ExtendedObject());
}

void OrvVekPartConsumptionUtilities::UnHighlightUnassignedParts(const std::vector<Ref<TavBaseUnknown>>& parts) {
  std::unordered_set<const TavBaseUnknown*> gone;
  for (auto& p : parts) gone.insert(Key(p));
  std::erase_if(Highlighted(), [&](auto& w) {
    auto o = w.lock();
    return !o || gone.count(o.get());
  });
}

std::vector<Ref<TavBaseUnknown>> OrvVekPartConsumptionUtilities::GetHighlightedParts() {
  std::vector<Ref<TavBaseUnknown>> out;
  for (auto& w : Highlighted())
    if (auto o = w.lock()) out.push_back(o);
  return out;
}

bool OrvVekPartConsumptionUtilities::IsHighlighted(const Ref<TavBaseUnknown>& part) {
  const TavBaseUnknown* k = Key(part);
  return k && std::any_of(Highlighted().begin(), Highlighted().end(), [&](auto& w) { return w.lock().get() == k; });
}

std::vector<Ref<OrvIMfgAssembly>> OrvVekPartConsumptionUtilities::GetMAList(const Ref<OrvIMfgAssembly>& ma) {
  std::vector<Ref<OrvIMfgAssembly>> out;
  if (!ma) return out;
  std::unordered_set<const TavBaseUnknown*> seen{Key(ma)};
  // Depth first, children in order; a containment cycle ends at an assembly already listed.
  std::vector<std::pair<std::vector<Ref<OrvIMfgAssembly>>, std::size_t>> work;
  work.emplace_back(ma->GetChildAssemblies(), 0);
  while (!work.empty()) {
    auto& [children, i] = work.back();
    if (i == children.size()) {
      work.pop_back();
      continue;
    }
    Ref<OrvIMfgAssembly> c = children[i++];
    if (!c || !seen.insert(Key(c)).second) continue;
    out.push_back(c);
    work.emplace_back(c->GetChildAssemblies(), 0);
  }
  return out;
}

std::vector<Ref<TavBaseUnknown>> OrvVekPartConsumptionUtilities::GetNonMAList(const std::vector<Ref<TavBaseUnknown>>& list) {
  std::vector<Ref<TavBaseUnknown>> out;
  std::unordered_set<const TavBaseUnknown*> expanded;
  std::vector<Ref<TavBaseUnknown>> stack(list.rbegin(), list.rend());
  while (!stack.empty()) {
    Ref<TavBaseUnknown> o = std::move(stack.back());
    stack.pop_back();
    if (auto ma = query<OrvIMfgAssembly>(o)) {
      if (!expanded.insert(Key(ma)).second) continue;
      std::vector<Ref<TavBaseUnknown>> parts;
      if (FAILED(ma->GetParts(parts))) continue;
      stack.insert(stack.end(), parts.rbegin(), parts.rend());
    } else if (query<TavIProduct>(o)) {
      out.push_back(o);
    }
  }
  RemoveDuplicates(out);
  return out;
}
