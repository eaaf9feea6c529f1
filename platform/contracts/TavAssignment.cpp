#include "TavAssignment.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <numbers>

#include "TavServices.h"
#include "TavYor.h"

// ---------------------------------------------------------------- contexts
bool TavSPPContextsServices::SearchInContexts(const Ref<TavBaseUnknown>& product, const Ref<TavBaseUnknown>& activity) {
  if (!product || !activity) return false;
  auto doc = TavDocumentOf(activity);
  auto contexts = doc ? query<TavISPPContextContainer>(doc->GetRootContainer(TavISPPContextContainer::kInterfaceName)) : nullptr;
  if (!contexts) return false;
  // The product and its ancestors: a context holding an assembly holds its parts.
  std::vector<const TavBaseUnknown*> chain;
  for (Ref<TavBaseUnknown> p = product; p;) {
    chain.push_back(p->ExtendedObject().get());
    auto tp = query<TavIProduct>(p);
    p = tp ? Ref<TavBaseUnknown>(tp->GetFatherProduct()) : nullptr;
  }
  for (Ref<TavBaseUnknown> a = activity; a;) {
    for (auto& c : contexts->GetContexts(a))
      if (c && std::find(chain.begin(), chain.end(), c->ExtendedObject().get()) != chain.end()) return true;
    auto aa = query<TavISPPAbstractActivity>(a);
    a = aa ? aa->GetFather() : nullptr;
    if (!query<TavISPPAbstractActivity>(a)) break;
  }
  return false;
}

Ref<OrvIMHIAttributeMgt> OrvMHIAttributeMgtOf(const Ref<TavDocument>& doc) {
  if (!doc) return nullptr;
  return std::dynamic_pointer_cast<OrvIMHIAttributeMgt>(doc->GetRootContainer(OrvIMHIAttributeMgt::kInterfaceName));
}

// ---------------------------------------------------------------- magnitudes
namespace {
struct Unit {
  std::string_view name;
  double factor;  // to the magnitude's base unit
};
constexpr Unit kUnits[] = {
    {"mm", 1},      {"cm", 10},        {"m", 1000},  {"km", 1e6},   {"in", 25.4},   {"ft", 304.8},
    {"g", 0.001},   {"kg", 1},         {"t", 1000},  {"ms", 0.001}, {"s", 1},       {"min", 60},
    {"h", 3600},    {"deg", 1},        {"rad", 180 / std::numbers::pi},             {"N", 1},
    {"kN", 1000},   {"Nm", 1},         {"N*m", 1},   {"N.m", 1},
};

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// The unit after the number: none (factor 1), a known unit, or failure.
bool UnitFactor(std::string_view rest, double& factor) {
  rest = Trim(rest);
  factor = 1;
  if (rest.empty()) return true;
  for (const Unit& u : kUnits)
    if (u.name == rest) {
      factor = u.factor;
      return true;
    }
  return false;
}

// from_chars takes no leading '+'.
std::string_view SkipPlus(std::string_view s) {
  if (s.size() > 1 && s.front() == '+' && s[1] != '-' && s[1] != '+') s.remove_prefix(1);
  return s;
}
}  // namespace

HRESULT TavParmDictionary::DecodeInteger(const TavUnicodeString& text, std::int64_t& value) {
  std::string_view s = SkipPlus(Trim(text.utf8()));
  std::int64_t v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end == s.data()) return E_FAIL;
  double factor = 1;
  if (!UnitFactor(std::string_view(end, static_cast<std::size_t>(s.data() + s.size() - end)), factor)) return E_FAIL;
  if (factor == 1) {
    value = v;
    return S_OK;
  }
  const double scaled = static_cast<double>(v) * factor;
  // The value must stay whole in the base unit and fit the integer.
  if (!std::isfinite(scaled) || std::fabs(scaled) >= 9.2e18 || std::nearbyint(scaled) != scaled) return E_FAIL;
  value = static_cast<std::int64_t>(scaled);
  return S_OK;
}

HRESULT TavParmDictionary::DecodeReal(const TavUnicodeString& text, double& value) {
  std::string_view s = SkipPlus(Trim(text.utf8()));
  double v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end == s.data() || !std::isfinite(v)) return E_FAIL;
  double factor = 1;
  if (!UnitFactor(std::string_view(end, static_cast<std::size_t>(s.data() + s.size() - end)), factor)) return E_FAIL;
  const double scaled = v * factor;
  if (!std::isfinite(scaled)) return E_FAIL;
  value = scaled;
  return S_OK;
}

void TavDeclareAssignmentInterfaces() {
  TavInterfaceNames::Declare<OrvIResourceBehavior>();
  TavInterfaceNames::Declare<OrvIResourceBehaviorManager>();
  TavInterfaceNames::Declare<OrvIResourceItemMgmt>();
  TavInterfaceNames::Declare<OrvIOutputUpdate>();
  TavInterfaceNames::Declare<OrvIResourceAttrAccess>();
  TavInterfaceNames::Declare<OrvIGetResourceType>();
  TavInterfaceNames::Declare<OrvIResourceRelations>();
  TavInterfaceNames::Declare<TavISPPContextContainer>();
  TavInterfaceNames::Declare<OrvIMHIAttributeMgt>();
  TavInterfaceNames::Declare<OrvIYorLayoutMgt>();
}
