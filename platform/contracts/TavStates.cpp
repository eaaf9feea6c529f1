#include "TavStates.h"

OrvFactoryOnState::OrvFactoryOnState(const Ref<TavDocument>& doc) {
  if (!doc) return;
  for (const auto& c : doc->GetContainers())
    if (auto states = std::dynamic_pointer_cast<OrvIStateContainer>(c)) {
      container_ = states;
      return;
    }
}

std::vector<Ref<OrvIState>> OrvFactoryOnState::GetStates(const Ref<TavBaseUnknown>& owner) const {
  return container_ ? container_->GetStates(owner) : std::vector<Ref<OrvIState>>{};
}

std::vector<Ref<TavIPcsPosition>> OrvFactoryOnState::GetPositions(const Ref<TavBaseUnknown>& product) const {
  return container_ ? container_->GetPositions(product) : std::vector<Ref<TavIPcsPosition>>{};
}

Ref<OrvIState> OrvFactoryOnState::CreateState(const TavUnicodeString& name) {
  return container_ ? container_->CreateState(name) : nullptr;
}

bool TavFeatureFlags::IsBIWResourcesOn() {
  return TavSettingRepository::GetRepository("TavSPPFeatures").ReadInt("BIWResources", 0) == 1;
}

void TavDeclareStateInterfaces() {
  TavInterfaceNames::Declare<OrvIState>();
  TavInterfaceNames::Declare<OrvIStateMgt>();
  TavInterfaceNames::Declare<OrvIStateExecutionMgt>();
  TavInterfaceNames::Declare<TavIPcsPosition>();
  TavInterfaceNames::Declare<TavISPP3DStateCondition>();
  TavInterfaceNames::Declare<TavISPPActivity3DContext>();
  TavInterfaceNames::Declare<OrvIResourceStatesCondition>();
  TavInterfaceNames::Declare<OrvIStateContainer>();
  TavInterfaceNames::Declare<TavISpecAttrAccess>();
  TavInterfaceNames::Declare<TavIEditExtension>();
}
