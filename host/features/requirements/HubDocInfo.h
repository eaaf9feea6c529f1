#pragma once
// The hub information of a hub document (OrvIMHIDocInfo, one of its root
// containers): the hub knows the document by its display name.
#include "HostModel.h"
#include "TavRequirements.h"

namespace host {

class HubDocInfo final : public virtual OrvIMHIDocInfo {
public:
  explicit HubDocInfo(HostDocument& doc) : doc_(doc.weak_from_this()) {}
  // Read when asked, so a renamed document answers its new name; E_FAIL once the
  // document is closed (a caller may keep the container longer).
  HRESULT GetHubInfoName(TavUnicodeString& name) const override;

private:
  std::weak_ptr<TavBaseUnknown> doc_;
};

}  // namespace host
