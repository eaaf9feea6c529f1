#include "HubDocInfo.h"

namespace host {

HRESULT HubDocInfo::GetHubInfoName(TavUnicodeString& name) const {
  name = doc_.GetDisplayName();
  return name.IsEmpty() ? E_FAIL : S_OK;
}

}  // namespace host
