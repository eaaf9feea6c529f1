#include "OrvVekPartConsumptionUtilities.h"

#include "TavRequirements.h"

#include <algorithm>
#include <unordered_set>

namespace {
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

// The viewer's highlight is the host's: scripts print and test it.
void OrvVekPartConsumptionUtilities::HighlightUnassignedParts(const std::vector<Ref<TavBaseUnknown>>& parts) {
  TavViewerHighlight::Highlight(parts);
}

void OrvVekPartConsumptionUtilities::UnHighlightUnassignedParts(const std::vector<Ref<TavBaseUnknown>>& parts) {
  TavViewerHighlight::UnHighlight(parts);
}

std::vector<Ref<TavBaseUnknown>> OrvVekPartConsumptionUtilities::GetHighlightedParts() {
  return TavViewerHighlight::GetHighlighted();
}

bool OrvVekPartConsumptionUtilities::IsHighlighted(const Ref<TavBaseUnknown>& part) {
  return TavViewerHighlight::IsHighlighted(part);
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
