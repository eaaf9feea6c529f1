#include "TavCompare.h"

#include <string>

#include "TavServices.h"
#include "TavYor.h"

OrvIDSICompareToolSettingAtt OrvIDSICompareToolSettingAtt::Read() {
  TavRepository& r = TavSettingRepository::GetRepository(kRepository);
  OrvIDSICompareToolSettingAtt s;
  static const char* axes[3] = {"ToleranceX", "ToleranceY", "ToleranceZ"};
  for (int i = 0; i < 3; ++i) s.tolerance[i] = r.ReadReal(axes[i], s.tolerance[i]);
  s.coordinateCheck = r.ReadBool("CoordinateCheck", s.coordinateCheck);
  for (int k = 0; k < 5; ++k) {
    const std::string kind = std::to_string(k);
    s.rootCheck[k] = r.ReadBool("CheckRoot." + kind, s.rootCheck[k]);
    s.ownMatching[k] = r.ReadBool("OwnMatching." + kind, s.ownMatching[k]);
    s.identityMatching[k] = r.ReadBool("IdentityMatching." + kind, s.identityMatching[k]);
    for (int n = 1; n <= 3; ++n) {
      const std::string key = "HubKey" + std::to_string(n) + "." + kind;
      TavUnicodeString original = r.ReadString(key + ".Original", {}).Strip();
      TavUnicodeString modified = r.ReadString(key + ".Modified", {}).Strip();
      if (!original.IsEmpty() && !modified.IsEmpty()) s.hubKeys[k].emplace_back(original, modified);
    }
  }
  return s;
}

void TavDeclareCompareInterfaces() {
  TavInterfaceNames::Declare<OrvICompareObjects>();
  TavInterfaceNames::Declare<OrvIBIWFastener>();
  TavInterfaceNames::Declare<OrvIBIWFeaturePartRelations>();
  TavInterfaceNames::Declare<TavIYorAdapter>();
  TavInterfaceNames::Declare<TavIYorAttributeMgt>();
}
