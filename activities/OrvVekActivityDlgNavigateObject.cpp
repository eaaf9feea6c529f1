#include "OrvVekActivityDlgNavigateObject.h"

OrvVekActivityDlgNavigateObjectBase::OrvVekActivityDlgNavigateObjectBase(TavUnicodeString identifier, bool isRoot)
    : identifier_(std::move(identifier)), icon_(InitialIconName(identifier_, isRoot)), isRoot_(isRoot) {}

TavUnicodeString OrvVekActivityDlgNavigateObjectBase::InitialIconName(const TavUnicodeString& identifier, bool isRoot) {
  if (isRoot) return {};
  const std::string& id = identifier.utf8();
  static constexpr std::string_view kBIW = "BIWActivity";
  if (auto at = id.find(kBIW); at != std::string::npos) {
    if (id == "BIWActivitySpotWelding") return "I_BIWACTWeldingActivity";
    std::string icon = id;
    icon.replace(at, kBIW.size(), "I_BIW");
    return icon + "Activity";
  }
  if (id == "AssemblyOperation") return "I_APPAssemblyOperation";
  TavUnicodeString bitmap;
  if (auto* cache = OrvVekPlantypeCache::GetInstance(); cache && SUCCEEDED(cache->BitmapName(identifier, bitmap)) && !bitmap.IsEmpty())
    return bitmap;
  return "I_Activity";
}
