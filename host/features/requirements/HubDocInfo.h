#pragma once
// The hub information of a hub document (OrvIMHIDocInfo, one of its root
// containers): the hub knows the document by its display name.
#include "HostModel.h"
#include "TavRequirements.h"

namespace host {

class HubDocInfo final : public virtual OrvIMHIDocInfo {
public:
  explicit HubDocInfo(const HostDocument& doc) : doc_(doc) {}
  // Read when asked, so a renamed document answers its new name.
  HRESULT GetHubInfoName(TavUnicodeString& name) const override;

private:
  const HostDocument& doc_;  // the container lives in the document
};

}  // namespace host
