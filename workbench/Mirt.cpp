#include "Mirt.h"

#include <cstdlib>
#include <new>

#include "TavIMirtConfigurationAddin.h"
#include "WexDDPHeader.h"
#include "WorkbenchTrace.h"

namespace {

constexpr const char* kPlanner = "OrvVekPlanner";
constexpr const char* kCommands = "Mirtcommands";
constexpr const char* kHost = kTavHostCommandModule;

constexpr const char* kToolsTlb = "WexDDPVEKToolsTlb";
constexpr const char* kFennTlb = "WexDDPFennTlb";
constexpr const char* kUserActTlb = "WexDDPUserDefinedActTlb";
constexpr const char* kUserActMenu = "WexDDPUserDefinedActMenu";
constexpr const char* kMAOdtTlb = "WexVEKMAOdt";
constexpr const char* kActSpecialTlb = "WexVEKActivitySpecial";
constexpr const char* kEKPTlb = "OrvEKPCommandsTlb";
constexpr const char* kEKPMenu = "OrvEKPCommandsMnu";

struct HeaderDef {
  const char* id;
  const char* module;
  const char* cls;
};

// Headers 2 to 9 and 10 to 24 of the catalogue are created as groups before
// any of them is placed.
constexpr HeaderDef kToolsGroup[] = {
    {"OrvMASelectContentCmdHdr", kPlanner, "OrvMASelectContentCmd"},
    {"WexDDPStaticVerif", kHost, "OrvStaticPVCommand"},
    {"WexDDPFromScopesQm", kPlanner, "TavMirtParseProcessFile"},
    {"WexDDPConstVerification", kPlanner, "OrvVekProcessConstVerificationCmd"},
    {"WexDDPModificationTable", kPlanner, "OrvVekModificationTableCmd"},
    {"WexDDPReplaceParts", kPlanner, "WexReplacePartsCmd"},
    {"WexDDPCrossHighlight", kPlanner, "OrvVekCrossHighlightCmd"},
    {"WexDDPExportAsTavProductHdr", kHost, "TavSPPExportProductCmd"},
};
constexpr std::size_t kFirstToolsPlaced = 2;  // header 4 is the third of the group

constexpr HeaderDef kFennGroup[] = {
    {"WexDDPToFenn", kHost, "VekToFennCmd"},
    {"WexDDPDailyShift", kHost, "OrvDailyShiftCreateModify"},
    {"WexDDPMultiDaySchedule", kHost, "OrvShiftMultiDayCreateModifyCmd"},
    {"WexDDPDailyShiftAssociate", kHost, "OrvDailyShiftAssociate"},
    {"WexDDPDisAssociateShift", kHost, "WexVEKDisAssociateShiftCmd"},
    {"WexDDPDeleteObject", kHost, "WexDeleteFennModelTrackObjCmd"},
    {"WexDDPDailyShiftDelete", kHost, "OrvDailyShiftDelete"},
    {"WexDDPLearningCurve", kHost, "OrvLearningCurveCmd"},
    {"WexDDPVaryingLaborQty", kHost, "OrvVaryingLaborQtyCmd"},
    {"WexDDPRequireNRelLabor", kHost, "OrvReqnRelLaborCmd"},
    {"WexDDPZoneConsumption", kHost, "WexVEKZoneAllocateCmd"},
    {"WexDDPActivityLogReport", kHost, "WexKwtoFENNActivityLogXmlCmd"},
    {"WexDDPSimulationRunStats", kHost, "WexKwtoFENNMultiRunStatsXmlCmd"},
    {"WexDDPChartsNGraphReports", kHost, "WexFennSVGChartsCmd"},
    {"WexDDPPartTraceReport", kHost, "WexKwtoFENNPartTraceStatsXmlCmd"},
};

// The manufactured-assembly headers; 27's identifier is cut at 28 characters
// and its resource texts are keyed by the cut identifier.
constexpr HeaderDef kMAOdtGroup[] = {
    {"WexDDPMfgAssyAsChild", kCommands, "OrvMfgAssyAsChildCmd"},
    {"OrvMfgAssyNotDirectChangeabl", kCommands, "OrvMfgAssyNotDirectChangeableCmd"},
    {"OrvAssyTypes", kCommands, "OrvAssyTypesCmd"},
    {"OrvMARefEbom", kCommands, "OrvMARefEbomCmd"},
    {"OrvMADeleteRefEbom", kCommands, "OrvMADeleteRefEbomCmd"},
};

constexpr HeaderDef kEKPGroup[] = {
    {"OrvEKPLoadEngIntentHdr", kHost, "OrvEKPLoadEngIntentCmd"},
    {"WexAssignEngIntentHdr", kHost, "WexAssignEngIntentCmd"},
    {"OrvEKPReconcileEIHdr", kHost, "OrvEKPReconcileEICmd"},
    {"WexAutoReplanHdr", kHost, "WexAutoReplanCmd"},
};

// A header the allocation fails for is skipped; its placement still runs
// against the identifier.
void NewHeader(const HeaderDef& h) {
  std::unique_ptr<WexDDPHeader> header(new (std::nothrow) WexDDPHeader(h.id, h.module, h.cls, nullptr, 1));
  if (header) TavCommandHeader::AddToList(std::move(header));
}

}  // namespace

