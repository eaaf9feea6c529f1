#pragma once
// The planner's part consumption settings and the viewer highlight of
// unconsumed parts. Settings live in the setting repository
// "OrvVekPartConsumption"; a missing key reads as its default.
#include "TavServices.h"

class OrvVekPartConsumptionUtilities {
public:
  static constexpr const char* kRepository = "OrvVekPartConsumption";
  // Keys of the repository.
  static constexpr const char* kRelationsKey = "Relations";  // names joined by ';'
  static constexpr const char* kParentCheckKey = "ParentAssignCheck";
  static constexpr const char* kChildCheckKey = "ChildAssignCheck";
  static constexpr const char* kProcessIntentKey = "ProcessIntentRelation";
  static constexpr const char* kEffectivityKey = "EffectivityType";
  static constexpr const char* kAttributeCheckKey = "AttributeCheck";

  static std::vector<TavUnicodeString> DefaultRelations();

  // Opens the repository; the values are read at each call so that a change made
  // elsewhere is seen at once.
  static HRESULT InitTavSetting();
  static std::vector<TavUnicodeString> GetRelations();
  static bool IsParentAssignCheckEnlable();
  static bool IsChildAssignCheckEnabled();
  static bool CheckProcessIntentRelation();
  // 1 line, 2 date, 3 label, 4 extended; any other value shows no effectivity.
  static HRESULT GetEffectivityTypeToShow(int& mode);
  static bool IsAttributeCheckEnabled();

  static void SetRelations(const std::vector<TavUnicodeString>& relations);
  static void SetParentAssignCheck(bool on);
  static void SetChildAssignCheck(bool on);
  static void SetProcessIntentRelation(bool on);
  static void SetEffectivityTypeToShow(int mode);
  static void SetAttributeCheck(bool on);
  // Back to the defaults (every key removed).
  static void ResetSettings();
  static bool SaveSettings(std::string* error = nullptr);

  // The viewer highlight of unconsumed parts; each object is highlighted once.
  static void HighlightUnassignedParts(const std::vector<Ref<TavBaseUnknown>>& parts);
  static void UnHighlightUnassignedParts(const std::vector<Ref<TavBaseUnknown>>& parts);
  static std::vector<Ref<TavBaseUnknown>> GetHighlightedParts();
  static bool IsHighlighted(const Ref<TavBaseUnknown>& part);

  // Every assembly inside an assembly, transitively (depth first, each once).
  static std::vector<Ref<OrvIMfgAssembly>> GetMAList(const Ref<OrvIMfgAssembly>& ma);
  // The products of a list with every assembly replaced by the products it holds.
  static std::vector<Ref<TavBaseUnknown>> GetNonMAList(const std::vector<Ref<TavBaseUnknown>>& list);

private:
  static TavRepository& Repository();
};
