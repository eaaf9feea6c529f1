#include "MirtCommands.h"

#include "TavModules.h"
#include "TavWorkbench.h"

const std::vector<std::string>& MirtCommandClasses() {
  static const std::vector<std::string> classes = {
      "WexVekTotalUnassignCmd", "OrvVekListActAssOfProdCmd", "OrvVekPartSelectionWindowCmd",
      "OrvVekReplaceProductCmd", "OrvVekReplaceResourceCmd", "WexVekGeneralAssignmentCmd",
      "TavVEKRemoveContext", "TavVekRenumberActCmd", "TavMirtParseProcessFile",
      "TavMirtCaptureImage", "WexReplacePartsCmd", "OrvAssyTypesCmd",
      "OrvVekHideShowCmd", "OrvDefineConditionCmd", "OrvVekASTViewerAddMACmd",
      "OrvVekActivitySynchronisationCmd", "OrvVekConstraintToPrevCycleCmd", "OrvVekCopyProcessAndRscCmd",
      "OrvVekCopyResourceCmd", "OrvVekCopyResourceDlg", "OrvVekCreateGanttWndCmd",
      "OrvVekCreateGraphWndCmd", "OrvVekCreatePrecedenceCmd", "OrvVekCreateResourceCmd",
      "OrvVekCrossHighlightCmd", "OrvVekDeepImpSelASTFromHubCmd", "OrvVekDeleteResourceCmd",
      "OrvVekImportSelectedASTFromHubCmd", "OrvVekLayoutPertChartCmd", "OrvVekLinkActCmd",
      "OrvVekLinkChildActCmd", "OrvVekLinkCommand", "OrvVekListActAssOfResCmd",
      "OrvVekListHyperlinksCmd", "OrvVekListProductCmd", "OrvVekListResourceCmd",
      "OrvVekListUnassignedProductCmd", "OrvVekMAVersioningCmd", "OrvVekModificationTableCmd",
      "OrvVekModifyPositionCmd", "OrvVekPrecedentViewerWndCmd", "OrvVekProcessConstVerificationCmd",
      "OrvVekRedefineReferenceObjectCmd", "OrvVekResourceDlgBox", "OrvVekResourceGanttWndCmd",
      "OrvVekRestoreDesignPosCmd", "OrvVekSetMAExternallyProducedCmd", "OrvVekSynchronizePositionCmd",
      "OrvGanttAddAttributeCmd", "OrvMADeleteRefEbomCmd", "OrvMARefEbomCmd",
      "OrvMASelectContentCmd", "OrvMfgAssyAsChildCmd", "OrvMfgAssyCmd",
      "OrvMfgAssyNotDirectChangeableCmd", "OrvMfgKitCmd", "OrvProcessCompareToolCmd",
      "OrvRecenterActInPertViewerCmd", "OrvRefreshGanttCommand", "OrvSerachInGanttCmd",
      "OrvStateCreationCmd", "TavOrvAddActivityCmd", "OrvControlFlowDeleteCmd",
  };
  return classes;
}

void RegisterMirtCommandPlaceholders() {
  auto& registry = TavModuleRegistry::Get();
  for (const auto& cls : MirtCommandClasses()) {
    for (const char* module : kMirtModules) {
      const std::string other = module == std::string(kMirtModules[0]) ? kMirtModules[1] : kMirtModules[0];
      registry.RegisterPlaceholder(module, cls, [cls, other]() -> std::unique_ptr<TavStateCommand> {
        auto& r = TavModuleRegistry::Get();
        // A library registered the real class under the other module name only.
        if (r.IsRegistered(other, cls) && !r.IsPlaceholder(other, cls)) return r.Create(other, cls);
        return std::make_unique<TavUnavailableCommand>(cls);
      });
    }
  }
}