Mirt::Mirt() : OrvEProcessWkbAdapter("Mirt", 2) {}

bool Mirt::IsSwitchOn(const char* variable) {
  const char* value = std::getenv(variable);
  if (!value) return false;
  const TavUnicodeString upper = TavUnicodeString(value).ToUpper();
  return upper == "TRUE" || upper == "1";
}

void Mirt::DefineWorkbench() {
  TavTraceScope trace(WorkbenchTrace(), "Mirt", "DefineWorkbench");
  AppendToolbar(kToolsTlb, "", 1, 3);
  if (IsSwitchOn("VEK_ENABLE_KWFENN_TOOLBAR")) AppendToolbar(kFennTlb, "", 1, 3);
  AppendToolbar(kUserActTlb, "", 1, 3);
  AppendMenubar(kUserActMenu, "INSERT");

  NewHeader({"WexDDPFeedByAnotherProc", kHost, "TavSPPFeedByProcessAct"});
  AppendCmdHdr("WexDDPFeedByAnotherProc", "", "INSERT", 0);

  for (const auto& h : kToolsGroup) NewHeader(h);
  for (std::size_t i = kFirstToolsPlaced; i < std::size(kToolsGroup); ++i)
    AppendCmdHdr(kToolsGroup[i].id, kToolsTlb, "TOOLS", 0);

  // Created and placed whether or not the toolbar exists; the adapter drops
  // placements on a missing toolbar.
  for (const auto& h : kFennGroup) NewHeader(h);
  for (const auto& h : kFennGroup) AppendCmdHdr(h.id, kFennTlb, "", 0);

  AppendCmdHdr("AddChildPhysicalActivity", kUserActTlb, kUserActMenu, 0);

  if (IsSwitchOn("VEK_VERSION_REPORT_CMD")) {
    NewHeader({"WexDDPVersionReport", kHost, "OrvVekVersionReportCmd"});
    AppendCmdHdr("WexDDPVersionReport", "", "TOOLS", 0);
  }
  // The static verification header always exists (other commands start it);
  // the switch only puts it in the menu.
  if (IsSwitchOn("VEK_STATIC_VERIFICATION_CMD")) AppendCmdHdr("WexDDPStaticVerif", "", "TOOLS", 0);

  if (IsSwitchOn("VEK_MfgAssy_ODT_CMD")) {
    AppendToolbar(kMAOdtTlb, "", 1, 3);
    for (const auto& h : kMAOdtGroup) {
      NewHeader(h);
      AppendCmdHdr(h.id, kMAOdtTlb, "", 0);
    }
  }
  if (IsSwitchOn("WexVEK_ACTIVITY_INCRLOAD")) {
    AppendToolbar(kActSpecialTlb, "", 1, 3);
    NewHeader({"OrvVekLoadActivitiesFromHub", kCommands, "OrvVekLoadActivitiesFromHub"});
    AppendCmdHdr("OrvVekLoadActivitiesFromHub", kActSpecialTlb, "", 0);
  }

  AppendToolbar(kEKPTlb, "", 1, 3);
  AppendMenubar(kEKPMenu, "TOOLS");
  for (const auto& h : kEKPGroup) {
    NewHeader(h);
    AppendCmdHdr(h.id, kEKPTlb, kEKPMenu, 0);
  }
}

TavUnicodeString Mirt::GetAddinInterface() {
  TavTraceScope trace(WorkbenchTrace(), "Mirt", "GetAddinInterface");
  return TavIMirtConfigurationAddin::kInterfaceName; }

void Mirt::GetCustomInterfaces(std::vector<std::string>& defaultInterfaces,
                               std::vector<std::string>& customInterfaces) {
  TavTraceScope trace(WorkbenchTrace(), "Mirt", "GetCustomInterfaces");
  OrvEProcessWkbAdapter::GetCustomInterfaces(defaultInterfaces, customInterfaces);
}
