#include "HubDocInfo.h"

namespace host {

HRESULT HubDocInfo::GetHubInfoName(TavUnicodeString& name) const {
  auto doc = std::dynamic_pointer_cast<TavDocument>(doc_.lock());
  if (!doc) return E_FAIL;
  name = doc->GetDisplayName();
  return name.IsEmpty() ? E_FAIL : S_OK;
}

}  // namespace host
