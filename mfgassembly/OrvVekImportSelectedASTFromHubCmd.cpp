#include "OrvVekImportSelectedASTFromHubCmd.h"

#include "OrvVekMAVersioningIndex.h"
#include "OrvVekPartConsumptionUtilities.h"
#include "TavHeaderStart.h"

std::unique_ptr<TavStateCommand> fctCreateOrvVekImportSelectedASTFromHubCmd() {
  return std::make_unique<OrvVekImportSelectedASTFromHubCmd>();
}
std::unique_ptr<TavStateCommand> fctCreateOrvVekDeepImpSelASTFromHubCmd() { return std::make_unique<OrvVekDeepImpSelASTFromHubCmd>(); }

void OrvVekImportSelectedASTFromHubCmd::BuildGraph() {
  agent_ = std::make_unique<TavPathElementAgent>("Select Mfg Assembly");
  agent_->AddElementType(OrvIMfgAssembly::kInterfaceName);
  agent_->AddBehavior(TavAgent::kMultiAcquisition);
  auto* initial = GetInitialState("InitialState");
  initial->AddDialogAgent(agent_.get());
  AddTransition(initial, nullptr, IsOutputSetCondition(agent_.get()),
                Action(&OrvVekImportSelectedASTFromHubCmd::ImportThisASTFromHubCmd), {agent_.get()});
}

std::vector<Ref<OrvIMfgAssembly>> OrvVekImportSelectedASTFromHubCmd::ImportList(const std::vector<Ref<OrvIMfgAssembly>>& picked,
                                                                                bool deep) {
  std::vector<Ref<OrvIMfgAssembly>> list;
  for (auto& ma : picked) {
    list.push_back(ma);
    if (deep)
      for (auto& sub : OrvVekPartConsumptionUtilities::GetMAList(ma)) list.push_back(sub);
  }
  return OrvVekUniqueMAs(list);
}

bool OrvVekImportSelectedASTFromHubCmd::ImportThisASTFromHubCmd() {
  std::vector<Ref<OrvIMfgAssembly>> picked;
  for (auto& path : agent_->GetListOfValues())
    if (auto ma = query<OrvIMfgAssembly>(path.GetLeaf())) picked.push_back(ma);
  const TavCommandHeader* header = TavCommandHeader::GetHeaderFromList(kImportHeader);
  // Outside the hub there is no import: the command ends quietly.
  if (!header || picked.empty()) return true;
  std::string error;
  TavStartHeaderCommand(*header, std::make_unique<TavHeaderList<OrvIMfgAssembly>>(ImportList(picked, deep_)), &error);
  return true;
}
